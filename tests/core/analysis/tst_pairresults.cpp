// Pair results: sums and counts per pair, curves of the first 13 pairs, profit shading.
#include "analysis/pairresults.h"
#include "statementfixture.h"

#include <QTest>

class TestPairResults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void workedExample();
    void shadingOfProfitColumn();
    void moreThanThirteenPairs();
    void caseSensitiveSymbols();
    void zeroSumNotShaded();
    void lossBeyondScaleGetsStrongestRed();
    void errorNamesRowAndColumn();
};

void TestPairResults::workedExample()
{
    const PairsResult r = CalculatePairs(
        TableOf({Trade("EURUSD", "10"), Trade("GBPUSD", "-5"), Trade("EURUSD", "-3")}),
        QLatin1Char('.'));
    QVERIFY(!r.error);
    const std::vector<QStringList> expected{
        {"Symbol", "Profit", "Count"}, {"EURUSD", "7.00", "2"}, {"GBPUSD", "-5.00", "1"}};
    QCOMPARE(r.grid, expected);
    QCOMPARE(r.curves.size(), size_t(2));
    QCOMPARE(r.curves[0].title, QStringLiteral("EURUSD"));
    QCOMPARE(r.curves[0].values, (std::vector<double>{10.0, 7.0}));
    QCOMPARE(r.curves[1].values, (std::vector<double>{-5.0}));
}

void TestPairResults::shadingOfProfitColumn()
{
    const PairsResult r = CalculatePairs(
        TableOf({Trade("EURUSD", "10"), Trade("GBPUSD", "-5"), Trade("EURUSD", "-3")}),
        QLatin1Char('.'));
    QVERIFY(r.shades[1][1] == (Shade{25, 255, 25})); // 7.00 against scale 7: k = 230
    QVERIFY(r.shades[2][1] == (Shade{255, 91, 91})); // -5.00: k = trunc(5 / 7 * 230) = 164
    QVERIFY(!r.shades[1][0] && !r.shades[1][2]);     // only the Profit column
}

void TestPairResults::moreThanThirteenPairs()
{
    std::vector<Order> orders;
    for (int i = 0; i < 15; ++i)
        orders.push_back(Trade(QStringLiteral("P%1").arg(i), QString::number(i + 1)));
    orders.push_back(Trade("P14", "1.5"));
    const PairsResult r = CalculatePairs(TableOf(orders), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.grid.size(), size_t(16));
    QCOMPARE(r.curves.size(), size_t(13));
    QCOMPARE(r.curves.back().title, QStringLiteral("P12"));
    // Pairs past the 13th still get their profit and count.
    QCOMPARE(r.grid[14], (QStringList{"P13", "14.00", "1"}));
    QCOMPARE(r.grid[15], (QStringList{"P14", "16.50", "2"}));
}

void TestPairResults::caseSensitiveSymbols()
{
    const PairsResult r =
        CalculatePairs(TableOf({Trade("EURUSD", "1"), Trade("eurusd", "2")}), QLatin1Char('.'));
    QCOMPARE(r.grid.size(), size_t(3));
    QCOMPARE(r.grid[2][0], QStringLiteral("eurusd"));
}

void TestPairResults::zeroSumNotShaded()
{
    const PairsResult r = CalculatePairs(
        TableOf({Trade("A", "5"), Trade("A", "-5"), Trade("B", "3")}), QLatin1Char('.'));
    QCOMPARE(r.grid[1][1], QStringLiteral("0.00"));
    QVERIFY(!r.shades[1][1]);
    QVERIFY(r.shades[2][1] == (Shade{25, 255, 25}));
}

void TestPairResults::lossBeyondScaleGetsStrongestRed()
{
    // Every pair lost: the scale is the smallest loss, larger losses are capped at k = 230.
    const PairsResult r =
        CalculatePairs(TableOf({Trade("A", "-2"), Trade("B", "-10")}), QLatin1Char('.'));
    QVERIFY(r.shades[1][1] == (Shade{255, 25, 25}));
    QVERIFY(r.shades[2][1] == (Shade{255, 25, 25}));
}

void TestPairResults::errorNamesRowAndColumn()
{
    const PairsResult r = CalculatePairs(
        TableOf({Trade("A", "1"), Trade("A", "1"), Trade("B", "x1")}), QLatin1Char('.'));
    QVERIFY(r.error);
    QCOMPARE(r.error->row, 3);
    QCOMPARE(r.error->column, QStringLiteral("Profit"));
    QCOMPARE(r.error->describe(), QStringLiteral("Строка 3, столбец Profit: «x1» — не число"));
    QVERIFY(r.grid.empty());
}

QTEST_GUILESS_MAIN(TestPairResults)
#include "tst_pairresults.moc"
