// The "Статистика" tab: totals, the five session boxes, the equity chart and its readout.
#pragma once

#include "analysis/sessionstatistics.h"

#include "analysistab.h"
#include "statementbalancefield.h"

#include <array>

class ExplorableChartView;
class QLabel;
class QLineEdit;
class QLineSeries;
class ReadoutBar;

class StatisticsTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit StatisticsTab(OrderListModel *orders, QWidget *parent = nullptr);

    /// The result now shown (empty before the first complete press).
    const StatisticsResult &result() const { return m_result; }
    /// "Начальный баланс", which the summary tab starts from too.
    const StatementBalanceField &balanceField() const { return m_balanceField; }
    QLineSeries *equitySeries() const { return m_balanceCurve; }

    QString caption() const override { return StatisticsCaption(); }
    /// Button2.
    bool calculate() override;
    void reset() override;
    /// Shows the trade of equity point `index` in sb2 (the last row with its ticket).
    void showTradeOfPoint(int index);

private:
    void show(StatisticsResult result);
    /// The text under the pointer at equity point `index`.
    QString pointText(int index) const;
    QLabel *addValueLabel(QWidget *box, const QString &name, int left, int top);

    QLineEdit *m_serverOffset;                     // Edit1
    QLineEdit *m_initialBalance;                   // Edit2
    StatementBalanceField m_balanceField{nullptr}; // what m_initialBalance stands for
    ExplorableChartView *m_balanceChart;           // Chart2
    QLineSeries *m_balanceCurve;                   // Series14
    ReadoutBar *m_tradeReadout;                    // sb2
    QLabel *m_winCount, *m_winSum, *m_winAverage;
    QLabel *m_lossCount, *m_lossSum, *m_lossAverage;
    QLabel *m_net;
    std::array<std::array<QLabel *, 10>, 5> m_sessionLabels{};
    StatisticsResult m_result;
    PointLabels m_equityLabels;
};
