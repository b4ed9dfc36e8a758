#include "core/table_fidelity.h"

#include <gtest/gtest.h>

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
    return MakeTable({{"ブナ", "ササ"}, {"ブナ", "ササ"}, {"ブナ", "ササ", "ミズナラ"}, {"ブナ", "ササ"},
                      {},
                      {"ササ", "コナラ"}, {"ササ", "コナラ"}, {"ササ", "コナラ", "ミズナラ"}, {"ササ", "コナラ"}});
}

TEST(TableFidelity, GroupsBetweenEmptyColumns) {
    const Table t = TwoGroups();
    const auto groups = FidelityGroups(t);
    ASSERT_EQ(groups.size(), 2u);
    FidelityOptions o;
    const auto r = TableFidelity(t, groups, o);
    EXPECT_EQ(Names(t), (std::vector<std::string>{"ブナ", "ササ", "ミズナラ", "コナラ"}));
    EXPECT_EQ(r.GroupSize(0), 4);
    EXPECT_DOUBLE_EQ(*r.Phi(0, 0), 1.0);   // ブナ only in A, in all of it
    EXPECT_NEAR(*r.P(0, 0), 1.0 / 70, 1e-15);
    EXPECT_FALSE(r.Phi(1, 0));             // ササ in every relevé
    EXPECT_DOUBLE_EQ(*r.Phi(2, 0), 0.0);   // ミズナラ once in each
    EXPECT_EQ(r.BlockGroup(3), 1);         // コナラ diagnostic for B
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
    // Two empty columns side by side and one at the end: still only one group with relevés.
    EXPECT_THROW(FidelityGroups(MakeTable({{"ブナ"}, {}, {}, {"ササ"}, {}})), ConstancyRefused);
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
