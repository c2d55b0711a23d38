// The distinct symbols of a statement in order of first appearance, with their 1-based index.
#pragma once

#include "statementtable.h"

#include <QStringList>

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

/// Built afresh from the table of the moment by each calculation; never capped.
class SymbolList {
public:
    SymbolList() = default;
    SymbolList(const SymbolList &other) : m_symbols(other.m_symbols) { rebuildIndex(); }
    SymbolList &operator=(const SymbolList &other);
    SymbolList(SymbolList &&) = default;
    SymbolList &operator=(SymbolList &&) = default;

    /// Lists the `Symbol` cells of rows 1.. in order of first appearance (BuildSymbolList).
    static SymbolList BuildSymbolList(const StatementTable &table);

    int count() const { return int(m_symbols.size()); }
    /// Entry i, 0-based.
    QString at(int i) const;
    QStringList toStringList() const;

    /// 1-based position of an exactly equal entry, 0 when there is none (SymbolIndex).
    int SymbolIndex(std::string_view utf8) const
    {
        const auto it = m_index.find(utf8);
        return it == m_index.end() ? 0 : it->second;
    }
    int SymbolIndex(const QString &symbol) const;

private:
    void rebuildIndex();

    std::vector<std::string> m_symbols;
    // Keys view into m_symbols' strings; a copy rebuilds them, a move keeps the heap buffer.
    std::unordered_map<std::string_view, int> m_index;
};
