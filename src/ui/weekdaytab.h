// The "По рабочим дням" tab: the pair-by-weekday grid and four weekday bar charts.
#pragma once

#include "analysis/weekdayresults.h"

#include "analysistab.h"

#include <QList>

class QBarSet;
class ExplorableChartView;
class QTableView;
class ResultGridModel;

class WeekdayTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit WeekdayTab(OrderListModel *orders, QWidget *parent = nullptr);

    const WeekdaysResult &result() const { return m_result; }
    /// The bar sets of Chart5 .. Chart8, in that order.
    const QList<QBarSet *> &barSets() const { return m_dayBars; }

    QString caption() const override { return WeekdaysCaption(); }
    /// Button3.
    bool calculate() override;
    void reset() override;

private:
    QList<ExplorableChartView *> m_dayCharts; // Chart5 .. Chart8
    QList<QBarSet *> m_dayBars;
    QTableView *m_pairDayGrid; // st3
    ResultGridModel *m_pairDayGridModel;
    WeekdaysResult m_result;
};
