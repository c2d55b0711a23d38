// Compact storage of the statement: one buffer, offsets per row and cell.
#include "statementtable.h"

#include <cstring>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
// Below this the split is quick enough on one thread.
constexpr size_t kParallelBytes = size_t(4) << 20;
} // namespace

QString ColumnName(int column)
{
    static const char *const names[ColumnCount] = {
        "Ticket",   "OpenDate",  "OpenTime",  "Type",       "Column4",  "Symbol",   "OpenPrice",
        "StopLoss", "TakeProfit", "CloseDate", "CloseTime", "ClosePrice", "Column12", "Profit"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(names[column]) : QString();
}

StatementTable::StatementTable()
{
    *this = fromText("\n\n");
}

QString StatementTable::cell(int row, int column) const
{
    const std::string_view bytes = cellUtf8(row, column);
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

QStringList StatementTable::rowTexts(int row) const
{
    QStringList texts;
    texts.reserve(kColumnCount);
    for (int c = 0; c < kColumnCount; ++c)
        texts.append(cell(row, c));
    return texts;
}

void StatementTable::setCell(int row, int column, const QString &text)
{
    QByteArray fields[kColumnCount];
    for (int c = 0; c < kColumnCount; ++c) {
        if (c == column) {
            fields[c] = text.toUtf8();
        } else {
            const std::string_view old = cellUtf8(row, c);
            fields[c] = QByteArray(old.data(), qsizetype(old.size()));
        }
    }
    // The row's new copy goes to the end of the buffer; its old bytes are simply left behind.
    const size_t start = m_buffer.size();
    uint32_t *ends = &m_cellEnd[size_t(row) * kColumnCount];
    uint32_t offset = 0;
    for (int c = 0; c < kColumnCount; ++c) {
        m_buffer.append(fields[c].constData(), size_t(fields[c].size()));
        m_buffer.push_back(';');
        offset += uint32_t(fields[c].size());
        ends[c] = offset;
        offset += 1;
    }
    m_rowStart[size_t(row)] = start;
}

size_t StatementTable::memoryBytes() const
{
    return m_buffer.capacityBytes() + m_rowStart.capacityBytes() + m_cellEnd.capacityBytes();
}

void StatementTable::appendRow(size_t lineBegin, size_t lineEnd)
{
    m_rowStart.push_back(lineBegin);
    const size_t first = m_cellEnd.size();
    m_cellEnd.resizeUninitialised(first + kColumnCount);
    splitLine(m_buffer.data(), lineBegin, lineEnd, &m_cellEnd[first]);
}

void StatementTable::splitLine(const char *data, size_t lineBegin, size_t lineEnd, uint32_t *ends)
{
    int column = 0;
    size_t p = lineBegin;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a bit per ";" found.
    const __m128i semicolon = _mm_set1_epi8(';');
    while (column < kColumnCount && p + 16 <= lineEnd) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + p));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, semicolon)));
        while (mask && column < kColumnCount) {
            ends[column++] = uint32_t(p + unsigned(__builtin_ctz(mask)) - lineBegin);
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    for (; column < kColumnCount && p < lineEnd; ++p)
        if (data[p] == ';')
            ends[column++] = uint32_t(p - lineBegin);
    // Cells no field reached are empty: each starts one past the previous end, with length 0.
    for (; column < kColumnCount; ++column)
        ends[column] = column == 0 ? 0 : ends[column - 1] + 1;
}

bool StatementTable::splitInParallel(size_t offset, size_t lineFeeds)
{
    const char *data = m_buffer.data();
    const size_t size = m_buffer.size();
    const size_t rows = lineFeeds + (data[size - 1] != '\n' ? 1 : 0);
    // The second half starts after the first line feed past the middle.
    const char *middle = static_cast<const char *>(
            std::memchr(data + offset + (size - offset) / 2, '\n', size - offset - (size - offset) / 2));
    if (!middle || rows < 2)
        return false;
    const size_t secondBegin = size_t(middle - data) + 1;
    size_t firstRows = 0;
    for (const char *p = data + offset; (p = static_cast<const char *>(std::memchr(p, '\n', size_t(middle - p + 1)))); ++p)
        ++firstRows;
    m_rowStart.resizeUninitialised(rows);
    m_cellEnd.resizeUninitialised(rows * kColumnCount);

    // Each half fills its own rows; a carriage return anywhere but before a line feed stops it.
    auto split = [this, data](size_t begin, size_t end, size_t row) {
        while (begin < end) {
            const char *nl = static_cast<const char *>(std::memchr(data + begin, '\n', end - begin));
            size_t lineEnd = nl ? size_t(nl - data) : end;
            const size_t next = nl ? lineEnd + 1 : end;
            if (lineEnd > begin && data[lineEnd - 1] == '\r')
                --lineEnd;
            if (std::memchr(data + begin, '\r', lineEnd - begin))
                return false;
            m_rowStart[row] = begin;
            splitLine(data, begin, lineEnd, &m_cellEnd[row * kColumnCount]);
            ++row;
            begin = next;
        }
        return true;
    };
    bool secondOk = true;
    std::thread second([&] { secondOk = split(secondBegin, size, firstRows); });
    const bool firstOk = split(offset, secondBegin, 0);
    second.join();
    if (firstOk && secondOk)
        return true;
    m_rowStart.clear();
    m_cellEnd.clear();
    return false;
}

StatementTable StatementTable::fromUtf8(LargeArray<char> text, size_t offset)
{
    StatementTable table{Empty{}};
    table.m_buffer = std::move(text);
    const char *data = table.m_buffer.data();
    const size_t size = table.m_buffer.size();

    // Count line feeds first so the offset arrays are sized once.
    size_t lines = 1;
    for (const char *p = data + offset, *end = data + size;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lines;
    if (size - offset >= kParallelBytes && table.splitInParallel(offset, lines - 1))
        return table;
    table.m_rowStart.reserve(lines);
    table.m_cellEnd.reserve(lines * kColumnCount);

    size_t pos = offset;
    while (pos < size) {
        const char *nl = static_cast<const char *>(std::memchr(data + pos, '\n', size - pos));
        const size_t lineEnd = nl ? size_t(nl - data) : size;
        // A carriage return also ends a line; right before the line feed it is the CRLF pair.
        size_t begin = pos;
        const char *cr;
        bool split = false;
        while ((cr = static_cast<const char *>(std::memchr(data + begin, '\r', lineEnd - begin)))) {
            table.appendRow(begin, size_t(cr - data));
            begin = size_t(cr - data) + 1;
            split = true;
        }
        if (!split || begin < lineEnd)
            table.appendRow(begin, lineEnd);
        pos = nl ? lineEnd + 1 : size;
    }
    if (table.m_rowStart.empty())
        table.appendRow(offset, offset);
    return table;
}

StatementTable StatementTable::fromText(std::string_view utf8)
{
    LargeArray<char> bytes;
    bytes.append(utf8.data(), utf8.size());
    return fromUtf8(std::move(bytes));
}

StatementTable StatementTable::fromRows(const std::vector<QStringList> &rows)
{
    QByteArray text;
    for (const QStringList &row : rows) {
        for (int c = 0; c < row.size() && c < kColumnCount; ++c) {
            text += row.at(c).toUtf8();
            text += ';';
        }
        text += '\n';
    }
    return fromText(std::string_view(text.constData(), size_t(text.size())));
}
