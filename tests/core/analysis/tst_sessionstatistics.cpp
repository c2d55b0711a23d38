// Session statistics: session boundaries, totals and averages, profit factors, the equity curve.
#include "analysis/sessionstatistics.h"
#include "statementfixture.h"

#include <QTest>

class TestSessionStatistics : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sessionOfTime_data();
    void sessionOfTime();
    void totalsAndSessions();
    void zeroProfitCountsAsWinning();
    void zeroCountAveragesAreZero();
    void profitFactorTexts();
    void equityCurve();
    void statementStartingBalance();
    void errors_data();
    void errors();
    void doublePrecisionKeepsCents();
    void commaLocale();
};

void TestSessionStatistics::sessionOfTime_data()
{
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("session"); // -1 = not a time
    QTest::newRow("05:59 asian") << "05:59:00" << 0 << 0;
    QTest::newRow("06:00 asian-european") << "06:00:00" << 0 << 1;
    QTest::newRow("08:59 asian-european") << "08:59:59" << 0 << 1;
    QTest::newRow("09:00 european") << "09:00:00" << 0 << 2;
    QTest::newRow("13:29 european") << "13:29:59" << 0 << 2;
    QTest::newRow("13:30 european-american") << "13:30:00" << 0 << 3;
    QTest::newRow("14:45 european-american") << "14:45:00" << 0 << 3;
    QTest::newRow("15:29 european-american") << "15:29:00" << 0 << 3;
    QTest::newRow("15:30 american") << "15:30:00" << 0 << 4;
    QTest::newRow("20:59 american") << "20:59:00" << 0 << 4;
    QTest::newRow("21:00 back to asian") << "21:00:00" << 0 << 0;
    QTest::newRow("offset 1, 00:15 is hour -1") << "00:15:00" << 1 << 0;
    QTest::newRow("offset 1, 06:30 is hour 5") << "06:30:00" << 1 << 0;
    QTest::newRow("offset 3, 23:10 is hour 20") << "23:10:00" << 3 << 4;
    QTest::newRow("negative offset") << "20:30:00" << -1 << 0;
    QTest::newRow("too short") << "10:0" << 0 << -1;
    QTest::newRow("letters") << "ab:cd:ef" << 0 << -1;
}

void TestSessionStatistics::sessionOfTime()
{
    QFETCH(QString, time);
    QFETCH(int, offset);
    QFETCH(int, session);
    const QByteArray utf8 = time.toUtf8();
    QCOMPARE(
        SessionOfTime(std::string_view(utf8.constData(), size_t(utf8.size())), offset).value_or(-1),
        session);
}

