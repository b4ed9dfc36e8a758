#include "core/classification.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "core/constancy.h"
#include "formats/saved_table.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::MakeTable;

// Four points on a line, 0, 1, 3 and 7: the Euclidean distances are their differences.
std::vector<float> LinePoints() { return {1, 3, 7, 2, 6, 4}; }  // AB AC AD BC BD CD

struct Expected {
    int left, right;
    double height;
};

void ExpectMerges(const Dendrogram& d, const std::vector<Expected>& expected) {
    ASSERT_EQ(d.Merges().size(), expected.size());
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(d.Merges()[m].left, expected[m].left);
        EXPECT_EQ(d.Merges()[m].right, expected[m].right);
        EXPECT_NEAR(d.Merges()[m].height, expected[m].height, 1e-5);
    }
}

// Worked by hand for each linkage; nodes 0-3 are A-D, 4 the first merge, 5 the second.
TEST(ClusterLinkages, MergesAndHeightsOfFourPointsOnALine) {
    // Single: AB at 1, C joins at BC = 2, D at CD = 4.
    ExpectMerges(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Single, 0), {{0, 1, 1}, {4, 2, 2}, {5, 3, 4}});
    // Complete: AB 1; (AB)C = max(3, 2) = 3 beats CD = 4; D at max(7, 6, 4) = 7.
    ExpectMerges(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Complete, 0), {{0, 1, 1}, {4, 2, 3}, {5, 3, 7}});
    // Average: (AB)C = (3 + 2) / 2 = 2.5; (ABC)D = (2 × 6.5 + 4) / 3 = 17 / 3.
    ExpectMerges(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Average, 0),
                 {{0, 1, 1}, {4, 2, 2.5}, {5, 3, 17.0 / 3}});
    // Ward on squares: d²(C, AB) = (2·9 + 2·4 − 1) / 3 = 25/3, d²(D, AB) = 169/3;
    // d²(D, ABC) = (3·169/3 + 2·16 − 25/3) / 4 = 578/12. Heights are the square roots
    // (the increase of the sum of squares is half the square: 2/3 · 2.5² for ABC).
    ExpectMerges(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Ward, 0),
                 {{0, 1, 1}, {4, 2, std::sqrt(25.0 / 3)}, {5, 3, std::sqrt(578.0 / 12)}});
    // Beta-flexible, β = −0.25: d(C, AB) = 0.625·(3 + 2) − 0.25·1 = 2.875,
    // d(D, AB) = 0.625·13 − 0.25 = 7.875, d(D, ABC) = 0.625·(7.875 + 4) − 0.25·2.875.
    ExpectMerges(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Flexible, -0.25),
                 {{0, 1, 1}, {4, 2, 2.875}, {5, 3, 6.703125}});
    EXPECT_THROW(ClusterMatrix(LinePoints(), 4, ClusterLinkage::Flexible, 0.5), ClassificationRefused);
}

