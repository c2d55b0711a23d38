#include "statisticstab.h"

#include <QPushButton>

StatisticsTab::StatisticsTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button2"));
    m_button->setGeometry(8, 520, 75, 25);
    m_button->setEnabled(false);
}
