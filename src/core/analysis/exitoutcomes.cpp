// Exit outcomes and result groups in one pass over the rows.
#include "analysis/exitoutcomes.h"

#include "statement/cellreader.h"
#include "statement/symbollist.h"

#include <array>
#include <cmath>

double BreakevenBand(std::string_view stopLoss, std::string_view openPrice)
{
    const bool hasMark = stopLoss.find_first_of(".,") != std::string_view::npos;
    return 3 * PointSize(hasMark ? stopLoss : openPrice);
}

int ResultGroup(double earlier, double later)
{
    if (earlier >= 0 && later >= 0)
        return 1;
    if (earlier < 0 && later >= 0)
        return 2;
    if (earlier < 0 && later < 0)
        return 3;
    if (earlier >= 0 && later < 0)
        return 4;
    return 0;
}

Outcome ClassifyOutcome(double p, bool closedAtStop, bool closedAtTarget, double move, double band)
{
    if (p < 0 && closedAtStop)
        return Outcome::StopLoss;
    if (p > 0 && closedAtStop && move > band)
        return Outcome::TrailingStop;
    if (closedAtTarget)
        return Outcome::TakeProfit;
    if (p == 0 || (p > 0 && move <= band))
        return Outcome::Breakeven;
    return Outcome::Manual;
}

QString OutcomesCaption()
{
    return QStringLiteral("Закрытие/Исходы");
}

QStringList OutcomesGridHeader()
{
    return {QStringLiteral("Вал.Пары"),      QStringLiteral("По стопу в(-)"),
            QStringLiteral("По тейку"),      QStringLiteral("В безубыток"),
            QStringLiteral("Ручное"),        QStringLiteral("Удаленные позиции"),
            QStringLiteral("По стопу в(+)"), QStringLiteral("Всего сделок")};
}

QStringList GroupsGridHeader()
{
    return {QStringLiteral("Вал.Пары"), QStringLiteral("Группа 1"), QStringLiteral("Группа 2"),
            QStringLiteral("Группа 3"), QStringLiteral("Группа 4")};
}

OutcomesResult CalculateOutcomes(const StatementTable &table, QChar decimalSeparator)
{
    OutcomesResult result;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const size_t n = size_t(symbols.count());
    std::vector<std::array<int, 8>> outcomes(n + 1, std::array<int, 8>{});
    std::vector<std::array<int, 5>> groups(n + 1, std::array<int, 5>{});
    std::array<int, 5> totalGroups{};
    // The previous closed result of each pair.
    std::vector<std::optional<double>> previous(n + 1, NoPreviousResult);
    const std::optional<CellError> error = CatchCellError([&] {
        const CellReader cells(table, decimalSeparator);
        int parsedRow = 0; // the row whose Profit `parsedProfit` holds, 0 for none
        double parsedProfit = 0;
        for (int r = 1; r < table.rowCount(); ++r) {
            const size_t k = size_t(symbols.indexOfRow(r));
            if (PendingRow(table.cellUtf8(r, Column::Type))) {
                ++outcomes[k][size_t(Outcome::DeletedPending)];
                continue;
            }
            const double p = cells.number(r, Column::Profit);
            if (r > 1) {
                // Each closed trade is compared with the row just above, of any pair and type.
                const double above =
                    parsedRow == r - 1 ? parsedProfit : cells.number(r - 1, Column::Profit);
                ++totalGroups[size_t(ResultGroup(above, p))];
            }
            parsedRow = r;
            parsedProfit = p;
            if (previous[k] != NoPreviousResult)
                ++groups[k][size_t(ResultGroup(*previous[k], p))];
            previous[k] = p;

            const std::string_view close = table.cellUtf8(r, Column::ClosePrice);
            const bool atStop = close == table.cellUtf8(r, Column::StopLoss);
            const bool atTarget = close == table.cellUtf8(r, Column::TakeProfit);
            double move = 0, band = 0;
            if (p > 0) {
                move = std::fabs(cells.number(r, Column::OpenPrice) -
                                 cells.number(r, Column::ClosePrice));
                band = BreakevenBand(table.cellUtf8(r, Column::StopLoss),
                                     table.cellUtf8(r, Column::OpenPrice));
            }
            ++outcomes[k][size_t(ClassifyOutcome(p, atStop, atTarget, move, band))];
        }
    });
    if (error)
        return FailedResult<OutcomesResult>(*error);

    result.outcomesGrid.reserve(n + 1);
    result.outcomesGrid.push_back(OutcomesGridHeader());
    result.groupsGrid.reserve(n + 2);
    result.groupsGrid.push_back(GroupsGridHeader());
    for (size_t i = 1; i <= n; ++i) {
        std::array<int, 8> &o = outcomes[i];
        int &total = o[size_t(Outcome::Total)];
        for (int c = int(Outcome::StopLoss); c < int(Outcome::Total); ++c)
            total += o[size_t(c)];
        QStringList row{symbols.at(int(i) - 1)};
        for (int c = int(Outcome::StopLoss); c <= int(Outcome::Total); ++c)
            row.append(QString::number(o[size_t(c)]));
        result.outcomesGrid.push_back(row);
        QStringList groupRow{symbols.at(int(i) - 1)};
        for (int g = 1; g <= 4; ++g)
            groupRow.append(QString::number(groups[i][size_t(g)]));
        result.groupsGrid.push_back(groupRow);
    }
    QStringList total{QStringLiteral("Итого")};
    for (int g = 1; g <= 4; ++g)
        total.append(QString::number(totalGroups[size_t(g)]));
    result.groupsGrid.push_back(total);

    result.outcomesShades = EmptyShadeGrid(result.outcomesGrid);
    ShadeGridColumn(result.outcomesGrid, 1, 230, ShadeStyle::Red, decimalSeparator,
                    result.outcomesShades);
    ShadeGridColumn(result.outcomesGrid, 2, 230, ShadeStyle::Green, decimalSeparator,
                    result.outcomesShades);
    for (int c = 3; c <= 7; ++c)
        ShadeGridColumn(result.outcomesGrid, c, 180, ShadeStyle::Blue, decimalSeparator,
                        result.outcomesShades);
    result.groupsShades = EmptyShadeGrid(result.groupsGrid);
    for (int c = 1; c <= 4; ++c)
        ShadeGridColumn(result.groupsGrid, c, 230, c <= 2 ? ShadeStyle::Green : ShadeStyle::Red,
                        decimalSeparator, result.groupsShades);
    return result;
}
