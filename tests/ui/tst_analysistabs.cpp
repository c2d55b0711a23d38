// Analysis tabs: what a press shows, repeated presses, errors leaving a tab as it was, clicks.
#include "chartutil.h"
#include "explorablechartview.h"
#include "gridview.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "outcomestab.h"
#include "pairstab.h"
#include "readoutbar.h"
#include "resultgridmodel.h"
#include "risktab.h"
#include "roles.h"
#include "statementbalancefield.h"
#include "statementfixture.h"
#include "statisticstab.h"
#include "streakstab.h"
#include "summarytab.h"
#include "updownbuttons.h"
#include "weekdaytab.h"

#include <QApplication>
#include <QAreaSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsTextItem>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QStyle>
#include <QTableView>
#include <QTest>
#include <QTextDocumentFragment>

#include <memory>

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
    void gridsShowWholeTexts_data();
    void gridsShowWholeTexts();
    void labelsShowTheirWholeText_data();
    void labelsShowTheirWholeText();
    void statisticsValuesClearTheirCaptions_data();
    void statisticsValuesClearTheirCaptions();
    void chartAxesPrintPlainNumbers_data();
    void chartAxesPrintPlainNumbers();
    void pairsLegendShowsThirteenFullNamesInDistinctColours();
    void pointerOverCurveDescribesTrade_data();
    void pointerOverCurveDescribesTrade();
    void clickNearEquityPointShowsTradeInSb2();
    void pointerOverBarShowsDayAndValue();
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
    return {Trade("EURUSD", "10", "1001"), Trade("GBPUSD", "-5", "1002"),
            Trade("EURUSD", "-3", "1003")};
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

Order riskTrade(const QString &ticket, const QString &symbol, const QString &close,
                const QString &profit)
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
    orders.setData(orders.index(2, int(Column::OpenDate)), QStringLiteral("2010.13.01"),
                   Qt::EditRole);
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
    orders.setTable(TableOf({riskTrade("1001", "EURUSD", "1.1950", "-50"),
                             riskTrade("1002", "GBPUSD", "1.2050", "50")}));
    RiskTab tab(&orders);
    tab.calculate();
    QVERIFY(m_errors.isEmpty());
    QLineSeries *series = tab.series().at(curve);
    QVERIFY(series->count() > point);
    Q_EMIT series->clicked(QPointF(point + 0.3, series->at(point).y()));
    const QStringList texts = tab.findChild<ReadoutBar *>(QStringLiteral("sb1"))->texts();
    QCOMPARE(texts.at(0), ticket);
    QCOMPARE(texts.at(13),
             orders.table().cell(ticket == QLatin1String("1001") ? 1 : 2, Column::Profit));
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
    orders.setTable(TableOf(
        {riskTrade("1", "EURUSD", "1.1950", "-50"), riskTrade("2", "EURUSD", "1.2100", "100")}));
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

namespace {

std::unique_ptr<AnalysisTab> makeTab(const QString &kind, OrderListModel *orders)
{
    if (kind == QLatin1String("pairs"))
        return std::make_unique<PairsTab>(orders);
    if (kind == QLatin1String("statistics"))
        return std::make_unique<StatisticsTab>(orders);
    if (kind == QLatin1String("weekdays"))
        return std::make_unique<WeekdayTab>(orders);
    if (kind == QLatin1String("risk"))
        return std::make_unique<RiskTab>(orders);
    if (kind == QLatin1String("outcomes"))
        return std::make_unique<OutcomesTab>(orders);
    return std::make_unique<StreaksTab>(orders);
}

// Shows a tab at the size the window gives it and lets its charts lay out.
void showTab(AnalysisTab *tab)
{
    tab->resize(936, 580);
    static_cast<QWidget *>(tab)->show();
    QVERIFY(QTest::qWaitForWindowExposed(tab));
    QApplication::processEvents();
}

// Six- to eight-digit results, a long symbol name, a risk ratio of 300000 %, a shortfall of
// 12345 points.
std::vector<Order> bigFigures()
{
    Order a = Trade("EURUSD", "513817.5", "1001");
    a.stopLoss = "1.1999";
    a.takeProfit = "1.5000";
    a.closePrice = "1.5000";
    Order b = Trade("GBPJPYmicro.ecn", "-12345678.25", "1002");
    b.type = "SELL";
    b.openDate = "2010.05.26";
    b.openPrice = "150.00";
    b.stopLoss = "160.00";
    b.takeProfit = "140.00";
    b.closePrice = "151.00";
    Order c = Trade("EURUSD", "10", "1003");
    c.stopLoss = "1.1000";
    c.takeProfit = "2.4690";
    c.closePrice = "1.2345";
    return {a, b, c};
}

// The visible texts of a chart's scene other than its title.
QStringList chartTexts(QChartView *view)
{
    const QString title = QTextDocumentFragment::fromHtml(view->chart()->title()).toPlainText();
    QStringList texts;
    for (QGraphicsItem *item : view->scene()->items()) {
        auto *text = dynamic_cast<QGraphicsTextItem *>(item);
        if (text && text->isVisible() && !text->toPlainText().isEmpty() &&
            text->toPlainText() != title)
            texts.append(text->toPlainText());
    }
    return texts;
}

} // namespace

