// HTML statement import: the ten real statements row by row, chosen rows cell by cell, broken
// markup, encodings and files that are HTML but no account statement.
#include "formats/htmlstatement.h"
#include "formats/htmltablereader.h"
#include "formats/statementimport.h"
#include "statement/statementtable.h"

#include "realstatements.h"

#include <QJsonArray>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class TestHtmlStatement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void realStatements_data();
    void realStatements();
    void chosenRows_data();
    void chosenRows();
    void cells_data();
    void cells();
    void brokenRows_data();
    void brokenRows();
    void encodings_data();
    void encodings();
    void notAnAccountStatement_data();
    void notAnAccountStatement();
    void inPieces_data();
    void inPieces();
    void longTextCutInsideQuotedValue();

private:
    QString writeFile(const QByteArray &bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read fixture");
    return file.readAll();
}

// A statement around the given rows of the closed-transactions table.
QByteArray statementWith(const QByteArray &rows, const QByteArray &balance = "1 001.27")
{
    return "<html><head><title>Statement: 1</title></head><body><table>\n"
           "<tr align=left><td colspan=13><b>Closed Transactions:</b></td></tr>\n"
           "<tr><td>Ticket</td><td>Open "
           "Time</td><td>Type</td><td>Size</td><td>Item</td><td>Price</td>"
           "<td>S / L</td><td>T / P</td><td>Close "
           "Time</td><td>Price</td><td>Commission</td><td>Taxes</td>"
           "<td>Swap</td><td>Profit</td></tr>\n" +
           rows +
           "\n<tr align=left><td colspan=14><b>Summary:</b></td></tr>\n"
           "<tr><td colspan=2><b>Balance:</b></td><td colspan=2 class=mspt><b>" +
           balance + "</b></td></tr>\n</table></body></html>\n";
}

const QByteArray kTradeRow =
    "<tr><td title=\"c\">101</td><td>2024.03.13 "
    "15:39:29</td><td>sell</td><td>0.01</td><td>xauusd@</td>"
    "<td>2169.70</td><td>2181.97</td><td>2150.57</td><td>2024.03.14 10:45:06</td><td>2168.98</td>"
    "<td>0.00</td><td>0.00</td><td>0.55</td><td>0.72</td></tr>";
const QStringList kTradeCells{"101",      "2024.03.13", "15:39:29", "SELL",    "0.01",
                              "XAUUSD@",  "2169.70",    "2181.97",  "2150.57", "2024.03.14",
                              "10:45:06", "2168.98",    "0.55",     "1.27"};

} // namespace

QString TestHtmlStatement::writeFile(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("s%1.htm").arg(++m_files));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write fixture");
    return path;
}

void TestHtmlStatement::realStatements_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("startingBalance"); // the balance the terminal's curve starts at
    QTest::addColumn<int>("encoding");
    const std::pair<const char *, double> starts[] = {
        {"statement-01.htm", 1000.00},  {"statement-02.htm", 200000},
        {"statement-03.htm", 50000.00}, {"statement-04.htm", 500.00},
        {"statement-05.htm", 7364635},  {"statement-06.htm", 2484.53},
        {"statement-07.htm", 1478.00},  {"statement-08.htm", 10000.00},
        {"statement-09.htm", 397.00},   {"statement-10.htm", 365.47}};
    QCOMPARE(RealStatementFiles().size(), 10);
    for (const auto &[file, start] : starts) {
        // 05 names itself in Shift_JIS labels; 08's Chinese is only in order comments, which the
        // table does not keep, so it reads as Windows-1251 like any undeclared 8-bit file.
        const TextEncoding encoding =
            QByteArray(file) == "statement-05.htm"   ? TextEncoding::ShiftJis
            : QByteArray(file) == "statement-08.htm" ? TextEncoding::Windows1251
                                                     : TextEncoding::Utf8;
        QTest::newRow(file) << QString::fromLatin1(file) << start << int(encoding);
    }
}

