#include "risktab.h"

#include <QPushButton>

RiskTab::RiskTab(OrderListModel *orders, QWidget *parent) : QWidget(parent), m_orders(orders)
{
    m_button = new QPushButton(QStringLiteral("Расчет"), this);
    m_button->setObjectName(QStringLiteral("Button4"));
    m_button->setGeometry(616, 523, 75, 24);
    m_button->setEnabled(false);
}
