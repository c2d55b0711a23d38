// Value rules: number parsing and formatting, dates, price digits, scales, the symbol list.
#include "statement/formatmoney.h"
#include "statement/parsenumber.h"
#include "statement/shading.h"
#include "statement/statementtable.h"
#include "statement/symbollist.h"
#include "statement/tradereadout.h"
#include "statement/valuerules.h"

#include "statement/cellerror.h"

#include <QTest>

#include <cmath>

class TestValueRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseNumber_data();
    void parseNumber();
    void parseInteger_data();
    void parseInteger();
    void formatMoney_data();
    void formatMoney();
    void weekdayOfDate_data();
    void weekdayOfDate();
    void priceDigits_data();
    void priceDigits();
    void pointSize();
    void columnScale_data();
    void columnScale();
    void shading();
    void symbolList();
    void tradeReadoutFindsLastRowWithTicket();
    void errorMessagesQuoteLongCellsShort_data();
    void errorMessagesQuoteLongCellsShort();
};

void TestValueRules::parseNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("dot under dot locale") << "1.2345"
                                          << "." << true << 1.2345;
    QTest::newRow("dot under comma locale") << "1.2345"
                                            << "," << true << 1.2345;
    QTest::newRow("comma under comma locale") << "1,2345"
                                              << "," << true << 1.2345;
    QTest::newRow("comma under dot locale") << "1,2345"
                                            << "." << false << 0.0;
    QTest::newRow("two dots, dot locale") << "1.234.5"
                                          << "." << false << 0.0;
    QTest::newRow("two dots, comma locale") << "1.234.5"
                                            << "," << false << 0.0;
    QTest::newRow("dot then comma") << "1.2,3"
                                    << "," << false << 0.0;
    QTest::newRow("empty") << ""
                           << "." << false << 0.0;
    QTest::newRow("blank") << "  "
                           << "." << false << 0.0;
    QTest::newRow("letters") << "abc"
                             << "." << false << 0.0;
    QTest::newRow("sign only") << "-"
                               << "." << false << 0.0;
    QTest::newRow("negative") << "-50.00"
                              << "." << true << -50.0;
    QTest::newRow("plus sign") << "+7"
                               << "." << true << 7.0;
    QTest::newRow("surrounding blanks") << " 12.5 "
                                        << "." << true << 12.5;
    QTest::newRow("exponent") << "1.5e2"
                              << "." << true << 150.0;
    QTest::newRow("bad exponent") << "1e"
                                  << "." << false << 0.0;
    QTest::newRow("trailing garbage") << "12x"
                                      << "." << false << 0.0;
    QTest::newRow("leading point") << ".5"
                                   << "." << true << 0.5;
    QTest::newRow("inner blank") << "1 000"
                                 << "." << false << 0.0;
    QTest::newRow("nan text") << "nan"
                              << "." << false << 0.0;
    QTest::newRow("inf text") << "inf"
                              << "." << false << 0.0;
    QTest::newRow("overflow") << "1e999"
                              << "." << false << 0.0;
}

void TestValueRules::parseNumber()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const auto parsed = ParseNumber(text, separator.at(0));
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(*parsed, value);
}

void TestValueRules::parseInteger_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "2000" << true << 2000;
    QTest::newRow("negative") << "-3" << true << -3;
    QTest::newRow("decimal") << "2000.5" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("leading zero") << "08" << true << 8;
    QTest::newRow("too large") << "99999999999" << false << 0;
}

void TestValueRules::parseInteger()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(int, value);
    const auto parsed = ParseInteger(text);
    QCOMPARE(parsed.has_value(), ok);
    if (ok)
        QCOMPARE(int(*parsed), value);
}

