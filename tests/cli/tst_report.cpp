// veltrano-report: fixture statements against checked-in expected output, options, exit codes.
// Run with VELTRANO_REGENERATE=1 to rewrite the expected files on purpose.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenOutput_data();
    void goldenOutput();
    void jsonFields();
    void badInput_data();
    void badInput();

private:
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };
    static Run run(const QStringList &args);
};

TestReport::Run TestReport::run(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(VELTRANO_REPORT), args);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

void TestReport::goldenOutput_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("basic json") << "report-basic.csv" << QStringList{"--json", "--locale", "C"}
                                << "report-basic.expected.json" << 0;
    QTest::newRow("basic text") << "report-basic.csv" << QStringList{"--locale", "C"}
                                << "report-basic.expected.txt" << 0;
    QTest::newRow("bad cell json") << "report-error.csv" << QStringList{"--json", "--locale", "C"}
                                   << "report-error.expected.json" << 1;
    QTest::newRow("comma locale text") << "report-basic.csv" << QStringList{"--locale", "ru_RU", "--balance", "1000"}
                                       << "report-basic-ru.expected.txt" << 0;
}

void TestReport::goldenOutput()
{
    QFETCH(QString, fixture);
    QFETCH(QStringList, options);
    QFETCH(QString, expected);
    QFETCH(int, exitCode);
    const QString dataDir = QStringLiteral(TEST_DATA_DIR);
    // The file name as given on the command line appears in the output: use a relative one.
    QProcess process;
    process.setWorkingDirectory(dataDir);
    process.start(QStringLiteral(VELTRANO_REPORT), options + QStringList{fixture});
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitCode(), exitCode);
    const QByteArray out = process.readAllStandardOutput();

    QFile file(dataDir + QLatin1Char('/') + expected);
    if (qEnvironmentVariableIsSet("VELTRANO_REGENERATE")) {
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(out);
        QSKIP("expected output regenerated");
    }
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    QCOMPARE(QString::fromUtf8(out), QString::fromUtf8(file.readAll()));
}

void TestReport::jsonFields()
{
    const Run r = run({QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C"),
                       QStringLiteral(TEST_DATA_DIR "/report-basic.csv")});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(root.value(QStringLiteral("rows")).toInt(), 3);
    QCOMPARE(root.value(QStringLiteral("symbols")).toArray(),
             (QJsonArray{QStringLiteral("EURUSD"), QStringLiteral("GBPUSD")}));
    QVERIFY(root.value(QStringLiteral("file")).toString().endsWith(QStringLiteral("report-basic.csv")));
}

void TestReport::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    const QString fixture = QStringLiteral(TEST_DATA_DIR "/report-basic.csv");
    QTest::newRow("missing file") << QStringList{"/nonexistent/statement.csv"} << 2;
    QTest::newRow("no file") << QStringList{"--json"} << 2;
    QTest::newRow("unknown option") << QStringList{"--bogus", fixture} << 2;
    QTest::newRow("bad balance") << QStringList{"--balance", "2000.5", fixture} << 2;
    QTest::newRow("missing value") << QStringList{fixture, "--server-offset"} << 2;
    QTest::newRow("unknown locale") << QStringList{"--locale", "xx_NOPE", fixture} << 2;
}

void TestReport::badInput()
{
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    const Run r = run(args);
    QCOMPARE(r.exitCode, exitCode);
    QVERIFY(!r.err.isEmpty());
    QVERIFY(r.out.isEmpty());
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
