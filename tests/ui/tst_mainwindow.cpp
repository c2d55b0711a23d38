// Main window: layout at start, import through the menu, the order list and its readout.
#include "aboutdialog.h"
#include "mainwindow.h"
#include "messages.h"
#include "orderlistmodel.h"
#include "readoutbar.h"
#include "roles.h"

#include <QAction>
#include <QApplication>
#include <QColor>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressDialog>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void layoutAtStart();
    void importEnablesCalculationButtons();
    void selectionFillsReadout();
    void profitColours_data();
    void profitColours();
    void editedCellIsReadBack();
    void settingsPathShownInEdit4();
    void unreadableFileShowsOneMessage();
    void ctrlXCutsInFieldAndClosesElsewhere();
    void droppedFileIsImported();
    void f2OpensTheFileDialog();
    void aboutWindowLayout();
    void sampleStatementCalculatesWithoutErrors();
    void htmlStatementBringsItsBalance();
    void htmlWithoutClosedTransactionsKeepsTable();
    void htmlRowsLeftOutAreNamed();
    void droppedPictureKeepsTableAndEdits();
    void slowImportShowsProgressAndCancels();

private:
    QString writeStatement(const QByteArray &content);
    QTemporaryDir m_dir;
    QStringList m_errors;
};

namespace {
const QByteArray kStatement =
    "Ticket;Open Date;Open Time;Type;Size;Item;Price;S / L;T / P;Close Date;Close "
    "Time;Price;Swap;Profit;\n"
    "1001;2010.05.21;10:00:00;BUY;0.10;EURUSD;1.2000;1.1950;1.2100;2010.05.21;12:00:00;1.2100;0.00;"
    "12.50;\n"
    "1002;2010.05.21;11:00:00;SELL;0.10;GBPUSD;1.4500;1.4550;1.4400;2010.05.21;13:00:00;1.4550;0."
    "00;-3;\n"
    "1003;2010.05.24;09:00:00;BUY;0.10;EURUSD;1.2000;0;0;2010.05.24;10:00:00;1.2000;0.00;0.00;\n"
    "1004;2010.05.24;09:30:00;BUY;0.10;EURUSD;1.2000;0;0;2010.05.24;10:00:00;1.2000;0.00;abc;\n";
}

QString TestMainWindow::writeStatement(const QByteArray &content)
{
    static int n = 0;
    const QString path = m_dir.filePath(QStringLiteral("statement%1.csv").arg(++n));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write fixture");
    file.write(content);
    return path;
}

void TestMainWindow::initTestCase()
{
    SetErrorSink([this](const QString &, const QString &text) { m_errors.append(text); });
}

void TestMainWindow::cleanup()
{
    m_errors.clear();
}

void TestMainWindow::layoutAtStart()
{
    MainWindow window;
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("Veltrano V 1.0"));
    QCOMPARE(window.centralWidget()->size(), QSize(944, 681));
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    QVERIFY(pages);
    const QStringList captions{"Ордера",
                               "Статистика",
                               "По валютным парам",
                               "По рабочим дням",
                               "Риск-менеджмент/Мани -м-ент/недоборы",
                               "Торговые сигналы Он-лайн",
                               "Закрытие/Исходы",
                               "Серии",
                               "Сводка"};
    QCOMPARE(pages->count(), captions.size());
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(pages->tabText(i), captions[i]);
    QCOMPARE(pages->currentIndex(), 0);
    auto *inner = window.findChild<QTabWidget *>(QStringLiteral("PageControl2"));
    QCOMPARE(inner->tabText(0), QStringLiteral("Список"));
    QCOMPARE(inner->tabText(1), QStringLiteral("На графике"));
    QCOMPARE(inner->currentIndex(), 1);
    // Before any import: the header and one empty order row.
    QCOMPARE(window.orderModel()->rowCount(), 1);
    QVERIFY(window.findChild<QAction *>(QStringLiteral("Open1"))
                ->text()
                .startsWith(QStringLiteral("Import(csv)")));
    QCOMPARE(window.findChild<QAction *>(QStringLiteral("Exit1"))->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_X));
}

