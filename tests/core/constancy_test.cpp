#include "core/constancy.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::Covers;
using testing::EnableDefaultItems;

using Entry = std::pair<std::string, LayerCovers>;

// Relevés of (species, covers); an empty relevé is a separating column.
Table Build(const std::vector<std::vector<Entry>>& releves) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    for (const auto& rel : releves) {
        const int q = t.AppendReleve();
        for (const auto& [name, c] : rel) {
            int p = 0;
            for (int i = 1; i <= t.SpeciesCount(); ++i)
                if (t.SpeciesName(t.SpeciesKeyAt(i)) == name) p = i;
            if (p == 0) p = t.AppendSpecies(name);
            t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(p), LayerCode(c), c);
        }
    }
    t.Recount();
    return t;
}

Entry H(const std::string& name, int cover) { return {name, Covers({0, 0, 0, 0, cover})}; }

ConstancyOptions Kind(ConstancyKind k, bool blank = false) {
    ConstancyOptions o;
    o.kind = k;
    o.blankAbsent = blank;
    return o;
}

// n relevés, species "x" in the first `present` of them, "y" in all.
std::vector<std::vector<Entry>> Group(int n, int present) {
    std::vector<std::vector<Entry>> g;
    for (int i = 0; i < n; ++i) {
        std::vector<Entry> rel{H("y", 10)};
        if (i < present) rel.push_back(H("x", 10));
        g.push_back(rel);
    }
    return g;
}

std::string Cell(const Table& t, ConstancyKind k, const std::string& species = "x") {
    const FreqTable g = MakeConstancyTable(t, Kind(k));
    for (int r = 3; r < g.RowCount(); ++r)
        if (g.Text(0, r) == species) return g.Text(1, r);
    return "?";
}

TEST(Constancy, WithoutEmptyColumnsOneGroupHoldsAll) {
    const Table t = Build({{H("a", 10), H("b", 1)}, {H("a", 20)}, {H("a", 10), H("b", 1), H("c", 30)}});
    const ConstancyCounts n = CountConstancyGroups(t);
    EXPECT_EQ(n.releves, 3);
    EXPECT_EQ(n.groups, 1);
    const FreqTable g = MakeConstancyTable(t, Kind(ConstancyKind::ClassesFiveWithCover));
    EXPECT_EQ(g.ColCount(), 2);
    EXPECT_EQ(g.RowCount(), 6);
    EXPECT_EQ(g.fixedRows, 3);
    EXPECT_EQ(g.fixedCols, 1);
    EXPECT_EQ(g.Text(0, 0), "　群落区分");
    EXPECT_EQ(g.Text(0, 1), "　測定数");
    EXPECT_EQ(g.Text(0, 2), "　平均種数");
    EXPECT_EQ(g.Text(1, 0), "A");
    EXPECT_EQ(g.Text(1, 1), "3");
    EXPECT_EQ(g.Text(1, 2), "2");  // 6 species numbers over 3 relevés
    EXPECT_EQ(g.Text(0, 3), "a");
    EXPECT_EQ(g.Text(1, 3), "３ 1-2");
    EXPECT_EQ(g.Text(1, 4), "２ +");
    EXPECT_EQ(g.Text(1, 5), "１ 3");
}

TEST(Constancy, AdjacentEmptyColumnsMakeAnEmptyGroup) {
    const Table t = Build({{H("a", 10)}, {}, {}, {H("b", 10)}});
    EXPECT_EQ(CountConstancyGroups(t).groups, 3);
    EXPECT_EQ(CountConstancyGroups(t).releves, 2);
    FreqTable g = MakeConstancyTable(t, Kind(ConstancyKind::ClassesFive));
    ASSERT_EQ(g.ColCount(), 4);
    EXPECT_EQ(g.Text(2, 0), "B");
    EXPECT_EQ(g.Text(2, 1), "0");
    EXPECT_EQ(g.Text(2, 2), "");
    EXPECT_EQ(g.Text(2, 3), "・");
    EXPECT_EQ(g.Text(2, 4), "・");
    EXPECT_EQ(g.Text(3, 4), "１");
    g = MakeConstancyTable(t, Kind(ConstancyKind::ClassesFive, true));
    EXPECT_EQ(g.Text(2, 3), "");
    EXPECT_EQ(g.Text(1, 4), "");
}

