// veltrano: the desktop program. `veltrano [STATEMENT]` opens the window, importing STATEMENT.
#include "mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFont>
#include <QMessageBox>
#include <QScreen>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltrano"));
    QApplication::setApplicationVersion(QStringLiteral("1.0"));
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(11);
    QApplication::setFont(font);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Veltrano: trade history analysis"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("statement"),
                                 QStringLiteral("Statement file to import at start."),
                                 QStringLiteral("[statement]"));
    parser.process(app);

    try {
        MainWindow window;
        window.show();
        if (const QScreen *screen = window.screen()) {
            QRect frame = window.frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window.move(frame.topLeft());
        }
        if (!parser.positionalArguments().isEmpty())
            window.importStatementFile(parser.positionalArguments().constFirst());
        return app.exec();
    } catch (const std::exception &error) {
        QMessageBox::critical(nullptr, QStringLiteral("Veltrano"), QString::fromLocal8Bit(error.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QStringLiteral("Veltrano"), QString());
    }
    return 0;
}
