// veltrano-report: fixture statements against checked-in expected output, options, exit codes.
// Run with VELTRANO_REGENERATE=1 to rewrite the expected files on purpose.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string_view>

class TestReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenOutput_data();
    void goldenOutput();
    void jsonFields();
    void handWorkedFixture();
    void summaryInCloseTimeOrder();
    void htmlStatement_data();
    void htmlStatement();
    void htmlWithoutClosedTransactions();
    void labelsAreEscaped();
    void badInput_data();
    void badInput();
    void fuzzFindings_data();
    void fuzzFindings();

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
    const int exitCode = process.exitStatus() == QProcess::CrashExit ? -1 : process.exitCode();
    return {exitCode, process.readAllStandardOutput(), process.readAllStandardError()};
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
    QTest::newRow("comma locale text")
        << "report-basic.csv" << QStringList{"--locale", "ru_RU", "--balance", "1000"}
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
    QVERIFY(
        root.value(QStringLiteral("file")).toString().endsWith(QStringLiteral("report-basic.csv")));
}

namespace {

QJsonArray rowsOf(const QJsonValue &grid)
{
    return grid.toArray();
}

QJsonArray strings(const QStringList &texts)
{
    QJsonArray array;
    for (const QString &t : texts)
        array.append(t);
    return array;
}

QJsonArray numbers(const QList<double> &values)
{
    QJsonArray array;
    for (const double v : values)
        array.append(v);
    return array;
}

} // namespace

