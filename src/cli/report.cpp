// Report sections: one per analysis, each rendered as JSON and as aligned text.
#include "report.h"

#include "analysis/accountsummary.h"
#include "analysis/exitoutcomes.h"
#include "analysis/pairresults.h"
#include "analysis/riskresults.h"
#include "analysis/sessionstatistics.h"
#include "analysis/streaks.h"
#include "analysis/weekdayresults.h"
#include "json.h"
#include "quotes/quotechart.h"
#include "statement/formatmoney.h"
#include "statement/symbollist.h"
#include "statement/tradereadout.h"
#include "texttable.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <memory>

#include <QDateTime>
#include <QLocale>

namespace {

/// Collects the sections in the chosen format and writes each one as soon as it is added.
class ReportWriter {
public:
    ReportWriter(FILE *file, const ReportOptions &options) : m_out(file), m_options(options) {}
    ~ReportWriter() { finish(); }

    const ReportOptions &options() const { return m_options; }
    bool json() const { return m_options.json; }
    bool failed() const { return m_failed; }

    void addJson(const char *key, const Json &value)
    {
        std::string &o = m_out.buffer();
        o += m_members++ ? ",\n  " : "{\n  ";
        Json::writeString(o, key);
        o += ": ";
        value.write(m_out);
    }
    void addText(const QString &text)
    {
        m_out.buffer() += text.toStdString();
        m_out.maybeFlush();
    }
    /// A section whose calculation failed.
    void addError(const char *key, const QString &title, const CellError &error);

