// Reading a statement file into a StatementTable: decoding and line splitting.
#pragma once

#include "statement/accountoperations.h"
#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <string_view>

/// The encoding a statement file was read in. Shift_JIS, GBK and any other declared charset
/// only come from HTML statements.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1251, ShiftJis, Gbk, Declared };

/// The kind of file a statement was read from, told by its content.
enum class StatementFormat { Semicolon, Html };

/// Decodes statement bytes to UTF-8: a byte-order mark selects UTF-16LE, UTF-16BE or UTF-8;
/// without one, valid UTF-8 stays as it is and anything else is read as Windows-1251. The text
/// starts at `*offset` of the result (past a UTF-8 byte-order mark, which is not copied away).
LargeArray<char> DecodeStatementText(LargeArray<char> bytes, size_t *offset,
                                     TextEncoding *detected = nullptr);

/// True when `bytes` are valid UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

/// Maps one Windows-1251 byte to its Unicode code point.
char32_t Windows1251ToUnicode(unsigned char byte);

struct ImportResult {
    std::optional<StatementTable> table; ///< set on success
    QString error;                       ///< why the file could not be read, otherwise empty
    TextEncoding encoding = TextEncoding::Utf8;
    QString declaredCharset; ///< the charset an HTML file names in its <meta> tag, if any
    StatementFormat format = StatementFormat::Semicolon;
    /// Balance and credit rows and the starting balance of a statement that lists them (HTML).
    std::optional<AccountOperations> account;
    QStringList notes;      ///< rows the import left out, one line each
    bool cancelled = false; ///< the progress callback asked to stop; `error` says so
};

/// What an import is told besides the file.
struct ImportOptions {
    /// Called while the file is read (8 MiB at a time; an HTML statement read piece by piece,
    /// after each piece) and between the stages after it, with the work done and the whole
    /// work: `total` counts the file's bytes twice, once for reading them and once for building
    /// the table. Returning false abandons the import: no table, `cancelled` set. May be empty.
    std::function<bool(qint64 done, qint64 total)> progress;
    /// Bytes of memory the import may count on; negative asks the system (AvailableMemory()).
    qint64 availableMemory = -1;
};

/// Bytes of memory the system can still give this process without swapping: MemAvailable of
/// /proc/meminfo on Linux, the free physical pages elsewhere when the system tells them; nothing
/// when it can't be found out (no check is made then).
std::optional<qint64> AvailableMemory();

/// Why a file of `fileSize` bytes is too large to import with `availableBytes` of memory, or an
/// empty text when it fits. The raw bytes, the decoded text (up to twice the bytes for
/// Windows-1251) and the table's index are held at once, so a file needs three times its size.
QString CheckImportMemory(qint64 fileSize, qint64 availableBytes);

/// Why decoded semicolon text (UTF-8) is not a statement, or an empty text when it may be one.
/// Only the head is looked at — the first 10 lines that are not blank, at most the first 64 KiB:
/// it must hold at least one ";" and no NUL character. A text with nothing or only blank lines
/// (spaces, tabs, line breaks) is refused too. A NUL further on stays in its cell.
QString CheckSemicolonHead(std::string_view utf8);

/// Reads the whole file at `path`, choosing the format by content: a file that begins like an
/// HTML document is read as the terminal's HTML statement (its charset from a byte-order mark,
/// else its <meta> tag, else UTF-8 when valid, Shift_JIS when its labels are the Japanese
/// template's, else Windows-1251); any other as semicolon text (CheckSemicolonHead must accept
/// it). Only a regular file is opened (a directory, pipe or device is refused before, so the
/// import never waits for a writer), and only when CheckImportMemory accepts its size. On
/// failure `table` is empty and `error` names the reason (also for HTML without a
/// closed-transactions table).
ImportResult ImportStatement(const QString &path, const ImportOptions &options = {});

/// The same for a file's bytes already in memory (the format, charset and table as above; the
/// memory is not checked, the progress only between the stages).
ImportResult ImportStatementBytes(LargeArray<char> bytes, const ImportOptions &options = {});
