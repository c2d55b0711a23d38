// Statement decoding: BOM detection, UTF-8 validation and the Windows-1251 fallback.
#include "formats/statementimport.h"

#include "formats/htmlstatement.h"
#include "formats/htmltablereader.h"
#include "formats/semicolonformat.h"

#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>

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

} // namespace

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

ImportResult ImportStatement(const QString &path)
{
    ImportResult result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = file.errorString();
        return result;
    }
    const qint64 size = file.size();
    // An HTML statement in UTF-8 (or ASCII) is read where the file is mapped: its table copies
    // what it keeps, so the file's bytes need no buffer of their own.
    if (size > 0) {
        if (uchar *mapped = file.map(0, size)) {
            const std::string_view bytes(reinterpret_cast<const char *>(mapped), size_t(size));
            const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
            const bool plain8Bit =
                !(bytes.size() >= 2 &&
                  ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF))) &&
                !(bytes.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) &&
                !(bytes.size() >= 2 && (u[0] == 0 || u[1] == 0));
            if (plain8Bit && LooksLikeHtml(bytes)) {
                const std::string declared = DeclaredCharset(bytes);
                if (declared.empty() || isNamed(declared, {"utf-8", "utf8", "unicode-1-1-utf-8"})) {
                    std::optional<HtmlStatement> statement = ReadHtmlStatementIfUtf8(bytes);
                    file.unmap(mapped);
                    if (statement) {
                        result.format = StatementFormat::Html;
                        result.encoding = TextEncoding::Utf8;
                        result.declaredCharset =
                            QString::fromLatin1(declared.data(), qsizetype(declared.size()));
                        return takeHtml(std::move(*statement), std::move(result));
                    }
                    mapped = nullptr;
                }
            }
            if (mapped)
                file.unmap(mapped);
        }
    }
    LargeArray<char> bytes;
    if (size > 0) {
        bytes.resizeUninitialised(size_t(size));
        qint64 got = 0;
        while (got < size) {
            const qint64 n = file.read(bytes.data() + got, size - got);
            if (n < 0) {
                result.error = file.errorString();
                return result;
            }
            if (n == 0)
                break;
            got += n;
        }
        bytes.resizeUninitialised(size_t(got));
    } else {
        // Size unknown (a pipe or special file): read until the end.
        const QByteArray all = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.error = file.errorString();
            return result;
        }
        bytes.append(all.constData(), size_t(all.size()));
    }

    return ImportStatementBytes(std::move(bytes));
}

ImportResult ImportStatementBytes(LargeArray<char> bytes)
{
    ImportResult result;
    size_t offset = 0;
    LargeArray<char> text;
    bool html = false;
    const auto *u = reinterpret_cast<const unsigned char *>(bytes.data());
    const bool byteOrderMark =
        (bytes.size() >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) ||
        (bytes.size() >= 2 && ((u[0] == 0xFF && u[1] == 0xFE) || (u[0] == 0xFE && u[1] == 0xFF)));
    const std::optional<bool> utf16BigEndian =
        byteOrderMark ? std::nullopt : utf16WithoutMark(bytes);
    if (byteOrderMark) {
        text = DecodeStatementText(std::move(bytes), &offset, &result.encoding);
        html = LooksLikeHtml(viewOf(text, offset));
    } else if (utf16BigEndian) {
        LargeArray<char> decoded = fromUtf16(bytes, 0, *utf16BigEndian);
        html = LooksLikeHtml(viewOf(decoded));
        if (html) {
            result.encoding = *utf16BigEndian ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
            text = std::move(decoded);
        } else {
            text = DecodeStatementText(std::move(bytes), &offset, &result.encoding);
        }
    } else if (LooksLikeHtml(viewOf(bytes))) {
        text = decodeHtml(std::move(bytes), &offset, result);
        html = true;
    } else {
        text = DecodeStatementText(std::move(bytes), &offset, &result.encoding);
    }
    if (!html) {
        result.table = ReadSemicolonText(std::move(text), offset);
        return result;
    }

    result.format = StatementFormat::Html;
    return takeHtml(ReadHtmlStatement(viewOf(text), offset), std::move(result));
}
