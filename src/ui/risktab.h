// Tab stub: its calculation button.
#pragma once

#include <QWidget>

class OrderListModel;
class QPushButton;

class RiskTab : public QWidget {
    Q_OBJECT
public:
    explicit RiskTab(OrderListModel *orders, QWidget *parent = nullptr);
    QPushButton *calculateButton() const { return m_button; }

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
};
