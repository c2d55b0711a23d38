// Winning and losing streaks: how many runs of each length, per pair and over the whole table.
#pragma once

#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// Runs of exactly 1 .. kLongestCountedStreak trades have a column each; longer ones share the
/// last.
constexpr int kLongestCountedStreak = 12;

/// The tab's caption, also the title of its messages and its report section.
QString StreaksCaption();
/// Row 0 of both grids: "Вал.Пары", "1" ... "12", ">12".
QStringList StreaksGridHeader();
/// The row of runs over all closed trades of the table, whatever their pair.
QString StreaksTotalCaption();

struct StreaksResult {
    std::optional<CellError> error;
    /// Row 0 the header; then per pair (in order of first appearance) the number of profit runs
    /// of each length; last the "Итого" row. A run is a maximal sequence of consecutive closed
    /// trades whose results are all >= 0.
    std::vector<QStringList> wins;
    /// The same for runs of results all < 0.
    std::vector<QStringList> losses;
};

/// Closed trades are the rows that are not deleted pending orders, taken in table order; a
/// pair's runs are counted within its own trades.
StreaksResult CalculateStreaks(const StatementTable &table, QChar decimalSeparator);
