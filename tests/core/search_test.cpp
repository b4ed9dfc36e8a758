#include "core/search.h"

#include <gtest/gtest.h>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::MakeTable;

TEST(TableSearch, PartialFindsLongerNamesExactOnlyTheSame) {
    Table t = MakeTable({{"ブナ", "イヌブナ", "ブナノキ"}, {"ミズナラ"}});
    const int fn = t.FNRow();
    const auto partial = SearchTable(t, "ブナ", false);
    ASSERT_EQ(partial.size(), 3u);
    EXPECT_EQ(partial[0], (CellPos{2, fn + 1}));
    EXPECT_EQ(partial[2], (CellPos{2, fn + 3}));
    const auto exact = SearchTable(t, "ブナ", true);
    ASSERT_EQ(exact.size(), 1u);
    EXPECT_EQ(exact[0], (CellPos{2, fn + 1}));
    // Letter case counts; blanks around the query and the cell do not.
    t.SetSpeciesName(t.SpeciesKeyAt(4), "  Fagus crenata ");
    EXPECT_TRUE(SearchTable(t, "fagus", false).empty());
    EXPECT_EQ(SearchTable(t, " Fagus crenata  ", true).size(), 1u);
}

TEST(TableSearch, BlankQueryFindsNothing) {
    Table t = MakeTable({{"ブナ"}});
    EXPECT_TRUE(SearchTable(t, "", false).empty());
    EXPECT_TRUE(SearchTable(t, "   \t ", false).empty());
}

TEST(TableSearch, HeaderValuesAfterNamesSerialAndCountRowsSkipped) {
    Table t = MakeTable({{"ブナ"}, {"ミズナラ"}});
    const int fn = t.FNRow();
    t.SetHeaderText(t.ReleveKeyAt(2), 2, "A84-01");
    t.SetHeaderText(t.ReleveKeyAt(1), 3, "八甲田A8");
    // Row 1 holds "   1" and the F＼N row "   1": neither is searched.
    const auto hits = SearchTable(t, "1", false);
    ASSERT_EQ(hits.size(), 1u);
    EXPECT_EQ(hits[0], (CellPos{5, 2}));
    // Names come first, then header cells column by column.
    t.SetSpeciesName(t.SpeciesKeyAt(2), "A8の群落");
    const auto a8 = SearchTable(t, "A8", false);
    ASSERT_EQ(a8.size(), 3u);
    EXPECT_EQ(a8[0], (CellPos{2, fn + 2}));
    EXPECT_EQ(a8[1], (CellPos{4, 3}));
    EXPECT_EQ(a8[2], (CellPos{5, 2}));
}

TEST(TableSearch, TwentyHitsAtMostTopRowsFirst) {
    std::vector<std::string> names;
    for (int i = 0; i < 25; ++i) names.push_back("ササ" + std::to_string(i));
    Table t = MakeTable({names});
    t.SetHeaderText(t.ReleveKeyAt(1), 2, "ササ原");
    const auto hits = SearchTable(t, "ササ", false);
    ASSERT_EQ(hits.size(), static_cast<std::size_t>(kMaxSearchHits));
    for (int i = 0; i < kMaxSearchHits; ++i) EXPECT_EQ(hits[i], (CellPos{2, t.FNRow() + 1 + i}));
}

TEST(TableSearch, NoMatchInsideACharacter) {
    // 表 and ソ end in the byte 0x5C in CP932; the UTF-8 texts cannot match "\".
    Table t = MakeTable({{"表ソ"}});
    EXPECT_TRUE(SearchTable(t, "\\", false).empty());
}

}  // namespace
}  // namespace tavik
