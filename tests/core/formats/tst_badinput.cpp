// Hostile and broken inputs, one row each, with the answer expected: statement files, numbers,
// dates and times of the analyses, files that are not files, history files, the settings file.
#include "analysis/sessionstatistics.h"
#include "analysis/weekdayresults.h"
#include "formats/statementimport.h"
#include "historyfixture.h"
#include "quotes/historyreader.h"
#include "quotes/quotechart.h"
#include "settingsfile.h"
#include "statement/tradereadout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

class TestBadInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statementFiles_data();
    void statementFiles();
    void hundredMegabyteLine_data();
    void hundredMegabyteLine();
    void notAFile_data();
    void notAFile();
    void tooLargeForMemory();
    void profitNumbers_data();
    void profitNumbers();
    void sumsPastTheLargestDouble();
    void datesAndTimes_data();
    void datesAndTimes();
    void historyFiles_data();
    void historyFiles();
    void settingsFiles_data();
    void settingsFiles();

private:
    QString writeFile(const QByteArray &bytes, const QString &name = QString());
    /// A one-order statement whose `column` holds `text`.
    static StatementTable oneOrder(Column column, const QString &text);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

const QByteArray kHeader =
    "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close Date;Close Time;Price;Swap;"
    "Profit;\r\n";
const QByteArray kOrder =
    "1001;2010.05.24;10:00:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;2010.05.24;12:00:00;1.2100;"
    "0.00;12.50;\r\n";

QByteArray utf16le(const std::u16string &text, bool mark = true)
{
    QByteArray out = mark ? QByteArray("\xFF\xFE", 2) : QByteArray();
    for (const char16_t c : text)
        out.append(char(c & 0xFF)).append(char(c >> 8));
    return out;
}

QByteArray fields(int count)
{
    QByteArray line;
    for (int i = 0; i < count; ++i)
        line += QByteArray::number(i) + ';';
    return line;
}

// Runs `work` on a thread and waits at most 10 s: an import that blocks (on a pipe without a
// writer) fails the test instead of hanging it. `unblock` is called to free a stuck thread.
template <typename Work, typename Unblock> bool finishesInTime(Work work, Unblock unblock)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->start();
    if (thread->wait(10000))
        return true;
    unblock();
    thread->wait();
    return false;
}

QString described(const std::optional<CellError> &error)
{
    return error ? error->describe() : QString();
}

} // namespace

QString TestBadInput::writeFile(const QByteArray &bytes, const QString &name)
{
    const QString path =
        m_dir.filePath(name.isEmpty() ? QStringLiteral("bad%1.csv").arg(++m_files) : name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
    return path;
}

StatementTable TestBadInput::oneOrder(Column column, const QString &text)
{
    StatementTable table = ImportStatementBytes([] {
                               LargeArray<char> bytes;
                               const QByteArray all = kHeader + kOrder;
                               bytes.append(all.constData(), size_t(all.size()));
                               return bytes;
                           }())
                               .table.value();
    table.setCell(1, int(column), text);
    return table;
}

void TestBadInput::statementFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error"); // a fragment of the refusal; empty when imported
    QTest::addColumn<int>("rows");      // table rows, the header's included
    QTest::addColumn<int>("row");       // a cell to look at
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty file") << QByteArray() << QStringLiteral("файл пуст") << 0 << 0 << 0
                                << QString();
    QTest::newRow("byte-order mark only")
        << QByteArray("\xEF\xBB\xBF") << QStringLiteral("файл пуст") << 0 << 0 << 0 << QString();
    QTest::newRow("header only") << kHeader << QString() << 1 << 0 << 13
                                 << QStringLiteral("Profit");
    QTest::newRow("blank lines only")
        << QByteArray(" \r\n\t\n\n  \r") << "только пустые строки" << 0 << 0 << 0 << QString();
    QTest::newRow("binary garbage: a picture")
        << QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000010000000100806000000"
                               "1ff3ff613b") // the start of a PNG picture
        << "нулевые байты" << 0 << 0 << 0 << QString();
    QTest::newRow("binary garbage without zero bytes")
        << QByteArray("\x80\x81\xfe\xfd\xc3\x28\xa0\xa1\r\n\xe2\x82\n\xf0\x28\x8c\xbc")
        << "разделителя «;»" << 0 << 0 << 0 << QString();
    QTest::newRow("text without separators") << QByteArray("Dear customer,\nplease find attached\n")
                                             << "разделителя «;»" << 0 << 0 << 0 << QString();
    QTest::newRow("NUL inside a field of the first lines")
        << kHeader + QByteArray("1001;2010\0.05.24;\r\n", 19) << "нулевые байты" << 0 << 0 << 0
        << QString();
    QTest::newRow("NUL inside a field further on")
        << kHeader + kOrder.repeated(10) + QByteArray("1011;x\0y;\r\n", 11) << QString() << 12 << 11
        << 1 << QString::fromUtf8("x\0y", 3);
    QTest::newRow("odd-length UTF-16")
        << utf16le(u"h;\n1;x;") + 'A' << QString() << 2 << 1 << 1 << QStringLiteral("x");
    QTest::newRow("UTF-16 without its mark")
        << utf16le(u"h;\n1;Евро;", false) << QString() << 2 << 1 << 1 << QStringLiteral("Евро");
    QTest::newRow("lone surrogate in UTF-16")
        << utf16le(std::u16string(u"h;\n") + char16_t(0xD800) + u";x;") << QString() << 2 << 1 << 0
        << QStringLiteral("?");
    QTest::newRow("surrogate encoded in UTF-8") // not UTF-8, so read as Windows-1251
        << QByteArray("h;\n\xED\xA0\x80;x;\n") << QString() << 2 << 1 << 0
        << QStringLiteral("н\u00A0Ђ");
    QTest::newRow("invalid UTF-8 mixed with Windows-1251")
        << QByteArray("Тикет;\n1;\xC5\xE2\xF0\xEE;\n") << QString() << 2 << 1 << 1
        << QStringLiteral("Евро");
    QTest::newRow("13 fields") << kHeader + fields(13) << QString() << 2 << 1 << 13 << QString();
    QTest::newRow("15 fields, the 15th dropped")
        << kHeader + fields(15) << QString() << 2 << 1 << 13 << QStringLiteral("13");
    QTest::newRow("40 fields") << kHeader + fields(40) << QString() << 2 << 1 << 13
                               << QStringLiteral("13");
}

