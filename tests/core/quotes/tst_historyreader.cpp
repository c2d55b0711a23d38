// History files: both record formats on real files, short, torn and foreign files, the binary
// search, bar date-times, the timeframe table, file names and the trade's date and time cells.
#include "historyfixture.h"
#include "quotes/bardatetime.h"
#include "quotes/historyfilepath.h"
#include "quotes/historyreader.h"
#include "quotes/timeframe.h"
#include "quotes/tradeinstant.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace historyfixture;

class TestHistoryReader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void realFilesInBothFormatsAgree();
    void fieldOrderOfEachFormat_data();
    void fieldOrderOfEachFormat();
    void fileSizes_data();
    void fileSizes();
    void unknownVersionNamesIt();
    void missingFileCannotBeOpened();
    void lowerBound_data();
    void lowerBound();
    void lowerBoundOnUnorderedBarsStaysInRange();
    void barDateTime_data();
    void barDateTime();
    void calendarRoundTrip();
    void tradeDate_data();
    void tradeDate();
    void tradeTime_data();
    void tradeTime();
    void timeframes_data();
    void timeframes();
    void historyFilePath_data();
    void historyFilePath();

private:
    QTemporaryDir m_dir;
};

void TestHistoryReader::realFilesInBothFormatsAgree()
{
    HistoryReader v400, v401;
    QVERIFY(v400.open(QStringLiteral(TEST_DATA_DIR "/EURUSD240-v400.hst")));
    QVERIFY(v401.open(QStringLiteral(TEST_DATA_DIR "/EURUSD240-v401.hst")));
    QCOMPARE(v400.version(), std::optional<int>(400));
    QCOMPARE(v401.version(), std::optional<int>(401));
    QCOMPARE(v400.barCount(), 5909);
    QCOMPARE(v401.barCount(), 12969);

    const HistoryBar first = v400.bar(0);
    QCOMPARE(first.time, 1261353600);
    QCOMPARE(first.open, 1.4311);
    QCOMPARE(first.high, 1.4347);
    QCOMPARE(first.low, 1.4311);
    QCOMPARE(first.close, 1.4342);
    QCOMPARE(v400.bar(v400.barCount() - 1).time, utc(2013, 10, 18, 20));
    QCOMPARE(v401.bar(v401.barCount() - 1).time, utc(2019, 7, 8, 16));

    // Every bar of the older file is in the newer one, found by time, with the same prices.
    for (qint64 i = 0; i < v400.barCount(); ++i) {
        const HistoryBar a = v400.bar(i);
        const qint64 j = v401.lowerBound(a.time);
        QVERIFY2(j < v401.barCount(), qPrintable(QString::number(i)));
        const HistoryBar b = v401.bar(j);
        if (a.time != b.time || a.open != b.open || a.high != b.high || a.low != b.low ||
            a.close != b.close)
            QFAIL(qPrintable(QStringLiteral("bar %1 at %2 differs").arg(i).arg(a.time)));
    }
}

void TestHistoryReader::fieldOrderOfEachFormat_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("400: low before high") << 400;
    QTest::newRow("401: high before low") << 401;
}

void TestHistoryReader::fieldOrderOfEachFormat()
{
    QFETCH(int, version);
    // A high below its low is handed over as stored.
    const std::vector<HistoryBar> bars = {{utc(2010, 5, 12, 10), 1.5, 1.25, 1.75, 1.125},
                                          {utc(2010, 5, 12, 11), 2.5, 2.75, 2.25, 2.625}};
    const QString path = m_dir.filePath(QStringLiteral("order%1.hst").arg(version));
    QVERIFY(writeFile(path, historyBytes(version, bars)));
    HistoryReader reader;
    QVERIFY(reader.open(path));
    QCOMPARE(reader.barCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const HistoryBar b = reader.bar(i);
        QCOMPARE(b.time, bars[size_t(i)].time);
        QCOMPARE(b.open, bars[size_t(i)].open);
        QCOMPARE(b.high, bars[size_t(i)].high);
        QCOMPARE(b.low, bars[size_t(i)].low);
        QCOMPARE(b.close, bars[size_t(i)].close);
    }
}

