// veltrano-report --quote: the section equals the core's drawing field by field, golden output,
// failures inside the section (exit 1) and bad options (exit 2).
#include "formats/statementimport.h"
#include "historyfixture.h"
#include "quotes/quotechart.h"
#include "statement/tradereadout.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace historyfixture;

Q_DECLARE_METATYPE(QuoteSettings)

class TestReportQuote : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sectionEqualsTheDrawing_data();
    void sectionEqualsTheDrawing();
    void goldenOutput_data();
    void goldenOutput();
    void failuresInsideTheSection_data();
    void failuresInsideTheSection();
    void shortFileHasNoVersion();
    void badOptions_data();
    void badOptions();
    void helpListsTheOptions();

private:
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    Run run(const QStringList &args) const;
    QJsonObject quoteOf(const Run &r) const;

    QTemporaryDir m_dir; // the working folder: the statement and two history folders
};

namespace {

QJsonArray pointsJson(const std::vector<QuotePoint> &points)
{
    QJsonArray array;
    for (const QuotePoint &p : points)
        array.append(QJsonArray{p.msecs, p.value, ColourName(p.colour)});
    return array;
}

} // namespace

void TestReportQuote::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("v401")) &&
            QDir(m_dir.path()).mkpath(QStringLiteral("v400")));
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/EURUSD240-v401.hst"),
                        m_dir.filePath(QStringLiteral("v401/EURUSD240.hst"))));
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/EURUSD240-v400.hst"),
                        m_dir.filePath(QStringLiteral("v400/EURUSD240.hst"))));
    QVERIFY(QFile::copy(QStringLiteral(TEST_DATA_DIR "/report-quote.csv"),
                        m_dir.filePath(QStringLiteral("report-quote.csv"))));
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("v401/EURUSD60.hst")),
                      historyBytes(500, risingBars(utc(2012, 3, 14), 10, 60))));
    QVERIFY(
        writeFile(m_dir.filePath(QStringLiteral("v401/EURUSD1440.hst")), QByteArray(147, '\0')));
}

TestReportQuote::Run TestReportQuote::run(const QStringList &args) const
{
    QProcess process;
    process.setWorkingDirectory(m_dir.path());
    process.start(QStringLiteral(VELTRANO_REPORT), args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QJsonObject TestReportQuote::quoteOf(const Run &r) const
{
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    if (error.error != QJsonParseError::NoError)
        return {};
    return root.value(QStringLiteral("quote")).toObject();
}

void TestReportQuote::sectionEqualsTheDrawing_data()
{
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QuoteSettings>("settings");
    QuoteSettings h4;
    h4.timeframe = 5;
    h4.timeframeText = QStringLiteral("Н4");
    QTest::newRow("first row of a ticket, Latin H4")
        << "3001" << 1 << "v401" << QStringList{"--timeframe", "H4"} << h4;
    QTest::newRow("same from the 400 file")
        << "3001" << 1 << "v400" << QStringList{"--timeframe", "Н4"} << h4;
    QuoteSettings shifted = h4;
    shifted.barLimit = QStringLiteral("0");
    shifted.gmtShift = QStringLiteral("-5");
    QTest::newRow("bars and shift")
        << "3002" << 2 << "v401"
        << QStringList{"--timeframe", "H4", "--bars", "0", "--gmt-shift", "-5"} << shifted;
}

void TestReportQuote::sectionEqualsTheDrawing()
{
    QFETCH(QString, ticket);
    QFETCH(int, row);
    QFETCH(QString, folder);
    QFETCH(QStringList, options);
    QFETCH(QuoteSettings, settings);
    const Run r =
        run(QStringList{"--json", "--locale", "C", "--quote", ticket, "--history", folder} +
            options + QStringList{"report-quote.csv"});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QJsonObject quote = quoteOf(r);

    const ImportResult imported =
        ImportStatement(m_dir.filePath(QStringLiteral("report-quote.csv")));
    QVERIFY(imported.table);
    settings.historyFolder = m_dir.filePath(folder); // the report ran in m_dir
    const QuoteChart expected = DrawTrade(SelectTrade(*imported.table, row), settings);
    QVERIFY(!expected.error);
    QVERIFY(expected.candles.size() > 5);

    QCOMPARE(quote.keys().size(), 9);
    QCOMPARE(quote.value(QStringLiteral("title")).toString(), expected.title);
    QCOMPARE(quote.value(QStringLiteral("file")).toString(),
             folder + QDir::separator() + QStringLiteral("EURUSD240.hst"));
    QCOMPARE(quote.value(QStringLiteral("version")).toInt(), *expected.version);
    QCOMPARE(quote.value(QStringLiteral("open_shape")).toString(),
             expected.openShape == OpenShape::Up ? QStringLiteral("up") : QStringLiteral("down"));
    QJsonArray candles;
    for (const QuoteCandle &c : expected.candles)
        candles.append(QJsonArray{c.msecs, c.open, c.high, c.low, c.close, ColourName(c.colour)});
    QCOMPARE(quote.value(QStringLiteral("candles")).toArray(), candles);
    QCOMPARE(quote.value(QStringLiteral("open")).toArray(), pointsJson(expected.open));
    QCOMPARE(quote.value(QStringLiteral("close")).toArray(), pointsJson(expected.close));
    QCOMPARE(quote.value(QStringLiteral("sl")).toArray(), pointsJson(expected.stopLoss));
    QCOMPARE(quote.value(QStringLiteral("tp")).toArray(), pointsJson(expected.takeProfit));
    // Times are JSON integers.
    QVERIFY(r.out.contains("[" + QByteArray::number(expected.candles.front().msecs) + ", "));
}

void TestReportQuote::goldenOutput_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::newRow("json") << QStringList{"--json"} << "report-quote.expected.json.part";
    QTest::newRow("text") << QStringList{} << "report-quote.expected.txt.part";
}

void TestReportQuote::goldenOutput()
{
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    const Run r =
        run(options + QStringList{"--locale", "C", "--quote", "3001", "--history", "v401",
                                  "--timeframe", "H4", "--bars", "3", "report-quote.csv"});
    QCOMPARE(r.exitCode, 0);
    // Only the quote section: the sections before it have golden files of their own.
    QByteArray section;
    if (options.contains(QStringLiteral("--json"))) {
        const qsizetype from = r.out.indexOf("\n  \"quote\": ");
        QVERIFY(from >= 0);
        section = r.out.mid(from + 1, r.out.indexOf('\n', from + 1) - from);
    } else {
        const qsizetype from = r.out.indexOf(QStringLiteral("На графике\n").toUtf8());
        QVERIFY(from >= 0);
        section = r.out.mid(from);
    }
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + expected);
    if (qEnvironmentVariableIsSet("VELTRANO_REGENERATE")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(section);
        QSKIP("expected output regenerated");
    }
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QCOMPARE(QString::fromUtf8(section), QString::fromUtf8(file.readAll()));
}

