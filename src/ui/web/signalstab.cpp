// Signals tab: the pane fills the page, the two buttons keep their place from its bottom right.
#include "web/signalstab.h"

#include "web/webpane.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {
// Laid out on a 936 × 573 page: "обновить" at (568, 497), "назад" at (648, 497), 75 × 25 each.
constexpr int kPageWidth = 936;
constexpr int kPageHeight = 573;
constexpr QRect kRefreshPlace(568, 497, 75, 25);
constexpr QRect kBackPlace(648, 497, 75, 25);

QRect AnchoredBottomRight(const QRect &place, const QSize &page)
{
    return place.translated(page.width() - kPageWidth, page.height() - kPageHeight);
}
} // namespace

SignalsTab::SignalsTab(WebPane *pane, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet6"));
    m_pane = pane ? pane : WebPane::create();
    m_pane->setParent(this);
    m_pane->setObjectName(QStringLiteral("wb1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pane);

    m_refresh = new QPushButton(QStringLiteral("обновить"), this);
    m_refresh->setObjectName(QStringLiteral("Button5"));
    m_back = new QPushButton(QStringLiteral("назад"), this);
    m_back->setObjectName(QStringLiteral("Button6"));
    // Without an earlier page "назад" has nothing to show.
    m_back->setEnabled(m_pane->canGoBack());
    placeButtons();

    connect(m_refresh, &QPushButton::clicked, m_pane, &WebPane::refresh);
    connect(m_back, &QPushButton::clicked, m_pane, &WebPane::goBack);
    connect(m_pane, &WebPane::historyChanged, m_back, &QPushButton::setEnabled);
}

void SignalsTab::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeButtons();
}

void SignalsTab::placeButtons()
{
    m_refresh->setGeometry(AnchoredBottomRight(kRefreshPlace, size()));
    m_back->setGeometry(AnchoredBottomRight(kBackPlace, size()));
    m_refresh->raise();
    m_back->raise();
}
