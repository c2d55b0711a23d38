// Streaks: runs of profits and losses per pair and over the whole table.
#include "analysis/streaks.h"
#include "statementfixture.h"

#include <QTest>

class TestStreaks : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handWorkedTable();
    void runLengths_data();
    void runLengths();
    void emptyStatement();
    void badProfitCell();
};

namespace {

Order pending(const QString &symbol, const QString &type)
{
    Order o = Trade(symbol, QStringLiteral("abc")); // never read: a pending row has no result
    o.type = type;
    return o;
}

// The header text then the counts of lengths 1..12 and ">12".
QStringList row(const QString &caption, std::initializer_list<int> counts)
{
    QStringList texts{caption};
    for (const int n : counts)
        texts.append(QString::number(n));
    while (texts.size() < 14)
        texts.append(QStringLiteral("0"));
    return texts;
}

} // namespace

void TestStreaks::handWorkedTable()
{
    // EURUSD: +5, 0, -2, (pending), -1, +3  -> wins 2,1; losses 2
    // GBPUSD:   -4,          -6, +1        -> wins 1; losses 2
    // Table order: +5 E, -4 G, 0 E, -2 E, pending, -1 E, -6 G, +1 G, +3 E
    //   -> +5 | -4 | 0 | -2 -1 -6 | +1 +3  : wins 1, 1, 2; losses 1, 3
    const StatementTable table =
        TableOf({Trade("EURUSD", "5"), Trade("GBPUSD", "-4"), Trade("EURUSD", "0"),
                 Trade("EURUSD", "-2"), pending("EURUSD", "SELLSTOP"), Trade("EURUSD", "-1"),
                 Trade("GBPUSD", "-6"), Trade("GBPUSD", "1"), Trade("EURUSD", "3")});
    const StreaksResult r = CalculateStreaks(table, QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.wins.size(), size_t(4));
    QCOMPARE(r.wins[0], StreaksGridHeader());
    QCOMPARE(r.wins[0].constLast(), QStringLiteral(">12"));
    QCOMPARE(r.wins[1], row("EURUSD", {1, 1}));
    QCOMPARE(r.wins[2], row("GBPUSD", {1}));
    QCOMPARE(r.wins[3], row("Итого", {2, 1}));
    QCOMPARE(r.losses[1], row("EURUSD", {0, 1}));
    QCOMPARE(r.losses[2], row("GBPUSD", {0, 1}));
    // Not the sum of the pair rows: the -4 of GBPUSD stands alone, the -6 joins EURUSD's run.
    QCOMPARE(r.losses[3], row("Итого", {1, 0, 1}));
}

void TestStreaks::runLengths_data()
{
    QTest::addColumn<QString>(
        "signs"); // + for a profit, - for a loss, p for a deleted pending order
    QTest::addColumn<QStringList>("wins");
    QTest::addColumn<QStringList>("losses");
    QTest::newRow("one profit") << "+" << row("EURUSD", {1}) << row("EURUSD", {});
    QTest::newRow("twelve profits")
        << QString(12, QLatin1Char('+')) << row("EURUSD", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})
        << row("EURUSD", {});
    QTest::newRow("thirteen profits go to >12")
        << QString(13, QLatin1Char('+')) << row("EURUSD", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1})
        << row("EURUSD", {});
    QTest::newRow("pending inside a run of 13 losses")
        << QString(6, QLatin1Char('-')) + QStringLiteral("p") + QString(7, QLatin1Char('-')) +
               QStringLiteral("+")
        << row("EURUSD", {1}) << row("EURUSD", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1});
    QTest::newRow("alternating") << "+-+-" << row("EURUSD", {2}) << row("EURUSD", {2});
    QTest::newRow("only pending") << "pp" << row("EURUSD", {}) << row("EURUSD", {});
}

void TestStreaks::runLengths()
{
    QFETCH(QString, signs);
    QFETCH(QStringList, wins);
    QFETCH(QStringList, losses);
    std::vector<Order> orders;
    for (const QChar c : signs) {
        if (c == QLatin1Char('p'))
            orders.push_back(pending("EURUSD", "BUYSTOP "));
        else
            orders.push_back(Trade("EURUSD", c == QLatin1Char('+') ? "1.5" : "-1.5"));
    }
    const StreaksResult r = CalculateStreaks(TableOf(orders), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.wins[1], wins);
    QCOMPARE(r.losses[1], losses);
    // One pair: the total row counts the same runs.
    QCOMPARE(r.wins[2].mid(1), wins.mid(1));
    QCOMPARE(r.losses[2].mid(1), losses.mid(1));
}

void TestStreaks::emptyStatement()
{
    // A header line only: no pair, no run.
    const StreaksResult r = CalculateStreaks(TableOf({}), QLatin1Char('.'));
    QVERIFY(!r.error);
    QCOMPARE(r.wins.size(), size_t(2));
    QCOMPARE(r.wins.back(), row("Итого", {}));
    QCOMPARE(r.losses.back(), row("Итого", {}));
}

void TestStreaks::badProfitCell()
{
    // "BUYSTOP" without its trailing blank is a trade, so its Profit is read.
    Order notPending = Trade("EURUSD", "1,5x");
    notPending.type = QStringLiteral("BUYSTOP");
    const StreaksResult r =
        CalculateStreaks(TableOf({Trade("EURUSD", "1"), notPending}), QLatin1Char('.'));
    QVERIFY(r.error);
    QCOMPARE(r.error->row, 2);
    QCOMPARE(r.error->column, QStringLiteral("Profit"));
    QCOMPARE(r.error->text, QStringLiteral("1,5x"));
    QVERIFY(r.wins.empty());
    QVERIFY(r.losses.empty());
}

QTEST_GUILESS_MAIN(TestStreaks)
#include "tst_streaks.moc"
