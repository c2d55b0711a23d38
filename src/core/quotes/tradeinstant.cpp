// Strict reading of the statement's date and time cells.
#include "quotes/tradeinstant.h"

#include "quotes/bardatetime.h"

namespace {

// The number written by `count` digits from `from`, or -1 when one of them is not a digit.
int digitsAt(const QString &text, int from, int count)
{
    int value = 0;
    for (int i = from; i < from + count; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return -1;
        value = value * 10 + (c - u'0');
    }
    return value;
}

} // namespace

std::optional<qint64> ParseTradeDate(const QString &text)
{
    if (text.size() != 10)
        return std::nullopt;
    const int year = digitsAt(text, 0, 4);
    const int month = digitsAt(text, 5, 2);
    const int day = digitsAt(text, 8, 2);
    if (year < 1 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    return DaysFromCivil(year, month, day);
}

std::optional<int> ParseTradeTime(const QString &text)
{
    if (text.size() != 8)
        return std::nullopt;
    const int hour = digitsAt(text, 0, 2);
    const int minute = digitsAt(text, 3, 2);
    const int second = digitsAt(text, 6, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return hour * 3600 + minute * 60 + second;
}
