// Weekday tab layout and rendering of a WeekdaysResult.
#include "weekdaytab.h"

#include "anchorlayout.h"
#include "chartutil.h"
#include "gridview.h"
#include "orderlistmodel.h"
#include "pagesize.h"
#include "resultgridmodel.h"
#include "statement/formatmoney.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QValueAxis>

namespace {

const QList<int> kGridWidths = {70, 78, 64, 64, 64, 64};

} // namespace

WeekdayTab::WeekdayTab(OrderListModel *orders, QWidget *parent) : AnalysisTab(orders, parent)
{
    setObjectName(QStringLiteral("TabSheet4"));
    const ChartLayout layouts[] = {
        {"Chart5", "BarSeries2", {-5, 7, 246, 266}, "Количество приб. операци<br> 1-пон 5-пятн"},
        {"Chart6", "BarSeries3", {3, 271, 238, 266}, "Количество убыт. операци<br> 1-пон 5-пятн"},
        {"Chart7", "BarSeries4", {240, 7, 250, 266}, "Суммарный профит<br> 1-пон 5-пятн"},
        {"Chart8", "BarSeries5", {240, 271, 249, 266}, "Суммарный убыток <br>1-пон 5-пятн"},
    };
    for (int c = 0; c < 4; ++c) {
        const ChartLayout &l = layouts[c];
        const bool counts = c < 2;
        QBarSet *set = nullptr;
        ExplorableChartView *view =
            CreateBarChart(this, QString::fromLatin1(l.name), QString::fromLatin1(l.series),
                           l.geometry, QString::fromUtf8(l.title), &set, counts);
        // Under the pointer: the weekday's name and the bar's value.
        view->setBarText([this, set, counts](int day) {
            if (day < 0 || day >= set->count())
                return QString();
            const QString value =
                counts ? QString::number(qint64(set->at(day)))
                       : FormatMoney(set->at(day), this->orders()->decimalSeparator());
            return WeekdaysGridHeader().value(day + 1) + QStringLiteral(": ") + value;
        });
        m_dayCharts.append(view);
        m_dayBars.append(set);
    }

    auto *caption = new QLabel(QStringLiteral("Сумма результатов операций  по дням"), this);
    caption->setObjectName(QStringLiteral("Label120"));
    caption->move(568, 8);
    caption->adjustSize(); // the tab's layout keeps the size a widget has

    m_pairDayGridModel = new ResultGridModel(this);
    m_pairDayGridModel->setHeader(WeekdaysGridHeader());
    m_pairDayGrid = CreateResultGrid(this, QStringLiteral("st3"), {496, 24, 417, 505}, kGridWidths);
    SetGridModel(m_pairDayGrid, m_pairDayGridModel, kGridWidths);

    createCalculateButton(QStringLiteral("Button3"), {16, 544, 75, 25},
                          QStringLiteral("Расчитать"));

    // The four charts share the left half of the extra room, the grid the right half.
    auto *layout = new AnchorLayout(this, kPageSize);
    const AnchorLayout::Growth chartGrowth[4] = {
        {0, 0, 0.25, 0.5}, {0, 0.5, 0.25, 0.5}, {0.25, 0, 0.25, 0.5}, {0.25, 0.5, 0.25, 0.5}};
    for (int c = 0; c < 4; ++c)
        layout->anchor(m_dayCharts[c], chartGrowth[c]);
    layout->anchor(caption, {0.5, 0, 0, 0});
    layout->anchor(m_pairDayGrid, {0.5, 0, 0.5, 1});
    layout->anchor(calculateButton(), AnchorLayout::Bottom);
}

void WeekdayTab::reset()
{
    m_result = WeekdaysResult();
    m_pairDayGridModel->setGrid({WeekdaysGridHeader()});
    for (QBarSet *set : std::as_const(m_dayBars))
        set->remove(0, set->count());
}

bool WeekdayTab::calculate()
{
    WeekdaysResult result = CalculateWeekdays(orders()->table(), orders()->decimalSeparator());
    if (showError(result.error))
        return false;
    m_result = std::move(result);
    m_pairDayGridModel->setGrid(m_result.grid, m_result.shades);
    const std::array<double, 5> values[4] = {
        {double(m_result.winCount[0]), double(m_result.winCount[1]), double(m_result.winCount[2]),
         double(m_result.winCount[3]), double(m_result.winCount[4])},
        {double(m_result.lossCount[0]), double(m_result.lossCount[1]),
         double(m_result.lossCount[2]), double(m_result.lossCount[3]),
         double(m_result.lossCount[4])},
        m_result.winSum,
        m_result.lossSum};
    for (int c = 0; c < 4; ++c) {
        QBarSet *set = m_dayBars[c];
        set->remove(0, set->count());
        double low = 0, high = 0;
        for (const double v : values[c]) {
            set->append(v);
            low = std::min(low, v);
            high = std::max(high, v);
        }
        auto *axis =
            qobject_cast<QValueAxis *>(m_dayCharts[c]->chart()->axes(Qt::Vertical).constFirst());
        SetAxisRange(axis, low, high > low ? high : low + 1);
        axis->applyNiceNumbers();
    }
    return true;
}
