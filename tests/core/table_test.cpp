#include "core/table.h"

#include <gtest/gtest.h>

#include "core/sorting.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::Covers;
using testing::EnableDefaultItems;
using testing::MakeTable;

// Every position carries a distinct key and the inverse maps agree.
void ExpectKeysArePermutation(const Table& t) {
    std::vector<int> seen(static_cast<std::size_t>(t.MaxSpecies()) + 1, 0);
    for (int p = 1; p <= t.MaxSpecies(); ++p) {
        const int k = t.SpeciesKeyAt(p);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, t.MaxSpecies());
        EXPECT_EQ(seen[k]++, 0);
        EXPECT_EQ(t.SpeciesPosOf(k), p);
    }
    std::vector<int> rseen(static_cast<std::size_t>(t.MaxReleve()) + 1, 0);
    EXPECT_EQ(t.ReleveKeyAt(0), 0);
    for (int q = 1; q <= t.MaxReleve(); ++q) {
        const int k = t.ReleveKeyAt(q);
        ASSERT_GE(k, 1);
        EXPECT_EQ(rseen[k]++, 0);
        EXPECT_EQ(t.RelevePosOf(k), q);
    }
}

TEST(TableLayout, ClearedTableWithDefaultItems) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    EXPECT_EQ(t.MaxSpecies(), 127);
    EXPECT_EQ(t.MaxReleve(), 23);
    EXPECT_EQ(t.FNRow(), 19);
    EXPECT_EQ(t.ColCount(), 27);
    EXPECT_EQ(t.RowCount(), 159);
    EXPECT_EQ(t.FixedRows(), 20);
    EXPECT_EQ(t.FixedCols(), 4);
    // Hidden key row and column, item numbers and names, the F＼N row.
    EXPECT_EQ(t.Text(3, 0), "0");
    EXPECT_EQ(t.Text(4, 0), "1");
    EXPECT_EQ(t.Text(26, 0), "23");
    EXPECT_EQ(t.Text(0, 1), "1");
    EXPECT_EQ(t.Text(2, 1), "表の通し番号");
    EXPECT_EQ(t.Text(0, 4), "8");
    EXPECT_EQ(t.Text(0, 18), "30");
    EXPECT_EQ(t.Text(3, 19), "F＼N");
    EXPECT_EQ(t.Text(2, 19), "（現実の種数）");
    EXPECT_EQ(t.Text(3, 1), "");
    EXPECT_EQ(t.Text(4, 1), "   1");
    EXPECT_EQ(t.Text(26, 1), "  23");
    EXPECT_EQ(t.Text(0, 20), "1");
    EXPECT_EQ(t.Text(1, 20), "   1");
    EXPECT_EQ(t.Text(0, 146), "127");
    EXPECT_EQ(t.Text(0, 147), "");  // spare rows past the capacity have no key
    // Sizes from a 9-point font.
    EXPECT_EQ(t.DefaultColWidth(), 28);
    EXPECT_EQ(t.DefaultRowHeight(), 14);
    EXPECT_EQ(t.ColWidth(0), 1);
    EXPECT_EQ(t.RowHeight(0), 1);
    EXPECT_EQ(t.ColWidth(2), 196);
    EXPECT_EQ(t.ColWidth(5), 28);
    ExpectKeysArePermutation(t);
}

TEST(TableLayout, AllItemsGiveFNRow31AndNoneGiveTwoWithItemOne) {
    Table t;
    for (int n = 1; n <= 30; ++n) t.ItemBoxes[n].enabled = true;
    t.ClearTable();
    EXPECT_EQ(t.FNRow(), 31);
    EXPECT_EQ(t.RowCount(), 159);
    for (int n = 2; n <= 30; ++n) t.ItemBoxes[n].enabled = false;
    t.ClearTable();
    EXPECT_EQ(t.FNRow(), 2);
}

