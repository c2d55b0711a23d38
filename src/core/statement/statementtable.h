// The statement table: 14 text columns, row 0 the file's header line, rows 1.. the orders.
#pragma once

#include "statement/largearray.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>
#include <vector>

/// The 14 columns of a statement, in file order.
enum class Column : int {
    Ticket = 0,
    OpenDate,
    OpenTime,
    Type,
    Size,
    Symbol,
    OpenPrice,
    StopLoss,
    TakeProfit,
    CloseDate,
    CloseTime,
    ClosePrice,
    Swap,
    Profit,
    Count
};

/// The name of a column as messages and the report write it ("Profit", "OpenDate", ...).
QString ColumnName(int column);
inline QString ColumnName(Column column)
{
    return ColumnName(int(column));
}

/// The imported statement as text cells. All rows live in one UTF-8 buffer in their file form
/// (each field followed by one separator byte), with 14 end offsets per row; an edit appends a
/// new copy of its row to the buffer. So a table costs about its file size plus 64 bytes a row.
class StatementTable {
public:
    static constexpr int kColumnCount = int(Column::Count);

    /// The table before any import: an empty header row and one empty order row.
    StatementTable();

    int rowCount() const { return int(m_rowStart.size()); }

    /// The cell as UTF-8 bytes; valid until the next edit of the table.
    std::string_view cellUtf8(int row, int column) const
    {
        const uint32_t *ends = &m_cellEnd[size_t(row) * kColumnCount];
        const uint32_t begin = column == 0 ? 0 : ends[column - 1] + 1;
        if (ends[column] <= begin) // empty; an unreached cell may point past its line
            return std::string_view();
        return std::string_view(m_buffer.data() + m_rowStart[size_t(row)] + begin,
                                ends[column] - begin);
    }
    std::string_view cellUtf8(int row, Column column) const { return cellUtf8(row, int(column)); }
    QString cell(int row, int column) const;
    QString cell(int row, Column column) const { return cell(row, int(column)); }
    QStringList rowTexts(int row) const;

    void setCell(int row, int column, const QString &text);

    /// Bytes held by the table's storage (buffer and offsets), for the benchmark.
    size_t memoryBytes() const;

    /// Builds a table from rows of cell texts (tests and small tools).
    static StatementTable fromRows(const std::vector<QStringList> &rows);

    /// Takes over storage laid out by a file format: row r starts at byte `rowStart[r]` of
    /// `buffer`, and `cellEnd[r * 14 + c]` is the end of its cell c counted from that start; cell
    /// c > 0 begins one byte past the end of cell c - 1 (the separator). At least one row.
    StatementTable(LargeArray<char> buffer, LargeArray<uint64_t> rowStart,
                   LargeArray<uint32_t> cellEnd);

private:
    LargeArray<char> m_buffer;
    LargeArray<uint64_t> m_rowStart;
    LargeArray<uint32_t> m_cellEnd;
};

/// Builds a table row by row, in the storage layout of StatementTable.
class StatementTableBuilder {
public:
    void reserve(size_t rows, size_t bytes);
    /// Appends one row; cells past the 14th are dropped, missing ones are empty.
    void addRow(const QStringList &cells);
    void addRow(const std::string_view *cells, int count);
    size_t rowCount() const { return m_rowStart.size(); }
    /// Appends the rows of `other` after these; `other` is left empty.
    void append(StatementTableBuilder &&other);
    /// Appends a copy of rows [rowBegin, rowEnd) of `other` after these.
    void appendRows(const StatementTableBuilder &other, size_t rowBegin, size_t rowEnd);
    /// The table of the rows added (one empty row when none was); the builder is left empty.
    StatementTable finish();

private:
    LargeArray<char> m_buffer;
    LargeArray<uint64_t> m_rowStart;
    LargeArray<uint32_t> m_cellEnd;
};