void TestBadInput::statementFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    const ImportResult result = ImportStatement(writeFile(bytes));
    if (!error.isEmpty()) {
        QVERIFY(!result.table);
        QVERIFY2(result.error.contains(error), qPrintable(result.error));
        QVERIFY2(result.error.startsWith(QStringLiteral("это не выписка")),
                 qPrintable(result.error));
        return;
    }
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.table->rowCount(), rows);
    QCOMPARE(result.table->cell(row, column), text);
    // Every analysis gets a result or an error naming a cell, never a crash.
    const StatisticsResult statistics = CalculateStatistics(*result.table, StatisticsSettings());
    if (statistics.error)
        QVERIFY(statistics.error->row >= 0);
}

void TestBadInput::hundredMegabyteLine_data()
{
    QTest::addColumn<bool>("separatorFirst");
    QTest::newRow("one field of 100 MB") << true;
    QTest::newRow("100 MB without a separator") << false;
}

void TestBadInput::hundredMegabyteLine()
{
    QFETCH(bool, separatorFirst);
    const qsizetype length = 100 * 1000 * 1000;
    const QString path = m_dir.filePath(QStringLiteral("long.csv"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (separatorFirst)
            file.write("h;\n");
        const QByteArray block(1000 * 1000, 'x');
        for (int i = 0; i < 100; ++i)
            file.write(block);
        if (separatorFirst)
            file.write(";tail;\n");
    }
    ImportResult result = ImportStatement(path);
    QFile::remove(path);
    if (!separatorFirst) {
        QVERIFY(!result.table);
        QVERIFY2(result.error.contains(QStringLiteral("разделителя")), qPrintable(result.error));
        return;
    }
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.table->rowCount(), 2);
    QCOMPARE(result.table->cellUtf8(1, Column::Ticket).size(), size_t(length));
    QCOMPARE(result.table->cell(1, 1), QStringLiteral("tail"));
    const StatisticsResult statistics = CalculateStatistics(*result.table, StatisticsSettings());
    QVERIFY(statistics.error);
    QCOMPARE(statistics.error->row, 1);
}

void TestBadInput::notAFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error"); // a fragment of the message
    QTest::newRow("a directory") << "directory"
                                 << "папка";
    QTest::newRow("a FIFO") << "fifo"
                            << "не обычный файл";
    QTest::newRow("an unreadable file") << "unreadable" << QString();
    QTest::newRow("a missing file") << "missing" << QString();
}

void TestBadInput::notAFile()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QString path = m_dir.filePath(kind);
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir(m_dir.path()).mkpath(kind));
    } else if (kind == QLatin1String("fifo")) {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (kind == QLatin1String("unreadable")) {
        if (::geteuid() == 0)
            QSKIP("permissions don't stop root from reading");
        path = writeFile(kHeader + kOrder, kind);
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
    }
    ImportResult result;
    const bool finished = finishesInTime([&] { result = ImportStatement(path); },
                                         [&] { QFile(path).open(QIODevice::WriteOnly); });
    QVERIFY2(finished, "the import waited for a writer");
    QVERIFY(!result.table);
    QVERIFY(!result.error.isEmpty());
    if (!error.isEmpty())
        QVERIFY2(result.error.contains(error), qPrintable(result.error));

    // The history reader neither waits on it.
    HistoryReader reader;
    bool opened = true;
    QVERIFY(finishesInTime([&] { opened = reader.open(path); },
                           [&] { QFile(path).open(QIODevice::WriteOnly); }));
    QVERIFY(!opened);
}

