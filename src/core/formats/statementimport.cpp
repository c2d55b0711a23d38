// Statement decoding: BOM detection, UTF-8 validation and the Windows-1251 fallback; the checks
// made before and after reading (file kind, memory, head of the text) and the import's progress.
#include "formats/statementimport.h"

#include "formats/htmlstatement.h"
#include "formats/htmltablereader.h"
#include "formats/semicolonformat.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

#if defined(Q_OS_WIN)
#define NOMINMAX
#include <windows.h>
#elif defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

// Code points of Windows-1251 bytes 0x80..0xBF; 0xC0..0xFF map to U+0410..U+044F.
const char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

bool isValidUtf8(const char *data, size_t size)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data);
    const unsigned char *end = p + size;
    while (p < end) {
        // ASCII fast path, 32 bytes at a time.
        if (end - p >= 32) {
            uint64_t w[4];
            std::memcpy(w, p, 32);
            if (((w[0] | w[1] | w[2] | w[3]) & 0x8080808080808080ULL) == 0) {
                p += 32;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        uint32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p <= extra)
            return false;
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return false;
        p += extra + 1;
    }
    return true;
}

void appendUtf8(LargeArray<char> &out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

LargeArray<char> fromQString(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    LargeArray<char> out;
    out.append(utf8.constData(), size_t(utf8.size()));
    return out;
}

LargeArray<char> fromUtf16(const LargeArray<char> &bytes, size_t skip, bool bigEndian)
{
    const size_t units = (bytes.size() - skip) / 2;
    QString text(qsizetype(units), Qt::Uninitialized);
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data()) + skip;
    for (size_t i = 0; i < units; ++i, p += 2)
        text[qsizetype(i)] =
            QChar(bigEndian ? char16_t(p[0] << 8 | p[1]) : char16_t(p[1] << 8 | p[0]));
    if ((bytes.size() - skip) % 2)
        text.append(QChar(QChar::ReplacementCharacter));
    return fromQString(text);
}

std::string_view viewOf(const LargeArray<char> &bytes, size_t offset = 0)
{
    return std::string_view(bytes.data() + offset, bytes.size() - offset);
}

LargeArray<char> fromWindows1251(const LargeArray<char> &bytes);

// True when the bytes begin with a UTF-8, UTF-16LE or UTF-16BE byte-order mark.
bool startsWithByteOrderMark(std::string_view bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    return (bytes.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) ||
           (bytes.size() >= 2 &&
            ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF)));
}

// UTF-16 without a byte-order mark: a markup character with a zero byte beside it.
std::optional<bool> utf16WithoutMark(const LargeArray<char> &bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    if (bytes.size() < 4)
        return std::nullopt;
    if (u[0] != 0 && u[1] == 0 && u[2] != 0 && u[3] == 0)
        return false; // little-endian
    if (u[0] == 0 && u[1] != 0 && u[2] == 0 && u[3] != 0)
        return true;
    return std::nullopt;
}

// Section titles of the Japanese statement template in Shift_JIS: 決済情報 and レポート概要.
bool hasShiftJisLabels(const LargeArray<char> &bytes)
{
    static const std::string_view labels[] = {"\x8c\x88\x8d\xcf\x8f\xee\x95\xf1",
                                              "\x83\x8c\x83\x7c\x81\x5b\x83\x67\x8a\x54\x97\x76"};
    for (const std::string_view label : labels)
        if (std::search(bytes.data(), bytes.data() + bytes.size(),
                        std::boyer_moore_horspool_searcher(label.begin(), label.end())) !=
            bytes.data() + bytes.size())
            return true;
    return false;
}

bool isNamed(const std::string &name, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (name == n)
            return true;
    return false;
}

// Decodes with the converter of that name; nothing when the platform has none.
std::optional<LargeArray<char>> decodeNamed(const LargeArray<char> &bytes, const char *name)
{
    QStringDecoder decoder(name);
    if (!decoder.isValid())
        return std::nullopt;
    const QString text = decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
    return fromQString(text);
}

