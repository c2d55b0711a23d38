// Tab stub: its calculation button.
#pragma once

#include <QWidget>

class OrderListModel;
class QPushButton;

class PairsTab : public QWidget {
    Q_OBJECT
public:
    explicit PairsTab(OrderListModel *orders, QWidget *parent = nullptr);
    QPushButton *calculateButton() const { return m_button; }

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
};
