#include "output/options.h"

#include <gtest/gtest.h>

#include "core/item_selection.h"
#include "formats/workspace.h"
#include "output/spreadsheet.h"
#include "tests/formats/temp_dir.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

TEST(OutputOptions, StartAsThePanelStarts) {
    Workspace ws;
    ws.Start("");
    Table& t = ws.table;
    for (int i = 0; i < 3; ++i) Put(t, AddReleve(t, {{2, "R"}}), "Sp" + std::to_string(i), Layer(H1, 10));
    t.TableTitle = "ブナ林";
    t.ItemBoxes[3].checked = false;  // unticked last time: ticked again
    ws.settings.frequency = true;
    ws.settings.cvMethod = 4;
    ws.settings.direction = 1;
    const OutputOptions o = OutputOptionsFor(OutputMode::ValueMatrix, t, ws.settings);
    EXPECT_EQ(o.mode, OutputMode::ValueMatrix);
    EXPECT_TRUE(o.items[1] && o.items[2] && o.items[3] && o.items[30]);
    EXPECT_FALSE(o.items[4]);  // no header row
    EXPECT_EQ(o.speciesFrom, 1);
    EXPECT_EQ(o.speciesTo, 3);
    EXPECT_EQ(o.releveTo, 3);
    EXPECT_EQ(o.title, "ブナ林");
    EXPECT_TRUE(o.frequency);
    EXPECT_FALSE(o.onceSpecies);
    EXPECT_EQ(o.method, 4);
    EXPECT_EQ(o.direction, 1);
    // The output font follows the table font until one is chosen.
    EXPECT_EQ(o.fontName, t.FontName);
    EXPECT_EQ(o.fontSize, t.FontSize);
    ws.settings.outputFontName = "IPAGothic";
    ws.settings.outputFontSize = 7;
    const OutputOptions chosen = OutputOptionsFor(OutputMode::Print, t, ws.settings);
    EXPECT_EQ(chosen.fontName, "IPAGothic");
    EXPECT_EQ(chosen.fontSize, 7);
}

TEST(OutputOptions, RangesClampAsTheSpinEditsDo) {
    Table t = TableWithItems({1, 2});
    for (int i = 0; i < 5; ++i) Put(t, AddReleve(t), "Sp" + std::to_string(i), Layer(H1, 10));
    OutputOptions o = AllOf(t);
    o.speciesFrom = -3;
    o.speciesTo = 99;
    o.releveFrom = 4;
    o.releveTo = 2;  // first above last: passed on
    ClampRanges(o, t);
    EXPECT_EQ(o.speciesFrom, 1);
    EXPECT_EQ(o.speciesTo, 5);
    EXPECT_EQ(o.releveFrom, 4);
    EXPECT_EQ(o.releveTo, 2);
    EXPECT_EQ(ClampPosition(0, 0), 1);
    EXPECT_EQ(ClampPosition(7, 5), 5);
}

TEST(OutputOptions, OutputFontIsKeptInTheSettingsFile) {
    TempDir dir;
    Workspace ws;
    ws.Start("");
    ws.settings.outputFontName = "IPAMincho";
    ws.settings.outputFontSize = 8;
    ws.WriteIniFile(dir / "s.ini");
    Workspace again;
    again.Start(dir / "s.ini");
    EXPECT_EQ(again.settings.outputFontName, "IPAMincho");
    EXPECT_EQ(again.settings.outputFontSize, 8);
    // None stored: the table font.
    Workspace fresh;
    fresh.Start("");
    EXPECT_TRUE(fresh.settings.outputFontName.empty());
    EXPECT_EQ(OutputOptionsFor(OutputMode::Print, fresh.table, fresh.settings).fontName, fresh.table.FontName);
}

TEST(OutputFiles, NamesFiltersAndQuestions) {
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::Text), "ブナ林.txt");
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::ValueMatrix), "ブナ林-vm.csv");
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::PCordMatrix), "ブナ林-pcm.csv");
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::SiteData), "ブナ林-plot.csv");
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::GpsPoints), "ブナ林.pot");
    EXPECT_EQ(SuggestedOutputName("ブナ林", OutputFileKind::MeshData), "ブナ林.grd");
    EXPECT_EQ(SuggestedOutputName("a/b", OutputFileKind::Spreadsheet), "a_b.xlsx");
    EXPECT_EQ(SpeciesListPath("/x/t-pcm.csv"), "/x/t-pcm.lst");
    EXPECT_EQ(SaveDialogFilters()[OutputFileRuleOf(OutputFileKind::Spreadsheet).filter - 1].pattern,
              std::string("*.xlsx"));
    EXPECT_TRUE(OutputFileRuleOf(OutputFileKind::Text).askBeforeOverwrite);
    EXPECT_FALSE(OutputFileRuleOf(OutputFileKind::GpsPoints).askBeforeOverwrite);
    EXPECT_STREQ(OutputFileRuleOf(OutputFileKind::MeshData).defaultSuffix, "");
}

TEST(ItemConfiguration, TickedItemsGetRowsInItemOrder) {
    Table t = TableWithItems({1, 2, 3, 8});
    std::array<bool, kItemCount + 1> ticked{};
    ticked[7] = ticked[2] = ticked[30] = true;  // item 1 stays although unticked
    ApplyItemSelection(t, ticked);
    EXPECT_EQ(t.HeaderRowOfItem(1), 1);
    EXPECT_EQ(t.HeaderRowOfItem(2), 2);
    EXPECT_EQ(t.HeaderRowOfItem(7), 3);
    EXPECT_EQ(t.HeaderRowOfItem(30), 4);
    EXPECT_EQ(t.HeaderRowOfItem(3), 0);
    EXPECT_EQ(t.FNRow(), 5);
}

TEST(Spreadsheet, PlainDecimalNumbers) {
    double v = 0;
    EXPECT_TRUE(PlainDecimalNumber("  50", v));
    EXPECT_EQ(v, 50);
    EXPECT_TRUE(PlainDecimalNumber("-150", v));
    EXPECT_TRUE(PlainDecimalNumber("12.5", v));
    EXPECT_EQ(v, 12.5);
    EXPECT_TRUE(PlainDecimalNumber("0", v));
    for (const char* text : {"0012", "12.50", "1 2", "", "  ", "+5", "5.", ".5", "-0", "1e3", "R-01", "１２"})
        EXPECT_FALSE(PlainDecimalNumber(text, v)) << text;
}

}  // namespace
}  // namespace tavik
