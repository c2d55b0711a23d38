// Engine pane: loads pages, reports each finished load, replaces the engine's error page.
#include "web/enginepane.h"

#include "web/failurepage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

EnginePane::EnginePane(QWidget *parent) : WebPane(parent)
{
    m_view = new QWebEngineView(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    connect(m_view->page(), &QWebEnginePage::loadingChanged, this, &EnginePane::loadingChanged);
}

void EnginePane::navigate(const QUrl &url)
{
    m_view->load(url);
}

void EnginePane::refresh()
{
    // On a failed address the engine keeps the failed entry current, so this tries it again.
    m_view->reload();
}

void EnginePane::goBack()
{
    if (canGoBack())
        m_view->back();
}

bool EnginePane::canGoBack() const
{
    return m_view->history()->canGoBack();
}

QUrl EnginePane::url() const
{
    return m_view->url();
}

void EnginePane::loadingChanged(const QWebEngineLoadingInfo &info)
{
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadStartedStatus:
        return;
    case QWebEngineLoadingInfo::LoadStoppedStatus: // replaced by a newer load: nothing completed
        Q_EMIT historyChanged(canGoBack());
        return;
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        Q_EMIT historyChanged(canGoBack());
        Q_EMIT documentComplete(true);
        return;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        showFailurePage(info.url());
        Q_EMIT historyChanged(canGoBack());
        Q_EMIT documentComplete(false);
        return;
    }
}

void EnginePane::showFailurePage(const QUrl &url)
{
    // The engine has committed its own (English) error page for the failed address, so the
    // history and a reload still refer to that address; only the document is rewritten.
    const QByteArray html =
        QJsonDocument(QJsonArray{FailurePageHtml(url)}).toJson(QJsonDocument::Compact);
    m_view->page()->runJavaScript(
        QStringLiteral("document.open(); document.write(%1[0]); document.close();")
            .arg(QString::fromUtf8(html)));
}
