// A pane that shows one web page: the banner strip and the signals tab are built on it.
#pragma once

#include <QUrl>
#include <QWidget>

class WebPane : public QWidget {
    Q_OBJECT
public:
    /// The pane of this build: a web view, or a placeholder when built without Qt WebEngine.
    static WebPane *create(QWidget *parent = nullptr);

    /// Starts loading `url`; returns at once, documentComplete() follows.
    virtual void navigate(const QUrl &url) = 0;
    /// Loads the page shown again (after a failure: tries its address again).
    virtual void refresh() = 0;
    /// Shows the previous page of the pane's own history; nothing when there is none.
    virtual void goBack() = 0;
    virtual bool canGoBack() const = 0;
    /// The address of the page shown (or failed).
    virtual QUrl url() const = 0;

Q_SIGNALS:
    /// A load has ended: `ok` false when the page could not be loaded (the pane then shows
    /// a short page saying so).
    void documentComplete(bool ok);
    /// The pane's history changed; `canGoBack` tells whether goBack() has a page to show.
    void historyChanged(bool canGoBack);

protected:
    using QWidget::QWidget;
};
