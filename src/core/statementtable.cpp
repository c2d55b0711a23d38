// Compact storage of the statement: one buffer, offsets per row and cell.
#include "statementtable.h"

#include <cstring>

QString ColumnName(int column)
{
    static const char *const names[ColumnCount] = {
        "Ticket",   "OpenDate",  "OpenTime",  "Type",       "Column4",  "Symbol",   "OpenPrice",
        "StopLoss", "TakeProfit", "CloseDate", "CloseTime", "ClosePrice", "Column12", "Profit"};
    return column >= 0 && column < ColumnCount ? QString::fromLatin1(names[column]) : QString();
}

StatementTable::StatementTable()
{
    *this = fromUtf8(std::string("\n\n"));
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
    return m_buffer.capacity() + m_rowStart.capacity() * sizeof(size_t)
            + m_cellEnd.capacity() * sizeof(uint32_t);
}

void StatementTable::appendRow(size_t lineBegin, size_t lineEnd)
{
    m_rowStart.push_back(lineBegin);
    const size_t first = m_cellEnd.size();
    m_cellEnd.resize(first + kColumnCount);
    uint32_t *ends = &m_cellEnd[first];
    int column = 0;
    size_t fieldBegin = lineBegin;
    const char *data = m_buffer.data();
    while (column < kColumnCount) {
        const void *hit = std::memchr(data + fieldBegin, ';', lineEnd - fieldBegin);
        if (!hit)
            break;
        const size_t at = size_t(static_cast<const char *>(hit) - data);
        ends[column++] = uint32_t(at - lineBegin);
        fieldBegin = at + 1;
    }
    // Cells no field reached are empty: each starts one past the previous end, with length 0.
    for (; column < kColumnCount; ++column)
        ends[column] = column == 0 ? 0 : ends[column - 1] + 1;
}

StatementTable StatementTable::fromUtf8(std::string text)
{
    StatementTable table{Empty{}};
    table.m_buffer = std::move(text);
    const char *data = table.m_buffer.data();
    const size_t size = table.m_buffer.size();

    // Rough guess of the row count so the offset vectors grow once.
    size_t lines = 1;
    {
        const char *p = data;
        const char *end = data + size;
        while ((p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p))))) {
            ++lines;
            ++p;
        }
    }
    table.m_rowStart.reserve(lines);
    table.m_cellEnd.reserve(lines * kColumnCount);

    size_t lineBegin = 0;
    size_t i = 0;
    while (i < size) {
        const char c = data[i];
        if (c != '\n' && c != '\r') {
            ++i;
            continue;
        }
        table.appendRow(lineBegin, i);
        i += (c == '\r' && i + 1 < size && data[i + 1] == '\n') ? 2 : 1;
        lineBegin = i;
    }
    if (lineBegin < size)
        table.appendRow(lineBegin, size);
    if (table.m_rowStart.empty())
        table.appendRow(0, 0);
    return table;
}

StatementTable StatementTable::fromRows(const std::vector<QStringList> &rows)
{
    std::string text;
    for (const QStringList &row : rows) {
        for (int c = 0; c < row.size() && c < kColumnCount; ++c) {
            text += row.at(c).toUtf8().toStdString();
            text += ';';
        }
        text += '\n';
    }
    return fromUtf8(std::move(text));
}
