// Bar times as UTC calendar fields and chart coordinates, and day numbers of calendar dates.
#pragma once

#include <QtGlobal>

#include <optional>

/// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar (negative before).
qint64 DaysFromCivil(int year, int month, int day);

/// Days in `month` (1..12) of `year`, leap years counted; 0 for a month outside 1..12.
int DaysInMonth(int year, int month);

/// The largest whole number not above a / b, for b > 0 (division that rounds down for times
/// before 1970 too).
constexpr qint64 FloorDiv(qint64 a, qint64 b)
{
    return a / b - (a % b != 0 && a < 0);
}

/// A bar's opening time (seconds since 1970-01-01 00:00 UTC) broken into UTC calendar fields.
/// Nothing depends on the computer's time zone.
struct BarDateTime {
    /// 10000-01-01 00:00 UTC: bars from here on have no four-digit year and are skipped.
    static constexpr qint64 kEndSeconds = 253402300800;

    /// Nothing for a time before 1970 or from the year 10000 on.
    static std::optional<BarDateTime> fromTime(qint64 seconds);

    qint64 seconds = 0;
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0, second = 0;

    /// The bar's horizontal coordinate on the chart and in the report: milliseconds since
    /// 1970-01-01 00:00 UTC.
    qint64 msecs() const { return seconds * 1000; }
    /// Days since 1970-01-01 of the bar's UTC date.
    qint64 dayNumber() const { return FloorDiv(seconds, 86400); }
};