void TestMainWindow::importEnablesCalculationButtons()
{
    MainWindow window;
    const QString path = writeStatement(kStatement);
    int asked = 0;
    window.setFileChooser([&] {
        ++asked;
        return asked == 1 ? QString() : path;
    });
    const QStringList buttons{"Button1", "Button2", "Button3", "Button4",
                              "Button7", "Button8", "Button12"};
    for (const QString &name : buttons)
        QVERIFY2(!window.findChild<QPushButton *>(name)->isEnabled(), qPrintable(name));

    // Cancelling the dialog changes nothing.
    window.findChild<QAction *>(QStringLiteral("Open1"))->trigger();
    QCOMPARE(asked, 1);
    QVERIFY(!window.findChild<QPushButton *>(QStringLiteral("Button2"))->isEnabled());

    window.findChild<QAction *>(QStringLiteral("Open1"))->trigger();
    QCOMPARE(asked, 2);
    QCOMPARE(window.orderModel()->rowCount(), 4);
    QCOMPARE(window.orderModel()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
             QStringLiteral("Ticket"));
    for (const QString &name : buttons)
        QVERIFY2(window.findChild<QPushButton *>(name)->isEnabled(), qPrintable(name));
    QVERIFY(m_errors.isEmpty());
}

void TestMainWindow::selectionFillsReadout()
{
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    auto *st1 = window.findChild<QTableView *>(QStringLiteral("st1"));
    auto *sb3 = window.findChild<ReadoutBar *>(QStringLiteral("sb3"));
    QCOMPARE(sb3->texts(), QStringList(14, QString()));
    st1->setCurrentIndex(window.orderModel()->index(1, 7)); // table row 2
    const QStringList texts = sb3->texts();
    QCOMPARE(texts.size(), 14);
    QCOMPARE(texts.at(0), QStringLiteral("1002"));
    QCOMPARE(texts.at(5), QStringLiteral("GBPUSD"));
    QCOMPARE(texts.at(13), QStringLiteral("-3"));
    // A copy: a later edit does not change it.
    window.orderModel()->setData(window.orderModel()->index(1, 0), QStringLiteral("9999"),
                                 Qt::EditRole);
    QCOMPARE(sb3->texts().at(0), QStringLiteral("1002"));
}

void TestMainWindow::profitColours_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("profit green") << 0 << QColor(25, 255, 25);
    QTest::newRow("loss red") << 1 << QColor(255, 55, 55);
    QTest::newRow("zero default") << 2 << QColor();
    QTest::newRow("not a number default") << 3 << QColor();
}

void TestMainWindow::profitColours()
{
    QFETCH(int, row);
    QFETCH(QColor, colour);
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    const QModelIndex index = window.orderModel()->index(row, 13);
    QCOMPARE(index.data(ShadeRole).value<QColor>(), colour);
    // Other columns are never shaded.
    QVERIFY(!window.orderModel()->index(row, 6).data(ShadeRole).isValid());
}

void TestMainWindow::editedCellIsReadBack()
{
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    OrderListModel *model = window.orderModel();
    QVERIFY(model->flags(model->index(0, 13)) & Qt::ItemIsEditable);
    QVERIFY(model->setData(model->index(0, 13), QStringLiteral("-5"), Qt::EditRole));
    QCOMPARE(model->table().cell(1, 13), QStringLiteral("-5"));
    QCOMPARE(model->index(0, 13).data(ShadeRole).value<QColor>(), QColor(255, 55, 55));
    QCOMPARE(model->table().cell(1, 12), QStringLiteral("0.00"));
}

void TestMainWindow::settingsPathShownInEdit4()
{
    const QString ini =
        QCoreApplication::applicationDirPath() + QStringLiteral("/tst_mainwindow.INI");
    QFile::remove(ini);
    {
        MainWindow window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Edit4"))->text(), QString());
    }
    QFile file(ini);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Other]\nPath=/elsewhere\n[Terminal]\nPath=/opt/terminal/history\nExtra=1\n");
    file.close();
    {
        MainWindow window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("Edit4"))->text(),
                 QStringLiteral("/opt/terminal/history"));
    }
    QFile::remove(ini);
}