void TestHistoryReader::fileSizes_data()
{
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("bars");
    QTest::addColumn<int>("cut"); // bytes taken off the end of the file
    QTest::addColumn<bool>("hasVersion");
    QTest::addColumn<int>("expectedBars");
    QTest::newRow("empty file") << 401 << 0 << 148 << false << 0;
    QTest::newRow("100 bytes") << 401 << 0 << 48 << false << 0;
    QTest::newRow("147 bytes, foreign version") << 7 << 0 << 1 << false << 0;
    QTest::newRow("header only") << 400 << 0 << 0 << true << 0;
    QTest::newRow("148 + 44 x 3") << 400 << 3 << 0 << true << 3;
    QTest::newRow("148 + 44 x 3 + 20") << 400 << 4 << 24 << true << 3;
    QTest::newRow("148 + 60 x 3") << 401 << 3 << 0 << true << 3;
    QTest::newRow("148 + 60 x 3 + 59") << 401 << 4 << 1 << true << 3;
    QTest::newRow("header and a torn record") << 401 << 1 << 30 << true << 0;
}

void TestHistoryReader::fileSizes()
{
    QFETCH(int, version);
    QFETCH(int, bars);
    QFETCH(int, cut);
    QFETCH(bool, hasVersion);
    QFETCH(int, expectedBars);
    QByteArray bytes = historyBytes(version, risingBars(utc(2010, 1, 4), bars, 60));
    bytes.chop(cut);
    const QString path = m_dir.filePath(QStringLiteral("size%1.hst").arg(QTest::currentDataTag()));
    QVERIFY(writeFile(path, bytes));
    HistoryReader reader;
    QVERIFY(reader.open(path));
    QVERIFY(reader.errorMessage().isEmpty());
    QCOMPARE(reader.version().has_value(), hasVersion);
    QCOMPARE(reader.barCount(), expectedBars);
    for (int i = 0; i < expectedBars; ++i)
        QCOMPARE(reader.bar(i).time, utc(2010, 1, 4, i));
    QCOMPARE(reader.lowerBound(0), 0);
}

void TestHistoryReader::unknownVersionNamesIt()
{
    const QString path = m_dir.filePath(QStringLiteral("v402.hst"));
    QVERIFY(writeFile(path, historyBytes(402, risingBars(utc(2010, 1, 4), 2, 60))));
    HistoryReader reader;
    QVERIFY(!reader.open(path));
    QVERIFY2(reader.errorMessage().contains(QStringLiteral("402")),
             qPrintable(reader.errorMessage()));
    QCOMPARE(reader.barCount(), 0);
}

void TestHistoryReader::missingFileCannotBeOpened()
{
    HistoryReader reader;
    QVERIFY(!reader.open(m_dir.filePath(QStringLiteral("none/EURUSD60.hst"))));
    QCOMPARE(reader.errorMessage(), QStringLiteral("Не могу открыть файл"));
    QVERIFY(!reader.open(m_dir.path())); // a folder is no history file either
}

void TestHistoryReader::lowerBound_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<qint64>("expected");
    QTest::newRow("before the first bar") << utc(2009, 1, 1) << qint64(0);
    QTest::newRow("the first bar") << utc(2010, 1, 4) << qint64(0);
    QTest::newRow("inside a bar") << utc(2010, 1, 4, 5, 30) << qint64(6);
    QTest::newRow("a bar's time") << utc(2010, 1, 4, 6) << qint64(6);
    QTest::newRow("the last bar") << utc(2010, 1, 4, 99) << qint64(99);
    QTest::newRow("after the last bar") << utc(2010, 1, 4, 99, 1) << qint64(100);
}

void TestHistoryReader::lowerBound()
{
    QFETCH(qint64, time);
    QFETCH(qint64, expected);
    for (const int version : {400, 401}) {
        const QString path = m_dir.filePath(QStringLiteral("bound%1.hst").arg(version));
        QVERIFY(writeFile(path, historyBytes(version, risingBars(utc(2010, 1, 4), 100, 60))));
        HistoryReader reader;
        QVERIFY(reader.open(path));
        QCOMPARE(reader.lowerBound(time), expected);
    }
}

