// Fuzz target: history file bytes through the reader, then a trade drawn over them.
//
// The first 12 bytes choose the trade and the drawing: open instant (uint32 seconds after
// 2000-01-01), length (uint16 minutes), timeframe, bar limit, direction; the rest is the file.
#include "quotes/historyfilepath.h"
#include "quotes/historyreader.h"
#include "quotes/quotechart.h"
#include "quotes/timeframe.h"
#include "statement/tradereadout.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

QString folder()
{
    static QTemporaryDir dir;
    return dir.path();
}

QStringList tradeCells(qint64 open, qint64 close, bool buy)
{
    const QDateTime openTime = QDateTime::fromSecsSinceEpoch(open, Qt::UTC);
    const QDateTime closeTime = QDateTime::fromSecsSinceEpoch(close, Qt::UTC);
    return {QStringLiteral("1"),
            openTime.toString(QStringLiteral("yyyy.MM.dd")),
            openTime.toString(QStringLiteral("hh:mm:ss")),
            buy ? QStringLiteral("BUY") : QStringLiteral("SELL"),
            QStringLiteral("1.00"),
            QStringLiteral("EURUSD"),
            QStringLiteral("1.2000"),
            QStringLiteral("1.1900"),
            QStringLiteral("1.2100"),
            closeTime.toString(QStringLiteral("yyyy.MM.dd")),
            closeTime.toString(QStringLiteral("hh:mm:ss")),
            QStringLiteral("1.2050"),
            QStringLiteral("0.00"),
            QStringLiteral("50.00")};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 12)
        return 0;
    std::uint32_t openOffset = 0;
    std::uint16_t minutes = 0;
    std::memcpy(&openOffset, data, 4);
    std::memcpy(&minutes, data + 4, 2);
    const int timeframe = data[6] % int(Timeframes().size());
    const int bars = data[7] % 120;
    const bool buy = data[8] & 1;
    const int gmtShift = int(data[9] % 49) - 24;

    const QString path = HistoryFilePath(folder(), QStringLiteral("EURUSD"),
                                         Timeframes()[size_t(timeframe)].minutes);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    file.write(reinterpret_cast<const char *>(data + 12), qint64(size - 12));
    file.close();

    HistoryReader reader;
    if (reader.open(path)) {
        const qint64 count = reader.barCount();
        for (qint64 i = 0; i < count && i < 64; ++i)
            reader.bar(i);
        if (count > 0)
            reader.bar(count - 1);
        reader.lowerBound(0);
        reader.lowerBound(qint64(openOffset) * 7);
    }

    const qint64 open = 946684800 + qint64(openOffset % 1000000000u);
    SelectedTrade trade;
    trade.row = 1;
    trade.cells = tradeCells(open, open + qint64(minutes) * 60, buy);
    QuoteSettings settings;
    settings.historyFolder = folder();
    settings.timeframe = timeframe;
    settings.timeframeText = Timeframes()[size_t(timeframe)].caption;
    settings.barLimit = QString::number(bars);
    settings.gmtShift = QString::number(gmtShift);
    DrawTrade(trade, settings);
    return 0;
}
