// One trade's 14 cells as a status bar shows them, and the way back from a chart point's label.
#pragma once

#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

/// The trade the quote chart draws: a copy of one row's 14 texts, taken when the row was
/// selected, and the row it came from, so that messages about its cells name that row.
struct SelectedTrade {
    int row = -1;      ///< statement table row (1..), -1 before any selection
    QStringList cells; ///< the 14 texts, Ticket first

    QString cell(Column column) const { return cells.value(int(column)); }
    /// No trade: the Ticket text is empty (the quote chart then does nothing).
    bool isEmpty() const { return cell(Column::Ticket).isEmpty(); }
};

/// The 14 texts of `row`, column 0 (Ticket) first: a copy, later edits do not change it.
QStringList TradeReadout(const StatementTable &table, int row);

/// The last row (1..) whose Ticket equals `label` exactly, or -1 when none does.
int LastRowWithTicket(const StatementTable &table, const QString &label);

/// The first row (1..) whose Ticket equals `ticket` exactly, or -1 when none does.
int FirstRowWithTicket(const StatementTable &table, const QString &ticket);

/// Row `row` of `table` as the quote chart's trade (what selecting it in the order list copies).
SelectedTrade SelectTrade(const StatementTable &table, int row);
