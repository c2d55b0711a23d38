// Tab stub: its calculation button.
#pragma once

#include <QWidget>

class OrderListModel;
class QPushButton;

class WeekdayTab : public QWidget {
    Q_OBJECT
public:
    explicit WeekdayTab(OrderListModel *orders, QWidget *parent = nullptr);
    QPushButton *calculateButton() const { return m_button; }

private:
    OrderListModel *m_orders;
    QPushButton *m_button;
};