void TestSessionStatistics::totalsAndSessions()
{
    Order a = Trade("EURUSD", "10");
    a.openTime = "10:00:00"; // hour 9 with offset 1: European
    Order b = Trade("EURUSD", "5.25");
    b.openTime = "11:00:00";
    Order c = Trade("GBPUSD", "-4");
    c.openTime = "02:00:00"; // Asian
    Order d = Trade("GBPUSD", "-1.5");
    d.openTime = "16:00:00"; // hour 15:00: European-American
    const StatisticsResult r = CalculateStatistics(TableOf({a, b, c, d}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.winCount, QStringLiteral("2"));
    QCOMPARE(r.winSum, QStringLiteral("15.25"));
    QCOMPARE(r.winAverage, QStringLiteral("7.63")); // 7.625 rounds away from zero
    QCOMPARE(r.lossCount, QStringLiteral("2"));
    QCOMPARE(r.lossSum, QStringLiteral("-5.50"));
    QCOMPARE(r.lossAverage, QStringLiteral("-2.75"));
    QCOMPARE(r.net, QStringLiteral("9.75"));
    const SessionTexts &european = r.sessionTexts[2];
    QCOMPARE(european.trades, QStringLiteral("2"));
    QCOMPARE(european.profit, QStringLiteral("15.25"));
    QCOMPARE(european.maxProfit, QStringLiteral("10.00"));
    QCOMPARE(european.averageProfit, QStringLiteral("7.63"));
    QCOMPARE(european.losing, QStringLiteral("0"));
    QCOMPARE(european.maxLoss, QStringLiteral("0.00"));
    QCOMPARE(r.sessionTexts[0].loss, QStringLiteral("-4.00"));
    QCOMPARE(r.sessionTexts[3].maxLoss, QStringLiteral("-1.50"));
    QCOMPARE(r.sessionTexts[4].trades, QStringLiteral("0"));
}

void TestSessionStatistics::zeroProfitCountsAsWinning()
{
    const StatisticsResult r =
        CalculateStatistics(TableOf({Trade("A", "10"), Trade("A", "0")}), {});
    QVERIFY(!r.error);
    const SessionTexts &s = r.sessionTexts[2];
    QCOMPARE(s.winning, QStringLiteral("2"));
    QCOMPARE(s.maxProfit, QStringLiteral("10.00"));
    QCOMPARE(s.averageProfit, QStringLiteral("5.00"));
}

void TestSessionStatistics::zeroCountAveragesAreZero()
{
    // One losing trade and no winner: the overall averages of an empty side read 0.00.
    Order loss = Trade("EURUSD", "-50.00");
    const StatisticsResult r = CalculateStatistics(TableOf({loss}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.winCount, QStringLiteral("0"));
    QCOMPARE(r.winSum, QStringLiteral("0.00"));
    QCOMPARE(r.winAverage, QStringLiteral("0.00"));
    QCOMPARE(r.lossAverage, QStringLiteral("-50.00"));
    QCOMPARE(r.net, QStringLiteral("-50.00"));
    QCOMPARE(r.equity.values, (std::vector<double>{1950.0}));

    const StatisticsResult empty = CalculateStatistics(TableOf({}), {});
    QVERIFY(!empty.error);
    QCOMPARE(empty.lossAverage, QStringLiteral("0.00"));
    QCOMPARE(empty.net, QStringLiteral("0.00"));
}

void TestSessionStatistics::profitFactorTexts()
{
    Order win = Trade("A", "30");
    win.openTime = "10:00:00";
    Order loss = Trade("A", "-20");
    loss.openTime = "10:30:00";
    Order asianLoss = Trade("A", "-5");
    asianLoss.openTime = "03:00:00";
    Order americanWin = Trade("A", "5");
    americanWin.openTime = "18:00:00";
    const StatisticsResult r =
        CalculateStatistics(TableOf({win, loss, asianLoss, americanWin}), {});
    QVERIFY(!r.error);
    QCOMPARE(r.sessionTexts[2].profitFactor, QStringLiteral("1.50"));
    QCOMPARE(r.sessionTexts[0].profitFactor, QStringLiteral("0.00")); // losses, no wins
    QCOMPARE(r.sessionTexts[4].profitFactor, QString());              // wins, no losses
    QCOMPARE(r.sessionTexts[1].profitFactor, QString());              // no trades
}

void TestSessionStatistics::equityCurve()
{
    StatisticsSettings settings;
    settings.initialBalance = "1000";
    const StatisticsResult r = CalculateStatistics(
        TableOf({Trade("A", "10", "1001"), Trade("B", "-4", "1002"), Trade("A", "2.5", "1001")}),
        settings);
    QVERIFY(!r.error);
    QCOMPARE(r.equity.values, (std::vector<double>{1010.0, 1006.0, 1008.5}));
    QCOMPARE(r.equity.rows, (std::vector<int>{1, 2, 3}));
}

void TestSessionStatistics::statementStartingBalance()
{
    // An HTML statement brings its own balance, with cents: the field's text is not read.
    StatisticsSettings settings;
    settings.initialBalance = "not read";
    settings.startingBalance = 2484.53;
    const StatisticsResult r =
        CalculateStatistics(TableOf({Trade("A", "10"), Trade("B", "-4")}), settings);
    QVERIFY(!r.error);
    QCOMPARE(r.equity.values, (std::vector<double>{2494.53, 2490.53}));
}

void TestSessionStatistics::errors_data()
{
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("openTime");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::newRow("profit not a number") << "abc"
                                         << "10:00:00"
                                         << "2000"
                                         << "1" << 2 << "Profit"
                                         << "abc";
    QTest::newRow("empty profit") << ""
                                  << "10:00:00"
                                  << "2000"
                                  << "1" << 2 << "Profit"
                                  << "";
    QTest::newRow("short open time") << "5"
                                     << "10"
                                     << "2000"
                                     << "1" << 2 << "OpenTime"
                                     << "10";
    QTest::newRow("balance with decimals") << "5"
                                           << "10:00:00"
                                           << "2000.5"
                                           << "1" << -1 << "Начальный баланс"
                                           << "2000.5";
    QTest::newRow("offset not a number") << "5"
                                         << "10:00:00"
                                         << "2000"
                                         << "x" << -1 << "Смещение сервера(GTM)"
                                         << "x";
}

void TestSessionStatistics::errors()
{
    QFETCH(QString, profit);
    QFETCH(QString, openTime);
    QFETCH(QString, balance);
    QFETCH(QString, offset);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, text);
    Order bad = Trade("A", profit);
    bad.openTime = openTime;
    StatisticsSettings settings;
    settings.initialBalance = balance;
    settings.serverOffset = offset;
    const StatisticsResult r = CalculateStatistics(TableOf({Trade("A", "1"), bad}), settings);
    QVERIFY(r.error);
    QCOMPARE(r.error->row, row);
    QCOMPARE(r.error->column, column);
    QCOMPARE(r.error->text, text);
    QVERIFY(r.error->describe().contains(column));
    // Nothing partial comes back with an error.
    QVERIFY(r.equity.values.empty());
    QVERIFY(r.winCount.isEmpty());
}

void TestSessionStatistics::doublePrecisionKeepsCents()
{
    // 100,000 trades of 0.01: single precision drifts by dollars, double stays exact to the cent.
    std::vector<Order> orders(100000, Trade("EURUSD", "0.01"));
    const StatisticsResult r = CalculateStatistics(TableOf(orders), {});
    QVERIFY(!r.error);
    QCOMPARE(r.winSum, QStringLiteral("1000.00"));
    QCOMPARE(r.net, QStringLiteral("1000.00"));
}

void TestSessionStatistics::commaLocale()
{
    StatisticsSettings settings;
    settings.decimalSeparator = QLatin1Char(',');
    const StatisticsResult r =
        CalculateStatistics(TableOf({Trade("A", "1,5"), Trade("A", "2.25")}), settings);
    QVERIFY(!r.error);
    QCOMPARE(r.winSum, QStringLiteral("3,75"));
}

QTEST_GUILESS_MAIN(TestSessionStatistics)
#include "tst_sessionstatistics.moc"
