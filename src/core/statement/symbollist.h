// The distinct symbols of a statement in order of first appearance, with their 1-based index.
#pragma once

#include "statement/statementtable.h"

#include <QStringList>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Built afresh from the table of the moment by each calculation; never capped.
class SymbolList {
public:
    /// Lists the `Symbol` cells of rows 1.. in order of first appearance (BuildSymbolList).
    static SymbolList BuildSymbolList(const StatementTable &table);

    int count() const { return int(m_symbols.size()); }
    /// Entry i, 0-based.
    QString at(int i) const;
    QStringList toStringList() const;

    /// 1-based position of an exactly equal entry, 0 when there is none (SymbolIndex).
    int SymbolIndex(std::string_view utf8) const { return find(utf8, hash(utf8)); }
    int SymbolIndex(const QString &symbol) const;

    /// SymbolIndex of the Symbol cell of `row` of the table the list was built from, looked up
    /// once while building (0 for the header row).
    int indexOfRow(int row) const { return m_rowIndex[size_t(row)]; }

private:
    struct Slot {
        uint32_t hash = 0;
        int index = 0; ///< 1-based entry, 0 = empty slot
    };

    static uint32_t hash(std::string_view s)
    {
        // FNV-1a: symbols are short, this beats the general-purpose hash.
        uint32_t h = 2166136261u;
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }
    int find(std::string_view s, uint32_t h) const;
    int add(std::string_view s, uint32_t h);
    void grow();

    std::vector<std::string> m_symbols;
    std::vector<Slot> m_slots; ///< open addressing, size a power of two, at most half full
    std::vector<int> m_rowIndex;
};
