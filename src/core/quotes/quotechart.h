// One trade drawn over the price history of its symbol: the five series of the quote chart.
#pragma once

#include "quotes/timeframe.h"
#include "statement/cellerror.h"
#include "statement/tradereadout.h"

#include <QChar>
#include <QString>
#include <QtGlobal>

#include <cstdint>
#include <optional>
#include <vector>

/// Colours of the quote chart as 0xRRGGBB.
namespace QuoteColour {
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t White = 0xffffff;
constexpr std::uint32_t Lime = 0x00ff00;
constexpr std::uint32_t Yellow = 0xffff00;
constexpr std::uint32_t Red = 0xff0000;
constexpr std::uint32_t Aqua = 0x00ffff;
} // namespace QuoteColour

/// "#rrggbb" in lower case.
QString ColourName(std::uint32_t rgb);

/// One candle of the "price" series; `colour` fills its body.
struct QuoteCandle {
    qint64 msecs = 0; ///< the bar's opening time, milliseconds since 1970-01-01 00:00 UTC
    double open = 0;
    double high = 0;
    double low = 0;
    double close = 0;
    std::uint32_t colour = QuoteColour::White;
};

/// One point of a mark series, on the candle of the same bar.
struct QuotePoint {
    qint64 msecs = 0;
    double value = 0;
    std::uint32_t colour = QuoteColour::Black;
};

/// Which way the open mark's triangle points.
enum class OpenShape { Up, Down };

/// The fields of the quote chart tab, as texts where the user types them.
struct QuoteSettings {
    QString historyFolder;                        ///< "Путь к котировкам"
    int timeframe = kDefaultTimeframe;            ///< position in Timeframes(), -1 for none
    QString timeframeText = QStringLiteral("Н1"); ///< the box text, used for the title only
    QString barLimit = QStringLiteral("30");      ///< "Лимит баров": N
    QString gmtShift = QStringLiteral("0");       ///< "Смещение GTM": hours
    QChar decimalSeparator = QLatin1Char('.');
    OpenShape previousShape = OpenShape::Up; ///< kept for a Type of none of the four
};

/// What the quote chart shows after "Показать": its title and exactly the points of its five
/// series, in order. On failure only `error` is set.
struct QuoteChart {
    std::optional<CellError> error;
    QString title;              ///< Symbol, a blank, the timeframe box text
    QString file;               ///< the history file read
    std::optional<int> version; ///< 400 or 401; nothing for a file shorter than its header
    OpenShape openShape = OpenShape::Up;
    std::vector<QuoteCandle> candles;   ///< "price"
    std::vector<QuotePoint> open;       ///< "open": yellow at OpenPrice, black fillers before
    std::vector<QuotePoint> close;      ///< "close": yellow at ClosePrice, black fillers before
    std::vector<QuotePoint> stopLoss;   ///< "sl": red at StopLoss, black fillers before
    std::vector<QuotePoint> takeProfit; ///< "tp": aqua at TakeProfit, black fillers before
};

/// Caption of the column a history file error names (row -1, the path as its text).
QString HistoryColumn();

/// Draws `trade` (which must not be empty) over its symbol's history in `settings.historyFolder`.
///
/// First every input is checked, nothing is read before: the cells OpenDate, OpenTime,
/// CloseDate, CloseTime (ParseTradeDate, ParseTradeTime), OpenPrice, StopLoss, TakeProfit,
/// ClosePrice (ParseNumber), in this order, then the fields "Смещение GTM", "Таймфрейм" and
/// "Лимит баров". The first bad one is the error, naming the trade's row and the column, or row
/// -1 and the field. Then the file HistoryFilePath(folder, Symbol, minutes) is opened; when it
/// can't be, or has an unknown version, the error has row -1, column HistoryColumn() and the path.
///
/// The open and close instants are TradeInstant() of their cells with the GMT shift. The drawing
/// starts with the first bar of FirstDate, the UTC date of open instant − N × minutes × 60 s,
/// found by binary search; bars before 1970 or from the year 10000 on are skipped. Each drawn bar
/// gives a candle, white when its close is above the previous candle's close, black when below,
/// the previous colour when equal (the first is white unless its close is below its open). Until
/// the open instant each mark series gets a black filler at low − low × 0.001; the first bar at
/// or after the open instant gets the open, stop-loss and take-profit marks, the first at or after
/// the close instant the close mark. Reading stops after the (N + 1)th bar that opens after the
/// close instant, or at the end of the file.
QuoteChart DrawTrade(const SelectedTrade &trade, const QuoteSettings &settings);
