// Account summary: every Details figure of the ten real statements against what the terminal
// printed, the report texts, run rules, close-time order, the account's true drawdowns, errors.
#include "analysis/accountsummary.h"
#include "formats/statementimport.h"

#include "realstatements.h"
#include "statementfixture.h"

#include <QJsonArray>
#include <QTest>

#include <cmath>
#include <functional>

class TestAccountSummary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void realStatements_data();
    void realStatements();
    void reportTextsOfStatement01();
    void runs_data();
    void runs();
    void closeTimeOrder();
    void trueDrawdownWithLaterDepositAndWithdrawal();
    void peakNotAboveZero();
    void errors_data();
    void errors();
};

namespace {

// "19.06 (1.89%)" -> {"19.06", "1.89"}; "45.74" -> {"45.74"}; "" -> {""}.
QStringList printedParts(const QString &printed)
{
    QStringList parts;
    const qsizetype open = printed.indexOf(QLatin1Char('('));
    if (open < 0) {
        parts.append(printed.trimmed());
    } else {
        parts.append(printed.left(open).trimmed());
        parts.append(
            printed.mid(open + 1, printed.lastIndexOf(QLatin1Char(')')) - open - 1).trimmed());
    }
    for (QString &p : parts)
        p.remove(QLatin1Char('%')).remove(QLatin1Char(' '));
    return parts;
}

// One figure as the summary computed it: the numbers in the printed order, and the texts.
struct Computed {
    std::vector<double> values;
    QStringList texts;
};

Computed computedFigure(const QString &key, const AccountSummaryResult &r)
{
    const SummaryFigures &f = r.figures;
    const SummaryTexts &t = r.texts;
    const double won = f.trades ? 100.0 * f.profitTrades / f.trades : 0.0;
    const double lost = f.trades ? 100.0 * f.lossTrades / f.trades : 0.0;
    const double shortWon = f.shortPositions ? 100.0 * f.shortWon / f.shortPositions : 0.0;
    const double longWon = f.longPositions ? 100.0 * f.longWon / f.longPositions : 0.0;
    const std::map<QString, Computed> figures{
        {"Gross Profit", {{f.grossProfit}, {t.grossProfit}}},
        {"Gross Loss", {{f.grossLoss}, {t.grossLoss}}},
        {"Total Net Profit", {{f.netProfit}, {t.netProfit}}},
        {"Profit Factor", {{f.profitFactor.value_or(NAN)}, {t.profitFactor}}},
        {"Expected Payoff", {{f.expectedPayoff}, {t.expectedPayoff}}},
        {"Absolute Drawdown", {{f.absoluteDrawdown}, {t.absoluteDrawdown}}},
        {"Maximal Drawdown",
         {{f.maximalDrawdown, f.maximalDrawdownPercent},
          {t.maximalDrawdown, t.maximalDrawdownPercent}}},
        {"Relative Drawdown",
         {{f.relativeDrawdownPercent, f.relativeDrawdown},
          {t.relativeDrawdownPercent, t.relativeDrawdown}}},
        {"Total Trades", {{double(f.trades)}, {t.trades}}},
        {"Short Positions (won %)",
         {{double(f.shortPositions), shortWon}, {t.shortPositions, t.shortWonPercent}}},
        {"Long Positions (won %)",
         {{double(f.longPositions), longWon}, {t.longPositions, t.longWonPercent}}},
        {"Profit Trades (% of total)",
         {{double(f.profitTrades), won}, {t.profitTrades, t.profitTradesPercent}}},
        {"Loss trades (% of total)",
         {{double(f.lossTrades), lost}, {t.lossTrades, t.lossTradesPercent}}},
        {"Largest profit trade", {{f.largestProfitTrade}, {t.largestProfitTrade}}},
        {"Largest loss trade", {{f.largestLossTrade}, {t.largestLossTrade}}},
        {"Average profit trade", {{f.averageProfitTrade}, {t.averageProfitTrade}}},
        {"Average loss trade", {{f.averageLossTrade}, {t.averageLossTrade}}},
        {"Maximum consecutive wins ($)",
         {{double(f.maxConsecutiveWins), f.maxConsecutiveWinsMoney},
          {t.maxConsecutiveWins, t.maxConsecutiveWinsMoney}}},
        {"Maximum consecutive losses ($)",
         {{double(f.maxConsecutiveLosses), f.maxConsecutiveLossesMoney},
          {t.maxConsecutiveLosses, t.maxConsecutiveLossesMoney}}},
        {"Maximal consecutive profit (count)",
         {{f.maximalConsecutiveProfit, double(f.maximalConsecutiveProfitCount)},
          {t.maximalConsecutiveProfit, t.maximalConsecutiveProfitCount}}},
        {"Maximal consecutive loss (count)",
         {{f.maximalConsecutiveLoss, double(f.maximalConsecutiveLossCount)},
          {t.maximalConsecutiveLoss, t.maximalConsecutiveLossCount}}},
        {"Average consecutive wins",
         {{double(f.averageConsecutiveWins)}, {t.averageConsecutiveWins}}},
        {"Average consecutive losses",
         {{double(f.averageConsecutiveLosses)}, {t.averageConsecutiveLosses}}},
    };
    const auto it = figures.find(key);
    return it == figures.end() ? Computed{} : it->second;
}

AccountSummaryResult summaryOfFile(const QString &file, const QChar separator = QLatin1Char('.'))
{
    const ImportResult imported = ImportStatement(RealStatementsDir() + QLatin1Char('/') + file);
    if (!imported.table || !imported.account)
        qFatal("cannot import %s", qPrintable(file));
    SummarySettings settings;
    settings.startingBalance = imported.account->startingBalance;
    settings.operations = imported.account->operations;
    settings.decimalSeparator = separator;
    return CalculateAccountSummary(*imported.table, settings);
}

// A table of trades with the given close times and results, in the order given.
StatementTable tradesClosingAt(const std::vector<std::pair<QString, QString>> &closeAndResult)
{
    std::vector<QStringList> rows{{"Ticket"}};
    int ticket = 1;
    for (const auto &[close, result] : closeAndResult) {
        const QStringList dateTime = close.split(QLatin1Char(' '));
        rows.push_back({QString::number(ticket++), "2024.01.01", "00:00:00", "BUY", "0.10",
                        "EURUSD", "1.1", "0", "0", dateTime[0], dateTime[1], "1.1", "0.00",
                        result});
    }
    return StatementTable::fromRows(rows);
}

} // namespace

