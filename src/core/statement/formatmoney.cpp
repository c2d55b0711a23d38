// Two-decimal formatting with round-half-away-from-zero on the exact binary value.
#include "statement/formatmoney.h"

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

QString withSeparator(const char *text, QChar decimalSeparator)
{
    QString result = QString::fromLatin1(text);
    const qsizetype dot = result.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        result[dot] = decimalSeparator;
    return result;
}

} // namespace

QString FormatMoney(double value, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    char text[400];
    // A tie at the third decimal can only happen when 8 * value is a whole number
    // (x.125, x.375, x.625, x.875); printf would round it to even, we round away from zero.
    const double eighths = magnitude * 8.0;
    const bool tie =
        magnitude < 1e15 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0;
    if (tie) {
        std::snprintf(text, sizeof text, "%.3f", magnitude);
        size_t length = std::strlen(text);
        text[--length] = '\0'; // drop the exact trailing 5
        incrementLastDigit(text, length);
    } else {
        std::snprintf(text, sizeof text, "%.2f", magnitude);
    }

    const char *dot = std::strchr(text, '.');
    const size_t integerDigits = dot ? size_t(dot - text) : std::strlen(text);
    if (integerDigits > 10) {
        std::snprintf(text, sizeof text, "%.9E", magnitude);
        const QString mantissa = withSeparator(text, decimalSeparator);
        return negative ? QLatin1Char('-') + mantissa : mantissa;
    }

    const bool zero = std::strspn(text, "0.") == std::strlen(text);
    const QString body = withSeparator(text, decimalSeparator);
    return (negative && !zero) ? QLatin1Char('-') + body : body;
}
