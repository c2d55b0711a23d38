// Cell shading of the order list and the result grids: a colour from a value against a scale.
#pragma once

#include <QChar>

#include <optional>
#include <string_view>

struct Shade {
    int red = 255;
    int green = 255;
    int blue = 255;
    bool operator==(const Shade &o) const
    {
        return red == o.red && green == o.green && blue == o.blue;
    }
};

/// Intensity trunc(|value| / scale * factor), bounded to 0..factor.
int ShadeIntensity(double value, double scale, int factor);

inline Shade GreenShade(int k)
{
    return {255 - k, 255, 255 - k};
}
inline Shade RedShade(int k)
{
    return {255, 255 - k, 255 - k};
}
inline Shade BlueShade(int k)
{
    return {255 - k, 255 - k, 255};
}

/// The order list's Profit cell: green (25, 255, 25) above 0, red (255, 55, 55) below 0,
/// nothing for 0, an empty cell or a text that is not a number.
std::optional<Shade> ProfitCellShade(std::string_view utf8, QChar decimalSeparator);
