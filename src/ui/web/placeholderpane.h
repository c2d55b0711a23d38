// The pane of a build without Qt WebEngine: the page's address on a plain background.
#pragma once

#include "web/webpane.h"

class QLabel;

class PlaceholderPane : public WebPane {
    Q_OBJECT
public:
    explicit PlaceholderPane(QWidget *parent = nullptr);

    /// Shows the address and reports a completed load at once (from the event loop).
    void navigate(const QUrl &url) override;
    void refresh() override;
    void goBack() override {}
    bool canGoBack() const override { return false; }
    QUrl url() const override { return m_url; }

    QString text() const;

private:
    void reportComplete();

    QUrl m_url;
    QLabel *m_label = nullptr;
};
