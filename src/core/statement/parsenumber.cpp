// Number parsing without allocation: texts are copied into a small stack buffer and read with
// std::from_chars, which rounds correctly.
#include "statement/parsenumber.h"

#include <QLocale>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Encodes the separator as UTF-8 so a non-ASCII separator can be matched in place.
struct SeparatorBytes {
    char bytes[4] = {};
    int size = 0;
    explicit SeparatorBytes(QChar sep)
    {
        const ushort u = sep.unicode();
        if (u < 0x80) {
            bytes[0] = char(u);
            size = 1;
        } else if (u < 0x800) {
            bytes[0] = char(0xC0 | (u >> 6));
            bytes[1] = char(0x80 | (u & 0x3F));
            size = 2;
        } else {
            bytes[0] = char(0xE0 | (u >> 12));
            bytes[1] = char(0x80 | ((u >> 6) & 0x3F));
            bytes[2] = char(0x80 | (u & 0x3F));
            size = 3;
        }
    }
    bool matches(std::string_view s, size_t at) const
    {
        return at + size_t(size) <= s.size() &&
               s.compare(at, size_t(size), bytes, size_t(size)) == 0;
    }
};

} // namespace

namespace detail {

const double kExactPowersOfTen[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                      1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

std::optional<double> ParseNumberFull(std::string_view s, QChar decimalSeparator)
{
    size_t begin = 0, end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;

    // Normalised copy: sign, digits, at most one '.', exponent.
    char buf[128];
    size_t n = 0;
    const SeparatorBytes sep(decimalSeparator);
    bool sawDot = false;  // a '.' in the text, which stands for the separator
    bool sawMark = false; // a decimal mark already taken
    bool digits = false;
    size_t i = begin;
    if (s[i] == '+' || s[i] == '-') {
        if (s[i] == '-')
            buf[n++] = '-';
        ++i;
    }
    for (; i < end; ++i) {
        if (n >= sizeof(buf) - 8)
            return std::nullopt;
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            buf[n++] = c;
            digits = true;
            continue;
        }
        bool isMark = false;
        if (c == '.' && !sawDot) {
            sawDot = true;
            isMark = true;
        } else if (sep.matches(s, i)) {
            isMark = true;
            i += size_t(sep.size) - 1;
        }
        if (isMark) {
            if (sawMark)
                return std::nullopt;
            sawMark = true;
            buf[n++] = '.';
            continue;
        }
        if ((c == 'e' || c == 'E') && digits) {
            buf[n++] = 'e';
            ++i;
            if (i < end && (s[i] == '+' || s[i] == '-'))
                buf[n++] = s[i++];
            bool expDigits = false;
            for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i) {
                if (n >= sizeof(buf) - 1)
                    return std::nullopt;
                buf[n++] = s[i];
                expDigits = true;
            }
            if (!expDigits || i != end)
                return std::nullopt;
            break;
        }
        return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    double value = 0;
    const char *first = buf;
    const auto [ptr, ec] = std::from_chars(first, buf + n, value, std::chars_format::general);
    if (ec != std::errc() || ptr != buf + n || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace detail

std::optional<double> ParseNumber(const QString &text, QChar decimalSeparator)
{
    const QByteArray utf8 = text.toUtf8();
    return ParseNumber(std::string_view(utf8.constData(), size_t(utf8.size())), decimalSeparator);
}

std::optional<long long> ParseInteger(std::string_view s)
{
    size_t begin = 0, end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    if (begin == end)
        return std::nullopt;
    if (s[begin] == '+')
        ++begin;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(s.data() + begin, s.data() + end, value);
    if (ec != std::errc() || ptr != s.data() + end)
        return std::nullopt;
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return value;
}

std::optional<long long> ParseInteger(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return ParseInteger(std::string_view(utf8.constData(), size_t(utf8.size())));
}

namespace {
QChar decimalSeparatorOf(const QLocale &locale)
{
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}
} // namespace

QChar SystemDecimalSeparator()
{
    return decimalSeparatorOf(QLocale::system());
}

std::optional<QChar> DecimalSeparatorOfLocale(const QString &name)
{
    if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return QLatin1Char('.');
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return std::nullopt;
    return decimalSeparatorOf(locale);
}