void TestReport::handWorkedFixture()
{
    // Six trades worked out by hand: a target hit, a deleted BUYSTOP, a trailing stop in profit,
    // a Saturday trade within the breakeven band, a stop hit and a manual loss.
    const Run r = run({QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C"),
                       QStringLiteral(TEST_DATA_DIR "/report-outcomes.csv")});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();

    const QJsonObject statistics = root.value(QStringLiteral("statistics")).toObject();
    QCOMPARE(statistics.value(QStringLiteral("winning"))
                 .toObject()
                 .value(QStringLiteral("sum"))
                 .toString(),
             QStringLiteral("121.00"));
    QCOMPARE(statistics.value(QStringLiteral("winning"))
                 .toObject()
                 .value(QStringLiteral("average"))
                 .toString(),
             QStringLiteral("30.25"));
    QCOMPARE(statistics.value(QStringLiteral("losing"))
                 .toObject()
                 .value(QStringLiteral("average"))
                 .toString(),
             QStringLiteral("-35.00"));
    QCOMPARE(statistics.value(QStringLiteral("net")).toString(), QStringLiteral("51.00"));
    const QJsonArray sessions = statistics.value(QStringLiteral("sessions")).toArray();
    QCOMPARE(sessions.at(2).toObject().value(QStringLiteral("trades")).toString(),
             QStringLiteral("5"));
    QCOMPARE(sessions.at(2).toObject().value(QStringLiteral("profit_factor")).toString(),
             QStringLiteral("2.42"));
    QCOMPARE(sessions.at(3).toObject().value(QStringLiteral("profit_factor")).toString(),
             QStringLiteral("0.00"));
    QCOMPARE(sessions.at(4).toObject().value(QStringLiteral("profit_factor")).toString(),
             QString());
    const QJsonArray equity = statistics.value(QStringLiteral("equity")).toArray();
    QCOMPARE(equity.size(), 6);
    QCOMPARE(equity.at(4).toArray(), (QJsonArray{4, 2071.0, QStringLiteral("2005")}));

    const QJsonObject pairs = root.value(QStringLiteral("pairs")).toObject();
    QCOMPARE(rowsOf(pairs.value(QStringLiteral("grid"))).at(2).toArray(),
             strings({"GBPUSD", "0.00", "2"}));
    QCOMPARE(pairs.value(QStringLiteral("curves"))
                 .toArray()
                 .at(0)
                 .toObject()
                 .value(QStringLiteral("points"))
                 .toArray()
                 .at(3)
                 .toArray(),
             (QJsonArray{3, 51.0, QStringLiteral("3")}));

    const QJsonObject weekdays = root.value(QStringLiteral("weekdays")).toObject();
    QCOMPARE(rowsOf(weekdays.value(QStringLiteral("grid"))).at(1).toArray(),
             strings({"EURUSD", "100.00", "0.00", "-50.00", "0.00", "0.00"}));
    QCOMPARE(rowsOf(weekdays.value(QStringLiteral("grid"))).at(2).toArray(),
             strings({"GBPUSD", "0.00", "20.00", "0.00", "-20.00", "0.00"}));
    QCOMPARE(weekdays.value(QStringLiteral("win_count")).toArray(), numbers({1, 2, 0, 0, 0}));
    QCOMPARE(weekdays.value(QStringLiteral("loss_count")).toArray(), numbers({0, 0, 1, 1, 0}));
    QCOMPARE(weekdays.value(QStringLiteral("win_sum")).toArray(), numbers({100, 20, 0, 0, 0}));
    QCOMPARE(weekdays.value(QStringLiteral("loss_sum")).toArray(), numbers({0, 0, -50, -20, 0}));

    const QJsonObject risk = root.value(QStringLiteral("risk")).toObject();
    QCOMPARE(rowsOf(risk.value(QStringLiteral("grid"))).at(1).toArray(),
             strings({"EURUSD", "200.00", "0.62", "0.00"}));
    QCOMPARE(rowsOf(risk.value(QStringLiteral("grid"))).at(2).toArray(),
             strings({"GBPUSD", "200.00", "0.62", "80.00"}));
    const QJsonArray ratio = risk.value(QStringLiteral("risk_ratio")).toArray();
    QCOMPARE(ratio.size(), 3);
    QCOMPARE(ratio.at(1).toArray().at(2).toString(), QStringLiteral("2005"));
    const QJsonArray share = risk.value(QStringLiteral("risk_share")).toArray();
    QVERIFY(qAbs(share.at(2).toArray().at(1).toDouble() - 0.005 * 10000 / 8051 * 100) < 1e-9);
    QCOMPARE(risk.value(QStringLiteral("shortfall")).toArray(),
             (QJsonArray{QJsonArray{0, 0.0, QStringLiteral("2001")},
                         QJsonArray{1, 80.0, QStringLiteral("2003")}}));

    const QJsonObject outcomes = root.value(QStringLiteral("outcomes")).toObject();
    const QJsonArray outcomeRows = rowsOf(outcomes.value(QStringLiteral("outcomes_grid")));
    QCOMPARE(outcomeRows.at(1).toArray(), strings({"EURUSD", "1", "1", "1", "0", "1", "0", "4"}));
    QCOMPARE(outcomeRows.at(2).toArray(), strings({"GBPUSD", "0", "0", "0", "1", "0", "1", "2"}));
    const QJsonArray groupRows = rowsOf(outcomes.value(QStringLiteral("groups_grid")));
    QCOMPARE(groupRows.at(1).toArray(), strings({"EURUSD", "1", "0", "0", "1"}));
    QCOMPARE(groupRows.at(2).toArray(), strings({"GBPUSD", "0", "0", "0", "1"}));
    QCOMPARE(groupRows.at(3).toArray(), strings({"Итого", "2", "0", "1", "1"}));
}

