// Building the symbol list in one pass over the table, with a small open-addressing index.
#include "statement/symbollist.h"

int SymbolList::find(std::string_view s, uint32_t h) const
{
    if (m_slots.empty())
        return 0;
    const size_t mask = m_slots.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        const Slot &slot = m_slots[i];
        if (slot.index == 0)
            return 0;
        if (slot.hash == h && m_symbols[size_t(slot.index) - 1] == s)
            return slot.index;
    }
}

void SymbolList::grow()
{
    std::vector<Slot> slots(m_slots.empty() ? 32 : m_slots.size() * 2);
    const size_t mask = slots.size() - 1;
    for (const Slot &slot : m_slots) {
        if (slot.index == 0)
            continue;
        size_t i = slot.hash & mask;
        while (slots[i].index != 0)
            i = (i + 1) & mask;
        slots[i] = slot;
    }
    m_slots.swap(slots);
}

int SymbolList::add(std::string_view s, uint32_t h)
{
    if ((m_symbols.size() + 1) * 2 > m_slots.size())
        grow();
    m_symbols.emplace_back(s);
    const int index = int(m_symbols.size());
    const size_t mask = m_slots.size() - 1;
    size_t i = h & mask;
    while (m_slots[i].index != 0)
        i = (i + 1) & mask;
    m_slots[i] = {h, index};
    return index;
}

SymbolList SymbolList::BuildSymbolList(const StatementTable &table)
{
    SymbolList list;
    list.grow();
    list.m_rowIndex.resize(size_t(table.rowCount()));
    for (int row = 1; row < table.rowCount(); ++row) {
        const std::string_view symbol = table.cellUtf8(row, Column::Symbol);
        const uint32_t h = hash(symbol);
        int index = list.find(symbol, h);
        if (index == 0)
            index = list.add(symbol, h);
        list.m_rowIndex[size_t(row)] = index;
    }
    return list;
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
