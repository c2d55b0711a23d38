// Shading of result grid columns from their texts, as the tabs paint them.
#pragma once

#include "statement/shading.h"

#include <QChar>
#include <QStringList>

#include <optional>
#include <vector>

/// One optional colour per cell, same shape as the grid (row 0 is the header).
using ShadeGrid = std::vector<std::vector<std::optional<Shade>>>;

enum class ShadeStyle {
    ProfitLoss, ///< green above 0, red below 0, default look at 0
    Green,      ///< always filled, green by size
    Red,        ///< always filled, red by size
    Blue,       ///< always filled, blue by size
};

/// Shades `column` of `grid` (rows 1..) against its ColumnScale with intensity `factor`.
/// Cells that are empty or not numbers keep the default look.
void ShadeGridColumn(const std::vector<QStringList> &grid, int column, int factor, ShadeStyle style,
                     QChar decimalSeparator, ShadeGrid &shades);

/// An empty ShadeGrid shaped like `grid`.
ShadeGrid EmptyShadeGrid(const std::vector<QStringList> &grid);
