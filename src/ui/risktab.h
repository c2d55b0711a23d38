// The "Риск-менеджмент/Мани -м-ент/недоборы" tab: three per-trade curves and the per-pair grid.
#pragma once

#include "analysis/riskresults.h"

#include "analysistab.h"
#include "statementbalancefield.h"

#include <QList>

class ExplorableChartView;
class QLineEdit;
class QLineSeries;
class QTableView;
class ReadoutBar;
class ResultGridModel;

class RiskTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit RiskTab(OrderListModel *orders, QWidget *parent = nullptr);

    const RiskResult &result() const { return m_result; }
    /// Series16 (Chart9), LineSeries1 (Chart10), LineSeries2 (Chart11).
    const QList<QLineSeries *> &series() const { return m_curves; }

    QString caption() const override { return RiskCaption(); }
    /// Button4.
    bool calculate() override;
    void reset() override;
    /// Shows the trade of point `index` of curve `curve` (0..2) in sb1.
    void showTradeOfPoint(int curve, int index);

private:
    /// Curve 0..2 of the result shown: risk ratio, risk share, shortfall.
    const TradeCurve &curve(int i) const;
    QString pointText(int curve, int index) const;

    QLineEdit *m_initialBalance;                   // Edit3
    StatementBalanceField m_balanceField{nullptr}; // what m_initialBalance stands for
    QList<ExplorableChartView *> m_curveCharts;    // Chart9, Chart10, Chart11
    QList<QLineSeries *> m_curves;
    QTableView *m_pairGrid; // st4
    ResultGridModel *m_pairGridModel;
    ReadoutBar *m_tradeReadout; // sb1
    RiskResult m_result;
    PointLabels m_labels[3];
};
