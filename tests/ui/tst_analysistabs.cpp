// Analysis tabs: what a press shows, repeated presses, errors leaving a tab as it was, clicks.
#include "messages.h"
#include "orderlistmodel.h"
#include "outcomestab.h"
#include "pairstab.h"
#include "risktab.h"
#include "weekdaytab.h"
#include "readoutbar.h"
#include "resultgridmodel.h"
#include "roles.h"
#include "statementfixture.h"
#include "statisticstab.h"
#include "streakstab.h"
#include "summarytab.h"
#include "statementbalancefield.h"
#include "updownbuttons.h"

#include <QAreaSeries>
#include <QBarSet>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QTableView>
#include <QTest>

class TestAnalysisTabs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init() { m_errors.clear(); }
    void statisticsPressShowsTotals();
    void statisticsRepeatedPressReplacesCurve();
    void statisticsErrorLeavesTabUnchanged();
    void statisticsPointClickShowsLastRowWithTicket();
    void serverOffsetUpDownStepsWithinRange();
    void pairsPressFillsGridAndCurves();
    void pairsMoreThanThirteen();
    void pairsErrorLeavesTabUnchanged();
    void weekdayPressFillsGridAndBars();
    void riskPointClicksShowTrade_data();
    void riskPointClicksShowTrade();
    void riskErrorLeavesTabUnchanged();
    void outcomesPressFillsBothGrids();
    void streaksPressFillsBothGridsAndResetEmptiesThem();
    void summaryPressFillsFiguresAndChart();
    void summaryStartsFromTheStatisticsBalance();

private:
    QStringList m_errors;
};

namespace {

QString labelText(QWidget *tab, const char *name)
{
    return tab->findChild<QLabel *>(QString::fromLatin1(name))->text();
}

std::vector<Order> sampleOrders()
{
    return {Trade("EURUSD", "10", "1001"), Trade("GBPUSD", "-5", "1002"), Trade("EURUSD", "-3", "1003")};
}

} // namespace

void TestAnalysisTabs::initTestCase()
{
    SetErrorSink([this](const QString &, const QString &text) { m_errors.append(text); });
}

void TestAnalysisTabs::statisticsPressShowsTotals()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StatisticsTab tab(&orders);
    QCOMPARE(labelText(&tab, "Label60"), QString());
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(labelText(&tab, "Label60"), QStringLiteral("1"));
    QCOMPARE(labelText(&tab, "Label61"), QStringLiteral("10.00"));
    QCOMPARE(labelText(&tab, "Label64"), QStringLiteral("2"));
    QCOMPARE(labelText(&tab, "Label65"), QStringLiteral("-8.00"));
    QCOMPARE(labelText(&tab, "Label67"), QStringLiteral("-4.00"));
    QCOMPARE(labelText(&tab, "Label69"), QStringLiteral("2.00"));
    QCOMPARE(labelText(&tab, "Label88"), QStringLiteral("3")); // all in the European session
    QCOMPARE(labelText(&tab, "Label12"), QStringLiteral("1.25"));
    QCOMPARE(labelText(&tab, "Label8"), QString());
}

void TestAnalysisTabs::statisticsRepeatedPressReplacesCurve()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StatisticsTab tab(&orders);
    auto *series = tab.equitySeries();
    tab.calculate();
    tab.calculate();
    QCOMPARE(series->count(), 3);
    QCOMPARE(series->at(0), QPointF(0, 2010));
    QCOMPARE(series->at(2), QPointF(2, 2002));
    tab.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("100"));
    tab.calculate();
    QCOMPARE(series->at(0), QPointF(0, 110));
}

void TestAnalysisTabs::statisticsErrorLeavesTabUnchanged()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StatisticsTab tab(&orders);
    tab.calculate();
    orders.setData(orders.index(2, int(Column::Profit)), QStringLiteral("abc"), Qt::EditRole);
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(m_errors.first(), QStringLiteral("Строка 3, столбец Profit: «abc» — не число"));
    QCOMPARE(labelText(&tab, "Label61"), QStringLiteral("10.00"));
    QCOMPARE(tab.equitySeries()->count(), 3);

    m_errors.clear();
    orders.setData(orders.index(2, int(Column::Profit)), QStringLiteral("-3"), Qt::EditRole);
    tab.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("2000.5"));
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("Начальный баланс")));
}

