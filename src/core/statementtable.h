// The statement table: 14 text columns, row 0 the file's header line, rows 1.. the orders.
#pragma once

#include "largearray.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <string_view>
#include <vector>

/// The 14 columns of a statement, in file order.
enum Column : int {
    Ticket = 0,
    OpenDate,
    OpenTime,
    Type,
    Column4,
    Symbol,
    OpenPrice,
    StopLoss,
    TakeProfit,
    CloseDate,
    CloseTime,
    ClosePrice,
    Column12,
    Profit,
    ColumnCount
};

/// The name of a column as messages and the report write it ("Profit", "OpenDate", ...).
QString ColumnName(int column);

/// The imported statement as text cells. All rows live in one UTF-8 buffer in their file form
/// (each field followed by one separator byte), with 14 end offsets per row; an edit appends a
/// new copy of its row to the buffer. So a table costs about its file size plus 64 bytes a row.
class StatementTable {
public:
    static constexpr int kColumnCount = ColumnCount;

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
    QString cell(int row, int column) const;
    QStringList rowTexts(int row) const;

    void setCell(int row, int column, const QString &text);

    /// Bytes held by the table's storage (buffer and offsets), for the benchmark.
    size_t memoryBytes() const;

    /// Builds a table from UTF-8 text (from byte `offset` on) with lines ended by CR, LF or CRLF.
    /// A final line break adds no row; at least one (empty) row is kept. Fields end at ";", the
    /// text after the last ";" of a line is dropped, fields past the 14th are not kept. The
    /// table keeps `text` as its buffer.
    static StatementTable fromUtf8(LargeArray<char> text, size_t offset = 0);
    static StatementTable fromText(std::string_view utf8);

    /// Builds a table from rows of cell texts (tests and small tools).
    static StatementTable fromRows(const std::vector<QStringList> &rows);

private:
    struct Empty {};
    explicit StatementTable(Empty) {}
    void appendRow(size_t lineBegin, size_t lineEnd);
    /// Writes the 14 cell ends of the line [lineBegin, lineEnd) of `data`.
    static void splitLine(const char *data, size_t lineBegin, size_t lineEnd, uint32_t *ends);
    /// Splits LF or CRLF text on two threads; false (and nothing kept) when it finds a lone CR.
    bool splitInParallel(size_t offset, size_t lineFeeds);

    LargeArray<char> m_buffer;
    LargeArray<uint64_t> m_rowStart;
    LargeArray<uint32_t> m_cellEnd;
};
