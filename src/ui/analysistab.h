// The common shape of an analysis tab: a "Расчет" button that computes from the order list,
// all-or-nothing, and a way back to the empty state a new statement starts from.
#pragma once

#include "statement/cellerror.h"

#include <QWidget>

#include <optional>

class OrderListModel;
class QPushButton;

class AnalysisTab : public QWidget {
    Q_OBJECT
public:
    explicit AnalysisTab(OrderListModel *orders, QWidget *parent = nullptr);

    /// The tab's caption in the page control, also the title of its messages.
    virtual QString caption() const = 0;
    /// Computes from the order list as it stands and shows the result. A bad cell shows one
    /// message and leaves the tab as it was; false then.
    virtual bool calculate() = 0;
    /// Empties the tab's grids, labels and charts, as before the first press.
    virtual void reset() = 0;

    /// The tab's calculation button, disabled until a statement is imported.
    QPushButton *calculateButton() const { return m_calculateButton; }

protected:
    OrderListModel *orders() const { return m_orders; }
    /// Creates the calculation button; a click runs calculate().
    QPushButton *createCalculateButton(const QString &objectName, const QRect &geometry,
                                       const QString &text = QStringLiteral("Расчет"));
    /// Shows `error` titled with the caption; true when there was one.
    bool showError(const std::optional<CellError> &error);

private:
    OrderListModel *m_orders;
    QPushButton *m_calculateButton = nullptr;
};
