// Analysis tabs: what a press shows, repeated presses, errors leaving a tab as it was, clicks.
#include "messages.h"
#include "orderlistmodel.h"
#include "pairstab.h"
#include "readoutbar.h"
#include "resultgridmodel.h"
#include "roles.h"
#include "statementfixture.h"
#include "statisticstab.h"

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
    void pairsPressFillsGridAndCurves();
    void pairsMoreThanThirteen();
    void pairsErrorLeavesTabUnchanged();

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
    tab.Button2Click();
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
    tab.Button2Click();
    tab.Button2Click();
    QCOMPARE(series->count(), 3);
    QCOMPARE(series->at(0), QPointF(0, 2010));
    QCOMPARE(series->at(2), QPointF(2, 2002));
    tab.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("100"));
    tab.Button2Click();
    QCOMPARE(series->at(0), QPointF(0, 110));
}

void TestAnalysisTabs::statisticsErrorLeavesTabUnchanged()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    StatisticsTab tab(&orders);
    tab.Button2Click();
    orders.setData(orders.index(2, Profit), QStringLiteral("abc"), Qt::EditRole);
    tab.Button2Click();
    QCOMPARE(m_errors.size(), 1);
    QCOMPARE(m_errors.first(), QStringLiteral("Строка 3, столбец Profit: «abc» — не число"));
    QCOMPARE(labelText(&tab, "Label61"), QStringLiteral("10.00"));
    QCOMPARE(tab.equitySeries()->count(), 3);

    m_errors.clear();
    orders.setData(orders.index(2, Profit), QStringLiteral("-3"), Qt::EditRole);
    tab.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(QStringLiteral("2000.5"));
    tab.Button2Click();
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
    tab.Button2Click();
    auto *sb2 = tab.findChild<ReadoutBar *>(QStringLiteral("sb2"));
    auto *series = tab.equitySeries();
    Q_EMIT series->clicked(QPointF(0.2, 2001)); // nearest point 0, labelled 1001
    QCOMPARE(sb2->texts().at(0), QStringLiteral("1001"));
    QCOMPARE(sb2->texts().at(5), QStringLiteral("GBPUSD")); // the last row with that ticket
    Q_EMIT series->clicked(QPointF(0.9, 2004));
    QCOMPARE(sb2->texts().at(5), QStringLiteral("X"));
}

void TestAnalysisTabs::pairsPressFillsGridAndCurves()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    PairsTab tab(&orders);
    tab.Button1Click();
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
    tab.Button1Click();
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
    tab.Button1Click();
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
    tab.Button1Click();
    orders.setData(orders.index(0, Profit), QString(), Qt::EditRole);
    tab.Button1Click();
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().startsWith(QStringLiteral("Строка 1, столбец Profit")));
    QAbstractItemModel *grid = tab.findChild<QTableView *>(QStringLiteral("st2"))->model();
    QCOMPARE(grid->index(0, 1).data().toString(), QStringLiteral("7.00"));
    QCOMPARE(tab.series().at(0)->count(), 2);
}

QTEST_MAIN(TestAnalysisTabs)
#include "tst_analysistabs.moc"
