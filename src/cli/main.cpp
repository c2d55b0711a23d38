// veltrano-report: imports a statement exactly as the desktop program does and prints the analyses.
#include "statement/parsenumber.h"
#include "report.h"
#include "formats/statementimport.h"

#include <QCoreApplication>

#include <malloc.h>
#include <QLocale>
#include <QStringList>

#include <cstdio>
#include <optional>

namespace {

const char kUsage[] =
    "usage: veltrano-report [--json] [--locale NAME] [--server-offset N] [--balance N]\n"
    "                       [--risk-balance N] STATEMENT\n";

int fail(const QString &message)
{
    std::fprintf(stderr, "veltrano-report: %s\n%s", message.toLocal8Bit().constData(), kUsage);
    return 2;
}

std::optional<QChar> separatorOfLocale(const QString &name)
{
    if (name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return QLatin1Char('.');
    const QLocale locale(name);
    if (locale.language() == QLocale::C)
        return std::nullopt;
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.at(0);
}

} // namespace

int main(int argc, char *argv[])
{
    // Keep freed memory in the process: each analysis reuses the pages of the one before
    // instead of getting fresh zeroed pages from the kernel.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);

    ReportOptions options;
    options.decimalSeparator = SystemDecimalSeparator();
    QString path;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == QLatin1String("--json")) {
            options.json = true;
            continue;
        }
        if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        const bool takesValue = arg == QLatin1String("--locale") || arg == QLatin1String("--server-offset")
                || arg == QLatin1String("--balance") || arg == QLatin1String("--risk-balance");
        if (takesValue) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("%1 needs a value").arg(arg));
            const QString value = args[++i];
            if (arg == QLatin1String("--locale")) {
                const auto separator = separatorOfLocale(value);
                if (!separator)
                    return fail(QStringLiteral("unknown locale: %1").arg(value));
                options.decimalSeparator = *separator;
                continue;
            }
            const auto number = ParseInteger(value);
            if (!number)
                return fail(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(arg, value));
            if (arg == QLatin1String("--server-offset"))
                options.serverOffset = int(*number);
            else if (arg == QLatin1String("--balance"))
                options.balance = int(*number);
            else
                options.riskBalance = int(*number);
            continue;
        }
        if (arg.startsWith(QLatin1String("--")))
            return fail(QStringLiteral("unknown option: %1").arg(arg));
        if (!path.isEmpty())
            return fail(QStringLiteral("only one statement file can be given"));
        path = arg;
    }
    if (path.isEmpty())
        return fail(QStringLiteral("no statement file given"));

    ImportResult imported = ImportStatement(path);
    if (!imported.table) {
        std::fprintf(stderr, "veltrano-report: cannot read %s: %s\n", path.toLocal8Bit().constData(),
                     imported.error.toLocal8Bit().constData());
        return 2;
    }

    return WriteReport(stdout, path, *imported.table, options) ? 0 : 1;
}