void TestHtmlStatement::realStatements()
{
    QFETCH(QString, file);
    QFETCH(double, startingBalance);
    QFETCH(int, encoding);
    const QJsonObject expected = RealStatementsExpected().value(file).toObject();
    const ImportResult result = ImportStatement(RealStatementsDir() + QLatin1Char('/') + file);
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.format, StatementFormat::Html);
    QCOMPARE(int(result.encoding), encoding);
    QVERIFY(result.account);
    QVERIFY2(result.notes.isEmpty(), qPrintable(result.notes.join(QLatin1Char('\n'))));
    const StatementTable &table = *result.table;
    QCOMPARE(table.rowTexts(0).join(QLatin1Char(';')),
             QStringLiteral("Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close "
                            "Date;Close Time;Price;Swap;Profit"));

    // Trades and pending orders in file order, each against the checker's parse of the same row.
    const QJsonArray trades = expected.value(QStringLiteral("closed_trades")).toArray();
    const QJsonArray pending = expected.value(QStringLiteral("pending_closed")).toArray();
    QCOMPARE(table.rowCount() - 1, trades.size() + pending.size());
    int t = 0, p = 0;
    auto number = [&table](int row, Column column) { return table.cell(row, column).toDouble(); };
    for (int row = 1; row < table.rowCount(); ++row) {
        const QString type = table.cell(row, Column::Type);
        const QString where = QStringLiteral("%1 row %2").arg(file).arg(row);
        if (type == QLatin1String("BUY") || type == QLatin1String("SELL")) {
            const QJsonArray e = trades.at(t++).toArray();
            QCOMPARE(table.cell(row, Column::Ticket), QString::number(e.at(0).toInteger()));
            QCOMPARE(table.cell(row, Column::OpenDate) + QLatin1Char(' ') +
                         table.cell(row, Column::OpenTime),
                     e.at(1).toString());
            QCOMPARE(type, e.at(2).toString().toUpper());
            QCOMPARE(number(row, Column::Size), e.at(3).toDouble());
            QCOMPARE(table.cell(row, Column::Symbol), e.at(4).toString().toUpper());
            QCOMPARE(number(row, Column::OpenPrice), e.at(5).toDouble());
            QCOMPARE(number(row, Column::StopLoss), e.at(6).toDouble());
            QCOMPARE(number(row, Column::TakeProfit), e.at(7).toDouble());
            QCOMPARE(table.cell(row, Column::CloseDate) + QLatin1Char(' ') +
                         table.cell(row, Column::CloseTime),
                     e.at(8).toString());
            QCOMPARE(number(row, Column::ClosePrice), e.at(9).toDouble());
            QCOMPARE(number(row, Column::Swap), e.at(12).toDouble());
            const double tradeResult = e.at(10).toDouble() + e.at(11).toDouble() +
                                       e.at(12).toDouble() + e.at(13).toDouble();
            QVERIFY2(std::fabs(number(row, Column::Profit) - tradeResult) < 0.001,
                     qPrintable(where));
            QCOMPARE(PrintedDecimals(table.cell(row, Column::Profit)), 2);
        } else {
            const QJsonArray e = pending.at(p++).toArray();
            QCOMPARE(table.cell(row, Column::Ticket), QString::number(e.at(0).toInteger()));
            QCOMPARE(table.cell(row, Column::OpenDate) + QLatin1Char(' ') +
                         table.cell(row, Column::OpenTime),
                     e.at(1).toString());
            QCOMPARE(type, e.at(2).toString().startsWith(QLatin1String("buy"))
                               ? QStringLiteral("BUYSTOP ")
                               : QStringLiteral("SELLSTOP"));
            QCOMPARE(table.cell(row, Column::Symbol), e.at(3).toString().toUpper());
            QCOMPARE(table.cell(row, Column::CloseDate) + QLatin1Char(' ') +
                         table.cell(row, Column::CloseTime),
                     e.at(4).toString());
            QCOMPARE(table.cell(row, Column::Swap), QStringLiteral("0.00"));
            QCOMPARE(table.cell(row, Column::Profit), QStringLiteral("0.00"));
        }
    }

    const QJsonArray money = expected.value(QStringLiteral("balance_rows")).toArray();
    const std::vector<BalanceOperation> &ops = result.account->operations;
    QCOMPARE(int(ops.size()), money.size());
    for (int i = 0; i < money.size(); ++i) {
        const QJsonArray e = money.at(i).toArray();
        QCOMPARE(ops[size_t(i)].ticket, QString::number(e.at(0).toInteger()));
        QCOMPARE(ops[size_t(i)].time, e.at(1).toString());
        QCOMPARE(ops[size_t(i)].kind == BalanceOperation::Credit,
                 e.at(2).toString() == QLatin1String("credit"));
        QCOMPARE(ops[size_t(i)].comment, e.at(3).toString());
        QCOMPARE(ops[size_t(i)].amount, e.at(4).toDouble());
    }
    QCOMPARE(result.account->startingBalance, startingBalance);
}

