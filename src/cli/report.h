// The headless report: the same analyses the tabs show, as text tables or one JSON object.
#pragma once

#include "json.h"
#include "statementtable.h"

#include <QChar>
#include <QString>

struct ReportOptions {
    QChar decimalSeparator = QLatin1Char('.');
    int serverOffset = 1;
    int balance = 2000;
    int riskBalance = 8000;
};

struct Report {
    Json json = Json::object();
    QString text;
    bool anySectionFailed = false;
};

/// Runs every analysis over `table` and renders the results.
Report BuildReport(const QString &file, const StatementTable &table, const ReportOptions &options);
