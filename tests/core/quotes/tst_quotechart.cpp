// The drawn trade: the window of bars, marks and fillers, candle colours, the open mark's shape,
// the checks made before anything is read, and history file errors.
#include "historyfixture.h"
#include "quotes/quotechart.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace historyfixture;

namespace {

struct TradeTexts {
    QString openDate = QStringLiteral("2010.05.12");
    QString openTime = QStringLiteral("10:23:00");
    QString closeDate = QStringLiteral("2010.05.12");
    QString closeTime = QStringLiteral("14:10:00");
    QString type = QStringLiteral("BUY");
    QString symbol = QStringLiteral("EURUSD");
    QString openPrice = QStringLiteral("1.2000");
    QString stopLoss = QStringLiteral("1.1950");
    QString takeProfit = QStringLiteral("1.2100");
    QString closePrice = QStringLiteral("1.2050");
};

SelectedTrade tradeOf(const TradeTexts &t, int row = 7)
{
    return SelectedTrade{row,
                         {QStringLiteral("1001"), t.openDate, t.openTime, t.type,
                          QStringLiteral("0.10"), t.symbol, t.openPrice, t.stopLoss, t.takeProfit,
                          t.closeDate, t.closeTime, t.closePrice, QStringLiteral("0.00"),
                          QStringLiteral("12.50")}};
}

// The time of the first point of `points` with `colour`, -1 when there is none.
qint64 markTime(const std::vector<QuotePoint> &points, std::uint32_t colour)
{
    for (const QuotePoint &p : points)
        if (p.colour == colour)
            return p.msecs / 1000;
    return -1;
}

} // namespace

Q_DECLARE_METATYPE(TradeTexts)
Q_DECLARE_METATYPE(OpenShape)

class TestQuoteChart : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void drawsTheWindowAroundTheTrade();
    void openAtABarsTimeMarksThatBar();
    void window_data();
    void window();
    void candleColours_data();
    void candleColours();
    void openShape_data();
    void openShape();
    void badInputChangesNothing_data();
    void badInputChangesNothing();
    void historyFileErrors();
    void shortFileDrawsNothing();
    void unorderedBarsEndTheDrawing();
    void bothFormatsDrawTheSame();

private:
    QuoteSettings settingsFor(const QString &folder, int timeframe = 4, int barLimit = 30,
                              int shift = 0) const;
    QTemporaryDir m_dir;
    QString m_h1;   // EURUSD60.hst, hourly 2010-05-08 .. 2010-07-01 (version 401)
    QString m_d1;   // EURUSD1440.hst, daily from 2010-01-01, 200 days (version 400)
    QString m_ends; // EURUSD60.hst, hourly 2010-12-25 .. 2011-01-08
};

void TestQuoteChart::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_h1 = m_dir.filePath(QStringLiteral("h1"));
    m_ends = m_dir.filePath(QStringLiteral("ends"));
    QVERIFY(QDir().mkpath(m_h1) && QDir().mkpath(m_ends));
    QVERIFY(writeFile(m_h1 + QStringLiteral("/EURUSD60.hst"),
                      historyBytes(401, risingBars(utc(2010, 5, 8), 54 * 24, 60))));
    QVERIFY(writeFile(m_h1 + QStringLiteral("/EURUSD1440.hst"),
                      historyBytes(400, risingBars(utc(2010, 1, 1), 200, 1440))));
    QVERIFY(writeFile(m_ends + QStringLiteral("/EURUSD60.hst"),
                      historyBytes(401, risingBars(utc(2010, 12, 25), 15 * 24, 60))));
}

QuoteSettings TestQuoteChart::settingsFor(const QString &folder, int timeframe, int barLimit,
                                          int shift) const
{
    QuoteSettings s;
    s.historyFolder = folder;
    s.timeframe = timeframe;
    s.timeframeText = Timeframes()[size_t(timeframe)].caption;
    s.barLimit = QString::number(barLimit);
    s.gmtShift = QString::number(shift);
    return s;
}

