#include "output/print_layout.h"
#include "output/text_layout.h"

#include <gtest/gtest.h>

#include "core/cp932_width.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

Table Wide(int n) {
    Table t = TableWithItems({1, 2, 8, 30});
    t.TableTitle = "印刷";
    for (int i = 1; i <= n; ++i) {
        const int q = AddReleve(t, {{2, "R" + std::to_string(i)}, {8, std::to_string(100 + i)}});
        Put(t, q, "Sp-A", Layer(H1, 10));
        Put(t, q, "Sp-B", Layer(T1, 20));
    }
    t.Recount();
    return t;
}

// The serial numbers of each block, read from the line after the first rule of a block
// (the first block's caption column left out).
std::vector<std::vector<int>> Blocks(const std::vector<std::string>& lines, int columnWidth) {
    std::vector<std::vector<int>> blocks;
    for (std::size_t i = 0; i + 3 < lines.size(); ++i) {
        if (!(lines[i].empty() && (i == 0 || lines[i - 1] == "\f"))) continue;
        std::string serial = lines[i + 3];
        if (blocks.empty()) serial = serial.substr(Cp932Cut(serial, 32).size());
        std::vector<int> cols;
        for (std::size_t k = 0; k + static_cast<std::size_t>(columnWidth) <= serial.size();
             k += static_cast<std::size_t>(columnWidth))
            cols.push_back(std::stoi(serial.substr(k, static_cast<std::size_t>(columnWidth))));
        blocks.push_back(cols);
    }
    return blocks;
}

TEST(FullPrint, EightyColumnsGiveSeventyThreeThenSeventyNine) {
    Table t = Wide(200);
    OutputOptions o = AllOf(t);
    LineList lines;
    TextFileDevice device(lines, 80 * 5);
    EXPECT_EQ(FullPrintColumns(device), 80);
    PrintFull(t, o, device);
    const auto blocks = Blocks(lines.lines, 5);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 73u);
    EXPECT_EQ(blocks[1].size(), 79u);
    EXPECT_EQ(blocks[2].size(), 200u - 73u - 79u);
    EXPECT_EQ(blocks[1].front(), 74);
    // 5N - 3 bytes in the first block, 5N - 5 in the others: within the page.
    for (const auto& l : lines.lines) EXPECT_LE(Cp932Width(l), 80 * 5) << l;
}

TEST(SimplePrint, HundredTwentyColumnsGiveHundredThreeThenHundredNineteen) {
    Table t = Wide(300);
    OutputOptions o = AllOf(t);
    LineList lines;
    TextFileDevice device(lines, 120 * 2);
    EXPECT_EQ(SimplePrintColumns(device), 120);
    PrintSimple(t, o, device);
    const auto blocks = Blocks(lines.lines, 2);
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].size(), 103u);
    EXPECT_EQ(blocks[1].size(), 119u);
    EXPECT_EQ(blocks[2].size(), 300u - 103u - 119u);
}

// Every line of every block within the page, for pages of many widths: the caption column,
// the frequency column and names of double-byte characters counted in.
TEST(Print, NoLineIsWiderThanThePage) {
    Table t = Wide(157);
    const int q = AddReleve(t, {{2, "長い測定番号"}});
    Put(t, q, "ブナ－チシマザサ群集の標徴種として長い名前", Layer(H1, 10));
    Put(t, q, "Sp-A", Layer(S1, 20));
    t.Recount();
    OutputOptions o = AllOf(t);
    o.frequency = true;
    for (int columns : {9, 10, 17, 18, 29, 40, 56, 81, 113}) {
        for (bool simple : {false, true}) {
            if (simple && columns < 18) continue;
            LineList lines;
            TextFileDevice device(lines, columns * (simple ? 2 : 5));
            if (simple) PrintSimple(t, o, device);
            else PrintFull(t, o, device);
            int blocks = 1, freq = 0;
            for (const auto& l : lines.lines) {
                if (l == "\f") ++blocks;
                if (!simple && l.ends_with("  100")) ++freq;
                EXPECT_LE(Cp932Width(l), device.PageWidth()) << columns << (simple ? " simple: " : " full: ") << l;
            }
            EXPECT_GT(blocks, 1) << columns;
            if (!simple) {
                EXPECT_GE(freq, 1) << columns;  // the frequency column is printed, not lost
            }
        }
    }
}

