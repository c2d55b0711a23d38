// The window at its default size and bigger, import feedback, saving edits and the close question.
#include "mainwindow.h"
#include "messages.h"
#include "orderlistmodel.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

class TestWindowLayout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void placesAtDefaultSize_data();
    void placesAtDefaultSize();
    void biggerWindowGrowsListsChartsAndGrids();
    void importShowsListFileAndRowsAndResetsTabs();
    void saveAsRoundTrip_data();
    void saveAsRoundTrip();
    void closeAsksOnlyWithUnsavedEdits_data();
    void closeAsksOnlyWithUnsavedEdits();
    void menusOpenFromTheKeyboard();

private:
    QString writeFile(const QByteArray &content);
    QTemporaryDir m_dir;
    QStringList m_errors;
};

namespace {

const QByteArray kStatement = "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close "
                              "Date;Close Time;Price;Swap;Profit;\n"
                              "1001;2010.05.21;10:00:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;2010."
                              "05.21;12:00:00;1.2100;0.00;12.50;\n"
                              "1002;2010.05.21;11:00:00;SELL;0.10;GBPUSD;1.4500;1.4550;1.4400;2010."
                              "05.21;13:00:00;1.4550;0.00;-3;\n";

// Page index of PageControl1 for each analysis control (0 = orders).
struct Place {
    const char *name;
    int page;
    QRect geometry;
};

const Place kPlaces[] = {
    {"wb2", -1, {1, -5, 942, 86}},         {"PageControl1", -1, {-1, 87, 944, 601}},
    {"PageControl2", 0, {0, 0, 938, 574}}, {"st1", 0, {-1, 2, 924, 529}},
    {"Chart2", 1, {160, 0, 721, 250}},     {"Button2", 1, {8, 520, 75, 25}},
    {"sb2", 1, {0, 554, 936, 19}},         {"Chart1", 2, {8, 8, 689, 497}},
    {"st2", 2, {703, 8, 209, 497}},        {"Button1", 2, {24, 512, 113, 25}},
    {"Chart5", 3, {-5, 7, 246, 266}},      {"Chart8", 3, {240, 271, 249, 266}},
    {"st3", 3, {496, 24, 417, 505}},       {"Button3", 3, {16, 544, 75, 25}},
    {"Chart9", 4, {-8, 8, 617, 185}},      {"Chart11", 4, {-8, 376, 617, 179}},
    {"st4", 4, {608, 32, 320, 473}},       {"Button4", 4, {616, 523, 75, 24}},
    {"sb1", 4, {0, 554, 936, 19}},         {"st5", 6, {0, 8, 601, 513}},
    {"st6", 6, {624, 24, 305, 417}},       {"Button7", 6, {8, 528, 75, 25}},
    {"StringGrid1", 7, {8, 24, 921, 241}}, {"StringGrid2", 7, {7, 288, 921, 233}},
    {"Button8", 7, {7, 527, 75, 25}},
};

QWidget *shownControl(MainWindow &window, const Place &place)
{
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    if (place.page >= 0)
        pages->setCurrentIndex(place.page);
    if (place.page == 0)
        window.findChild<QTabWidget *>(QStringLiteral("PageControl2"))->setCurrentIndex(0);
    QApplication::processEvents();
    return window.findChild<QWidget *>(QString::fromLatin1(place.name));
}

} // namespace

QString TestWindowLayout::writeFile(const QByteArray &content)
{
    static int n = 0;
    const QString path = m_dir.filePath(QStringLiteral("statement%1.csv").arg(++n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    file.write(content);
    return path;
}

void TestWindowLayout::initTestCase()
{
    SetErrorSink([this](const QString &, const QString &text) { m_errors.append(text); });
}

void TestWindowLayout::init()
{
    m_errors.clear();
}

void TestWindowLayout::placesAtDefaultSize_data()
{
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < std::size(kPlaces); ++i)
        QTest::newRow(kPlaces[i].name) << int(i);
}

void TestWindowLayout::placesAtDefaultSize()
{
    QFETCH(int, index);
    const Place &place = kPlaces[index];
    MainWindow window;
    window.show();
    QCOMPARE(window.centralWidget()->size(), QSize(944, 681));
    QCOMPARE(window.minimumSize(), window.size());
    QWidget *control = shownControl(window, place);
    QVERIFY(control);
    QCOMPARE(control->geometry(), place.geometry);
}

void TestWindowLayout::biggerWindowGrowsListsChartsAndGrids()
{
    MainWindow window;
    window.show();
    window.resize(window.size() + QSize(400, 300));
    QApplication::processEvents();
    QCOMPARE(window.centralWidget()->size(), QSize(1344, 981));
    for (const Place &place : kPlaces) {
        QWidget *control = shownControl(window, place);
        const QString name = QString::fromLatin1(place.name);
        const QRect now = control->geometry();
        if (name.startsWith(QLatin1String("Chart")) || name.startsWith(QLatin1String("st")) ||
            name.startsWith(QLatin1String("StringGrid")) || name.startsWith(QLatin1String("Page")))
            QVERIFY2(now.height() > place.geometry.height() || now.width() > place.geometry.width(),
                     place.name);
        if (name.startsWith(QLatin1String("Button")))
            QVERIFY2(now.size() == place.geometry.size(), place.name);
        // Nothing that stood apart at the default size overlaps now.
        for (const Place &other : kPlaces) {
            if (other.page != place.page || &other == &place ||
                other.geometry.intersects(place.geometry))
                continue;
            QWidget *second = window.findChild<QWidget *>(QString::fromLatin1(other.name));
            QVERIFY2(!second->geometry().intersects(now),
                     qPrintable(name + QLatin1Char('/') + QLatin1String(other.name)));
        }
    }
}

void TestWindowLayout::importShowsListFileAndRowsAndResetsTabs()
{
    MainWindow window;
    window.show();
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(2);
    const QString path = writeFile(kStatement);
    QVERIFY(window.importStatementFile(path));
    window.calculateAll();
    auto *pairs = window.findChild<QTableView *>(QStringLiteral("st2"));
    QCOMPARE(pairs->model()->rowCount(), 2);

    const QString second = writeFile(kStatement + kStatement.mid(kStatement.indexOf('\n') + 1));
    pages->setCurrentIndex(2);
    QVERIFY(window.importStatementFile(second));
    QCOMPARE(pages->currentIndex(), 0);
    QCOMPARE(window.findChild<QTabWidget *>(QStringLiteral("PageControl2"))->currentIndex(), 0);
    QVERIFY(window.windowTitle().startsWith(QFileInfo(second).fileName()));
    QVERIFY(window.windowTitle().endsWith(QStringLiteral("Veltrano V 1.0")));
    const QString status = window.findChild<QLabel *>(QStringLiteral("importStatus"))->text();
    QVERIFY2(status.contains(QFileInfo(second).fileName()), qPrintable(status));
    QVERIFY2(status.contains(QStringLiteral("строк: 4")), qPrintable(status));
    // The analyses of the statement before are gone.
    QCOMPARE(pairs->model()->rowCount(), 0);
    QVERIFY(m_errors.isEmpty());
}

void TestWindowLayout::saveAsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("savedStart"); // the first bytes of the saved file
    QTest::newRow("UTF-8") << kStatement << QByteArray("Ticket;");
    QTest::newRow("UTF-8 with Cyrillic")
        << QByteArray(kStatement).replace("Swap", "Своп") << QByteArray("Ticket;");
    QTest::newRow("Windows-1251") << QByteArray(kStatement).replace("Swap", "\xd1\xe2\xee\xef")
                                  << QByteArray("Ticket;");
    QByteArray utf16("\xff\xfe");
    for (const char c : kStatement) {
        utf16.append(c);
        utf16.append('\0');
    }
    QTest::newRow("UTF-16LE") << utf16 << QByteArray("\xff\xfeT\0", 4);
}