void TestAnalysisTabs::statisticsPointClickShowsLastRowWithTicket()
{
    OrderListModel orders(QLatin1Char('.'));
    Order first = Trade("EURUSD", "1", "1001");
    Order second = Trade("GBPUSD", "2", "1001");
    orders.setTable(TableOf({first, Trade("X", "3", "1002"), second}));
    StatisticsTab tab(&orders);
    tab.calculate();
    auto *sb2 = tab.findChild<ReadoutBar *>(QStringLiteral("sb2"));
    auto *series = tab.equitySeries();
    Q_EMIT series->clicked(QPointF(0.2, 2001)); // nearest point 0, labelled 1001
    QCOMPARE(sb2->texts().at(0), QStringLiteral("1001"));
    QCOMPARE(sb2->texts().at(5), QStringLiteral("GBPUSD")); // the last row with that ticket
    Q_EMIT series->clicked(QPointF(0.9, 2004));
    QCOMPARE(sb2->texts().at(5), QStringLiteral("X"));
}

void TestAnalysisTabs::serverOffsetUpDownStepsWithinRange()
{
    OrderListModel orders(QLatin1Char('.'));
    StatisticsTab tab(&orders);
    auto *edit = tab.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *upDown = tab.findChild<UpDownButtons *>(QStringLiteral("UpDown1"));
    QCOMPARE(edit->text(), QStringLiteral("1"));
    upDown->stepBy(-1);
    upDown->stepBy(-1);
    QCOMPARE(edit->text(), QStringLiteral("0"));
    edit->setText(QStringLiteral("22"));
    upDown->stepBy(5);
    QCOMPARE(edit->text(), QStringLiteral("23"));
    // A typed value outside the range is used as typed.
    edit->setText(QStringLiteral("-3"));
    Order night = Trade("A", "1");
    night.openTime = "20:30:00"; // 23:30 GMT with the server 3 hours behind: Asian
    orders.setTable(TableOf({night}));
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(labelText(&tab, "Label70"), QStringLiteral("1"));
}

void TestAnalysisTabs::pairsPressFillsGridAndCurves()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    PairsTab tab(&orders);
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QAbstractItemModel *grid = tab.findChild<QTableView *>(QStringLiteral("st2"))->model();
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Profit"));
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("7.00"));
    QCOMPARE(grid->index(0, 1).data(ShadeRole).value<QColor>(), QColor(25, 255, 25));
    QCOMPARE(grid->index(1, 1).data(ShadeRole).value<QColor>(), QColor(255, 91, 91));
    QCOMPARE(tab.series().at(0)->name(), QStringLiteral("EURUSD"));
    QCOMPARE(tab.series().at(0)->points(), (QList<QPointF>{{0, 10}, {1, 7}}));
    QCOMPARE(tab.series().at(1)->points(), (QList<QPointF>{{0, -5}}));
    QCOMPARE(tab.series().at(2)->count(), 0);
    // A second press gives the same curves, not doubled ones.
    tab.calculate();
    QCOMPARE(tab.series().at(0)->count(), 2);
}

void TestAnalysisTabs::pairsMoreThanThirteen()
{
    std::vector<Order> many;
    for (int i = 0; i < 15; ++i)
        many.push_back(Trade(QStringLiteral("P%1").arg(i), "1"));
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(many));
    PairsTab tab(&orders);
    tab.calculate();
    QAbstractItemModel *grid = tab.findChild<QTableView *>(QStringLiteral("st2"))->model();
    QCOMPARE(grid->rowCount(), 15);
    QCOMPARE(grid->index(14, 2).data().toString(), QStringLiteral("1"));
    QCOMPARE(tab.series().size(), 13);
    QCOMPARE(tab.series().at(12)->name(), QStringLiteral("P12"));
    QCOMPARE(tab.series().at(12)->count(), 1);
}

void TestAnalysisTabs::pairsErrorLeavesTabUnchanged()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    PairsTab tab(&orders);
    tab.calculate();
    orders.setData(orders.index(0, int(Column::Profit)), QString(), Qt::EditRole);
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().startsWith(QStringLiteral("Строка 1, столбец Profit")));
    QAbstractItemModel *grid = tab.findChild<QTableView *>(QStringLiteral("st2"))->model();
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("7.00"));
    QCOMPARE(tab.series().at(0)->count(), 2);
}

namespace {

Order riskTrade(const QString &ticket, const QString &symbol, const QString &close, const QString &profit)
{
    Order o = Trade(symbol, profit, ticket);
    o.openPrice = "1.2000";
    o.stopLoss = "1.1950";
    o.takeProfit = "1.2100";
    o.closePrice = close;
    return o;
}

QAbstractItemModel *gridOf(QWidget *tab, const char *name)
{
    return tab->findChild<QTableView *>(QString::fromLatin1(name))->model();
}

} // namespace

