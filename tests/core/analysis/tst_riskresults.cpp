// Risk results: protected trades, risk ratio and share, shortfall in points, per-pair averages.
#include "analysis/riskresults.h"
#include "statementfixture.h"

#include <QTest>

class TestRiskResults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buyExample();
    void protection_data();
    void protection();
    void shortfall_data();
    void shortfall();
    void losingProtectedTradeStillMeasured();
    void headerOnlyStatement();
    void errors_data();
    void errors();
    void statementStartingBalance();
    void valuePerPriceUnit();
};

namespace {
Order priced(const QString &type, const QString &open, const QString &stop, const QString &target,
             const QString &close, const QString &profit,
             const QString &ticket = QStringLiteral("1001"))
{
    Order o;
    o.type = type;
    o.openPrice = open;
    o.stopLoss = stop;
    o.takeProfit = target;
    o.closePrice = close;
    o.profit = profit;
    o.ticket = ticket;
    return o;
}
} // namespace

void TestRiskResults::buyExample()
{
    const RiskResult r =
        CalculateRisk(TableOf({priced("BUY", "1.2000", "1.1950", "1.2100", "1.2100", "100")}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.riskRatio.size(), size_t(1));
    QVERIFY(qFuzzyCompare(r.riskRatio.values[0], 200.0));
    QVERIFY(std::fabs(r.riskShare.values[0] - 0.005 * 10000 / 8100 * 100) < 1e-9);
    QCOMPARE(r.shortfall.values, (std::vector<double>{0.0}));
    QCOMPARE(r.riskRatio.rows, (std::vector<int>{1}));
    // Averages over the pair's protected trades (one here), the shortfall summed.
    QCOMPARE(r.grid[1], (QStringList{"EURUSD", "200.00", "0.62", "0.00"}));
}

void TestRiskResults::protection_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("isProtected");
    QTest::newRow("buy below open") << "BUY"
                                    << "1.1950"
                                    << "1.2100" << true;
    QTest::newRow("buy without stop") << "BUY"
                                      << "0"
                                      << "1.2100" << false;
    QTest::newRow("buy stop at open") << "BUY"
                                      << "1.2000"
                                      << "1.2100" << false;
    QTest::newRow("buy stop above open") << "BUY"
                                         << "1.2050"
                                         << "1.2100" << false;
    QTest::newRow("buy without target") << "BUY"
                                        << "1.1950"
                                        << "0" << false;
    QTest::newRow("sell above open") << "SELL"
                                     << "1.2050"
                                     << "1.1900" << true;
    QTest::newRow("sell below open") << "SELL"
                                     << "1.1950"
                                     << "1.1900" << false;
    QTest::newRow("pending order") << "BUYSTOP "
                                   << "1.1950"
                                   << "1.2100" << false;
    QTest::newRow("lower case") << "buy"
                                << "1.1950"
                                << "1.2100" << false;
}

void TestRiskResults::protection()
{
    QFETCH(QString, type);
    QFETCH(QString, stop);
    QFETCH(QString, target);
    QFETCH(bool, isProtected);
    const RiskResult r =
        CalculateRisk(TableOf({priced(type, "1.2000", stop, target, "1.2010", "10")}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.riskRatio.size(), size_t(isProtected ? 1 : 0));
    QCOMPARE(r.riskShare.size(), size_t(isProtected ? 1 : 0));
    if (!isProtected)
        QCOMPARE(r.grid[1][1], QStringLiteral("0.00"));
}

void TestRiskResults::shortfall_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<int>("points"); // -1 = no point
    QTest::newRow("five points, rounded not truncated") << "1.2300"
                                                        << "1.2350"
                                                        << "1.2345"
                                                        << "5" << 5;
    QTest::newRow("fifty points") << "1.2900"
                                  << "1.3000"
                                  << "1.2950"
                                  << "5" << 50;
    QTest::newRow("three decimals") << "91.250"
                                    << "91.300"
                                    << "91.275"
                                    << "5" << 25;
    QTest::newRow("no target, no point") << "1.2300"
                                         << "0"
                                         << "1.2345"
                                         << "5" << -1;
    QTest::newRow("losing trade, no point") << "1.2300"
                                            << "1.2350"
                                            << "1.2345"
                                            << "-5" << -1;
    QTest::newRow("zero result, no point") << "1.2300"
                                           << "1.2350"
                                           << "1.2345"
                                           << "0" << -1;
}

