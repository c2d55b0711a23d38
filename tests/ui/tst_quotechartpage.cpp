// The "На графике" page: layout, the drawing as series data, messages that keep the chart, the
// folder choice written to the settings file, and saving the picture.
#include "historyfixture.h"
#include "mainwindow.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "quotechartpage.h"
#include "readoutbar.h"
#include "settingsfile.h"
#include "updownbuttons.h"

#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>

using namespace historyfixture;

namespace {

SelectedTrade trade(const QString &type = QStringLiteral("BUY"),
                    const QString &openPrice = QStringLiteral("1.2000"))
{
    return SelectedTrade{3,
                         {"1001", "2010.05.12", "10:23:00", type, "0.10", "EURUSD", openPrice,
                          "1.1950", "1.2100", "2010.05.12", "14:10:00", "1.2050", "0.00", "12.50"}};
}

// The colour a mark point is painted in: its own when it has one, else the series' marker.
QColor pointColour(const QScatterSeries *series, int i)
{
    const auto configuration = series->pointConfiguration(i);
    const auto colour = configuration.find(QXYSeries::PointConfiguration::Color);
    return colour == configuration.end() ? series->color() : colour->value<QColor>();
}

bool pointShown(const QScatterSeries *series, int i)
{
    return series->pointConfiguration(i)
        .value(QXYSeries::PointConfiguration::Visibility, true)
        .toBool();
}

QColor rgb(std::uint32_t value)
{
    return QColor::fromRgb(QRgb(value | 0xff000000u));
}

} // namespace

class TestQuoteChartPage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void layoutAtStart();
    void upDownSteps();
    void showDrawsWhatTheCoreComputes();
    void openMarkShapeFollowsType();
    void dateAxisShowsUtcWhateverTheZone();
    void nothingSelectedDoesNothing();
    void errorsKeepTheChart_data();
    void errorsKeepTheChart();
    void chooseFolderWritesSettingsAtOnce();
    void bitmapPath_data();
    void bitmapPath();
    void saveWritesABitmap();
    void unwritableBitmapPath_data();
    void unwritableBitmapPath();
    void orderListSelectionIsTheDrawnTrade();

private:
    struct Page {
        QuoteChartPage page{QLatin1Char('.')};
        QCandlestickSeries *price() const { return series<QCandlestickSeries>("Series15"); }
        QScatterSeries *marks(const char *name) const { return series<QScatterSeries>(name); }
        template <typename T> T *series(const char *name) const
        {
            for (QAbstractSeries *s : page.chartView()->chart()->series())
                if (s->objectName() == QLatin1String(name))
                    return qobject_cast<T *>(s);
            return nullptr;
        }
        template <typename T> T *child(const char *name) const
        {
            return page.findChild<T *>(QLatin1String(name));
        }
    };
    void compareSeries(const Page &p, const QuoteChart &expected);

    QTemporaryDir m_dir;
    QString m_history;
    QStringList m_messages;
};

void TestQuoteChartPage::initTestCase()
{
    m_history = m_dir.filePath(QStringLiteral("history"));
    QVERIFY(QDir().mkpath(m_history));
    QVERIFY(writeFile(m_history + QStringLiteral("/EURUSD60.hst"),
                      historyBytes(401, risingBars(utc(2010, 5, 8), 20 * 24, 60))));
    QVERIFY(writeFile(m_history + QStringLiteral("/EURUSD1440.hst"),
                      historyBytes(400, risingBars(utc(2010, 1, 1), 200, 1440))));
    SetErrorSink([this](const QString &title, const QString &text) {
        m_messages.append(title + QLatin1Char('|') + text);
    });
}

void TestQuoteChartPage::cleanup()
{
    m_messages.clear();
}

