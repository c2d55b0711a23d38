// Pair results: one pass over the rows with per-pair sums sized by the number of pairs.
#include "analysis/pairresults.h"

#include "statement/cellreader.h"
#include "statement/formatmoney.h"
#include "statement/symbollist.h"

QString PairsCaption()
{
    return QStringLiteral("По валютным парам");
}

QStringList PairsGridHeader()
{
    return {QStringLiteral("Symbol"), QStringLiteral("Profit"), QStringLiteral("Count")};
}

PairsResult CalculatePairs(const StatementTable &table, QChar decimalSeparator)
{
    PairsResult result;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const int n = symbols.count();
    std::vector<double> sums(size_t(n) + 1, 0.0);
    std::vector<int> counts(size_t(n) + 1, 0);
    const int drawn = std::min(n, kPairCurveCount);
    result.curves.resize(size_t(drawn));
    const std::optional<CellError> error = CatchCellError([&] {
        const CellReader cells(table, decimalSeparator);
        for (int r = 1; r < table.rowCount(); ++r) {
            const int k = symbols.indexOfRow(r);
            const double p = cells.number(r, Column::Profit);
            sums[size_t(k)] += p;
            if (k <= drawn)
                result.curves[size_t(k) - 1].values.push_back(sums[size_t(k)]);
            ++counts[size_t(k)];
        }
    });
    if (error)
        return FailedResult<PairsResult>(*error);
    result.grid.reserve(size_t(n) + 1);
    result.grid.push_back(PairsGridHeader());
    for (int i = 1; i <= n; ++i)
        result.grid.push_back({symbols.at(i - 1), FormatMoney(sums[size_t(i)], decimalSeparator),
                               QString::number(counts[size_t(i)])});
    for (int i = 0; i < drawn; ++i)
        result.curves[size_t(i)].title = symbols.at(i);
    result.shades = EmptyShadeGrid(result.grid);
    ShadeGridColumn(result.grid, 1, 230, ShadeStyle::ProfitLoss, decimalSeparator, result.shades);
    return result;
}
