// veltrano-bench [TRADES] [FILE]: times the import (and the analyses) over a generated statement
// and reports rows per second and peak memory against the file size.
#include "analysis/exitoutcomes.h"
#include "analysis/pairresults.h"
#include "analysis/riskresults.h"
#include "analysis/sessionstatistics.h"
#include "analysis/weekdayresults.h"
#include "formats/statementimport.h"
#include "report.h"
#include "statement/parsenumber.h"
#include "statementgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <sys/resource.h>

#include <cstdio>
#include <functional>

namespace {

double peakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const long long trades = args.size() > 1 ? args[1].toLongLong() : 1000000;
    const QString path =
        args.size() > 2 ? args[2] : QStringLiteral("bench-statement-%1.csv").arg(trades);
    if (!QFileInfo::exists(path)) {
        std::printf("generating %lld trades into %s\n", trades, qPrintable(path));
        if (!WriteStatement(path, trades))
            return 1;
    }
    const double fileMiB = double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    const double baseline = peakMiB();

    ImportResult imported;
    const double importMs = timeMs([&] { imported = ImportStatement(path); });
    if (!imported.table) {
        std::fprintf(stderr, "import failed: %s\n", qPrintable(imported.error));
        return 1;
    }
    const StatementTable &table = *imported.table;
    const int rows = table.rowCount() - 1;
    std::printf("file          %10.1f MiB, %d trade rows\n", fileMiB, rows);
    std::printf("import        %10.1f ms   %12.0f rows/s\n", importMs, rows / (importMs / 1000.0));
    std::printf("table storage %10.1f MiB  (%.2f x file)\n",
                double(table.memoryBytes()) / (1024.0 * 1024.0),
                double(table.memoryBytes()) / (1024.0 * 1024.0) / fileMiB);

    const QChar dot = QLatin1Char('.');
    auto report = [&](const char *name, double ms, bool failed) {
        std::printf("%-13s %10.1f ms%s\n", name, ms, failed ? "   (error!)" : "");
    };
    {
        StatisticsResult r;
        const double ms = timeMs([&] { r = CalculateStatistics(table, StatisticsSettings{}); });
        report("statistics", ms, bool(r.error));
    }
    {
        PairsResult r;
        const double ms = timeMs([&] { r = CalculatePairs(table, dot); });
        report("pairs", ms, bool(r.error));
    }
    {
        WeekdaysResult r;
        const double ms = timeMs([&] { r = CalculateWeekdays(table, dot); });
        report("weekdays", ms, bool(r.error));
    }
    {
        RiskResult r;
        const double ms = timeMs([&] { r = CalculateRisk(table, RiskSettings{}); });
        report("risk", ms, bool(r.error));
    }
    {
        OutcomesResult r;
        const double ms = timeMs([&] { r = CalculateOutcomes(table, dot); });
        report("outcomes", ms, bool(r.error));
    }
    {
        // The whole JSON report as veltrano-report writes it (all five analyses, to /dev/null).
        FILE *null = std::fopen("/dev/null", "w");
        ReportOptions options;
        options.json = true;
        bool ok = true;
        const double ms = timeMs([&] { ok = WriteReport(null, path, table, options); });
        std::fclose(null);
        report("json report", ms, !ok);
    }
    std::printf("peak RSS      %10.1f MiB  (%.2f x file; %.1f MiB before the import)\n", peakMiB(),
                peakMiB() / fileMiB, baseline);
    return 0;
}