void TestQuoteChartPage::layoutAtStart()
{
    Page p;
    p.page.resize(934, 554); // the designed size of a page inside "Ордера"
    p.page.show();
    QCOMPARE(p.page.objectName(), QStringLiteral("TabSheet10"));
    QCOMPARE(p.page.chartView()->objectName(), QStringLiteral("Chart3"));
    QCOMPARE(p.page.chartView()->geometry(), QRect(3, 3, 922, 457));
    QChart *chart = p.page.chartView()->chart();
    QCOMPARE(chart->title(), QStringLiteral("      "));
    QVERIFY(!chart->legend()->isVisible());
    QCOMPARE(chart->backgroundBrush().color(), QColor(Qt::black));
    QStringList order;
    for (QAbstractSeries *s : chart->series())
        order.append(s->objectName() + QLatin1Char(':') + s->name());
    QCOMPARE(order, (QStringList{"Series15:price", "Series17:open", "Series20:close", "Series18:sl",
                                 "Series19:tp"}));
    QCOMPARE(p.price()->count(), 0);
    QCOMPARE(p.marks("Series17")->color(), rgb(QuoteColour::Yellow));
    QCOMPARE(p.marks("Series20")->color(), rgb(QuoteColour::Yellow));
    QCOMPARE(p.marks("Series18")->color(), rgb(QuoteColour::Red));
    QCOMPARE(p.marks("Series19")->color(), rgb(QuoteColour::Aqua));
    QCOMPARE(p.price()->pen().color(), rgb(QuoteColour::Lime));

    struct Caption {
        const char *name;
        const char *text;
        QPoint place;
    };
    for (const Caption &c : {Caption{"Label129", "Путь к котировкам", {8, 466}},
                             Caption{"Label130", "Таймфрейм", {392, 466}},
                             Caption{"Label131", "Лимит баров", {464, 466}},
                             Caption{"Label3", "Смещение GTM", {557, 466}}}) {
        auto *label = p.child<QLabel>(c.name);
        QVERIFY2(label, c.name);
        QCOMPARE(label->text(), QString::fromUtf8(c.text));
        QCOMPARE(label->pos(), c.place);
    }
    struct Control {
        const char *name;
        QRect geometry;
        const char *text;
    };
    for (const Control &c :
         {Control{"Edit4", {8, 482, 294, 21}, nullptr}, Control{"Edit5", {464, 482, 66, 21}, "30"},
          Control{"Edit6", {557, 482, 41, 21}, "0"}}) {
        auto *edit = p.child<QLineEdit>(c.name);
        QVERIFY2(edit, c.name);
        QCOMPARE(edit->geometry(), c.geometry);
        if (c.text)
            QCOMPARE(edit->text(), QString::fromUtf8(c.text));
    }
    for (const Control &c : {Control{"Button9", {308, 482, 75, 25}, "Указать"},
                             Control{"Button10", {645, 478, 75, 25}, "Показать"},
                             Control{"Button11", {729, 477, 75, 25}, "Сохранить"}}) {
        auto *button = p.child<QPushButton>(c.name);
        QVERIFY2(button, c.name);
        QCOMPARE(button->geometry(), c.geometry);
        QCOMPARE(button->text(), QString::fromUtf8(c.text));
    }
    QCOMPARE(p.child<UpDownButtons>("UpDown2")->geometry(), QRect(530, 482, 18, 21));
    QCOMPARE(p.child<UpDownButtons>("UpDown3")->geometry(), QRect(598, 482, 18, 21));

    auto *cb1 = p.child<QComboBox>("cb1");
    QCOMPARE(cb1->geometry(), QRect(392, 482, 61, 21));
    QVERIFY(cb1->isEditable());
    QStringList items;
    for (int i = 0; i < cb1->count(); ++i)
        items.append(cb1->itemText(i));
    QCOMPARE(items, (QStringList{"М1", "М5", "М15", "М30", "Н1", "Н4", "D1"}));
    QCOMPARE(cb1->currentIndex(), 4);
    QCOMPARE(cb1->itemText(4).at(0).unicode(), u'\u041d'); // Cyrillic En

    auto *sb3 = p.child<ReadoutBar>("sb3");
    QCOMPARE(sb3->geometry(), QRect(0, 526, 928, 19));
    QCOMPARE(sb3->texts(), QStringList(14, QString()));

    // A bigger window: the chart takes the room, the fields and sb3 follow the bottom edge.
    p.page.resize(934 + 200, 554 + 100);
    QCOMPARE(p.page.chartView()->geometry(), QRect(3, 3, 922 + 200, 457 + 100));
    QCOMPARE(p.child<QPushButton>("Button10")->geometry(), QRect(645, 478 + 100, 75, 25));
    QCOMPARE(p.child<QLineEdit>("Edit4")->geometry(), QRect(8, 482 + 100, 294, 21));
    QCOMPARE(sb3->geometry(), QRect(0, 526 + 100, 928 + 200, 19));
}

void TestQuoteChartPage::upDownSteps()
{
    Page p;
    auto *barSteps = p.child<UpDownButtons>("UpDown2");
    auto *shiftSteps = p.child<UpDownButtons>("UpDown3");
    barSteps->stepBy(-100);
    QCOMPARE(p.child<QLineEdit>("Edit5")->text(), QStringLiteral("10"));
    barSteps->stepBy(1000);
    QCOMPARE(p.child<QLineEdit>("Edit5")->text(), QStringLiteral("300"));
    shiftSteps->stepBy(-1);
    QCOMPARE(p.child<QLineEdit>("Edit6")->text(), QStringLiteral("-1"));
    shiftSteps->stepBy(-100);
    QCOMPARE(p.child<QLineEdit>("Edit6")->text(), QStringLiteral("-23"));
    shiftSteps->stepBy(100);
    QCOMPARE(p.child<QLineEdit>("Edit6")->text(), QStringLiteral("23"));
}

