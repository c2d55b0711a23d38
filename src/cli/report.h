// The headless report: the same analyses the tabs show, as text tables or one JSON object.
#pragma once

#include "analysis/riskresults.h"
#include "analysis/sessionstatistics.h"
#include "statement/statementtable.h"

#include <QChar>
#include <QString>

#include <cstdio>

struct ReportOptions {
    QChar decimalSeparator = QLatin1Char('.');
    int serverOffset = kDefaultServerOffset;
    int balance = kDefaultStatisticsBalance;
    int riskBalance = kDefaultRiskBalance;
    bool json = false;
};

/// Runs every analysis over `table` and writes each section to `out` as soon as it is computed.
/// Returns false when a section reports an error (it is still written).
bool WriteReport(FILE *out, const QString &file, const StatementTable &table, const ReportOptions &options);
