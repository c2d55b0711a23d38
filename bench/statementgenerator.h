// Writes realistic statements for the benchmarks and the bundled sample.
#pragma once

#include <QString>

#include <cstdint>

/// Writes a statement of `trades` orders to `path` (header line first). Deterministic for a
/// seed: several symbols with 2, 3 and 5 price decimals, every session and weekday, wins,
/// losses and zero results, stops and targets hit, manual closes, trailing stops and deleted
/// pending orders ("BUYSTOP " with its trailing blank, "SELLSTOP"). False when it can't write.
bool WriteStatement(const QString &path, long long trades, std::uint64_t seed = 20261209);
