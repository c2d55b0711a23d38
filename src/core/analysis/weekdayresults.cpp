// Weekday results: sums per weekday and pair slot, then the grid, bars and shading scales.
#include "analysis/weekdayresults.h"

#include "statement/cellreader.h"
#include "statement/formatmoney.h"
#include "statement/symbollist.h"

#include <algorithm>
#include <cmath>

QString WeekdaysCaption()
{
    return QStringLiteral("По рабочим дням");
}

QStringList WeekdaysGridHeader()
{
    return {QStringLiteral("Вал. пара"), QStringLiteral("Понедельник"), QStringLiteral("Вторник"),
            QStringLiteral("Среда"),     QStringLiteral("Четверг"),     QStringLiteral("Пятница")};
}

long long TruncatedScale(double value)
{
    // Far beyond any account's sums, and still inside the 64-bit range after the ± 1.
    constexpr double kLimit = 9.0e18;
    if (std::isnan(value))
        return 0;
    return static_cast<long long>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

WeekdaysResult CalculateWeekdays(const StatementTable &table, QChar decimalSeparator)
{
    WeekdaysResult result;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const size_t n = size_t(symbols.count());
    // dayPairSum[d * (n + 1) + k]: weekday d = 1 (Sunday) .. 7 (Saturday), pair slot k = 1 .. n.
    std::vector<double> dayPairSum(8 * (n + 1), 0.0);
    std::array<int, 8> winCount{}, lossCount{};
    std::array<double, 8> winSum{}, lossSum{};
    const std::optional<CellError> error = CatchCellError([&] {
        const CellReader cells(table, decimalSeparator);
        for (int r = 1; r < table.rowCount(); ++r) {
            const double p = cells.number(r, Column::Profit);
            const int d = cells.weekday(r, Column::OpenDate);
            const size_t k = size_t(symbols.indexOfRow(r));
            dayPairSum[size_t(d) * (n + 1) + k] += p;
            if (p >= 0) {
                winSum[size_t(d)] += p;
                ++winCount[size_t(d)];
            } else {
                lossSum[size_t(d)] += p;
                ++lossCount[size_t(d)];
            }
        }
    });
    if (error)
        return FailedResult<WeekdaysResult>(*error);

    for (size_t d = 2; d <= 6; ++d) {
        result.winCount[d - 2] = winCount[d];
        result.lossCount[d - 2] = lossCount[d];
        result.winSum[d - 2] = winSum[d];
        result.lossSum[d - 2] = lossSum[d];
    }

    result.grid.reserve(n + 1);
    result.grid.push_back(WeekdaysGridHeader());
    // The scales start from Monday of the first pair (0 when there is none).
    double high = n ? dayPairSum[2 * (n + 1) + 1] : 0.0;
    double low = high;
    for (size_t i = 1; i <= n; ++i) {
        QStringList row{symbols.at(int(i) - 1)};
        for (size_t d = 2; d <= 6; ++d) {
            const double v = dayPairSum[d * (n + 1) + i];
            high = std::max(high, v);
            low = std::min(low, v);
            row.append(FormatMoney(v, decimalSeparator));
        }
        result.grid.push_back(row);
    }
    result.profitScale = TruncatedScale(high) + 1;
    result.lossScale = TruncatedScale(low) - 1;

    // Shading reads the grid's own texts against the two scales.
    result.shades = EmptyShadeGrid(result.grid);
    for (size_t r = 1; r < result.grid.size(); ++r) {
        for (int c = 1; c <= 5; ++c) {
            const double v = ParseNumber(result.grid[r][c], decimalSeparator).value_or(0.0);
            if (v > 0 && result.profitScale > 0)
                result.shades[r][size_t(c)] =
                    GreenShade(ShadeIntensity(v, result.profitScale, 230));
            else if (v < 0 && result.lossScale < 0)
                result.shades[r][size_t(c)] =
                    RedShade(ShadeIntensity(v, -double(result.lossScale), 230));
        }
    }
    return result;
}
