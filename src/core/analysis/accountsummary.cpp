// Summary figures: trades in close-time order, runs, the terminal's and the account's drawdowns.
#include "analysis/accountsummary.h"

#include "statement/cellreader.h"
#include "statement/formatmoney.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

struct Trade {
    std::string closeTime; // "YYYY.MM.DD HH:MM:SS", compared as text
    int row;
    double result;
    bool isShort;
    bool isLong;
};

// Falls below this count as none: balances are sums of cents.
constexpr double kNoFall = 1e-9;

struct Drawdowns {
    double maximal = 0, maximalPercent = 0;
    double relativePercent = 0, relative = 0;

    void take(double peak, double balance)
    {
        const double fall = peak - balance;
        const double percent = peak > 0 ? fall / peak * 100.0 : 0.0;
        if (fall > maximal + kNoFall) {
            maximal = fall;
            maximalPercent = percent;
        }
        if (percent > relativePercent + kNoFall) {
            relativePercent = percent;
            relative = fall;
        }
    }
};

struct Run {
    bool profit;
    int count;
    double sum;
};

// The maximal (extreme-sum) run and the longest run of one kind, as the terminal picks them.
void pickRuns(const std::vector<Run> &runs, bool profit, int *longestCount, double *longestSum,
              double *extremeSum, int *extremeCount, int *averageLength)
{
    const double sign = profit ? 1.0 : -1.0;
    bool any = false;
    int total = 0, number = 0;
    for (const Run &run : runs) {
        if (run.profit != profit)
            continue;
        total += run.count;
        ++number;
        const bool record = !any || sign * run.sum > sign * *extremeSum;
        if (!any || run.count > *longestCount || (run.count == *longestCount && record)) {
            *longestCount = run.count;
            *longestSum = run.sum;
        }
        if (record) {
            *extremeSum = run.sum;
            *extremeCount = run.count;
        }
        any = true;
    }
    // Mean length rounded half away from zero, in whole numbers: (2 total + number) / (2 number).
    *averageLength = number ? (2 * total + number) / (2 * number) : 0;
}

QString percentOf(double part, double whole, QChar separator)
{
    return FormatMoney(whole != 0 ? part / whole * 100.0 : 0.0, separator);
}

} // namespace

QString SummaryCaption()
{
    return QStringLiteral("Сводка");
}

