// The tab "Торговые сигналы Он-лайн": the signals pane with "обновить" and "назад" over it.
#pragma once

#include <QWidget>

class QPushButton;
class WebPane;

class SignalsTab : public QWidget {
    Q_OBJECT
public:
    /// Takes `pane` (WebPane::create() when none) as the signals pane wb1.
    explicit SignalsTab(WebPane *pane = nullptr, QWidget *parent = nullptr);

    WebPane *pane() const { return m_pane; }
    QPushButton *refreshButton() const { return m_refresh; }
    QPushButton *backButton() const { return m_back; }

private:
    WebPane *m_pane = nullptr;        // wb1
    QPushButton *m_refresh = nullptr; // Button5
    QPushButton *m_back = nullptr;    // Button6
};
