// Column shading of the result grids.
#include "analysis/gridshading.h"

#include "statement/parsenumber.h"
#include "statement/valuerules.h"

ShadeGrid EmptyShadeGrid(const std::vector<QStringList> &grid)
{
    ShadeGrid shades(grid.size());
    for (size_t r = 0; r < grid.size(); ++r)
        shades[r].resize(size_t(grid[r].size()));
    return shades;
}

void ShadeGridColumn(const std::vector<QStringList> &grid, int column, int factor, ShadeStyle style,
                     QChar decimalSeparator, ShadeGrid &shades)
{
    QStringList cells;
    for (size_t r = 1; r < grid.size(); ++r)
        if (!grid[r].value(column).isEmpty())
            cells.append(grid[r].value(column));
    const auto scale = ColumnScale(cells, decimalSeparator);
    if (!scale)
        return;
    for (size_t r = 1; r < grid.size(); ++r) {
        const auto value = ParseNumber(grid[r].value(column), decimalSeparator);
        if (!value || size_t(column) >= shades[r].size())
            continue;
        const int k = ShadeIntensity(*value, *scale, factor);
        switch (style) {
        case ShadeStyle::ProfitLoss:
            if (*value > 0)
                shades[r][size_t(column)] = GreenShade(k);
            else if (*value < 0)
                shades[r][size_t(column)] = RedShade(k);
            break;
        case ShadeStyle::Green:
            shades[r][size_t(column)] = GreenShade(k);
            break;
        case ShadeStyle::Red:
            shades[r][size_t(column)] = RedShade(k);
            break;
        case ShadeStyle::Blue:
            shades[r][size_t(column)] = BlueShade(k);
            break;
        }
    }
}
