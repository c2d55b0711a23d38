// Error message boxes.
#include "messages.h"

#include <QMessageBox>

namespace {
ErrorSink &sink()
{
    static ErrorSink instance;
    return instance;
}
} // namespace

void ShowError(QWidget *parent, const QString &title, const QString &text)
{
    if (sink()) {
        sink()(title, text);
        return;
    }
    QMessageBox::warning(parent, title, text);
}

void ShowNotice(const QString &title, const QString &text)
{
    if (sink()) {
        sink()(title, text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.exec();
}

bool ShowCalculationError(QWidget *parent, const QString &tab,
                          const std::optional<CellError> &error)
{
    if (!error)
        return false;
    ShowError(parent, tab, error->describe());
    return true;
}

void SetErrorSink(ErrorSink sink_)
{
    sink() = std::move(sink_);
}
