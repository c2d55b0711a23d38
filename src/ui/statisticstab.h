// The "Статистика" tab: totals, the five session boxes, the equity chart and its readout.
#pragma once

#include "analysis/sessionstatistics.h"

#include <QWidget>

#include <array>

class OrderListModel;
class QChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class QPushButton;
class ReadoutBar;

class StatisticsTab : public QWidget {
    Q_OBJECT
public:
    explicit StatisticsTab(OrderListModel *orders, QWidget *parent = nullptr);

    QPushButton *calculateButton() const { return m_button; }
    /// The result now shown (empty before the first complete press).
    const StatisticsResult &result() const { return m_result; }
    QLineSeries *equitySeries() const { return m_series14; }

    /// Button2: computes from the order list and shows the result, or one message on error.
    void Button2Click();
    /// Shows the trade of equity point `index` in sb2 (the last row with its ticket).
    void showTradeOfPoint(int index);

private:
    void show(StatisticsResult result);
    QLabel *addValueLabel(QWidget *box, const QString &name, int left, int top);

    OrderListModel *m_orders;
    QPushButton *m_button;
    QLineEdit *m_edit1;
    QLineEdit *m_edit2;
    QChartView *m_chart2;
    QLineSeries *m_series14;
    ReadoutBar *m_sb2;
    QLabel *m_winCount, *m_winSum, *m_winAverage;
    QLabel *m_lossCount, *m_lossSum, *m_lossAverage;
    QLabel *m_net;
    std::array<std::array<QLabel *, 10>, 5> m_sessionLabels{};
    StatisticsResult m_result;
    PointLabels m_equityLabels;
};