TEST(TableLayout, RenewingATableWithRelevesKeepsHeaderRowsAndFollowsThem) {
    Table t = MakeTable({{"a"}});
    for (int n = 1; n <= 30; ++n) t.ItemBoxes[n].enabled = (n == 1 || n == 7);
    t.ItemBoxes[8].caption = "標高";
    t.LayOutHeaderRows();
    EXPECT_EQ(t.FNRow(), 19);
    EXPECT_EQ(t.Text(2, 4), "標高");
    EXPECT_TRUE(t.ItemBoxes[8].enabled);
    EXPECT_TRUE(t.ItemBoxes[8].checked);
    EXPECT_FALSE(t.ItemBoxes[7].enabled);
}

TEST(TableLayout, HeaderRowsKnowTheirItemsAsTheNumbersChange) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    // Items 1, 2, 3, 8 ... 27, 30 in rows 1..18; the F＼N row carries none.
    ASSERT_EQ(t.FNRow(), 19);
    EXPECT_EQ(t.HeaderRowOfItem(1), 1);
    EXPECT_EQ(t.HeaderRowOfItem(8), 4);
    EXPECT_EQ(t.HeaderRowOfItem(30), 18);
    EXPECT_EQ(t.HeaderRowOfItem(4), 0);
    EXPECT_EQ(t.ItemOfHeaderRow(18), 30);
    EXPECT_EQ(t.ItemOfHeaderRow(19), 0);
    EXPECT_EQ(t.HeaderRowOfItem(0), 0);
    EXPECT_EQ(t.HeaderRowOfItem(31), 0);

    // A number written into column 0 (as loading does) counts at once; the first row of an
    // item wins, and a text that is no item number is none.
    t.SetText(0, 3, "12");
    EXPECT_EQ(t.ItemOfHeaderRow(3), 12);
    EXPECT_EQ(t.HeaderRowOfItem(12), 3);
    EXPECT_EQ(t.HeaderRowOfItem(3), 0);
    t.SetText(0, 8, "x");
    EXPECT_EQ(t.ItemOfHeaderRow(8), 0);
    EXPECT_EQ(t.HeaderRowOfItem(12), 3);
    t.SetText(0, 3, "31");
    EXPECT_EQ(t.ItemOfHeaderRow(3), 0);

    // A copy keeps them; a table made ready for loading has none until they are written.
    const Table copy = t;
    EXPECT_EQ(copy.HeaderRowOfItem(30), 18);
    t.ResetForLoad(2, 2, 4);
    for (int n = 1; n <= kItemCount; ++n) EXPECT_EQ(t.HeaderRowOfItem(n), 0) << n;
    t.SetText(0, 2, " 7");
    EXPECT_EQ(t.HeaderRowOfItem(7), 2);
}

TEST(TableGrowth, TwentyFourthColumnAndHundredTwentyEighthSpecies) {
    Table t = MakeTable({});
    for (int i = 0; i < 23; ++i) t.AppendReleve();
    EXPECT_EQ(t.MaxReleve(), 23);
    ASSERT_TRUE(t.InsertColumn(27));  // the first spare column
    EXPECT_EQ(t.ReleveCount(), 24);
    EXPECT_EQ(t.MaxReleve(), 31);
    EXPECT_EQ(t.ColCount(), 35);
    EXPECT_EQ(t.Text(27, 0), "24");
    for (int i = 0; i < 127; ++i) t.AppendSpecies("s" + std::to_string(i));
    EXPECT_EQ(t.MaxSpecies(), 127);
    EXPECT_EQ(t.AppendSpecies("s127"), 128);
    EXPECT_EQ(t.MaxSpecies(), 143);
    EXPECT_EQ(t.RowCount(), 143 + t.FNRow() + 1);
    EXPECT_EQ(t.Text(0, t.FNRow() + 143), "143");
    ExpectKeysArePermutation(t);
}

