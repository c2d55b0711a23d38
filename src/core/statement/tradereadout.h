// One trade's 14 cells as a status bar shows them, and the way back from a chart point's label.
#pragma once

#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

/// The 14 texts of `row`, column 0 (Ticket) first: a copy, later edits do not change it.
QStringList TradeReadout(const StatementTable &table, int row);

/// The last row (1..) whose Ticket equals `label` exactly, or -1 when none does.
int LastRowWithTicket(const StatementTable &table, const QString &label);