// Decodes the bytes of an HTML statement without a byte-order mark.
LargeArray<char> decodeHtml(LargeArray<char> bytes, size_t *offset, ImportResult &result)
{
    *offset = 0;
    const std::string declared = DeclaredCharset(viewOf(bytes));
    result.declaredCharset = QString::fromLatin1(declared.data(), qsizetype(declared.size()));
    if (isNamed(declared, {"utf-8", "utf8", "unicode-1-1-utf-8"})) {
        result.encoding = TextEncoding::Utf8;
        if (isValidUtf8(bytes.data(), bytes.size()))
            return bytes;
        return fromQString(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
    }
    if (isNamed(declared, {"windows-1251", "cp1251", "x-cp1251"})) {
        result.encoding = TextEncoding::Windows1251;
        return fromWindows1251(bytes);
    }
    // A declared UTF-16 without a byte-order mark is a mislabelled 8-bit file.
    if (!declared.empty() && declared.rfind("utf-16", 0) != 0) {
        if (auto text = decodeNamed(bytes, declared.c_str())) {
            if (isNamed(declared, {"shift_jis", "shift-jis", "sjis", "x-sjis", "cp932",
                                   "windows-31j", "ms_kanji"}))
                result.encoding = TextEncoding::ShiftJis;
            else if (isNamed(declared, {"gbk", "gb2312", "gb18030", "cp936", "x-gbk", "euc-cn"}))
                result.encoding = TextEncoding::Gbk;
            else
                result.encoding = TextEncoding::Declared;
            return std::move(*text);
        }
    }
    if (isValidUtf8(bytes.data(), bytes.size())) {
        result.encoding = TextEncoding::Utf8;
        return bytes;
    }
    if (hasShiftJisLabels(bytes)) {
        if (auto text = decodeNamed(bytes, "Shift_JIS")) {
            result.encoding = TextEncoding::ShiftJis;
            return std::move(*text);
        }
    }
    result.encoding = TextEncoding::Windows1251;
    return fromWindows1251(bytes);
}

LargeArray<char> fromWindows1251(const LargeArray<char> &bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    LargeArray<char> out;
    out.reserve(bytes.size() + bytes.size() / 2 + 16);
    for (size_t i = 0; i < bytes.size(); ++i)
        appendUtf8(out, Windows1251ToUnicode(u[i]));
    return out;
}

// True when the text begins as an HTML document in UTF-8 or ASCII as far as its first 64 KB
// tell: no byte-order mark (nor the zero bytes of UTF-16), and no charset but UTF-8 declared.
bool isUtf8HtmlHead(std::string_view bytes)
{
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    if (startsWithByteOrderMark(bytes) || (bytes.size() >= 2 && (u[0] == 0 || u[1] == 0)) ||
        !LooksLikeHtml(bytes))
        return false;
    const std::string declared = DeclaredCharset(bytes);
    return declared.empty() || isNamed(declared, {"utf-8", "utf8", "unicode-1-1-utf-8"});
}

ImportResult takeHtml(HtmlStatement statement, ImportResult result)
{
    if (!statement.table) {
        result.error =
            QStringLiteral("в файле HTML нет таблицы закрытых сделок (Closed Transactions) — "
                           "это не выписка по счёту из терминала");
        return result;
    }
    result.table = std::move(statement.table);
    result.account = std::move(statement.account);
    result.notes = std::move(statement.notes);
    return result;
}

// takeHtml for a statement read as UTF-8 whose file begins with `head`.
ImportResult takeUtf8Html(HtmlStatement statement, std::string_view head, ImportResult result)
{
    const std::string declared = DeclaredCharset(head);
    result.format = StatementFormat::Html;
    result.encoding = TextEncoding::Utf8;
    result.declaredCharset = QString::fromLatin1(declared.data(), qsizetype(declared.size()));
    return takeHtml(std::move(statement), std::move(result));
}

constexpr qint64 kReadChunk = qint64(8) << 20;
constexpr size_t kHeadBytes = 64 * 1024;
constexpr int kHeadLines = 10;

// Tells the progress callback how far the import is; false (and the result marked) to stop.
class Progress {
public:
    Progress(const ImportOptions &options, ImportResult &result, qint64 fileSize)
        : m_options(options), m_result(result), m_total(2 * fileSize)
    {
    }
    bool reached(qint64 done)
    {
        if (!m_options.progress || m_options.progress(std::min(done, m_total), m_total))
            return true;
        m_result.cancelled = true;
        m_result.error = QStringLiteral("импорт отменён");
        m_result.table.reset();
        return false;
    }
    qint64 fileSize() const { return m_total / 2; }

private:
    const ImportOptions &m_options;
    ImportResult &m_result;
    qint64 m_total;
};

ImportResult importBytes(LargeArray<char> bytes, const ImportOptions &options, ImportResult result)
{
    Progress progress(options, result, qint64(bytes.size()));
    const qint64 size = progress.fileSize();
    if (!progress.reached(size))
        return result;
    size_t offset = 0;
    LargeArray<char> text;
    bool html = false;
    const bool byteOrderMark = startsWithByteOrderMark(viewOf(bytes));
    const std::optional<bool> utf16BigEndian =
        byteOrderMark ? std::nullopt : utf16WithoutMark(bytes);
    if (byteOrderMark) {
        text = DecodeStatementText(std::move(bytes), &offset, &result.encoding);
        html = LooksLikeHtml(viewOf(text, offset));
    } else if (utf16BigEndian) {
        // Text whose first characters alternate with zero bytes: UTF-16 that lost its mark.
        text = fromUtf16(bytes, 0, *utf16BigEndian);
        bytes = LargeArray<char>();
        result.encoding = *utf16BigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
        html = LooksLikeHtml(viewOf(text));
    } else if (LooksLikeHtml(viewOf(bytes))) {
        text = decodeHtml(std::move(bytes), &offset, result);
        html = true;
    } else {
        text = DecodeStatementText(std::move(bytes), &offset, &result.encoding);
    }
    if (!progress.reached(size + size / 2))
        return result;
    if (!html) {
        result.error = CheckSemicolonHead(viewOf(text, offset));
        if (!result.error.isEmpty())
            return result;
        result.table = ReadSemicolonText(std::move(text), offset);
    } else {
        result.format = StatementFormat::Html;
        result = takeHtml(ReadHtmlStatement(viewOf(text), offset), std::move(result));
    }
    progress.reached(2 * size);
    return result;
}

} // namespace