void TestHtmlStatement::chosenRows_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("ticket");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("partial close, JPY account without decimals")
        << "statement-02.htm"
        << "10901601" << QStringList{"10901601", "2019.04.19", "02:04:33", "BUY",     "0.01",
                                     "USDJPY.",  "112.003",    "110.762",  "112.047", "2019.05.06",
                                     "00:00:00", "110.653",    "101",      "-1249.00"};
    QTest::newRow("cancelled buy limit")
        << "statement-01.htm"
        << "27792006" << QStringList{"27792006", "2024.03.12", "10:22:28", "BUYSTOP ", "0.01",
                                     "XAUUSD@",  "2150.96",    "2135.71",  "2166.21",  "2024.03.12",
                                     "10:22:46", "2177.42",    "0.00",     "0.00"};
    QTest::newRow("cancelled sell limit")
        << "statement-01.htm"
        << "27830640" << QStringList{"27830640", "2024.03.13", "15:21:37", "SELLSTOP", "0.05",
                                     "XAUUSD@",  "2164.43",    "2166.25",  "2160.90",  "2024.03.13",
                                     "15:22:48", "2163.14",    "0.00",     "0.00"};
    QTest::newRow("sell stop deleted [no money]")
        << "statement-09.htm"
        << "1726681" << QStringList{"1726681",  "2024.07.09", "05:00:03", "SELLSTOP", "100.00",
                                    "EURUSD",   "1.08215",    "1.08297",  "1.07715",  "2024.07.09",
                                    "05:05:21", "1.08213",    "0.00",     "0.00"};
    QTest::newRow("zero result") << "statement-04.htm"
                                 << "474208771"
                                 << QStringList{"474208771", "2024.05.09", "20:28:56", "SELL",
                                                "0.03",      "GBPUSD",     "1.25232",  "0.00000",
                                                "1.25232",   "2024.05.14", "11:14:52", "1.25232",
                                                "0.00",      "0.00"};
    QTest::newRow("broker's pseudo-trade, commission in the result")
        << "statement-10.htm"
        << "613266966"
        << QStringList{"613266966", "2013.12.31", "23:59:58", "BUY",     "0.01",
                       "PROFIT",    "0.00000",    "0.00000",  "0.00000", "2013.12.31",
                       "23:59:59",  "0.00000",    "-0.13",    "-194.06"};
    QTest::newRow("newest first, Shift_JIS template")
        << "statement-05.htm"
        << "9013245" << QStringList{"9013245",   "2017.03.17", "02:00:02", "SELL",   "0.01",
                                    "USDJPY-CD", "113.344",    "0.000",    "0.000",  "2017.03.17",
                                    "07:00:02",  "113.449",    "0",        "-105.00"};
}

void TestHtmlStatement::chosenRows()
{
    QFETCH(QString, file);
    QFETCH(QString, ticket);
    QFETCH(QStringList, cells);
    const ImportResult result = ImportStatement(RealStatementsDir() + QLatin1Char('/') + file);
    QVERIFY(result.table);
    int found = 0;
    for (int row = 1; row < result.table->rowCount(); ++row) {
        if (result.table->cell(row, Column::Ticket) == ticket) {
            QCOMPARE(result.table->rowTexts(row), cells);
            ++found;
        }
    }
    QCOMPARE(found, 1);
}

