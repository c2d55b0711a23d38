// The banner reveals the import entry on any finished load, failed ones included: an offline
// user would otherwise never see the entry.
#include "web/weblinks.h"

#include "web/webpane.h"

#include <QAction>
#include <QDesktopServices>
#include <QTimer>

WebLinks::WebLinks(const SiteAddresses &addresses, WebPane *banner, WebPane *signalsPane,
                   QObject *parent)
    : QObject(parent), m_addresses(addresses), m_banner(banner), m_signals(signalsPane)
{
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(kReloadInterval);
    connect(m_timer, &QTimer::timeout, this, &WebLinks::reloadSignals);
    connect(m_banner, &WebPane::documentComplete, this, &WebLinks::bannerComplete);
    m_openUrl = [](const QUrl &url) { QDesktopServices::openUrl(url); };
}

void WebLinks::gateImportEntry(QAction *entry)
{
    m_importEntry = entry;
    entry->setVisible(m_bannerLoaded);
}

void WebLinks::start()
{
    m_signals->navigate(m_addresses.signalsPage);
    m_banner->navigate(m_addresses.bannerPage);
    m_timer->start();
}

void WebLinks::setReloadInterval(int milliseconds)
{
    m_timer->setInterval(milliseconds);
}

void WebLinks::bannerComplete()
{
    m_bannerLoaded = true;
    if (m_importEntry)
        m_importEntry->setVisible(true);
}

void WebLinks::reloadSignals()
{
    // Until the banner has loaded the entry stays hidden and the signals page is left alone.
    if (m_bannerLoaded)
        m_signals->refresh();
}

void WebLinks::openHelp()
{
    m_openUrl(m_addresses.helpPage);
}

void WebLinks::openForum()
{
    m_openUrl(m_addresses.forumTopic);
}
