#include "output/text_layout.h"

#include <gtest/gtest.h>

#include "core/cp932_width.h"
#include "output/output_file.h"
#include "tests/formats/temp_dir.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

// The documented example: two relevés, two species, items 1, 2, 8 and 30.
Table ExampleTable() {
    Table t = TableWithItems({1, 2, 8, 30});
    t.TableTitle = "Test";
    // Item 30 holds what the field data said; the layout shows the species counted instead.
    const int r1 = AddReleve(t, {{2, "SITEA-01"}, {8, "50"}, {30, "9"}});
    const int r2 = AddReleve(t, {{2, "SITEB-02"}, {8, "120"}, {30, "9"}});
    Put(t, r1, "Sp-A", Layer(H1, 23));
    Put(t, r2, "Sp-A", Layer(H1, 1));
    Put(t, r1, "Sp-B", Layer(T1, 30));
    Put(t, r2, "Sp-B", Layer(H1, 10));
    t.Recount();
    return t;
}

TEST(TextOutput, DocumentedExampleByteForByte) {
    Table t = ExampleTable();
    OutputOptions o = AllOf(t);
    o.frequency = true;
    TempDir dir;
    WriteTextTable(t, o, dir / "Test.txt");
    EXPECT_EQ(ReadBytes(dir / "Test.txt"), ReadBytes(DataPath("text_example.txt")));
}

// A table of n relevés, each with the same two species, so that every species is shown.
Table Wide(int n) {
    Table t = TableWithItems({1, 2, 30});
    t.TableTitle = "広い表";
    for (int i = 1; i <= n; ++i) {
        const int q = AddReleve(t, {{2, "R" + std::to_string(i)}});
        Put(t, q, "Sp-A", Layer(H1, 10));
        Put(t, q, "Sp-B", Layer(T1, 20));
    }
    t.Recount();
    return t;
}

std::vector<std::string> Layout(const Table& t, const OutputOptions& o, int w = kTextFileBlockWidth) {
    LineList lines;
    PrintTable(t, o, w, lines);
    return lines.lines;
}

int Count(const std::vector<std::string>& lines, const std::string& what) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), what));
}

TEST(TextOutput, FortySixRelevesMakeOneBlockFortySevenTwo) {
    {
        Table t = Wide(46);
        const auto lines = Layout(t, AllOf(t));
        EXPECT_EQ(Count(lines, "\f"), 0);
        EXPECT_EQ(Count(lines, "続き"), 0);
        EXPECT_EQ(Cp932Width(lines[2]), 46 * 5 + 32);  // the rule
    }
    Table t = Wide(47);
    const auto lines = Layout(t, AllOf(t));
    ASSERT_EQ(Count(lines, "\f"), 1);
    const auto ff = std::find(lines.begin(), lines.end(), "\f");
    // The second block: an empty line, "続き", a rule of one column, the serial number 47.
    ASSERT_GT(lines.end() - ff, 5);
    EXPECT_EQ(ff[1], "");
    EXPECT_EQ(ff[2], "続き");
    EXPECT_EQ(ff[3], "──");  // 5 bytes, two and a half rules: halves to even
    EXPECT_EQ(ff[4], "   47");
}

TEST(TextOutput, BlocksLineUpSpeciesBySpecies) {
    Table t = Wide(60);
    const auto lines = Layout(t, AllOf(t));
    const auto ff = std::find(lines.begin(), lines.end(), "\f");
    ASSERT_NE(ff, lines.end());
    const std::vector<std::string> first(lines.begin(), ff), second(ff + 1, lines.end());
    EXPECT_EQ(first.size(), second.size());
    // Later blocks carry no caption column.
    EXPECT_EQ(second[3].substr(0, 10), "   47   48");
    EXPECT_EQ(second[5].substr(0, 10), " R47  R48 ");
}