void TestQuoteChart::drawsTheWindowAroundTheTrade()
{
    // N = 30 on Н1, open 2010-05-12 10:23: FirstDate is 2010-05-11 (10:23 − 30 h = 04:23), and the
    // drawing starts with that date's first bar.
    const QuoteChart chart = DrawTrade(tradeOf({}), settingsFor(m_h1));
    QVERIFY(!chart.error);
    QCOMPARE(chart.title, QStringLiteral("EURUSD Н1"));
    QCOMPARE(chart.file, m_h1 + QDir::separator() + QStringLiteral("EURUSD60.hst"));
    QCOMPARE(chart.version, std::optional<int>(401));
    QCOMPARE(chart.openShape, OpenShape::Up);

    QCOMPARE(chart.candles.front().msecs, utc(2010, 5, 11) * 1000);
    // 31 bars strictly after the close (14:10): 15:00 on the 12th to 21:00 on the 13th.
    QCOMPARE(chart.candles.back().msecs, utc(2010, 5, 13, 21) * 1000);
    QCOMPARE(chart.candles.size(), size_t(24 + 24 + 22));

    // 35 bars open before 10:23 (the 11th and 00:00-10:00 of the 12th): each mark series gets
    // a black filler at low − low × 0.001 on each of them, then the marks.
    for (const auto *series : {&chart.open, &chart.stopLoss, &chart.takeProfit, &chart.close}) {
        QCOMPARE(series->size(), size_t(36));
        for (size_t i = 0; i < 35; ++i) {
            const QuoteCandle &candle = chart.candles[i];
            QCOMPARE((*series)[i].msecs, candle.msecs);
            QCOMPARE((*series)[i].value, candle.low - candle.low * 0.001);
            QCOMPARE((*series)[i].colour, QuoteColour::Black);
        }
    }
    const qint64 eleven = utc(2010, 5, 12, 11) * 1000;
    QCOMPARE(chart.open[35].msecs, eleven);
    QCOMPARE(chart.open[35].value, 1.2);
    QCOMPARE(chart.open[35].colour, QuoteColour::Yellow);
    QCOMPARE(chart.stopLoss[35].msecs, eleven);
    QCOMPARE(chart.stopLoss[35].value, 1.195);
    QCOMPARE(chart.stopLoss[35].colour, QuoteColour::Red);
    QCOMPARE(chart.takeProfit[35].msecs, eleven);
    QCOMPARE(chart.takeProfit[35].value, 1.21);
    QCOMPARE(chart.takeProfit[35].colour, QuoteColour::Aqua);
    QCOMPARE(chart.close[35].msecs, utc(2010, 5, 12, 15) * 1000);
    QCOMPARE(chart.close[35].value, 1.205);
    QCOMPARE(chart.close[35].colour, QuoteColour::Yellow);
}

void TestQuoteChart::openAtABarsTimeMarksThatBar()
{
    TradeTexts t;
    t.openTime = QStringLiteral("10:00:00");
    const QuoteChart chart = DrawTrade(tradeOf(t), settingsFor(m_h1));
    QCOMPARE(markTime(chart.open, QuoteColour::Yellow), utc(2010, 5, 12, 10));
    QCOMPARE(chart.open.size(), size_t(35));
}

