// The designed sizes of the pages of the two page controls at the window's default size; the
// anchored layouts of the pages hand out the room beyond them.
#pragma once

#include <QSize>

/// A page of PageControl1 (944 × 601 with its tabs).
inline constexpr QSize kPageSize{940, 581};
/// A page of PageControl2 (938 × 574 with its tabs), inside "Ордера".
inline constexpr QSize kInnerPageSize{934, 554};
