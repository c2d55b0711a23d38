// A web pane backed by Qt WebEngine.
#pragma once

#include "web/webpane.h"

class QWebEngineLoadingInfo;
class QWebEngineView;

class EnginePane : public WebPane {
    Q_OBJECT
public:
    explicit EnginePane(QWidget *parent = nullptr);

    void navigate(const QUrl &url) override;
    void refresh() override;
    void goBack() override;
    bool canGoBack() const override;
    QUrl url() const override;

    QWebEngineView *view() const { return m_view; }

private:
    void loadingChanged(const QWebEngineLoadingInfo &info);
    void showFailurePage(const QUrl &url);

    QWebEngineView *m_view = nullptr;
};
