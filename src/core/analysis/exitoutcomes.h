// How trades ended per pair, and how a result followed the previous one (result groups).
#pragma once

#include "statement/cellerror.h"
#include "analysis/gridshading.h"
#include "statement/statementtable.h"

#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

/// "BUYSTOP " (with its trailing blank) or "SELLSTOP": a deleted pending order.
bool PendingRow(std::string_view type);

/// Three points of the stop-loss text's price digits; the open price's digits when the stop-loss
/// text has no decimal mark (a bare 0 for no stop).
double BreakevenBand(std::string_view stopLoss, std::string_view openPrice);

/// A pair whose closed trades have not begun: any value, even -1.123456, is a real previous result.
constexpr std::nullopt_t NoPreviousResult = std::nullopt;

/// 1 profit after profit, 2 profit after loss, 3 loss after loss, 4 loss after profit;
/// a result of 0 counts as a profit.
int ResultGroup(double earlier, double later);

/// The st5 column of a closed trade: 1 at the stop in loss, 6 at the stop in profit beyond the
/// breakeven band (a trailing stop), 2 at the take profit, 3 breakeven, 4 manual; tested in
/// that order, so every trade lands in exactly one. `move` and `band` matter only for p > 0.
int OutcomeColumn(double profit, bool closedAtStop, bool closedAtTarget, double move, double band);

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