void TestReportQuote::failuresInsideTheSection_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message"); // a part of it
    const QString sep = QDir::separator();
    QTest::newRow("no history file")
        << QStringList{"--quote", "3004", "--history", "v401", "--timeframe", "H4"} << -1
        << "history"
        << "v401" + sep + "GBPUSD240.hst"
        << "Не могу открыть файл";
    QTest::newRow("unknown version")
        << QStringList{"--quote", "3001", "--history", "v401"} << -1 << "history"
        << "v401" + sep + "EURUSD60.hst"
        << "500";
    QTest::newRow("bad cell of the drawn row")
        << QStringList{"--quote", "3003", "--history", "v401"} << 3 << "OpenTime"
        << "25:00:00"
        << "Строка 3, столбец OpenTime";
}

void TestReportQuote::failuresInsideTheSection()
{
    QFETCH(QStringList, args);
    QFETCH(int, row);
    QFETCH(QString, column);
    QFETCH(QString, text);
    QFETCH(QString, message);
    const Run r =
        run(QStringList{"--json", "--locale", "C"} + args + QStringList{"report-quote.csv"});
    QCOMPARE(r.exitCode, 1);
    const QJsonObject error = quoteOf(r).value(QStringLiteral("error")).toObject();
    QCOMPARE(error.value(QStringLiteral("row")).toInt(), row);
    QCOMPARE(error.value(QStringLiteral("column")).toString(), column);
    QCOMPARE(error.value(QStringLiteral("text")).toString(), text);
    QVERIFY2(error.value(QStringLiteral("message")).toString().contains(message),
             qPrintable(error.value(QStringLiteral("message")).toString()));
    // The other sections are still there.
    QVERIFY(QJsonDocument::fromJson(r.out).object().contains(QStringLiteral("outcomes")));
}

void TestReportQuote::shortFileHasNoVersion()
{
    const Run r = run({"--json", "--quote", "3001", "--history", "v401", "--timeframe", "D1",
                       "report-quote.csv"});
    QCOMPARE(r.exitCode, 0);
    const QJsonObject quote = quoteOf(r);
    QVERIFY(quote.value(QStringLiteral("version")).isNull());
    QCOMPARE(quote.value(QStringLiteral("title")).toString(), QStringLiteral("EURUSD D1"));
    QCOMPARE(quote.value(QStringLiteral("candles")).toArray(), QJsonArray());
    QVERIFY(r.out.contains("\"version\": null"));
}

void TestReportQuote::badOptions_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("no such ticket") << QStringList{"--quote", "9999", "--history", "v401"};
    QTest::newRow("ticket matched by its start only")
        << QStringList{"--quote", "300", "--history", "v401"};
    QTest::newRow("empty ticket") << QStringList{"--quote", "", "--history", "v401"};
    QTest::newRow("no history folder") << QStringList{"--quote", "3001"};
    QTest::newRow("unknown timeframe")
        << QStringList{"--quote", "3001", "--history", "v401", "--timeframe", "H2"};
    QTest::newRow("lower-case timeframe")
        << QStringList{"--quote", "3001", "--history", "v401", "--timeframe", "h1"};
    QTest::newRow("bars not whole")
        << QStringList{"--quote", "3001", "--history", "v401", "--bars", "2.5"};
    QTest::newRow("bars too large")
        << QStringList{"--quote", "3001", "--history", "v401", "--bars", "99999999999"};
    QTest::newRow("shift not a number")
        << QStringList{"--quote", "3001", "--history", "v401", "--gmt-shift", "x"};
    QTest::newRow("history without quote") << QStringList{"--history", "v401"};
}

void TestReportQuote::badOptions()
{
    QFETCH(QStringList, args);
    const Run r = run(QStringList{"--json"} + args + QStringList{"report-quote.csv"});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(r.out.isEmpty());
}

void TestReportQuote::helpListsTheOptions()
{
    const Run r = run({"--help"});
    QCOMPARE(r.exitCode, 0);
    for (const char *option : {"--quote <TICKET>", "--history <DIR>", "--timeframe <TF>",
                               "--bars <N>", "--gmt-shift <N>"})
        QVERIFY2(r.out.contains(option), option);
}

QTEST_GUILESS_MAIN(TestReportQuote)
#include "tst_reportquote.moc"
