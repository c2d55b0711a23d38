// Builds small statement tables for the analysis tests.
#pragma once

#include "statement/statementtable.h"

#include <QStringList>

#include <vector>

/// One order with the fields the analyses read; the rest are filled with plausible texts.
struct Order {
    QString ticket = QStringLiteral("1");
    QString openDate = QStringLiteral("2010.05.24");
    QString openTime = QStringLiteral("10:00:00");
    QString type = QStringLiteral("BUY");
    QString symbol = QStringLiteral("EURUSD");
    QString openPrice = QStringLiteral("1.2000");
    QString stopLoss = QStringLiteral("0");
    QString takeProfit = QStringLiteral("0");
    QString closePrice = QStringLiteral("1.2000");
    QString profit = QStringLiteral("0");
};

inline StatementTable TableOf(const std::vector<Order> &orders)
{
    std::vector<QStringList> rows{{"Ticket", "Open Date", "Open Time", "Type", "Size", "Item",
                                   "Price", "S / L", "T / P", "Close Date", "Close Time", "Price",
                                   "Swap", "Profit"}};
    for (const Order &o : orders)
        rows.push_back({o.ticket, o.openDate, o.openTime, o.type, "0.10", o.symbol, o.openPrice,
                        o.stopLoss, o.takeProfit, o.openDate, "23:00:00", o.closePrice, "0.00",
                        o.profit});
    return StatementTable::fromRows(rows);
}

/// Orders with only a symbol and a profit (the rest default).
inline Order Trade(const QString &symbol, const QString &profit,
                   const QString &ticket = QStringLiteral("1"))
{
    Order o;
    o.symbol = symbol;
    o.profit = profit;
    o.ticket = ticket;
    return o;
}
