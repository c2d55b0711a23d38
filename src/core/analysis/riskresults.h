// Risk ratio, risk share and shortfall per trade, averaged or summed per pair.
#pragma once

#include "analysis/chartdata.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>
#include <vector>

/// |profit / (open - close)|: what one unit of price movement was worth; 0 when open = close.
double ValuePerPriceUnit(double open, double close, double profit);

/// A BUY with its stop loss below the open price or a SELL with it above, both with a stop loss
/// and a take profit above 0. The type is compared exactly ("BUY", "SELL").
bool ProtectedTrade(std::string_view type, double open, double stopLoss, double takeProfit);

/// |takeProfit - open| / |stopLoss - open| * 100 of a protected trade.
double RiskRatio(double open, double stopLoss, double takeProfit);

/// The money lost at the stop loss in percent of `balance`.
double RiskShare(double open, double stopLoss, double close, double profit, double balance);

/// Points between the take profit and the close, rounded to the nearest point; `openPrice` is
/// the open price's text, whose decimals give the point size.
double Shortfall(double takeProfit, double close, std::string_view openPrice);

/// The tab's caption, also the title of its messages and its report section.
QString RiskCaption();
/// Row 0 of the per-pair grid.
QStringList RiskGridHeader();
/// The balance field's value at start.
constexpr int kDefaultRiskBalance = 8000;

struct RiskSettings {
    QString initialBalance = QString::number(kDefaultRiskBalance); ///< text of "Начальный баланс"
    /// The statement's own starting balance (an HTML statement); when set, initialBalance is not
    /// read.
    std::optional<double> startingBalance;
    QChar decimalSeparator = QLatin1Char('.');
};

struct RiskResult {
    std::optional<CellError> error;
    /// Row 0 "Вал. пара", "Риск М", "Мани М", "Недобор"; then one row per pair.
    std::vector<QStringList> grid;
    TradeCurve riskRatio; ///< take-profit over stop-loss distance in percent, per protected trade
    TradeCurve
        riskShare; ///< money at the stop in percent of the running balance, per protected trade
    TradeCurve shortfall; ///< points left to the take profit, per profitable trade with a target
};

RiskResult CalculateRisk(const StatementTable &table, const RiskSettings &settings);