// Five points 0, 1, 5, 6, 20 with Ward: two pairs, then the pairs, then the outlier. The
// chain starts at the outlier (row 0), runs 20 -> 6 -> 5 and finds the pair (5, 6) before
// the pair (0, 1) at the same height: merges of equal height keep the chain's order.
TEST(ClusterLinkages, CutAndLeafOrderKeepGroupsContiguous) {
    const double x[5] = {20, 0, 5, 1, 6};  // rows out of order on purpose
    std::vector<float> d;
    for (int i = 0; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j) d.push_back(static_cast<float>(std::abs(x[i] - x[j])));
    const Dendrogram tree = ClusterMatrix(d, 5, ClusterLinkage::Ward, 0);
    // Rows 2 (5) and 4 (6), then 1 (0) and 3 (1); the pairs at √50 (centroids 0.5 and 5.5).
    ExpectMerges(tree, {{2, 4, 1}, {1, 3, 1}, {6, 5, std::sqrt(50.0)}, {0, 7, tree.Merges()[3].height}});
    // Left children hold the lower row: the outlier (row 0) comes first.
    EXPECT_EQ(tree.LeafOrder(), (std::vector<int>{0, 1, 3, 2, 4}));
    EXPECT_EQ(tree.Cut(1), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_EQ(tree.Cut(2), (std::vector<int>{0, 1, 1, 1, 1}));
    EXPECT_EQ(tree.Cut(3), (std::vector<int>{0, 1, 2, 1, 2}));
    EXPECT_EQ(tree.Cut(5), (std::vector<int>{0, 1, 3, 2, 4}));
    EXPECT_GT(tree.CutHeight(3), tree.Merges()[1].height);
    EXPECT_LT(tree.CutHeight(3), tree.Merges()[2].height);
    // The root at the square root of 462.4 (centroid 3 of four against 20: 2 * 4/5 * 17^2);
    // branch lengths are differences of height; a quote in a label is doubled.
    EXPECT_EQ(NewickText(tree, {"e", "a", "c", "b", "d'"}),
              "(e:21.5035,((a:1,b:1):6.07107,(c:1,'d''':1):6.07107):14.4324);\n");
}

// Points 0, 1, 2, 3: every neighbour at distance 1. The nearest neighbour of equal distance
// is the lower position, so single linkage chains A, B, C, D in order and Ward pairs AB
// before CD; a cut undoes the merges found last.
TEST(ClusterLinkages, TiesAreBrokenByTheLowerPosition) {
    const std::vector<float> d = {1, 2, 3, 1, 2, 1};
    const Dendrogram single = ClusterMatrix(d, 4, ClusterLinkage::Single, 0);
    ExpectMerges(single, {{0, 1, 1}, {4, 2, 1}, {5, 3, 1}});
    EXPECT_EQ(single.Cut(2), (std::vector<int>{0, 0, 0, 1}));
    const Dendrogram ward = ClusterMatrix(d, 4, ClusterLinkage::Ward, 0);
    ExpectMerges(ward, {{0, 1, 1}, {2, 3, 1}, {4, 5, 2 * std::sqrt(2.0)}});
    EXPECT_EQ(ward.Cut(3), (std::vector<int>{0, 0, 1, 2}));
}

ClusterData Rows(const std::vector<std::vector<std::pair<int, float>>>& rows, int columns) {
    ClusterData d;
    d.columns = columns;
    d.start.push_back(0);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        d.positions.push_back(static_cast<int>(i) + 1);
        for (auto [c, v] : rows[i]) {
            d.column.push_back(c);
            d.value.push_back(v);
        }
        d.start.push_back(d.column.size());
    }
    return d;
}

// r1 = (2, 1, 0), r2 = (1, 0, 3), r3 = r1. Bray: (1 + 1 + 3) / (3 + 4) = 5/7. On presence
// r1 {a, b} and r2 {a, c} share one of three: Jaccard 2/3, Sørensen 1/2. Euclid √11. Chord:
// cos = 2 / (√5 √10), distance √(2 − 2 cos). A relevé and its copy are at 0 by every one.
TEST(ClusterDistances, WorkedOnASmallMatrix) {
    const ClusterData d = Rows({{{0, 2}, {1, 1}}, {{0, 1}, {2, 3}}, {{0, 2}, {1, 1}}}, 3);
    const double cosine = 2 / std::sqrt(50.0);
    const std::pair<ClusterDistance, double> cases[] = {{ClusterDistance::Bray, 5.0 / 7},
                                                        {ClusterDistance::Jaccard, 2.0 / 3},
                                                        {ClusterDistance::Sorensen, 0.5},
                                                        {ClusterDistance::Euclid, std::sqrt(11.0)},
                                                        {ClusterDistance::Chord, std::sqrt(2 - 2 * cosine)}};
    for (auto [distance, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(distance));
        const std::vector<float> m = ClusterDistances(d, distance, 1);
        ASSERT_EQ(m.size(), 3u);
        EXPECT_NEAR(m[CondensedIndex(3, 0, 1)], expected, 1e-6);
        EXPECT_NEAR(m[CondensedIndex(3, 1, 2)], expected, 1e-6);
        EXPECT_EQ(m[CondensedIndex(3, 0, 2)], 0.0f);
    }
}

