// The seven timeframes of the quote chart's box: caption, Latin spelling and bar length.
#pragma once

#include <QString>

#include <optional>
#include <vector>

/// One item of the timeframe box.
struct Timeframe {
    QString caption; ///< the box text: "М1" … "Н4" with a Cyrillic first letter, then "D1"
    QString latin;   ///< the same in Latin letters: "M1" … "H4", "D1"
    int minutes = 0; ///< bar length; also the number in the history file's name
};

/// The items of the box in their order: М1, М5, М15, М30, Н1, Н4, D1.
const std::vector<Timeframe> &Timeframes();

/// Position of "Н1", the item selected when the window opens.
constexpr int kDefaultTimeframe = 4;

/// The position of the item whose caption or Latin spelling equals `text` exactly; nothing for
/// any other text.
std::optional<int> TimeframeIndex(const QString &text);
