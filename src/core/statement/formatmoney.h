// The one formatter for the 2-decimal number texts every tab and the report show.
#pragma once

#include <QChar>
#include <QString>

/// Fixed notation with 2 decimals and `decimalSeparator`, no thousands separator; scientific
/// (10 significant digits) past 10 integer digits. An exact binary tie rounds away from zero
/// (0.125 -> 0.13); a value that rounds to zero is "0.00", never "-0.00".
QString FormatMoney(double value, QChar decimalSeparator);