TEST(Constancy, SmallGroupsShowCountsLargeOnesClasses) {
    // 3 of 4, with classes 1 and 2.
    auto rels = Group(4, 3);
    rels[1][1] = H("x", 20);
    Table t = Build(rels);
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesFive), "３");
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesFiveWithCover), "３ 1-2");
    EXPECT_EQ(Cell(t, ConstancyKind::Counts), "3");
    // 3 of 5: 60 %.
    t = Build(Group(5, 3));
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesFive), "Ⅲ");
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesTen), "３");
    // 1, 2 and 3 of 10.
    const std::vector<std::pair<std::string, std::string>> expected{{"Ⅰ", "Ⅰ"}, {"Ⅰ", "Ⅱ"}, {"Ⅱ", "Ⅲ"}};
    for (int n = 1; n <= 3; ++n) {
        t = Build(Group(10, n));
        EXPECT_EQ(Cell(t, ConstancyKind::ClassesFive), expected[n - 1].first) << n;
        EXPECT_EQ(Cell(t, ConstancyKind::ClassesTen), expected[n - 1].second) << n;
    }
    t = Build(Group(10, 10));
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesTenWithCover), "Ⅹ 1");
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesTen, "y"), "Ⅹ");
    // Ten occurrences in a group below ten relevés cannot happen; nine show the numeral.
    t = Build(Group(9, 9));
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesTen), "９");
}

TEST(Constancy, CoverRangesRankRBelowPlus) {
    const auto range = [](std::initializer_list<LayerCovers> cells) {
        CoverRange r;
        for (const auto& c : cells) r.Add(LayerCode(c));
        return r.Text();
    };
    const LayerCovers plus = Covers({0, 0, 0, 0, 1}), three = Covers({0, 0, 0, 0, 30}), r = Covers({0, 0, 0, 0, 6}),
                      one = Covers({0, 0, 1 * 10}), e = Covers({0, 0, 0, 0, 0, 0, 8}), five = Covers({50}),
                      outside = Covers({7, 7, 7, 7, 7, 7, 7});
    EXPECT_EQ(range({plus}), "+");
    EXPECT_EQ(range({plus, three}), "+-3");
    EXPECT_EQ(range({r}), "r");
    EXPECT_EQ(range({r, one}), "r-1");
    EXPECT_EQ(range({plus, e}), "+-e");
    EXPECT_EQ(range({five}), "5");
    EXPECT_EQ(range({r, five, plus}), "r-5");
    EXPECT_EQ(range({outside}), "");
    // One cell code carries several layers: "1 +" in one cell is a range of its own.
    EXPECT_EQ(range({Covers({10, 0, 0, 0, 1})}), "+-1");

    // A species whose cells hold only blanks shows its class without a range.
    const Table t = Build({{{"x", outside}, H("y", 10)}});
    EXPECT_EQ(Cell(t, ConstancyKind::ClassesFiveWithCover), "１");
}

TEST(Constancy, MeansGroupsAndLabels) {
    EXPECT_EQ(MeanSpeciesText(49, 4), "12.2");
    EXPECT_EQ(MeanSpeciesText(48, 4), "12");
    EXPECT_EQ(MeanSpeciesText(1, 4), "0.2");  // 2.5 tenths go to the even 2
    EXPECT_EQ(MeanSpeciesText(3, 4), "0.8");  // 7.5 tenths go to 8

    // 29 separating columns: 30 groups, the 27th labelled "[".
    std::vector<std::vector<Entry>> rels;
    for (int g = 0; g < 30; ++g) {
        if (g > 0) rels.push_back({});
        rels.push_back({H("a", 10)});
    }
    Table t = Build(rels);
    const FreqTable f = MakeConstancyTable(t, Kind(ConstancyKind::Counts));
    EXPECT_EQ(f.ColCount(), 31);
    EXPECT_EQ(f.Text(27, 0), "[");
    EXPECT_EQ(f.Text(28, 0), "\\");
    EXPECT_EQ(f.Text(30, 0), "^");
    // One more is refused with the count.
    rels.push_back({});
    rels.push_back({H("a", 10)});
    t = Build(rels);
    try {
        MakeConstancyTable(t, Kind(ConstancyKind::Counts));
        FAIL() << "31 groups accepted";
    } catch (const ConstancyRefused& e) {
        EXPECT_NE(std::string(e.what()).find("31"), std::string::npos);
    }
    EXPECT_THROW(MakeConstancyTable(Build({}), Kind(ConstancyKind::Counts)), ConstancyRefused);
}

TEST(Constancy, SizesFollowTheTableFont) {
    Table t = Build({{H("a", 10)}});
    t.FontSize = 9;
    FreqTable g = MakeConstancyTable(t, Kind(ConstancyKind::ClassesFiveWithCover));
    EXPECT_EQ(g.defaultColWidth, 45);
    EXPECT_EQ(g.ColWidth(0), 180);
    EXPECT_EQ(g.ColWidth(1), 45);
    EXPECT_EQ(g.defaultRowHeight, 14);  // 11.997 -> 12, + 2
    g = MakeConstancyTable(t, Kind(ConstancyKind::ClassesFive));
    EXPECT_EQ(g.defaultColWidth, 22);  // 22.5 -> 22
}

}  // namespace
}  // namespace tavik
