// Risk ratio, risk share and shortfall per trade, averaged or summed per pair.
#pragma once

#include "cellerror.h"
#include "chartdata.h"
#include "statementtable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

/// |profit / (open - close)|: what one unit of price movement was worth; 0 when open = close.
double ValuePerPriceUnit(double open, double close, double profit);

struct RiskSettings {
    QString initialBalance = QStringLiteral("8000"); ///< text of "Начальный баланс"
    QChar decimalSeparator = QLatin1Char('.');
};

struct RiskResult {
    std::optional<CellError> error;
    /// Row 0 "Вал. пара", "Риск М", "Мани М", "Недобор"; then one row per pair.
    std::vector<QStringList> grid;
    TradeCurve riskRatio; ///< take-profit over stop-loss distance in percent, per protected trade
    TradeCurve riskShare; ///< money at the stop in percent of the running balance, per protected trade
    TradeCurve shortfall; ///< points left to the take profit, per profitable trade with a target
};

RiskResult CalculateRisk(const StatementTable &table, const RiskSettings &settings);