void TestAccountSummary::realStatements_data()
{
    QTest::addColumn<QString>("file");
    for (const QString &file : RealStatementFiles())
        QTest::newRow(qPrintable(file)) << file;
}

void TestAccountSummary::realStatements()
{
    QFETCH(QString, file);
    const QJsonObject expected = RealStatementsExpected().value(file).toObject();
    const AccountSummaryResult result = summaryOfFile(file);
    QVERIFY(!result.error);

    const QJsonObject details = expected.value(QStringLiteral("details")).toObject();
    QCOMPARE(details.size(), 23);
    for (auto it = details.begin(); it != details.end(); ++it) {
        const QString key = it.key();
        const QString printed = it.value().toObject().value(QStringLiteral("printed")).toString();
        const QStringList parts = printedParts(printed);
        const Computed computed = computedFigure(key, result);
        QVERIFY2(int(computed.values.size()) == parts.size(),
                 qPrintable(file + QLatin1String(": ") + key));
        for (int i = 0; i < parts.size(); ++i) {
            const QString where = QStringLiteral("%1: %2 printed «%3», computed %4 / «%5»")
                                      .arg(file, key, printed)
                                      .arg(computed.values[size_t(i)], 0, 'f', 6)
                                      .arg(computed.texts[i]);
            if (parts[i].isEmpty()) { // Profit Factor without a loss
                QVERIFY2(std::isnan(computed.values[size_t(i)]) && computed.texts[i].isEmpty(),
                         qPrintable(where));
                continue;
            }
            const double value = parts[i].toDouble();
            // Within the printed rounding; our own texts round once more, to 2 decimals.
            const double tolerance = 0.5 * std::pow(10.0, -PrintedDecimals(parts[i])) + 1e-7;
            QVERIFY2(std::fabs(computed.values[size_t(i)] - value) <= tolerance, qPrintable(where));
            QVERIFY2(std::fabs(computed.texts[i].toDouble() - value) <= tolerance + 0.005,
                     qPrintable(where));
        }
    }

    // The money rows against the Summary block: Deposit/Withdrawal and Credit Facility.
    const QJsonObject summary = expected.value(QStringLiteral("summary")).toObject();
    const double paidInOut = summary.value(QStringLiteral("Deposit/Withdrawal"))
                                 .toObject()
                                 .value(QStringLiteral("value"))
                                 .toDouble();
    QVERIFY(std::fabs(result.figures.deposits + result.figures.withdrawals - paidInOut) < 0.005);
    if (summary.contains(QStringLiteral("Credit Facility")))
        QCOMPARE(result.figures.credit, summary.value(QStringLiteral("Credit Facility"))
                                            .toObject()
                                            .value(QStringLiteral("value"))
                                            .toDouble());
    // Without money paid in or out once trading began, the account's drawdowns are the terminal's.
    QString firstClose;
    for (const QJsonValue &trade : expected.value(QStringLiteral("closed_trades")).toArray()) {
        const QString close = trade.toArray().at(8).toString();
        if (firstClose.isEmpty() || close < firstClose)
            firstClose = close;
    }
    bool moneyLater = false;
    for (const QJsonValue &row : expected.value(QStringLiteral("balance_rows")).toArray())
        moneyLater = moneyLater || row.toArray().at(1).toString() >= firstClose;
    if (!moneyLater) {
        const SummaryTexts &t = result.texts;
        QCOMPARE((QStringList{t.accountMaximalDrawdown, t.accountMaximalDrawdownPercent,
                              t.accountRelativeDrawdownPercent, t.accountRelativeDrawdown}),
                 (QStringList{t.maximalDrawdown, t.maximalDrawdownPercent,
                              t.relativeDrawdownPercent, t.relativeDrawdown}));
    }
}