void TestHtmlStatement::cells_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QList<QStringList>>("rows");
    using Rows = QList<QStringList>;
    QTest::newRow("entities and blanks")
        << QByteArray("<table><tr><td>&nbsp;</td><td> 1&nbsp;000.00 </td><td>a&amp;b &lt;c&gt; "
                      "&#8470;&#x41;</td>"
                      "<td>x\r\n\t y</td><td>&bogus; & &nbsp</td></tr></table>")
        << Rows{{"", "1 000.00", "a&b <c> \u2116A", "x y", "&bogus; &"}};
    QTest::newRow("tags, comments and breaks inside cells")
        << QByteArray(
               "<tr><td><b>Closed <i>Trans</i>actions:</b></td><td><!--CLOSED_Commission--></td>"
               "<td>a<br>b</td><td><span title=\"x > y\">1</span></td></tr>")
        << Rows{{"Closed Transactions:", "", "a b", "1"}};
    QTest::newRow("end tags left out")
        << QByteArray("<table><tr><td>1<td>2<th>3<tr><td>4</table><tr><td>5")
        << Rows{{"1", "2", "3"}, {"4"}, {"5"}};
    QTest::newRow("table nested in a cell ends the row")
        << QByteArray("<tr><td>outer<table><tr><td>inner</td></tr></table></td><td>late</td></tr>")
        << Rows{{"outer"}, {"inner"}, {"late"}};
    QTest::newRow("raw text and markup declarations skipped")
        << QByteArray("<!DOCTYPE html><style>td { x: '<tr>' }</style><script>'<td>'</script>"
                      "<?xml x?><tr><td>a < b</td><td>c</ td></td></tr>")
        << Rows{{"a < b", "c"}};
    QTest::newRow("upper-case tags, unquoted and single-quoted attributes")
        << QByteArray("<TR ALIGN=right><TD class=mspt>1</TD><Td title='a>b'>2</tD></Tr>")
        << Rows{{"1", "2"}};
}

void TestHtmlStatement::cells()
{
    QFETCH(QByteArray, html);
    QFETCH(QList<QStringList>, rows);
    HtmlTableReader reader(std::string_view(html.constData(), size_t(html.size())));
    QList<QStringList> read;
    while (reader.nextRow()) {
        QStringList cells;
        for (int i = 0; i < reader.cellCount(); ++i)
            cells.append(
                QString::fromUtf8(reader.cell(i).data(), qsizetype(reader.cell(i).size())));
        read.append(cells);
    }
    QCOMPARE(read, rows);
}

void TestHtmlStatement::brokenRows_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QStringList>("tickets"); // rows of the table, in order
    QTest::addColumn<int>("notes");
    const QByteArray trade = kTradeRow;
    QByteArray second = trade;
    second.replace(">101<", ">102<");
    QTest::newRow("whole") << statementWith(trade + second) << QStringList{"101", "102"} << 0;
    // Cut inside the last row: the row is left out and named; the rows before it stay.
    const QByteArray cut = statementWith(trade + second);
    QTest::newRow("cut in the middle of a row")
        << cut.left(cut.indexOf(">102<") + 120) << QStringList{"101"} << 1;
    QTest::newRow("cut inside a cell")
        << cut.left(cut.indexOf("0.72", cut.indexOf(">102<")) + 2) << QStringList{"101"} << 1;
    QByteArray missing = second;
    missing.replace("<td>0.00</td><td>0.00</td>", "<td>0.00</td>");
    QTest::newRow("missing cell") << statementWith(trade + missing) << QStringList{"101"} << 1;
    QByteArray notNumber = second;
    notNumber.replace("<td>0.72</td>", "<td>n/a</td>");
    QTest::newRow("result not a number")
        << statementWith(trade + notNumber) << QStringList{"101"} << 1;
    QByteArray nested = second;
    nested.replace("<td>0.72</td>", "<td><b><font color=red>0.72</font></b></td>");
    nested.replace("<td>sell</td>", "<td><span>&nbsp;sell </span></td>");
    QTest::newRow("nested tags and entities in cells")
        << statementWith(trade + nested) << QStringList{"101", "102"} << 0;
    const QByteArray comment =
        "<tr><td colspan=9>&nbsp;</td><td>16384</td><td colspan=3>EA comment</td></tr>"
        "<tr><td colspan=10>&nbsp;</td><td>0.00</td><td>0.00</td><td>0.55</td><td>0.72</td></tr>";
    QTest::newRow("comment and total rows are no transactions")
        << statementWith(trade + comment + second) << QStringList{"101", "102"} << 0;
    QByteArray unknown = second;
    unknown.replace("<td>sell</td>", "<td>sell stop limit</td>");
    QTest::newRow("unknown order type")
        << statementWith(trade + unknown) << QStringList{"101"} << 1;
}

