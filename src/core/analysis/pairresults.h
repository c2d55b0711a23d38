// Total profit and trade count per currency pair, and a cumulative curve for the first 13 pairs.
#pragma once

#include "analysis/chartdata.h"
#include "analysis/gridshading.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QStringList>

#include <optional>
#include <vector>

/// The pairs chart has this many series; later pairs get grid rows but no curve.
constexpr int kPairCurveCount = 13;

/// The tab's caption, also the title of its messages and its report section.
QString PairsCaption();
/// Row 0 of the pairs grid.
QStringList PairsGridHeader();

struct PairCurve {
    QString title;
    /// Running total of the pair's profit, trade by trade; point i is at x = i and labelled i.
    std::vector<double> values;
};

struct PairsResult {
    std::optional<CellError> error;
    /// Row 0 "Symbol", "Profit", "Count"; then one row per pair in order of first appearance.
    std::vector<QStringList> grid;
    ShadeGrid shades;
    std::vector<PairCurve> curves; ///< at most kPairCurveCount
};

PairsResult CalculatePairs(const StatementTable &table, QChar decimalSeparator);