TEST(TextOutput, OnceSpeciesOnlyInTheList) {
    Table t = TableWithItems({1, 2});
    const int r1 = AddReleve(t, {{2, "A"}});
    const int r2 = AddReleve(t, {{2, "B"}});
    const int r3 = AddReleve(t, {{2, "C"}});
    for (int q : {r1, r2, r3}) Put(t, q, "Common", Layer(H1, 10));
    Put(t, r3, "Sp-A", Layer(H1, 2));
    Put(t, r3, "Sp-B", Layers({0, 0, 0, 0, 10, 0, 1}));
    OutputOptions o = AllOf(t);
    for (const auto& l : Layout(t, o)) EXPECT_EQ(l.find("Sp-A"), std::string::npos) << l;
    o.onceSpecies = true;
    const auto lines = Layout(t, o);
    const auto head = std::find(lines.begin(), lines.end(), "出現回数１回の種");
    ASSERT_NE(head, lines.end());
    EXPECT_EQ(head[1], "No.3, Sp-A H1:+.2, Sp-B H1:1  M:+.");
    EXPECT_EQ(head[2], "");
    EXPECT_TRUE(head[-1].starts_with("─"));  // after the first block's closing rule
}

TEST(TextOutput, CommentRowsAndLayerLines) {
    Table t = Wide(50);
    Put(t, 1, "Sp-C", Layers({20, 0, 0, 0, 10, 0, 0}));
    Put(t, 2, "Sp-C", Layer(H1, 1));
    const int row = t.FNRow() + t.SpeciesCount() + 1;
    ASSERT_TRUE(t.InsertRow(row));
    ASSERT_TRUE(t.SetComment(row, "＜草本層の種群＞"));
    t.Recount();
    const auto lines = Layout(t, AllOf(t));
    const auto ff = std::find(lines.begin(), lines.end(), "\f");
    const std::vector<std::string> first(lines.begin(), ff), second(ff + 1, lines.end());
    // The comment in the first block, an empty line in the second.
    const auto c = std::find(first.begin(), first.end(), "＜草本層の種群＞");
    ASSERT_NE(c, first.end());
    EXPECT_EQ(second[static_cast<std::size_t>(c - first.begin())], "");
    // Sp-C: T1 and H1 lines, the name on the first only.
    const auto sp =
        std::find_if(first.begin(), first.end(), [](const std::string& l) { return l.starts_with("Sp-C"); });
    ASSERT_NE(sp, first.end());
    EXPECT_EQ(sp->substr(28, 4), " T1:");
    EXPECT_EQ(sp[1].substr(0, 32), std::string(28, ' ') + " H1:");
    EXPECT_EQ(sp->substr(32, 10), "   2    . ");
    EXPECT_EQ(sp[1].substr(32, 10), "   1    + ");
}

TEST(TextOutput, FrequencyRoundsHalvesToEven) {
    Table t = TableWithItems({1});
    for (int i = 0; i < 8; ++i) {
        const int q = AddReleve(t);
        Put(t, q, "Filler", Layer(H1, 10));
        if (i < 3) Put(t, q, "Three", Layer(H1, 10));
        if (i < 5) Put(t, q, "Five", Layer(H1, 10));
    }
    OutputOptions o = AllOf(t);
    o.frequency = true;
    const auto lines = Layout(t, o);
    const auto line = [&](const std::string& name) {
        return *std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(name); });
    };
    EXPECT_TRUE(line("Three").ends_with("   38"));
    EXPECT_TRUE(line("Five").ends_with("   62"));
    EXPECT_TRUE(line("Filler").ends_with("  100"));
}

// Three groups of relevés, separated by two empty columns; species that reach into one
// group only, and one that occurs once.
Table Grouped() {
    Table t = TableWithItems({1, 2});
    const auto add = [&](const std::string& name, std::initializer_list<const char*> species) {
        const int q = AddReleve(t, {{2, name}});
        for (const char* sp : species) Put(t, q, sp, Layer(H1, 10));
    };
    add("A1", {"Common", "OnlyA"});
    add("A2", {"Common", "OnlyA"});
    AddReleve(t);  // separator
    add("B1", {"Common", "OnlyB"});
    add("B2", {"Common", "OnlyB", "OnceB"});
    add("B3", {"Common"});
    AddReleve(t);  // separator
    add("C1", {"OnlyC"});
    add("C2", {"OnlyC", "OnceC"});
    t.Recount();
    return t;
}