void TestHtmlStatement::brokenRows()
{
    QFETCH(QByteArray, html);
    QFETCH(QStringList, tickets);
    QFETCH(int, notes);
    const ImportResult result = ImportStatement(writeFile(html));
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.table->rowCount(), tickets.size() + 1);
    for (int i = 0; i < tickets.size(); ++i)
        QCOMPARE(result.table->cell(i + 1, Column::Ticket), tickets[i]);
    QCOMPARE(result.table->rowTexts(1), kTradeCells);
    QCOMPARE(result.notes.size(), notes);
    if (notes)
        QVERIFY2(result.notes.first().contains(QLatin1String("102")),
                 qPrintable(result.notes.first()));
    if (tickets.size() == 2)
        QCOMPARE(result.table->rowTexts(2).mid(1), kTradeCells.mid(1));
}

void TestHtmlStatement::encodings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("comment"); // of the balance row

    // A deposit whose comment is Russian, as a Russian PC would save it: Windows-1251 bytes, no
    // declaration.
    const QString russian = QStringLiteral("Пополнение счёта №5 — «бонус»");
    const QByteArray deposit = "<tr><td>100</td><td>2024.03.12 05:14:04</td><td>balance</td>"
                               "<td colspan=10>COMMENT</td><td>1 000.00</td></tr>";
    const QByteArray utf8 =
        statementWith(QByteArray(deposit).replace("COMMENT", russian.toUtf8()) + kTradeRow);
    QStringEncoder cp1251("windows-1251");
    QVERIFY(cp1251.isValid());
    QTest::newRow("windows-1251, undeclared")
        << QByteArray(statementWith(
               QByteArray(deposit).replace("COMMENT", QByteArray(cp1251.encode(russian))) +
               kTradeRow))
        << int(TextEncoding::Windows1251) << russian;
    QTest::newRow("utf-8, undeclared") << utf8 << int(TextEncoding::Utf8) << russian;

    auto utf16 = [](const QString &text, bool bigEndian, bool mark) {
        QByteArray out = mark ? (bigEndian ? QByteArray("\xFE\xFF", 2) : QByteArray("\xFF\xFE", 2))
                              : QByteArray();
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            out.append(char(bigEndian ? u >> 8 : u & 0xFF))
                .append(char(bigEndian ? u & 0xFF : u >> 8));
        }
        return out;
    };
    const QString text = QString::fromUtf8(utf8);
    QTest::newRow("utf-16le with mark")
        << utf16(text, false, true) << int(TextEncoding::Utf16LE) << russian;
    QTest::newRow("utf-16be with mark")
        << utf16(text, true, true) << int(TextEncoding::Utf16BE) << russian;
    QTest::newRow("utf-16le without mark")
        << utf16(text, false, false) << int(TextEncoding::Utf16LE) << russian;

    const QString chinese = QStringLiteral("入金 预付款");
    QStringEncoder gbk("GBK");
    QVERIFY(gbk.isValid());
    QByteArray declaredGbk = statementWith(
        QByteArray(deposit).replace("COMMENT", QByteArray(gbk.encode(chinese))) + kTradeRow);
    declaredGbk.replace(
        "<head>", "<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">");
    QTest::newRow("gb2312 declared in a meta tag")
        << declaredGbk << int(TextEncoding::Gbk) << chinese;
    QByteArray declared1251 = statementWith(
        QByteArray(deposit).replace("COMMENT", QByteArray(cp1251.encode(russian))) + kTradeRow);
    declared1251.replace("<head>", "<head><META CHARSET='Windows-1251'>");
    QTest::newRow("windows-1251 declared")
        << declared1251 << int(TextEncoding::Windows1251) << russian;
}

