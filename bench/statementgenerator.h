// Writes realistic statements for the benchmarks and the bundled sample.
#pragma once

#include <QString>

#include <cstdint>

/// Writes a statement of `trades` orders to `path` (header line first). Deterministic for a
/// seed: several symbols with 2, 3 and 5 price decimals, every session and weekday, wins,
/// losses and zero results, stops and targets hit, manual closes, trailing stops and deleted
/// pending orders ("BUYSTOP " with its trailing blank, "SELLSTOP"). False when it can't write.
bool WriteStatement(const QString &path, long long trades, std::uint64_t seed = 20261209);

/// Writes the same orders as WriteStatement as the terminal's HTML account statement: a deposit
/// of 100 000.00, each order as the terminal lists it (lower-case type and symbol, pending
/// orders "cancelled", money with thousands blanks, commission, taxes and swap apart from the
/// profit) and a comment row after every third one, then the closing balance. Imported, it gives
/// the same table rows as the semicolon file.
bool WriteHtmlStatement(const QString &path, long long trades, std::uint64_t seed = 20261209);
