// Weekday results: the pair-by-day grid, the day bars, the shading scales.
#include "analysis/weekdayresults.h"
#include "statementfixture.h"

#include <QTest>

class TestWeekdayResults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mondayWednesdayExample();
    void weekendTradesAppearNowhere();
    void shadingWhenLargestValueIsBetweenMinusTwoAndMinusOne();
    void emptyStatement();
    void scalesBeyondThirtyTwoBits_data();
    void scalesBeyondThirtyTwoBits();
    void manyPairsAllListed();
    void errors_data();
    void errors();
};

namespace {
Order on(const QString &date, const QString &symbol, const QString &profit)
{
    Order o = Trade(symbol, profit);
    o.openDate = date;
    return o;
}
} // namespace

void TestWeekdayResults::mondayWednesdayExample()
{
    const WeekdaysResult r = CalculateWeekdays(
        TableOf({on("2010.05.24", "EURUSD", "10"), on("2010.05.24", "EURUSD", "-4"),
                 on("2010.05.26", "GBPUSD", "6")}),
        QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.grid[1], (QStringList{"EURUSD", "6.00", "0.00", "0.00", "0.00", "0.00"}));
    QCOMPARE(r.grid[2], (QStringList{"GBPUSD", "0.00", "0.00", "6.00", "0.00", "0.00"}));
    QCOMPARE(r.winCount, (std::array<int, 5>{1, 0, 1, 0, 0}));
    QCOMPARE(r.lossCount, (std::array<int, 5>{1, 0, 0, 0, 0}));
    QCOMPARE(r.winSum, (std::array<double, 5>{10, 0, 6, 0, 0}));
    QCOMPARE(r.lossSum, (std::array<double, 5>{-4, 0, 0, 0, 0}));
    QCOMPARE(r.profitScale, 7LL);
    QCOMPARE(r.lossScale, -1LL);
    QVERIFY(r.shades[1][1] == (Shade{58, 255, 58})); // k = trunc(6 / 7 * 230) = 197
    QVERIFY(r.shades[2][3] == (Shade{58, 255, 58}));
    QVERIFY(!r.shades[1][2]); // 0.00 is not shaded
}

void TestWeekdayResults::weekendTradesAppearNowhere()
{
    const WeekdaysResult r = CalculateWeekdays(
        TableOf({on("2010.05.22", "EURUSD", "10"), on("2010.05.23", "EURUSD", "-3")}),
        QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.grid[1], (QStringList{"EURUSD", "0.00", "0.00", "0.00", "0.00", "0.00"}));
    QCOMPARE(r.winCount, (std::array<int, 5>{}));
    QCOMPARE(r.lossSum, (std::array<double, 5>{}));
}

void TestWeekdayResults::scalesBeyondThirtyTwoBits_data()
{
    QTest::addColumn<QString>("profit");
    QTest::addColumn<long long>("profitScale");
    QTest::addColumn<long long>("lossScale");
    QTest::addColumn<bool>("green");
    // One Monday cell: the scale is the value itself plus one, so the cell gets nearly full colour.
    QTest::newRow("3,000,000,000") << "3000000000.00" << 3000000001LL << -1LL << true;
    QTest::newRow("below -2^31") << "-3000000000.00" << 1LL << -3000000001LL << false;
    QTest::newRow("int32 maximum") << "2147483647.00" << 2147483648LL << -1LL << true;
}

void TestWeekdayResults::scalesBeyondThirtyTwoBits()
{
    QFETCH(QString, profit);
    QFETCH(long long, profitScale);
    QFETCH(long long, lossScale);
    QFETCH(bool, green);
    const WeekdaysResult r =
        CalculateWeekdays(TableOf({on("2010.05.24", "USDJPY", profit)}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.profitScale, profitScale);
    QCOMPARE(r.lossScale, lossScale);
    QVERIFY(r.shades[1][1] == (green ? GreenShade(229) : RedShade(229)));
}

void TestWeekdayResults::shadingWhenLargestValueIsBetweenMinusTwoAndMinusOne()
{
    // Largest value -1.5: the profit scale is 0, yet the negative cells are still shaded.
    const WeekdaysResult r =
        CalculateWeekdays(TableOf({on("2010.05.24", "A", "-1.5"), on("2010.05.25", "A", "-1.5"),
                                   on("2010.05.26", "A", "-1.5"), on("2010.05.27", "A", "-1.5"),
                                   on("2010.05.28", "A", "-9")}),
                          QLatin1Char('.'));
    QCOMPARE(r.profitScale, 0LL);
    QCOMPARE(r.lossScale, -10LL);
    QVERIFY(r.shades[1][1] == RedShade(34)); // trunc(1.5 / 10 * 230)
    QVERIFY(r.shades[1][5] == RedShade(207));
}

void TestWeekdayResults::emptyStatement()
{
    const WeekdaysResult r = CalculateWeekdays(TableOf({}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.grid.size(), size_t(1));
    QCOMPARE(r.profitScale, 1LL);
    QCOMPARE(r.lossScale, -1LL);
}

void TestWeekdayResults::manyPairsAllListed()
{
    std::vector<Order> orders;
    for (int i = 0; i < 60; ++i)
        orders.push_back(on("2010.05.24", QStringLiteral("S%1").arg(i), QString::number(i)));
    const WeekdaysResult r = CalculateWeekdays(TableOf(orders), QLatin1Char('.'));
    QCOMPARE(r.grid.size(), size_t(61));
    QCOMPARE(r.grid[60][1], QStringLiteral("59.00"));
}

void TestWeekdayResults::errors_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("column");
    QTest::newRow("impossible date") << "2010.13.01"
                                     << "1"
                                     << "OpenDate";
    QTest::newRow("one-digit month") << "2010.5.21"
                                     << "1"
                                     << "OpenDate";
    QTest::newRow("profit read first") << "bad"
                                       << "x"
                                       << "Profit";
}

void TestWeekdayResults::errors()
{
    QFETCH(QString, date);
    QFETCH(QString, profit);
    QFETCH(QString, column);
    const WeekdaysResult r = CalculateWeekdays(
        TableOf({on("2010.05.24", "A", "1"), on(date, "A", profit)}), QLatin1Char('.'));
    QVERIFY(r.error);
    QCOMPARE(r.error->row, 2);
    QCOMPARE(r.error->column, column);
    QVERIFY(r.grid.empty());
}

QTEST_GUILESS_MAIN(TestWeekdayResults)
#include "tst_weekdayresults.moc"