void TestMainWindow::unreadableFileShowsOneMessage()
{
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    const QString missing = m_dir.filePath(QStringLiteral("missing.csv"));
    QVERIFY(!window.importStatementFile(missing));
    QCOMPARE(m_errors.size(), 1);
    QVERIFY(m_errors.first().contains(QStringLiteral("missing.csv")));
    QCOMPARE(window.orderModel()->rowCount(), 4); // table unchanged
}

void TestMainWindow::ctrlXCutsInFieldAndClosesElsewhere()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *edit = window.findChild<QLineEdit *>(QStringLiteral("Edit4"));
    edit->setText(QStringLiteral("abc"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(window.isVisible());
    QCOMPARE(edit->text(), QString());

    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("PageControl1"));
    pages->setCurrentIndex(1);
    pages->setFocus();
    QTest::keyClick(pages, Qt::Key_X, Qt::ControlModifier);
    QVERIFY(!window.isVisible());
}

void TestMainWindow::droppedFileIsImported()
{
    MainWindow window;
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(writeStatement(kStatement))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCOMPARE(window.orderModel()->rowCount(), 4);
}

void TestMainWindow::f2OpensTheFileDialog()
{
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    int asked = 0;
    window.setFileChooser([&] {
        ++asked;
        return QString();
    });
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(asked, 1);
    // Also while the menu item is hidden.
    window.findChild<QAction *>(QStringLiteral("Open1"))->setVisible(false);
    QTest::keyClick(&window, Qt::Key_F2);
    QCOMPARE(asked, 2);
}

void TestMainWindow::aboutWindowLayout()
{
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About"));
    QCOMPARE(about.size(), QSize(564, 475));
    QCOMPARE(AboutDialog::picture().size(), QSize(209, 457));
}

void TestMainWindow::sampleStatementCalculatesWithoutErrors()
{
    // The bundled sample: every calculation button completes without a message.
    MainWindow window;
    QVERIFY(window.importStatementFile(QStringLiteral(SAMPLE_STATEMENT)));
    QCOMPARE(window.orderModel()->rowCount(), 300);
    window.calculateAll();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
}

void TestMainWindow::htmlStatementBringsItsBalance()
{
    // The terminal's own statement: 10 trades and 5 cancelled orders; its balance starts at the
    // deposit of 1 000.00, which the statistics, risk and summary tabs start from.
    MainWindow window;
    QVERIFY(
        window.importStatementFile(QStringLiteral(TEST_DATA_DIR "/statements/statement-01.htm")));
    QVERIFY(m_errors.isEmpty());
    QCOMPARE(window.orderModel()->rowCount(), 15);
    auto *statisticsBalance = window.findChild<QLineEdit *>(QStringLiteral("Edit2"));
    auto *riskBalance = window.findChild<QLineEdit *>(QStringLiteral("Edit3"));
    const QString start =
        QStringLiteral("1000") + window.orderModel()->decimalSeparator() + QStringLiteral("00");
    QCOMPARE(statisticsBalance->text(), start);
    QCOMPARE(riskBalance->text(), start);
    window.calculateAll();
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
    auto *summary = window.findChild<QWidget *>(QStringLiteral("TabSheet11"));
    QCOMPARE(summary->findChild<QLabel *>(QStringLiteral("gross_profit"))
                 ->text()
                 .replace(QLatin1Char(','), QLatin1Char('.')),
             QStringLiteral("81.94"));
    QCOMPARE(summary->findChild<QLabel *>(QStringLiteral("initial_deposit"))->text(), start);

    // A semicolon statement has no balance of its own: the fields get back what they had.
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    QCOMPARE(statisticsBalance->text(), QStringLiteral("2000"));
    QCOMPARE(riskBalance->text(), QStringLiteral("8000"));
    QCOMPARE(summary->findChild<QLabel *>(QStringLiteral("gross_profit"))->text(), QString());
}

void TestMainWindow::htmlWithoutClosedTransactionsKeepsTable()
{
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    QVERIFY(!window.importStatementFile(QStringLiteral(TEST_DATA_DIR "/statements/tester-02.htm")));
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(QStringLiteral("Closed Transactions")),
             qPrintable(m_errors.first()));
    QCOMPARE(window.orderModel()->rowCount(), 4);
}

