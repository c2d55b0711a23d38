// Building the symbol list in one pass over the table.
#include "symbollist.h"

SymbolList SymbolList::BuildSymbolList(const StatementTable &table)
{
    SymbolList list;
    // First pass collects views into the table; the owned copies are made once at the end.
    std::vector<std::string_view> order;
    std::unordered_map<std::string_view, int, Hash> seen;
    list.m_rowIndex.resize(size_t(table.rowCount()));
    for (int row = 1; row < table.rowCount(); ++row) {
        const std::string_view symbol = table.cellUtf8(row, Symbol);
        const auto [it, added] = seen.emplace(symbol, int(order.size()) + 1);
        if (added)
            order.push_back(symbol);
        list.m_rowIndex[size_t(row)] = it->second;
    }
    list.m_symbols.reserve(order.size());
    for (const std::string_view s : order)
        list.m_symbols.emplace_back(s);
    list.rebuildIndex();
    return list;
}

SymbolList &SymbolList::operator=(const SymbolList &other)
{
    if (this != &other) {
        m_symbols = other.m_symbols;
        m_rowIndex = other.m_rowIndex;
        rebuildIndex();
    }
    return *this;
}

void SymbolList::rebuildIndex()
{
    m_index.clear();
    m_index.reserve(m_symbols.size());
    for (size_t i = 0; i < m_symbols.size(); ++i)
        m_index.emplace(std::string_view(m_symbols[i]), int(i) + 1);
}

QString SymbolList::at(int i) const
{
    const std::string &s = m_symbols.at(size_t(i));
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QStringList SymbolList::toStringList() const
{
    QStringList names;
    names.reserve(count());
    for (int i = 0; i < count(); ++i)
        names.append(at(i));
    return names;
}

int SymbolList::SymbolIndex(const QString &symbol) const
{
    const QByteArray utf8 = symbol.toUtf8();
    return SymbolIndex(std::string_view(utf8.constData(), size_t(utf8.size())));
}
