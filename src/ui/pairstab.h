// The "По валютным парам" tab: profit and count per pair, cumulative curves of the first 13 pairs.
#pragma once

#include "analysis/pairresults.h"

#include <QList>
#include <QWidget>

class OrderListModel;
class QChartView;
class QLineSeries;
class QPushButton;
class QTableView;
class ResultGridModel;

class PairsTab : public QWidget {
    Q_OBJECT
public:
    explicit PairsTab(OrderListModel *orders, QWidget *parent = nullptr);

    QPushButton *calculateButton() const { return m_button; }
    const PairsResult &result() const { return m_result; }
    const QList<QLineSeries *> &series() const { return m_series; }

    /// Button1: computes from the order list and shows the result, or one message on error.
    void Button1Click();

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
    QChartView *m_chart1;
    QList<QLineSeries *> m_series;
    QTableView *m_st2;
    ResultGridModel *m_grid;
    PairsResult m_result;
};