void TestValueRules::formatMoney_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tie up") << 0.125 << "."
                            << "0.13";
    QTest::newRow("tie 7.875") << 7.875 << "."
                               << "7.88";
    QTest::newRow("negative tie away from zero") << -0.125 << "."
                                                 << "-0.13";
    QTest::newRow("below tie 2.675") << 2.675 << "."
                                     << "2.67";
    QTest::newRow("integer") << 10.0 << "."
                             << "10.00";
    QTest::newRow("comma separator") << -5.5 << ","
                                     << "-5,50";
    QTest::newRow("negative zero") << -0.0 << "."
                                   << "0.00";
    QTest::newRow("rounds to zero") << -0.004 << "."
                                    << "0.00";
    QTest::newRow("carry") << 9.999 << "."
                           << "10.00";
    QTest::newRow("ten integer digits") << 1234567890.5 << "."
                                        << "1234567890.50";
    QTest::newRow("eleven integer digits") << 12345678901.0 << "."
                                           << "1.234567890E+10";
    QTest::newRow("no thousands separator") << 1234567.891 << ","
                                            << "1234567,89";
}

void TestValueRules::formatMoney()
{
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    QCOMPARE(FormatMoney(value, separator.at(0)), expected);
}

void TestValueRules::weekdayOfDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("weekday"); // 0 = fails
    QTest::newRow("friday") << "2010.05.21" << 6;
    QTest::newRow("dashes not examined") << "2010-05-21" << 6;
    QTest::newRow("sunday is 1") << "2010.05.23" << 1;
    QTest::newRow("saturday is 7") << "2010.05.22" << 7;
    QTest::newRow("monday is 2") << "2010.05.24" << 2;
    QTest::newRow("one-digit month") << "2010.5.21" << 0;
    QTest::newRow("month 13") << "2010.13.01" << 0;
    QTest::newRow("february 30") << "2010.02.30" << 0;
    QTest::newRow("too short") << "2010.05" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("trailing time ignored") << "2010.05.21 10:00" << 6;
}

void TestValueRules::weekdayOfDate()
{
    QFETCH(QString, text);
    QFETCH(int, weekday);
    const auto result = WeekdayOfDate(text);
    QCOMPARE(result.value_or(0), weekday);
}

void TestValueRules::priceDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("digits");
    QTest::newRow("four") << "1.2345" << 4;
    QTest::newRow("comma") << "1,2345" << 4;
    QTest::newRow("dot wins over earlier comma") << "1,234.5" << 1;
    QTest::newRow("dot wins over later comma") << "1.23,45" << 5;
    QTest::newRow("trailing dot") << "12." << 0;
    QTest::newRow("two") << "112.85" << 2;
    QTest::newRow("one") << "0.0" << 1;
    QTest::newRow("no mark") << "0" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestValueRules::priceDigits()
{
    QFETCH(QString, text);
    QFETCH(int, digits);
    QCOMPARE(PriceDigits(text), digits);
}

void TestValueRules::pointSize()
{
    QCOMPARE(PointSize("1.2345"), 0.0001);
    QCOMPARE(PointSize("112.85"), 0.01);
    QCOMPARE(PointSize("0"), 1.0);
}

void TestValueRules::columnScale_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<double>("scale"); // -1 = no scale
    QTest::newRow("zeros") << QStringList{"0", "0", "0"} << 1.0;
    QTest::newRow("all negative") << QStringList{"-2", "-8"} << 2.0;
    QTest::newRow("largest, not largest magnitude") << QStringList{"3", "-9"} << 3.0;
    QTest::newRow("5 and -40") << QStringList{"5", "-40"} << 5.0;
    QTest::newRow("one row") << QStringList{"-7.5"} << 7.5;
    QTest::newRow("not a number") << QStringList{"1", "x"} << -1.0;
    QTest::newRow("empty column") << QStringList{} << -1.0;
}

void TestValueRules::columnScale()
{
    QFETCH(QStringList, cells);
    QFETCH(double, scale);
    const auto result = ColumnScale(cells, QLatin1Char('.'));
    QCOMPARE(result.value_or(-1.0), scale);
}

void TestValueRules::shading()
{
    // Intensity is cut toward zero and bounded by the factor, so a loss larger than the scale
    // gets the strongest shade instead of a wrapped value.
    QCOMPARE(ShadeIntensity(7.0, 7.0, 230), 230);
    QCOMPARE(ShadeIntensity(-5.0, 7.0, 230), 164);
    QCOMPARE(ShadeIntensity(-50.0, 7.0, 230), 230);
    QCOMPARE(ShadeIntensity(0.0, 7.0, 230), 0);
    QVERIFY(RedShade(164) == (Shade{255, 91, 91}));
    QVERIFY(GreenShade(197) == (Shade{58, 255, 58}));

    const QChar dot = QLatin1Char('.');
    QVERIFY(ProfitCellShade("12.50", dot) == (Shade{25, 255, 25}));
    QVERIFY(ProfitCellShade("-3", dot) == (Shade{255, 55, 55}));
    QVERIFY(!ProfitCellShade("0", dot));
    QVERIFY(!ProfitCellShade("0.00", dot));
    QVERIFY(!ProfitCellShade("", dot));
    QVERIFY(!ProfitCellShade("abc", dot));
}

