// The one way a text becomes a number: FixDecimal, ParseNumber and the whole-number reader.
#pragma once

#include <QChar>
#include <QString>

#include <optional>
#include <string_view>

/// Replaces the first "." of `text` by `decimalSeparator`; later dots stay.
QString FixDecimal(const QString &text, QChar decimalSeparator);

/// Reads a number text: optional blanks, optional sign, digits with at most one decimal mark,
/// optional exponent, optional blanks. The first "." counts as the decimal mark (FixDecimal);
/// otherwise the mark must be `decimalSeparator`. Returns nothing for any other text.
std::optional<double> ParseNumber(std::string_view utf8, QChar decimalSeparator);
std::optional<double> ParseNumber(const QString &text, QChar decimalSeparator);

/// Reads a whole number (optional blanks and sign, digits only), as StrToInt does.
std::optional<long long> ParseInteger(std::string_view utf8);
std::optional<long long> ParseInteger(const QString &text);

/// The decimal separator of the system locale (the desktop program's setting).
QChar SystemDecimalSeparator();