void TestAnalysisTabs::gridsShowWholeTexts_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("longest"); // a text the grid must show whole
    QTest::newRow("st2") << "pairs"
                         << "st2"
                         << "-12345678.25";
    QTest::newRow("st3") << "weekdays"
                         << "st3"
                         << "-12345678.25";
    QTest::newRow("st4") << "risk"
                         << "st4"
                         << "GBPJPYmicro.ecn";
    QTest::newRow("st5") << "outcomes"
                         << "st5"
                         << "Удаленные позиции";
    QTest::newRow("st6") << "outcomes"
                         << "st6"
                         << "Группа 4";
    QTest::newRow("StringGrid1") << "streaks"
                                 << "StringGrid1"
                                 << "GBPJPYmicro.ecn";
    QTest::newRow("StringGrid2") << "streaks"
                                 << "StringGrid2"
                                 << "GBPJPYmicro.ecn";
}

void TestAnalysisTabs::gridsShowWholeTexts()
{
    QFETCH(QString, kind);
    QFETCH(QString, grid);
    QFETCH(QString, longest);
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(bigFigures()));
    std::unique_ptr<AnalysisTab> tab = makeTab(kind, &orders);
    auto *view = tab->findChild<QTableView *>(grid);
    QHeaderView *header = view->horizontalHeader();
    const QAbstractItemModel *model = view->model();
    const QList<int> laidOut = [&] {
        QList<int> widths;
        for (int c = 0; c < model->columnCount(); ++c)
            widths.append(header->sectionSize(c));
        return widths;
    }();
    QVERIFY(tab->calculate());
    QVERIFY(m_errors.isEmpty());

    // Header texts fit between the header's margins, cell texts between the delegate's.
    const int headerMargin =
        2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
    const int cellMargin =
        2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1) + 1;
    bool seen = false;
    for (int c = 0; c < model->columnCount(); ++c) {
        const int width = header->sectionSize(c);
        QVERIFY(width >= laidOut[c]);
        const QString title = model->headerData(c, Qt::Horizontal).toString();
        QVERIFY2(header->fontMetrics().horizontalAdvance(title) + headerMargin <= width,
                 qPrintable(title));
        seen = seen || title == longest;
        for (int r = 0; r < model->rowCount(); ++r) {
            const QString text = model->index(r, c).data().toString();
            QVERIFY2(view->fontMetrics().horizontalAdvance(text) + cellMargin <= width,
                     qPrintable(text));
            seen = seen || text == longest;
        }
    }
    QVERIFY2(seen, qPrintable(longest));

    // Empty again: the pair column, widened by the long symbol, goes back to its laid-out width.
    tab->reset();
    QCOMPARE(header->sectionSize(0), laidOut[0]);
}

void TestAnalysisTabs::labelsShowTheirWholeText_data()
{
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"statistics", "pairs", "weekdays", "risk", "outcomes", "streaks"})
        QTest::newRow(kind) << kind;
}