void TestRiskResults::shortfall()
{
    QFETCH(QString, open);
    QFETCH(QString, target);
    QFETCH(QString, close);
    QFETCH(QString, profit);
    QFETCH(int, points);
    const RiskResult r =
        CalculateRisk(TableOf({priced("BUY", open, "0", target, close, profit)}), {});
    QVERIFY(!r.error);
    if (points < 0) {
        QCOMPARE(r.shortfall.size(), size_t(0));
        QCOMPARE(r.grid[1][3], QStringLiteral("0.00"));
    } else {
        QCOMPARE(r.shortfall.values, (std::vector<double>{double(points)}));
        QCOMPARE(r.grid[1][3], QStringLiteral("%1.00").arg(points));
    }
}

void TestRiskResults::losingProtectedTradeStillMeasured()
{
    const RiskResult r =
        CalculateRisk(TableOf({priced("BUY", "1.2000", "1.1950", "1.2100", "1.1950", "-50", "1"),
                               priced("BUY", "1.2000", "1.1900", "1.2100", "1.2000", "0", "2")}),
                      {});
    QVERIFY(!r.error);
    QCOMPARE(r.riskRatio.size(), size_t(2));
    QVERIFY(qFuzzyCompare(r.riskRatio.values[1], 100.0));
    QCOMPARE(r.riskShare.values[1], 0.0); // close = open: nothing per price unit
    QCOMPARE(r.grid[1][1], QStringLiteral("150.00"));
}

void TestRiskResults::headerOnlyStatement()
{
    const RiskResult r = CalculateRisk(TableOf({}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.grid.size(), size_t(1));
    QCOMPARE(r.riskRatio.size() + r.riskShare.size() + r.shortfall.size(), size_t(0));
}

void TestRiskResults::errors_data()
{
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::newRow("bad close price") << "1,2.0"
                                     << "5"
                                     << "8000" << 2 << "ClosePrice";
    QTest::newRow("empty profit") << "1.2010"
                                  << ""
                                  << "8000" << 2 << "Profit";
    QTest::newRow("balance not whole") << "1.2010"
                                       << "5"
                                       << "8000.5" << -1 << "Начальный баланс";
    QTest::newRow("balance reaches zero") << "1.2010"
                                          << "-8005"
                                          << "8000" << 2 << "Profit";
}

void TestRiskResults::errors()
{
    QFETCH(QString, close);
    QFETCH(QString, profit);
    QFETCH(QString, balance);
    QFETCH(int, row);
    QFETCH(QString, column);
    RiskSettings settings;
    settings.initialBalance = balance;
    const RiskResult r =
        CalculateRisk(TableOf({priced("SELL", "1.2000", "0", "0", "1.1990", "5"),
                               priced("BUY", "1.2000", "1.1950", "1.2100", close, profit)}),
                      settings);
    QVERIFY(r.error);
    QCOMPARE(r.error->row, row);
    QCOMPARE(r.error->column, column);
    QVERIFY(r.grid.empty());
    QVERIFY(r.shortfall.values.empty());
}

void TestRiskResults::statementStartingBalance()
{
    // The statement's own balance stands in for the field, which is then not read.
    const StatementTable table =
        TableOf({priced("BUY", "1.2000", "1.1950", "1.2100", "1.1950", "-50"),
                 priced("SELL", "1.2000", "1.2050", "1.1900", "1.1900", "100")});
    RiskSettings typed;
    typed.initialBalance = "5000";
    RiskSettings statement;
    statement.initialBalance = "not read";
    statement.startingBalance = 5000;
    const RiskResult a = CalculateRisk(table, typed), b = CalculateRisk(table, statement);
    QVERIFY(!a.error && !b.error);
    QCOMPARE(b.riskShare.values, a.riskShare.values);
    statement.startingBalance = 2500;
    const RiskResult c = CalculateRisk(table, statement);
    QVERIFY(!c.error);
    QVERIFY(c.riskShare.values.front() >
            1.9 * a.riskShare.values.front()); // about half the money at stake
}

void TestRiskResults::valuePerPriceUnit()
{
    QVERIFY(qFuzzyCompare(ValuePerPriceUnit(1.2, 1.21, 100), 10000.0));
    QVERIFY(qFuzzyCompare(ValuePerPriceUnit(1.21, 1.2, -100), 10000.0));
    QCOMPARE(ValuePerPriceUnit(1.2, 1.2, 100), 0.0);
}

QTEST_GUILESS_MAIN(TestRiskResults)
#include "tst_riskresults.moc"
