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
    SymbolList(const SymbolList &other) : m_symbols(other.m_symbols), m_rowIndex(other.m_rowIndex)
    {
        rebuildIndex();
    }
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

    /// SymbolIndex of the Symbol cell of `row` of the table the list was built from, looked up
    /// once while building (0 for the header row).
    int indexOfRow(int row) const { return m_rowIndex[size_t(row)]; }

private:
    struct Hash {
        size_t operator()(std::string_view s) const noexcept
        {
            // FNV-1a: symbols are short, this beats the general-purpose hash.
            size_t h = 1469598103934665603ULL;
            for (const char c : s)
                h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
            return h;
        }
    };
    void rebuildIndex();

    std::vector<std::string> m_symbols;
    // Keys view into m_symbols' strings; a copy rebuilds them, a move keeps the heap buffer.
    std::unordered_map<std::string_view, int, Hash> m_index;
    std::vector<int> m_rowIndex;
};
