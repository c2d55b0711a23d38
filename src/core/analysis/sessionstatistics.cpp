// Session statistics: one pass over the rows, then the texts of the tab.
#include "analysis/sessionstatistics.h"

#include "statement/cellreader.h"
#include "statement/formatmoney.h"

#include <cmath>

QString StatisticsCaption()
{
    return QStringLiteral("Статистика");
}

QString ServerOffsetCaption()
{
    return QStringLiteral("Смещение сервера(GTM)");
}

QString InitialBalanceCaption()
{
    return QStringLiteral("Начальный баланс");
}

QStringList SessionCaptions()
{
    return {QStringLiteral("Азиатская(0-6 GTM)"), QStringLiteral("Азиатско-Европейская(6-9)"),
            QStringLiteral("Европейская(9-13:30)"),
            QStringLiteral("Европейско-американская(13:30-15:30)"),
            QStringLiteral("Американская(15:30-20)")};
}

QStringList SessionRowCaptions()
{
    return {QStringLiteral("Сделок"),  QStringLiteral("Прибыльных"),
            QStringLiteral("Прибыль"), QStringLiteral("Макс"),
            QStringLiteral("Средняя"), QStringLiteral("Убыточных"),
            QStringLiteral("Убыток"),  QStringLiteral("Макс"),
            QStringLiteral("Средняя"), QStringLiteral("Профит фактор")};
}

namespace {

// Two characters as a whole number: the usual two digits directly, anything else as StrToInt.
std::optional<long long> twoCharacters(std::string_view s)
{
    if (s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9')
        return (s[0] - '0') * 10 + (s[1] - '0');
    return ParseInteger(s);
}

} // namespace

std::optional<int> SessionOfTime(std::string_view text, int serverOffset)
{
    if (text.size() < 5)
        return std::nullopt;
    const auto hourText = twoCharacters(text.substr(0, 2));
    const auto minuteText = twoCharacters(text.substr(3, 2));
    if (!hourText || !minuteText)
        return std::nullopt;
    const long long hour = *hourText - serverOffset;
    const long long minute = *minuteText;
    if (hour >= 0 && hour <= 5)
        return 0;
    if (hour >= 6 && hour <= 8)
        return 1;
    if (hour >= 9 && hour <= 12)
        return 2;
    if (hour == 13)
        return minute < 30 ? 2 : 3;
    if (hour == 14)
        return 3;
    if (hour == 15)
        return minute < 30 ? 3 : 4;
    if (hour >= 16 && hour <= 20)
        return 4;
    return 0;
}

StatisticsResult CalculateStatistics(const StatementTable &table,
                                     const StatisticsSettings &settings)
{
    StatisticsResult result;
    const QChar sep = settings.decimalSeparator;
    const std::optional<CellError> error = CatchCellError([&] {
        const double initialBalance =
            settings.startingBalance
                ? *settings.startingBalance
                : ReadIntegerField(settings.initialBalance, InitialBalanceCaption());
        const int rows = table.rowCount();
        const int offset =
            rows > 1 ? ReadIntegerField(settings.serverOffset, ServerOffsetCaption()) : 0;
        const CellReader cells(table, sep);
        auto &sessions = result.sessions;
        double balance = initialBalance;
        result.equity.reserve(size_t(rows));
        for (int r = 1; r < rows; ++r) {
            const auto session = SessionOfTime(table.cellUtf8(r, Column::OpenTime), offset);
            if (!session)
                cells.fail(r, Column::OpenTime, QStringLiteral("не время ЧЧ:ММ:СС"));
            const double p = cells.number(r, Column::Profit);
            balance += p;
            result.equity.append(balance, r);
            SessionResult &s = sessions[size_t(*session)];
            if (p >= 0) {
                ++s.WinCount;
                s.WinSum += p;
                if (s.WinMax < p)
                    s.WinMax = p;
            } else {
                ++s.LossCount;
                s.LossSum += p;
                if (s.LossMax > p)
                    s.LossMax = p;
            }
        }
        for (SessionResult &s : sessions) {
            s.WinAverage = s.WinCount ? s.WinSum / s.WinCount : 0;
            s.LossAverage = s.LossCount ? s.LossSum / s.LossCount : 0;
        }
    });
    if (error)
        return FailedResult<StatisticsResult>(*error);

    auto money = [sep](double v) { return FormatMoney(v, sep); };
    // Averages and the net result come from the rounded texts, as the tab shows them; a sum
    // beyond the doubles' range ("INF") stays what it is.
    auto fromText = [sep](const QString &t, double sum) {
        return ParseNumber(t, sep).value_or(sum);
    };
    int winCount = 0, lossCount = 0;
    double winSum = 0, lossSum = 0;
    for (const SessionResult &s : result.sessions) {
        winCount += s.WinCount;
        lossCount += s.LossCount;
        winSum += s.WinSum;
        lossSum += s.LossSum;
    }
    result.winCount = QString::number(winCount);
    result.winSum = money(winSum);
    result.winAverage = money(winCount ? fromText(result.winSum, winSum) / winCount : 0.0);
    result.lossCount = QString::number(lossCount);
    result.lossSum = money(lossSum);
    result.lossAverage = money(lossCount ? fromText(result.lossSum, lossSum) / lossCount : 0.0);
    result.net = money(fromText(result.winSum, winSum) + fromText(result.lossSum, lossSum));

    for (size_t i = 0; i < result.sessions.size(); ++i) {
        const SessionResult &s = result.sessions[i];
        SessionTexts &t = result.sessionTexts[i];
        t.trades = QString::number(s.WinCount + s.LossCount);
        t.winning = QString::number(s.WinCount);
        t.profit = money(s.WinSum);
        t.maxProfit = money(s.WinMax);
        t.averageProfit = money(s.WinAverage);
        t.losing = QString::number(s.LossCount);
        t.loss = money(s.LossSum);
        t.maxLoss = money(s.LossMax);
        t.averageLoss = money(s.LossAverage);
        if (s.LossSum < 0)
            t.profitFactor = money(std::fabs(s.WinSum / s.LossSum));
    }
    return result;
}
