#include "weekdaytab.h"

#include <QPushButton>

WeekdayTab::WeekdayTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    m_button = new QPushButton(QStringLiteral("Расчитать"), this);
    m_button->setObjectName(QStringLiteral("Button3"));
    m_button->setGeometry(16, 544, 75, 25);
    m_button->setEnabled(false);
}