TEST(TableRecount, CountsNonEmptyTextsIncludingBlankCodes) {
    Table t = MakeTable({{"a", "b"}, {"b"}, {}});
    // A cell of four blanks is not empty text: it counts.
    t.SetCell(t.ReleveKeyAt(3), t.SpeciesKeyAt(1), "    ", Covers({7}));
    t.Recount();
    const int fn = t.FNRow();
    EXPECT_EQ(t.Text(3, fn + 1), "   2");
    EXPECT_EQ(t.Text(3, fn + 2), "   2");
    EXPECT_EQ(t.Text(4, fn), "   2");
    EXPECT_EQ(t.Text(5, fn), "   1");
    EXPECT_EQ(t.Text(6, fn), "   1");
    EXPECT_EQ(t.Text(6, 1), "   3");
    // An empty column gets no serial number and the numbering has no gap.
    Table u = MakeTable({{"a"}, {}, {"a"}});
    EXPECT_EQ(u.Text(4, 1), "   1");
    EXPECT_EQ(u.Text(5, 1), "");
    EXPECT_EQ(u.Text(6, 1), "   2");
}

// The counts the sorts need beyond four digits are taken from the cells as they are now,
// by the same rule as the recount, and follow the positions after a move.
TEST(TableRecount, CountOccurrencesSeesTheTableAsItIsNow) {
    Table t = MakeTable({{"a", "b"}, {"b"}, {"a", "b", "c"}});
    // Cells under spare keys (a relevé or species position past the used ones) never count.
    const LayerCovers c = Covers({0, 0, 0, 0, 10});
    t.SetCell(t.ReleveKeyAt(t.ReleveCount() + 1), t.SpeciesKeyAt(1), "1", c);
    t.SetCell(t.ReleveKeyAt(1), t.SpeciesKeyAt(t.SpeciesCount() + 1), "1", c);
    std::vector<int> perReleve, perSpecies;
    t.CountOccurrences(&perReleve, &perSpecies);
    EXPECT_EQ(perReleve, (std::vector<int>{0, 2, 1, 3}));
    EXPECT_EQ(perSpecies, (std::vector<int>{0, 2, 3, 1}));
    // An edit since the recount shows at once; the recount's positional counts wait.
    t.SetCellText(t.ReleveKeyAt(2), t.SpeciesKeyAt(2), "");
    ASSERT_TRUE(t.MoveRow(t.FNRow() + 3, t.FNRow() + 1));
    t.CountOccurrences(nullptr, &perSpecies);
    EXPECT_EQ(perSpecies, (std::vector<int>{0, 1, 2, 2}));
    EXPECT_EQ(t.SpFreq()[1], 2);
    t.Recount();
    EXPECT_EQ(t.SpFreq()[1], 1);
    EXPECT_EQ(t.RelNumSp()[2], 0);
    EXPECT_EQ(t.Text(5, 1), "");  // the emptied relevé lost its serial number
}

TEST(TableEditing, DeletingTheOnlyReleveOfASpeciesCascades) {
    Table t = MakeTable({{"a", "b"}, {"a"}, {"c"}});
    const int fn = t.FNRow();
    const int keyB = t.SpeciesKeyAt(2);
    ASSERT_TRUE(t.DeleteColumnCommand(4));  // the only relevé with b
    EXPECT_EQ(t.ReleveCount(), 2);
    EXPECT_EQ(t.SpeciesCount(), 2);
    EXPECT_EQ(t.Text(2, fn + 1), "a");
    EXPECT_EQ(t.Text(2, fn + 2), "c");
    // The freed keys sit just past the used ones, their content gone.
    EXPECT_EQ(t.SpeciesKeyAt(3), keyB);
    EXPECT_EQ(t.Text(2, fn + 3), "");
    EXPECT_EQ(t.Text(4, 0), "2");
    EXPECT_EQ(t.Text(6, 0), "1");
    EXPECT_TRUE(t.CellsOf(1).empty());
    ExpectKeysArePermutation(t);
}

TEST(TableEditing, DeletingTheOnlySpeciesOfAReleveDeletesTheColumn) {
    Table t = MakeTable({{"a", "b"}, {"c"}});
    const int fn = t.FNRow();
    ASSERT_TRUE(t.DeleteRowCommand(fn + 3));
    EXPECT_EQ(t.ReleveCount(), 1);
    EXPECT_EQ(t.SpeciesCount(), 2);
    EXPECT_EQ(t.Text(4, 0), "1");
}

