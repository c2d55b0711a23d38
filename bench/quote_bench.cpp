// veltrano-quote-bench [FOLDER]: draws one trade from a ten-year M1 history and from a one-month
// one (generated into FOLDER when missing) and reports the time per drawing.
#include "historygenerator.h"
#include "quotes/bardatetime.h"
#include "quotes/historyreader.h"
#include "quotes/quotechart.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

std::int64_t utc(int year, int month, int day)
{
    return DaysFromCivil(year, month, day) * 86400;
}

struct Timing {
    double firstUs = 0;
    double medianUs = 0;
    size_t candles = 0;
};

// The first drawing, then the median of `repeats` more (each one opens, searches and reads).
Timing timeDrawing(const SelectedTrade &trade, const QuoteSettings &settings, int repeats)
{
    Timing timing;
    QElapsedTimer timer;
    timer.start();
    const QuoteChart first = DrawTrade(trade, settings);
    timing.firstUs = double(timer.nsecsElapsed()) / 1e3;
    timing.candles = first.candles.size();
    if (first.error)
        std::fprintf(stderr, "drawing failed: %s\n", qPrintable(first.error->describe()));
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        timer.restart();
        const QuoteChart chart = DrawTrade(trade, settings);
        times.push_back(double(timer.nsecsElapsed()) / 1e3);
    }
    std::nth_element(times.begin(), times.begin() + repeats / 2, times.end());
    timing.medianUs = times[size_t(repeats / 2)];
    return timing;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QDir folder(args.size() > 1 ? args[1] : QStringLiteral("bench-history"));
    const QString longFolder = folder.filePath(QStringLiteral("ten-years"));
    const QString shortFolder = folder.filePath(QStringLiteral("one-month"));
    const QString longFile = QDir(longFolder).filePath(QStringLiteral("EURUSD1.hst"));
    const QString shortFile = QDir(shortFolder).filePath(QStringLiteral("EURUSD1.hst"));
    if (!QFileInfo::exists(longFile) || !QFileInfo::exists(shortFile)) {
        std::printf("generating M1 histories into %s\n", qPrintable(folder.path()));
        QElapsedTimer timer;
        timer.start();
        if (!QDir().mkpath(longFolder) || !QDir().mkpath(shortFolder) ||
            !WriteMinuteHistory(longFile, utc(2010, 1, 1), utc(2020, 1, 1)) ||
            !WriteMinuteHistory(shortFile, utc(2019, 12, 1), utc(2020, 1, 1))) {
            std::fprintf(stderr, "cannot write the histories\n");
            return 1;
        }
        std::printf("  written in %.1f s\n", double(timer.elapsed()) / 1e3);
    }
    for (const QString &file : {longFile, shortFile}) {
        HistoryReader reader;
        reader.open(file);
        std::printf("%-40s %9lld bars, %7.1f MiB\n", qPrintable(file),
                    static_cast<long long>(reader.barCount()),
                    double(QFileInfo(file).size()) / (1024.0 * 1024.0));
    }

    const SelectedTrade trade{
        1, QStringLiteral("1;2019.12.18;10:23:00;BUY;0.10;EURUSD;1.3000;1.2950;1.3100;"
                          "2019.12.18;14:10:00;1.3050;0.00;5.00")
               .split(QLatin1Char(';'))};
    constexpr int kRepeats = 300;
    {
        // One drawing first, so that neither file pays for the process's first steps.
        QuoteSettings warmUp;
        warmUp.historyFolder = shortFolder;
        warmUp.timeframe = 0;
        DrawTrade(trade, warmUp);
    }
    std::printf("\ndrawing one trade on М1 (first drawing / median of %d), each opening the file\n",
                kRepeats);
    for (const char *limit : {"30", "300"}) {
        QuoteSettings settings;
        settings.timeframe = 0;
        settings.timeframeText = QStringLiteral("М1");
        settings.barLimit = QString::fromLatin1(limit);
        settings.historyFolder = longFolder;
        const Timing tenYears = timeDrawing(trade, settings, kRepeats);
        settings.historyFolder = shortFolder;
        const Timing oneMonth = timeDrawing(trade, settings, kRepeats);
        std::printf(
            "  N = %-3s %5zu candles: ten years %7.0f / %6.0f us, one month %7.0f / %6.0f us, "
            "ratio of medians %.2f\n",
            limit, tenYears.candles, tenYears.firstUs, tenYears.medianUs, oneMonth.firstUs,
            oneMonth.medianUs, tenYears.medianUs / oneMonth.medianUs);
    }

    // For scale: reading every record front to back, as a reader without the search would.
    HistoryReader reader;
    reader.open(longFile);
    QElapsedTimer timer;
    timer.start();
    double sum = 0;
    for (qint64 i = 0; i < reader.barCount(); ++i)
        sum += reader.bar(i).close;
    std::printf(
        "\nreading all %lld bars of the ten-year file front to back: %.0f ms (checksum %.0f)\n",
        static_cast<long long>(reader.barCount()), double(timer.nsecsElapsed()) / 1e6, sum);
    return 0;
}
