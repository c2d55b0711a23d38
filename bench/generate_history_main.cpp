// veltrano-generate-history STATEMENT FOLDER: writes an H1 history for every symbol of STATEMENT.
#include "historygenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: veltrano-generate-history STATEMENT FOLDER\n");
        return 2;
    }
    QString error;
    if (!WriteSampleHistory(args[1], args[2], &error)) {
        std::fprintf(stderr, "veltrano-generate-history: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