void TestAnalysisTabs::weekdayPressFillsGridAndBars()
{
    Order monday = Trade("EURUSD", "10");
    Order mondayLoss = Trade("EURUSD", "-4");
    Order wednesday = Trade("GBPUSD", "6");
    wednesday.openDate = "2010.05.26";
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({monday, mondayLoss, wednesday}));
    WeekdayTab tab(&orders);
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QAbstractItemModel *grid = gridOf(&tab, "st3");
    QCOMPARE(grid->rowCount(), 2);
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("6.00"));
    QCOMPARE(grid->index(0, 1).data(ShadeRole).value<QColor>(), QColor(58, 255, 58));
    QVERIFY(!grid->index(0, 2).data(ShadeRole).isValid());
    QCOMPARE(tab.barSets().size(), 4);
    QCOMPARE(tab.barSets().at(0)->count(), 5);
    QCOMPARE(tab.barSets().at(0)->at(0), 1.0);
    QCOMPARE(tab.barSets().at(0)->at(2), 1.0);
    QCOMPARE(tab.barSets().at(3)->at(0), -4.0);

    // A bad date: one message, the tab keeps what it showed.
    orders.setData(orders.index(2, int(Column::OpenDate)), QStringLiteral("2010.13.01"), Qt::EditRole);
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().startsWith(QStringLiteral("Строка 3, столбец OpenDate")));
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("6.00"));
    QCOMPARE(tab.barSets().at(0)->count(), 5);
}

void TestAnalysisTabs::riskPointClicksShowTrade_data()
{
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("point");
    QTest::addColumn<QString>("ticket");
    QTest::newRow("risk ratio, first point") << 0 << 0 << "1001";
    QTest::newRow("risk share, second point") << 1 << 1 << "1002";
    QTest::newRow("shortfall, only point") << 2 << 0 << "1002";
}

void TestAnalysisTabs::riskPointClicksShowTrade()
{
    QFETCH(int, curve);
    QFETCH(int, point);
    QFETCH(QString, ticket);
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({riskTrade("1001", "EURUSD", "1.1950", "-50"), riskTrade("1002", "GBPUSD", "1.2050", "50")}));
    RiskTab tab(&orders);
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QLineSeries *series = tab.series().at(curve);
    QVERIFY(series->count() > point);
    Q_EMIT series->clicked(QPointF(point + 0.3, series->at(point).y()));
    const QStringList texts = tab.findChild<ReadoutBar *>(QStringLiteral("sb1"))->texts();
    QCOMPARE(texts.at(0), ticket);
    QCOMPARE(texts.at(13), orders.table().cell(ticket == QLatin1String("1001") ? 1 : 2, Column::Profit));
}

void TestAnalysisTabs::riskErrorLeavesTabUnchanged()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({riskTrade("1001", "EURUSD", "1.2100", "100")}));
    RiskTab tab(&orders);
    tab.calculate();
    QAbstractItemModel *grid = gridOf(&tab, "st4");
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("200.00"));
    tab.findChild<QLineEdit *>(QStringLiteral("Edit3"))->setText(QStringLiteral("abc"));
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("Начальный баланс")));
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("200.00"));
    QCOMPARE(tab.series().at(0)->count(), 1);
}

void TestAnalysisTabs::outcomesPressFillsBothGrids()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({riskTrade("1", "EURUSD", "1.1950", "-50"), riskTrade("2", "EURUSD", "1.2100", "100")}));
    OutcomesTab tab(&orders);
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QAbstractItemModel *outcomes = gridOf(&tab, "st5");
    QAbstractItemModel *groups = gridOf(&tab, "st6");
    QCOMPARE(outcomes->rowCount(), 1);
    QCOMPARE(outcomes->index(0, 1).data().toString(), QStringLiteral("1"));
    QCOMPARE(outcomes->index(0, 2).data().toString(), QStringLiteral("1"));
    QCOMPARE(outcomes->index(0, 7).data().toString(), QStringLiteral("2"));
    QCOMPARE(outcomes->index(0, 1).data(ShadeRole).value<QColor>(), QColor(255, 25, 25));
    QCOMPARE(outcomes->index(0, 3).data(ShadeRole).value<QColor>(), QColor(255, 255, 255));
    QCOMPARE(groups->rowCount(), 2);
    QCOMPARE(groups->index(1, 0).data().toString(), QStringLiteral("Итого"));
    QCOMPARE(groups->index(1, 2).data().toString(), QStringLiteral("1"));

    orders.setData(orders.index(1, int(Column::Profit)), QStringLiteral("1..0"), Qt::EditRole);
    tab.calculate();
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(groups->rowCount(), 2);
    QCOMPARE(outcomes->index(0, 7).data().toString(), QStringLiteral("2"));
}

