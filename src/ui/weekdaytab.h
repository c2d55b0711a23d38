// The "По рабочим дням" tab: the pair-by-weekday grid and four weekday bar charts.
#pragma once

#include "analysis/weekdayresults.h"

#include <QList>
#include <QWidget>

class OrderListModel;
class QBarSet;
class QChartView;
class QPushButton;
class QTableView;
class ResultGridModel;

class WeekdayTab : public QWidget {
    Q_OBJECT
public:
    explicit WeekdayTab(OrderListModel *orders, QWidget *parent = nullptr);

    QPushButton *calculateButton() const { return m_button; }
    const WeekdaysResult &result() const { return m_result; }
    /// The bar sets of Chart5 .. Chart8, in that order.
    const QList<QBarSet *> &barSets() const { return m_bars; }

    /// Button3: computes from the order list and shows the result, or one message on error.
    void Button3Click();

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
    QList<QChartView *> m_charts;
    QList<QBarSet *> m_bars;
    QTableView *m_st3;
    ResultGridModel *m_grid;
    WeekdaysResult m_result;
};
