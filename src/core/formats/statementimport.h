// Reading a statement file into a StatementTable: decoding and line splitting.
#pragma once

#include "statement/statementtable.h"

#include <QString>

#include <optional>

/// The encoding a statement file was read in.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1251 };

/// Decodes statement bytes to UTF-8: a byte-order mark selects UTF-16LE, UTF-16BE or UTF-8;
/// without one, valid UTF-8 stays as it is and anything else is read as Windows-1251. The text
/// starts at `*offset` of the result (past a UTF-8 byte-order mark, which is not copied away).
LargeArray<char> DecodeStatementText(LargeArray<char> bytes, size_t *offset, TextEncoding *detected = nullptr);

/// Maps one Windows-1251 byte to its Unicode code point.
char32_t Windows1251ToUnicode(unsigned char byte);

struct ImportResult {
    std::optional<StatementTable> table; ///< set on success
    QString error;                       ///< why the file could not be read, otherwise empty
    TextEncoding encoding = TextEncoding::Utf8;
};

/// Reads the whole file at `path`. On failure `table` is empty and `error` names the reason.
ImportResult ImportStatement(const QString &path);
