// Statement import: field splitting, line ends, encodings, replacing the table, unreadable files.
#include "formats/semicolonformat.h"
#include "formats/statementimport.h"
#include "statement/statementtable.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

class TestStatementImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitLine_data();
    void splitLine();
    void lineEnds_data();
    void lineEnds();
    void encodings_data();
    void encodings();
    void windows1251TableMatchesIcu();
    void importReplacesWholeTable();
    void editedCellsReadBack();
    void unreadableFile();
    void longLineIsKept();
    void writeRefusesCellsItCannotKeep();
    void writeFallsBackToUtf8OutsideTheCodePage();
    void largeFiles_data();
    void largeFiles();
    void progressCanCancelEveryStage_data();
    void progressCanCancelEveryStage();

private:
    QString writeFile(const QByteArray &bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

QString TestStatementImport::writeFile(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("s%1.csv").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
    return path;
}

void TestStatementImport::splitLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("cells"); // all 14 cells of row 1
    const QString e;
    QTest::newRow("terminated fields")
        << QByteArray("a;b;c;") << QStringList{"a", "b", "c", e, e, e, e, e, e, e, e, e, e, e};
    QTest::newRow("text after last separator dropped")
        << QByteArray("a;b;c") << QStringList{"a", "b", e, e, e, e, e, e, e, e, e, e, e, e};
    QTest::newRow("two empty fields") << QByteArray(";;") << QStringList(14, e);
    QTest::newRow("no separator") << QByteArray("abc") << QStringList(14, e);
    QTest::newRow("14 fields without final separator")
        << QByteArray("0;1;2;3;4;5;6;7;8;9;10;11;12;13")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", e};
    QTest::newRow("16 fields, extra dropped")
        << QByteArray("0;1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;")
        << QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"};
    QTest::newRow("blanks kept") << QByteArray("1; BUYSTOP ;x;")
                                 << QStringList{"1", " BUYSTOP ", "x", e, e, e, e,
                                                e,   e,           e,   e, e, e, e};
    QTest::newRow("type word with trailing blank")
        << QByteArray("1;2010.01.04;10:00:00;BUYSTOP ;")
        << QStringList{"1", "2010.01.04", "10:00:00", "BUYSTOP ", e, e, e, e, e, e, e, e, e, e};
}

void TestStatementImport::splitLine()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, cells);
    const ImportResult result = ImportStatement(writeFile("header;\n" + line + "\n"));
    QVERIFY(result.table);
    QCOMPARE(result.table->rowCount(), 2);
    QCOMPARE(result.table->rowTexts(1), cells);
}

void TestStatementImport::lineEnds_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("lastFirstCell");
    QTest::newRow("CRLF, final break adds no row") << QByteArray("h;\r\na;\r\nb;\r\n") << 3 << "b";
    QTest::newRow("LF") << QByteArray("h;\na;\nb;\n") << 3 << "b";
    QTest::newRow("CR only") << QByteArray("h;\ra;\rb;\r") << 3 << "b";
    QTest::newRow("no final break") << QByteArray("h;\na;\nb;") << 3 << "b";
    QTest::newRow("two final breaks give one empty row") << QByteArray("h;\na;\n\n") << 3 << "";
    QTest::newRow("empty line in the middle") << QByteArray("h;\n\nb;\n") << 3 << "b";
    QTest::newRow("one line") << QByteArray("h;") << 1 << "h";
    QTest::newRow("mixed") << QByteArray("h;\r\na;\nb;\rc;") << 4 << "c";
}

void TestStatementImport::lineEnds()
{
    QFETCH(QByteArray, content);
    QFETCH(int, rows);
    QFETCH(QString, lastFirstCell);
    const ImportResult result = ImportStatement(writeFile(content));
    QVERIFY(result.table);
    QCOMPARE(result.table->rowCount(), rows);
    QCOMPARE(result.table->cell(rows - 1, 0), lastFirstCell);
}

void TestStatementImport::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("Тикет;Символ;\r\n1;ЕВРОДОЛЛАР;\r\n");
    const QByteArray utf8 = text.toUtf8();
    QByteArray utf16le("\xFF\xFE", 2), utf16be("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        utf16le.append(char(u & 0xFF)).append(char(u >> 8));
        utf16be.append(char(u >> 8)).append(char(u & 0xFF));
    }
    QByteArray cp1251;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80)
            cp1251.append(char(u));
        else if (u == 0x0401)
            cp1251.append(char(0xA8));
        else
            cp1251.append(char(0xC0 + (u - 0x0410)));
    }
    QTest::newRow("utf-8 without mark") << utf8 << int(TextEncoding::Utf8);
    QTest::newRow("utf-8 with mark")
        << QByteArray("\xEF\xBB\xBF") + utf8 << int(TextEncoding::Utf8Bom);
    QTest::newRow("utf-16le") << utf16le << int(TextEncoding::Utf16LE);
    QTest::newRow("utf-16be") << utf16be << int(TextEncoding::Utf16BE);
    QTest::newRow("windows-1251") << cp1251 << int(TextEncoding::Windows1251);
}

