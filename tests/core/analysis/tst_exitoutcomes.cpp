// Exit outcomes: one column per closed trade, pending orders, result groups, shading.
#include "analysis/exitoutcomes.h"
#include "statementfixture.h"

#include <QTest>

class TestExitOutcomes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void outcomeColumn_data();
    void outcomeColumn();
    void breakevenBand();
    void pendingOrders();
    void groupsPerPairAndTotal();
    void interleavedPairs();
    void previousResultMayBeAnyValue();
    void shading();
    void errors_data();
    void errors();
};

namespace {
Order closed(const QString &symbol, const QString &open, const QString &stop, const QString &target,
             const QString &close, const QString &profit)
{
    Order o = Trade(symbol, profit);
    o.openPrice = open;
    o.stopLoss = stop;
    o.takeProfit = target;
    o.closePrice = close;
    return o;
}

int onlyColumn(const OutcomesResult &r)
{
    int found = 0;
    for (int c = 1; c <= 6; ++c)
        if (r.outcomesGrid[1][c] != QLatin1String("0")) {
            if (found)
                return -1; // counted twice
            found = c;
        }
    return found;
}
} // namespace

void TestExitOutcomes::outcomeColumn_data()
{
    QTest::addColumn<QString>("open");
    QTest::addColumn<QString>("stop");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("close");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<int>("column");
    QTest::newRow("loss at the stop") << "1.2000"
                                      << "1.1950"
                                      << "1.2100"
                                      << "1.1950"
                                      << "-50" << 1;
    QTest::newRow("loss elsewhere: manual") << "1.2000"
                                            << "1.1950"
                                            << "1.2100"
                                            << "1.1970"
                                            << "-30" << 4;
    QTest::newRow("zero result: breakeven") << "1.2000"
                                            << "1.1950"
                                            << "1.2100"
                                            << "1.2000"
                                            << "0" << 3;
    QTest::newRow("profit moved 2 points: breakeven") << "1.2000"
                                                      << "1.1950"
                                                      << "1.2100"
                                                      << "1.2002"
                                                      << "2" << 3;
    QTest::newRow("profit moved 5 points: manual") << "1.2000"
                                                   << "1.1950"
                                                   << "1.2100"
                                                   << "1.2005"
                                                   << "5" << 4;
    QTest::newRow("profit at the target only once") << "1.2000"
                                                    << "1.1950"
                                                    << "1.2100"
                                                    << "1.2100"
                                                    << "100" << 2;
    QTest::newRow("trailing stop in profit") << "1.2000"
                                             << "1.2040"
                                             << "1.2100"
                                             << "1.2040"
                                             << "40" << 6;
    QTest::newRow("stop within the band: breakeven") << "1.2000"
                                                     << "1.2002"
                                                     << "1.2100"
                                                     << "1.2002"
                                                     << "2" << 3;
    QTest::newRow("texts compared exactly") << "1.2000"
                                            << "1.1950"
                                            << "1.2100"
                                            << "1.19500"
                                            << "-50" << 4;
    QTest::newRow("no stop, band from the open price") << "1.2000"
                                                       << "0"
                                                       << "0"
                                                       << "1.2002"
                                                       << "2" << 3;
    QTest::newRow("no stop, beyond the band") << "1.2000"
                                              << "0"
                                              << "0"
                                              << "1.2010"
                                              << "10" << 4;
}