void TestAnalysisTabs::labelsShowTheirWholeText()
{
    QFETCH(QString, kind);
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(bigFigures()));
    std::unique_ptr<AnalysisTab> tab = makeTab(kind, &orders);
    showTab(tab.get());
    QVERIFY(tab->calculate());
    for (const QLabel *label : tab->findChildren<QLabel *>()) {
        if (!label->isVisible() || label->text().isEmpty() ||
            label->parent()->inherits("ReadoutBar"))
            continue;
        const QString what = label->objectName() + QLatin1Char(' ') + label->text();
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <=
                     label->contentsRect().width(),
                 qPrintable(what));
        QVERIFY2(label->fontMetrics().height() <= label->contentsRect().height(), qPrintable(what));
        // Nothing of the tab lies over the label's text (a frame line may touch its leading).
        for (const QWidget *other : label->parentWidget()->findChildren<QWidget *>(
                 QString(), Qt::FindDirectChildrenOnly)) {
            if (other == label || !other->isVisible())
                continue;
            const QRect text =
                QStyle::alignedRect(Qt::LeftToRight, label->alignment(),
                                    QSize(label->fontMetrics().horizontalAdvance(label->text()),
                                          label->fontMetrics().height()),
                                    label->geometry())
                    .adjusted(0, 2, 0, -2);
            QVERIFY2(!other->geometry().intersects(text),
                     qPrintable(what + QStringLiteral(" under ") + other->objectName()));
        }
    }
}

void TestAnalysisTabs::statisticsValuesClearTheirCaptions_data()
{
    QTest::addColumn<QFont>("font");
    QFont narrow(QStringLiteral("DejaVu Sans Condensed"));
    narrow.setPixelSize(11);
    QFont wide(QStringLiteral("DejaVu Sans"));
    wide.setPixelSize(12);
    QTest::newRow("the program's 11-pixel condensed font") << narrow;
    QTest::newRow("a wider 12-pixel font") << wide;
}

void TestAnalysisTabs::statisticsValuesClearTheirCaptions()
{
    QFETCH(QFont, font);
    const QFont before = QApplication::font();
    QApplication::setFont(font);
    OrderListModel orders(QLatin1Char('.'));
    std::vector<Order> figures = bigFigures();
    for (int i = 0; i < 5; ++i) // the five sessions: 03:00, 07:00, 10:00, 14:00, 17:00 GMT
        for (Order o : bigFigures()) {
            o.openTime =
                QStringLiteral("%1:00:00").arg(QStringList{"04", "08", "11", "15", "18"}[i]);
            figures.push_back(o);
        }
    orders.setTable(TableOf(figures));
    StatisticsTab tab(&orders);
    QApplication::setFont(before);
    QVERIFY(tab.calculate());
    QCOMPARE(labelText(&tab, "Label65"), QStringLiteral("-74074069.50"));
    QCOMPARE(labelText(&tab, "Label66"), QStringLiteral("0.04"));

    int values = 0;
    for (const QGroupBox *box : tab.findChildren<QGroupBox *>()) {
        const QList<QLabel *> labels =
            box->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        for (const QLabel *value : labels) {
            if (value->objectName().isEmpty())
                continue;
            ++values;
            // Right of the caption on its row, inside the box, and the whole number shown.
            for (const QLabel *caption : labels) {
                if (caption->objectName().isEmpty() && caption->y() == value->y())
                    QVERIFY2(value->x() >= caption->x() +
                                               caption->fontMetrics().horizontalAdvance(
                                                   caption->text().trimmed()) +
                                               2,
                             qPrintable(value->objectName()));
            }
            QVERIFY(value->geometry().right() < box->width());
            QVERIFY2(value->fontMetrics().horizontalAdvance(value->text()) <= value->width(),
                     qPrintable(value->objectName() + QLatin1Char(' ') + value->text()));
            QVERIFY(QFontInfo(value->font()).pixelSize() >= 7);
        }
    }
    QCOMPARE(values, 7 + 50);
}

void TestAnalysisTabs::chartAxesPrintPlainNumbers_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<bool>("counts");
    QTest::newRow("Chart1") << "pairs"
                            << "Chart1" << false;
    QTest::newRow("Chart2") << "statistics"
                            << "Chart2" << false;
    QTest::newRow("Chart5") << "weekdays"
                            << "Chart5" << true;
    QTest::newRow("Chart6") << "weekdays"
                            << "Chart6" << true;
    QTest::newRow("Chart7") << "weekdays"
                            << "Chart7" << false;
    QTest::newRow("Chart8") << "weekdays"
                            << "Chart8" << false;
    QTest::newRow("Chart9") << "risk"
                            << "Chart9" << false;
    QTest::newRow("Chart10") << "risk"
                             << "Chart10" << false;
    QTest::newRow("Chart11") << "risk"
                             << "Chart11" << false;
}

