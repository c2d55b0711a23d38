// veltrano-report: imports a statement exactly as the desktop program does and prints the analyses.
#include "formats/statementimport.h"
#include "quotes/timeframe.h"
#include "report.h"
#include "statement/parsenumber.h"
#include "statement/tradereadout.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringList>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <climits>
#include <cstdio>
#include <optional>

namespace {

int fail(const QCommandLineParser &parser, const QString &message)
{
    std::fprintf(stderr, "veltrano-report: %s\n%s", message.toLocal8Bit().constData(),
                 parser.helpText().section(QLatin1Char('\n'), 0, 0).toLocal8Bit().constData());
    std::fputs("\nTry --help for the options.\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
#if defined(__GLIBC__)
    // Keep freed memory in the process: each analysis reuses the pages of the one before
    // instead of getting fresh zeroed pages from the kernel.
    mallopt(M_MMAP_THRESHOLD, 1 << 30);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("veltrano-report"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints the analyses of a statement file, as text or as one JSON object."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("STATEMENT"),
                                 QStringLiteral("The statement file."));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON object."));
    const QCommandLineOption locale(
        QStringLiteral("locale"),
        QStringLiteral("Decimal separator of locale NAME (default: the system's)."),
        QStringLiteral("NAME"));
    const ReportOptions defaults;
    const QCommandLineOption serverOffset(
        QStringLiteral("server-offset"),
        QStringLiteral("Server offset from GMT in hours (default %1).").arg(defaults.serverOffset),
        QStringLiteral("N"));
    const QCommandLineOption balance(
        QStringLiteral("balance"),
        QStringLiteral("Initial balance of the statistics and the summary (default: the "
                       "statement's own, else %1).")
            .arg(defaults.balance),
        QStringLiteral("N"));
    const QCommandLineOption riskBalance(
        QStringLiteral("risk-balance"),
        QStringLiteral(
            "Initial balance of the risk analysis (default: the statement's own, else %1).")
            .arg(defaults.riskBalance),
        QStringLiteral("N"));
    const QCommandLineOption quote(
        QStringLiteral("quote"),
        QStringLiteral("Draw the first order whose Ticket is TICKET over its price history, as the "
                       "quote chart's \"Показать\" does (section quote; needs --history)."),
        QStringLiteral("TICKET"));
    const QCommandLineOption history(
        QStringLiteral("history"),
        QStringLiteral("The trading terminal's history folder for --quote."),
        QStringLiteral("DIR"));
    const QCommandLineOption timeframe(
        QStringLiteral("timeframe"),
        QStringLiteral("Timeframe for --quote: М1, М5, М15, М30, Н1, Н4, D1, or the same in Latin "
                       "letters (default %1).")
            .arg(Timeframes()[size_t(defaults.timeframe)].caption),
        QStringLiteral("TF"));
    const QCommandLineOption bars(
        QStringLiteral("bars"),
        QStringLiteral("Bar limit for --quote (default %1).").arg(defaults.bars),
        QStringLiteral("N"));
    const QCommandLineOption gmtShift(
        QStringLiteral("gmt-shift"),
        QStringLiteral("GMT shift for --quote in hours (default %1).").arg(defaults.gmtShift),
        QStringLiteral("N"));
    parser.addOptions({json, locale, serverOffset, balance, riskBalance, quote, history, timeframe,
                       bars, gmtShift});
    if (!parser.parse(QCoreApplication::arguments()))
        return fail(parser, parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    ReportOptions options;
    options.json = parser.isSet(json);
    options.decimalSeparator = SystemDecimalSeparator();
    if (parser.isSet(locale)) {
        const auto separator = DecimalSeparatorOfLocale(parser.value(locale));
        if (!separator)
            return fail(parser, QStringLiteral("unknown locale: %1").arg(parser.value(locale)));
        options.decimalSeparator = *separator;
    }
    const std::pair<const QCommandLineOption *, int *> wholeNumbers[] = {
        {&serverOffset, &options.serverOffset},
        {&balance, &options.balance},
        {&riskBalance, &options.riskBalance},
        {&bars, &options.bars},
        {&gmtShift, &options.gmtShift}};
    for (const auto &[option, target] : wholeNumbers) {
        if (!parser.isSet(*option))
            continue;
        const QString value = parser.value(*option);
        const auto number = ParseInteger(value);
        if (!number || *number < INT_MIN || *number > INT_MAX)
            return fail(parser, QStringLiteral("--%1 needs a whole number, not \"%2\"")
                                    .arg(option->names().constFirst(), value));
        *target = int(*number);
    }
    options.balanceGiven = parser.isSet(balance);
    options.riskBalanceGiven = parser.isSet(riskBalance);
    if (parser.isSet(quote)) {
        options.quoteTicket = parser.value(quote);
        if (options.quoteTicket.isEmpty())
            return fail(parser, QStringLiteral("--quote needs a ticket"));
        if (!parser.isSet(history))
            return fail(parser, QStringLiteral("--quote needs --history"));
        options.historyFolder = parser.value(history);
        if (parser.isSet(timeframe)) {
            const auto index = TimeframeIndex(parser.value(timeframe));
            if (!index)
                return fail(parser,
                            QStringLiteral("unknown timeframe: %1").arg(parser.value(timeframe)));
            options.timeframe = *index;
        }
    } else {
        for (const QCommandLineOption *option : {&history, &timeframe, &bars, &gmtShift})
            if (parser.isSet(*option))
                return fail(
                    parser,
                    QStringLiteral("--%1 goes with --quote").arg(option->names().constFirst()));
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return fail(parser, QStringLiteral("no statement file given"));
    if (files.size() > 1)
        return fail(parser, QStringLiteral("only one statement file can be given"));
    const QString &path = files.constFirst();

    ImportResult imported = ImportStatement(path);
    if (!imported.table) {
        std::fprintf(stderr, "veltrano-report: cannot read %s: %s\n",
                     path.toLocal8Bit().constData(), imported.error.toLocal8Bit().constData());
        return 2;
    }
    for (const QString &note : std::as_const(imported.notes))
        std::fprintf(stderr, "veltrano-report: %s: %s\n", path.toLocal8Bit().constData(),
                     note.toLocal8Bit().constData());
    options.account = std::move(imported.account);
    if (!options.quoteTicket.isEmpty() &&
        FirstRowWithTicket(*imported.table, options.quoteTicket) < 0)
        return fail(parser, QStringLiteral("no order with ticket %1").arg(options.quoteTicket));
    return WriteReport(stdout, path, *imported.table, options) ? 0 : 1;
}
