// Fuzz target: the number, whole-number, date, time and price-digit rules on one cell text.
#include "analysis/sessionstatistics.h"
#include "quotes/tradeinstant.h"
#include "statement/formatmoney.h"
#include "statement/parsenumber.h"
#include "statement/valuerules.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    for (const QChar separator : {QChar(u'.'), QChar(u','), QChar(0x066B)}) {
        const auto value = ParseNumber(text, separator);
        // The fast path and the full conversion must agree on every text they both take.
        const auto full = detail::ParseNumberFull(text, separator);
        if (value.has_value() != full.has_value())
            std::abort();
        if (value && !(std::isnan(*value) && std::isnan(*full)) && *value != *full)
            std::abort();
        if (value)
            FormatMoney(*value, separator);
    }
    ParseInteger(text);
    WeekdayOfDate(text);
    PriceDigits(text);
    PointSize(text);
    const QString cell = QString::fromUtf8(text.data(), qsizetype(text.size()));
    ParseTradeDate(cell);
    ParseTradeTime(cell);
    for (const int offset : {-30, 0, 1, 23})
        SessionOfTime(text, offset);
    return 0;
}
