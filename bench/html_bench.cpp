// veltrano-html-bench [TRADES [html|csv]]: imports the same generated trades as the terminal's
// HTML statement and as a semicolon file, taking turns, and reports the first, fastest and median
// times of each and their ratios; with a format named, imports only that one (for a profiler).
#include "formats/statementimport.h"
#include "statementgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double cpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Timing {
    std::vector<double> walls; // wall time of each run, in order
    double cpuMs = 1e30;       // processor time of all threads, least of the runs
    double fastestWallMs() const { return *std::min_element(walls.begin(), walls.end()); }
    double medianWallMs() const
    {
        std::vector<double> sorted = walls;
        std::sort(sorted.begin(), sorted.end());
        return sorted.empty() ? 0.0 : sorted[sorted.size() / 2];
    }
};

constexpr int kRuns = 11;

// One import, added to the timing.
void timeImport(const QString &path, ImportResult *result, Timing *timing)
{
    QElapsedTimer timer;
    const double cpuBefore = cpuMs();
    timer.start();
    *result = ImportStatement(path);
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    timing->walls.push_back(wall);
    timing->cpuMs = std::min(timing->cpuMs, cpuMs() - cpuBefore);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const long long trades = args.size() > 1 ? args[1].toLongLong() : 100000;
    const QString csv = QStringLiteral("bench-statement-%1.csv").arg(trades);
    const QString html = QStringLiteral("bench-statement-%1.htm").arg(trades);
    if (!QFileInfo::exists(csv) && !WriteStatement(csv, trades))
        return 1;
    if (!QFileInfo::exists(html) && !WriteHtmlStatement(html, trades))
        return 1;

    if (args.size() > 2) {
        ImportResult only;
        Timing t;
        for (int run = 0; run < kRuns; ++run)
            timeImport(args[2] == QLatin1String("html") ? html : csv, &only, &t);
        std::printf("%.1f ms wall (median %.1f), %.1f ms cpu\n", t.fastestWallMs(),
                    t.medianWallMs(), t.cpuMs);
        return only.table ? 0 : 1;
    }
    // The two imports take turns, so that a slower spell of the machine weighs on both alike.
    ImportResult fromCsv, fromHtml;
    Timing csvTime, htmlTime;
    for (int run = 0; run < kRuns; ++run) {
        timeImport(csv, &fromCsv, &csvTime);
        timeImport(html, &fromHtml, &htmlTime);
    }
    if (!fromCsv.table || !fromHtml.table) {
        std::fprintf(stderr, "import failed: %s%s\n", qPrintable(fromCsv.error),
                     qPrintable(fromHtml.error));
        return 1;
    }
    const StatementTable &a = *fromCsv.table, &b = *fromHtml.table;
    // The generator gives some pending orders a swap; the terminal lists none for them.
    bool same = a.rowCount() == b.rowCount();
    for (int row = 1; same && row < a.rowCount(); ++row) {
        const bool pending = a.cellUtf8(row, Column::Type).size() > 4;
        for (int c = 0; same && c < StatementTable::kColumnCount; ++c) {
            same = a.cellUtf8(row, c) == b.cellUtf8(row, c) || (pending && c == int(Column::Swap));
            if (!same)
                std::fprintf(stderr, "row %d column %d: %s vs %s\n", row, c,
                             qPrintable(a.cell(row, c)), qPrintable(b.cell(row, c)));
        }
    }
    auto mib = [](const QString &path) {
        return double(QFileInfo(path).size()) / (1024.0 * 1024.0);
    };
    std::printf("             file      first   fastest    median       cpu\n");
    std::printf("semicolon  %7.1f MiB %6.1f ms %6.1f ms %6.1f ms %6.1f ms\n", mib(csv),
                csvTime.walls.front(), csvTime.fastestWallMs(), csvTime.medianWallMs(),
                csvTime.cpuMs);
    std::printf("html       %7.1f MiB %6.1f ms %6.1f ms %6.1f ms %6.1f ms\n", mib(html),
                htmlTime.walls.front(), htmlTime.fastestWallMs(), htmlTime.medianWallMs(),
                htmlTime.cpuMs);
    std::printf("ratio                %6.2f x  %6.2f x  %6.2f x  %6.2f x  (%d rows, tables %s)\n",
                htmlTime.walls.front() / csvTime.walls.front(),
                htmlTime.fastestWallMs() / csvTime.fastestWallMs(),
                htmlTime.medianWallMs() / csvTime.medianWallMs(), htmlTime.cpuMs / csvTime.cpuMs,
                b.rowCount() - 1, same ? "identical" : "DIFFER");
    return same ? 0 : 1;
}