void TestHistoryReader::lowerBoundOnUnorderedBarsStaysInRange()
{
    std::vector<HistoryBar> bars = risingBars(utc(2010, 1, 4), 64, 60);
    for (size_t i = 0; i < bars.size(); ++i) // scrambled: times jump back and forth
        bars[i].time =
            utc(2010, 1, 4) + qint64((i * 37) % 64) * 3600 - (i % 5 == 0 ? 10 * 86400 : 0);
    const QString path = m_dir.filePath(QStringLiteral("scrambled.hst"));
    QVERIFY(writeFile(path, historyBytes(401, bars)));
    HistoryReader reader;
    QVERIFY(reader.open(path));
    for (qint64 t = utc(2009, 12, 20); t < utc(2010, 1, 8); t += 1800) {
        const qint64 i = reader.lowerBound(t);
        QVERIFY(i >= 0 && i <= reader.barCount());
    }
}

void TestHistoryReader::barDateTime_data()
{
    QTest::addColumn<qint64>("time");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QList<int>>("fields"); // year, month, day, hour, minute, second
    QTest::newRow("time 0") << qint64(0) << true << QList<int>{1970, 1, 1, 0, 0, 0};
    QTest::newRow("2010-05-12 10:00")
        << qint64(1273658400) << true << QList<int>{2010, 5, 12, 10, 0, 0};
    QTest::newRow("leap day") << utc(2012, 2, 29, 23, 59, 59) << true
                              << QList<int>{2012, 2, 29, 23, 59, 59};
    QTest::newRow("end of 2000") << utc(2000, 12, 31, 12) << true
                                 << QList<int>{2000, 12, 31, 12, 0, 0};
    QTest::newRow("last second of 9999")
        << BarDateTime::kEndSeconds - 1 << true << QList<int>{9999, 12, 31, 23, 59, 59};
    QTest::newRow("year 10000") << BarDateTime::kEndSeconds << false << QList<int>{};
    QTest::newRow("before 1970") << qint64(-1) << false << QList<int>{};
    QTest::newRow("int32 minimum") << qint64(INT32_MIN) << false << QList<int>{};
}

void TestHistoryReader::barDateTime()
{
    QFETCH(qint64, time);
    QFETCH(bool, valid);
    QFETCH(QList<int>, fields);
    const std::optional<BarDateTime> t = BarDateTime::fromTime(time);
    QCOMPARE(t.has_value(), valid);
    if (!valid)
        return;
    QCOMPARE((QList<int>{t->year, t->month, t->day, t->hour, t->minute, t->second}), fields);
    QCOMPARE(t->msecs(), time * 1000);
    QCOMPARE(t->dayNumber(), DaysFromCivil(fields[0], fields[1], fields[2]));
}

void TestHistoryReader::calendarRoundTrip()
{
    // Every day from 1970 to 2100 and the last years before 10000, against Qt's calendar.
    const QDate epoch(1970, 1, 1);
    auto checkDay = [&](qint64 day) {
        const QDate expected = epoch.addDays(day);
        const std::optional<BarDateTime> t = BarDateTime::fromTime(day * 86400 + 43200);
        QVERIFY(t);
        QCOMPARE(QDate(t->year, t->month, t->day), expected);
        QCOMPARE(DaysFromCivil(expected.year(), expected.month(), expected.day()), day);
    };
    for (qint64 day = 0; day < DaysFromCivil(2100, 1, 1); ++day)
        checkDay(day);
    for (qint64 day = DaysFromCivil(9990, 1, 1); day < DaysFromCivil(10000, 1, 1); ++day)
        checkDay(day);
    QCOMPARE(DaysFromCivil(1969, 12, 31), -1);
}