void TestHtmlStatement::encodings()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QFETCH(QString, comment);
    const ImportResult result = ImportStatement(writeFile(bytes));
    QVERIFY2(result.table, qPrintable(result.error));
    QCOMPARE(result.format, StatementFormat::Html);
    QCOMPARE(int(result.encoding), encoding);
    QCOMPARE(result.table->rowCount(), 2);
    QCOMPARE(result.table->rowTexts(1), kTradeCells);
    QVERIFY(result.account);
    QCOMPARE(int(result.account->operations.size()), 1);
    QCOMPARE(result.account->operations[0].comment, comment);
    QCOMPARE(result.account->operations[0].amount, 1000.0);
    QCOMPARE(result.account->startingBalance, 1000.0);
}

void TestHtmlStatement::notAnAccountStatement_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("html");
    QTest::newRow("strategy tester report")
        << readAll(RealStatementsDir() + QStringLiteral("/tester-02.htm")) << true;
    QTest::newRow("web page") << QByteArray(
                                     "<!DOCTYPE html>\n<html><body><p>Hello</p></body></html>")
                              << true;
    QTest::newRow("semicolon text that mentions <html>")
        << QByteArray("Ticket;<html>;\n1;2;\n") << false;
}

void TestHtmlStatement::notAnAccountStatement()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, html);
    const ImportResult result = ImportStatement(writeFile(bytes));
    QCOMPARE(result.format, html ? StatementFormat::Html : StatementFormat::Semicolon);
    QCOMPARE(bool(result.table), !html);
    if (html)
        QVERIFY2(result.error.contains(QLatin1String("Closed Transactions")),
                 qPrintable(result.error));
}

namespace {

// Fails the test where two readings of a statement differ.
void compareStatements(const HtmlStatement &read, const HtmlStatement &expected)
{
    QCOMPARE(read.table.has_value(), expected.table.has_value());
    if (expected.table) {
        QCOMPARE(read.table->rowCount(), expected.table->rowCount());
        for (int row = 0; row < expected.table->rowCount(); ++row)
            for (int c = 0; c < StatementTable::kColumnCount; ++c)
                if (read.table->cellUtf8(row, c) != expected.table->cellUtf8(row, c))
                    QFAIL(qPrintable(
                        QStringLiteral("row %1 column %2: %3 instead of %4")
                            .arg(row)
                            .arg(c)
                            .arg(read.table->cell(row, c), expected.table->cell(row, c))));
    }
    QCOMPARE(read.notes, expected.notes);
    QCOMPARE(read.account.broughtForward, expected.account.broughtForward);
    QCOMPARE(read.account.startingBalance, expected.account.startingBalance);
    QCOMPARE(read.account.operations.size(), expected.account.operations.size());
    for (size_t i = 0; i < expected.account.operations.size(); ++i) {
        const BalanceOperation &a = read.account.operations[i];
        const BalanceOperation &b = expected.account.operations[i];
        QCOMPARE(a.kind, b.kind);
        QCOMPARE(a.ticket, b.ticket);
        QCOMPARE(a.time, b.time);
        QCOMPARE(a.amount, b.amount);
        QCOMPARE(a.comment, b.comment);
    }
}

// `trades` generated trade rows (tickets from `firstTicket`), with a deposit every 500.
QByteArray generatedRows(int trades, int firstTicket = 1000)
{
    QByteArray rows;
    rows.reserve(trades * 400);
    for (int i = 0; i < trades; ++i) {
        QByteArray row = kTradeRow;
        row.replace(">101<", ">" + QByteArray::number(firstTicket + i) + "<");
        if (i % 3 == 0)
            row.replace("<td>0.55</td>", "<td>-1 234.50</td>");
        if (i % 500 == 0)
            row += "<tr><td>" + QByteArray::number(900000 + firstTicket + i) +
                   "</td><td>2024.03.14 10:45:06</td><td>balance</td><td colspan=10>Deposit</td>"
                   "<td>1 000.00</td></tr>";
        rows += row + '\n';
    }
    return rows;
}

// A statement of `trades` generated rows: past 4 MB at 12,000, so it is read on two threads.
QByteArray longStatement(int trades)
{
    return statementWith(generatedRows(trades));
}

} // namespace