void TestAccountSummary::reportTextsOfStatement01()
{
    const AccountSummaryResult r =
        summaryOfFile(QStringLiteral("statement-01.htm"), QLatin1Char(','));
    const SummaryTexts &t = r.texts;
    const QStringList texts{t.trades,
                            t.grossProfit,
                            t.grossLoss,
                            t.netProfit,
                            t.profitFactor,
                            t.expectedPayoff,
                            t.absoluteDrawdown,
                            t.maximalDrawdown,
                            t.maximalDrawdownPercent,
                            t.relativeDrawdownPercent,
                            t.relativeDrawdown,
                            t.shortPositions,
                            t.shortWonPercent,
                            t.longPositions,
                            t.longWonPercent,
                            t.profitTrades,
                            t.profitTradesPercent,
                            t.lossTrades,
                            t.lossTradesPercent,
                            t.largestProfitTrade,
                            t.largestLossTrade,
                            t.averageProfitTrade,
                            t.averageLossTrade,
                            t.maxConsecutiveWins,
                            t.maxConsecutiveWinsMoney,
                            t.maxConsecutiveLosses,
                            t.maxConsecutiveLossesMoney,
                            t.maximalConsecutiveProfit,
                            t.maximalConsecutiveProfitCount,
                            t.maximalConsecutiveLoss,
                            t.maximalConsecutiveLossCount,
                            t.averageConsecutiveWins,
                            t.averageConsecutiveLosses,
                            t.initialDeposit,
                            t.deposits,
                            t.withdrawals,
                            t.credit,
                            t.accountMaximalDrawdown,
                            t.accountMaximalDrawdownPercent,
                            t.accountRelativeDrawdownPercent,
                            t.accountRelativeDrawdown};
    // The terminal's own figures, and the same for the account: its one deposit precedes every
    // trade.
    const QStringList expected{"10",    "81,94",  "36,20", "45,74", "2,26",  "4,57",    "8,56",
                               "19,06", "1,89",   "1,89",  "19,06", "10",    "60,00",   "0",
                               "0,00",  "6",      "60,00", "4",     "40,00", "38,40",   "-10,28",
                               "13,66", "-9,05",  "3",     "20,59", "2",     "-19,06",  "38,40",
                               "1",     "-19,06", "2",     "2",     "1",     "1000,00", "1000,00",
                               "0,00",  "0,00",   "19,06", "1,89",  "1,89",  "19,06"};
    QCOMPARE(texts, expected);
}