TEST(TableEditing, DeletingAnyColumnRemovesCommentAndEmptyRows) {
    Table t = MakeTable({{"a"}, {"b"}, {"a"}});
    const int fn = t.FNRow();
    ASSERT_TRUE(t.InsertRow(fn + 1));
    ASSERT_TRUE(t.SetComment(fn + 1, "-- 群落A --"));
    ASSERT_TRUE(t.InsertRow(fn + 3));
    EXPECT_EQ(t.SpeciesCount(), 4);
    ASSERT_TRUE(t.DeleteColumnCommand(6));
    EXPECT_EQ(t.SpeciesCount(), 2);
    EXPECT_EQ(t.Text(2, fn + 1), "a");
    EXPECT_EQ(t.Text(2, fn + 2), "b");
}

// Several rows and columns dropped by one cascade: the others close up in order, the
// dropped keys become the first spare ones in their former order, and nothing of them stays.
TEST(TableEditing, CascadesDropManyAndLeaveTheSpareKeysInOrder) {
    // Species x and z occur only in relevé 2; "y" is shared; a comment row sits between.
    Table t = MakeTable({{"y"}, {"x", "y", "z"}, {"y"}});
    const int fn = t.FNRow();
    t.SetCell(t.ReleveKeyAt(2), t.SpeciesKeyAt(1), "long cell text", Covers({10}));
    ASSERT_TRUE(t.InsertRow(fn + 3));
    ASSERT_TRUE(t.SetComment(fn + 3, "comment"));
    SortSpecies(t, 1, t.SpeciesCount(), false);  // keys no longer equal positions
    std::vector<int> doomed;
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) != "y") doomed.push_back(t.SpeciesKeyAt(p));
    const int keyY = t.SpeciesKeyAt(t.SpeciesCount());
    ASSERT_EQ(t.SpeciesName(keyY), "y");
    const int rel2 = t.ReleveKeyAt(2);

    ASSERT_TRUE(t.DeleteColumnCommand(5));
    EXPECT_EQ(t.SpeciesCount(), 1);
    EXPECT_EQ(t.SpeciesKeyAt(1), keyY);
    for (std::size_t i = 0; i < doomed.size(); ++i) {
        const int key = t.SpeciesKeyAt(2 + static_cast<int>(i));
        EXPECT_EQ(key, doomed[i]);
        EXPECT_EQ(t.SpeciesName(key), "");
        for (int q = 0; q <= t.MaxReleve(); ++q) EXPECT_TRUE(t.CellEmpty(q, key));
    }
    EXPECT_TRUE(t.CellsOf(rel2).empty());
    ExpectKeysArePermutation(t);

    // Now the other way: the only species left goes, and every relevé with it.
    for (int q = 1; q <= t.ReleveCount(); ++q) t.SetHeaderText(t.ReleveKeyAt(q), 2, "R");
    const std::vector<int> rels = {t.ReleveKeyAt(1), t.ReleveKeyAt(2)};
    ASSERT_TRUE(t.InsertColumn(5));  // an empty column between them goes too
    const int empty = t.ReleveKeyAt(2);
    ASSERT_TRUE(t.DeleteRowCommand(fn + 1));
    EXPECT_EQ(t.ReleveCount(), 0);
    EXPECT_EQ(t.ReleveKeyAt(1), rels[0]);
    EXPECT_EQ(t.ReleveKeyAt(2), empty);
    EXPECT_EQ(t.ReleveKeyAt(3), rels[1]);
    for (int q = 1; q <= 3; ++q) EXPECT_EQ(t.HeaderText(t.ReleveKeyAt(q), 2), "");
    ExpectKeysArePermutation(t);
}

TEST(TableEditing, InsertedRowTakesTheDeletedKeyWithEmptyCovers) {
    Table t = MakeTable({{"a", "b", "c"}, {"a", "b"}});
    const int fn = t.FNRow();
    const int keyB = t.SpeciesKeyAt(2);
    ASSERT_TRUE(t.DeleteRow(fn + 2));
    ASSERT_TRUE(t.InsertRow(fn + 2));
    EXPECT_EQ(t.SpeciesKeyAt(2), keyB);
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(1), keyB), EmptyLayers);
    EXPECT_EQ(t.Text(2, fn + 2), "");
    EXPECT_EQ(t.Text(2, fn + 3), "c");
}

