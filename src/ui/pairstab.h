// The "По валютным парам" tab: profit and count per pair, cumulative curves of the first 13 pairs.
#pragma once

#include "analysis/pairresults.h"

#include "analysistab.h"

#include <QList>

class ExplorableChartView;
class QLineSeries;
class QTableView;
class ResultGridModel;

class PairsTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit PairsTab(OrderListModel *orders, QWidget *parent = nullptr);

    const PairsResult &result() const { return m_result; }
    /// The cumulative profit curves of the first 13 pairs (Series1 .. Series13 of Chart1).
    const QList<QLineSeries *> &series() const { return m_pairCurves; }

    QString caption() const override { return PairsCaption(); }
    /// Button1.
    bool calculate() override;
    void reset() override;

private:
    const std::vector<double> &curveValues(int i) const;
    QString pointText(int curve, int index) const;

    ExplorableChartView *m_profitChart; // Chart1
    QList<QLineSeries *> m_pairCurves;
    std::vector<std::vector<int>> m_curveRows; // the statement row of each curve point
    QTableView *m_pairGrid;                    // st2
    ResultGridModel *m_pairGridModel;
    PairsResult m_result;
};