void TestMainWindow::htmlRowsLeftOutAreNamed()
{
    // A statement cut off in the middle of a row: the rows before it are imported, the cut one
    // is named in one message.
    QFile source(QStringLiteral(TEST_DATA_DIR "/statements/statement-01.htm"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    MainWindow window;
    QVERIFY(
        window.importStatementFile(writeStatement(whole.left(whole.indexOf(">27900367<") + 200))));
    QCOMPARE(window.orderModel()->rowCount(), 14);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(QStringLiteral("27900367")), qPrintable(m_errors.first()));
}

void TestMainWindow::droppedPictureKeepsTableAndEdits()
{
    MainWindow window;
    QVERIFY(window.importStatementFile(writeStatement(kStatement)));
    OrderListModel *model = window.orderModel();
    QVERIFY(model->setData(model->index(0, 13), QStringLiteral("-5"), Qt::EditRole));
    const QString status = window.importStatus();
    const QString title = window.windowTitle();
    // A file that is no statement doesn't even ask about the edits.
    int questions = 0;
    window.setUnsavedEditsQuestion([&questions] {
        ++questions;
        return QMessageBox::Discard;
    });
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(writeStatement(
        QByteArray::fromHex("89504e470d0a1a0a0000000d4948445200000010000000100806000000") +
        QByteArray(2000, '\xA7')))}); // the start of a PNG picture
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QCOMPARE(m_errors.size(), 1);
    QVERIFY2(m_errors.first().contains(QStringLiteral("это не выписка")),
             qPrintable(m_errors.first()));
    QCOMPARE(model->rowCount(), 4);
    QCOMPARE(model->table().cell(1, 13), QStringLiteral("-5"));
    QCOMPARE(model->table().cell(2, 5), QStringLiteral("GBPUSD"));
    QVERIFY(model->isModified());
    QCOMPARE(window.importStatus(), status);
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(questions, 0);
    // A statement asks first; cancelling keeps the edits.
    window.setUnsavedEditsQuestion([&questions] {
        ++questions;
        return QMessageBox::Cancel;
    });
    QVERIFY(!window.importStatementFile(writeStatement(kStatement)));
    QCOMPARE(questions, 1);
    QCOMPARE(model->table().cell(1, 13), QStringLiteral("-5"));
    QVERIFY(model->isModified());
}

void TestMainWindow::slowImportShowsProgressAndCancels()
{
    MainWindow window;
    window.show();
    const QString path = writeStatement(kStatement);
    QVERIFY(window.importStatementFile(path));
    const QString status = window.importStatus();
    // An import that reports progress for up to 30 s and then reads the file, unless cancelled.
    window.setStatementImporter([](const QString &file, const ImportOptions &options) {
        for (int step = 0; step < 3000; ++step) {
            if (!options.progress(step, 3000)) {
                ImportResult cancelled;
                cancelled.cancelled = true;
                cancelled.error = QStringLiteral("импорт отменён");
                return cancelled;
            }
            QThread::msleep(10);
        }
        return ImportStatement(file, options);
    });
    int shown = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, this, [&] {
        auto *dialog = window.findChild<QProgressDialog *>(QStringLiteral("importProgress"));
        if (!dialog || !dialog->isVisible() || shown++)
            return;
        QVERIFY(dialog->isModal());
        QPushButton *cancel = dialog->findChild<QPushButton *>();
        QVERIFY(cancel);
        cancel->click();
    });
    watch.start(20);
    QVERIFY(!window.importStatementFile(writeStatement("h;\n1;\n")));
    QCOMPARE(shown, 1);
    QVERIFY(!window.findChild<QProgressDialog *>(QStringLiteral("importProgress")));
    // The statement before stays, without a message.
    QCOMPARE(window.orderModel()->rowCount(), 4);
    QCOMPARE(window.importStatus(), status);
    QVERIFY2(m_errors.isEmpty(), qPrintable(m_errors.join(QLatin1Char('\n'))));
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