void TestWindowLayout::saveAsRoundTrip()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, savedStart);
    MainWindow window;
    QVERIFY(window.importStatementFile(writeFile(content)));
    OrderListModel *orders = window.orderModel();
    const TextEncoding encoding = orders->encoding();
    orders->setData(orders->index(1, int(Column::Profit)), QStringLiteral("-3,5 правка"),
                    Qt::EditRole);
    QVERIFY(orders->isModified());
    QVERIFY(window.windowTitle().contains(QLatin1Char('*')));
    const QString saved =
        m_dir.filePath(QStringLiteral("saved-%1.csv").arg(QTest::currentDataTag()));
    window.setSaveFileChooser([&] { return saved; });
    window.findChild<QAction *>(QStringLiteral("SaveAs1"))->trigger();
    QVERIFY(m_errors.isEmpty());
    QVERIFY(!orders->isModified());
    QVERIFY(!window.windowTitle().contains(QLatin1Char('*')));
    std::vector<QStringList> before;
    for (int r = 0; r < orders->table().rowCount(); ++r)
        before.push_back(orders->table().rowTexts(r));

    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith(savedStart));
    MainWindow again;
    QVERIFY(again.importStatementFile(saved));
    QCOMPARE(again.orderModel()->encoding(), encoding);
    QCOMPARE(again.orderModel()->table().rowCount(), int(before.size()));
    for (int r = 0; r < int(before.size()); ++r)
        QCOMPARE(again.orderModel()->table().rowTexts(r), before[size_t(r)]);
}

void TestWindowLayout::closeAsksOnlyWithUnsavedEdits_data()
{
    QTest::addColumn<bool>("edit");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("closed");
    QTest::newRow("no edits") << false << int(QMessageBox::Cancel) << false << true;
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << true << false;
    QTest::newRow("discard") << true << int(QMessageBox::Discard) << true << true;
    QTest::newRow("save") << true << int(QMessageBox::Save) << true << true;
}

void TestWindowLayout::closeAsksOnlyWithUnsavedEdits()
{
    QFETCH(bool, edit);
    QFETCH(int, answer);
    QFETCH(bool, asked);
    QFETCH(bool, closed);
    MainWindow window;
    window.show();
    QVERIFY(window.importStatementFile(writeFile(kStatement)));
    if (edit)
        window.orderModel()->setData(window.orderModel()->index(0, 0), QStringLiteral("9"),
                                     Qt::EditRole);
    bool wasAsked = false;
    window.setUnsavedEditsQuestion([&] {
        wasAsked = true;
        return QMessageBox::StandardButton(answer);
    });
    const QString saved = m_dir.filePath(QStringLiteral("closing.csv"));
    QFile::remove(saved);
    window.setSaveFileChooser([&] { return saved; });
    // Ctrl+X with a cell selected (not being edited) is File > Exit.
    window.findChild<QAction *>(QStringLiteral("Exit1"))->trigger();
    QCOMPARE(wasAsked, asked);
    QCOMPARE(window.isVisible(), !closed);
    QCOMPARE(QFile::exists(saved), answer == QMessageBox::Save && edit);
}

void TestWindowLayout::menusOpenFromTheKeyboard()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QList<QAction *> menus = window.menuBar()->actions();
    QCOMPARE(menus.at(0)->text(), QStringLiteral("&File"));
    QCOMPARE(menus.at(1)->text(), QStringLiteral("&Help"));
    QTest::keyClick(&window, Qt::Key_F10);
    QCOMPARE(window.menuBar()->activeAction(), menus.at(0));
}

QTEST_MAIN(TestWindowLayout)
#include "tst_windowlayout.moc"
