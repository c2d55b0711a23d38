// The "Сводка" tab: the terminal's Details figures, the account's own drawdowns, a balance chart.
#pragma once

#include "analysis/accountsummary.h"
#include "analysistab.h"

#include <vector>

class QAreaSeries;
class ExplorableChartView;
class QLabel;
class QLineSeries;
class StatementBalanceField;

class SummaryTab : public AnalysisTab {
    Q_OBJECT
public:
    /// `initialBalance` is the statistics tab's "Начальный баланс", where a statement without a
    /// balance of its own starts.
    SummaryTab(OrderListModel *orders, const StatementBalanceField *initialBalance,
               QWidget *parent = nullptr);

    const AccountSummaryResult &result() const { return m_result; }
    QLineSeries *balanceSeries() const { return m_balanceCurve; }
    QLineSeries *terminalSeries() const { return m_terminalCurve; }
    /// The drawdowns: the area between the running peak and the balance.
    QAreaSeries *drawdownArea() const { return m_drawdownArea; }

    QString caption() const override { return SummaryCaption(); }
    /// Button12.
    bool calculate() override;
    void reset() override;

private:
    void show(AccountSummaryResult result);
    QString pointText(int index) const;

    const StatementBalanceField *m_initialBalance;
    std::vector<QLabel *> m_values;      // one per figure of SummaryLayout, line by line
    ExplorableChartView *m_balanceChart; // Chart12
    QLineSeries *m_balanceCurve;
    QLineSeries *m_terminalCurve;
    QLineSeries *m_peakEdge;    // upper edge of the drawdown area
    QLineSeries *m_balanceEdge; // lower edge
    QAreaSeries *m_drawdownArea;
    AccountSummaryResult m_result;
    size_t m_firstDrawn = 0;             // the curve's point at x = 0
    std::vector<double> m_balanceValues; // the balance from that point on, for the pointer
};
