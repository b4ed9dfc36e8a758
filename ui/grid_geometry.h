// Where the rows and columns of the grid lie. One axis (the columns, or the rows) lays its
// entries end to end, each taking its size plus one pixel of grid line; sizes follow the
// table's convention (positive = pixels, 0 = only the grid line, -1 = hidden with its line,
// taking no room). The first `fixed` entries do not scroll; the others are shifted by the
// scroll value. Plain arithmetic, no widget: the grid asks it where things are.
#pragma once

#include <vector>

namespace tavik::ui {

// An entry as it shows in the viewport: its index, the position of its start and its size
// (0 for an entry that is only its grid line).
struct GridSpan {
    int index;
    int pos;
    int size;
};

class GridAxis {
public:
    // Lays out `count` entries whose sizes `size(i)` gives; `fixed` is clamped to the count.
    template <class Size>
    void layOut(int count, int fixed, Size size) {
        count_ = count < 0 ? 0 : count;
        fixed_ = fixed < 0 ? 0 : (fixed > count_ ? count_ : fixed);
        offsets_.resize(static_cast<std::size_t>(count_) + 1);
        offsets_[0] = 0;
        for (int i = 0; i < count_; ++i) {
            const int s = size(i);
            offsets_[static_cast<std::size_t>(i) + 1] = offsets_[static_cast<std::size_t>(i)] + (s < 0 ? 0 : s + 1);
        }
    }
    // No entries.
    void clear() {
        layOut(0, 0, [](int) { return 0; });
    }

    int count() const { return count_; }
    // The size entry i was laid out with: positive, 0 (only its line) or -1 (hidden).
    int size(int i) const { return offset(i + 1) - offset(i) - 1; }
    int fixed() const { return fixed_; }
    // The start of entry i (0..count) with every entry laid end to end; offset(count) is
    // the whole length.
    int offset(int i) const { return offsets_[static_cast<std::size_t>(i)]; }
    int fixedExtent() const { return offset(fixed_); }
    int total() const { return offset(count_); }

    // The position in the viewport of the start of entry i (0 <= i < count).
    int position(int i, int scroll) const { return i < fixed_ ? offset(i) : offset(i) - scroll; }
    // The entry under a position of the viewport: a fixed one over the fixed part, else a
    // scrolled one; -1 past the last entry and before the first (hidden entries are never
    // found).
    int at(int pos, int scroll) const;
    // The first scrolling entry that shows at least partly; -1 when none does.
    int firstShown(int scroll) const;
    // The scroll value nearest to `scroll` that shows scrolling entry i entirely in a
    // viewport `extent` long (its start wins when it does not fit); `scroll` itself for a
    // fixed entry or one out of range.
    int scrollToShow(int i, int scroll, int extent) const;
    // The entries that show in a viewport `extent` long at `scroll`, hidden ones left out:
    // the fixed ones into `fixed`, the scrolling ones into `scrolling` (both emptied first).
    void shown(int scroll, int extent, std::vector<GridSpan>& fixed, std::vector<GridSpan>& scrolling) const;
    // The largest scroll value for a viewport `extent` long.
    int maxScroll(int extent) const { return total() > extent ? total() - extent : 0; }

private:
    // The index i in [lo, hi) with offset(i) <= a < offset(i + 1), or -1.
    int find(int lo, int hi, int a) const;

    std::vector<int> offsets_ = {0};
    int count_ = 0;
    int fixed_ = 0;
};

struct GridGeometry {
    GridAxis columns;
    GridAxis rows;
};

}  // namespace tavik::ui