// How a text fares when read piece by piece.
enum class Pieces {
    Read,        // read at every piece size
    GiveUp,      // given up at every piece size
    GiveUpAtCut, // given up when a piece is cut at the wrong row start (surely so with 1-byte
                 // pieces, which cut before every row start in turn); read alike otherwise
};
Q_DECLARE_METATYPE(Pieces)

void TestHtmlStatement::inPieces_data()
{
    QTest::addColumn<QByteArray>("html");
    QTest::addColumn<QList<int>>("pieceSizes");
    QTest::addColumn<Pieces>("pieces");

    // Statements whose cells are all ASCII read the same piece by piece, down to tiny pieces
    // that cut nearly every row; the others hold text only the whole file can place in its
    // charset (Shift_JIS labels, Chinese comments, a non-ASCII deposit comment).
    const QList<int> small{7, 64, 4096};
    for (const QString &file : RealStatementFiles()) {
        const bool ascii =
            !file.contains(QLatin1String("05")) && !file.contains(QLatin1String("08"));
        QTest::newRow(qPrintable(file)) << readAll(RealStatementsDir() + QLatin1Char('/') + file)
                                        << small << (ascii ? Pieces::Read : Pieces::GiveUp);
    }
    QByteArray second = kTradeRow;
    second.replace(">101<", ">102<");
    const QList<int> tiny{1, 2, 7, 64, 100000};
    QTest::newRow("two trades") << statementWith(kTradeRow + second) << tiny << Pieces::Read;
    QTest::newRow("two threads") << longStatement(12000) << QList<int>{4096, 256 << 10}
                                 << Pieces::Read;
    // A row longer than a piece: the window grows until the next row start is in it.
    QTest::newRow("row longer than a piece")
        << statementWith(kTradeRow + "<tr><td>1</td><td colspan=13>" + QByteArray(300000, 'x') +
                         "</td></tr>" + second)
        << QList<int>{1000, 256 << 10} << Pieces::Read;
    // A piece cut before a row start inside a comment, a quoted value or a script would end in
    // the middle of it: the reading gives up rather than read the rest as rows.
    QTest::newRow("row start in a comment")
        << statementWith(kTradeRow + "<!-- <tr><td>999</td></tr> -->" + second) << tiny
        << Pieces::GiveUpAtCut;
    QTest::newRow("row start in a quoted value")
        << statementWith(kTradeRow + "<tr><td title=\"x> <tr \">103</td></tr>" + second) << tiny
        << Pieces::GiveUpAtCut;
    QTest::newRow("row start in a script")
        << statementWith(kTradeRow + "<script>a = '<tr >';</script>" + second) << tiny
        << Pieces::GiveUpAtCut;
    // A row that needs a note (its line number is known only to the whole text).
    QByteArray missing = second;
    missing.replace("<td>0.00</td><td>0.00</td>", "<td>0.00</td>");
    QTest::newRow("row with a note")
        << statementWith(kTradeRow + missing) << tiny << Pieces::GiveUp;
    QTest::newRow("non-ASCII cell")
        << statementWith("<tr><td>7</td><td>2024.03.01 00:00:00</td><td>balance</td><td "
                         "colspan=10>Пополнение</td><td>100.00</td></tr>" +
                         kTradeRow)
        << tiny << Pieces::GiveUp;
}