TEST(TableEditing, CommentReplacesTheNameAndKeepsCells) {
    Table t = MakeTable({{"a"}});
    const int fn = t.FNRow();
    ASSERT_TRUE(t.SetComment(fn + 1, "注記"));
    EXPECT_EQ(t.Text(2, fn + 1), "注記");
    EXPECT_EQ(t.Text(4, fn + 1), "   1");
    EXPECT_EQ(t.Text(3, fn + 1), "   1");
}

TEST(TableEditing, CommandsOutsideTheUsedRangeChangeNothing) {
    Table t = MakeTable({{"a", "b"}, {"b"}});
    const int fn = t.FNRow();
    const auto before = t.ContentVersion();
    EXPECT_FALSE(t.DeleteRowCommand(3));        // a header row
    EXPECT_FALSE(t.DeleteRowCommand(fn));       // the F＼N row
    EXPECT_FALSE(t.DeleteRowCommand(fn + 10));  // a spare row
    EXPECT_FALSE(t.DeleteColumnCommand(3));     // the frequency column
    EXPECT_FALSE(t.DeleteColumnCommand(10));    // a spare column
    EXPECT_FALSE(t.InsertRow(fn + 10));
    EXPECT_FALSE(t.InsertColumn(2));
    EXPECT_FALSE(t.SetComment(2, "x"));
    EXPECT_FALSE(t.MoveRow(fn + 1, fn + 5));
    EXPECT_EQ(t.ContentVersion(), before);
    EXPECT_EQ(t.Text(2, fn + 2), "b");
}

TEST(TableEditing, InsertedColumnTakesTheFirstSpareKey) {
    Table t = MakeTable({{"a"}, {"b"}});
    ASSERT_TRUE(t.InsertColumn(4));
    EXPECT_EQ(t.Text(4, 0), "3");
    EXPECT_EQ(t.Text(5, 0), "1");
    EXPECT_EQ(t.Text(4, 1), "");
    EXPECT_EQ(t.ReleveCount(), 3);
}

TEST(TableEditing, MovingCarriesKeysAndContent) {
    Table t = MakeTable({{"a"}, {"b"}, {"c"}});
    const int fn = t.FNRow();
    t.SetText(4, 2, "R1");
    ASSERT_TRUE(t.MoveColumn(4, 6));
    EXPECT_EQ(t.Text(6, 0), "1");
    EXPECT_EQ(t.Text(6, 2), "R1");
    EXPECT_EQ(t.Text(6, fn + 1), "   1");
    ASSERT_TRUE(t.MoveRow(fn + 3, fn + 1));
    EXPECT_EQ(t.Text(2, fn + 1), "c");
    EXPECT_EQ(t.Text(0, fn + 1), "3");
    ExpectKeysArePermutation(t);
}

TEST(TableClear, BigTableLeavesNoText) {
    Table t = MakeTable({});
    for (int q = 0; q < 200; ++q) t.AppendReleve();
    for (int p = 0; p < 500; ++p) t.AppendSpecies("sp" + std::to_string(p));
    for (int q = 1; q <= 200; ++q) t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(q), "   1", Covers({10}));
    t.ClearTable();
    EXPECT_EQ(t.ColCount(), 27);
    EXPECT_EQ(t.SpeciesCount(), 0);
    for (int r = t.FNRow() + 1; r < t.RowCount(); ++r) {
        EXPECT_EQ(t.Text(2, r), "");
        for (int c = 4; c < t.ColCount(); ++c) EXPECT_EQ(t.Text(c, r), "");
    }
    EXPECT_EQ(t.Covers(1, 1), EmptyLayers);
}

