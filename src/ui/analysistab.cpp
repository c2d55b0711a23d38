// The calculation button and error message every analysis tab shares.
#include "analysistab.h"

#include "messages.h"

#include <QPushButton>

AnalysisTab::AnalysisTab(OrderListModel *orders, QWidget *parent)
    : QWidget(parent), m_orders(orders)
{
}

QPushButton *AnalysisTab::createCalculateButton(const QString &objectName, const QRect &geometry,
                                                const QString &text)
{
    m_calculateButton = new QPushButton(text, this);
    m_calculateButton->setObjectName(objectName);
    m_calculateButton->setGeometry(geometry);
    m_calculateButton->setEnabled(false);
    connect(m_calculateButton, &QPushButton::clicked, this, [this] { calculate(); });
    return m_calculateButton;
}

bool AnalysisTab::showError(const std::optional<CellError> &error)
{
    return ShowCalculationError(this, caption(), error);
}
