// Writes history files in the terminal's format: the sample's H1 history and long M1 series.
#pragma once

#include <QString>

#include <cstdint>

/// For every symbol of the statement at `statementPath`, writes `SYMBOL60.hst` (version 401, H1)
/// into `folder`: a random walk pinned so that its candles pass through each trade's open price
/// at its open time and its close price at its close time (the times read as UTC), and the candle
/// after each of those moments reaches the price too (where the chart puts a mark that falls
/// inside a bar). From three days before the first trade to three days after the last.
/// Deterministic. False, with `error` set, when the statement can't be read or a file written.
bool WriteSampleHistory(const QString &statementPath, const QString &folder, QString *error);

/// Writes `path` as a version-401 M1 history of `bars` bars from `firstTime` (seconds since 1970,
/// UTC), Saturdays and Sundays left out, as the terminal keeps them. Deterministic for a seed.
bool WriteMinuteHistory(const QString &path, std::int64_t firstTime, std::int64_t bars,
                        std::uint64_t seed = 1);