    void finish()
    {
        if (m_finished)
            return;
        m_finished = true;
        if (json())
            m_out.buffer() += m_members ? "\n}\n" : "{}\n";
        m_out.flush();
    }

private:
    JsonOut m_out;
    const ReportOptions &m_options;
    int m_members = 0;
    bool m_failed = false;
    bool m_finished = false;
};

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

void ReportWriter::addError(const char *key, const QString &title, const CellError &error)
{
    m_failed = true;
    if (json())
        addJson(key, errorJson(error));
    else
        addText(QStringLiteral("%1\n  ошибка: %2\n\n").arg(title, error.describe()));
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

/// [[x, y, "label"], ...] written straight into the output: curves can hold a million points.
/// With a curve, labels are the Ticket texts of its rows; without, the point numbers.
Json pointsJson(const std::vector<double> &values, const TradeCurve *curve,
                const StatementTable *table)
{
    return Json::deferred([&values, curve, table](JsonOut &sink) {
        // Points are formatted into a block on the stack and appended a block at a time.
        constexpr size_t kBlock = 1 << 16;
        constexpr size_t kPointRoom = 2 * Json::kNumberChars + 16; // a point without its label
        char block[kBlock];
        char *p = block;
        auto flush = [&] {
            sink.buffer().append(block, size_t(p - block));
            sink.maybeFlush();
            p = block;
        };
        *p++ = '[';
        for (size_t i = 0; i < values.size(); ++i) {
            const std::string_view label = curve ? curve->labelUtf8(*table, i) : std::string_view();
            const bool inBlock =
                !curve || (label.size() + kPointRoom < kBlock && Json::isPlain(label));
            if (size_t(p - block) + kPointRoom + (inBlock ? label.size() : 0) > kBlock)
                flush();
            if (i) {
                *p++ = ',';
                *p++ = ' ';
            }
            *p++ = '[';
            char *x = p;
            p = std::to_chars(p, block + kBlock, i).ptr;
            const size_t xLength = size_t(p - x);
            *p++ = ',';
            *p++ = ' ';
            p = Json::formatNumber(p, values[i]);
            *p++ = ',';
            *p++ = ' ';
            if (!curve) {
                *p++ = '"';
                std::memmove(p, x, xLength);
                p += xLength;
                *p++ = '"';
            } else if (inBlock) {
                *p++ = '"';
                if (!label.empty()) // an empty label may have no storage at all
                    std::memcpy(p, label.data(), label.size());
                p += label.size();
                *p++ = '"';
            } else { // a label to escape or too long for the block goes straight to the output
                flush();
                Json::writeString(sink.buffer(), label);
            }
            *p++ = ']';
        }
        *p++ = ']';
        flush();
    });
}

void addStatistics(ReportWriter &report, const StatementTable &table, const StatisticsResult &r)
{
    const ReportOptions &options = report.options();
    const QString title = StatisticsCaption();
    if (r.error) {
        report.addError("statistics", title, *r.error);
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
    if (report.json()) {
        json.insert("equity", pointsJson(r.equity.values, &r.equity, &table));
        report.addJson("statistics", json);
        return;
    }

    QString text = title + QLatin1Char('\n');
    text += RenderTextTable(
        {{QString(), QStringLiteral("Количество"), QStringLiteral("Сумма"),
          QStringLiteral("Средняя")},
         {QStringLiteral("Прибыльные позиции"), r.winCount, r.winSum, r.winAverage},
         {QStringLiteral("Убыточные позиции"), r.lossCount, r.lossSum, r.lossAverage}});
    text += QStringLiteral("  Итог: чистая %1\n").arg(r.net);
    text += QStringLiteral("  По торговым сесиям\n");
    std::vector<QStringList> grid{QStringList{QString()} + SessionCaptions()};
    const QStringList captions = SessionRowCaptions();
    for (int row = 0; row < captions.size(); ++row) {
        QStringList line{captions[row]};
        for (const SessionTexts &t : r.sessionTexts)
            line.append(t.rows()[size_t(row)]);
        grid.push_back(line);
    }
    text += RenderTextTable(grid, 4);
    text += QStringLiteral("  График баланса: %1 точек").arg(r.equity.size());
    if (r.equity.size())
        text += QStringLiteral(", последняя %1")
                    .arg(FormatMoney(r.equity.values.back(), options.decimalSeparator));
    text += QStringLiteral("\n\n");
    report.addText(text);
}

void addPairs(ReportWriter &report, const PairsResult &r)
{
    const QString title = PairsCaption();
    if (r.error) {
        report.addError("pairs", title, *r.error);
        return;
    }
    Json json = Json::object();
    json.insert("grid", gridJson(r.grid));
    Json curves = Json::array();
    for (const PairCurve &curve : r.curves) {
        Json c = Json::object();
        c.insert("title", curve.title);
        c.insert("points", pointsJson(curve.values, nullptr, nullptr));
        curves.append(std::move(c));
    }
    json.insert("curves", std::move(curves));
    if (report.json()) {
        report.addJson("pairs", json);
        return;
    }
    QString text = title + QLatin1Char('\n') + RenderTextTable(r.grid);
    QStringList drawn;
    for (const PairCurve &curve : r.curves)
        drawn.append(QStringLiteral("%1 (%2)").arg(curve.title).arg(curve.values.size()));
    text +=
        QStringLiteral("  График профита по валютам: %1\n\n").arg(drawn.join(QStringLiteral(", ")));
    report.addText(text);
}

template <typename T, size_t N> Json numbersJson(const std::array<T, N> &values)
{
    Json list = Json::array();
    for (const T v : values)
        list.append(Json(v));
    return list;
}

void addWeekdays(ReportWriter &report, const WeekdaysResult &r)
{
    const QString title = WeekdaysCaption();
    if (r.error) {
        report.addError("weekdays", title, *r.error);
        return;
    }
    if (report.json()) {
        Json json = Json::object();
        json.insert("grid", gridJson(r.grid));
        json.insert("win_count", numbersJson(r.winCount));
        json.insert("loss_count", numbersJson(r.lossCount));
        json.insert("win_sum", numbersJson(r.winSum));
        json.insert("loss_sum", numbersJson(r.lossSum));
        report.addJson("weekdays", json);
        return;
    }
    const QChar sep = report.options().decimalSeparator;
    QString text = title + QStringLiteral("\n  Сумма результатов операций по дням\n") +
                   RenderTextTable(r.grid, 4);
    std::vector<QStringList> bars{{QString(), QStringLiteral("Пн"), QStringLiteral("Вт"),
                                   QStringLiteral("Ср"), QStringLiteral("Чт"),
                                   QStringLiteral("Пт")}};
    QStringList winCount{QStringLiteral("Количество приб. операций")},
        lossCount{QStringLiteral("Количество убыт. операций")},
        winSum{QStringLiteral("Суммарный профит")}, lossSum{QStringLiteral("Суммарный убыток")};
    for (size_t d = 0; d < 5; ++d) {
        winCount.append(QString::number(r.winCount[d]));
        lossCount.append(QString::number(r.lossCount[d]));
        winSum.append(FormatMoney(r.winSum[d], sep));
        lossSum.append(FormatMoney(r.lossSum[d], sep));
    }
    bars.insert(bars.end(), {winCount, lossCount, winSum, lossSum});
    text += RenderTextTable(bars, 4) + QLatin1Char('\n');
    report.addText(text);
}

void addRisk(ReportWriter &report, const StatementTable &table, const RiskResult &r)
{
    const QString title = RiskCaption();
    if (r.error) {
        report.addError("risk", title, *r.error);
        return;
    }
    if (report.json()) {
        Json json = Json::object();
        json.insert("grid", gridJson(r.grid));
        json.insert("risk_ratio", pointsJson(r.riskRatio.values, &r.riskRatio, &table));
        json.insert("risk_share", pointsJson(r.riskShare.values, &r.riskShare, &table));
        json.insert("shortfall", pointsJson(r.shortfall.values, &r.shortfall, &table));
        report.addJson("risk", json);
        return;
    }
    QString text = title + QStringLiteral("\n  Усредненные значения по валютным парам\n") +
                   RenderTextTable(r.grid, 4);
    text += QStringLiteral("  Точек: риск-менеджмент %1, мани-менеджмент %2, недоборы %3\n\n")
                .arg(r.riskRatio.size())
                .arg(r.riskShare.size())
                .arg(r.shortfall.size());
    report.addText(text);
}

void addOutcomes(ReportWriter &report, const OutcomesResult &r)
{
    const QString title = OutcomesCaption();
    if (r.error) {
        report.addError("outcomes", title, *r.error);
        return;
    }
    if (report.json()) {
        Json json = Json::object();
        json.insert("outcomes_grid", gridJson(r.outcomesGrid));
        json.insert("groups_grid", gridJson(r.groupsGrid));
        report.addJson("outcomes", json);
        return;
    }
    report.addText(title + QStringLiteral("\n  Таблица распределения исходов\n") +
                   RenderTextTable(r.outcomesGrid, 4) + QStringLiteral("  Группы результатов\n") +
                   RenderTextTable(r.groupsGrid, 4) + QLatin1Char('\n'));
}

void addStreaks(ReportWriter &report, const StreaksResult &r)
{
    const QString title = StreaksCaption();
    if (r.error) {
        report.addError("streaks", title, *r.error);
        return;
    }
    if (report.json()) {
        Json json = Json::object();
        json.insert("wins", gridJson(r.wins));
        json.insert("losses", gridJson(r.losses));
        report.addJson("streaks", json);
        return;
    }
    report.addText(title + QStringLiteral("\n  Число серий профитов\n") +
                   RenderTextTable(r.wins, 4) + QStringLiteral("  Число серий убытков\n") +
                   RenderTextTable(r.losses, 4) + QLatin1Char('\n'));
}

/// [[t, open, high, low, close, "#rrggbb"], ...], written straight into the output.
Json candlesJson(const std::vector<QuoteCandle> &candles)
{
    return Json::deferred([&candles](JsonOut &sink) {
        std::string &o = sink.buffer();
        o += '[';
        for (size_t i = 0; i < candles.size(); ++i) {
            const QuoteCandle &c = candles[i];
            o += i ? ", [" : "[";
            o += std::to_string(c.msecs);
            for (const double v : {c.open, c.high, c.low, c.close}) {
                o += ", ";
                Json::writeNumber(o, v);
            }
            o += ", ";
            Json::writeString(o, ColourName(c.colour).toStdString());
            o += ']';
            sink.maybeFlush();
        }
        o += ']';
    });
}

/// [[t, y, "#rrggbb"], ...], written straight into the output.
Json marksJson(const std::vector<QuotePoint> &points)
{
    return Json::deferred([&points](JsonOut &sink) {
        std::string &o = sink.buffer();
        o += '[';
        for (size_t i = 0; i < points.size(); ++i) {
            const QuotePoint &p = points[i];
            o += i ? ", [" : "[";
            o += std::to_string(p.msecs);
            o += ", ";
            Json::writeNumber(o, p.value);
            o += ", ";
            Json::writeString(o, ColourName(p.colour).toStdString());
            o += ']';
            sink.maybeFlush();
        }
        o += ']';
    });
}

QString utcText(qint64 msecs)
{
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

/// The first point of `points` in `colour` (a mark, not a filler), or null.
const QuotePoint *markOf(const std::vector<QuotePoint> &points, std::uint32_t colour)
{
    for (const QuotePoint &p : points)
        if (p.colour == colour)
            return &p;
    return nullptr;
}

void addQuote(ReportWriter &report, const QuoteChart &r)
{
    const QString title = QStringLiteral("На графике");
    if (r.error) {
        report.addError("quote", title, *r.error);
        return;
    }
    const char *shape = r.openShape == OpenShape::Up ? "up" : "down";
    if (report.json()) {
        Json json = Json::object();
        json.insert("title", r.title);
        json.insert("file", r.file);
        json.insert("version", r.version ? Json(*r.version) : Json());
        json.insert("open_shape", shape);
        json.insert("candles", candlesJson(r.candles));
        json.insert("open", marksJson(r.open));
        json.insert("close", marksJson(r.close));
        json.insert("sl", marksJson(r.stopLoss));
        json.insert("tp", marksJson(r.takeProfit));
        report.addJson("quote", json);
        return;
    }
    const QString version = r.version ? QString::number(*r.version) : QStringLiteral("нет");
    QString text =
        QStringLiteral("%1\n  %2, файл %3 (версия %4)\n").arg(title, r.title, r.file, version);
    if (r.candles.empty()) {
        text += QStringLiteral("  Свечей: 0\n");
    } else {
        text += QStringLiteral("  Свечей: %1, %2 .. %3 UTC\n")
                    .arg(r.candles.size())
                    .arg(utcText(r.candles.front().msecs), utcText(r.candles.back().msecs));
    }
    auto mark = [](const QuotePoint *p) {
        return p ? QStringLiteral("%1 по %2")
                       .arg(utcText(p->msecs),
                            QString::number(p->value, 'g', QLocale::FloatingPointShortest))
                 : QStringLiteral("нет");
    };
    text += QStringLiteral("  Открытие (%1): %2; стоп %3; тейк %4\n  Закрытие: %5\n\n")
                .arg(QString::fromLatin1(shape), mark(markOf(r.open, QuoteColour::Yellow)),
                     mark(markOf(r.stopLoss, QuoteColour::Red)),
                     mark(markOf(r.takeProfit, QuoteColour::Aqua)),
                     mark(markOf(r.close, QuoteColour::Yellow)));
    report.addText(text);
}

QuoteChart drawQuote(const StatementTable &table, const ReportOptions &options)
{
    const int row = FirstRowWithTicket(table, options.quoteTicket);
    if (row < 0)
        return FailedResult<QuoteChart>(CellError{-1, ColumnName(Column::Ticket),
                                                  options.quoteTicket,
                                                  QStringLiteral("нет сделки с таким тикетом")});
    QuoteSettings settings;
    settings.historyFolder = options.historyFolder;
    settings.timeframe = options.timeframe;
    settings.timeframeText = Timeframes().at(size_t(options.timeframe)).caption;
    settings.barLimit = QString::number(options.bars);
    settings.gmtShift = QString::number(options.gmtShift);
    settings.decimalSeparator = options.decimalSeparator;
    return DrawTrade(SelectTrade(table, row), settings);
}

void addSummary(ReportWriter &report, const AccountSummaryResult &r)
{
    const QString title = SummaryCaption();
    if (r.error) {
        report.addError("summary", title, *r.error);
        return;
    }
    const SummaryTexts &t = r.texts;
    if (report.json()) {
        const std::pair<const char *, const QString *> fields[] = {
            {"trades", &t.trades},
            {"gross_profit", &t.grossProfit},
            {"gross_loss", &t.grossLoss},
            {"net_profit", &t.netProfit},
            {"profit_factor", &t.profitFactor},
            {"expected_payoff", &t.expectedPayoff},
            {"absolute_drawdown", &t.absoluteDrawdown},
            {"maximal_drawdown", &t.maximalDrawdown},
            {"maximal_drawdown_percent", &t.maximalDrawdownPercent},
            {"relative_drawdown_percent", &t.relativeDrawdownPercent},
            {"relative_drawdown", &t.relativeDrawdown},
            {"short_positions", &t.shortPositions},
            {"short_won_percent", &t.shortWonPercent},
            {"long_positions", &t.longPositions},
            {"long_won_percent", &t.longWonPercent},
            {"profit_trades", &t.profitTrades},
            {"profit_trades_percent", &t.profitTradesPercent},
            {"loss_trades", &t.lossTrades},
            {"loss_trades_percent", &t.lossTradesPercent},
            {"largest_profit_trade", &t.largestProfitTrade},
            {"largest_loss_trade", &t.largestLossTrade},
            {"average_profit_trade", &t.averageProfitTrade},
            {"average_loss_trade", &t.averageLossTrade},
            {"max_consecutive_wins", &t.maxConsecutiveWins},
            {"max_consecutive_wins_money", &t.maxConsecutiveWinsMoney},
            {"max_consecutive_losses", &t.maxConsecutiveLosses},
            {"max_consecutive_losses_money", &t.maxConsecutiveLossesMoney},
            {"maximal_consecutive_profit", &t.maximalConsecutiveProfit},
            {"maximal_consecutive_profit_count", &t.maximalConsecutiveProfitCount},
            {"maximal_consecutive_loss", &t.maximalConsecutiveLoss},
            {"maximal_consecutive_loss_count", &t.maximalConsecutiveLossCount},
            {"average_consecutive_wins", &t.averageConsecutiveWins},
            {"average_consecutive_losses", &t.averageConsecutiveLosses},
            {"initial_deposit", &t.initialDeposit},
            {"deposits", &t.deposits},
            {"withdrawals", &t.withdrawals},
            {"credit", &t.credit},
            {"account_maximal_drawdown", &t.accountMaximalDrawdown},
            {"account_maximal_drawdown_percent", &t.accountMaximalDrawdownPercent},
            {"account_relative_drawdown_percent", &t.accountRelativeDrawdownPercent},
            {"account_relative_drawdown", &t.accountRelativeDrawdown},
        };
        Json json = Json::object();
        for (const auto &[key, text] : fields)
            json.insert(key, *text);
        report.addJson("summary", json);
        return;
    }
    // The terminal's layout: a leading word, then three captions each with its value.
    std::vector<QStringList> grid;
    for (const SummaryLine &line : SummaryLayout(t)) {
        QStringList cells;
        for (size_t i = 0; i < line.items.size(); ++i) {
            const SummaryItem &item = line.items[i];
            const bool lead = i == 0 && !line.lead.isEmpty();
            cells << (lead                     ? line.lead
                      : item.caption.isEmpty() ? QString()
                                               : item.caption + QLatin1Char(':'))
                  << item.value;
        }
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        grid.push_back(cells);
    }
    report.addText(title + QLatin1Char('\n') + RenderTextTable(grid) + QLatin1Char('\n'));
}

/// How a computed section is written.
using SectionWriter = std::function<void(ReportWriter &)>;

/// One section of the report: computed from the table (on a thread of its own) into a writer.
using SectionComputation = SectionWriter (*)(const StatementTable &table,
                                             const ReportOptions &options);

/// The sections in the order they are written; a new section is one more entry.
const SectionComputation kSections[] = {
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        StatisticsSettings settings;
        settings.serverOffset = QString::number(options.serverOffset);
        settings.initialBalance = QString::number(options.balance);
        if (options.account && !options.balanceGiven)
            settings.startingBalance = options.account->startingBalance;
        settings.decimalSeparator = options.decimalSeparator;
        auto r = std::make_shared<StatisticsResult>(CalculateStatistics(table, settings));
        return [r, &table](ReportWriter &report) { addStatistics(report, table, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        auto r = std::make_shared<PairsResult>(CalculatePairs(table, options.decimalSeparator));
        return [r](ReportWriter &report) { addPairs(report, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        auto r =
            std::make_shared<WeekdaysResult>(CalculateWeekdays(table, options.decimalSeparator));
        return [r](ReportWriter &report) { addWeekdays(report, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        RiskSettings settings;
        settings.initialBalance = QString::number(options.riskBalance);
        if (options.account && !options.riskBalanceGiven)
            settings.startingBalance = options.account->startingBalance;
        settings.decimalSeparator = options.decimalSeparator;
        auto r = std::make_shared<RiskResult>(CalculateRisk(table, settings));
        return [r, &table](ReportWriter &report) { addRisk(report, table, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        auto r =
            std::make_shared<OutcomesResult>(CalculateOutcomes(table, options.decimalSeparator));
        return [r](ReportWriter &report) { addOutcomes(report, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        auto r = std::make_shared<StreaksResult>(CalculateStreaks(table, options.decimalSeparator));
        return [r](ReportWriter &report) { addStreaks(report, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        SummarySettings settings;
        settings.initialBalance = QString::number(options.balance);
        if (options.account) {
            if (!options.balanceGiven)
                settings.startingBalance = options.account->startingBalance;
            settings.operations = options.account->operations;
        }
        settings.decimalSeparator = options.decimalSeparator;
        auto r = std::make_shared<AccountSummaryResult>(CalculateAccountSummary(table, settings));
        return [r](ReportWriter &report) { addSummary(report, *r); };
    },
    [](const StatementTable &table, const ReportOptions &options) -> SectionWriter {
        if (options.quoteTicket.isEmpty())
            return [](ReportWriter &) {};
        auto r = std::make_shared<QuoteChart>(drawQuote(table, options));
        return [r](ReportWriter &report) { addQuote(report, *r); };
    },
};

void addStatementSummary(ReportWriter &report, const QString &file, const StatementTable &table)
{
    const int rows = table.rowCount() - 1;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    if (report.json()) {
        report.addJson("file", Json(file));
        report.addJson("rows", Json(rows));
        Json names = Json::array();
        for (int i = 0; i < symbols.count(); ++i)
            names.append(symbols.at(i));
        report.addJson("symbols", names);
    } else {
        report.addText(QStringLiteral("Файл: %1\nСделок: %2\nВалютные пары (%3): %4\n\n")
                           .arg(file)
                           .arg(rows)
                           .arg(symbols.count())
                           .arg(symbols.toStringList().join(QStringLiteral(", "))));
    }
}

} // namespace

bool WriteReport(FILE *out, const QString &file, const StatementTable &table,
                 const ReportOptions &options)
{
    // The analyses are independent pure functions over the same read-only table: compute them
    // side by side and write each section as soon as it and those before it are done.
    std::vector<std::future<SectionWriter>> sections;
    for (const SectionComputation compute : kSections)
        sections.push_back(
            std::async(std::launch::async, compute, std::cref(table), std::cref(options)));

    ReportWriter report(out, options);
    addStatementSummary(report, file, table);
    for (std::future<SectionWriter> &section : sections)
        section.get()(report);
    report.finish();
    return !report.failed();
}
