// The one way a text becomes a number: ParseNumber, the whole-number reader, the separator.
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>
#include <string_view>

namespace detail {
extern const double kExactPowersOfTen[23];
std::optional<double> ParseNumberFull(std::string_view utf8, QChar decimalSeparator);

// The common statement number: optional sign, up to 15 digits, at most one '.' or separator.
// With an exact integer mantissa and an exact power of ten one division is correctly rounded,
// so this agrees bit for bit with the full conversion, which takes every other text.
inline bool ParseSimpleNumber(std::string_view s, char separator, double *value)
{
    size_t i = 0;
    const size_t n = s.size();
    bool negative = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    uint64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; i < n; ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') {
            mantissa = mantissa * 10 + uint64_t(c - '0');
            ++digits;
            decimals += decimals >= 0;
        } else if ((c == '.' || c == separator) && decimals < 0) {
            decimals = 0;
        } else {
            return false;
        }
    }
    if (digits == 0 || digits > 15)
        return false;
    double v = double(mantissa);
    if (decimals > 0)
        v /= kExactPowersOfTen[decimals];
    *value = negative ? -v : v;
    return true;
}
} // namespace detail

/// Reads a number text: optional blanks, optional sign, digits with at most one decimal mark,
/// optional exponent, optional blanks. The first "." counts as the decimal mark;
/// otherwise the mark must be `decimalSeparator`. Returns nothing for any other text.
inline std::optional<double> ParseNumber(std::string_view utf8, QChar decimalSeparator)
{
    const char16_t u = decimalSeparator.unicode();
    double value;
    if (detail::ParseSimpleNumber(utf8, u < 0x80 ? char(u) : '.', &value))
        return value;
    return detail::ParseNumberFull(utf8, decimalSeparator);
}
std::optional<double> ParseNumber(const QString &text, QChar decimalSeparator);

/// Reads a whole number (optional blanks and sign, digits only), as StrToInt does.
std::optional<long long> ParseInteger(std::string_view utf8);
std::optional<long long> ParseInteger(const QString &text);

/// The decimal separator of the system locale (the desktop program's setting).
QChar SystemDecimalSeparator();
/// The decimal separator of the locale named `name` ("de_DE", "C"); nothing for an unknown name.
std::optional<QChar> DecimalSeparatorOfLocale(const QString &name);