void TestValueRules::symbolList()
{
    const StatementTable table = StatementTable::fromRows({
        {"h"},
        {"1", "", "", "", "", "EURUSD"},
        {"2", "", "", "", "", "GBPUSD"},
        {"3", "", "", "", "", "EURUSD"},
        {"4", "", "", "", "", "eurusd"},
        {"5", "", "", "", "", ""},
    });
    const SymbolList list = SymbolList::BuildSymbolList(table);
    QCOMPARE(list.toStringList(), (QStringList{"EURUSD", "GBPUSD", "eurusd", ""}));
    QCOMPARE(list.SymbolIndex(QStringLiteral("GBPUSD")), 2);
    QCOMPARE(list.SymbolIndex(QStringLiteral("eurusd")), 3);
    QCOMPARE(list.SymbolIndex(QStringLiteral("EurUsd")), 0);
    QCOMPARE(list.SymbolIndex(QString()), 4);

    // A copy keeps working after the original is gone.
    SymbolList copy;
    {
        const SymbolList original = SymbolList::BuildSymbolList(table);
        copy = original;
    }
    QCOMPARE(copy.SymbolIndex(QStringLiteral("GBPUSD")), 2);

    // No cap: 150 distinct symbols are all listed.
    std::vector<QStringList> rows{{"h"}};
    for (int i = 0; i < 150; ++i)
        rows.push_back({QString::number(i), "", "", "", "", QStringLiteral("S%1").arg(i)});
    QCOMPARE(SymbolList::BuildSymbolList(StatementTable::fromRows(rows)).count(), 150);
}

void TestValueRules::tradeReadoutFindsLastRowWithTicket()
{
    const StatementTable table = StatementTable::fromRows({
        {"Ticket"},
        {"1001", "a"},
        {"1002", "b"},
        {"1001", "c"},
    });
    QCOMPARE(LastRowWithTicket(table, QStringLiteral("1001")), 3);
    QCOMPARE(LastRowWithTicket(table, QStringLiteral("1002")), 2);
    QCOMPARE(LastRowWithTicket(table, QStringLiteral("Ticket")), -1); // the header is not a trade
    QCOMPARE(LastRowWithTicket(table, QStringLiteral("999")), -1);
    const QStringList readout = TradeReadout(table, 3);
    QCOMPARE(readout.size(), 14);
    QCOMPARE(readout.at(0), QStringLiteral("1001"));
    QCOMPARE(readout.at(1), QStringLiteral("c"));
}

void TestValueRules::errorMessagesQuoteLongCellsShort_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("short") << "abc"
                           << "abc";
    QTest::newRow("40 characters")
        << QString(40, QLatin1Char('x')) << QString(40, QLatin1Char('x'));
    QTest::newRow("10,000 characters")
        << QString(10000, QLatin1Char('7')) << QString(40, QLatin1Char('7')) + QChar(0x2026);
    QTest::newRow("surrogate pair at the cut")
        << QString(39, QLatin1Char('a')) + QStringLiteral("😀tail")
        << QString(39, QLatin1Char('a')) + QChar(0x2026);
}

void TestValueRules::errorMessagesQuoteLongCellsShort()
{
    QFETCH(QString, text);
    QFETCH(QString, quoted);
    const CellError error{7, QStringLiteral("Profit"), text, QStringLiteral("не число")};
    QCOMPARE(error.describe(),
             QStringLiteral("Строка 7, столбец Profit: «%1» — не число").arg(quoted));
    QCOMPARE(error.text, text); // the report's "text" field keeps the whole cell
}

QTEST_GUILESS_MAIN(TestValueRules)
#include "tst_valuerules.moc"
