// veltrano-generate [--html] N FILE [SEED]: writes a generated statement of N trades.
#include "statementgenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    const bool html = args.removeAll(QStringLiteral("--html")) > 0;
    if (args.size() < 3) {
        std::fprintf(stderr, "usage: veltrano-generate [--html] TRADES FILE [SEED]\n");
        return 2;
    }
    bool ok = false;
    const long long trades = args[1].toLongLong(&ok);
    if (!ok || trades < 0) {
        std::fprintf(stderr, "veltrano-generate: bad trade count\n");
        return 2;
    }
    const unsigned long long seed = args.size() > 3 ? args[3].toULongLong() : 20261209ULL;
    if (!(html ? WriteHtmlStatement(args[2], trades, seed)
               : WriteStatement(args[2], trades, seed))) {
        std::fprintf(stderr, "veltrano-generate: cannot write %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}