std::optional<qint64> AvailableMemory()
{
#if defined(Q_OS_LINUX)
    if (std::FILE *file = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        std::optional<qint64> available;
        while (std::fgets(line, sizeof line, file)) {
            long long kib = 0;
            if (std::sscanf(line, "MemAvailable: %lld kB", &kib) == 1) {
                available = qint64(kib) * 1024;
                break;
            }
        }
        std::fclose(file);
        if (available)
            return available;
    }
#endif
#if defined(Q_OS_WIN)
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (GlobalMemoryStatusEx(&status))
        return qint64(status.ullAvailPhys);
#elif defined(_SC_AVPHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return qint64(pages) * pageSize;
#endif
    return std::nullopt;
}

QString CheckImportMemory(qint64 fileSize, qint64 availableBytes)
{
    constexpr qint64 kMiB = 1024 * 1024;
    if (fileSize <= 0 || fileSize <= availableBytes / 3)
        return QString();
    return QStringLiteral("файл слишком велик для свободной памяти: его размер %1 МБ, а свободно "
                          "%2 МБ (для импорта нужно втрое больше размера файла)")
        .arg((fileSize + kMiB - 1) / kMiB)
        .arg(std::max<qint64>(availableBytes, 0) / kMiB);
}

QString CheckSemicolonHead(std::string_view utf8)
{
    if (utf8.empty())
        return QStringLiteral("это не выписка: файл пуст");
    if (utf8.find_first_not_of(" \t\r\n") == std::string_view::npos)
        return QStringLiteral("это не выписка: в файле только пустые строки");
    const std::string_view head = utf8.substr(0, std::min(utf8.size(), kHeadBytes));
    bool separator = false;
    int lines = 0;
    for (size_t at = 0; at < head.size() && lines < kHeadLines;) {
        size_t end = head.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = head.size();
        const std::string_view line = head.substr(at, end - at);
        at = end + 1;
        if (line.find_first_not_of(" \t") == std::string_view::npos)
            continue;
        ++lines;
        if (line.find('\0') != std::string_view::npos)
            return QStringLiteral("это не выписка: в начале файла есть нулевые байты — похоже на "
                                  "двоичный файл (картинку, архив, программу)");
        separator = separator || line.find(';') != std::string_view::npos;
    }
    if (!separator)
        return QStringLiteral("это не выписка: в первых строках файла нет ни одного разделителя "
                              "«;»");
    return QString();
}

bool IsValidUtf8(std::string_view bytes)
{
    return isValidUtf8(bytes.data(), bytes.size());
}

char32_t Windows1251ToUnicode(unsigned char byte)
{
    if (byte < 0x80)
        return byte;
    if (byte >= 0xC0)
        return char32_t(0x0410 + (byte - 0xC0));
    return kCp1251High[byte - 0x80];
}

