// The "Закрытие/Исходы" tab: outcomes per pair (st5) and result groups (st6).
#pragma once

#include "analysis/exitoutcomes.h"

#include <QWidget>

class OrderListModel;
class QPushButton;
class QTableView;
class ResultGridModel;

class OutcomesTab : public QWidget {
    Q_OBJECT
public:
    explicit OutcomesTab(OrderListModel *orders, QWidget *parent = nullptr);

    QPushButton *calculateButton() const { return m_button; }
    const OutcomesResult &result() const { return m_result; }

    /// Button7: computes from the order list and shows the result, or one message on error.
    void Button7Click();

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
    QTableView *m_st5;
    QTableView *m_st6;
    ResultGridModel *m_outcomes;
    ResultGridModel *m_groups;
    OutcomesResult m_result;
};