void TestQuoteChartPage::compareSeries(const Page &p, const QuoteChart &expected)
{
    const QList<QCandlestickSet *> sets = p.price()->sets();
    QCOMPARE(size_t(sets.size()), expected.candles.size());
    for (qsizetype i = 0; i < sets.size(); ++i) {
        const QuoteCandle &c = expected.candles[size_t(i)];
        QCOMPARE(sets[i]->timestamp(), double(c.msecs));
        QCOMPARE(sets[i]->open(), c.open);
        QCOMPARE(sets[i]->high(), c.high);
        QCOMPARE(sets[i]->low(), c.low);
        QCOMPARE(sets[i]->close(), c.close);
        QCOMPARE(sets[i]->brush().textureImage().pixelColor(0, 0), rgb(c.colour));
    }
    const std::pair<const char *, const std::vector<QuotePoint> *> marks[] = {
        {"Series17", &expected.open},
        {"Series20", &expected.close},
        {"Series18", &expected.stopLoss},
        {"Series19", &expected.takeProfit}};
    for (const auto &[name, points] : marks) {
        const QScatterSeries *series = p.marks(name);
        QCOMPARE(size_t(series->count()), points->size());
        for (int i = 0; i < series->count(); ++i) {
            const QuotePoint &q = (*points)[size_t(i)];
            QCOMPARE(series->at(i), QPointF(double(q.msecs), q.value));
            QCOMPARE(pointColour(series, i), rgb(q.colour));
            QCOMPARE(pointShown(series, i), q.colour != QuoteColour::Black);
        }
    }
}

void TestQuoteChartPage::showDrawsWhatTheCoreComputes()
{
    Page p;
    p.page.setHistoryFolder(m_history);
    p.page.setSelectedTrade(trade());
    QCOMPARE(p.child<ReadoutBar>("sb3")->texts(), trade().cells);
    p.child<QPushButton>("Button10")->click();
    QVERIFY2(m_messages.isEmpty(), qPrintable(m_messages.join(QLatin1Char('\n'))));

    QuoteSettings settings;
    settings.historyFolder = m_history;
    const QuoteChart expected = DrawTrade(trade(), settings);
    QVERIFY(!expected.error);
    QVERIFY(expected.candles.size() > 60);
    QCOMPARE(p.page.chartView()->chart()->title(), QStringLiteral("EURUSD Н1"));
    compareSeries(p, expected);

    // A bar limit of 100 on D1: the box's item decides the file and the look-back in days.
    p.child<QComboBox>("cb1")->setCurrentIndex(6);
    p.child<QLineEdit>("Edit5")->setText(QStringLiteral("100"));
    p.child<QPushButton>("Button10")->click();
    settings.timeframe = 6;
    settings.timeframeText = QStringLiteral("D1");
    settings.barLimit = QStringLiteral("100");
    const QuoteChart daily = DrawTrade(trade(), settings);
    QVERIFY(daily.file.endsWith(QStringLiteral("EURUSD1440.hst")));
    QCOMPARE(daily.candles.front().msecs, utc(2010, 2, 1) * 1000);
    QCOMPARE(p.page.chartView()->chart()->title(), QStringLiteral("EURUSD D1"));
    compareSeries(p, daily);
    QCOMPARE(p.page.shown().file, daily.file);
}

void TestQuoteChartPage::openMarkShapeFollowsType()
{
    Page p;
    p.page.setHistoryFolder(m_history);
    auto pointsUp = [&] {
        const QImage marker = p.marks("Series17")->lightMarker();
        // An upward triangle is widest at its foot, a downward one at its top.
        return marker.pixelColor(2, marker.height() - 1).alpha() > marker.pixelColor(2, 0).alpha();
    };
    QVERIFY(pointsUp());
    const struct {
        const char *type;
        bool up;
    } presses[] = {{"SELL", false},
                   {"BUYLIMIT", false},
                   {"BUYSTOP ", true},
                   {"nonsense", true},
                   {"SELLSTOP", false}};
    for (const auto &press : presses) {
        p.page.setSelectedTrade(trade(QString::fromLatin1(press.type)));
        p.page.showTrade();
        QVERIFY2(pointsUp() == press.up, press.type);
    }
}

