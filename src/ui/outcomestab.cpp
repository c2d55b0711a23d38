#include "outcomestab.h"

#include <QPushButton>

OutcomesTab::OutcomesTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button7"));
    m_button->setGeometry(8, 528, 75, 25);
    m_button->setEnabled(false);
}
