// Date and price rules read by character position, as the statement texts are laid out.
#include "statement/valuerules.h"

#include "statement/parsenumber.h"

#include <QDate>

#include <cmath>

std::optional<int> WeekdayOfDate(std::string_view s)
{
    if (s.size() < 10)
        return std::nullopt;
    const auto year = ParseInteger(s.substr(0, 4));
    const auto month = ParseInteger(s.substr(5, 2));
    const auto day = ParseInteger(s.substr(8, 2));
    if (!year || !month || !day)
        return std::nullopt;
    const QDate date{int(*year), int(*month), int(*day)};
    if (!date.isValid() || *year < 1)
        return std::nullopt;
    return date.dayOfWeek() % 7 + 1;
}

std::optional<int> WeekdayOfDate(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return WeekdayOfDate(std::string_view(utf8.constData(), size_t(utf8.size())));
}

int PriceDigits(std::string_view s)
{
    size_t mark = s.find('.');
    if (mark == std::string_view::npos)
        mark = s.find(',');
    if (mark == std::string_view::npos)
        return 0;
    // Count characters, not bytes, after the mark.
    int count = 0;
    for (size_t i = mark + 1; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            ++count;
    return count;
}

int PriceDigits(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    return PriceDigits(std::string_view(utf8.constData(), size_t(utf8.size())));
}

double PowerOfTen(int digits)
{
    return digits >= 0 && digits <= 22 ? detail::kExactPowersOfTen[digits] : std::pow(10.0, digits);
}

double PointSize(std::string_view utf8)
{
    return 1.0 / PowerOfTen(PriceDigits(utf8));
}

std::optional<double> ColumnScale(const QStringList &cells, QChar decimalSeparator)
{
    if (cells.isEmpty())
        return std::nullopt;
    std::optional<double> largest;
    for (const QString &cell : cells) {
        const auto value = ParseNumber(cell, decimalSeparator);
        if (!value)
            return std::nullopt;
        if (!largest || *value > *largest)
            largest = *value;
    }
    return *largest == 0 ? 1.0 : std::fabs(*largest);
}
