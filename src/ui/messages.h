// Message boxes for errors, replaceable so tests can capture them instead of blocking.
#pragma once

#include <QString>

#include <functional>

class QWidget;

using ErrorSink = std::function<void(const QString &title, const QString &text)>;

/// Shows one error message box (or hands it to the sink installed by a test).
void ShowError(QWidget *parent, const QString &title, const QString &text);

/// Replaces the message box; pass an empty function to restore it.
void SetErrorSink(ErrorSink sink);
