// Two-decimal formatting with round-half-away-from-zero on the exact binary value.
#include "statement/formatmoney.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Adds one unit in the last place to a plain decimal text such as "12.34" (no sign).
void incrementLastDigit(char *text, size_t length)
{
    for (size_t i = length; i-- > 0;) {
        if (text[i] == '.')
            continue;
        if (text[i] != '9') {
            ++text[i];
            return;
        }
        text[i] = '0';
    }
    std::memmove(text + 1, text, length + 1);
    text[0] = '1';
}

size_t copyText(const char *text, char *out)
{
    const size_t length = std::strlen(text);
    std::memcpy(out, text, length);
    return length;
}

} // namespace

size_t FormatMoneyText(double value, char *out)
{
    if (std::isnan(value))
        return copyText("NAN", out);
    if (std::isinf(value))
        return copyText(value > 0 ? "INF" : "-INF", out);

    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // Fixed notation of the largest double has 309 integer digits.
    char text[400];
    size_t length;
    // A tie at the third decimal can only happen when 8 * value is a whole number
    // (x.125, x.375, x.625, x.875); fixed notation rounds it to even, we round away from zero.
    const double eighths = magnitude * 8.0;
    const bool tie =
        magnitude < 1e15 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0;
    if (tie) {
        length = size_t(
            std::to_chars(text, text + sizeof text - 1, magnitude, std::chars_format::fixed, 3)
                .ptr -
            text);
        --length; // drop the exact trailing 5
        text[length] = '\0';
        incrementLastDigit(text, length);
        length = std::strlen(text);
    } else {
        length = size_t(
            std::to_chars(text, text + sizeof text - 1, magnitude, std::chars_format::fixed, 2)
                .ptr -
            text);
        text[length] = '\0';
    }

    size_t n = 0;
    const char *dot = std::strchr(text, '.');
    const size_t integerDigits = dot ? size_t(dot - text) : length;
    if (integerDigits > 10) {
        if (negative)
            out[n++] = '-';
        std::snprintf(text, sizeof text, "%.9E", magnitude);
        return n + copyText(text, out + n);
    }
    const bool zero = std::strspn(text, "0.") == length;
    if (negative && !zero)
        out[n++] = '-';
    std::memcpy(out + n, text, length);
    return n + length;
}

QString FormatMoney(double value, QChar decimalSeparator)
{
    char text[kMoneyTextSize];
    const size_t length = FormatMoneyText(value, text);
    QString result = QString::fromLatin1(text, qsizetype(length));
    const qsizetype dot = result.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        result[dot] = decimalSeparator;
    return result;
}
