// The "Закрытие/Исходы" tab: outcomes per pair (st5) and result groups (st6).
#pragma once

#include "analysis/exitoutcomes.h"

#include "analysistab.h"

class QTableView;
class ResultGridModel;

class OutcomesTab : public AnalysisTab {
    Q_OBJECT
public:
    explicit OutcomesTab(OrderListModel *orders, QWidget *parent = nullptr);

    const OutcomesResult &result() const { return m_result; }

    QString caption() const override { return OutcomesCaption(); }
    /// Button7.
    bool calculate() override;
    void reset() override;

private:
    QTableView *m_outcomeGrid; // st5
    QTableView *m_groupGrid;   // st6
    ResultGridModel *m_outcomeGridModel;
    ResultGridModel *m_groupGridModel;
    OutcomesResult m_result;
};