void TestReport::summaryInCloseTimeOrder()
{
    // The same fixture for the summary: in close-time order the trades are 2001 +100, 2003 +20,
    // 2005 -50, 2006 -20, 2004 +1 (the BUYSTOP is no trade), so the first run of wins is two long,
    // not three as in table order. Balance 2000, 2100, 2120, 2070, 2050, 2051.
    const Run r = run({QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C"),
                       QStringLiteral(TEST_DATA_DIR "/report-outcomes.csv")});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QJsonObject summary =
        QJsonDocument::fromJson(r.out).object().value(QStringLiteral("summary")).toObject();
    const std::pair<const char *, const char *> expected[] = {
        {"trades", "5"},
        {"gross_profit", "121.00"},
        {"gross_loss", "70.00"},
        {"net_profit", "51.00"},
        {"profit_factor", "1.73"},
        {"expected_payoff", "10.20"},
        {"absolute_drawdown", "0.00"},
        {"maximal_drawdown", "70.00"},
        {"maximal_drawdown_percent", "3.30"},
        {"short_positions", "2"},
        {"short_won_percent", "50.00"},
        {"long_positions", "3"},
        {"long_won_percent", "66.67"},
        {"max_consecutive_wins", "2"},
        {"max_consecutive_wins_money", "120.00"},
        {"maximal_consecutive_profit", "120.00"},
        {"maximal_consecutive_profit_count", "2"},
        {"max_consecutive_losses", "2"},
        {"max_consecutive_losses_money", "-70.00"},
        {"average_consecutive_wins", "2"},
        {"average_consecutive_losses", "2"},
        {"initial_deposit", "2000.00"},
        {"deposits", "0.00"},
        {"account_maximal_drawdown", "70.00"}};
    for (const auto &[key, text] : expected)
        QCOMPARE(summary.value(QLatin1String(key)).toString(), QString::fromUtf8(text));
    QCOMPARE(summary.size(), 41);
}

void TestReport::htmlStatement_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<double>("statisticsStart"); // the balance before the first row
    QTest::addColumn<QString>("initialDeposit");
    QTest::newRow("the statement's own balance") << QStringList{} << 1000.0 << "1000.00";
    QTest::newRow("a balance given wins") << QStringList{"--balance", "500"} << 500.0 << "500.00";
}

void TestReport::htmlStatement()
{
    // The terminal's HTML statement goes through the same import: the summary is the terminal's
    // own Details block, and the balance starts where the statement's does.
    QFETCH(QStringList, options);
    QFETCH(double, statisticsStart);
    QFETCH(QString, initialDeposit);
    const Run r =
        run(QStringList{QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C")} +
            options + QStringList{QStringLiteral(TEST_DATA_DIR "/statements/statement-01.htm")});
    QVERIFY2(r.exitCode == 0, r.err.constData());
    const QJsonObject root = QJsonDocument::fromJson(r.out).object();
    QCOMPARE(root.value(QStringLiteral("rows")).toInt(), 15); // 10 trades, 5 cancelled limit orders
    const QJsonObject summary = root.value(QStringLiteral("summary")).toObject();
    QCOMPARE(summary.value(QStringLiteral("initial_deposit")).toString(), initialDeposit);
    if (options.isEmpty()) {
        const QJsonObject printed =
            QJsonDocument::fromJson(
                R"({"trades": "10", "gross_profit": "81.94", "gross_loss": "36.20", "net_profit": "45.74",
                    "profit_factor": "2.26", "expected_payoff": "4.57", "absolute_drawdown": "8.56",
                    "maximal_drawdown": "19.06", "maximal_drawdown_percent": "1.89",
                    "relative_drawdown_percent": "1.89", "relative_drawdown": "19.06",
                    "short_positions": "10", "short_won_percent": "60.00", "long_positions": "0",
                    "long_won_percent": "0.00", "profit_trades": "6", "profit_trades_percent": "60.00",
                    "loss_trades": "4", "loss_trades_percent": "40.00", "largest_profit_trade": "38.40",
                    "largest_loss_trade": "-10.28", "average_profit_trade": "13.66", "average_loss_trade": "-9.05",
                    "max_consecutive_wins": "3", "max_consecutive_wins_money": "20.59",
                    "max_consecutive_losses": "2", "max_consecutive_losses_money": "-19.06",
                    "maximal_consecutive_profit": "38.40", "maximal_consecutive_profit_count": "1",
                    "maximal_consecutive_loss": "-19.06", "maximal_consecutive_loss_count": "2",
                    "average_consecutive_wins": "2", "average_consecutive_losses": "1",
                    "initial_deposit": "1000.00", "deposits": "1000.00", "withdrawals": "0.00", "credit": "0.00"})")
                .object();
        for (auto it = printed.begin(); it != printed.end(); ++it)
            QCOMPARE(summary.value(it.key()).toString(), it.value().toString());
    }
    // Row 1 is a cancelled order (result 0.00): the first balance point is the starting balance.
    const QJsonArray equity = root.value(QStringLiteral("statistics"))
                                  .toObject()
                                  .value(QStringLiteral("equity"))
                                  .toArray();
    QCOMPARE(equity.at(0).toArray().at(1).toDouble(), statisticsStart);
}