void TestQuoteChartPage::dateAxisShowsUtcWhateverTheZone()
{
    // The computer's clock seven hours ahead of UTC: labels and marks keep the bars' UTC times.
    const QByteArray zone = qgetenv("TZ");
    qputenv("TZ", "Asia/Novosibirsk");
    tzset();
    Page p;
    p.page.setHistoryFolder(m_history);
    p.page.setSelectedTrade(trade());
    p.page.showTrade();
    QStringList labels;
    for (QAbstractAxis *axis : p.page.chartView()->chart()->axes(Qt::Horizontal))
        if (auto *dates = qobject_cast<QCategoryAxis *>(axis))
            labels = dates->categoriesLabels();
    if (zone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", zone);
    tzset();
    QVERIFY(!labels.isEmpty());
    QCOMPARE(labels.first(), QStringLiteral("11.05.10 00:00"));
    QCOMPARE(p.page.shown().open.back().msecs, utc(2010, 5, 12, 11) * 1000);
}

void TestQuoteChartPage::nothingSelectedDoesNothing()
{
    Page p;
    p.page.setHistoryFolder(QStringLiteral("/nonexistent"));
    p.child<QPushButton>("Button10")->click();
    SelectedTrade noTicket = trade();
    noTicket.cells[0].clear();
    p.page.setSelectedTrade(noTicket);
    p.child<QPushButton>("Button10")->click();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(p.page.chartView()->chart()->title(), QStringLiteral("      "));
}

void TestQuoteChartPage::errorsKeepTheChart_data()
{
    QTest::addColumn<QString>("openPrice");
    QTest::addColumn<QString>("folder"); // empty: the fixture folder
    QTest::addColumn<QString>("barLimit");
    QTest::addColumn<QString>("message");
    QTest::newRow("bad price") << "1,2x"
                               << ""
                               << "30"
                               << "На графике|Строка 3, столбец OpenPrice: «1,2x» — не число";
    QTest::newRow("bad bar limit") << "1.2"
                                   << ""
                                   << "3.5"
                                   << "На графике|Поле «Лимит баров»: «3.5» — не целое число";
    QTest::newRow("no history file")
        << "1.2"
        << "missing"
        << "30"
        << "Ошибка открытия файла|Не могу открыть файл\n" +
               QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("missing")) +
                                        QDir::separator() + QStringLiteral("EURUSD60.hst"));
}

void TestQuoteChartPage::errorsKeepTheChart()
{
    QFETCH(QString, openPrice);
    QFETCH(QString, folder);
    QFETCH(QString, barLimit);
    QFETCH(QString, message);
    Page p;
    p.page.setHistoryFolder(m_history);
    p.page.setSelectedTrade(trade());
    p.page.showTrade();
    const QuoteChart before = p.page.shown();
    QVERIFY(!before.candles.empty());

    p.page.setSelectedTrade(trade(QStringLiteral("SELL"), openPrice));
    if (!folder.isEmpty())
        p.page.setHistoryFolder(m_dir.filePath(folder));
    p.child<QLineEdit>("Edit5")->setText(barLimit);
    p.page.showTrade();
    QCOMPARE(m_messages, QStringList{message});
    QCOMPARE(p.page.chartView()->chart()->title(), QStringLiteral("EURUSD Н1"));
    compareSeries(p, before);
    QCOMPARE(p.page.shown().openShape, OpenShape::Up);
}

void TestQuoteChartPage::chooseFolderWritesSettingsAtOnce()
{
    Page p;
    const QString ini = m_dir.filePath(QStringLiteral("settings/veltrano.INI"));
    p.page.setSettingsPath(ini);
    p.page.setHistoryFolder(QString());
    QStringList starts;
    QString answer = m_history;
    p.page.setFolderChooser([&](const QString &start) {
        starts.append(start);
        return answer;
    });
    p.child<QPushButton>("Button9")->click();
    QCOMPARE(p.page.historyFolder(), QDir::toNativeSeparators(m_history));
    QCOMPARE(SettingsFile(ini).terminalPath(), QDir::toNativeSeparators(m_history));

    // The next dialog starts at the current folder; cancelling changes nothing.
    answer.clear();
    p.page.chooseFolder();
    QCOMPARE(starts, (QStringList{QDir::homePath(), QDir::toNativeSeparators(m_history)}));
    QCOMPARE(p.page.historyFolder(), QDir::toNativeSeparators(m_history));

    // A folder typed by hand is used but not saved; a folder that doesn't exist starts at home.
    p.page.setHistoryFolder(QStringLiteral("/no/such/folder"));
    p.page.chooseFolder();
    QCOMPARE(starts.last(), QDir::homePath());
    QCOMPARE(SettingsFile(ini).terminalPath(), QDir::toNativeSeparators(m_history));
    QVERIFY(m_messages.isEmpty());
}