void TestAnalysisTabs::chartAxesPrintPlainNumbers()
{
    QFETCH(QString, kind);
    QFETCH(QString, chart);
    QFETCH(bool, counts);
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(bigFigures()));
    std::unique_ptr<AnalysisTab> tab = makeTab(kind, &orders);
    showTab(tab.get());
    QVERIFY(tab->calculate());
    QApplication::processEvents();
    auto *view = tab->findChild<QChartView *>(chart);
    const QLocale locale = ChartLocale();
    QStringList legend;
    for (QAbstractSeries *series : view->chart()->series())
        legend.append(series->name());

    int labels = 0;
    bool grouped = false;
    for (const QString &text : chartTexts(view)) {
        if (legend.contains(text))
            continue;
        ++labels;
        bool ok = false;
        const double value = locale.toDouble(text, &ok);
        QVERIFY2(ok, qPrintable(text));
        QVERIFY2(!text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char('E')),
                 qPrintable(text));
        if (std::abs(value) >= 1000) {
            QVERIFY2(text.contains(locale.groupSeparator()), qPrintable(text));
            grouped = true;
        }
        if (counts)
            QVERIFY2(!text.contains(locale.decimalPoint()), qPrintable(text));
    }
    QVERIFY(labels >= 4);
    QVERIFY2(grouped == !counts, qPrintable(chartTexts(view).join(QLatin1Char('|'))));
}

void TestAnalysisTabs::pairsLegendShowsThirteenFullNamesInDistinctColours()
{
    std::vector<Order> trades;
    QStringList names;
    for (int i = 0; i < 13; ++i) {
        names.append(QStringLiteral("%1micro.ecn")
                         .arg(QStringList{"EURUSD", "GBPUSD", "USDJPY", "USDCHF", "AUDUSD",
                                          "NZDUSD", "USDCAD", "EURJPY", "GBPJPY", "EURGBP",
                                          "XAUUSD", "XAGUSD", "SYDUSD"}[i]));
        trades.push_back(Trade(names.last(), QString::number(1000 * (i + 1))));
    }
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(trades));
    PairsTab tab(&orders);
    showTab(&tab);
    QVERIFY(tab.calculate());
    QApplication::processEvents();
    const QStringList texts = chartTexts(tab.findChild<QChartView *>(QStringLiteral("Chart1")));
    for (const QString &name : names)
        QVERIFY2(texts.contains(name),
                 qPrintable(name + QStringLiteral(" in ") + texts.join(QLatin1Char('|'))));

    // Every colour its own, well apart; the fixed ones that did not repeat are kept.
    QList<QColor> colours;
    for (const QLineSeries *series : tab.series())
        colours.append(series->pen().color());
    for (int i = 0; i < colours.size(); ++i)
        for (int j = i + 1; j < colours.size(); ++j) {
            const int distance = std::abs(colours[i].red() - colours[j].red()) +
                                 std::abs(colours[i].green() - colours[j].green()) +
                                 std::abs(colours[i].blue() - colours[j].blue());
            QVERIFY2(distance >= 100,
                     qPrintable(QStringLiteral("Series%1 and Series%2").arg(i + 1).arg(j + 1)));
        }
    const QList<QColor> kept{{255, 128, 64}, {0, 0, 255},   {128, 128, 0}, {0, 255, 0},
                             {255, 0, 255},  {0, 128, 128}, {0, 0, 128},   {128, 0, 0}};
    QCOMPARE(colours.mid(2, 8), kept);
    QCOMPARE(colours[12], QColor(128, 0, 128));
}

void TestAnalysisTabs::pointerOverCurveDescribesTrade_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("chart");
    QTest::addColumn<int>("curve");
    QTest::addColumn<int>("point");
    QTest::addColumn<QString>("text");
    QTest::newRow("Chart2 balance") << "statistics"
                                    << "Chart2" << 0 << 1 << "1002   2010.05.24 23:00:00   2005.00";
    QTest::newRow("Chart1 second EURUSD trade")
        << "pairs"
        << "Chart1" << 0 << 1 << "EURUSD   1003   2010.05.24 23:00:00   7.00";
    QTest::newRow("Chart1 GBPUSD")
        << "pairs"
        << "Chart1" << 1 << 0 << "GBPUSD   1002   2010.05.24 23:00:00   -5.00";
}