void TestExitOutcomes::outcomeColumn()
{
    QFETCH(QString, open);
    QFETCH(QString, stop);
    QFETCH(QString, target);
    QFETCH(QString, close);
    QFETCH(QString, profit);
    QFETCH(int, column);
    const OutcomesResult r = CalculateOutcomes(
        TableOf({closed("EURUSD", open, stop, target, close, profit)}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(onlyColumn(r), column);
    QCOMPARE(r.outcomesGrid[1][7], QStringLiteral("1")); // every closed trade is in the total once
}

void TestExitOutcomes::breakevenBand()
{
    QVERIFY(qFuzzyCompare(BreakevenBand("1.1950", "1.2000"), 0.0003));
    QVERIFY(qFuzzyCompare(BreakevenBand("0", "91.250"), 0.003));
    QVERIFY(qFuzzyCompare(BreakevenBand("1,195", "1.2000"), 0.003));
}

void TestExitOutcomes::pendingOrders()
{
    Order buyStop = closed("EURUSD", "1.2000", "1.1950", "1.2100", "1.2000", "0.00");
    buyStop.type = "BUYSTOP ";
    Order sellStop = buyStop;
    sellStop.type = "SELLSTOP";
    Order noBlank = closed("EURUSD", "1.2000", "1.1950", "1.2100", "1.2000", "0");
    noBlank.type = "BUYSTOP"; // without the blank it is a closed trade
    const OutcomesResult r =
        CalculateOutcomes(TableOf({closed("EURUSD", "1.2000", "1.1950", "1.2100", "1.1950", "-50"),
                                   buyStop, sellStop, noBlank}),
                          QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.outcomesGrid[1], (QStringList{"EURUSD", "1", "0", "1", "0", "2", "0", "4"}));
    // The pending rows leave the pair's previous result alone: loss then zero is group 2.
    QCOMPARE(r.groupsGrid[1], (QStringList{"EURUSD", "0", "1", "0", "0"}));
}

void TestExitOutcomes::groupsPerPairAndTotal()
{
    const OutcomesResult r = CalculateOutcomes(
        TableOf({Trade("A", "10"), Trade("A", "-5"), Trade("A", "0")}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.groupsGrid[1], (QStringList{"A", "0", "1", "0", "1"}));
    QCOMPARE(r.groupsGrid.back(), (QStringList{"Итого", "0", "1", "0", "1"}));
}

void TestExitOutcomes::interleavedPairs()
{
    const OutcomesResult r = CalculateOutcomes(
        TableOf({Trade("A", "1"), Trade("B", "-1"), Trade("A", "1")}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.groupsGrid[1], (QStringList{"A", "1", "0", "0", "0"}));
    QCOMPARE(r.groupsGrid[2], (QStringList{"B", "0", "0", "0", "0"}));
    QCOMPARE(r.groupsGrid[3], (QStringList{"Итого", "0", "1", "0", "1"}));
}

void TestExitOutcomes::previousResultMayBeAnyValue()
{
    // A first result of exactly -1.123456 is still a previous result.
    const OutcomesResult r =
        CalculateOutcomes(TableOf({Trade("A", "-1.123456"), Trade("A", "-2")}), QLatin1Char('.'));
    QCOMPARE(r.groupsGrid[1], (QStringList{"A", "0", "0", "1", "0"}));
}

void TestExitOutcomes::shading()
{
    const OutcomesResult r =
        CalculateOutcomes(TableOf({closed("A", "1.2000", "1.1950", "1.2100", "1.1950", "-50"),
                                   closed("A", "1.2000", "1.1950", "1.2100", "1.1950", "-50"),
                                   closed("B", "1.2000", "1.1950", "1.2100", "1.1950", "-50"),
                                   closed("B", "1.2000", "1.1950", "1.2100", "1.2100", "100")}),
                          QLatin1Char('.'));
    QVERIFY(r.outcomesShades[1][1] == RedShade(230)); // largest of its column
    QVERIFY(r.outcomesShades[2][1] == RedShade(115)); // half of it
    QVERIFY(r.outcomesShades[1][2] == GreenShade(0)); // a count of 0 stays white
    QVERIFY(r.outcomesShades[2][2] == GreenShade(230));
    QVERIFY(r.outcomesShades[1][7] == BlueShade(180)); // blue columns use 180
    QVERIFY(!r.outcomesShades[1][0]);
    // The "Итого" row belongs to its column's scale.
    QCOMPARE(r.groupsGrid.back()[3], QStringLiteral("2"));
    QVERIFY(r.groupsShades.back()[3] == RedShade(230));
}

void TestExitOutcomes::errors_data()
{
    QTest::addColumn<QString>("aboveProfit");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("open");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::newRow("bad profit") << "1"
                                << "BUY"
                                << "x"
                                << "1.2" << 2 << "Profit";
    QTest::newRow("bad profit of the row above") << ""
                                                 << "BUY"
                                                 << "1"
                                                 << "1.2" << 1 << "Profit";
    QTest::newRow("bad open price of a profitable trade") << "1"
                                                          << "BUY"
                                                          << "5"
                                                          << "abc" << 2 << "OpenPrice";
}

void TestExitOutcomes::errors()
{
    QFETCH(QString, aboveProfit);
    QFETCH(QString, type);
    QFETCH(QString, profit);
    QFETCH(QString, open);
    QFETCH(int, row);
    QFETCH(QString, column);
    Order above = Trade("A", aboveProfit);
    above.type = "SELLSTOP"; // a pending row is still read as the row above
    Order trade = closed("A", open, "0", "0", "1.2010", profit);
    trade.type = type;
    const OutcomesResult r = CalculateOutcomes(TableOf({above, trade}), QLatin1Char('.'));
    QVERIFY(r.error);
    QCOMPARE(r.error->row, row);
    QCOMPARE(r.error->column, column);
    QVERIFY(r.outcomesGrid.empty());

    // Pending rows are otherwise never converted.
    Order pending = Trade("A", "not a number");
    pending.type = "BUYSTOP ";
    QVERIFY(!CalculateOutcomes(TableOf({pending}), QLatin1Char('.')).error);
}

QTEST_GUILESS_MAIN(TestExitOutcomes)
#include "tst_exitoutcomes.moc"
