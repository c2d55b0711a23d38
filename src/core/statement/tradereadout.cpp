// Trade readout helpers for the status bars.
#include "statement/tradereadout.h"

QStringList TradeReadout(const StatementTable &table, int row)
{
    return table.rowTexts(row);
}

int LastRowWithTicket(const StatementTable &table, const QString &label)
{
    const QByteArray wanted = label.toUtf8();
    const std::string_view key(wanted.constData(), size_t(wanted.size()));
    for (int row = table.rowCount() - 1; row >= 1; --row)
        if (table.cellUtf8(row, Column::Ticket) == key)
            return row;
    return -1;
}
