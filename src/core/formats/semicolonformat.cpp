// Splitting semicolon statement text into the table's rows and cells, in place.
#include "semicolonformat.h"

#include "statement/cellerror.h"

#include <QSaveFile>

#include <cstring>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr int kColumns = StatementTable::kColumnCount;
// Below this the split is quick enough on one thread.
constexpr size_t kParallelBytes = size_t(4) << 20;

// Writes the 14 cell ends of the line [lineBegin, lineEnd) of `data`.
void splitLine(const char *data, size_t lineBegin, size_t lineEnd, uint32_t *ends)
{
    int column = 0;
    size_t p = lineBegin;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a bit per ";" found.
    const __m128i semicolon = _mm_set1_epi8(';');
    while (column < kColumns && p + 16 <= lineEnd) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i *>(data + p));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(block, semicolon)));
        while (mask && column < kColumns) {
            ends[column++] = uint32_t(p + unsigned(__builtin_ctz(mask)) - lineBegin);
            mask &= mask - 1;
        }
        p += 16;
    }
#endif
    for (; column < kColumns && p < lineEnd; ++p)
        if (data[p] == ';')
            ends[column++] = uint32_t(p - lineBegin);
    // Cells no field reached are empty: each starts one past the previous end, with length 0.
    for (; column < kColumns; ++column)
        ends[column] = column == 0 ? 0 : ends[column - 1] + 1;
}

struct Offsets {
    LargeArray<uint64_t> rowStart;
    LargeArray<uint32_t> cellEnd;

    void appendRow(const char *data, size_t lineBegin, size_t lineEnd)
    {
        rowStart.push_back(lineBegin);
        const size_t first = cellEnd.size();
        cellEnd.resizeUninitialised(first + kColumns);
        splitLine(data, lineBegin, lineEnd, &cellEnd[first]);
    }
};

