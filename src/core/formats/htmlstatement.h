// The trading terminal's HTML account statement ("Detailed Statement") read into a table.
#pragma once

#include "statement/accountoperations.h"
#include "statement/statementtable.h"

#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

/// A statement read from the terminal's HTML export.
struct HtmlStatement {
    /// The closed orders as table rows, header row first; nothing when the text has no
    /// closed-transactions table.
    std::optional<StatementTable> table;
    AccountOperations account;
    /// Rows of the closed-transactions table that could not be taken, one line each.
    QStringList notes;
};

/// Reads the closed-transactions table of an HTML statement (UTF-8 text from byte `offset`).
/// The sections are found by their title rows, in English or in a broker's Japanese template,
/// and else by the shape of the table that follows. Each closed buy or sell becomes one row:
/// open and close time split into date and time, type BUY or SELL, the symbol upper-cased,
/// numbers without their thousands blanks, Swap as listed and Profit = commission + taxes +
/// swap + profit with 2 decimals. A pending order closed without filling becomes a row of type
/// "BUYSTOP " (buy stop, buy limit) or "SELLSTOP" (sell stop, sell limit) with Swap and Profit
/// "0.00". Balance and credit rows go to `account`; open trades, working orders and the summary
/// blocks are not taken, except the closing balance that gives the balance brought forward.
HtmlStatement ReadHtmlStatement(std::string_view utf8, size_t offset = 0);

/// ReadHtmlStatement for bytes not yet known to be UTF-8 (a file read in place): nothing when a
/// cell's text holds bytes outside ASCII and the bytes are not valid UTF-8. (Cells of ASCII
/// only read the same in every charset the import knows.)
std::optional<HtmlStatement> ReadHtmlStatementIfUtf8(std::string_view bytes);

/// Where ReadHtmlStatementInPieces takes its bytes from: reads up to `size` bytes at position
/// `at` into `into`; the count read, 0 past the end, or -1 on an error. Called from two threads
/// at once for a long text.
using ByteSource = std::function<int64_t(uint64_t at, char *into, size_t size)>;

/// A ByteSource over bytes in memory, which must outlive it.
ByteSource MemoryByteSource(std::string_view bytes);

/// How ReadHtmlStatementInPieces reads.
struct PieceReading {
    /// Bytes read at a time: a piece small enough to stay in the processor's cache while it is
    /// read is read fastest.
    size_t pieceBytes = size_t(256) << 10;
    /// A text of twice this or more is cut into stretches of about this size (at row starts,
    /// 64 at most), which two threads take from either end.
    size_t stretchBytes = size_t(2) << 20;
    /// Called on the calling thread as the reading goes on, with how many of the bytes are
    /// read so far; false stops it. May be empty.
    std::function<bool(uint64_t done)> progress;
};

/// ReadHtmlStatementIfUtf8 for the `size` bytes of `source`, read a piece at a time instead of
/// all at once, so the text is never held whole, and in stretches on two threads when it is
/// long. Gives up (nothing returned) on anything a piece can't settle alone: a cell's text with
/// bytes outside ASCII, a row that needs a note, a cut inside markup, a failed or short read;
/// the caller then reads the text whole, which gives the same table (or the note, or the
/// error). `cancelled` tells that `progress` stopped it.
std::optional<HtmlStatement> ReadHtmlStatementInPieces(const ByteSource &source, uint64_t size,
                                                       const PieceReading &how, bool *cancelled);
