// Item roles shared by the models and the shading delegate.
#pragma once

#include <Qt>

/// A QColor to fill the cell with (text then drawn in black); no value means the default look.
constexpr int ShadeRole = Qt::UserRole + 1;