std::vector<SummaryLine> SummaryLayout(const SummaryTexts &t)
{
    // "count (percent%)", "money (percent%)" and the like, as the terminal prints its pairs.
    auto pair = [](const QString &first, const QString &second) {
        return QStringLiteral("%1 (%2)").arg(first, second);
    };
    auto percent = [](const QString &value) { return value + QLatin1Char('%'); };
    const SummaryItem none;
    return {
        {QString(),
         {SummaryItem{QStringLiteral("Начальный депозит"), t.initialDeposit, "initial_deposit"},
          none, none}},
        {QString(),
         {SummaryItem{QStringLiteral("Пополнения"), t.deposits, "deposits"},
          SummaryItem{QStringLiteral("Снятия"), t.withdrawals, "withdrawals"},
          SummaryItem{QStringLiteral("Кредит"), t.credit, "credit"}}},
        {QString(),
         {SummaryItem{QStringLiteral("Общая прибыль"), t.grossProfit, "gross_profit"},
          SummaryItem{QStringLiteral("Общий убыток"), t.grossLoss, "gross_loss"},
          SummaryItem{QStringLiteral("Чистая прибыль"), t.netProfit, "net_profit"}}},
        {QString(),
         {SummaryItem{QStringLiteral("Прибыльность"), t.profitFactor, "profit_factor"},
          SummaryItem{QStringLiteral("Матожидание выигрыша"), t.expectedPayoff, "expected_payoff"},
          none}},
        {QString(),
         {SummaryItem{QStringLiteral("Абсолютная просадка"), t.absoluteDrawdown,
                      "absolute_drawdown"},
          SummaryItem{QStringLiteral("Максимальная просадка (терминал)"),
                      pair(t.maximalDrawdown, percent(t.maximalDrawdownPercent)),
                      "maximal_drawdown"},
          SummaryItem{QStringLiteral("Относительная просадка (терминал)"),
                      pair(percent(t.relativeDrawdownPercent), t.relativeDrawdown),
                      "relative_drawdown_percent"}}},
        {QStringLiteral("Счёт с вводом и выводом"),
         {none,
          SummaryItem{QStringLiteral("Максимальная просадка"),
                      pair(t.accountMaximalDrawdown, percent(t.accountMaximalDrawdownPercent)),
                      "account_maximal_drawdown"},
          SummaryItem{QStringLiteral("Относительная просадка"),
                      pair(percent(t.accountRelativeDrawdownPercent), t.accountRelativeDrawdown),
                      "account_relative_drawdown_percent"}}},
        {QString(),
         {SummaryItem{QStringLiteral("Всего сделок"), t.trades, "trades"},
          SummaryItem{QStringLiteral("Короткие позиции (% выигравших)"),
                      pair(t.shortPositions, percent(t.shortWonPercent)), "short_positions"},
          SummaryItem{QStringLiteral("Длинные позиции (% выигравших)"),
                      pair(t.longPositions, percent(t.longWonPercent)), "long_positions"}}},
        {QString(),
         {none,
          SummaryItem{QStringLiteral("Прибыльные сделки (% от всех)"),
                      pair(t.profitTrades, percent(t.profitTradesPercent)), "profit_trades"},
          SummaryItem{QStringLiteral("Убыточные сделки (% от всех)"),
                      pair(t.lossTrades, percent(t.lossTradesPercent)), "loss_trades"}}},
        {QStringLiteral("Самая большая"),
         {none,
          SummaryItem{QStringLiteral("прибыльная сделка"), t.largestProfitTrade,
                      "largest_profit_trade"},
          SummaryItem{QStringLiteral("убыточная сделка"), t.largestLossTrade,
                      "largest_loss_trade"}}},
        {QStringLiteral("Средняя"),
         {none,
          SummaryItem{QStringLiteral("прибыльная сделка"), t.averageProfitTrade,
                      "average_profit_trade"},
          SummaryItem{QStringLiteral("убыточная сделка"), t.averageLossTrade,
                      "average_loss_trade"}}},
        {QStringLiteral("Максимальное количество"),
         {none,
          SummaryItem{QStringLiteral("непрерывных выигрышей (прибыль)"),
                      pair(t.maxConsecutiveWins, t.maxConsecutiveWinsMoney),
                      "max_consecutive_wins"},
          SummaryItem{QStringLiteral("непрерывных проигрышей (убыток)"),
                      pair(t.maxConsecutiveLosses, t.maxConsecutiveLossesMoney),
                      "max_consecutive_losses"}}},
        {QStringLiteral("Макс."),
         {none,
          SummaryItem{QStringLiteral("непрерывная прибыль (число выигрышей)"),
                      pair(t.maximalConsecutiveProfit, t.maximalConsecutiveProfitCount),
                      "maximal_consecutive_profit"},
          SummaryItem{QStringLiteral("непрерывный убыток (число проигрышей)"),
                      pair(t.maximalConsecutiveLoss, t.maximalConsecutiveLossCount),
                      "maximal_consecutive_loss"}}},
        {QStringLiteral("Средний"),
         {none,
          SummaryItem{QStringLiteral("непрерывный выигрыш"), t.averageConsecutiveWins,
                      "average_consecutive_wins"},
          SummaryItem{QStringLiteral("непрерывный проигрыш"), t.averageConsecutiveLosses,
                      "average_consecutive_losses"}}},
    };
}

