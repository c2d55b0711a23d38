// Streak counting: one pass over the rows, a run open per pair and one over all pairs.
#include "analysis/streaks.h"

#include "statement/cellreader.h"
#include "statement/symbollist.h"

#include <array>

namespace {

constexpr size_t kColumns = kLongestCountedStreak + 1; // lengths 1..12 and ">12"

// The run of one sequence of trades and the runs counted so far.
struct RunCounter {
    bool winning = false;
    long long length = 0; ///< 0 before the first trade
    std::array<long long, kColumns> wins{};
    std::array<long long, kColumns> losses{};

    void add(bool win)
    {
        if (length > 0 && win != winning)
            close();
        winning = win;
        ++length;
    }
    void close()
    {
        if (length == 0)
            return;
        const size_t column = size_t(std::min<long long>(length, kColumns)) - 1;
        ++(winning ? wins : losses)[column];
        length = 0;
    }
};

QStringList rowTexts(const QString &caption, const std::array<long long, kColumns> &counts)
{
    QStringList row{caption};
    for (const long long n : counts)
        row.append(QString::number(n));
    return row;
}

} // namespace

QString StreaksCaption()
{
    return QStringLiteral("Серии");
}

QStringList StreaksGridHeader()
{
    QStringList header{QStringLiteral("Вал.Пары")};
    for (int length = 1; length <= kLongestCountedStreak; ++length)
        header.append(QString::number(length));
    header.append(QStringLiteral(">%1").arg(kLongestCountedStreak));
    return header;
}

QString StreaksTotalCaption()
{
    return QStringLiteral("Итого");
}

StreaksResult CalculateStreaks(const StatementTable &table, QChar decimalSeparator)
{
    const SymbolList symbols = SymbolList::BuildSymbolList(table);
    const size_t n = size_t(symbols.count());
    std::vector<RunCounter> pairs(n + 1);
    RunCounter total;
    const std::optional<CellError> error = CatchCellError([&] {
        const CellReader cells(table, decimalSeparator);
        for (int r = 1; r < table.rowCount(); ++r) {
            if (PendingRow(table.cellUtf8(r, Column::Type)))
                continue;
            const bool win = cells.number(r, Column::Profit) >= 0;
            pairs[size_t(symbols.indexOfRow(r))].add(win);
            total.add(win);
        }
    });
    if (error)
        return FailedResult<StreaksResult>(*error);

    StreaksResult result;
    result.wins.reserve(n + 2);
    result.losses.reserve(n + 2);
    result.wins.push_back(StreaksGridHeader());
    result.losses.push_back(StreaksGridHeader());
    for (size_t i = 1; i <= n; ++i) {
        pairs[i].close();
        result.wins.push_back(rowTexts(symbols.at(int(i) - 1), pairs[i].wins));
        result.losses.push_back(rowTexts(symbols.at(int(i) - 1), pairs[i].losses));
    }
    total.close();
    result.wins.push_back(rowTexts(StreaksTotalCaption(), total.wins));
    result.losses.push_back(rowTexts(StreaksTotalCaption(), total.losses));
    return result;
}
