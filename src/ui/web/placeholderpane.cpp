// Placeholder pane: every load "completes" at once, so the import entry is never held back.
#include "web/placeholderpane.h"

#include <QLabel>
#include <QVBoxLayout>

PlaceholderPane::PlaceholderPane(QWidget *parent) : WebPane(parent)
{
    m_label = new QLabel(this);
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_label);
}

void PlaceholderPane::navigate(const QUrl &url)
{
    m_url = url;
    m_label->setText(
        QStringLiteral("Веб-страницы в этой сборке не показываются.\n%1").arg(url.toString()));
    reportComplete();
}

void PlaceholderPane::refresh()
{
    reportComplete();
}

QString PlaceholderPane::text() const
{
    return m_label->text();
}

void PlaceholderPane::reportComplete()
{
    // Queued, as a web view reports: whoever navigates can connect first and sees the event.
    QMetaObject::invokeMethod(
        this, [this] { Q_EMIT documentComplete(true); }, Qt::QueuedConnection);
}