void TestQuoteChartPage::bitmapPath_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expected");
    QTest::newRow("other extension") << "/t/chart.png"
                                     << "/t/chart.bmp";
    QTest::newRow("no extension") << "/t/chart"
                                  << "/t/chart.bmp";
    QTest::newRow("already bmp") << "/t/chart.bmp"
                                 << "/t/chart.bmp";
    QTest::newRow("last dot counts") << "/t/chart.tar.gz"
                                     << "/t/chart.tar.bmp";
    QTest::newRow("dot in the folder only") << "/t.d/chart"
                                            << "/t.d/chart.bmp";
    QTest::newRow("closing dot") << "/t/chart."
                                 << "/t/chart.bmp";
}

void TestQuoteChartPage::bitmapPath()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    QCOMPARE(QuoteChartPage::bitmapPath(chosen), expected);
}

void TestQuoteChartPage::saveWritesABitmap()
{
    Page p;
    p.page.show();
    p.page.setHistoryFolder(m_history);
    p.page.setSelectedTrade(trade());
    p.page.showTrade();
    const QString chosen = m_dir.filePath(QStringLiteral("chart.png"));
    p.page.setSaveChooser([&] { return chosen; });
    p.child<QPushButton>("Button11")->click();
    QVERIFY(!QFile::exists(chosen));
    QFile bmp(m_dir.filePath(QStringLiteral("chart.bmp")));
    QVERIFY(bmp.open(QIODevice::ReadOnly));
    QCOMPARE(bmp.read(2), QByteArray("BM"));
    bmp.close();
    QCOMPARE(QImage(bmp.fileName()).size(), QSize(922, 457));
    // Cancelled: nothing is written.
    p.page.setSaveChooser([] { return QString(); });
    p.page.saveChart();
    QVERIFY(m_messages.isEmpty());
}

void TestQuoteChartPage::unwritableBitmapPath_data()
{
    QTest::addColumn<QString>("chosen"); // under the test folder
    QTest::newRow("folder missing") << "no-such-folder/chart";
    QTest::newRow("under a file") << "plain-file/chart";
    QTest::newRow("a folder's name") << "history";
}

void TestQuoteChartPage::unwritableBitmapPath()
{
    QFETCH(QString, chosen);
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("plain-file")), "x"));
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("history.bmp"))));
    Page p;
    p.page.show();
    p.page.setHistoryFolder(m_history);
    p.page.setSelectedTrade(trade());
    p.page.showTrade();
    const QuoteChart before = p.page.shown();
    p.page.setSaveChooser([&] { return m_dir.filePath(chosen); });
    p.child<QPushButton>("Button11")->click();
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages.first().contains(QStringLiteral("Не удалось записать файл")),
             qPrintable(m_messages.first()));
    compareSeries(p, before);
}

void TestQuoteChartPage::orderListSelectionIsTheDrawnTrade()
{
    const QString statement = m_dir.filePath(QStringLiteral("orders.csv"));
    QVERIFY(writeFile(statement, "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / "
                                 "P;Close Date;Close Time;Price;Swap;Profit;\n"
                                 "1001;2010.05.12;10:23:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;"
                                 "2010.05.12;14:10:00;1.2050;0.00;5;\n"
                                 "1002;2010.05.13;11:00:00;SELL;0.10;EURUSD;1.2500;1.2550;1.2400;"
                                 "2010.05.13;15:00:00;1.2450;0.00;5;\n"));
    MainWindow window;
    QVERIFY(window.importStatementFile(statement));
    window.chartPage()->setHistoryFolder(m_history);
    window.findChild<QTableView *>(QStringLiteral("st1"))
        ->setCurrentIndex(window.orderModel()->index(1, 4));
    QCOMPARE(window.chartPage()->selectedTrade().row, 2);
    QCOMPARE(window.chartPage()->selectedTrade().cells.at(0), QStringLiteral("1002"));
    window.chartPage()->showTrade();
    QCOMPARE(window.chartPage()->shown().openShape, OpenShape::Down);
    QCOMPARE(window.chartPage()->shown().open.back().msecs, utc(2010, 5, 13, 11) * 1000);
}

QTEST_MAIN(TestQuoteChartPage)
#include "tst_quotechartpage.moc"
