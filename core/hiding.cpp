#include "core/hiding.h"

#include <algorithm>
#include <utility>

namespace tavik {

namespace {
// Bounds a position range to 1..count, in order.
void Bound(int& a, int& b, int count) {
    if (a > b) std::swap(a, b);
    a = std::clamp(a, 1, std::max(count, 1));
    b = std::clamp(b, 1, std::max(count, 1));
}
}  // namespace

TableRange RangeOfSelection(const Table& t, int left, int top, int right, int bottom) {
    TableRange r{left - 3, right - 3, top - t.FNRow(), bottom - t.FNRow()};
    Bound(r.q1, r.q2, t.ReleveCount());
    Bound(r.p1, r.p2, t.SpeciesCount());
    return r;
}

void HideRange(Table& t, int q1, int q2, int p1, int p2) {
    const int fn = t.FNRow();
    if (t.SpeciesCount() > 0) {
        Bound(p1, p2, t.SpeciesCount());
        if (p2 - p1 > 1) {
            t.SetRowHeight(fn + p1, 1);
            for (int p = p1 + 1; p <= p2 - 1; ++p) t.SetRowHeight(fn + p, -1);
            t.SetRowHeight(fn + p2, 0);
        }
    }
    if (t.ReleveCount() > 0) {
        Bound(q1, q2, t.ReleveCount());
        if (q2 - q1 > 1) {
            t.SetColWidth(q1 + 3, 1);
            for (int q = q1 + 1; q <= q2; ++q) t.SetColWidth(Table::ReleveColumn(q), -1);
        }
    }
}

void ShowHiddenRanges(Table& t) {
    const int fn = t.FNRow();
    for (int p = 1; p <= t.SpeciesCount(); ++p) t.SetRowHeight(fn + p, kDefaultSize);
    for (int q = 1; q <= t.ReleveCount(); ++q) t.SetColWidth(Table::ReleveColumn(q), kDefaultSize);
}

bool AnyRangeHidden(const Table& t) {
    const int fn = t.FNRow();
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.RowHeight(fn + p) < t.DefaultRowHeight()) return true;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        if (t.ColWidth(Table::ReleveColumn(q)) < t.DefaultColWidth()) return true;
    return false;
}

void HideSiteRows(Table& t) {
    for (int row = 3; row <= t.FNRow() - 1; ++row) t.SetRowHeight(row, row == 3 ? 0 : -1);
}

void ShowSiteRows(Table& t) {
    for (int row = 3; row <= t.FNRow() - 1; ++row) t.SetRowHeight(row, kDefaultSize);
}

void ShowKeys(Table& t, bool visible) {
    t.SetRowHeight(0, visible ? 16 : 1);
    t.SetColWidth(0, visible ? 28 : 1);
}

}  // namespace tavik