TEST(TextOutput, SeparatorsAreNotRelevés) {
    Table t = Grouped();
    OutputOptions o = AllOf(t);
    o.frequency = true;
    const auto lines = Layout(t, o);
    const auto line = [&](const std::string& name) {
        const auto it =
            std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.starts_with(name); });
        return it == lines.end() ? std::string() : *it;
    };
    // 5 of 7 relevés, not of 9 columns; 2 of 7.
    EXPECT_TRUE(line("Common").ends_with("   71")) << line("Common");
    EXPECT_TRUE(line("OnlyA").ends_with("   29")) << line("OnlyA");
    // The serial numbers skip the separators: 1 2 _ 3 4 5 _ 6 7.
    const auto afterCaption = [](const std::string& l) { return l.substr(Cp932Cut(l, 32).size()); };
    EXPECT_EQ(afterCaption(lines[3]), "    1    2         3    4    5         6    7");
    EXPECT_EQ(OnceSpeciesLeftOut(t, o), 2);
    EXPECT_FALSE(FrequencyLeftOut(t, o));
}

TEST(TextOutput, PartialRangeHasNoEmptyLinesAndCountsItsOwnRelevés) {
    Table t = Grouped();
    OutputOptions o = AllOf(t);
    o.frequency = true;
    o.onceSpecies = true;
    o.releveFrom = 3;  // the separator and group B
    o.releveTo = 6;
    const auto lines = Layout(t, o);
    // Serial numbers go on from the relevés before the range.
    EXPECT_EQ(lines[3].substr(Cp932Cut(lines[3], 32).size()), "         3    4    5");
    const auto rules =
        std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("─"); });
    EXPECT_EQ(rules, 4);
    // Between the third and the fourth rule: only the species of group B, each with its
    // share of the range's three relevés.
    std::vector<std::string> body;
    int seen = 0;
    for (const auto& l : lines) {
        if (l.starts_with("─")) ++seen;
        else if (seen == 3) body.push_back(l);
    }
    ASSERT_EQ(body.size(), 2u);
    EXPECT_TRUE(body[0].starts_with("Common") && body[0].ends_with("  100")) << body[0];
    EXPECT_TRUE(body[1].starts_with("OnlyB") && body[1].ends_with("   67")) << body[1];
    // The list of species that occur once holds only the range's relevés.
    const auto head = std::find(lines.begin(), lines.end(), "出現回数１回の種");
    ASSERT_NE(head, lines.end());
    EXPECT_EQ(head[1], "No.4, OnceB H1:1.");
    EXPECT_EQ(head[2], "");

    // A range of a separator alone: no relevé to count, no frequency, and the front end is
    // told so.
    o.releveFrom = o.releveTo = 3;
    EXPECT_TRUE(FrequencyLeftOut(t, o));
    for (const auto& l : Layout(t, o)) EXPECT_FALSE(l.starts_with("Common")) << l;
    o.onceSpecies = false;
    o.releveFrom = 7;
    o.releveTo = 9;
    EXPECT_EQ(OnceSpeciesLeftOut(t, o), 1);  // OnceC; OnceB lies outside
}

TEST(TextOutput, UntickedItemStillAdvancesTheRows) {
    Table t = TableWithItems({1, 2, 3, 8, 9});
    const int q = AddReleve(t, {{2, "R1"}, {3, "月山"}, {8, "1160"}, {9, "45"}});
    Put(t, q, "X", Layer(H1, 10));
    const int q2 = AddReleve(t, {{2, "R2"}});
    Put(t, q2, "X", Layer(H1, 10));
    OutputOptions o = AllOf(t);
    o.items[3] = false;
    o.items[8] = false;
    const auto lines = Layout(t, o);
    const auto aspect =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("傾斜方位"); });
    ASSERT_NE(aspect, lines.end());
    EXPECT_TRUE(aspect->ends_with("傾斜方位" + std::string(24, ' ') + "   45     ")) << *aspect;
    for (const auto& l : lines) EXPECT_FALSE(l.starts_with("調査地名"));
}