void TestHtmlStatement::inPieces()
{
    QFETCH(QByteArray, html);
    QFETCH(QList<int>, pieceSizes);
    QFETCH(Pieces, pieces);
    const HtmlStatement whole = ReadHtmlStatement(std::string_view(html.constData(), html.size()));
    const ByteSource source =
        MemoryByteSource(std::string_view(html.constData(), size_t(html.size())));
    // Each piece size with the text in one stretch, in about seven and in 64 (a cut before
    // nearly every row), read on two threads.
    for (const int pieceBytes : pieceSizes) {
        for (const size_t stretchBytes :
             {size_t(2) << 20, size_t(uint64_t(html.size()) / 7 + 1), size_t(1)}) {
            PieceReading how;
            how.pieceBytes = size_t(pieceBytes);
            how.stretchBytes = stretchBytes;
            uint64_t lastProgress = 0;
            bool progressBackwards = false;
            how.progress = [&](uint64_t done) {
                progressBackwards = progressBackwards || done < lastProgress;
                lastProgress = done;
                return true;
            };
            bool cancelled = true;
            const std::optional<HtmlStatement> read =
                ReadHtmlStatementInPieces(source, uint64_t(html.size()), how, &cancelled);
            const QByteArray where = "pieces of " + QByteArray::number(pieceBytes) +
                                     ", stretches of " +
                                     QByteArray::number(qulonglong(stretchBytes));
            QVERIFY(!cancelled);
            if (pieces == Pieces::Read)
                QVERIFY2(read, where);
            if (pieces == Pieces::GiveUp || (pieces == Pieces::GiveUpAtCut && pieceBytes == 1 &&
                                             stretchBytes > uint64_t(html.size())))
                QVERIFY2(!read, where);
            if (read) {
                compareStatements(*read, whole);
                if (QTest::currentTestFailed())
                    QFAIL(where);
                QVERIFY(!progressBackwards);
                QVERIFY(lastProgress <= uint64_t(html.size()));
                if (stretchBytes > uint64_t(html.size()))
                    QCOMPARE(lastProgress, uint64_t(html.size()));
            }
        }
    }

    // A file is read so, and one the pieces give up on is read whole: the same table either way
    // (in UTF-8; other charsets are decoded first).
    if (IsValidUtf8(std::string_view(html.constData(), html.size()))) {
        const ImportResult imported = ImportStatement(writeFile(html));
        QVERIFY2(imported.table, qPrintable(imported.error));
        HtmlStatement fromFile;
        fromFile.table = imported.table;
        fromFile.notes = imported.notes;
        fromFile.account = imported.account.value_or(AccountOperations());
        compareStatements(fromFile, whole);
    }

    // Stopped by its progress callback: nothing, and told so.
    PieceReading stopped;
    stopped.pieceBytes = 64;
    stopped.progress = [](uint64_t) { return false; };
    bool cancelled = false;
    QVERIFY(!ReadHtmlStatementInPieces(source, uint64_t(html.size()), stopped, &cancelled));
    if (pieces == Pieces::Read)
        QVERIFY(cancelled);
}

void TestHtmlStatement::longTextCutInsideQuotedValue()
{
    // A long statement read whole is cut for two threads at the first row start past its
    // middle. Here that row start lies inside a quoted attribute value that holds a '>' before
    // it: the first part must not read the tag as ended at that '>'.
    QByteArray quoted = kTradeRow;
    quoted.replace("<td title=\"c\">101<",
                   "<td title=\"x> " + QByteArray(600000, 'a') + " <tr y\">103<");
    const QByteArray text =
        statementWith(generatedRows(8000) + quoted + '\n' + generatedRows(8000, 20000));
    QVERIFY(text.size() > 4 * 1024 * 1024);
    LargeArray<char> bytes;
    bytes.append(text.constData(), size_t(text.size()));
    const ImportResult result = ImportStatementBytes(std::move(bytes));
    QVERIFY2(result.table, qPrintable(result.error));
    QVERIFY2(result.notes.isEmpty(), qPrintable(result.notes.join(QLatin1Char('\n'))));
    QCOMPARE(result.table->rowCount(), 1 + 8000 + 1 + 8000);
    const int row = 1 + 8000;
    QCOMPARE(result.table->cell(row, Column::Ticket), QStringLiteral("103"));
    QCOMPARE(result.table->rowTexts(row).mid(1), kTradeCells.mid(1));
}

QTEST_GUILESS_MAIN(TestHtmlStatement)
#include "tst_htmlstatement.moc"
