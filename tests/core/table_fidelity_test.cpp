#include "core/table_fidelity.h"

#include <gtest/gtest.h>

#include "core/cp932_width.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::MakeTable;

std::vector<std::string> Names(const Table& t) {
    std::vector<std::string> v;
    for (int p = 1; p <= t.SpeciesCount(); ++p) v.push_back(t.SpeciesName(t.SpeciesKeyAt(p)));
    return v;
}

// Group A: relevés 1-4, an empty column, group B: relevés 6-9.
Table TwoGroups() {
    return MakeTable({{"ブナ", "ササ"},
                      {"ブナ", "ササ"},
                      {"ブナ", "ササ", "ミズナラ"},
                      {"ブナ", "ササ"},
                      {},
                      {"ササ", "コナラ"},
                      {"ササ", "コナラ"},
                      {"ササ", "コナラ", "ミズナラ"},
                      {"ササ", "コナラ"}});
}

TEST(TableFidelity, GroupsBetweenEmptyColumns) {
    const Table t = TwoGroups();
    const auto groups = FidelityGroups(t);
    ASSERT_EQ(groups.size(), 2u);
    FidelityOptions o;
    const auto r = TableFidelity(t, groups, o);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"ブナ", "ササ", "ミズナラ", "コナラ"}));
    EXPECT_EQ(r.GroupSize(0), 4);
    EXPECT_DOUBLE_EQ(*r.Phi(0, 0), 1.0);  // ブナ only in A, in all of it
    EXPECT_NEAR(*r.P(0, 0), 1.0 / 70, 1e-15);
    EXPECT_FALSE(r.Phi(1, 0));            // ササ in every relevé
    EXPECT_DOUBLE_EQ(*r.Phi(2, 0), 0.0);  // ミズナラ once in each
    EXPECT_EQ(r.BlockGroup(3), 1);        // コナラ diagnostic for B
}

TEST(TableFidelity, SpeciesOrderInDiagnosticBlocksIsOnePermutation) {
    Table t = TwoGroups();
    // Put コナラ (B) first and ブナ (A) last, so that the blocks have something to undo.
    t.PermuteSpecies(1, {4, 2, 3, 1});
    EXPECT_EQ(Names(t), (std::vector<std::string>{"コナラ", "ササ", "ミズナラ", "ブナ"}));
    const auto order = DiagnosticSpeciesOrder(t, FidelityOptions{});
    // A's block (ブナ), B's block (コナラ), then by frequency: ササ (8), ミズナラ (2).
    EXPECT_EQ(order, (std::vector<int>{4, 1, 2, 3}));
    t.PermuteSpecies(1, order);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"ブナ", "コナラ", "ササ", "ミズナラ"}));
    // The cells travel with their rows.
    EXPECT_FALSE(t.CellEmpty(t.ReleveKeyAt(1), t.SpeciesKeyAt(1)));
    EXPECT_TRUE(t.CellEmpty(t.ReleveKeyAt(1), t.SpeciesKeyAt(2)));
}

TEST(TableFidelity, RefusesTablesWithoutTwoGroups) {
    // No empty column: one group, nothing to compare with.
    EXPECT_THROW(FidelityGroups(MakeTable({{"ブナ"}, {"ササ"}})), ConstancyRefused);
    // Two empty columns at the end: three groups, but only one with relevés.
    EXPECT_THROW(FidelityGroups(MakeTable({{"ブナ"}, {"ササ"}, {}, {}})), ConstancyRefused);
    EXPECT_NO_THROW(FidelityGroups(MakeTable({{"ブナ"}, {}, {}, {"ササ"}})));
    EXPECT_THROW(FidelityGroups(Table{}), ConstancyRefused);
    // 31 groups are more than the constancy table takes.
    std::vector<std::vector<std::string>> rel;
    for (int i = 0; i < 31; ++i) {
        if (i) rel.push_back({});
        rel.push_back({"ブナ"});
    }
    EXPECT_THROW(FidelityGroups(MakeTable(rel)), ConstancyRefused);
}

TEST(TableFidelity, PhiAsAWholePercentRoundsHalvesToEven) {
    EXPECT_EQ(PhiPercentText(0.625), "62");
    EXPECT_EQ(PhiPercentText(0.635), "64");
    EXPECT_EQ(PhiPercentText(-0.004), "0");
    EXPECT_EQ(PhiPercentText(-0.25), "-25");
    EXPECT_EQ(PhiPercentText(1.0), "100");
    EXPECT_EQ(GroupLabel(0), "A");
    EXPECT_EQ(GroupLabel(26), "[");
}

}  // namespace
}  // namespace tavik

