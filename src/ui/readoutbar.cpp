// Fourteen sunken panels with the widths of the statement's readout.
#include "readoutbar.h"

#include "statement/tradereadout.h"

#include <QHBoxLayout>
#include <QLabel>

namespace {
const int kPanelWidths[14] = {80, 80, 60, 50, 40, 60, 60, 60, 80, 80, 60, 60, 60, 50};
}

ReadoutBar::ReadoutBar(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const int width : kPanelWidths) {
        auto *panel = new QLabel(this);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setFixedWidth(width);
        panel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(panel);
        m_panels.append(panel);
    }
    layout->addStretch(1);
}

void ReadoutBar::setTexts(const QStringList &texts)
{
    for (int i = 0; i < m_panels.size(); ++i) {
        const QString text = texts.value(i);
        m_panels[i]->setText(text);
        m_panels[i]->setToolTip(text);
    }
}

QStringList ReadoutBar::texts() const
{
    QStringList result;
    for (const QLabel *panel : m_panels)
        result.append(panel->text());
    return result;
}

void ReadoutBar::showLastRowWithTicket(const StatementTable &table, const QString &label)
{
    const int row = LastRowWithTicket(table, label);
    if (row > 0)
        setTexts(TradeReadout(table, row));
}