void TestQuoteChart::window_data()
{
    QTest::addColumn<QString>("folder"); // "h1", "d1" (same folder, timeframe D1) or "ends"
    QTest::addColumn<TradeTexts>("trade");
    QTest::addColumn<int>("barLimit");
    QTest::addColumn<int>("shift");
    QTest::addColumn<qint64>("first");     // first candle
    QTest::addColumn<qint64>("last");      // last candle
    QTest::addColumn<qint64>("openMark");  // -1: none
    QTest::addColumn<qint64>("closeMark"); // -1: none

    TradeTexts t;
    t.openDate = t.closeDate = QStringLiteral("2010.06.01");
    t.openTime = QStringLiteral("01:00:00");
    t.closeTime = QStringLiteral("02:00:00");
    QTest::newRow("month end") << "h1" << t << 30 << 0 << utc(2010, 5, 30) << utc(2010, 6, 2, 9)
                               << utc(2010, 6, 1, 1) << utc(2010, 6, 1, 2);
    t.openDate = t.closeDate = QStringLiteral("2011.01.01");
    QTest::newRow("year end") << "ends" << t << 30 << 0 << utc(2010, 12, 30) << utc(2011, 1, 2, 9)
                              << utc(2011, 1, 1, 1) << utc(2011, 1, 1, 2);
    t = TradeTexts();
    t.openDate = QStringLiteral("2010.05.01");
    QTest::newRow("open before the first bar")
        << "h1" << t << 30 << 0 << utc(2010, 5, 8) << utc(2010, 5, 13, 21) << utc(2010, 5, 8)
        << utc(2010, 5, 12, 15);
    t = TradeTexts();
    t.closeDate = QStringLiteral("2010.07.30");
    QTest::newRow("close after the last bar")
        << "h1" << t << 30 << 0 << utc(2010, 5, 11) << utc(2010, 6, 30, 23) << utc(2010, 5, 12, 11)
        << qint64(-1);
    t = TradeTexts();
    t.openTime = QStringLiteral("10:10:00");
    t.closeTime = QStringLiteral("10:40:00");
    QTest::newRow("open and close in one bar")
        << "h1" << t << 30 << 0 << utc(2010, 5, 11) << utc(2010, 5, 13, 17) << utc(2010, 5, 12, 11)
        << utc(2010, 5, 12, 11);
    QTest::newRow("bar limit 0") << "h1" << TradeTexts() << 0 << 0 << utc(2010, 5, 12)
                                 << utc(2010, 5, 12, 15) << utc(2010, 5, 12, 11)
                                 << utc(2010, 5, 12, 15);
    // open − LookBack lies after the open: that date's first bar is drawn, then reading stops.
    QTest::newRow("negative bar limit") << "h1" << TradeTexts() << -20 << 0 << utc(2010, 5, 13)
                                        << utc(2010, 5, 13) << utc(2010, 5, 13) << utc(2010, 5, 13);
    t = TradeTexts();
    t.openDate = QStringLiteral("2010.05.11");
    t.openTime = QStringLiteral("23:30:00");
    t.closeDate = QStringLiteral("2010.05.12");
    t.closeTime = QStringLiteral("01:00:00");
    QTest::newRow("shift rolls the day over")
        << "h1" << t << 3 << 7 << utc(2010, 5, 12) << utc(2010, 5, 12, 12) << utc(2010, 5, 12, 7)
        << utc(2010, 5, 12, 8);
    t.openDate = t.closeDate = QStringLiteral("2010.05.12");
    t.openTime = QStringLiteral("00:30:00");
    t.closeTime = QStringLiteral("02:00:00");
    QTest::newRow("negative shift rolls it back")
        << "h1" << t << 0 << -1 << utc(2010, 5, 11) << utc(2010, 5, 12, 2) << utc(2010, 5, 12)
        << utc(2010, 5, 12, 1);
    t = TradeTexts();
    t.closeDate = QStringLiteral("2010.05.14");
    // D1 looks back N days (not N half-days): 30 days before the 12th of May is the 12th of April.
    QTest::newRow("D1 looks back N days")
        << "d1" << t << 30 << 0 << utc(2010, 4, 12) << utc(2010, 6, 14) << utc(2010, 5, 13)
        << utc(2010, 5, 15);
}