void TestBadInput::tooLargeForMemory()
{
    const QByteArray content = kHeader + kOrder.repeated(100);
    const QString path = writeFile(content);
    ImportOptions options;
    options.availableMemory = 3 * content.size() - 1;
    ImportResult result = ImportStatement(path, options);
    QVERIFY(!result.table);
    QVERIFY2(result.error.contains(QStringLiteral("слишком велик")), qPrintable(result.error));
    options.availableMemory = 3 * content.size();
    result = ImportStatement(path, options);
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.table->rowCount(), 101);

    const qint64 mib = 1024 * 1024;
    const QString message = CheckImportMemory(3072 * mib, 2048 * mib);
    QVERIFY2(message.contains(QStringLiteral("3072 МБ")) &&
                 message.contains(QStringLiteral("2048 МБ")),
             qPrintable(message));
    QCOMPARE(CheckImportMemory(0, 0), QString());
#if defined(Q_OS_LINUX)
    QVERIFY(AvailableMemory().value_or(0) > 0);
#endif
}

void TestBadInput::profitNumbers_data()
{
    QTest::addColumn<QString>("profit");
    QTest::addColumn<QString>("net"); // "Итог": empty when the statistics fail on the cell
    QTest::newRow("10,000-digit number") << QString(10000, QLatin1Char('9')) << QString();
    QTest::newRow("10,000 digits, mostly leading zeros")
        << QString(9999, QLatin1Char('0')) + QLatin1Char('5') << QString();
    QTest::newRow("1e308") << "1e308"
                           << "1.000000000E+308";
    QTest::newRow("1e309, past the largest double") << "1e309" << QString();
    QTest::newRow("nan") << "nan" << QString();
    QTest::newRow("inf") << "inf" << QString();
    QTest::newRow("0x10") << "0x10" << QString();
    QTest::newRow("leading blank") << " 5"
                                   << "5.00";
    QTest::newRow("trailing point") << "5."
                                    << "5.00";
    QTest::newRow("leading point") << ".5"
                                   << "0.50";
    QTest::newRow("plus sign") << "+5"
                               << "5.00";
    QTest::newRow("minus zero, a winning 0") << "-0"
                                             << "0.00";
}

void TestBadInput::profitNumbers()
{
    QFETCH(QString, profit);
    QFETCH(QString, net);
    const StatisticsResult result =
        CalculateStatistics(oneOrder(Column::Profit, profit), StatisticsSettings());
    if (net.isEmpty()) {
        QVERIFY(result.error);
        QCOMPARE(result.error->row, 1);
        QCOMPARE(result.error->column, QStringLiteral("Profit"));
        QCOMPARE(result.error->text, profit);
        const QString shown = result.error->describe();
        QVERIFY2(shown.contains(QStringLiteral("не число")) && shown.size() < 100,
                 qPrintable(shown));
        return;
    }
    QVERIFY2(!result.error, qPrintable(described(result.error)));
    QCOMPARE(result.net, net);
    QCOMPARE(result.winCount, QStringLiteral("1"));
}

void TestBadInput::sumsPastTheLargestDouble()
{
    // Two wins of 1e308 add up past the doubles: the sum and the net say so, the net is not the
    // loss alone.
    const QByteArray win = QByteArray(kOrder).replace("12.50", "1e308");
    const QByteArray loss = QByteArray(kOrder).replace("12.50", "-5.00");
    LargeArray<char> bytes;
    const QByteArray all = kHeader + win + win + loss;
    bytes.append(all.constData(), size_t(all.size()));
    const ImportResult imported = ImportStatementBytes(std::move(bytes));
    QVERIFY(imported.table);
    const StatisticsResult result = CalculateStatistics(*imported.table, StatisticsSettings());
    QVERIFY2(!result.error, qPrintable(described(result.error)));
    QCOMPARE(result.winSum, QStringLiteral("INF"));
    QCOMPARE(result.winAverage, QStringLiteral("INF"));
    QCOMPARE(result.lossSum, QStringLiteral("-5.00"));
    QCOMPARE(result.net, QStringLiteral("INF"));
}