TEST(SimplePrint, BlockLayout) {
    Table t = TableWithItems({1, 2});
    t.TableTitle = "簡易";
    const int q1 = AddReleve(t, {{2, "SITEA-01"}});
    const int q2 = AddReleve(t, {{2, "R2"}});
    Put(t, q1, "Sp-A", Layers({0, 20, 1, 0, 8, 0, 0}));
    Put(t, q2, "Sp-A", Layer(S1, 6));
    Put(t, q2, "Sp-B", Layers({0, 30, 0, 0, 1, 0, 0}));
    const int row = t.FNRow() + t.SpeciesCount() + 1;
    ASSERT_TRUE(t.InsertRow(row));
    ASSERT_TRUE(t.SetComment(row, "コメント"));
    OutputOptions o = AllOf(t);
    LineList lines;
    TextFileDevice device(lines, 100);
    PrintSimple(t, o, device);
    const std::string pad32(32, ' ');
    const std::vector<std::string> expected = {
        "",
        "簡易",
        "──────────────────",
        "表の通し番号" + std::string(20, ' ') + " 1 2",
        "──────────────────",
        "測定番号" + std::string(24, ' ') + "SIR2",
        pad32 + "TE  ",
        pad32 + "A-  ",
        pad32 + "01  ",
        "──────────────────",
        "Sp-A" + std::string(28, ' ') + " e +",
        "Sp-B" + std::string(28, ' ') + " ･ 3",
        "コメント" + std::string(24, ' ') + " ･ ･",
        "──────────────────",
    };
    EXPECT_EQ(lines.lines, expected);
}

TEST(SimplePrint, CellCharacters) {
    // 2 in T2, + in the shrub group and e in the herb group: e.
    EXPECT_EQ(SimpleCellCharacter(LayerCode(Layers({0, 20, 1, 0, 8, 0, 0}))), "e");
    // 3 in T2 and + in the herb group: 3.
    EXPECT_EQ(SimpleCellCharacter(LayerCode(Layers({0, 30, 0, 0, 1, 0, 0}))), "3");
    // Only r: +.
    EXPECT_EQ(SimpleCellCharacter(LayerCode(Layer(H1, 6))), "+");
    // Empty, and blanks only: the half-width middle dot.
    EXPECT_EQ(SimpleCellCharacter(""), "･");
    EXPECT_EQ(SimpleCellCharacter("    "), "･");
    // A text with double-byte characters never prints half of one.
    EXPECT_EQ(SimpleCellCharacter("山2"), "2");
}

TEST(Print, PageTooNarrowPrintsNothing) {
    Table t = Wide(3);
    LineList lines;
    TextFileDevice full(lines, 7 * 5 + 4);  // not one relevé beside the caption column
    EXPECT_THROW(PrintFull(t, AllOf(t), full, nullptr), PageTooNarrow);
    TextFileDevice simple(lines, 16 * 2 + 1);
    EXPECT_THROW(PrintSimple(t, AllOf(t), simple, nullptr), PageTooNarrow);
    EXPECT_TRUE(lines.lines.empty());
}

TEST(FullPrint, SameLayoutAsTheTextFile) {
    Table t = Wide(10);
    OutputOptions o = AllOf(t);
    o.frequency = true;
    LineList printed;
    TextFileDevice device(printed, 60 * 5);
    PrintFull(t, o, device);
    LineList text;
    PrintTable(t, o, 60 - 8, text);
    EXPECT_EQ(printed.lines, text.lines);
}

}  // namespace
}  // namespace tavik
