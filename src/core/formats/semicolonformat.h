// The semicolon statement format: one order per line, every field ended by ";".
#pragma once

#include "formats/statementimport.h"
#include "statement/statementtable.h"

#include <QString>
#include <QStringList>

#include <string_view>

/// Builds a table from UTF-8 text (from byte `offset` on) with lines ended by CR, LF or CRLF.
/// A final line break adds no row; at least one (empty) row is kept. Fields end at ";", the
/// text after the last ";" of a line is dropped, fields past the 14th are not kept. The table
/// keeps `text` as its buffer, so no cell is copied.
StatementTable ReadSemicolonText(LargeArray<char> text, size_t offset = 0);
StatementTable ReadSemicolonText(std::string_view utf8);

/// The header line of a semicolon statement as the 14 cells of row 0 ("Ticket", "Open Date",
/// ..., "Profit"); other formats give their tables the same header.
QStringList StatementHeaderCells();

/// Writes `table` to `path` in the semicolon format — the header row first, every cell followed
/// by ";", lines ended by CRLF — so that importing the file gives the same cells. `encoding` is
/// the one the statement was read in; Windows-1251 falls back to UTF-8 with a byte-order mark when
/// a cell holds a character that code page lacks. A cell holding ";" or a line break can't be
/// written: nothing is written then. Returns an empty text on success, else why it failed.
QString WriteSemicolonFile(const StatementTable &table, const QString &path, TextEncoding encoding);
