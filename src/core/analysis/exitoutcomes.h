// How trades ended per pair, and how a result followed the previous one (result groups).
#pragma once

#include "statement/valuerules.h"

#include "analysis/gridshading.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

/// Three points of the stop-loss text's price digits; the open price's digits when the stop-loss
/// text has no decimal mark (a bare 0 for no stop).
double BreakevenBand(std::string_view stopLoss, std::string_view openPrice);

/// A pair whose closed trades have not begun: any value, even -1.123456, is a real previous result.
constexpr std::nullopt_t NoPreviousResult = std::nullopt;

/// 1 profit after profit, 2 profit after loss, 3 loss after loss, 4 loss after profit;
/// a result of 0 counts as a profit.
int ResultGroup(double earlier, double later);

/// How a trade ended: its column of the outcomes grid (st5).
enum class Outcome : int {
    StopLoss = 1,       ///< "По стопу в(-)": at the stop in loss
    TakeProfit = 2,     ///< "По тейку"
    Breakeven = 3,      ///< "В безубыток"
    Manual = 4,         ///< "Ручное"
    DeletedPending = 5, ///< "Удаленные позиции": a pending order deleted unfilled
    TrailingStop = 6, ///< "По стопу в(+)": at the stop in profit beyond the breakeven band
    Total = 7         ///< "Всего сделок": columns 1..6
};

/// The outcome of a closed trade: at the stop in loss, at the stop in profit beyond the breakeven
/// band (a trailing stop), at the take profit, breakeven, by hand; tested in that order, so every
/// trade gets exactly one. `move` and `band` matter only for p > 0.
Outcome ClassifyOutcome(double profit, bool closedAtStop, bool closedAtTarget, double move,
                        double band);

/// The tab's caption, also the title of its messages and its report section.
QString OutcomesCaption();
/// Row 0 of the outcomes grid and of the result groups grid.
QStringList OutcomesGridHeader();
QStringList GroupsGridHeader();

struct OutcomesResult {
    std::optional<CellError> error;
    /// Row 0: the 8 headers; then per pair its 7 counts ("Всего сделок" = columns 1..6).
    std::vector<QStringList> outcomesGrid;
    ShadeGrid outcomesShades;
    /// Row 0: the 5 headers; then per pair its 4 group counts; last the "Итого" row.
    std::vector<QStringList> groupsGrid;
    ShadeGrid groupsShades;
};

OutcomesResult CalculateOutcomes(const StatementTable &table, QChar decimalSeparator);
