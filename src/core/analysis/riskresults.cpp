// Risk, money management and shortfall in one pass over the rows.
#include "analysis/riskresults.h"

#include "analysis/sessionstatistics.h"
#include "statement/cellreader.h"
#include "statement/formatmoney.h"
#include "statement/symbollist.h"

#include <cmath>

double ValuePerPriceUnit(double open, double close, double profit)
{
    const double move = std::fabs(open - close);
    return move > 0 ? std::fabs(profit / (open - close)) : 0.0;
}

bool ProtectedTrade(std::string_view type, double open, double stopLoss, double takeProfit)
{
    if (!(takeProfit > 0 && stopLoss > 0))
        return false;
    return (type == "BUY" && stopLoss < open) || (type == "SELL" && stopLoss > open);
}

double RiskRatio(double open, double stopLoss, double takeProfit)
{
    return std::fabs(takeProfit - open) / std::fabs(stopLoss - open) * 100;
}

double RiskShare(double open, double stopLoss, double close, double profit, double balance)
{
    return std::fabs(stopLoss - open) * ValuePerPriceUnit(open, close, profit) / balance * 100;
}

double Shortfall(double takeProfit, double close, std::string_view openPrice)
{
    return std::round(std::fabs(takeProfit - close) * PowerOfTen(PriceDigits(openPrice)));
}

QString RiskCaption()
{
    return QStringLiteral("Риск-менеджмент/Мани -м-ент/недоборы");
}

QStringList RiskGridHeader()
{
    return {QStringLiteral("Вал. пара"), QStringLiteral("Риск М"), QStringLiteral("Мани М"),
            QStringLiteral("Недобор")};
}

RiskResult CalculateRisk(const StatementTable &table, const RiskSettings &settings)
{
    RiskResult result;
    const QChar sep = settings.decimalSeparator;
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const size_t n = size_t(symbols.count());
    std::vector<double> ratioSum(n + 1, 0.0), shareSum(n + 1, 0.0), shortfallSum(n + 1, 0.0);
    std::vector<int> protectedCount(n + 1, 0);
    const std::optional<CellError> error = CatchCellError([&] {
        double balance = settings.startingBalance
                             ? *settings.startingBalance
                             : ReadIntegerField(settings.initialBalance, InitialBalanceCaption());
        const CellReader cells(table, sep);
        for (int r = 1; r < table.rowCount(); ++r) {
            const double close = cells.number(r, Column::ClosePrice);
            const double takeProfit = cells.number(r, Column::TakeProfit);
            const double stopLoss = cells.number(r, Column::StopLoss);
            const double open = cells.number(r, Column::OpenPrice);
            const double profit = cells.number(r, Column::Profit);
            const size_t k = size_t(symbols.indexOfRow(r));
            // The balance a trade is measured against already holds its own result.
            balance += profit;

            if (ProtectedTrade(table.cellUtf8(r, Column::Type), open, stopLoss, takeProfit)) {
                const double ratio = RiskRatio(open, stopLoss, takeProfit);
                if (balance == 0)
                    cells.fail(
                        r, Column::Profit,
                        QStringLiteral("баланс после сделки равен 0, доля риска не определена"));
                const double share = RiskShare(open, stopLoss, close, profit, balance);
                ratioSum[k] += ratio;
                shareSum[k] += share;
                ++protectedCount[k];
                result.riskRatio.append(ratio, r);
                result.riskShare.append(share, r);
            }
            // A trade without a target has no shortfall.
            if (profit > 0 && takeProfit != 0) {
                const double points =
                    Shortfall(takeProfit, close, table.cellUtf8(r, Column::OpenPrice));
                shortfallSum[k] += points;
                result.shortfall.append(points, r);
            }
        }
    });
    if (error)
        return FailedResult<RiskResult>(*error);

    result.grid.reserve(n + 1);
    result.grid.push_back(RiskGridHeader());
    for (size_t i = 1; i <= n; ++i) {
        const int count = protectedCount[i];
        result.grid.push_back({symbols.at(int(i) - 1),
                               FormatMoney(count ? ratioSum[i] / count : 0.0, sep),
                               FormatMoney(count ? shareSum[i] / count : 0.0, sep),
                               FormatMoney(shortfallSum[i], sep)});
    }
    return result;
}