TEST(ClusterDistances, DoNotDependOnTheNumberOfThreads) {
    std::mt19937 random(7);
    std::vector<std::vector<std::pair<int, float>>> rows(300);
    for (auto& r : rows)
        for (int c = 0; c < 60; ++c)
            if (random() % 5 == 0) r.emplace_back(c, static_cast<float>(1 + random() % 9));
    rows[0] = {{0, 1}};
    const ClusterData d = Rows(rows, 60);
    for (ClusterDistance distance : {ClusterDistance::Bray, ClusterDistance::Chord}) {
        const std::vector<float> one = ClusterDistances(d, distance, 1);
        EXPECT_EQ(one, ClusterDistances(d, distance, 2));
        EXPECT_EQ(one, ClusterDistances(d, distance, 3));
        const Dendrogram a = ClusterMatrix(one, 300, ClusterLinkage::Ward, 0);
        const Dendrogram b = ClusterMatrix(ClusterDistances(d, distance, 2), 300, ClusterLinkage::Ward, 0);
        EXPECT_EQ(a.LeafOrder(), b.LeafOrder());
    }
}

// Three kinds of relevé, ten of each, interleaved A B C A B C ...: each kind has two species
// of its own; ササ is everywhere.
Table ThreeKinds() {
    std::vector<std::vector<std::string>> rel;
    for (int i = 0; i < 10; ++i) {
        rel.push_back({"a1", "a2", "ササ"});
        rel.push_back({"b1", "b2", "ササ"});
        rel.push_back({"c1", "c2", "ササ"});
    }
    Table t = MakeTable(rel);
    for (int q = 1; q <= t.ReleveCount(); ++q) t.SetHeaderText(t.ReleveKeyAt(q), 2, "R" + std::to_string(q));
    return t;
}

// Fisher's p of a species in all ten relevés of a group of 10 out of 30 is 1/C(30,10); in
// ten relevés of a group of 20, C(20,10)/C(30,10) = 0.006; of a group of 5 (a kind cut in
// halves), C(10,5)/C(30,5) = 0.0018. So K = 2 leaves 2 faithful species, K = 3 all 6, and
// no further K can make more.
TEST(ClusterScan, BestKIsTheNumberOfKinds) {
    const Table t = ThreeKinds();
    const Classification c = ClassifyReleves(t, ClusterOptions{});
    const std::vector<KScanLine> scan = ScanGroupCounts(t, c, 2, 5);
    ASSERT_EQ(scan.size(), 4u);
    EXPECT_EQ(scan[0].faithful, 2);
    EXPECT_EQ(scan[1].faithful, 6);
    for (const KScanLine& l : scan) EXPECT_LE(l.faithful, 6);
    EXPECT_EQ(BestK(scan), 3);
    EXPECT_EQ(ScanGroupCounts(t, c, 2, 100).size(), 29u);  // K up to the relevés
}

TEST(ClusterPlacement, GroupsAreContiguousAndUndoGivesBackTheTable) {
    Table t = ThreeKinds();
    // An old separator with a note in its header, and a blank one.
    t.InsertColumn(3 + 7);
    t.SetHeaderText(t.ReleveKeyAt(7), 5, "note");
    t.InsertColumn(3 + 20);
    t.Recount();
    const std::string before = SavedTableBytes(t);
    const Classification c = ClassifyReleves(t, ClusterOptions{});
    GroupPlacement p = PlaceGroups(t, GroupsOfCut(t, c, 3));
    const std::string after = SavedTableBytes(t);
    const std::vector<ReleveGroup> groups = ConstancyGroups(t);
    ASSERT_EQ(groups.size(), 3u);
    for (const ReleveGroup& g : groups) {
        EXPECT_EQ(g.size, 10);
        std::set<char> kinds;
        for (int q = g.first; q <= g.last; ++q)
            kinds.insert(t.SpeciesName(t.CellsOf(t.ReleveKeyAt(q)).front().species)[0]);
        EXPECT_EQ(kinds.size(), 1u);
    }
    EXPECT_EQ(t.ReleveCount(), 32);  // both separators reused
    RevertGroupPlacement(t, p);
    EXPECT_EQ(SavedTableBytes(t), before);
    RedoGroupPlacement(t, p);
    EXPECT_EQ(SavedTableBytes(t), after);

    // Three old separators, two with notes. Five groups need one more; two groups take a
    // note's column as the separator, leave the blank one out and keep the other note at
    // the end.
    for (int k : {5, 2}) {
        SCOPED_TRACE(k);
        Table u = ThreeKinds();
        u.InsertColumn(3 + 7);
        u.SetHeaderText(u.ReleveKeyAt(7), 5, "note");
        u.InsertColumn(3 + 20);
        u.InsertColumn(3 + 20);
        u.SetHeaderText(u.ReleveKeyAt(20), 5, "note");
        u.Recount();
        const std::string old = SavedTableBytes(u);
        const Classification cu = ClassifyReleves(u, ClusterOptions{});
        GroupPlacement pu = PlaceGroups(u, GroupsOfCut(u, cu, k));
        const std::vector<ReleveGroup> gs = ConstancyGroups(u);
        if (k == 5) {
            EXPECT_EQ(gs.size(), 5u);
            EXPECT_EQ(u.ReleveCount(), 34);
        } else {
            EXPECT_EQ(gs.size(), 3u);  // the note's column closes the range: an empty group
            EXPECT_EQ(gs[2].size, 0);
            EXPECT_EQ(u.ReleveCount(), 32);
            EXPECT_EQ(u.HeaderText(u.ReleveKeyAt(32), 5), "note");
        }
        RevertGroupPlacement(u, pu);
        EXPECT_EQ(SavedTableBytes(u), old);
    }
}