void TestStatementImport::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    const ImportResult result = ImportStatement(writeFile(bytes));
    QVERIFY(result.table);
    QCOMPARE(int(result.encoding), encoding);
    QCOMPARE(result.table->rowCount(), 2);
    QCOMPARE(result.table->cell(0, 0), QStringLiteral("Тикет"));
    QCOMPARE(result.table->cell(1, 1), QStringLiteral("ЕВРОДОЛЛАР"));
}

void TestStatementImport::windows1251TableMatchesIcu()
{
    QStringDecoder icu("windows-1251");
    if (!icu.isValid())
        QSKIP("this Qt has no Windows-1251 codec to compare with");
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (b == 0x98) // undefined in the code page
            continue;
        const char byte = char(b);
        const QString decoded = icu(QByteArrayView(&byte, 1));
        QCOMPARE(uint(Windows1251ToUnicode(uchar(b))), uint(decoded.at(0).unicode()));
    }
}

void TestStatementImport::importReplacesWholeTable()
{
    // A longer file, an edit, then a shorter file with fewer fields: nothing of the first
    // import or of the edit survives.
    std::optional<StatementTable> table =
        ImportStatement(writeFile("h1;h2;h3;\n1;a;b;\n2;c;d;\n3;e;f;\n")).table;
    QVERIFY(table);
    table->setCell(1, 5, QStringLiteral("edited"));
    table = ImportStatement(writeFile("H;\n9;\n")).table;
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->rowTexts(0),
             (QStringList{"H", "", "", "", "", "", "", "", "", "", "", "", "", ""}));
    QCOMPARE(table->cell(1, 0), QStringLiteral("9"));
    QCOMPARE(table->cell(1, 1), QString());
    QCOMPARE(table->cell(1, 5), QString());
}

void TestStatementImport::editedCellsReadBack()
{
    StatementTable table = StatementTable::fromRows({{"h"}, {"1", "x", "y"}, {"2"}});
    table.setCell(1, 13, QStringLiteral("-5"));
    table.setCell(1, 1, QStringLiteral("semi;colon"));
    table.setCell(2, 0, QStringLiteral("Юникод"));
    QCOMPARE(table.cell(1, 13), QStringLiteral("-5"));
    QCOMPARE(table.cell(1, 1), QStringLiteral("semi;colon"));
    QCOMPARE(table.cell(1, 2), QStringLiteral("y"));
    QCOMPARE(table.cell(1, 0), QStringLiteral("1"));
    QCOMPARE(table.cell(2, 0), QStringLiteral("Юникод"));
    QCOMPARE(table.cell(2, 13), QString());
    QCOMPARE(table.rowCount(), 3);

    const StatementTable fresh;
    QCOMPARE(fresh.rowCount(), 2);
    QCOMPARE(fresh.cell(1, 13), QString());
}

void TestStatementImport::unreadableFile()
{
    ImportResult missing = ImportStatement(m_dir.filePath(QStringLiteral("nope.csv")));
    QVERIFY(!missing.table);
    QVERIFY(!missing.error.isEmpty());
    ImportResult directory = ImportStatement(m_dir.path());
    QVERIFY(!directory.table);
    QVERIFY(!directory.error.isEmpty());
}

void TestStatementImport::longLineIsKept()
{
    const QByteArray longField(10000, 'x');
    const ImportResult result = ImportStatement(writeFile("h;\n" + longField + ";tail;\n"));
    QVERIFY(result.table);
    QCOMPARE(result.table->cell(1, 0).size(), 10000);
    QCOMPARE(result.table->cell(1, 1), QStringLiteral("tail"));
}

void TestStatementImport::writeRefusesCellsItCannotKeep()
{
    StatementTable table = StatementTable::fromRows({{"h"}, {"1", "a"}});
    table.setCell(1, 1, QStringLiteral("a;b"));
    const QString path = m_dir.filePath(QStringLiteral("refused.csv"));
    const QString error = WriteSemicolonFile(table, path, TextEncoding::Utf8);
    QVERIFY2(error.startsWith(QStringLiteral("Строка 1, столбец OpenDate: «a;b»")),
             qPrintable(error));
    QVERIFY(!QFile::exists(path));
}

void TestStatementImport::writeFallsBackToUtf8OutsideTheCodePage()
{
    const StatementTable table = StatementTable::fromRows({{"Тикет"}, {"1", "中"}});
    const QString path = m_dir.filePath(QStringLiteral("fallback.csv"));
    QCOMPARE(WriteSemicolonFile(table, path, TextEncoding::Windows1251), QString());
    const ImportResult again = ImportStatement(path);
    QVERIFY(again.table);
    QCOMPARE(again.encoding, TextEncoding::Utf8Bom);
    QCOMPARE(again.table->cell(0, 0), QStringLiteral("Тикет"));
    QCOMPARE(again.table->cell(1, 1), QStringLiteral("中"));
}

