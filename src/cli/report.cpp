// Report sections: one per analysis, each rendered as JSON and as aligned text.
#include "report.h"

#include "formatmoney.h"
#include "pairresults.h"
#include "sessionstatistics.h"
#include "symbollist.h"
#include "texttable.h"

namespace {

Json errorJson(const CellError &error)
{
    Json details = Json::object();
    details.insert("row", error.row);
    details.insert("column", error.column);
    details.insert("text", error.text);
    details.insert("message", error.describe());
    Json section = Json::object();
    section.insert("error", std::move(details));
    return section;
}

QString errorText(const QString &title, const CellError &error)
{
    return QStringLiteral("%1\n  ошибка: %2\n\n").arg(title, error.describe());
}

Json gridJson(const std::vector<QStringList> &grid)
{
    Json rows = Json::array();
    for (const QStringList &row : grid) {
        Json cells = Json::array();
        for (const QString &cell : row)
            cells.append(cell);
        rows.append(std::move(cells));
    }
    return rows;
}

/// [[x, y, "label"], ...] rendered straight into text: curves can hold a million points.
Json pointsJson(const std::vector<ChartPoint> &points, const PointLabels *labels)
{
    std::string out;
    out.reserve(points.size() * 32 + 2);
    out += '[';
    char buf[32];
    for (size_t i = 0; i < points.size(); ++i) {
        if (i)
            out += ", ";
        out += '[';
        out += std::to_string((long long)points[i].x);
        out += ", ";
        Json::writeNumber(out, points[i].y);
        out += ", ";
        if (labels) {
            Json::writeString(out, labels->utf8(i));
        } else {
            const int n = std::snprintf(buf, sizeof buf, "\"%lld\"", (long long)points[i].x);
            out.append(buf, size_t(n));
        }
        out += ']';
    }
    out += ']';
    return Json::raw(std::move(out));
}

void addStatistics(Report &report, const StatementTable &table, const ReportOptions &options)
{
    const QString title = QStringLiteral("Статистика");
    StatisticsSettings settings;
    settings.serverOffset = QString::number(options.serverOffset);
    settings.initialBalance = QString::number(options.balance);
    settings.decimalSeparator = options.decimalSeparator;
    const StatisticsResult r = CalculateStatistics(table, settings);
    if (r.error) {
        report.anySectionFailed = true;
        report.json.insert("statistics", errorJson(*r.error));
        report.text += errorText(title, *r.error);
        return;
    }
    auto side = [](const QString &count, const QString &sum, const QString &average) {
        Json j = Json::object();
        j.insert("count", count);
        j.insert("sum", sum);
        j.insert("average", average);
        return j;
    };
    Json json = Json::object();
    json.insert("winning", side(r.winCount, r.winSum, r.winAverage));
    json.insert("losing", side(r.lossCount, r.lossSum, r.lossAverage));
    json.insert("net", r.net);
    Json sessions = Json::array();
    for (const SessionTexts &t : r.sessionTexts) {
        Json s = Json::object();
        s.insert("trades", t.trades);
        s.insert("winning", t.winning);
        s.insert("profit", t.profit);
        s.insert("max_profit", t.maxProfit);
        s.insert("average_profit", t.averageProfit);
        s.insert("losing", t.losing);
        s.insert("loss", t.loss);
        s.insert("max_loss", t.maxLoss);
        s.insert("average_loss", t.averageLoss);
        s.insert("profit_factor", t.profitFactor);
        sessions.append(std::move(s));
    }
    json.insert("sessions", std::move(sessions));
    json.insert("equity", pointsJson(r.equity.points, &r.equity.labels));
    report.json.insert("statistics", std::move(json));

    QString &text = report.text;
    text += title + QLatin1Char('\n');
    text += RenderTextTable({{QString(), QStringLiteral("Количество"), QStringLiteral("Сумма"), QStringLiteral("Средняя")},
                             {QStringLiteral("Прибыльные позиции"), r.winCount, r.winSum, r.winAverage},
                             {QStringLiteral("Убыточные позиции"), r.lossCount, r.lossSum, r.lossAverage}});
    text += QStringLiteral("  Итог: чистая %1\n").arg(r.net);
    text += QStringLiteral("  По торговым сесиям\n");
    std::vector<QStringList> grid{{QString(), QStringLiteral("Азиатская(0-6 GTM)"), QStringLiteral("Азиатско-Европейская(6-9)"),
                                   QStringLiteral("Европейская(9-13:30)"), QStringLiteral("Европейско-американская(13:30-15:30)"),
                                   QStringLiteral("Американская(15:30-20)")}};
    const QStringList captions{QStringLiteral("Сделок"), QStringLiteral("Прибыльных"), QStringLiteral("Прибыль"),
                               QStringLiteral("Макс"), QStringLiteral("Средняя"), QStringLiteral("Убыточных"),
                               QStringLiteral("Убыток"), QStringLiteral("Макс"), QStringLiteral("Средняя"),
                               QStringLiteral("Профит фактор")};
    for (int row = 0; row < captions.size(); ++row) {
        QStringList line{captions[row]};
        for (const SessionTexts &t : r.sessionTexts) {
            const QString values[10] = {t.trades, t.winning, t.profit, t.maxProfit, t.averageProfit,
                                        t.losing, t.loss, t.maxLoss, t.averageLoss, t.profitFactor};
            line.append(values[row]);
        }
        grid.push_back(line);
    }
    text += RenderTextTable(grid, 4);
    text += QStringLiteral("  График баланса: %1 точек").arg(r.equity.points.size());
    if (!r.equity.points.empty())
        text += QStringLiteral(", последняя %1").arg(FormatMoney(r.equity.points.back().y, options.decimalSeparator));
    text += QStringLiteral("\n\n");
}

void addPairs(Report &report, const StatementTable &table, const ReportOptions &options)
{
    const QString title = QStringLiteral("По валютным парам");
    const PairsResult r = CalculatePairs(table, options.decimalSeparator);
    if (r.error) {
        report.anySectionFailed = true;
        report.json.insert("pairs", errorJson(*r.error));
        report.text += errorText(title, *r.error);
        return;
    }
    Json json = Json::object();
    json.insert("grid", gridJson(r.grid));
    Json curves = Json::array();
    for (const PairCurve &curve : r.curves) {
        Json c = Json::object();
        c.insert("title", curve.title);
        c.insert("points", pointsJson(curve.points, nullptr));
        curves.append(std::move(c));
    }
    json.insert("curves", std::move(curves));
    report.json.insert("pairs", std::move(json));

    report.text += title + QLatin1Char('\n') + RenderTextTable(r.grid);
    QStringList drawn;
    for (const PairCurve &curve : r.curves)
        drawn.append(QStringLiteral("%1 (%2)").arg(curve.title).arg(curve.points.size()));
    report.text += QStringLiteral("  График профита по валютам: %1\n\n").arg(drawn.join(QStringLiteral(", ")));
}

} // namespace

Report BuildReport(const QString &file, const StatementTable &table, const ReportOptions &options)
{
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
    report.text += QStringLiteral("Валютные пары (%1): %2\n\n")
                           .arg(symbols.count())
                           .arg(symbols.toStringList().join(QStringLiteral(", ")));

    addStatistics(report, table, options);
    addPairs(report, table, options);
    return report;
}
