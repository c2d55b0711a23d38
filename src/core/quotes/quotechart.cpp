// The quote chart's drawing as data: checks, the window of bars, candle colours and marks.
#include "quotes/quotechart.h"

#include "quotes/bardatetime.h"
#include "quotes/historyfilepath.h"
#include "quotes/historyreader.h"
#include "quotes/tradeinstant.h"
#include "statement/parsenumber.h"

#include <climits>

namespace {

[[noreturn]] void failCell(const SelectedTrade &trade, Column column, const QString &message)
{
    throw CellErrorException(CellError{trade.row, ColumnName(column), trade.cell(column), message});
}

qint64 readDate(const SelectedTrade &trade, Column column)
{
    if (const auto day = ParseTradeDate(trade.cell(column)))
        return *day;
    failCell(trade, column, QStringLiteral("не дата ГГГГ.ММ.ДД"));
}

int readTime(const SelectedTrade &trade, Column column)
{
    if (const auto seconds = ParseTradeTime(trade.cell(column)))
        return *seconds;
    failCell(trade, column, QStringLiteral("не время ЧЧ:ММ:СС"));
}

double readPrice(const SelectedTrade &trade, Column column, QChar separator)
{
    if (const auto value = ParseNumber(trade.cell(column), separator))
        return *value;
    failCell(trade, column, QStringLiteral("не число"));
}

int readField(const QString &text, const QString &caption)
{
    const auto value = ParseInteger(text);
    if (!value || *value < INT_MIN || *value > INT_MAX)
        throw CellErrorException(CellError{-1, caption, text, QStringLiteral("не целое число")});
    return int(*value);
}

struct Checked {
    qint64 openInstant = 0;
    qint64 closeInstant = 0;
    double openPrice = 0, stopLoss = 0, takeProfit = 0, closePrice = 0;
    int minutes = 0;
    int barLimit = 0;
};

Checked check(const SelectedTrade &trade, const QuoteSettings &settings)
{
    Checked c;
    const qint64 openDay = readDate(trade, Column::OpenDate);
    const int openTime = readTime(trade, Column::OpenTime);
    const qint64 closeDay = readDate(trade, Column::CloseDate);
    const int closeTime = readTime(trade, Column::CloseTime);
    c.openPrice = readPrice(trade, Column::OpenPrice, settings.decimalSeparator);
    c.stopLoss = readPrice(trade, Column::StopLoss, settings.decimalSeparator);
    c.takeProfit = readPrice(trade, Column::TakeProfit, settings.decimalSeparator);
    c.closePrice = readPrice(trade, Column::ClosePrice, settings.decimalSeparator);
    const int shift = readField(settings.gmtShift, QStringLiteral("Смещение GTM"));
    const std::vector<Timeframe> &timeframes = Timeframes();
    if (settings.timeframe < 0 || size_t(settings.timeframe) >= timeframes.size())
        throw CellErrorException(CellError{-1, QStringLiteral("Таймфрейм"), settings.timeframeText,
                                           QStringLiteral("не выбран таймфрейм")});
    c.minutes = timeframes[size_t(settings.timeframe)].minutes;
    c.barLimit = readField(settings.barLimit, QStringLiteral("Лимит баров"));
    c.openInstant = TradeInstant(openDay, openTime, shift);
    c.closeInstant = TradeInstant(closeDay, closeTime, shift);
    return c;
}

OpenShape shapeOfType(const QString &type, OpenShape previous)
{
    if (type == QLatin1String("BUY") || type == QLatin1String("BUYSTOP "))
        return OpenShape::Up;
    if (type == QLatin1String("SELL") || type == QLatin1String("SELLSTOP"))
        return OpenShape::Down;
    return previous;
}

} // namespace

QString ColourName(std::uint32_t rgb)
{
    return QStringLiteral("#%1").arg(rgb & 0xffffff, 6, 16, QLatin1Char('0'));
}

QString HistoryColumn()
{
    return QStringLiteral("history");
}

QuoteChart DrawTrade(const SelectedTrade &trade, const QuoteSettings &settings)
{
    Checked c;
    if (std::optional<CellError> error = CatchCellError([&] { c = check(trade, settings); }))
        return FailedResult<QuoteChart>(std::move(*error));

    const QString symbol = trade.cell(Column::Symbol);
    const QString path = HistoryFilePath(settings.historyFolder, symbol, c.minutes);
    HistoryReader reader;
    if (!reader.open(path))
        return FailedResult<QuoteChart>(
            CellError{-1, HistoryColumn(), path, reader.errorMessage()});
    QuoteChart result;
    result.file = path;
    result.version = reader.version();
    result.title = symbol + QLatin1Char(' ') + settings.timeframeText;
    result.openShape = shapeOfType(trade.cell(Column::Type), settings.previousShape);

    const qint64 lookBack = qint64(c.barLimit) * c.minutes * 60;
    const qint64 firstDay = FloorDiv(c.openInstant - lookBack, 86400);
    bool openPlaced = false;
    bool closePlaced = false;
    qint64 afterClose = 0;
    std::uint32_t previousColour = QuoteColour::White;
    double previousClose = 0;
    for (qint64 i = reader.lowerBound(firstDay * 86400); i < reader.barCount(); ++i) {
        const HistoryBar bar = reader.bar(i);
        const std::optional<BarDateTime> when = BarDateTime::fromTime(bar.time);
        if (!when || when->dayNumber() < firstDay)
            continue;
        const qint64 x = when->msecs();

        std::uint32_t colour;
        if (result.candles.empty())
            colour = bar.close < bar.open ? QuoteColour::Black : QuoteColour::White;
        else if (bar.close > previousClose)
            colour = QuoteColour::White;
        else if (bar.close < previousClose)
            colour = QuoteColour::Black;
        else
            colour = previousColour;
        result.candles.push_back({x, bar.open, bar.high, bar.low, bar.close, colour});
        previousColour = colour;
        previousClose = bar.close;

        const qint64 dOpen = bar.time - c.openInstant;
        const qint64 dClose = bar.time - c.closeInstant;
        if (dOpen < 0) {
            // Black on the black background: unseen, but they widen the price axis.
            const QuotePoint filler{x, bar.low - bar.low * 0.001, QuoteColour::Black};
            result.open.push_back(filler);
            result.close.push_back(filler);
            result.stopLoss.push_back(filler);
            result.takeProfit.push_back(filler);
        } else if (!openPlaced) {
            result.open.push_back({x, c.openPrice, QuoteColour::Yellow});
            result.stopLoss.push_back({x, c.stopLoss, QuoteColour::Red});
            result.takeProfit.push_back({x, c.takeProfit, QuoteColour::Aqua});
            openPlaced = true;
        }
        if (dClose >= 0 && !closePlaced) {
            result.close.push_back({x, c.closePrice, QuoteColour::Yellow});
            closePlaced = true;
        }
        if (dClose > 0)
            ++afterClose;
        if (afterClose > c.barLimit)
            break;
    }
    return result;
}
