// Fuzz target: statement bytes through the import, then every analysis over the table.
#include "analysis/exitoutcomes.h"
#include "analysis/pairresults.h"
#include "analysis/riskresults.h"
#include "analysis/sessionstatistics.h"
#include "analysis/streaks.h"
#include "analysis/weekdayresults.h"
#include "formats/statementimport.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    LargeArray<char> bytes;
    bytes.append(reinterpret_cast<const char *>(data), size);
    const ImportResult imported = ImportStatementBytes(std::move(bytes));
    if (!imported.table)
        return 0;
    const StatementTable &table = *imported.table;
    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        StatisticsSettings statistics;
        statistics.decimalSeparator = separator;
        CalculateStatistics(table, statistics);
        CalculatePairs(table, separator);
        CalculateWeekdays(table, separator);
        RiskSettings risk;
        risk.decimalSeparator = separator;
        CalculateRisk(table, risk);
        CalculateOutcomes(table, separator);
        CalculateStreaks(table, separator);
    }
    return 0;
}
