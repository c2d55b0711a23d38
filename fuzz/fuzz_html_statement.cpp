// Fuzz target: HTML statement bytes through both HTML readers (in place from UTF-8 bytes, and
// decoded through the import), then the account summary and streaks over the table.
#include "analysis/accountsummary.h"
#include "analysis/streaks.h"
#include "formats/htmlstatement.h"
#include "formats/statementimport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void summarise(const ImportResult &imported)
{
    if (!imported.table)
        return;
    SummarySettings settings;
    if (imported.account) {
        settings.startingBalance = imported.account->startingBalance;
        settings.operations = imported.account->operations;
    }
    CalculateAccountSummary(*imported.table, settings);
    CalculateStreaks(*imported.table, QLatin1Char('.'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::optional<HtmlStatement> inPlace = ReadHtmlStatementIfUtf8(bytes);
    LargeArray<char> copy;
    copy.append(bytes.data(), bytes.size());
    const ImportResult imported = ImportStatementBytes(std::move(copy));
    // Both ways must agree on what the UTF-8 file holds.
    if (inPlace && imported.format == StatementFormat::Html) {
        if (inPlace->table.has_value() != imported.table.has_value())
            std::abort();
        if (inPlace->table && inPlace->table->rowCount() != imported.table->rowCount())
            std::abort();
    }
    summarise(imported);
    return 0;
}