void TestQuoteChart::window()
{
    QFETCH(QString, folder);
    QFETCH(TradeTexts, trade);
    QFETCH(int, barLimit);
    QFETCH(int, shift);
    QFETCH(qint64, first);
    QFETCH(qint64, last);
    QFETCH(qint64, openMark);
    QFETCH(qint64, closeMark);
    const bool daily = folder == QLatin1String("d1");
    const QString path = folder == QLatin1String("ends") ? m_ends : m_h1;
    const QuoteChart chart =
        DrawTrade(tradeOf(trade), settingsFor(path, daily ? 6 : 4, barLimit, shift));
    QVERIFY(!chart.error);
    QVERIFY(!chart.candles.empty());
    QCOMPARE(chart.candles.front().msecs / 1000, first);
    QCOMPARE(chart.candles.back().msecs / 1000, last);
    // The fixture has no gaps, so neither has the drawing (across month and year ends too).
    const qint64 step = (daily ? 86400 : 3600) * 1000;
    for (size_t i = 1; i < chart.candles.size(); ++i)
        QCOMPARE(chart.candles[i].msecs - chart.candles[i - 1].msecs, step);
    QCOMPARE(markTime(chart.open, QuoteColour::Yellow), openMark);
    QCOMPARE(markTime(chart.stopLoss, QuoteColour::Red), openMark);
    QCOMPARE(markTime(chart.takeProfit, QuoteColour::Aqua), openMark);
    QCOMPARE(markTime(chart.close, QuoteColour::Yellow), closeMark);
    // Fillers on every bar before the open, none from the open on.
    const size_t before =
        size_t(std::count_if(chart.candles.begin(), chart.candles.end(), [&](const QuoteCandle &c) {
            return openMark < 0 || c.msecs / 1000 < openMark;
        }));
    QCOMPARE(
        size_t(std::count_if(chart.open.begin(), chart.open.end(),
                             [](const QuotePoint &p) { return p.colour == QuoteColour::Black; })),
        before);
}

void TestQuoteChart::candleColours_data()
{
    QTest::addColumn<QList<double>>("opens");
    QTest::addColumn<QList<double>>("closes");
    QTest::addColumn<QList<uint>>("colours");
    const uint w = QuoteColour::White, b = QuoteColour::Black;
    // Against the previous candle's close, not the candle's own open; equal keeps the colour.
    QTest::newRow("first falls") << QList<double>{1.0, 0.5, 1.2, 0.8, 2.0, 2.0}
                                 << QList<double>{0.9, 1.0, 1.0, 0.95, 0.95, 1.1}
                                 << QList<uint>{b, w, w, b, b, w};
    QTest::newRow("first rises") << QList<double>{1.0, 1.5, 0.1} << QList<double>{1.1, 1.05, 1.05}
                                 << QList<uint>{w, b, b};
    QTest::newRow("first flat") << QList<double>{1.0, 1.0} << QList<double>{1.0, 1.0}
                                << QList<uint>{w, w};
}

