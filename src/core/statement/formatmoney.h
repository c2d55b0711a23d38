// The one formatter for the 2-decimal number texts every tab and the report show.
#pragma once

#include <QChar>
#include <QString>

#include <cstddef>

/// Fixed notation with 2 decimals and `decimalSeparator`, no thousands separator; scientific
/// (10 significant digits) past 10 integer digits. An exact binary tie rounds away from zero
/// (0.125 -> 0.13); a value that rounds to zero is "0.00", never "-0.00".
QString FormatMoney(double value, QChar decimalSeparator);

/// Room FormatMoneyText needs.
constexpr size_t kMoneyTextSize = 32;

/// FormatMoney's text with '.' as the separator, as ASCII bytes written to `out` (room for
/// kMoneyTextSize); returns their count. For code that builds byte texts by the hundred thousand.
size_t FormatMoneyText(double value, char *out);