void TestAccountSummary::runs_data()
{
    QTest::addColumn<QStringList>("results"); // in close-time order
    // longest win run (count, money), maximal profit (money, count), average wins, then losses
    QTest::addColumn<QStringList>("wins");
    QTest::addColumn<QStringList>("losses");
    QTest::newRow("a later run of equal length replaces the longest when it is a new record")
        << QStringList{"1", "1", "-1", "5", "5", "-1", "1", "1"}
        << QStringList{"2", "10.00", "10.00", "2", "2"}
        << QStringList{"1", "-1.00", "-1.00", "1", "1"};
    QTest::newRow("a larger sum that is no record does not replace it")
        << QStringList{"10", "-1", "1", "1", "-1", "2", "2"}
        << QStringList{"2", "2.00", "10.00", "1", "2"}
        << QStringList{"1", "-1.00", "-1.00", "1", "1"};
    QTest::newRow("equal extreme sums: the earliest run")
        << QStringList{"2", "3", "-1", "5", "-4", "-1", "1", "-5"}
        << QStringList{"2", "5.00", "5.00", "2", "1"}
        << QStringList{"2", "-5.00", "-5.00", "2", "1"};
    QTest::newRow("a zero result continues a profit run")
        << QStringList{"-1", "0", "1", "-1", "0"} << QStringList{"2", "1.00", "1.00", "2", "2"}
        << QStringList{"1", "-1.00", "-1.00", "1", "1"};
    QTest::newRow("average run length rounded half away from zero")
        << QStringList{"1", "-1", "1", "1", "-1", "-1", "-1", "-1"}
        << QStringList{"2", "2.00", "2.00", "2", "2"}
        << QStringList{"4", "-4.00", "-4.00", "4", "3"};
    QTest::newRow("no trades") << QStringList{} << QStringList{"0", "0.00", "0.00", "0", "0"}
                               << QStringList{"0", "0.00", "0.00", "0", "0"};
}

void TestAccountSummary::runs()
{
    QFETCH(QStringList, results);
    QFETCH(QStringList, wins);
    QFETCH(QStringList, losses);
    std::vector<Order> orders;
    for (const QString &r : results)
        orders.push_back(Trade(QStringLiteral("EURUSD"), r));
    const AccountSummaryResult result = CalculateAccountSummary(TableOf(orders), SummarySettings{});
    QVERIFY(!result.error);
    const SummaryTexts &t = result.texts;
    QCOMPARE(
        (QStringList{t.maxConsecutiveWins, t.maxConsecutiveWinsMoney, t.maximalConsecutiveProfit,
                     t.maximalConsecutiveProfitCount, t.averageConsecutiveWins}),
        wins);
    QCOMPARE(
        (QStringList{t.maxConsecutiveLosses, t.maxConsecutiveLossesMoney, t.maximalConsecutiveLoss,
                     t.maximalConsecutiveLossCount, t.averageConsecutiveLosses}),
        losses);
}

