// Choosing the header items of the table: which items get a header row.
#pragma once

#include <array>

#include "core/table.h"

namespace tavik {

// The configuration's "設定する": every item that is ticked gets a header row, every other
// one loses it, and the table is cleared and laid out anew in item order. Item 1 (the
// serial number) always keeps its row: the layout puts it in row 1.
void ApplyItemSelection(Table& t, const std::array<bool, kItemCount + 1>& ticked);

}  // namespace tavik