// Splits LF or CRLF text on two threads; false (and nothing kept) when it finds a lone CR.
bool splitInParallel(const LargeArray<char> &buffer, size_t offset, size_t lineFeeds, Offsets &out)
{
    const char *data = buffer.data();
    const size_t size = buffer.size();
    const size_t rows = lineFeeds + (data[size - 1] != '\n' ? 1 : 0);
    // The second half starts after the first line feed past the middle.
    const char *middle = static_cast<const char *>(std::memchr(
        data + offset + (size - offset) / 2, '\n', size - offset - (size - offset) / 2));
    if (!middle || rows < 2)
        return false;
    const size_t secondBegin = size_t(middle - data) + 1;
    size_t firstRows = 0;
    for (const char *p = data + offset;
         (p = static_cast<const char *>(std::memchr(p, '\n', size_t(middle - p + 1)))); ++p)
        ++firstRows;
    out.rowStart.resizeUninitialised(rows);
    out.cellEnd.resizeUninitialised(rows * kColumns);

    // Each half fills its own rows; a carriage return anywhere but before a line feed stops it.
    auto split = [&out, data](size_t begin, size_t end, size_t row) {
        while (begin < end) {
            const char *nl =
                static_cast<const char *>(std::memchr(data + begin, '\n', end - begin));
            size_t lineEnd = nl ? size_t(nl - data) : end;
            const size_t next = nl ? lineEnd + 1 : end;
            if (lineEnd > begin && data[lineEnd - 1] == '\r')
                --lineEnd;
            if (std::memchr(data + begin, '\r', lineEnd - begin))
                return false;
            out.rowStart[row] = begin;
            splitLine(data, begin, lineEnd, &out.cellEnd[row * kColumns]);
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
    out.rowStart.clear();
    out.cellEnd.clear();
    return false;
}

} // namespace

StatementTable ReadSemicolonText(LargeArray<char> text, size_t offset)
{
    Offsets out;
    const char *data = text.data();
    const size_t size = text.size();

    // Count line feeds first so the offset arrays are sized once.
    size_t lines = 1;
    for (const char *p = data + offset, *end = data + size;
         p < end && (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++lines;
    if (size - offset >= kParallelBytes && splitInParallel(text, offset, lines - 1, out))
        return StatementTable(std::move(text), std::move(out.rowStart), std::move(out.cellEnd));
    out.rowStart.reserve(lines);
    out.cellEnd.reserve(lines * kColumns);

    size_t pos = offset;
    while (pos < size) {
        const char *nl = static_cast<const char *>(std::memchr(data + pos, '\n', size - pos));
        const size_t lineEnd = nl ? size_t(nl - data) : size;
        // A carriage return also ends a line; right before the line feed it is the CRLF pair.
        size_t begin = pos;
        const char *cr;
        bool split = false;
        while (begin < lineEnd &&
               (cr = static_cast<const char *>(std::memchr(data + begin, '\r', lineEnd - begin)))) {
            out.appendRow(data, begin, size_t(cr - data));
            begin = size_t(cr - data) + 1;
            split = true;
        }
        if (!split || begin < lineEnd)
            out.appendRow(data, begin, lineEnd);
        pos = nl ? lineEnd + 1 : size;
    }
    if (out.rowStart.empty())
        out.appendRow(data, offset, offset);
    return StatementTable(std::move(text), std::move(out.rowStart), std::move(out.cellEnd));
}

StatementTable ReadSemicolonText(std::string_view utf8)
{
    LargeArray<char> bytes;
    bytes.append(utf8.data(), utf8.size());
    return ReadSemicolonText(std::move(bytes));
}

QStringList StatementHeaderCells()
{
    return {QStringLiteral("Ticket"),     QStringLiteral("Open Date"),  QStringLiteral("Open Time"),
            QStringLiteral("Type"),       QStringLiteral("Size"),       QStringLiteral("Item"),
            QStringLiteral("Price"),      QStringLiteral("S / L"),      QStringLiteral("T / P"),
            QStringLiteral("Close Date"), QStringLiteral("Close Time"), QStringLiteral("Price"),
            QStringLiteral("Swap"),       QStringLiteral("Profit")};
}

namespace {

// The Windows-1251 byte of a code point, or 0 when the code page lacks it.
char windows1251Byte(char32_t cp)
{
    if (cp < 0x80)
        return char(cp);
    for (int b = 0x80; b <= 0xFF; ++b)
        if (Windows1251ToUnicode((unsigned char)b) == cp)
            return char(b);
    return 0;
}

bool encodeWindows1251(const QString &text, QByteArray &out)
{
    out.reserve(text.size());
    for (const QChar c : text) {
        const char b = windows1251Byte(c.unicode());
        if (b == 0 && c.unicode() != 0)
            return false;
        out.append(b);
    }
    return true;
}

} // namespace

QString WriteSemicolonFile(const StatementTable &table, const QString &path, TextEncoding encoding)
{
    QString text;
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 0; c < StatementTable::kColumnCount; ++c) {
            const QString cell = table.cell(r, c);
            if (cell.contains(QLatin1Char(';')) || cell.contains(QLatin1Char('\n')) ||
                cell.contains(QLatin1Char('\r')))
                return CellError{r, ColumnName(c), cell,
                                 QStringLiteral("в ячейке «;» или перевод строки")}
                    .describe();
            text += cell;
            text += QLatin1Char(';');
        }
        text += QLatin1String("\r\n");
    }
    QByteArray bytes;
    switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool big = encoding == TextEncoding::Utf16BE;
        bytes.reserve(2 * text.size() + 2);
        auto put = [&bytes, big](char16_t u) {
            bytes.append(char(big ? u >> 8 : u & 0xFF));
            bytes.append(char(big ? u & 0xFF : u >> 8));
        };
        put(0xFEFF);
        for (const QChar c : std::as_const(text))
            put(c.unicode());
        break;
    }
    case TextEncoding::Windows1251:
        if (encodeWindows1251(text, bytes))
            break;
        bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    case TextEncoding::Utf8Bom:
    case TextEncoding::ShiftJis: // read from HTML: the semicolon file keeps every character
    case TextEncoding::Gbk:
    case TextEncoding::Declared:
        bytes = "\xEF\xBB\xBF" + text.toUtf8();
        break;
    case TextEncoding::Utf8:
        bytes = text.toUtf8();
        break;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return QString();
}
