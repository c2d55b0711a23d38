// Date and price rules shared by the analyses: weekday, price digits, point size, shading scale.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>
#include <string_view>

/// Weekday of a YYYY.MM.DD text, 1 = Sunday ... 7 = Saturday. Separators are not examined;
/// nothing for a text whose fields are not numbers or form no real date.
std::optional<int> WeekdayOfDate(std::string_view utf8);
std::optional<int> WeekdayOfDate(const QString &text);

/// "BUYSTOP " (with its trailing blank) or "SELLSTOP": a deleted pending order, not a trade.
inline bool PendingRow(std::string_view type)
{
    return type == "BUYSTOP " || type == "SELLSTOP";
}

/// Characters after the decimal mark of a price text: the first "." counts, else the first ",";
/// 0 when there is neither.
int PriceDigits(std::string_view utf8);
int PriceDigits(const QString &text);

/// 10^digits for the small counts prices have (exact up to 10^22).
double PowerOfTen(int digits);

/// 1 / 10^PriceDigits(text).
double PointSize(std::string_view utf8);

/// The shading scale of a result grid column (its rows 1..): |largest value|, or 1 when the
/// largest value is 0. Nothing when a cell is not a number or the column is empty.
std::optional<double> ColumnScale(const QStringList &cells, QChar decimalSeparator);
