// Net result per pair and working day, and counts and sums of winning and losing trades per day.
#pragma once

#include "analysis/gridshading.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QStringList>

#include <array>
#include <optional>
#include <vector>

/// The tab's caption, also the title of its messages and its report section.
QString WeekdaysCaption();
/// Row 0 of the pair-by-weekday grid.
QStringList WeekdaysGridHeader();

struct WeekdaysResult {
    std::optional<CellError> error;
    /// Row 0 "Вал. пара", "Понедельник" ... "Пятница"; then one row per pair.
    std::vector<QStringList> grid;
    ShadeGrid shades;
    // Monday..Friday.
    std::array<int, 5> winCount{};
    std::array<int, 5> lossCount{};
    std::array<double, 5> winSum{};
    std::array<double, 5> lossSum{};
    /// trunc(largest grid value) + 1 and trunc(smallest grid value) - 1: the shading scales.
    /// 64-bit: sums in currencies of small units (JPY, KRW, IDR) pass the 32-bit range.
    long long profitScale = 0;
    long long lossScale = 0;
};

/// trunc(value) as a 64-bit integer, clamped to ±9e18 (0 for NaN).
long long TruncatedScale(double value);

/// Weekday of each trade from its OpenDate; Saturday and Sunday trades are counted nowhere shown.
WeekdaysResult CalculateWeekdays(const StatementTable &table, QChar decimalSeparator);
