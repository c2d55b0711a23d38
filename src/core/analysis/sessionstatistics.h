// Winning and losing trades overall and per trading session, profit factors and the equity curve.
#pragma once

#include "analysis/chartdata.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <string_view>

/// Session of an open time HH:MM:SS shifted to GMT by `serverOffset` hours, without wrap-around:
/// 0 Asian (0-5 h, and any hour below 0 or from 21 on), 1 Asian-European (6-8 h), 2 European
/// (9 h to 13:29), 3 European-American (13:30 to 15:29), 4 American (15:30 to 20:59).
/// Nothing when the hour or minute is not a number.
std::optional<int> SessionOfTime(std::string_view openTime, int serverOffset);

struct SessionResult {
    int WinCount = 0;
    double WinSum = 0;
    double WinMax = 0;
    double WinAverage = 0;
    int LossCount = 0;
    double LossSum = 0;
    double LossMax = 0;
    double LossAverage = 0;
};

/// The tab's caption, also the title of its messages and its report section.
QString StatisticsCaption();
/// The fields' captions, as messages about them name them.
QString ServerOffsetCaption();
QString InitialBalanceCaption();

/// The fields' values at start: "Смещение сервера(GTM)" and "Начальный баланс".
constexpr int kDefaultServerOffset = 1;
constexpr int kDefaultStatisticsBalance = 2000;

struct StatisticsSettings {
    QString serverOffset =
        QString::number(kDefaultServerOffset); ///< text of "Смещение сервера(GTM)"
    QString initialBalance =
        QString::number(kDefaultStatisticsBalance); ///< text of "Начальный баланс"
    /// The statement's own starting balance (an HTML statement); when set, initialBalance is not
    /// read.
    std::optional<double> startingBalance;
    QChar decimalSeparator = QLatin1Char('.');
};

/// Captions of the five session boxes, sessions 0 to 4.
QStringList SessionCaptions();
/// Captions of the ten rows of a session box, top to bottom.
QStringList SessionRowCaptions();

/// The texts of one session box, top to bottom.
struct SessionTexts {
    QString trades, winning, profit, maxProfit, averageProfit, losing, loss, maxLoss, averageLoss,
        profitFactor; ///< empty when the session has no losing trade

    /// The ten texts in the order of SessionRowCaptions().
    std::array<QString, 10> rows() const
    {
        return {trades, winning, profit,  maxProfit,   averageProfit,
                losing, loss,    maxLoss, averageLoss, profitFactor};
    }
};

struct StatisticsResult {
    std::optional<CellError> error; ///< set when the calculation failed; nothing else is
    std::array<SessionResult, 5> sessions;
    // Label texts of "Прибыльные позиции", "Убыточные позиции" and "Итог".
    QString winCount, winSum, winAverage;
    QString lossCount, lossSum, lossAverage;
    QString net;
    std::array<SessionTexts, 5> sessionTexts;
    TradeCurve equity; ///< running balance after each row, labelled with the row's Ticket
};

StatisticsResult CalculateStatistics(const StatementTable &table,
                                     const StatisticsSettings &settings);
