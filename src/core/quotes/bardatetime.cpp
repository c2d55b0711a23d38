// Civil calendar arithmetic on day numbers (no time zone, no C library time functions).
#include "quotes/bardatetime.h"

qint64 DaysFromCivil(int year, int month, int day)
{
    // Years counted from March, so the leap day ends the year; eras of 400 years.
    const qint64 y = qint64(year) - (month <= 2);
    const qint64 era = FloorDiv(y, 400);
    const qint64 yearOfEra = y - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap);
}

std::optional<BarDateTime> BarDateTime::fromTime(qint64 seconds)
{
    if (seconds < 0 || seconds >= kEndSeconds)
        return std::nullopt;
    BarDateTime t;
    t.seconds = seconds;
    const qint64 days = seconds / 86400;
    const qint64 rest = seconds % 86400;
    t.hour = int(rest / 3600);
    t.minute = int(rest / 60 % 60);
    t.second = int(rest % 60);
    // The inverse of DaysFromCivil.
    const qint64 z = days + 719468;
    const qint64 era = z / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 mp = (5 * dayOfYear + 2) / 153;
    t.day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    t.month = int(mp < 10 ? mp + 3 : mp - 9);
    t.year = int(yearOfEra + era * 400 + (t.month <= 2));
    return t;
}
