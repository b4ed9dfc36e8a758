#include "core/hiding.h"

#include <gtest/gtest.h>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::MakeTable;

Table SixBySix() {
    std::vector<std::vector<std::string>> rel;
    for (int q = 0; q < 6; ++q) rel.push_back({"a", "b", "c", "d", "e", "f"});
    return MakeTable(rel);
}

TEST(HideRange, ThreeRowsStripHiddenLine) {
    Table t = SixBySix();
    const int fn = t.FNRow(), h = t.DefaultRowHeight();
    HideRange(t, 2, 2, 2, 4);
    EXPECT_EQ(t.RowHeight(fn + 1), h);
    EXPECT_EQ(t.RowHeight(fn + 2), 1);
    EXPECT_EQ(t.RowHeight(fn + 3), -1);
    EXPECT_EQ(t.RowHeight(fn + 4), 0);
    EXPECT_EQ(t.RowHeight(fn + 5), h);
    // One column: no column hidden.
    for (int c = 4; c <= 9; ++c) EXPECT_EQ(t.ColWidth(c), t.DefaultColWidth());
}

TEST(HideRange, TwoRowsOrColumnsHideNothing) {
    Table t = SixBySix();
    HideRange(t, 1, 2, 3, 4);
    for (int p = 1; p <= 6; ++p) EXPECT_EQ(t.RowHeight(t.FNRow() + p), t.DefaultRowHeight());
    for (int c = 4; c <= 9; ++c) EXPECT_EQ(t.ColWidth(c), t.DefaultColWidth());
}

TEST(HideRange, ColumnsFirstStripRestHidden) {
    Table t = SixBySix();
    HideRange(t, 2, 5, 1, 1);
    EXPECT_EQ(t.ColWidth(4), t.DefaultColWidth());
    EXPECT_EQ(t.ColWidth(5), 1);
    EXPECT_EQ(t.ColWidth(6), -1);
    EXPECT_EQ(t.ColWidth(8), -1);
    EXPECT_EQ(t.ColWidth(9), t.DefaultColWidth());
}

TEST(HideRange, SelectionIntoFixedPartIsBounded) {
    Table t = SixBySix();
    const int fn = t.FNRow();
    // A drag from the header rows of column 1 down to species 3 of column 30 (spare).
    const TableRange r = RangeOfSelection(t, 1, 2, 33, fn + 3);
    EXPECT_EQ(r, (TableRange{1, 6, 1, 3}));
    HideRange(t, -5, 40, -3, 3);
    // The F＼N row and the header rows keep their size; spare rows are untouched.
    EXPECT_EQ(t.RowHeight(fn), t.DefaultRowHeight());
    EXPECT_EQ(t.RowHeight(fn + 1), 1);
    EXPECT_EQ(t.RowHeight(fn + 3), 0);
    EXPECT_EQ(t.ColWidth(3), t.DefaultColWidth());
    EXPECT_EQ(t.ColWidth(4), 1);
    EXPECT_EQ(t.ColWidth(9), -1);
    EXPECT_EQ(t.ColWidth(10), t.DefaultColWidth());
    // Within one column both ends are equal.
    const TableRange one = RangeOfSelection(t, 5, fn + 1, 5, fn + 6);
    EXPECT_EQ(one.q1, one.q2);
}

TEST(HideRange, ShowAgainRestoresEveryUsedRowAndColumn) {
    Table t = SixBySix();
    HideRange(t, 1, 4, 1, 5);
    HideRange(t, 4, 6, 4, 6);
    EXPECT_TRUE(AnyRangeHidden(t));
    ShowHiddenRanges(t);
    EXPECT_FALSE(AnyRangeHidden(t));
    for (int p = 1; p <= 6; ++p) EXPECT_EQ(t.RowHeight(t.FNRow() + p), t.DefaultRowHeight());
    for (int c = 4; c <= 9; ++c) EXPECT_EQ(t.ColWidth(c), t.DefaultColWidth());
    // Follows the font: default sizes, not frozen numbers.
    t.FontSize = 12;
    EXPECT_EQ(t.RowHeight(t.FNRow() + 2), t.DefaultRowHeight());
}

TEST(SiteRows, CollapseKeepsSerialFirstItemAndCounts) {
    Table t = SixBySix();
    const int fn = t.FNRow();
    ASSERT_EQ(fn, 19);
    HideSiteRows(t);
    EXPECT_EQ(t.RowHeight(1), t.DefaultRowHeight());
    EXPECT_EQ(t.RowHeight(2), t.DefaultRowHeight());
    EXPECT_EQ(t.RowHeight(3), 0);
    for (int r = 4; r < fn; ++r) EXPECT_EQ(t.RowHeight(r), -1);
    EXPECT_EQ(t.RowHeight(fn), t.DefaultRowHeight());
    // Collapsed site rows, shown keys and a block too small to hide are no hidden block.
    ShowKeys(t, true);
    HideRange(t, 2, 3, 2, 3);
    EXPECT_FALSE(AnyRangeHidden(t));
    HideRange(t, 2, 4, 1, 1);
    EXPECT_TRUE(AnyRangeHidden(t));
    ShowSiteRows(t);
    for (int r = 1; r <= fn; ++r) EXPECT_EQ(t.RowHeight(r), t.DefaultRowHeight());
}

TEST(SiteRows, FewHeaderRowsNothingToHide) {
    Table t;
    t.ItemBoxes[1].enabled = t.ItemBoxes[2].enabled = true;
    t.ClearTable();
    ASSERT_EQ(t.FNRow(), 3);
    HideSiteRows(t);
    for (int r = 0; r <= 5; ++r) EXPECT_EQ(t.RowHeight(r), r == 0 ? 1 : t.DefaultRowHeight());
}

TEST(DataCheck, KeysShownAndHidden) {
    Table t = SixBySix();
    ShowKeys(t, true);
    EXPECT_EQ(t.RowHeight(0), 16);
    EXPECT_EQ(t.ColWidth(0), 28);
    ShowKeys(t, false);
    EXPECT_EQ(t.RowHeight(0), 1);
    EXPECT_EQ(t.ColWidth(0), 1);
}

}  // namespace
}  // namespace tavik
