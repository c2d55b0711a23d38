// The "Серии" tab: how many winning and losing runs of each length, per pair and in total.
#pragma once

#include "analysis/streaks.h"
#include "analysistab.h"

class QTableView;
class ResultGridModel;

class StreaksTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit StreaksTab(OrderListModel *orders, QWidget *parent = nullptr);

    const StreaksResult &result() const { return m_result; }

    QString caption() const override { return StreaksCaption(); }
    /// Button8.
    bool calculate() override;
    void reset() override;

private:
    QTableView *m_winGrid;  // StringGrid1
    QTableView *m_lossGrid; // StringGrid2
    ResultGridModel *m_winGridModel;
    ResultGridModel *m_lossGridModel;
    StreaksResult m_result;
};
