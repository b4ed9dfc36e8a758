#include "core/item_selection.h"

namespace tavik {

void ApplyItemSelection(Table& t, const std::array<bool, kItemCount + 1>& ticked) {
    for (int n = 1; n <= kItemCount; ++n) {
        ItemBox& box = t.ItemBoxes[static_cast<std::size_t>(n)];
        box.enabled = n == 1 || ticked[static_cast<std::size_t>(n)];
        box.checked = box.enabled;
    }
    t.ClearTable();
}

}  // namespace tavik
