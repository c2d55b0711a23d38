// Report sections: one per analysis, each rendered as JSON and as an aligned text table.
#include "report.h"

#include "symbollist.h"
#include "texttable.h"

Report BuildReport(const QString &file, const StatementTable &table, const ReportOptions &options)
{
    Q_UNUSED(options);
    Report report;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const int rows = table.rowCount() - 1;

    report.json.insert("file", file);
    report.json.insert("rows", rows);
    Json names = Json::array();
    for (int i = 0; i < symbols.count(); ++i)
        names.append(symbols.at(i));
    report.json.insert("symbols", std::move(names));

    report.text += QStringLiteral("Файл: %1\n").arg(file);
    report.text += QStringLiteral("Сделок: %1\n").arg(rows);
    report.text += QStringLiteral("Валютные пары (%1): %2\n")
                           .arg(symbols.count())
                           .arg(symbols.toStringList().join(QStringLiteral(", ")));
    return report;
}
