// Compact storage of the statement: one buffer, offsets per row and cell; the row builder.
#include "statementtable.h"

#include <cstring>
#include <utility>

QString ColumnName(int column)
{
    static const char *const names[StatementTable::kColumnCount] = {
        "Ticket",   "OpenDate",   "OpenTime",  "Type",      "Size",       "Symbol", "OpenPrice",
        "StopLoss", "TakeProfit", "CloseDate", "CloseTime", "ClosePrice", "Swap",   "Profit"};
    return column >= 0 && column < StatementTable::kColumnCount ? QString::fromLatin1(names[column])
                                                                : QString();
}

StatementTable::StatementTable()
{
    StatementTableBuilder builder;
    builder.addRow(QStringList());
    builder.addRow(QStringList());
    *this = builder.finish();
}

StatementTable::StatementTable(LargeArray<char> buffer, LargeArray<uint64_t> rowStart,
                               LargeArray<uint32_t> cellEnd)
    : m_buffer(std::move(buffer)), m_rowStart(std::move(rowStart)), m_cellEnd(std::move(cellEnd))
{
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

StatementTable StatementTable::fromRows(const std::vector<QStringList> &rows)
{
    StatementTableBuilder builder;
    for (const QStringList &row : rows)
        builder.addRow(row);
    return builder.finish();
}

void StatementTableBuilder::reserve(size_t rows, size_t bytes)
{
    m_buffer.reserve(bytes);
    m_rowStart.reserve(rows);
    m_cellEnd.reserve(rows * StatementTable::kColumnCount);
}

void StatementTableBuilder::addRow(const QStringList &cells)
{
    QByteArray utf8[StatementTable::kColumnCount];
    std::string_view views[StatementTable::kColumnCount];
    const int count = int(std::min<qsizetype>(cells.size(), StatementTable::kColumnCount));
    for (int c = 0; c < count; ++c) {
        utf8[c] = cells.at(c).toUtf8();
        views[c] = std::string_view(utf8[c].constData(), size_t(utf8[c].size()));
    }
    addRow(views, count);
}

namespace {

// Copies a cell's bytes; the short texts most cells are (prices, times, tickets) without a
// library call.
inline void copyCell(char *to, const char *from, size_t n)
{
    if (n >= 8 && n <= 16) {
        uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4 && n < 8) {
        uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else if (n > 16) {
        std::memcpy(to, from, n);
    } else {
        for (size_t i = 0; i < n; ++i)
            to[i] = from[i];
    }
}

} // namespace

void StatementTableBuilder::addRow(const std::string_view *cells, int count)
{
    // One resize per row, then plain copies: rows are added by the hundred thousand.
    const size_t start = m_buffer.size();
    size_t bytes = StatementTable::kColumnCount;
    for (int c = 0; c < count && c < StatementTable::kColumnCount; ++c)
        bytes += cells[c].size();
    m_buffer.resizeUninitialised(start + bytes);
    const size_t endsAt = m_cellEnd.size();
    m_cellEnd.resizeUninitialised(endsAt + StatementTable::kColumnCount);
    m_rowStart.push_back(start);
    char *out = m_buffer.data() + start;
    uint32_t *ends = m_cellEnd.data() + endsAt;
    uint32_t offset = 0;
    for (int c = 0; c < StatementTable::kColumnCount; ++c) {
        const std::string_view cell = c < count ? cells[c] : std::string_view();
        copyCell(out + offset, cell.data(), cell.size());
        offset += uint32_t(cell.size());
        out[offset] = ';';
        ends[c] = offset;
        offset += 1;
    }
}

void StatementTableBuilder::append(StatementTableBuilder &&other)
{
    if (m_rowStart.empty()) {
        // Nothing to shift: take the other's storage as it is.
        m_buffer = std::exchange(other.m_buffer, {});
        m_rowStart = std::exchange(other.m_rowStart, {});
        m_cellEnd = std::exchange(other.m_cellEnd, {});
        return;
    }
    appendRows(other, 0, other.rowCount());
    other = StatementTableBuilder();
}

void StatementTableBuilder::appendRows(const StatementTableBuilder &other, size_t rowBegin,
                                       size_t rowEnd)
{
    if (rowBegin >= rowEnd)
        return;
    // The rows lie one after the other in the other's buffer.
    const uint64_t from = other.m_rowStart[rowBegin];
    const uint64_t to =
        rowEnd < other.m_rowStart.size() ? other.m_rowStart[rowEnd] : other.m_buffer.size();
    const uint64_t base = m_buffer.size();
    m_buffer.append(other.m_buffer.data() + from, size_t(to - from));
    m_rowStart.reserve(m_rowStart.size() + (rowEnd - rowBegin));
    for (size_t r = rowBegin; r < rowEnd; ++r)
        m_rowStart.push_back(other.m_rowStart[r] - from + base);
    m_cellEnd.append(other.m_cellEnd.data() + rowBegin * StatementTable::kColumnCount,
                     (rowEnd - rowBegin) * StatementTable::kColumnCount);
}

StatementTable StatementTableBuilder::finish()
{
    if (m_rowStart.empty())
        addRow(nullptr, 0);
    return StatementTable(std::exchange(m_buffer, {}), std::exchange(m_rowStart, {}),
                          std::exchange(m_cellEnd, {}));
}