void TestQuoteChart::candleColours()
{
    QFETCH(QList<double>, opens);
    QFETCH(QList<double>, closes);
    QFETCH(QList<uint>, colours);
    std::vector<HistoryBar> bars;
    for (int i = 0; i < opens.size(); ++i)
        bars.push_back({utc(2010, 5, 12, i), opens[i], 3.0, 0.1, closes[i]});
    const QString folder = m_dir.filePath(QStringLiteral("colours"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/EURUSD60.hst"), historyBytes(401, bars)));
    TradeTexts t;
    t.closeDate = QStringLiteral("2010.06.01");
    const QuoteChart chart = DrawTrade(tradeOf(t), settingsFor(folder));
    QCOMPARE(chart.candles.size(), size_t(opens.size()));
    for (int i = 0; i < opens.size(); ++i) {
        QCOMPARE(chart.candles[size_t(i)].open, opens[i]);
        QCOMPARE(chart.candles[size_t(i)].close, closes[i]);
        QCOMPARE(chart.candles[size_t(i)].colour, std::uint32_t(colours[i]));
    }
}

void TestQuoteChart::openShape_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<OpenShape>("previous");
    QTest::addColumn<OpenShape>("expected");
    QTest::newRow("BUY") << "BUY" << OpenShape::Down << OpenShape::Up;
    QTest::newRow("BUYSTOP with its blank") << "BUYSTOP " << OpenShape::Down << OpenShape::Up;
    QTest::newRow("SELL") << "SELL" << OpenShape::Up << OpenShape::Down;
    QTest::newRow("SELLSTOP") << "SELLSTOP" << OpenShape::Up << OpenShape::Down;
    QTest::newRow("BUYLIMIT after a SELL") << "BUYLIMIT" << OpenShape::Down << OpenShape::Down;
    QTest::newRow("BUYSTOP without the blank") << "BUYSTOP" << OpenShape::Down << OpenShape::Down;
    QTest::newRow("lower case") << "sell" << OpenShape::Up << OpenShape::Up;
}

void TestQuoteChart::openShape()
{
    QFETCH(QString, type);
    QFETCH(OpenShape, previous);
    QFETCH(OpenShape, expected);
    TradeTexts t;
    t.type = type;
    QuoteSettings settings = settingsFor(m_h1);
    settings.previousShape = previous;
    QCOMPARE(DrawTrade(tradeOf(t), settings).openShape, expected);
}

void TestQuoteChart::badInputChangesNothing_data()
{
    QTest::addColumn<TradeTexts>("trade");
    QTest::addColumn<QStringList>("fields"); // shift, bar limit, timeframe position
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");

    const QStringList good{"0", "30", "4"};
    auto bad = [&](const char *name, TradeTexts t, const char *column, const QString &text) {
        QTest::newRow(name) << t << good << 7 << QString::fromLatin1(column) << text;
    };
    TradeTexts t;
    t.openDate = QStringLiteral("2010.13.01");
    bad("month 13", t, "OpenDate", t.openDate);
    t = TradeTexts();
    t.openDate = QStringLiteral("2010.02.30");
    bad("February 30", t, "OpenDate", t.openDate);
    t = TradeTexts();
    t.openDate = QStringLiteral("10.05.12");
    bad("two-digit year", t, "OpenDate", t.openDate);
    t = TradeTexts();
    t.openTime = QStringLiteral("24:00:00");
    bad("hour 24", t, "OpenTime", t.openTime);
    t = TradeTexts();
    t.closeDate = QString();
    bad("empty close date", t, "CloseDate", QString());
    t = TradeTexts();
    t.closeTime = QStringLiteral("14:60:00");
    bad("minute 60", t, "CloseTime", t.closeTime);
    t = TradeTexts();
    t.closeTime = QStringLiteral("14:10");
    bad("time without seconds", t, "CloseTime", t.closeTime);
    t = TradeTexts();
    t.openPrice = QStringLiteral("abc");
    bad("open price", t, "OpenPrice", t.openPrice);
    t = TradeTexts();
    t.stopLoss = QString();
    bad("stop loss", t, "StopLoss", QString());
    t = TradeTexts();
    t.takeProfit = QStringLiteral("1.2.3");
    bad("take profit", t, "TakeProfit", t.takeProfit);
    t = TradeTexts();
    t.closePrice = QStringLiteral("x");
    bad("close price", t, "ClosePrice", t.closePrice);
    // The first bad cell in the order of the check is the one named.
    t = TradeTexts();
    t.closePrice = QStringLiteral("x");
    t.openTime = QStringLiteral("x");
    t.takeProfit = QStringLiteral("x");
    bad("open time before the prices", t, "OpenTime", QStringLiteral("x"));
    t = TradeTexts();
    t.stopLoss = QStringLiteral("x");
    t.closeTime = QStringLiteral("x");
    bad("close time before the stop loss", t, "CloseTime", QStringLiteral("x"));
    // A bad cell is found also when the file would not open: nothing is read before the check.
    t = TradeTexts();
    t.symbol = QStringLiteral("NOSUCH");
    t.openPrice = QStringLiteral("x");
    bad("cells before the file", t, "OpenPrice", QStringLiteral("x"));

    QTest::newRow("shift 1.5") << TradeTexts() << QStringList{"1.5", "30", "4"} << -1
                               << "Смещение GTM"
                               << "1.5";
    QTest::newRow("empty shift") << TradeTexts() << QStringList{"", "30", "4"} << -1
                                 << "Смещение GTM"
                                 << "";
    QTest::newRow("bar limit abc")
        << TradeTexts() << QStringList{"0", "abc", "4"} << -1 << "Лимит баров"
        << "abc";
    QTest::newRow("bar limit too large")
        << TradeTexts() << QStringList{"0", "99999999999", "4"} << -1 << "Лимит баров"
        << "99999999999";
    QTest::newRow("no timeframe") << TradeTexts() << QStringList{"0", "30", "-1"} << -1
                                  << "Таймфрейм"
                                  << "H2";
}

void TestQuoteChart::badInputChangesNothing()
{
    QFETCH(TradeTexts, trade);
    QFETCH(QStringList, fields);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QuoteSettings settings = settingsFor(m_h1);
    settings.gmtShift = fields[0];
    settings.barLimit = fields[1];
    settings.timeframe = fields[2].toInt();
    if (settings.timeframe < 0)
        settings.timeframeText = QStringLiteral("H2");
    const QuoteChart chart = DrawTrade(tradeOf(trade), settings);
    QVERIFY(chart.error);
    QCOMPARE(chart.error->row, row);
    QCOMPARE(chart.error->column, column);
    QCOMPARE(chart.error->text, text);
    QVERIFY(chart.error->describe().contains(column));
    QVERIFY(chart.title.isEmpty() && chart.file.isEmpty() && chart.candles.empty() &&
            chart.open.empty());
}

void TestQuoteChart::historyFileErrors()
{
    TradeTexts t;
    t.symbol = QStringLiteral("GBPUSD");
    QuoteChart chart = DrawTrade(tradeOf(t), settingsFor(m_h1));
    QVERIFY(chart.error);
    QCOMPARE(chart.error->row, -1);
    QCOMPARE(chart.error->column, QStringLiteral("history"));
    QCOMPARE(chart.error->text, m_h1 + QDir::separator() + QStringLiteral("GBPUSD60.hst"));
    QCOMPARE(chart.error->message, QStringLiteral("Не могу открыть файл"));
    QVERIFY(chart.candles.empty() && chart.title.isEmpty());

    const QString folder = m_dir.filePath(QStringLiteral("v500"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/EURUSD60.hst"),
                      historyBytes(500, risingBars(utc(2010, 5, 12), 3, 60))));
    chart = DrawTrade(tradeOf({}), settingsFor(folder));
    QVERIFY(chart.error);
    QCOMPARE(chart.error->column, QStringLiteral("history"));
    QCOMPARE(chart.error->text, folder + QDir::separator() + QStringLiteral("EURUSD60.hst"));
    QVERIFY(chart.error->message.contains(QStringLiteral("500")));
}

void TestQuoteChart::shortFileDrawsNothing()
{
    const QString folder = m_dir.filePath(QStringLiteral("short"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/EURUSD60.hst"), QByteArray(100, '\1')));
    const QuoteChart chart = DrawTrade(tradeOf({}), settingsFor(folder));
    QVERIFY(!chart.error);
    QCOMPARE(chart.title, QStringLiteral("EURUSD Н1"));
    QVERIFY(!chart.version);
    QVERIFY(chart.candles.empty() && chart.open.empty() && chart.close.empty());
}

void TestQuoteChart::unorderedBarsEndTheDrawing()
{
    // Bars in a jumbled order, some before 1970 or after 9999: the drawing ends, within the file.
    std::vector<HistoryBar> bars = risingBars(utc(2010, 5, 10), 500, 60);
    for (size_t i = 0; i < bars.size(); ++i) {
        bars[i].time = utc(2010, 5, 10) + qint64((i * 181) % 500) * 3600;
        if (i % 50 == 7)
            bars[i].time = -86400;
        if (i % 50 == 9)
            bars[i].time = BarDateTime::kEndSeconds + 3600;
    }
    const QString folder = m_dir.filePath(QStringLiteral("jumbled"));
    QVERIFY(QDir().mkpath(folder));
    QVERIFY(writeFile(folder + QStringLiteral("/EURUSD60.hst"), historyBytes(401, bars)));
    for (const int limit : {-1, 0, 30, 300, 100000}) {
        const QuoteChart chart = DrawTrade(tradeOf({}), settingsFor(folder, 4, limit));
        QVERIFY(!chart.error);
        QVERIFY(chart.candles.size() <= bars.size());
        for (const QuoteCandle &c : chart.candles)
            QVERIFY(c.msecs >= 0 && c.msecs < BarDateTime::kEndSeconds * 1000);
    }
}

void TestQuoteChart::bothFormatsDrawTheSame()
{
    // The real EURUSD H4 series in both record formats, as two terminal folders.
    QuoteChart charts[2];
    const char *const files[2] = {"EURUSD240-v400.hst", "EURUSD240-v401.hst"};
    for (int i = 0; i < 2; ++i) {
        const QString folder = m_dir.filePath(QStringLiteral("real%1").arg(i));
        QVERIFY(QDir().mkpath(folder));
        const QString target = folder + QStringLiteral("/EURUSD240.hst");
        QFile::remove(target);
        QVERIFY(
            QFile::copy(QStringLiteral(TEST_DATA_DIR "/") + QString::fromLatin1(files[i]), target));
        TradeTexts t;
        t.openDate = QStringLiteral("2012.03.14");
        t.openTime = QStringLiteral("09:30:00");
        t.closeDate = QStringLiteral("2012.03.20");
        t.closeTime = QStringLiteral("17:45:00");
        t.type = QStringLiteral("SELL");
        t.openPrice = QStringLiteral("1.3050");
        t.stopLoss = QStringLiteral("1.3150");
        t.takeProfit = QStringLiteral("1.2900");
        t.closePrice = QStringLiteral("1.3120");
        charts[i] = DrawTrade(tradeOf(t), settingsFor(folder, 5, 30, 0));
        QVERIFY(!charts[i].error);
    }
    QCOMPARE(charts[0].version, std::optional<int>(400));
    QCOMPARE(charts[1].version, std::optional<int>(401));
    QCOMPARE(charts[0].title, QStringLiteral("EURUSD Н4"));
    QCOMPARE(charts[1].openShape, OpenShape::Down);
    QVERIFY(charts[0].candles.size() > 31);
    QCOMPARE(charts[0].candles.size(), charts[1].candles.size());
    for (size_t i = 0; i < charts[0].candles.size(); ++i) {
        const QuoteCandle &a = charts[0].candles[i], &b = charts[1].candles[i];
        QVERIFY(a.msecs == b.msecs && a.open == b.open && a.high == b.high && a.low == b.low &&
                a.close == b.close && a.colour == b.colour);
    }
    for (auto member :
         {&QuoteChart::open, &QuoteChart::close, &QuoteChart::stopLoss, &QuoteChart::takeProfit}) {
        const std::vector<QuotePoint> &a = charts[0].*member, &b = charts[1].*member;
        QCOMPARE(a.size(), b.size());
        for (size_t i = 0; i < a.size(); ++i)
            QVERIFY(a[i].msecs == b[i].msecs && a[i].value == b[i].value &&
                    a[i].colour == b[i].colour);
    }
    QCOMPARE(markTime(charts[0].open, QuoteColour::Yellow), utc(2012, 3, 14, 12));
    QCOMPARE(markTime(charts[0].close, QuoteColour::Yellow), utc(2012, 3, 20, 20));
}

QTEST_APPLESS_MAIN(TestQuoteChart)
#include "tst_quotechart.moc"