void TestReport::htmlWithoutClosedTransactions()
{
    const Run r = run({QStringLiteral(TEST_DATA_DIR "/statements/tester-02.htm")});
    QCOMPARE(r.exitCode, 2);
    QVERIFY(r.out.isEmpty());
    QVERIFY2(r.err.contains("Closed Transactions"), r.err.constData());
}

void TestReport::labelsAreEscaped()
{
    // A ticket with a quote, a backslash and a tab must come back unchanged from the JSON.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quoted.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(
        "h;\n10\"0\\1\t;2010.05.24;10:00:00;BUY;0.1;EURUSD;1.2;0;0;2010.05.24;11:00:00;1.2;0;5;\n"
        "1002;2010.05.24;10:00:00;BUY;0.1;EURUSD;1.2;0;0;2010.05.24;11:00:00;1.2;0;-5;\n");
    file.close();
    const Run r =
        run({QStringLiteral("--json"), QStringLiteral("--locale"), QStringLiteral("C"), path});
    QCOMPARE(r.exitCode, 0);
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    const QJsonArray equity = root.value(QStringLiteral("statistics"))
                                  .toObject()
                                  .value(QStringLiteral("equity"))
                                  .toArray();
    QCOMPARE(equity.at(0).toArray(), (QJsonArray{0, 2005.0, QStringLiteral("10\"0\\1\t")}));
    QCOMPARE(equity.at(1).toArray(), (QJsonArray{1, 2000.0, QStringLiteral("1002")}));
}

void TestReport::badInput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    const QString fixture = QStringLiteral(TEST_DATA_DIR "/report-basic.csv");
    QTest::newRow("missing file") << QStringList{"/nonexistent/statement.csv"} << 2;
    QTest::newRow("a picture, not a statement")
        << QStringList{QStringLiteral(TEST_DATA_DIR "/../../docs/main-window.png")} << 2;
    QTest::newRow("a folder") << QStringList{QStringLiteral(TEST_DATA_DIR)} << 2;
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

void TestReport::fuzzFindings_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("refused"); // not a statement: exit status 2 and the reason
    // empty-label.csv is empty-label.bin with its zero bytes made blanks, so that it still
    // reaches the analyses with its empty ticket.
    for (const char *file :
         {"empty.csv", "empty-label.bin", "empty-label.csv", "weekday-scale-overflow.csv"})
        for (const char *format : {"--json", "--locale=C"})
            QTest::addRow("%s %s", file, format)
                << QString::fromLatin1(file) << QString::fromLatin1(format)
                << (file == std::string_view("empty.csv") ||
                    file == std::string_view("empty-label.bin"));
}

void TestReport::fuzzFindings()
{
    // Inputs that once reached undefined behaviour: they must give a normal report, or be
    // refused as no statement at all.
    QFETCH(QString, file);
    QFETCH(QString, format);
    QFETCH(bool, refused);
    const Run r = run({format, QStringLiteral(TEST_DATA_DIR "/fuzz/") + file});
    if (refused) {
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.out.isEmpty());
        QVERIFY2(QString::fromLocal8Bit(r.err).contains(QStringLiteral("это не выписка")),
                 r.err.constData());
        return;
    }
    QVERIFY2(r.exitCode == 0 || r.exitCode == 1, r.err.constData());
    QVERIFY(!r.out.isEmpty());
    if (format == QLatin1String("--json")) {
        QJsonParseError error;
        QJsonDocument::fromJson(r.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
    }
}

QTEST_GUILESS_MAIN(TestReport)
#include "tst_report.moc"
