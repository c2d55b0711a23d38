// The headless report: the same analyses the tabs show, as text tables or one JSON object.
#pragma once

#include "analysis/riskresults.h"
#include "analysis/sessionstatistics.h"
#include "quotes/timeframe.h"
#include "statement/accountoperations.h"
#include "statement/statementtable.h"

#include <QChar>
#include <QString>

#include <cstdio>
#include <optional>

struct ReportOptions {
    QChar decimalSeparator = QLatin1Char('.');
    int serverOffset = kDefaultServerOffset;
    int balance = kDefaultStatisticsBalance;
    int riskBalance = kDefaultRiskBalance;
    bool json = false;
    // The quote section: the first row whose Ticket is quoteTicket drawn as "Показать" draws it;
    // no section when quoteTicket is empty.
    QString quoteTicket;
    QString historyFolder;
    int timeframe = kDefaultTimeframe; ///< position in Timeframes()
    int bars = 30;
    int gmtShift = 0;
    /// The statement's money rows and starting balance (an HTML statement). The statistics and
    /// summary sections start from that balance unless `balance` was given, the risk section
    /// unless `riskBalance` was.
    std::optional<AccountOperations> account;
    bool balanceGiven = false;
    bool riskBalanceGiven = false;
};

/// Runs every analysis over `table` and writes each section to `out` as soon as it is computed.
/// Returns false when a section reports an error (it is still written).
bool WriteReport(FILE *out, const QString &file, const StatementTable &table,
                 const ReportOptions &options);