void TestAccountSummary::closeTimeOrder()
{
    // Listed newest first, and two trades closing at the same second in table order: the runs and
    // the drawdown follow the close times, equal times keep the listing.
    const StatementTable table = tradesClosingAt({{"2024.01.05 10:00:00", "30"},
                                                  {"2024.01.03 09:00:00", "-5"},
                                                  {"2024.01.03 09:00:00", "-20"},
                                                  {"2024.01.02 12:00:00", "10"},
                                                  {"2024.01.01 12:00:00", "-1"}});
    SummarySettings settings;
    settings.initialBalance = QStringLiteral("100");
    const AccountSummaryResult r = CalculateAccountSummary(table, settings);
    QVERIFY(!r.error);
    // Balance: 100, 99, 109, 104, 84, 114: the fall from 109 to 84.
    QCOMPARE(r.texts.maximalDrawdown, QStringLiteral("25.00"));
    QCOMPARE(r.texts.maximalDrawdownPercent, QStringLiteral("22.94"));
    QCOMPARE(r.texts.absoluteDrawdown, QStringLiteral("16.00"));
    QCOMPARE(r.texts.maxConsecutiveLosses, QStringLiteral("2"));
    QCOMPARE(r.texts.maxConsecutiveLossesMoney, QStringLiteral("-25.00"));
    std::vector<int> rows;
    for (const BalancePoint &p : r.curve)
        rows.push_back(p.row);
    QCOMPARE(rows, (std::vector<int>{-1, 5, 4, 2, 3, 1}));
}

void TestAccountSummary::trueDrawdownWithLaterDepositAndWithdrawal()
{
    // A first deposit, two trades, a second deposit, a trade, a withdrawal, two trades.
    const StatementTable table = tradesClosingAt({{"2024.01.02 10:00:00", "100"},
                                                  {"2024.01.03 10:00:00", "-200"},
                                                  {"2024.01.05 10:00:00", "250"},
                                                  {"2024.01.07 10:00:00", "-630"},
                                                  {"2024.01.08 10:00:00", "10"}});
    SummarySettings settings;
    settings.startingBalance = 1000; // the first deposit, as the import gives it
    settings.operations = {
        {BalanceOperation::Balance, "1", "2024.01.01 09:00:00", 1000, "Deposit"},
        {BalanceOperation::Balance, "2", "2024.01.04 09:00:00", 5000, "Deposit"},
        {BalanceOperation::Balance, "3", "2024.01.06 09:00:00", -2000, "Withdrawal"},
        {BalanceOperation::Credit, "4", "2024.01.09 09:00:00", -1765, "Credit out"},
        {BalanceOperation::Balance, "5", "2024.01.10 09:00:00", -1765, "Withdrawal"}};
    const AccountSummaryResult r = CalculateAccountSummary(table, settings);
    QVERIFY(!r.error);
    const SummaryTexts &t = r.texts;
    // The terminal's curve leaves the later money out: 1000, 1100, 900, 1150, 520, 530.
    QCOMPARE((QStringList{t.maximalDrawdown, t.maximalDrawdownPercent, t.relativeDrawdownPercent,
                          t.relativeDrawdown, t.absoluteDrawdown}),
             (QStringList{"630.00", "54.78", "54.78", "630.00", "480.00"}));
    // The account: 1000, 1100, 900 (200 below 1100), +5000, 6150, -2000 (no drawdown), 3520
    // (630 below 4150), 3530 (620 below), then half the money out, taking half the fall (310
    // below 2075), and the rest, taking all of it. The withdrawals are no falls, the deposit
    // does not end one, and emptying the account is no 100 % drawdown.
    QCOMPARE((QStringList{t.accountMaximalDrawdown, t.accountMaximalDrawdownPercent,
                          t.accountRelativeDrawdownPercent, t.accountRelativeDrawdown}),
             (QStringList{"630.00", "15.18", "18.18", "200.00"}));
    QCOMPARE((QStringList{t.initialDeposit, t.deposits, t.withdrawals, t.credit}),
             (QStringList{"1000.00", "6000.00", "-3765.00", "-1765.00"}));

    std::vector<double> balance, peak, terminal;
    for (const BalancePoint &p : r.curve) {
        balance.push_back(p.balance);
        peak.push_back(p.peak);
        terminal.push_back(p.terminalBalance);
    }
    QCOMPARE(balance,
             (std::vector<double>{0, 1000, 1100, 900, 5900, 6150, 4150, 3520, 3530, 1765, 0}));
    QCOMPARE(peak,
             (std::vector<double>{0, 1000, 1100, 1100, 6100, 6150, 4150, 4150, 4150, 2075, 0}));
    QCOMPARE(terminal,
             (std::vector<double>{1000, 1000, 1100, 900, 900, 1150, 1150, 520, 530, 530, 530}));
    QCOMPARE(int(r.drawdowns.size()), 2);
    QCOMPARE((std::vector<int>{r.drawdowns[0].begin, r.drawdowns[0].end, r.drawdowns[1].begin,
                               r.drawdowns[1].end}),
             (std::vector<int>{2, 5, 6, 10}));
    QVERIFY(r.drawdowns[0].recovered);
    QVERIFY(r.drawdowns[1].recovered);
    QCOMPARE(r.drawdowns[0].depth, 200.0);
    QCOMPARE(r.drawdowns[1].depth, 630.0);
}

