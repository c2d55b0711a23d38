// The figures of the terminal's Details block for any statement, and the account's true drawdowns.
#pragma once

#include "statement/accountoperations.h"
#include "statement/cellerror.h"
#include "statement/statementtable.h"

#include <QString>

#include <array>
#include <optional>
#include <vector>

/// The tab's caption, also the title of its messages and its report section: "Сводка".
QString SummaryCaption();

struct SummarySettings {
    /// Text of the statistics tab's "Начальный баланс", read as that tab reads it; the start of
    /// the balance of a statement that has none of its own.
    QString initialBalance = QStringLiteral("2000");
    /// The statement's own starting balance (an HTML statement); when set, initialBalance is
    /// not read.
    std::optional<double> startingBalance;
    /// The statement's balance and credit rows (deposits, withdrawals, credit).
    std::vector<BalanceOperation> operations;
    QChar decimalSeparator = QLatin1Char('.');
};

/// The figures as numbers. Trades are the rows that are not deleted pending orders ("BUYSTOP ",
/// "SELLSTOP"), taken in order of close time (equal times in table order); a result >= 0 is a
/// profit trade.
struct SummaryFigures {
    int trades = 0;
    double grossProfit = 0, grossLoss = 0, netProfit = 0; ///< grossLoss as a positive amount
    std::optional<double> profitFactor;                   ///< nothing without a loss
    double expectedPayoff = 0;
    /// The terminal's drawdowns: over a curve that starts at the starting balance and adds the
    /// trade results only.
    double absoluteDrawdown = 0, maximalDrawdown = 0, maximalDrawdownPercent = 0;
    double relativeDrawdownPercent = 0, relativeDrawdown = 0;
    int shortPositions = 0, shortWon = 0, longPositions = 0, longWon = 0;
    int profitTrades = 0, lossTrades = 0;
    double largestProfitTrade = 0, largestLossTrade = 0, averageProfitTrade = 0,
           averageLossTrade = 0;
    int maxConsecutiveWins = 0, maxConsecutiveLosses = 0;              ///< the longest runs ...
    double maxConsecutiveWinsMoney = 0, maxConsecutiveLossesMoney = 0; ///< ... and their sums
    double maximalConsecutiveProfit = 0, maximalConsecutiveLoss = 0;   ///< the extreme run sums ...
    int maximalConsecutiveProfitCount = 0,
        maximalConsecutiveLossCount = 0; ///< ... and their lengths
    int averageConsecutiveWins = 0, averageConsecutiveLosses = 0;
    double initialDeposit = 0; ///< the starting balance
    double deposits = 0;       ///< sum of the balance rows above 0
    double withdrawals = 0;    ///< sum of the balance rows below 0 (negative)
    double credit = 0;         ///< sum of the credit rows
    /// The account's drawdowns: over its balance with every balance and credit row at its time.
    double accountMaximalDrawdown = 0, accountMaximalDrawdownPercent = 0;
    double accountRelativeDrawdownPercent = 0, accountRelativeDrawdown = 0;
};

/// The figures as the report prints them: money and percentages with 2 decimals and the
/// decimal separator, counts as whole numbers; profitFactor is empty without a loss, any other
/// ratio with a zero divisor, and a percentage of a peak not above 0, is "0.00".
struct SummaryTexts {
    QString trades, grossProfit, grossLoss, netProfit, profitFactor, expectedPayoff;
    QString absoluteDrawdown, maximalDrawdown, maximalDrawdownPercent, relativeDrawdownPercent,
        relativeDrawdown;
    QString shortPositions, shortWonPercent, longPositions, longWonPercent;
    QString profitTrades, profitTradesPercent, lossTrades, lossTradesPercent;
    QString largestProfitTrade, largestLossTrade, averageProfitTrade, averageLossTrade;
    QString maxConsecutiveWins, maxConsecutiveWinsMoney, maxConsecutiveLosses,
        maxConsecutiveLossesMoney;
    QString maximalConsecutiveProfit, maximalConsecutiveProfitCount, maximalConsecutiveLoss,
        maximalConsecutiveLossCount;
    QString averageConsecutiveWins, averageConsecutiveLosses;
    QString initialDeposit, deposits, withdrawals, credit;
    QString accountMaximalDrawdown, accountMaximalDrawdownPercent, accountRelativeDrawdownPercent,
        accountRelativeDrawdown;
};

/// One point of the balance chart: the start, then each trade and each balance or credit row
/// in order of time (a row at the same time as a trade first).
struct BalancePoint {
    double balance = 0;         ///< the account's balance
    double peak = 0;            ///< its running peak, carried along by money paid in or out
    double terminalBalance = 0; ///< the terminal's curve: money paid in or out later left out
    int row = -1;               ///< statement row of the trade; -1 for the start and money rows
};

/// A stretch of the account's balance below its running peak.
struct DrawdownPeriod {
    int begin = 0; ///< point at the peak
    int end = 0;   ///< point where the balance is back at the peak, or the last point
    bool recovered = false;
    double depth = 0; ///< the largest fall within it
};

struct AccountSummaryResult {
    std::optional<CellError> error; ///< set when the calculation failed; nothing else is
    SummaryFigures figures;
    SummaryTexts texts;
    std::vector<BalancePoint> curve;
    std::vector<DrawdownPeriod> drawdowns; ///< of the account's balance, in order
};

/// The summary of the statement table. Runs of profit or loss trades are taken in close-time
/// order: the maximal consecutive profit (loss) is the run with the largest (most negative)
/// sum, the earliest on equal sums; the maximum consecutive wins (losses) is the longest run,
/// where a later run of the same length replaces it only when its sum beats every earlier
/// run's; the average run length is rounded half away from zero. A Profit cell that is not a
/// number is an error naming the first such row.
///
/// The account's drawdowns differ from the terminal's in that every balance and credit row
/// counts at its time and carries the running peak along: money paid in moves the peak up by
/// its amount, money paid out takes its share of the fall below the peak with it (all of it
/// when the account is emptied). So paying in or out is neither a drawdown nor the end of one,
/// and percentages are of the money in the account at the time.
AccountSummaryResult CalculateAccountSummary(const StatementTable &table,
                                             const SummarySettings &settings);

/// One figure of the summary block: its caption and its value text ("19.06 (1.89%)").
struct SummaryItem {
    QString caption; ///< without the colon; empty for an empty place
    QString value;
    const char *name = ""; ///< the report's name of its (first) figure, "maximal_drawdown"
};

/// One line of the summary block as the terminal lays out its Details block: a leading word for
/// the line ("Самая большая", or empty) in the first place, then up to three figures; a line
/// with a leading word leaves its first figure empty.
struct SummaryLine {
    QString lead;
    std::array<SummaryItem, 3> items;
};

/// The summary block, top to bottom: the money paid in and out, then the terminal's figures in
/// its own layout (with its Russian captions), the terminal's drawdowns marked "(терминал)" and
/// the account's on the line after them, led by "Счёт с вводом и выводом".
std::vector<SummaryLine> SummaryLayout(const SummaryTexts &texts);
