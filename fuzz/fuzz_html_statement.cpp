// Fuzz target: HTML statement bytes through the HTML readers (in place from UTF-8 bytes, piece
// by piece, and decoded through the import), then the account summary and streaks over the
// table. Reading in pieces must either give up or give the very table of the whole reading.
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

// Reads the bytes in pieces of 1 to 64 bytes (the size taken from the last byte), in stretches
// on two threads, and compares with the whole reading, cell by cell.
void compareWithPieces(std::string_view bytes, const HtmlStatement &whole)
{
    const ByteSource source = MemoryByteSource(bytes);
    PieceReading how;
    how.pieceBytes = bytes.empty() ? 1 : 1 + static_cast<unsigned char>(bytes.back()) % 64;
    // Stretches for two threads, down to one per row start, from the byte before the last.
    if (bytes.size() >= 2)
        how.stretchBytes = 1 + size_t(static_cast<unsigned char>(bytes[bytes.size() - 2])) * 16;
    bool cancelled = false;
    const std::optional<HtmlStatement> pieces =
        ReadHtmlStatementInPieces(source, bytes.size(), how, &cancelled);
    if (!pieces)
        return;
    if (pieces->table.has_value() != whole.table.has_value() || pieces->notes != whole.notes ||
        pieces->account.operations.size() != whole.account.operations.size() ||
        pieces->account.startingBalance != whole.account.startingBalance)
        std::abort();
    if (!whole.table)
        return;
    const StatementTable &a = *pieces->table, &b = *whole.table;
    if (a.rowCount() != b.rowCount())
        std::abort();
    for (int row = 0; row < a.rowCount(); ++row)
        for (int c = 0; c < StatementTable::kColumnCount; ++c)
            if (a.cellUtf8(row, c) != b.cellUtf8(row, c))
                std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    std::optional<HtmlStatement> inPlace = ReadHtmlStatementIfUtf8(bytes);
    if (inPlace)
        compareWithPieces(bytes, *inPlace);
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
