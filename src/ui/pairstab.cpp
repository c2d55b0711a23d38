#include "pairstab.h"

#include <QPushButton>

PairsTab::PairsTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button1"));
    m_button->setGeometry(24, 512, 113, 25);
    m_button->setEnabled(false);
}