TEST(ClusterPlacement, RefusesWhatCannotBeClassified) {
    EXPECT_THROW(ClassifyReleves(MakeTable({{"a"}}), ClusterOptions{}), ClassificationRefused);
    EXPECT_THROW(ClassifyReleves(MakeTable({{"a"}, {}}), ClusterOptions{}), ClassificationRefused);
    Table t = MakeTable({{"a"}, {"b"}, {"a", "b"}});
    const Classification c = ClassifyReleves(t, ClusterOptions{});
    EXPECT_THROW(GroupsOfCut(t, c, 4), ClassificationRefused);
    // A relevé whose species are all outside the species range is left out and reported.
    ClusterOptions o;
    o.speciesFrom = 2;
    const Classification d = ClassifyReleves(t, o);
    EXPECT_EQ(d.data.positions, (std::vector<int>{2, 3}));
    EXPECT_EQ(d.data.leftOut, (std::vector<int>{1}));
    // ... and goes last, in a group of its own.
    const GroupPlacement p = PlaceGroups(t, GroupsOfCut(t, d, 2));
    EXPECT_EQ(p.leftOver, 1);
    EXPECT_EQ(ConstancyGroups(t).size(), 3u);
}

TEST(Membership, GroupsInOrderOfFirstAppearance) {
    Table t = ThreeKinds();
    std::vector<std::pair<std::string, std::string>> pairs;
    for (int q = 30; q >= 1; --q)
        if (q != 4) pairs.emplace_back("R" + std::to_string(q), q % 3 == 0 ? "x" : "y");
    int unlisted = 0;
    const ReleveGroups g = GroupsFromMembership(t, pairs, &unlisted);
    EXPECT_EQ(unlisted, 1);
    ASSERT_EQ(g.size(), 2u);
    EXPECT_EQ(g[0].size(), 10u);  // x: R3, R6, ... in table order
    EXPECT_EQ(g[0].front(), t.ReleveKeyAt(3));
    PlaceGroups(t, g);
    const auto lines = CurrentMembership(t);
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(lines.front().releve, "R3");
    EXPECT_EQ(lines.back().releve, "R4");  // not listed: last, a group of its own
    EXPECT_EQ(lines.back().group, "3");
    EXPECT_EQ(lines.back().position, 32);

    // Unknown and repeated numbers are all named, and nothing changes.
    const std::string before = SavedTableBytes(t);
    try {
        GroupsFromMembership(t, {{"R1", "1"}, {"R99", "1"}, {"R1", "2"}, {"X", "2"}});
        FAIL();
    } catch (const ClassificationRefused& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("R99、X"), std::string::npos) << m;
        EXPECT_NE(m.find("二度書かれた測定番号: R1"), std::string::npos) << m;
    }
    EXPECT_EQ(SavedTableBytes(t), before);
}

}  // namespace
}  // namespace tavik
