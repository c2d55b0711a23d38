// veltrano: the desktop program. `veltrano [STATEMENT]` opens the window, importing STATEMENT.
#include "mainwindow.h"
#include "orderlistmodel.h"
#include "quotechartpage.h"
#include "statement/tradereadout.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QMessageBox>
#include <QScreen>
#include <QTabWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

int main(int argc, char *argv[])
{
#ifdef Q_OS_UNIX
    // The web panes' engine refuses to start its sandbox for root and would end the process.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
#endif
    // The web engine shares its OpenGL contexts with the window's; it must be asked before start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    // The window is laid out to the pixel for a narrow 11-pixel font.
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(11);
    QApplication::setFont(font);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Veltrano: trade history analysis"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("statement"),
                                 QStringLiteral("Statement file to import at start."),
                                 QStringLiteral("[statement]"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the window to <file> and quit."), QStringLiteral("file"));
    const QCommandLineOption tab(QStringLiteral("tab"),
                                 QStringLiteral("Open tab <index> (0 = orders) at start."),
                                 QStringLiteral("index"));
    const QCommandLineOption calculate(
        QStringLiteral("calculate"),
        QStringLiteral("Press every calculation button after the import."));
    const QCommandLineOption history(
        QStringLiteral("history"),
        QStringLiteral("Use <folder> as the terminal's history folder for this run (not saved)."),
        QStringLiteral("folder"));
    const QCommandLineOption quote(
        QStringLiteral("quote"),
        QStringLiteral(
            "Draw the first order with ticket <ticket> on \"На графике\" after the import."),
        QStringLiteral("ticket"));
    const QCommandLineOption size(QStringLiteral("size"),
                                  QStringLiteral("Open the window at <width>x<height> pixels."),
                                  QStringLiteral("size"));
    const QCommandLineOption maximized(QStringLiteral("maximized"),
                                       QStringLiteral("Open the window maximised."));
    parser.addOption(size);
    parser.addOption(maximized);
    parser.addOption(screenshot);
    parser.addOption(history);
    parser.addOption(quote);
    parser.addOption(tab);
    parser.addOption(calculate);
    parser.process(app);

    try {
        MainWindow window;
        if (parser.isSet(maximized)) {
            window.showMaximized();
        } else {
            if (parser.isSet(size)) {
                const QStringList wh = parser.value(size).split(QLatin1Char('x'));
                if (wh.size() == 2)
                    window.resize(wh[0].toInt(), wh[1].toInt());
            }
            window.show();
        }
        if (const QScreen *screen = window.screen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
        if (!parser.positionalArguments().isEmpty())
            window.importStatementFile(parser.positionalArguments().constFirst());
        if (parser.isSet(history))
            window.chartPage()->setHistoryFolder(parser.value(history));
        if (parser.isSet(quote)) {
            const StatementTable &table = window.orderModel()->table();
            const int row = FirstRowWithTicket(table, parser.value(quote));
            if (row > 0) {
                window.chartPage()->setSelectedTrade(SelectTrade(table, row));
                window.chartPage()->showTrade();
                if (auto *orders = window.findChild<QTabWidget *>(QStringLiteral("PageControl2")))
                    orders->setCurrentWidget(window.chartPage());
            }
        }
        if (parser.isSet(calculate))
            window.calculateAll();
        if (parser.isSet(tab))
            window.showTab(parser.value(tab).toInt());
        if (parser.isSet(screenshot)) {
            QApplication::processEvents();
            const bool saved = window.grab().save(parser.value(screenshot));
            return saved ? 0 : 1;
        }
        return app.exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Veltrano"),
                              QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Veltrano"), QStringLiteral("Unknown error"));
    }
    return 1;
}
