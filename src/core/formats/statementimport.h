// Reading a statement file into a StatementTable: decoding and line splitting.
#pragma once

#include "statement/accountoperations.h"
#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

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
    QStringList notes; ///< rows the import left out, one line each
};

/// Reads the whole file at `path`, choosing the format by content: a file that begins like an
/// HTML document is read as the terminal's HTML statement (its charset from a byte-order mark,
/// else its <meta> tag, else UTF-8 when valid, Shift_JIS when its labels are the Japanese
/// template's, else Windows-1251); any other as semicolon text. On failure `table` is empty and
/// `error` names the reason (also for HTML without a closed-transactions table).
ImportResult ImportStatement(const QString &path);

/// The same for a file's bytes already in memory (the format, charset and table as above).
ImportResult ImportStatementBytes(LargeArray<char> bytes);