AccountSummaryResult CalculateAccountSummary(const StatementTable &table,
                                             const SummarySettings &settings)
{
    AccountSummaryResult result;
    const QChar sep = settings.decimalSeparator;
    std::vector<Trade> trades;
    double start = 0;
    try {
        start = settings.startingBalance
                    ? *settings.startingBalance
                    : ReadIntegerField(settings.initialBalance, QStringLiteral("Начальный баланс"));
        const CellReader cells(table, sep);
        trades.reserve(size_t(table.rowCount()));
        for (int r = 1; r < table.rowCount(); ++r) {
            const std::string_view type = table.cellUtf8(r, Column::Type);
            if (type == "BUYSTOP " || type == "SELLSTOP")
                continue;
            Trade t;
            const std::string_view date = table.cellUtf8(r, Column::CloseDate),
                                   time = table.cellUtf8(r, Column::CloseTime);
            t.closeTime.reserve(date.size() + 1 + time.size());
            t.closeTime.append(date).append(1, ' ').append(time);
            t.row = r;
            t.result = cells.number(r, Column::Profit);
            t.isShort = type.substr(0, 4) == "SELL";
            t.isLong = type.substr(0, 3) == "BUY";
            trades.push_back(std::move(t));
        }
    } catch (const CellErrorException &e) {
        AccountSummaryResult failed;
        failed.error = e.error();
        return failed;
    }
    std::stable_sort(trades.begin(), trades.end(),
                     [](const Trade &a, const Trade &b) { return a.closeTime < b.closeTime; });

    SummaryFigures &f = result.figures;
    f.trades = int(trades.size());
    std::vector<Run> runs;
    for (const Trade &t : trades) {
        const bool profit = t.result >= 0;
        if (profit) {
            ++f.profitTrades;
            f.grossProfit += t.result;
            f.largestProfitTrade = std::max(f.largestProfitTrade, t.result);
        } else {
            ++f.lossTrades;
            f.grossLoss -= t.result;
            f.largestLossTrade = std::min(f.largestLossTrade, t.result);
        }
        f.shortPositions += t.isShort;
        f.shortWon += t.isShort && profit;
        f.longPositions += t.isLong;
        f.longWon += t.isLong && profit;
        if (!runs.empty() && runs.back().profit == profit) {
            ++runs.back().count;
            runs.back().sum += t.result;
        } else {
            runs.push_back({profit, 1, t.result});
        }
    }
    f.netProfit = f.grossProfit - f.grossLoss;
    if (f.lossTrades > 0)
        f.profitFactor = f.grossProfit / f.grossLoss;
    f.expectedPayoff = f.trades ? f.netProfit / f.trades : 0.0;
    f.averageProfitTrade = f.profitTrades ? f.grossProfit / f.profitTrades : 0.0;
    f.averageLossTrade = f.lossTrades ? -f.grossLoss / f.lossTrades : 0.0;
    pickRuns(runs, true, &f.maxConsecutiveWins, &f.maxConsecutiveWinsMoney,
             &f.maximalConsecutiveProfit, &f.maximalConsecutiveProfitCount,
             &f.averageConsecutiveWins);
    pickRuns(runs, false, &f.maxConsecutiveLosses, &f.maxConsecutiveLossesMoney,
             &f.maximalConsecutiveLoss, &f.maximalConsecutiveLossCount,
             &f.averageConsecutiveLosses);

    // The terminal's curve: the starting balance, then the trade results.
    {
        Drawdowns terminal;
        double balance = start, peak = start, lowest = start;
        for (const Trade &t : trades) {
            balance += t.result;
            peak = std::max(peak, balance);
            lowest = std::min(lowest, balance);
            terminal.take(peak, balance);
        }
        f.absoluteDrawdown = std::max(0.0, start - lowest);
        f.maximalDrawdown = terminal.maximal;
        f.maximalDrawdownPercent = terminal.maximalPercent;
        f.relativeDrawdownPercent = terminal.relativePercent;
        f.relativeDrawdown = terminal.relative;
    }

    // The account's curve: the balance brought forward, then trades and money rows in time.
    struct Money {
        std::string time;
        double amount;
    };
    std::vector<Money> money;
    money.reserve(settings.operations.size());
    for (const BalanceOperation &op : settings.operations) {
        money.push_back({op.time.toStdString(), op.amount});
        if (op.kind == BalanceOperation::Credit)
            f.credit += op.amount;
        else if (op.amount > 0)
            f.deposits += op.amount;
        else
            f.withdrawals += op.amount;
    }
    std::stable_sort(money.begin(), money.end(),
                     [](const Money &a, const Money &b) { return a.time < b.time; });
    f.initialDeposit = start;
    double broughtForward =
        start; // the starting balance holds the money rows before the first trade
    for (const Money &m : money)
        if (trades.empty() || m.time < trades.front().closeTime)
            broughtForward -= m.amount;
    {
        Drawdowns account;
        double balance = broughtForward, peak = broughtForward, terminalBalance = start;
        result.curve.reserve(trades.size() + money.size() + 1);
        result.curve.push_back({balance, peak, terminalBalance, -1});
        size_t next = 0;
        for (size_t i = 0; i <= trades.size(); ++i) {
            // Money rows up to this trade's close time come first; after the last trade, the rest.
            while (next < money.size() &&
                   (i == trades.size() || money[next].time <= trades[i].closeTime)) {
                // Money paid in leaves the fall below the peak as it was; money paid out takes its
                // share of the fall with it, all of it when the account is emptied.
                const double amount = money[next].amount;
                double fall = peak - balance;
                if (amount < 0 && balance > 0)
                    fall *= std::max(0.0, balance + amount) / balance;
                balance += amount;
                peak = balance + fall;
                account.take(peak, balance);
                result.curve.push_back({balance, peak, terminalBalance, -1});
                ++next;
            }
            if (i == trades.size())
                break;
            balance += trades[i].result;
            terminalBalance += trades[i].result;
            peak = std::max(peak, balance);
            account.take(peak, balance);
            result.curve.push_back({balance, peak, terminalBalance, trades[i].row});
        }
        f.accountMaximalDrawdown = account.maximal;
        f.accountMaximalDrawdownPercent = account.maximalPercent;
        f.accountRelativeDrawdownPercent = account.relativePercent;
        f.accountRelativeDrawdown = account.relative;
    }
    // Stretches below the peak, for the chart's shading.
    bool inDrawdown = false;
    for (size_t i = 1; i < result.curve.size(); ++i) {
        const double fall = result.curve[i].peak - result.curve[i].balance;
        if (fall > kNoFall) {
            if (!inDrawdown)
                result.drawdowns.push_back({int(i) - 1, int(i), false, fall});
            DrawdownPeriod &period = result.drawdowns.back();
            period.end = int(i);
            period.depth = std::max(period.depth, fall);
            inDrawdown = true;
        } else if (inDrawdown) {
            result.drawdowns.back().end = int(i);
            result.drawdowns.back().recovered = true;
            inDrawdown = false;
        }
    }

    SummaryTexts &t = result.texts;
    auto text = [sep](double v) { return FormatMoney(v, sep); };
    auto count = [](int n) { return QString::number(n); };
    t.trades = count(f.trades);
    t.grossProfit = text(f.grossProfit);
    t.grossLoss = text(f.grossLoss);
    t.netProfit = text(f.netProfit);
    t.profitFactor = f.profitFactor ? text(*f.profitFactor) : QString();
    t.expectedPayoff = text(f.expectedPayoff);
    t.absoluteDrawdown = text(f.absoluteDrawdown);
    t.maximalDrawdown = text(f.maximalDrawdown);
    t.maximalDrawdownPercent = text(f.maximalDrawdownPercent);
    t.relativeDrawdownPercent = text(f.relativeDrawdownPercent);
    t.relativeDrawdown = text(f.relativeDrawdown);
    t.shortPositions = count(f.shortPositions);
    t.shortWonPercent = percentOf(f.shortWon, f.shortPositions, sep);
    t.longPositions = count(f.longPositions);
    t.longWonPercent = percentOf(f.longWon, f.longPositions, sep);
    t.profitTrades = count(f.profitTrades);
    t.profitTradesPercent = percentOf(f.profitTrades, f.trades, sep);
    t.lossTrades = count(f.lossTrades);
    t.lossTradesPercent = percentOf(f.lossTrades, f.trades, sep);
    t.largestProfitTrade = text(f.largestProfitTrade);
    t.largestLossTrade = text(f.largestLossTrade);
    t.averageProfitTrade = text(f.averageProfitTrade);
    t.averageLossTrade = text(f.averageLossTrade);
    t.maxConsecutiveWins = count(f.maxConsecutiveWins);
    t.maxConsecutiveWinsMoney = text(f.maxConsecutiveWinsMoney);
    t.maxConsecutiveLosses = count(f.maxConsecutiveLosses);
    t.maxConsecutiveLossesMoney = text(f.maxConsecutiveLossesMoney);
    t.maximalConsecutiveProfit = text(f.maximalConsecutiveProfit);
    t.maximalConsecutiveProfitCount = count(f.maximalConsecutiveProfitCount);
    t.maximalConsecutiveLoss = text(f.maximalConsecutiveLoss);
    t.maximalConsecutiveLossCount = count(f.maximalConsecutiveLossCount);
    t.averageConsecutiveWins = count(f.averageConsecutiveWins);
    t.averageConsecutiveLosses = count(f.averageConsecutiveLosses);
    t.initialDeposit = text(f.initialDeposit);
    t.deposits = text(f.deposits);
    t.withdrawals = text(f.withdrawals);
    t.credit = text(f.credit);
    t.accountMaximalDrawdown = text(f.accountMaximalDrawdown);
    t.accountMaximalDrawdownPercent = text(f.accountMaximalDrawdownPercent);
    t.accountRelativeDrawdownPercent = text(f.accountRelativeDrawdownPercent);
    t.accountRelativeDrawdown = text(f.accountRelativeDrawdown);
    return result;
}