namespace tavik {
namespace {

TEST(SynopticTable, CellsCarryPhiAndDiagnosticShades) {
    Table t = testing::MakeTable({{"ササ", "コナラ"},
                                  {"ササ", "コナラ"},
                                  {"ササ", "コナラ", "ミズナラ"},
                                  {"ササ", "コナラ"},
                                  {},
                                  {"ブナ", "ササ"},
                                  {"ブナ", "ササ"},
                                  {"ブナ", "ササ", "ミズナラ"},
                                  {"ブナ", "ササ"}});
    ConstancyOptions c;  // classes I-V with the cover range
    FidelityOptions f;   // equalized, 30, 0.05
    FreqTable s = MakeSynopticTable(t, c, f);
    // Rows 3.. are ササ, コナラ, ミズナラ, ブナ; groups of 4 show counts with their range.
    const std::string plainA = MakeConstancyTable(t, c).Text(1, 4);
    EXPECT_EQ(s.Text(1, 4), Cp932Fit(plainA, Cp932Width(plainA)) + " │100");  // コナラ in A
    EXPECT_EQ(s.Text(2, 4), "・");                                            // absent: no phi
    EXPECT_EQ(s.Text(1, 3), MakeConstancyTable(t, c).Text(1, 3));             // ササ everywhere: none
    EXPECT_EQ(s.Text(2, 5).substr(s.Text(2, 5).size() - 7), " │  0");         // ミズナラ evenly
    EXPECT_EQ(s.Shade(1, 4), 1);
    EXPECT_EQ(s.Shade(2, 6), 2);  // ブナ in B
    EXPECT_EQ(s.Shade(1, 5), 0);
    EXPECT_EQ(s.Shade(1, 0), 1);  // the labels take their group's tint
    EXPECT_EQ(s.Shade(2, 0), 2);
    EXPECT_GT(s.printCellWidth, 7);
    // The bars line up: every cell with a phi has the same width.
    EXPECT_EQ(Cp932Width(s.Text(1, 4)), Cp932Width(s.Text(2, 5)));

    // The block sort: A's コナラ, B's ブナ, then ササ (8) and ミズナラ (2).
    ASSERT_TRUE(s.SortRowsByBlocks());
    std::vector<std::string> names;
    for (int r = 3; r < s.RowCount(); ++r) names.push_back(s.Text(0, r));
    EXPECT_EQ(names, (std::vector<std::string>{"コナラ", "ブナ", "ササ", "ミズナラ"}));
    EXPECT_EQ(s.Shade(1, 3), 1);
    EXPECT_EQ(s.Shade(2, 4), 2);
    EXPECT_EQ(s.RowBlock(3), 0);
    EXPECT_EQ(s.RowBlock(4), 1);
    EXPECT_EQ(s.RowBlock(5), -1);
    EXPECT_EQ(s.Text(0, 0), "　群落区分");  // fixed rows stay
}

TEST(SynopticTable, ShadesAndBlocksTravelWithRowsAndColumns) {
    FreqTable t;
    t.Resize(3, 5);
    t.fixedRows = 1;
    for (int r = 0; r < 5; ++r) t.SetText(0, r, "r" + std::to_string(r));
    t.SetShade(1, 2, 1);
    t.SetShade(2, 4, 2);
    t.SetRowBlock(2, 0, 1);
    t.SetRowBlock(4, 1, 0);
    t.MoveRow(2, 4);  // r2 to the bottom
    EXPECT_EQ(t.Text(0, 4), "r2");
    EXPECT_EQ(t.Shade(1, 4), 1);
    EXPECT_EQ(t.Shade(2, 3), 2);
    EXPECT_EQ(t.RowRank(4), 1);
    t.MoveColumn(1, 2);
    EXPECT_EQ(t.Shade(2, 4), 1);
    EXPECT_EQ(t.Shade(1, 3), 2);
    t.Resize(4, 6);  // growing keeps them
    EXPECT_EQ(t.Shade(2, 4), 1);
    EXPECT_EQ(t.RowRank(5), -1);
    ASSERT_TRUE(t.SortRowsByBlocks());
    // Ranks 0 (r4), 1 (r2), then the rows without a place in their order.
    EXPECT_EQ(t.Text(0, 1), "r4");
    EXPECT_EQ(t.Text(0, 2), "r2");
    EXPECT_EQ(t.Text(0, 3), "r1");
    EXPECT_EQ(t.Shade(2, 2), 1);
    t.Clear();  // a table read from a file has no marks
    EXPECT_EQ(t.Shade(2, 2), 0);
    EXPECT_FALSE(t.HasRowBlocks());
    EXPECT_FALSE(t.SortRowsByBlocks());
}

}  // namespace
}  // namespace tavik
