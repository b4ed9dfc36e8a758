#include "formats/fidelity_csv.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(FidelityCsv, OneLinePerSpeciesWithBlanksWhereThereIsNoValue) {
    // Groups of 4 and 4: a species only in A, one everywhere, one with a comma in its name.
    const auto r = ComputeFidelity({4, 4}, {4, 0, 4, 4, 3, 1}, FidelityOptions{});
    const std::string csv = FidelityCsvLines(r, {"ブナ", "ササ", "Carex, sp."}, {"A", "B"});
    EXPECT_EQ(csv,
              "植物名,A 出現数/4,A φ×100,A p,B 出現数/4,B φ×100,B p,φ最大の群,診断種の群\r\n"
              "ブナ,4,100.0,0.0143,0,-100.0,1,A,A\r\n"
              "ササ,4,,,4,,,,\r\n"
              "\"Carex, sp.\",3,50.0,0.243,1,-50.0,0.986,A,\r\n");
}

TEST(FidelityCsv, WithoutTheTestNoPIsWritten) {
    FidelityOptions o;
    o.alpha.reset();
    o.equalize = false;
    const auto r = ComputeFidelity({4, 4}, {3, 1}, o);
    EXPECT_EQ(FidelityCsvLines(r, {"\"Q\""}, {"A", "B"}),
              "植物名,A 出現数/4,A φ×100,A p,B 出現数/4,B φ×100,B p,φ最大の群,診断種の群\r\n"
              "\"\"\"Q\"\"\",3,50.0,,1,-50.0,,A,A\r\n");
}

TEST(FidelityCsv, NumberTexts) {
    EXPECT_EQ(PhiCsvText(0.62449), "62.4");
    EXPECT_EQ(PhiCsvText(-0.0001), "0.0");
    EXPECT_EQ(PValueText(1.0 / 70), "0.0143");
    EXPECT_EQ(PValueText(1.51811569195858e-19), "1.52e-19");
    EXPECT_EQ(PValueText(1.0), "1");
}

}  // namespace
}  // namespace tavik

#include "core/table_fidelity.h"
#include "formats/freq_table_files.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {

TEST(FidelityCsv, PrintedAndCopiedSynopticTablesKeepPhi) {
    const Table t = testing::MakeTable(
        {{"a", "c"}, {"a", "c"}, {"a", "c"}, {"a", "c"}, {}, {"b", "c"}, {"b", "c"}, {"b", "c"}, {"b", "c"}});
    const FreqTable s = MakeSynopticTable(t, ConstancyOptions{}, FidelityOptions{});
    // a: "４ <range> │100" is wider than the 7 cells of a plain constancy table.
    const auto lines = FreqTablePrintLines(s, true);
    ASSERT_GE(lines.size(), 5u);
    EXPECT_NE(lines[4].find("│100"), std::string::npos) << lines[4];
    EXPECT_NE(FreqTableClipboardText(s).find("│100"), std::string::npos);
}

TEST(FidelityCsv, SynopticCsvHasPhiInColumnsOfItsOwnAndReadsBack) {
    const Table t = testing::MakeTable(
        {{"a", "c"}, {"a", "c"}, {"a", "c"}, {"a", "c"}, {}, {"b", "c"}, {"b", "c"}, {"b", "c"}, {"b", "c"}});
    const FreqTable s = MakeSynopticTable(t, ConstancyOptions{}, FidelityOptions{});
    const std::string csv = FreqTableCsvLines(s);
    EXPECT_EQ(csv.find("│"), std::string::npos) << csv;
    // The plain CSV reader takes the layout as it is: name, two classes, two phi, groups.
    FreqTable back;
    ReadFreqTableCsvBytes(csv, "s.csv", back);
    ASSERT_EQ(back.ColCount(), 6);
    EXPECT_EQ(back.Text(1, 0), "A");
    EXPECT_EQ(back.Text(3, 0), "A φ×100");
    EXPECT_EQ(back.Text(4, 0), "B φ×100");
    EXPECT_EQ(back.Text(5, 0), "診断種の群");
    EXPECT_EQ(back.Text(1, 1), "4");  // relevés of group A
    EXPECT_EQ(back.Text(3, 1), "");
    const auto row = [&](const std::string& name) {
        for (int r = 3; r < back.RowCount(); ++r)
            if (back.Text(0, r) == name) return r;
        ADD_FAILURE() << name;
        return 0;
    };
    const int a = row("a"), b = row("b"), c = row("c");
    EXPECT_EQ(back.Text(3, a), "100");
    EXPECT_EQ(back.Text(4, a), "");  // absent from B: no phi
    EXPECT_EQ(back.Text(5, a), "A");
    EXPECT_EQ(back.Text(4, b), "100");
    EXPECT_EQ(back.Text(5, b), "B");
    EXPECT_EQ(back.Text(3, c), "");  // in every relevé: phi has no value
    EXPECT_EQ(back.Text(5, c), "");
    EXPECT_EQ(back.Text(2, c).find("│"), std::string::npos);
    EXPECT_FALSE(back.Text(2, c).empty());
}

}  // namespace
}  // namespace tavik
