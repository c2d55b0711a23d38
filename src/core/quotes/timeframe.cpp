// The timeframe table.
#include "quotes/timeframe.h"

const std::vector<Timeframe> &Timeframes()
{
    static const std::vector<Timeframe> table = {
        {QStringLiteral("М1"), QStringLiteral("M1"), 1},
        {QStringLiteral("М5"), QStringLiteral("M5"), 5},
        {QStringLiteral("М15"), QStringLiteral("M15"), 15},
        {QStringLiteral("М30"), QStringLiteral("M30"), 30},
        {QStringLiteral("Н1"), QStringLiteral("H1"), 60},
        {QStringLiteral("Н4"), QStringLiteral("H4"), 240},
        {QStringLiteral("D1"), QStringLiteral("D1"), 1440},
    };
    return table;
}

std::optional<int> TimeframeIndex(const QString &text)
{
    const std::vector<Timeframe> &table = Timeframes();
    for (size_t i = 0; i < table.size(); ++i)
        if (text == table[i].caption || text == table[i].latin)
            return int(i);
    return std::nullopt;
}