void TestAnalysisTabs::pointerOverCurveDescribesTrade()
{
    QFETCH(QString, kind);
    QFETCH(QString, chart);
    QFETCH(int, curve);
    QFETCH(int, point);
    QFETCH(QString, text);
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf(sampleOrders()));
    std::unique_ptr<AnalysisTab> tab = makeTab(kind, &orders);
    showTab(tab.get());
    QVERIFY(tab->calculate());
    QApplication::processEvents();
    auto *view = tab->findChild<ExplorableChartView *>(chart);
    auto *series = static_cast<QXYSeries *>(view->chart()->series().at(curve));
    const QPointF position = view->chart()->mapToPosition(series->at(point), series);
    const QPoint pixel = view->mapFromScene(view->chart()->mapToScene(position)) + QPoint(2, -2);
    QCOMPARE(view->textAt(pixel), text);
}

void TestAnalysisTabs::clickNearEquityPointShowsTradeInSb2()
{
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({Trade("EURUSD", "10", "1001"), Trade("GBPUSD", "-5", "1002"),
                             Trade("USDJPY", "-3", "1003")}));
    StatisticsTab tab(&orders);
    showTab(&tab);
    QVERIFY(tab.calculate());
    QApplication::processEvents();
    auto *view = tab.findChild<ExplorableChartView *>(QStringLiteral("Chart2"));
    const QPointF position =
        view->chart()->mapToPosition(tab.equitySeries()->at(1), tab.equitySeries());
    const QPoint pixel = view->mapFromScene(view->chart()->mapToScene(position));
    // A few pixels beside the point, not on the line.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, pixel + QPoint(-2, 4));
    const QStringList texts = tab.findChild<ReadoutBar *>(QStringLiteral("sb2"))->texts();
    QCOMPARE(texts.at(0), QStringLiteral("1002"));
    QCOMPARE(texts.at(5), QStringLiteral("GBPUSD"));
}

void TestAnalysisTabs::pointerOverBarShowsDayAndValue()
{
    Order wednesday = Trade("GBPUSD", "1234.5");
    wednesday.openDate = "2010.05.26";
    OrderListModel orders(QLatin1Char('.'));
    orders.setTable(TableOf({Trade("EURUSD", "10"), Trade("EURUSD", "-4"), wednesday}));
    WeekdayTab tab(&orders);
    showTab(&tab);
    QVERIFY(tab.calculate());
    QApplication::processEvents();
    const auto pixelOf = [](QChartView *view, double day, double value) {
        const QPointF position =
            view->chart()->mapToPosition(QPointF(day, value), view->chart()->series().constFirst());
        return view->mapFromScene(view->chart()->mapToScene(position));
    };
    auto *sums = tab.findChild<ExplorableChartView *>(QStringLiteral("Chart7"));
    QCOMPARE(sums->textAt(pixelOf(sums, 2, 600)), QStringLiteral("Среда: 1234.50"));
    QCOMPARE(sums->textAt(pixelOf(sums, 0.2, 5)), QStringLiteral("Понедельник: 10.00"));
    auto *counts = tab.findChild<ExplorableChartView *>(QStringLiteral("Chart6"));
    QCOMPARE(counts->textAt(pixelOf(counts, 1, 0.5)), QStringLiteral("Вторник: 0"));
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
    // The pointer describes the trade of a balance point, the amount of a money row.
    showTab(&tab);
    auto *view = tab.findChild<ExplorableChartView *>(QStringLiteral("Chart12"));
    const auto pixelOf = [view, &tab](int point) {
        const QPointF position =
            view->chart()->mapToPosition(tab.balanceSeries()->at(point), tab.balanceSeries());
        return view->mapFromScene(view->chart()->mapToScene(position)) + QPoint(2, -2);
    };
    QCOMPARE(view->textAt(pixelOf(2)), QStringLiteral("1002   2010.05.24 23:00:00   2005.00"));
    QCOMPARE(view->textAt(pixelOf(4)), QStringLiteral("2502.00"));

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
