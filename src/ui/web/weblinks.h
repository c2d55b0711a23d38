// The web panes' behaviour: start-up loads, the banner's gate on the import entry, the reload
// timer and the Help menu's links.
#pragma once

#include "web/siteaddresses.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QAction;
class QTimer;
class WebPane;

using UrlOpener = std::function<void(const QUrl &)>;

class WebLinks : public QObject {
    Q_OBJECT
public:
    /// Reload period of the signals page: ten minutes.
    static constexpr int kReloadInterval = 600000;

    WebLinks(const SiteAddresses &addresses, WebPane *banner, WebPane *signalsPane,
             QObject *parent = nullptr);

    /// Hides `entry` (File > "Import(csv)") until the banner reports its first completed load.
    void gateImportEntry(QAction *entry);
    /// Loads the signals page, then the banner, and starts the reload timer.
    void start();

    /// Replaces the default browser (tests); it receives the address to open.
    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }
    void setReloadInterval(int milliseconds);
    QTimer *reloadTimer() const { return m_timer; }
    const SiteAddresses &addresses() const { return m_addresses; }

public Q_SLOTS:
    /// Help > "HELP" (F1): the manual in the default browser.
    void openHelp();
    /// Help > "Forum": the forum topic in the default browser.
    void openForum();

private:
    void bannerComplete();
    void reloadSignals();

    SiteAddresses m_addresses;
    WebPane *m_banner = nullptr;     // wb2
    WebPane *m_signals = nullptr;    // wb1
    QPointer<QAction> m_importEntry; // Open1
    bool m_bannerLoaded = false;     // the entry is visible
    QTimer *m_timer = nullptr;       // Timer1
    UrlOpener m_openUrl;
};
