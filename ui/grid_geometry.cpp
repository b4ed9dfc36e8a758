#include "ui/grid_geometry.h"

#include <algorithm>

namespace tavik::ui {

int GridAxis::find(int lo, int hi, int a) const {
    if (lo >= hi || a < offset(lo) || a >= offset(hi)) return -1;
    const auto first = offsets_.begin() + lo, last = offsets_.begin() + hi + 1;
    // The last start at or before a: entries without extent share their start with the
    // next one and are passed over.
    return static_cast<int>(std::upper_bound(first, last, a) - offsets_.begin()) - 1;
}

int GridAxis::at(int pos, int scroll) const {
    if (pos < 0) return -1;
    if (pos < fixedExtent()) return find(0, fixed_, pos);
    return find(fixed_, count_, pos + scroll);
}

int GridAxis::firstShown(int scroll) const { return find(fixed_, count_, fixedExtent() + scroll); }

void GridAxis::shown(int scroll, int extent, std::vector<GridSpan>& fixed, std::vector<GridSpan>& scrolling) const {
    fixed.clear();
    scrolling.clear();
    auto add = [this](std::vector<GridSpan>& to, int i, int pos) {
        const int ext = offset(i + 1) - offset(i);
        if (ext > 0) to.push_back({i, pos, ext - 1});
    };
    for (int i = 0; i < fixed_ && offset(i) < extent; ++i) add(fixed, i, offset(i));
    const int first = firstShown(scroll);
    if (first < 0) return;
    for (int i = first; i < count_; ++i) {
        const int pos = offset(i) - scroll;
        if (pos >= extent) break;
        add(scrolling, i, pos);
    }
}

int GridAxis::scrollToShow(int i, int scroll, int extent) const {
    if (i < fixed_ || i >= count_) return scroll;
    const int start = offset(i), end = offset(i + 1);
    if (end - scroll > extent) scroll = end - extent;
    if (start - scroll < fixedExtent()) scroll = start - fixedExtent();
    return scroll;
}

}  // namespace tavik::ui
