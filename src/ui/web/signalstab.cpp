// Signals tab: the pane fills the page, the two buttons stay over it near its bottom edge.
#include "web/signalstab.h"

#include "anchorlayout.h"
#include "pagesize.h"
#include "web/webpane.h"

#include <QPushButton>

SignalsTab::SignalsTab(WebPane *pane, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet6"));
    m_pane = pane ? pane : WebPane::create();
    m_pane->setParent(this);
    m_pane->setObjectName(QStringLiteral("wb1"));
    m_pane->setGeometry(QRect(QPoint(0, 0), kPageSize));

    m_refresh = new QPushButton(QStringLiteral("обновить"), this);
    m_refresh->setObjectName(QStringLiteral("Button5"));
    m_refresh->setGeometry(568, 497, 75, 25);
    m_back = new QPushButton(QStringLiteral("назад"), this);
    m_back->setObjectName(QStringLiteral("Button6"));
    m_back->setGeometry(648, 497, 75, 25);
    m_refresh->raise();
    m_back->raise();
    // Without an earlier page "назад" has nothing to show.
    m_back->setEnabled(m_pane->canGoBack());

    auto *layout = new AnchorLayout(this, kPageSize);
    layout->anchor(m_pane, AnchorLayout::Stretch);
    layout->anchor(m_refresh, AnchorLayout::Bottom);
    layout->anchor(m_back, AnchorLayout::Bottom);

    connect(m_refresh, &QPushButton::clicked, m_pane, &WebPane::refresh);
    connect(m_back, &QPushButton::clicked, m_pane, &WebPane::goBack);
    connect(m_pane, &WebPane::historyChanged, m_back, &QPushButton::setEnabled);
}