void TestBadInput::datesAndTimes_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("analysisTakesIt"); // the weekdays (dates) or statistics (times) tab
    // The quote chart reads the cells strictly: a real date, a real clock time.
    QTest::newRow("2023.02.30") << int(Column::OpenDate) << "2023.02.30" << false;
    QTest::newRow("0000.00.00") << int(Column::OpenDate) << "0000.00.00" << false;
    QTest::newRow("2024.02.29, a real date") << int(Column::CloseDate) << "2024.02.29" << true;
    // The sessions only read the hour and minute: 24 h counts as the Asian session.
    QTest::newRow("24:00:00") << int(Column::OpenTime) << "24:00:00" << true;
    QTest::newRow("23:59:60") << int(Column::OpenTime) << "23:59:60" << true;
}

void TestBadInput::datesAndTimes()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(bool, analysisTakesIt);
    const StatementTable table = oneOrder(Column(column), text);
    const bool isDate = column == int(Column::OpenDate) || column == int(Column::CloseDate);
    const std::optional<CellError> analysisError =
        isDate ? CalculateWeekdays(table, QLatin1Char('.')).error
               : CalculateStatistics(table, StatisticsSettings()).error;
    if (analysisTakesIt) {
        QVERIFY2(!analysisError, qPrintable(described(analysisError)));
    } else {
        QVERIFY(analysisError);
        QCOMPARE(analysisError->row, 1);
        QCOMPARE(analysisError->column, ColumnName(Column(column)));
    }

    // The cells are checked before the history folder is looked at: a good trade fails on the
    // missing history file (row -1), a bad one on its cell.
    QuoteSettings settings;
    settings.historyFolder = m_dir.filePath(QStringLiteral("no-history"));
    const QuoteChart chart = DrawTrade(SelectTrade(table, 1), settings);
    QVERIFY(chart.error);
    const bool real = text != QLatin1String("2023.02.30") && text != QLatin1String("0000.00.00") &&
                      text != QLatin1String("24:00:00") && text != QLatin1String("23:59:60");
    if (real) {
        QCOMPARE(chart.error->row, -1);
    } else {
        QCOMPARE(chart.error->row, 1);
        QCOMPARE(chart.error->column, ColumnName(Column(column)));
    }
}

void TestBadInput::historyFiles_data()
{
    using namespace historyfixture;
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("error");
    QTest::addColumn<int>("bars");
    const std::vector<HistoryBar> bars = risingBars(utc(2010, 5, 24), 5, 60);
    std::vector<HistoryBar> unordered = bars;
    std::swap(unordered[1], unordered[3]);
    QTest::newRow("version 402") << historyBytes(402, bars) << false << "неизвестная версия 402"
                                 << 0;
    QTest::newRow("torn last record")
        << historyBytes(401, bars).chopped(7) << true << QString() << 4;
    QTest::newRow("unordered bars") << historyBytes(400, unordered) << true << QString() << 5;
    QTest::newRow("shorter than the header") << QByteArray(100, '\x01') << true << QString() << 0;
}

void TestBadInput::historyFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, opens);
    QFETCH(QString, error);
    QFETCH(int, bars);
    HistoryReader reader;
    QCOMPARE(reader.open(writeFile(bytes)), opens);
    QVERIFY2(reader.errorMessage().contains(error), qPrintable(reader.errorMessage()));
    QCOMPARE(reader.barCount(), qint64(bars));
    for (qint64 i = 0; i < reader.barCount(); ++i)
        QVERIFY(reader.bar(i).time > 0);
    const qint64 at = reader.lowerBound(historyfixture::utc(2010, 5, 24, 2));
    QVERIFY(at >= 0 && at <= reader.barCount());
}

void TestBadInput::settingsFiles_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("writes");
    QTest::newRow("garbage") << "garbage" << true;
    QTest::newRow("in a read-only folder") << "read-only" << false;
    QTest::newRow("under a file, not a folder") << "under-file" << false;
}

void TestBadInput::settingsFiles()
{
    QFETCH(QString, kind);
    QFETCH(bool, writes);
    QString path;
    if (kind == QLatin1String("garbage")) {
        QByteArray garbage("\x89PNG\r\n\x1a\n\0\0[Terminal\0Path=\xff\xfe\r=\n[]\n==\n", 36);
        path = writeFile(garbage, QStringLiteral("garbage.ini"));
    } else if (kind == QLatin1String("read-only")) {
        if (::geteuid() == 0)
            QSKIP("permissions don't stop root from writing");
        const QString folder = m_dir.filePath(QStringLiteral("read-only"));
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("read-only")));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        path = folder + QStringLiteral("/veltrano.INI");
    } else {
        path = writeFile("plain", QStringLiteral("plain-file")) + QStringLiteral("/veltrano.INI");
    }
    const SettingsFile settings(path);
    QCOMPARE(settings.terminalPath(), QString());
    QCOMPARE(settings.setTerminalPath(QStringLiteral("/opt/history")), writes);
    QCOMPARE(settings.terminalPath(), writes ? QStringLiteral("/opt/history") : QString());
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
