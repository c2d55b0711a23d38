// The "Риск-менеджмент/Мани -м-ент/недоборы" tab: three per-trade curves and the per-pair grid.
#pragma once

#include "analysis/riskresults.h"

#include <QList>
#include <QWidget>

class OrderListModel;
class QChartView;
class QLineEdit;
class QLineSeries;
class QPushButton;
class QTableView;
class ReadoutBar;
class ResultGridModel;

class RiskTab : public QWidget {
    Q_OBJECT
public:
    explicit RiskTab(OrderListModel *orders, QWidget *parent = nullptr);

    QPushButton *calculateButton() const { return m_button; }
    const RiskResult &result() const { return m_result; }
    /// Series16 (Chart9), LineSeries1 (Chart10), LineSeries2 (Chart11).
    const QList<QLineSeries *> &series() const { return m_series; }

    /// Button4: computes from the order list and shows the result, or one message on error.
    void Button4Click();
    /// Shows the trade of point `index` of curve `curve` (0..2) in sb1.
    void showTradeOfPoint(int curve, int index);

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
    QLineEdit *m_edit3;
    QList<QChartView *> m_charts;
    QList<QLineSeries *> m_series;
    QTableView *m_st4;
    ResultGridModel *m_grid;
    ReadoutBar *m_sb1;
    RiskResult m_result;
    PointLabels m_labels[3];
};