void TestHistoryReader::tradeDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("day"); // -1: not a date
    QTest::newRow("plain") << "2010.05.12" << DaysFromCivil(2010, 5, 12);
    QTest::newRow("leap day") << "2012.02.29" << DaysFromCivil(2012, 2, 29);
    QTest::newRow("year end") << "2010.12.31" << DaysFromCivil(2010, 12, 31);
    QTest::newRow("four-digit year kept") << "1999.01.01" << DaysFromCivil(1999, 1, 1);
    QTest::newRow("February 29 of 2010") << "2010.02.29" << qint64(-1);
    QTest::newRow("February 30") << "2012.02.30" << qint64(-1);
    QTest::newRow("month 13") << "2010.13.01" << qint64(-1);
    QTest::newRow("month 0") << "2010.00.10" << qint64(-1);
    QTest::newRow("day 0") << "2010.05.00" << qint64(-1);
    QTest::newRow("April 31") << "2010.04.31" << qint64(-1);
    QTest::newRow("two-digit year") << "10.05.12" << qint64(-1);
    QTest::newRow("sign in a piece") << "2010.+5.12" << qint64(-1);
    QTest::newRow("blank in a piece") << "2010.05. 2" << qint64(-1);
    QTest::newRow("letters") << "2010.May.1" << qint64(-1);
    QTest::newRow("trailing blank") << "2010.05.12 " << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
}

void TestHistoryReader::tradeDate()
{
    QFETCH(QString, text);
    QFETCH(qint64, day);
    const std::optional<qint64> parsed = ParseTradeDate(text);
    QCOMPARE(parsed.value_or(-1), day);
}

void TestHistoryReader::tradeTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds"); // -1: not a time
    QTest::newRow("plain") << "10:23:05" << 37385;
    QTest::newRow("midnight") << "00:00:00" << 0;
    QTest::newRow("last second") << "23:59:59" << 86399;
    QTest::newRow("hour 24") << "24:00:00" << -1;
    QTest::newRow("minute 60") << "10:60:00" << -1;
    QTest::newRow("second 60") << "10:00:60" << -1;
    QTest::newRow("no seconds") << "10:23" << -1;
    QTest::newRow("one-digit hour") << "9:23:05" << -1;
    QTest::newRow("sign") << "-1:23:05" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestHistoryReader::tradeTime()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(ParseTradeTime(text).value_or(-1), seconds);
}

void TestHistoryReader::timeframes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index"); // -1: none
    QTest::addColumn<int>("minutes");
    QTest::newRow("М1 Cyrillic") << "М1" << 0 << 1;
    QTest::newRow("M1 Latin") << "M1" << 0 << 1;
    QTest::newRow("М15") << "М15" << 2 << 15;
    QTest::newRow("М30") << "M30" << 3 << 30;
    QTest::newRow("Н1 Cyrillic") << "Н1" << 4 << 60;
    QTest::newRow("H1 Latin") << "H1" << 4 << 60;
    QTest::newRow("Н4") << "Н4" << 5 << 240;
    QTest::newRow("D1") << "D1" << 6 << 1440;
    QTest::newRow("lower case") << "h1" << -1 << 0;
    QTest::newRow("minutes") << "60" << -1 << 0;
    QTest::newRow("empty") << "" << -1 << 0;
}

void TestHistoryReader::timeframes()
{
    QFETCH(QString, text);
    QFETCH(int, index);
    QFETCH(int, minutes);
    QCOMPARE(TimeframeIndex(text).value_or(-1), index);
    if (index >= 0)
        QCOMPARE(Timeframes()[size_t(index)].minutes, minutes);
    QCOMPARE(Timeframes()[size_t(kDefaultTimeframe)].caption, QStringLiteral("Н1"));
}

void TestHistoryReader::historyFilePath_data()
{
    const QString sep = QDir::separator();
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("symbol");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("D1") << "/h"
                        << "GBPJPY" << 1440 << "/h" + sep + "GBPJPY1440.hst";
    QTest::newRow("closing separator not doubled")
        << "/h" + sep << "GBPJPY" << 1440 << "/h" + sep + "GBPJPY1440.hst";
    QTest::newRow("closing slash not doubled") << "/h/"
                                               << "EURUSD" << 60 << "/h/EURUSD60.hst";
    QTest::newRow("nothing trimmed") << " /h "
                                     << "EURUSD " << 1 << " /h " + sep + "EURUSD 1.hst";
}

void TestHistoryReader::historyFilePath()
{
    QFETCH(QString, folder);
    QFETCH(QString, symbol);
    QFETCH(int, minutes);
    QFETCH(QString, expected);
    QCOMPARE(HistoryFilePath(folder, symbol, minutes), expected);
}

QTEST_APPLESS_MAIN(TestHistoryReader)
#include "tst_historyreader.moc"