void TestAnalysisTabs::streaksPressFillsBothGridsAndResetEmptiesThem()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StreaksTab tab(&orders);
    QCOMPARE(tab.caption(), QStringLiteral("Серии"));
    QAbstractItemModel *wins = gridOf(&tab, "StringGrid1");
    QAbstractItemModel *losses = gridOf(&tab, "StringGrid2");
    QCOMPARE(wins->headerData(13, Qt::Horizontal).toString(), QStringLiteral(">12"));
    QCOMPARE(wins->rowCount(), 0);
    QVERIFY(tab.calculate());
    QCOMPARE(wins->rowCount(), 3); // EURUSD, GBPUSD, "Итого"
    QCOMPARE(wins->index(2, 0).data().toString(), QStringLiteral("Итого"));
    QCOMPARE(losses->index(2, 2).data().toString(), QStringLiteral("1")); // -5, -3 in a row
    QCOMPARE(losses->index(0, 1).data().toString(), QStringLiteral("1"));

    orders.setData(orders.index(1, int(Column::Profit)), QStringLiteral("x"), Qt::EditRole);
    QVERIFY(!tab.calculate());
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().startsWith(QStringLiteral("Строка 2, столбец Profit")));
    QCOMPARE(wins->rowCount(), 3);

    tab.reset();
    QCOMPARE(wins->rowCount(), 0);
    QCOMPARE(losses->rowCount(), 0);
}

void TestAnalysisTabs::summaryPressFillsFiguresAndChart()
{
    // A deposit after the first trade: the account's curve takes it, the terminal's does not.
    OrderListModel orders(QLatin1Char('.'));
    AccountOperations account;
    account.startingBalance = 2000;
    account.operations = {{BalanceOperation::Balance, "9", "2010.05.24 23:30:00", 500, "Deposit"}};
    orders.setTable(TableOf(sampleOrders()), TextEncoding::Utf8, account);
    QLineEdit edit(QStringLiteral("2000"));
    StatementBalanceField balance(&edit);
    balance.setStatementBalance(account.startingBalance, QLatin1Char('.'));
    SummaryTab tab(&orders, &balance);
    QCOMPARE(labelText(&tab, "gross_profit"), QString());
    QVERIFY(tab.calculate());
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(labelText(&tab, "trades"), QStringLiteral("3"));
    QCOMPARE(labelText(&tab, "gross_loss"), QStringLiteral("8.00"));
    QCOMPARE(labelText(&tab, "maximal_drawdown"), QStringLiteral("8.00 (0.40%)"));
    QCOMPARE(labelText(&tab, "relative_drawdown_percent"), QStringLiteral("0.40% (8.00)"));
    QCOMPARE(labelText(&tab, "deposits"), QStringLiteral("500.00"));
    QCOMPARE(labelText(&tab, "max_consecutive_losses"), QStringLiteral("2 (-8.00)"));
    // Start, the three trades (all closing 23:00), the deposit after them.
    QCOMPARE(tab.balanceSeries()->count(), 5);
    QCOMPARE(tab.balanceSeries()->at(4), QPointF(4, 2502));
    QCOMPARE(tab.terminalSeries()->at(4), QPointF(4, 2002));
    QCOMPARE(tab.drawdownArea()->upperSeries()->at(3), QPointF(3, 2010));
    QCOMPARE(tab.drawdownArea()->lowerSeries()->at(3), QPointF(3, 2002));

    // An error leaves the figures as they were; reset empties them.
    orders.setData(orders.index(1, int(Column::Profit)), QStringLiteral("abc"), Qt::EditRole);
    QVERIFY(!tab.calculate());
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(labelText(&tab, "trades"), QStringLiteral("3"));
    tab.reset();
    QCOMPARE(labelText(&tab, "trades"), QString());
    QCOMPARE(tab.balanceSeries()->count(), 0);
}

void TestAnalysisTabs::summaryStartsFromTheStatisticsBalance()
{
    // A semicolon statement: the summary starts where the statistics tab's field says, with the
    // field's rule (a whole number).
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StatisticsTab statistics(&orders);
    SummaryTab tab(&orders, &statistics.balanceField());
    statistics.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("100"));
    QVERIFY(tab.calculate());
    QCOMPARE(labelText(&tab, "initial_deposit"), QStringLiteral("100.00"));
    QCOMPARE(labelText(&tab, "maximal_drawdown"), QStringLiteral("8.00 (7.27%)"));
    statistics.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("100.5"));
    QVERIFY(!tab.calculate());
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("Начальный баланс")));
}

QTEST_MAIN(TestAnalysisTabs)
#include "tst_analysistabs.moc"