TEST(Sorting, StableByFrequencyEmptyKeySmallest) {
    // Rows w, x, y, z with frequencies 12, 3, 0 and 3.
    std::vector<std::vector<std::string>> rel(12);
    for (int i = 0; i < 12; ++i) rel[i].push_back("w");
    for (int i = 0; i < 3; ++i) rel[i].push_back("x");
    for (int i = 3; i < 6; ++i) rel[i].push_back("z");
    Table t = MakeTable(rel);
    const int fn = t.FNRow();
    // Put y (no cells) between x and z.
    ASSERT_TRUE(t.InsertRow(fn + 3));
    t.SetComment(fn + 3, "y");
    t.Recount();
    auto names = [&] {
        std::string s;
        for (int p = 1; p <= t.SpeciesCount(); ++p) s += t.Text(2, fn + p);
        return s;
    };
    ASSERT_EQ(names(), "wxyz");
    SortSpecies(t, 1, 4, true);
    EXPECT_EQ(names(), "wxzy");
    EXPECT_EQ(t.Text(1, fn + 1), "   1");
    EXPECT_EQ(t.Text(1, fn + 3), "   3");
    EXPECT_EQ(t.Text(1, fn + 4), "");
    SortSpecies(t, 1, 4, false);
    EXPECT_EQ(names(), "yxzw");
    // Each row keeps its key, so the covers stay with the species.
    for (int p = 1; p <= 4; ++p) {
        const int k = t.SpeciesKeyAt(p);
        EXPECT_EQ(t.Text(0, fn + p), std::to_string(k));
    }
    ExpectKeysArePermutation(t);
}

TEST(Sorting, PartialRangeAndReleveSortMovesHeaders) {
    Table t = MakeTable({{"a"}, {"a", "b", "c"}, {"a", "b"}});
    const int fn = t.FNRow();
    t.SetText(4, 2, "R1");
    t.SetText(5, 2, "R2");
    t.SetText(6, 2, "R3");
    SortReleves(t, 1, 3, true);
    EXPECT_EQ(t.Text(4, 2), "R2");
    EXPECT_EQ(t.Text(5, 2), "R3");
    EXPECT_EQ(t.Text(6, 2), "R1");
    EXPECT_EQ(t.Text(4, 0), "2");
    EXPECT_EQ(t.Text(4, fn), "   3");
    EXPECT_EQ(t.Text(4, 1), "   1");
    // Sorting species 2..2 of 3 leaves everything in place; out-of-range bounds are clipped.
    SortSpecies(t, 0, 99, false);
    EXPECT_EQ(t.Text(2, fn + 1), "c");
    EXPECT_EQ(t.Text(2, fn + 3), "a");
}

// Counts of five digits show cut to four ("1005" for 10,050) but still sort as numbers.
TEST(Sorting, CountsOfTenThousandAndMoreSortByTheirFullNumber) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    const int common = t.AppendSpecies("common");  // in every relevé
    const int some = t.AppendSpecies("some");      // in 1,500
    const LayerCovers c = Covers({0, 0, 0, 0, 10});
    for (int q = 1; q <= 10050; ++q) {
        const int rk = t.ReleveKeyAt(t.AppendReleve());
        t.SetCell(rk, t.SpeciesKeyAt(common), LayerCode(c), c);
        if (q <= 1500) t.SetCell(rk, t.SpeciesKeyAt(some), LayerCode(c), c);
    }
    t.Recount();
    const int fn = t.FNRow();
    ASSERT_EQ(t.Text(3, fn + 1), "1005");
    SortSpecies(t, 1, 2, false);  // fewer first
    EXPECT_EQ(t.Text(2, fn + 1), "some");
    EXPECT_EQ(t.Text(2, fn + 2), "common");
    SortSpecies(t, 1, 2, true);
    EXPECT_EQ(t.Text(2, fn + 1), "common");

    // The same for relevés: one with 10,001 species, one with 2,000.
    Table r;
    EnableDefaultItems(r);
    r.ClearTable();
    const int big = r.ReleveKeyAt(r.AppendReleve());
    const int small = r.ReleveKeyAt(r.AppendReleve());
    for (int i = 1; i <= 10001; ++i) {
        const int sk = r.SpeciesKeyAt(r.AppendSpecies("s" + std::to_string(i)));
        r.SetCell(big, sk, LayerCode(c), c);
        if (i <= 2000) r.SetCell(small, sk, LayerCode(c), c);
    }
    r.Recount();
    ASSERT_EQ(r.HeaderText(big, r.FNRow()), "1000");
    SortReleves(r, 1, 2, true);
    EXPECT_EQ(r.ReleveKeyAt(1), big);
}

