// Hiding parts of the table from view: a block of species rows and relevé columns, the
// site rows, and the key row and column shown for checking the data. Only row heights and
// column widths change; no content moves.
#pragma once

#include "core/table.h"

namespace tavik {

// A block of the table in positions: relevé columns q1..q2, species rows p1..p2.
struct TableRange {
    int q1 = 0, q2 = 0, p1 = 0, p2 = 0;
    friend bool operator==(const TableRange&, const TableRange&) = default;
};

// The block that a selection of grid cells (left..right, top..bottom) stands for, bounded
// to the used relevé columns and species rows (a selection reaching into the fixed part
// starts at position 1).
TableRange RangeOfSelection(const Table& t, int left, int top, int right, int bottom);

// Hides a block. Rows only when it spans more than two (p2 - p1 > 1): the first keeps a
// 1-pixel strip, the middle ones vanish with their lines, the last keeps only its line.
// Columns likewise (q2 - q1 > 1): the first keeps a 1-pixel strip, the others vanish.
// Positions outside the used rows and columns are bounded to them first.
void HideRange(Table& t, int q1, int q2, int p1, int p2);
inline void HideRange(Table& t, const TableRange& r) { HideRange(t, r.q1, r.q2, r.p1, r.p2); }

// Every used species row and relevé column back to its default size, whatever was hidden.
void ShowHiddenRanges(Table& t);
// Whether some used species row or relevé column is narrower than its default size (a
// hidden block); the site rows and the key row and column do not count.
bool AnyRangeHidden(const Table& t);

// Collapses the header rows 3..FNRow-1 (the first to its line, the others entirely); rows
// 1, 2 and the F＼N row stay. Nothing happens with FNRow <= 3.
void HideSiteRows(Table& t);
void ShowSiteRows(Table& t);

// Shows (16 pixels high, 28 wide) or hides (1 pixel) the key row 0 and key column 0.
void ShowKeys(Table& t, bool visible);

}  // namespace tavik
