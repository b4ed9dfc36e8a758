#include "output/matrix.h"

#include <gtest/gtest.h>

#include "output/options.h"
#include "tests/formats/temp_dir.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

// Three relevés, the second empty; Sp-A in R1 only, Sp-B in both, and a comment row.
Table Small() {
    Table t = TableWithItems({1, 2});
    const int r1 = AddReleve(t, {{2, "R1"}});
    AddReleve(t, {{2, "R2"}});
    const int r3 = AddReleve(t, {{2, "R3"}});
    Put(t, r1, " Sp-A ", Layers({0, 0, 0, 0, 1, 0, 0}));
    Put(t, r1, "Sp-B", Layer(T1, 50));
    Put(t, r3, "Sp-B", Layers({0, 0, 0, 0, 32, 0, 6}));
    const int row = t.FNRow() + t.SpeciesCount() + 1;
    EXPECT_TRUE(t.InsertRow(row));
    EXPECT_TRUE(t.SetComment(row, "comment"));
    t.Recount();
    return t;
}

std::vector<std::string> Matrix(const Table& t, const OutputOptions& o) {
    LineList lines;
    ValueMatrix(t, o, lines);
    return lines.lines;
}

TEST(ValueMatrix, RowsAreSpeciesPresenceExample) {
    Table t = Small();
    OutputOptions o = AllOf(t);
    o.method = 6;
    EXPECT_EQ(Matrix(t, o), (std::vector<std::string>{",R1,R3", "\"Sp-A\",1,0", "\"Sp-B\",1,1"}));
}

TEST(ValueMatrix, RowsAreRelevés) {
    Table t = Small();
    OutputOptions o = AllOf(t);
    o.direction = 1;
    o.method = 0;  // class values summed: 3 + r is 3.1, shown as its whole part from 1 on
    EXPECT_EQ(Matrix(t, o), (std::vector<std::string>{",\"Sp-A\",\"Sp-B\"", "R1,0.1,5", "R3,0,3"}));
    // A species without cells inside the range leaves the heading and the lines.
    o.releveFrom = o.releveTo = 3;
    o.method = 6;
    EXPECT_EQ(Matrix(t, o), (std::vector<std::string>{",\"Sp-A\",\"Sp-B\"", "R3,0,1"}));
}

TEST(ValueMatrix, Methods) {
    Table t = Small();
    OutputOptions o = AllOf(t);
    o.method = 2;
    // Class 5 in T1 is 875; 3.2 in H1 with r in M: 375 + 1.
    EXPECT_EQ(Matrix(t, o)[2], "\"Sp-B\",875,376");
    o.method = 5;
    EXPECT_EQ(Matrix(t, o)[1], "\"Sp-A\",+,0");
    o.method = 1;
    EXPECT_EQ(Matrix(t, o)[2], "\"Sp-B\",8,5");
}

TEST(ValueMatrix, EveryLineHasTheFieldsOfTheHeading) {
    Table t = TableWithItems({1, 2});
    for (int i = 0; i < 40; ++i) {
        const int q = AddReleve(t, {{2, "Q" + std::to_string(i)}});
        for (int k = 0; k < 30; ++k)
            if ((i * 7 + k * 3) % 5 == 0) Put(t, q, "S" + std::to_string(k), Layer(H1, 10 + k % 6));
    }
    for (int dir : {0, 1}) {
        OutputOptions o = AllOf(t);
        o.direction = dir;
        const auto lines = Matrix(t, o);
        const auto fields = [](const std::string& s) { return std::count(s.begin(), s.end(), ',') + 1; };
        for (const auto& l : lines) EXPECT_EQ(fields(l), fields(lines[0])) << l;
    }
}

TEST(PCord, AbbreviationsMadeUniqueInSpeciesOrder) {
    Table t = TableWithItems({1, 2});
    const int q = AddReleve(t, {{2, "R1"}});
    for (const char* name : {"Carex sp1", "Quercus crispula", "Carex spp", "Carex species", "Quercus serrata"})
        Put(t, q, name, Layer(H1, 10));
    OutputOptions o = AllOf(t);
    const auto abbr = SpeciesAbbreviations(t, o);
    EXPECT_EQ(abbr, (std::vector<std::string>{"", "Carex sp", "Quercus ", "Carex  2", "Carex  3", "Quercu 2"}));
}

TEST(PCord, MatrixAndSpeciesList) {
    Table t = Small();
    OutputOptions o = AllOf(t);
    o.method = 6;
    TempDir dir;
    WritePCordMatrix(t, o, dir / "t-pcm.csv");
    EXPECT_EQ(ReadBytes(dir / "t-pcm.csv"), "2,Releve,\r\n2,Species,\r\n,Q,Q\r\n, Sp-A ,Sp-B\r\nR1,1,1\r\nR3,0,1\r\n");
    // Every species of the table, the comment row too.
    EXPECT_EQ(ReadBytes(dir / "t-pcm.lst"), " Sp-A   Sp-A \r\nSp-B Sp-B\r\ncomment comment\r\n");
}

TEST(PCord, OneSpeciesAndTheListOfANarrowRange) {
    Table t = TableWithItems({1, 2});
    const int q = AddReleve(t, {{2, "R1"}});
    for (int i = 1; i <= 40; ++i) Put(t, q, "Species" + std::to_string(i), Layer(H1, 10));
    OutputOptions o = AllOf(t);
    o.speciesFrom = o.speciesTo = 5;
    LineList m;
    const auto abbr = SpeciesAbbreviations(t, o);
    PCordMatrix(t, o, abbr, m);
    EXPECT_EQ(m.lines[0], "1,Releve");
    EXPECT_EQ(m.lines[1], "1,Species");
    EXPECT_EQ(m.lines[2], ",Q");
    o.speciesFrom = 10;
    o.speciesTo = 20;
    LineList list;
    PCordSpeciesList(t, SpeciesAbbreviations(t, o), list);
    ASSERT_EQ(list.lines.size(), 40u);
    for (int s = 1; s <= 40; ++s)
        EXPECT_EQ(list.lines[static_cast<std::size_t>(s - 1)].starts_with(" "), s < 10 || s > 20) << s;
}

TEST(PCord, AbbreviationNeverSplitsACharacter) {
    Table t = TableWithItems({1, 2});
    const int q = AddReleve(t, {{2, "R1"}});
    Put(t, q, "abcミズナラ", Layer(H1, 10));  // the 8th byte is the first half of ナ
    OutputOptions o = AllOf(t);
    EXPECT_EQ(SpeciesAbbreviations(t, o)[1], "abcミズ ");
}

}  // namespace
}  // namespace tavik