// A species found in 69,731 relevés: files keep the four characters the format allows, the
// grid shows the whole number and widens the columns that carry it, and the count itself is
// not cut at 65,535.
TEST(WholeNumbers, CountsPastFourDigitsShowWholeInTheGridAndStayFourInText) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    const int common = t.AppendSpecies("common");  // in every relevé
    const int some = t.AppendSpecies("some");      // in 9,896
    const LayerCovers c = Covers({0, 0, 0, 0, 10});
    for (int q = 1; q <= 69731; ++q) {
        const int rk = t.ReleveKeyAt(t.AppendReleve());
        t.SetCell(rk, t.SpeciesKeyAt(common), LayerCode(c), c);
        if (q % 7 != 0 && q <= 11545) t.SetCell(rk, t.SpeciesKeyAt(some), LayerCode(c), c);
    }
    t.Recount();
    const int fn = t.FNRow();
    EXPECT_EQ(t.SpFreq()[1], 69731);
    EXPECT_EQ(t.Text(3, fn + 1), "6973");
    EXPECT_EQ(t.ShownText(3, fn + 1), "69731");
    EXPECT_EQ(t.ShownText(3, fn + 2), "9896");
    EXPECT_EQ(t.ShownText(1, fn + 1), "   1");  // small numbers keep their four characters
    const int last = Table::ReleveColumn(69731);
    EXPECT_EQ(t.Text(last, 1), "6973");
    EXPECT_EQ(t.ShownText(last, 1), "69731");
    EXPECT_EQ(t.ShownText(Table::ReleveColumn(10000), 1), "10000");
    EXPECT_EQ(t.ShownText(Table::ReleveColumn(9999), 1), "9999");
    EXPECT_EQ(t.ShownText(last, fn), "   1");

    // Columns widen only where such a number shows.
    EXPECT_GT(t.ShownColWidth(3), t.ColWidth(3));
    EXPECT_GT(t.ShownColWidth(last), t.ColWidth(last));
    EXPECT_EQ(t.ShownColWidth(Table::ReleveColumn(9999)), t.ColWidth(Table::ReleveColumn(9999)));
    EXPECT_EQ(t.ShownColWidth(2), t.ColWidth(2));
    t.SetColWidth(last, -1);  // hidden stays hidden
    EXPECT_EQ(t.ShownColWidth(last), -1);

    // Descending by frequency: 69,731 above 9,896, and the whole number moves with its row.
    SortSpecies(t, 1, 2, false);
    EXPECT_EQ(t.Text(2, fn + 1), "some");
    EXPECT_EQ(t.ShownText(3, fn + 2), "69731");
    SortSpecies(t, 1, 2, true);
    EXPECT_EQ(t.Text(2, fn + 1), "common");
    EXPECT_EQ(t.ShownText(3, fn + 1), "69731");

    // A text edited since is shown as it is, even when it reads like the cut number.
    t.SetText(3, fn + 1, "6974");
    EXPECT_EQ(t.ShownText(3, fn + 1), "6974");
    t.Recount();
    EXPECT_EQ(t.ShownText(3, fn + 1), "69731");

    // Taking a relevé out and putting it back, as undo does, keeps its number whole.
    RemovedLines removed;
    ASSERT_TRUE(t.DeleteColumnCommand(last, &removed));
    EXPECT_EQ(t.ShownText(3, fn + 1), "69730");
    t.PutBack(removed);
    t.Recount();
    EXPECT_EQ(t.ShownText(last, 1), "69731");
    EXPECT_EQ(t.ShownText(3, fn + 1), "69731");
}

}  // namespace
}  // namespace tavik