void TestAccountSummary::peakNotAboveZero()
{
    // Starting at 0, the balance falls first: the fall counts, its percentage is "0.00".
    SummarySettings settings;
    settings.initialBalance = QStringLiteral("0");
    const AccountSummaryResult r =
        CalculateAccountSummary(TableOf({Trade("EURUSD", "-10"), Trade("EURUSD", "5")}), settings);
    QVERIFY(!r.error);
    QCOMPARE((QStringList{r.texts.maximalDrawdown, r.texts.maximalDrawdownPercent,
                          r.texts.relativeDrawdownPercent, r.texts.relativeDrawdown,
                          r.texts.absoluteDrawdown, r.texts.profitFactor}),
             (QStringList{"10.00", "0.00", "0.00", "0.00", "10.00", "0.50"}));
}

void TestAccountSummary::errors_data()
{
    QTest::addColumn<QStringList>("profits");
    QTest::addColumn<QStringList>("types");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<bool>("statementBalance");
    QTest::addColumn<int>("row"); // 0: no error
    QTest::addColumn<QString>("column");
    const QStringList trades{"BUY", "SELL", "BUY", "SELL"};
    QTest::newRow("first bad Profit cell in table order")
        << QStringList{"1", "x", "2", ""} << trades << "2000" << false << 2 << "Profit";
    QTest::newRow("deleted pending orders are not read")
        << QStringList{"1", "x", "2", "y"} << QStringList{"BUY", "BUYSTOP ", "SELL", "SELLSTOP"}
        << "2000" << false << 0 << "";
    QTest::newRow("balance field not a whole number")
        << QStringList{"1"} << QStringList{"BUY"} << "1000.5" << false << -1 << "Начальный баланс";
    QTest::newRow("the statement's balance leaves the field unread")
        << QStringList{"1"} << QStringList{"BUY"} << "abc" << true << 0 << "";
}

void TestAccountSummary::errors()
{
    QFETCH(QStringList, profits);
    QFETCH(QStringList, types);
    QFETCH(QString, balance);
    QFETCH(bool, statementBalance);
    QFETCH(int, row);
    QFETCH(QString, column);
    std::vector<Order> orders;
    for (int i = 0; i < profits.size(); ++i) {
        Order o = Trade(QStringLiteral("EURUSD"), profits[i]);
        o.type = types[i];
        orders.push_back(o);
    }
    SummarySettings settings;
    settings.initialBalance = balance;
    if (statementBalance)
        settings.startingBalance = 500.0;
    const AccountSummaryResult r = CalculateAccountSummary(TableOf(orders), settings);
    QCOMPARE(bool(r.error), row != 0);
    if (row != 0) {
        QCOMPARE(r.error->row, row);
        QCOMPARE(r.error->column, column);
        QVERIFY(r.curve.empty());
        QVERIFY(r.texts.trades.isEmpty());
    } else {
        QCOMPARE(r.texts.trades, QString::number(types.count(QStringLiteral("BUY")) +
                                                 types.count(QStringLiteral("SELL"))));
    }
}

QTEST_GUILESS_MAIN(TestAccountSummary)
#include "tst_accountsummary.moc"