void TestStatementImport::largeFiles_data()
{
    // Files of several megabytes are split on two threads; the rows must be the same.
    QTest::addColumn<QByteArray>("lineEnd");
    QTest::addColumn<int>("loneCrAt"); // line index followed by a lone CR, -1 for none
    QTest::addColumn<bool>("finalBreak");
    QTest::newRow("LF") << QByteArray("\n") << -1 << true;
    QTest::newRow("CRLF") << QByteArray("\r\n") << -1 << true;
    QTest::newRow("LF, no final break") << QByteArray("\n") << -1 << false;
    QTest::newRow("CRLF with a lone CR late in the file") << QByteArray("\r\n") << 70000 << true;
    QTest::newRow("LF with a lone CR early in the file") << QByteArray("\n") << 10 << true;
}

void TestStatementImport::largeFiles()
{
    QFETCH(QByteArray, lineEnd);
    QFETCH(int, loneCrAt);
    QFETCH(bool, finalBreak);
    const int lines = 80000;
    QByteArray content;
    content.reserve(lines * 80);
    for (int i = 0; i < lines; ++i) {
        content += QByteArray::number(i) +
                   ";2010.05.24;10:00:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;"
                   "2010.05.24;12:00:00;1.2100;0.00;" +
                   QByteArray::number(i % 97 - 40) + ";";
        if (i == loneCrAt)
            content += "\rextra;";
        if (i + 1 < lines || finalBreak)
            content += lineEnd;
    }
    QVERIFY(content.size() > 4 * 1024 * 1024);
    const ImportResult result = ImportStatement(writeFile(content));
    QVERIFY(result.table);
    const StatementTable &table = *result.table;
    const int extra = loneCrAt >= 0 ? 1 : 0;
    QCOMPARE(table.rowCount(), lines + extra);
    for (const int i : {0, 1, lines / 2 - 1, lines / 2, lines / 2 + 1, lines - 1}) {
        const int row = i + (loneCrAt >= 0 && i > loneCrAt ? 1 : 0);
        QCOMPARE(table.cell(row, 0), QString::number(i));
        QCOMPARE(table.cell(row, 13), QString::number(i % 97 - 40));
    }
    if (loneCrAt >= 0)
        QCOMPARE(table.cell(loneCrAt + 1, 0), QStringLiteral("extra"));
}

void TestStatementImport::progressCanCancelEveryStage_data()
{
    QTest::addColumn<QByteArray>("content");
    // 20 MB: read in three pieces, then decoded and split.
    const QByteArray line = "1001;2010.05.24;10:00:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;"
                            "2010.05.24;12:00:00;1.2100;0.00;12.50;\r\n";
    QTest::newRow("semicolon") << "h;\r\n" + line.repeated(20 * 1000 * 1000 / line.size());
    // 6 MB of HTML: read a piece at a time on two threads, the table built as it goes.
    const QByteArray row =
        "<tr><td>1001</td><td>2010.05.24 10:00:00</td><td>buy</td><td>0.10</td><td>eurusd</td>"
        "<td>1.2000</td><td>1.1950</td><td>1.2100</td><td>2010.05.24 12:00:00</td>"
        "<td>1.2100</td><td>0.00</td><td>0.00</td><td>0.00</td><td>12.50</td></tr>\n";
    QTest::newRow("html") << "<html><body><table>\n<tr><td colspan=13>Closed Transactions:</td>"
                             "</tr>\n" +
                                 row.repeated(6 * 1000 * 1000 / row.size()) +
                                 "</table></body></html>\n";
}

void TestStatementImport::progressCanCancelEveryStage()
{
    QFETCH(QByteArray, content);
    const QString path = writeFile(content);
    QList<QPair<qint64, qint64>> calls;
    ImportOptions options;
    options.progress = [&calls](qint64 done, qint64 total) {
        calls.append({done, total});
        return true;
    };
    const ImportResult whole = ImportStatement(path, options);
    QVERIFY(whole.table);
    QVERIFY(!whole.cancelled);
    QVERIFY(calls.size() >= 6);
    for (qsizetype i = 0; i < calls.size(); ++i) {
        QCOMPARE(calls[i].second, 2 * content.size());
        QVERIFY(calls[i].first >= (i ? calls[i - 1].first : 0));
    }
    QCOMPARE(calls.first().first, 0);
    QCOMPARE(calls.last().first, calls.last().second);

    const qsizetype stages = calls.size();
    for (qsizetype stop = 0; stop < stages; ++stop) {
        qsizetype seen = 0;
        options.progress = [&seen, stop](qint64, qint64) { return seen++ < stop; };
        const ImportResult result = ImportStatement(path, options);
        QVERIFY2(!result.table, qPrintable(QString::number(stop)));
        QVERIFY(result.cancelled);
        QCOMPARE(result.error, QStringLiteral("импорт отменён"));
        QCOMPARE(seen, stop + 1); // nothing is asked after the answer to stop
    }
}

QTEST_GUILESS_MAIN(TestStatementImport)
#include "tst_statementimport.moc"
