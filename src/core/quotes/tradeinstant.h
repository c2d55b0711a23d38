// A trade's moment from its date and time cells: read as UTC, moved by the GMT shift.
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

/// Days since 1970-01-01 of a "YYYY.MM.DD" text: ten characters, a four-digit year, two-digit
/// month and day, all digits, forming a real calendar date (the separators are not examined).
/// Nothing for any other text.
std::optional<qint64> ParseTradeDate(const QString &text);

/// Seconds since midnight of an "HH:MM:SS" text: eight characters, each piece two digits, a real
/// clock time (hour 0-23, minute and second 0-59; the separators are not examined). Nothing for
/// any other text.
std::optional<int> ParseTradeTime(const QString &text);

/// The trade's moment in seconds since 1970-01-01 00:00 UTC: the date and time read as UTC,
/// plus `gmtShiftHours` hours (a day rolls over as the clock does).
constexpr qint64 TradeInstant(qint64 day, int secondsOfDay, int gmtShiftHours)
{
    return day * 86400 + secondsOfDay + qint64(gmtShiftHours) * 3600;
}