TEST(TextOutput, DoubleByteCharactersAreNeverSplit) {
    Table t = TableWithItems({1, 2, 3});
    // A site name whose fourth byte would be the first half of a character, and a species
    // name whose 28th byte would be.
    const int q = AddReleve(t, {{2, "R1"}, {3, "a月山cd"}});
    const std::string longName = std::string(27, 'x') + "山";
    Put(t, q, longName, Layer(H1, 10));
    const int q2 = AddReleve(t, {{2, "R2"}});
    Put(t, q2, longName, Layer(H1, 10));
    const auto lines = Layout(t, AllOf(t));
    const auto site =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("調査地名"); });
    ASSERT_NE(site, lines.end());
    EXPECT_EQ(*site, "調査地名" + std::string(24, ' ') + " a月      ");
    EXPECT_EQ(site[1].substr(32), " 山cd     ");
    const auto sp = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.starts_with("xxx"); });
    ASSERT_NE(sp, lines.end());
    EXPECT_EQ(sp->substr(0, 32), std::string(27, 'x') + "  H1:");
    // Every line of the table keeps its width: 32 + 2 x 5 bytes.
    for (std::size_t i = 2; i < lines.size(); ++i) EXPECT_EQ(Cp932Width(lines[i]), 42) << lines[i];
}

TEST(TextOutput, FirstAboveLastWritesHeadingsOnly) {
    Table t = Wide(5);
    OutputOptions o = AllOf(t);
    o.releveFrom = 4;
    o.releveTo = 2;
    o.frequency = true;
    const auto lines = Layout(t, o);
    EXPECT_EQ(Count(lines, "\f"), 0);
    EXPECT_EQ(lines[1], "広い表");
    EXPECT_EQ(Cp932Width(lines[3]), 32);  // the serial line: the caption alone
}

TEST(TextOutput, TitleLongerThanTheRuleIsWrittenInFull) {
    Table t = Wide(1);
    OutputOptions o = AllOf(t);
    o.title = std::string(200, 'T');
    EXPECT_EQ(Layout(t, o)[1], o.title);
}

TEST(TextOutput, PercentNeverDividesByZero) {
    EXPECT_EQ(Percent(3, 8), 38);
    EXPECT_EQ(Percent(5, 8), 62);
    EXPECT_EQ(Percent(1, 8), 12);
    EXPECT_EQ(Percent(2, 0), 0);
}

TEST(TextOutputFile, ExistingFileKeptWhenTheOutputFails) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    WriteBytes(path, "old");
    EXPECT_THROW(WriteTextOutput(path,
                                 [](LineSink& s) {
                                     s.Line("half");
                                     throw std::runtime_error("stop");
                                 }),
                 std::runtime_error);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TextOutputFile, Cp932OrElseUtf8WithBom) {
    TempDir dir;
    WriteTextOutput(dir / "a.txt", [](LineSink& s) { s.Line("ブナ"); });
    EXPECT_EQ(ReadBytes(dir / "a.txt"), "\x83\x75\x83\x69\r\n");
    // A character without a CP932 form: the whole file goes out in UTF-8 with a BOM.
    WriteTextOutput(dir / "b.txt", [](LineSink& s) {
        s.Line("ブナ");
        s.Line("\xF0\x9F\x8C\xB2");  // U+1F332
    });
    EXPECT_EQ(ReadBytes(dir / "b.txt"),
              "\xEF\xBB\xBF"
              "ブナ\r\n\xF0\x9F\x8C\xB2\r\n");
}

}  // namespace
}  // namespace tavik
