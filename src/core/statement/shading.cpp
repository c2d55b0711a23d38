// Shading intensities and the order list's profit colours.
#include "statement/shading.h"

#include "statement/parsenumber.h"

#include <cmath>

int ShadeIntensity(double value, double scale, int factor)
{
    if (!(scale > 0))
        return 0;
    const double k = std::trunc(std::fabs(value) / scale * factor);
    if (!(k > 0))
        return 0;
    return k > factor ? factor : int(k);
}

std::optional<Shade> ProfitCellShade(std::string_view utf8, QChar decimalSeparator)
{
    if (utf8.empty())
        return std::nullopt;
    const auto value = ParseNumber(utf8, decimalSeparator);
    if (!value || *value == 0)
        return std::nullopt;
    return *value > 0 ? GreenShade(230) : RedShade(200);
}