LargeArray<char> DecodeStatementText(LargeArray<char> bytes, size_t *offset, TextEncoding *detected)
{
    auto report = [detected](TextEncoding e) {
        if (detected)
            *detected = e;
    };
    *offset = 0;
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    const size_t size = bytes.size();
    if (size >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) {
        report(TextEncoding::Utf8Bom);
        if (isValidUtf8(bytes.data() + 3, size - 3)) {
            *offset = 3;
            return bytes;
        }
        // Keep what decodes and mark the rest.
        return fromQString(QString::fromUtf8(bytes.data() + 3, qsizetype(size - 3)));
    }
    if (size >= 2 && u[0] == 0xFF && u[1] == 0xFE) {
        report(TextEncoding::Utf16LE);
        return fromUtf16(bytes, 2, false);
    }
    if (size >= 2 && u[0] == 0xFE && u[1] == 0xFF) {
        report(TextEncoding::Utf16BE);
        return fromUtf16(bytes, 2, true);
    }
    if (isValidUtf8(bytes.data(), size)) {
        report(TextEncoding::Utf8);
        return bytes;
    }
    report(TextEncoding::Windows1251);
    return fromWindows1251(bytes);
}

ImportResult ImportStatement(const QString &path, const ImportOptions &options)
{
    ImportResult result;
    // Opening a pipe waits for a writer, and a device may never end: only regular files are read.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        result.error = info.isDir()
                           ? QStringLiteral("это папка, а не файл выписки")
                           : QStringLiteral("это не обычный файл (канал, сокет или устройство) — "
                                            "выписка читается только из файла");
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const qint64 size = file.size();
    const std::optional<qint64> available = options.availableMemory >= 0
                                                ? std::optional<qint64>(options.availableMemory)
                                                : AvailableMemory();
    if (available) {
        result.error = CheckImportMemory(size, *available);
        if (!result.error.isEmpty())
            return result;
    }
    Progress progress(options, result, size);
    if (!progress.reached(0))
        return result;
#if defined(Q_OS_UNIX)
    // An HTML statement in UTF-8 (or ASCII) is read a piece at a time, straight from the file:
    // its table copies what it keeps, so the file is never held whole.
    if (size > 0) {
        const int fd = file.handle();
        const ByteSource source = [fd](uint64_t at, char *into, size_t bytes) -> int64_t {
            for (;;) {
                const ssize_t n = ::pread(fd, into, bytes, off_t(at));
                if (n >= 0 || errno != EINTR)
                    return n;
            }
        };
        std::string head(size_t(std::min<qint64>(size, qint64(kHeadBytes))), '\0');
        const int64_t headBytes = source(0, head.data(), head.size());
        head.resize(size_t(std::max<int64_t>(headBytes, 0)));
        if (isUtf8HtmlHead(head)) {
            PieceReading how;
            how.progress = [&progress](uint64_t done) {
                return progress.reached(2 * qint64(done));
            };
            bool cancelled = false;
            std::optional<HtmlStatement> statement =
                ReadHtmlStatementInPieces(source, uint64_t(size), how, &cancelled);
            if (cancelled)
                return result;
            if (statement) {
                result = takeUtf8Html(std::move(*statement), head, std::move(result));
                progress.reached(2 * size);
                return result;
            }
            // Something only the whole text settles: read it whole below.
        }
    }
#endif
    LargeArray<char> bytes;
    if (size > 0) {
        bytes.resizeUninitialised(size_t(size));
        qint64 got = 0;
        while (got < size) {
            const qint64 n = file.read(bytes.data() + got, std::min(size - got, kReadChunk));
            if (n < 0) {
                result.error = file.errorString();
                return result;
            }
            if (n == 0)
                break;
            got += n;
            if (!progress.reached(got))
                return result;
        }
        bytes.resizeUninitialised(size_t(got));
    } else {
        // Size unknown (a file of the kernel's, such as those in /proc): read until the end.
        const QByteArray all = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.error = file.errorString();
            return result;
        }
        bytes.append(all.constData(), size_t(all.size()));
    }
    file.close();
    // An HTML statement in UTF-8 (or ASCII) is read from the file's bytes as they are, its
    // cells checked for UTF-8 only where they hold bytes outside ASCII.
    const std::string_view view = viewOf(bytes);
    if (isUtf8HtmlHead(view)) {
        if (std::optional<HtmlStatement> statement = ReadHtmlStatementIfUtf8(view)) {
            result = takeUtf8Html(std::move(*statement), view, std::move(result));
            progress.reached(2 * size);
            return result;
        }
    }
    return importBytes(std::move(bytes), options, ImportResult());
}

ImportResult ImportStatementBytes(LargeArray<char> bytes, const ImportOptions &options)
{
    return importBytes(std::move(bytes), options, ImportResult());
}
