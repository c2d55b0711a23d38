// Message boxes for errors, replaceable so tests can capture them instead of blocking.
#pragma once

#include "statement/cellerror.h"

#include <QString>

#include <functional>
#include <optional>

class QWidget;

using ErrorSink = std::function<void(const QString &title, const QString &text)>;

/// Shows one error message box (or hands it to the sink installed by a test).
void ShowError(QWidget *parent, const QString &title, const QString &text);

/// Shows a plain message box with one OK button, no icon and no owner window (or hands it to
/// the sink installed by a test).
void ShowNotice(const QString &title, const QString &text);

/// Shows a calculation's error, if it has one, titled with the tab's caption; true when shown.
bool ShowCalculationError(QWidget *parent, const QString &tab,
                          const std::optional<CellError> &error);

/// Replaces the message box; pass an empty function to restore it.
void SetErrorSink(ErrorSink sink);
