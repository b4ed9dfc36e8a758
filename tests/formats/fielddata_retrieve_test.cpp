// Retrieval from the example and dune field data into a table, through the workspace, checked
// against values read off the listings beside the pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "formats/fielddata.h"
#include "formats/workspace.h"
#include "tests/formats/temp_dir.h"
#include "tests/test_files.h"

namespace tavik {
namespace {

using testing::TestData;

int RowOf(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return -1;
}

int ColOf(const Table& t, const std::string& releveNumber) {
    for (int q = 1; q <= t.ReleveCount(); ++q)
        if (t.Text(q + 3, 2) == releveNumber) return q + 3;
    return -1;
}

class Retrieve : public ::testing::Test {
protected:
    void Open(const std::string& name, const std::string& dict) {
        ws.Start("");
        ASSERT_TRUE(ws.SetDictionary(TestData(name + "/" + dict)));
        ws.SetDataFile(TestData(name + "/" + name + ".tki"));
        ws.OpenRetrieval();
    }
    int ScanCount(std::vector<SpeciesCondition> conds, const std::string& mesh = "") {
        ScanParams p;
        std::copy(conds.begin(), conds.end(), p.conditions.begin());
        p.meshPrefix = mesh;
        return ws.Scan(p).hits;
    }
    void PutAll() {
        ScanParams p;
        ws.Scan(p);
        const PutResult r = ws.PutIntoTable();
        EXPECT_TRUE(r.skipped.empty());
        EXPECT_TRUE(r.notPlaced.empty());
    }
    Workspace ws;
};

TEST_F(Retrieve, DuneMeadows) {
    ASSERT_NO_FATAL_FAILURE(Open("dune", "dune.dic"));
    EXPECT_EQ(ws.releveRecordCount, 20);
    EXPECT_EQ(ws.table.TableTitle, "Dune meadows");
    // Items 1-8, 10-15, 20, 27 and 30 are carried by the data: 17 header rows.
    EXPECT_EQ(ws.table.FNRow(), 18);
    EXPECT_EQ(ws.table.Text(2, 10), "水分");
    PutAll();
    const Table& t = ws.table;
    EXPECT_EQ(t.ReleveCount(), 20);
    EXPECT_EQ(t.SpeciesCount(), 30);
    EXPECT_EQ(ws.ProposedTitle(), "Dune meadows");

    // DUNE01: header values as the listing gives them.
    EXPECT_EQ(t.Text(4, 1), "   1");
    EXPECT_EQ(t.Text(4, 2), "DUNE01");
    EXPECT_EQ(t.Text(4, 3), "Tersch01");
    EXPECT_EQ(t.Text(4, 5), "5324316");  // W mark dropped
    EXPECT_EQ(t.Text(4, 7), "80050298");
    EXPECT_EQ(t.Text(4, 8), "   1");   // altitude
    EXPECT_EQ(t.Text(4, 10), "  M1");  // moisture, item 11
    EXPECT_EQ(t.Text(4, 12), "Hayp");
    EXPECT_EQ(t.Text(4, 13), " 2.8");
    EXPECT_EQ(t.Text(4, 16), "  68");  // H1 cover, item 27
    EXPECT_EQ(t.Text(4, 17), "   5");  // species in the field data
    EXPECT_EQ(t.Text(4, 18), "   5");  // species in the table
    EXPECT_EQ(t.ReleveRecord(t.ReleveKeyAt(1)), (LayerCovers{{5, 1}}));

    // Abbreviations, capitals and old names meet their standard names.
    const int achi = RowOf(t, "Achillea millefolium");
    EXPECT_EQ(achi, t.FNRow() + 1);
    EXPECT_EQ(t.Text(4, achi), "   r");
    EXPECT_EQ(t.Text(5, achi), "   1");  // DUNE02 writes ACHIMILL
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(2), t.SpeciesKeyAt(1)), (LayerCovers{{0, 0, 0, 0, 10, 0, 0}}));
    const int elym = RowOf(t, "Elymus repens");
    EXPECT_EQ(elym, t.FNRow() + 2);
    EXPECT_EQ(t.Text(ColOf(t, "DUNE04"), elym), "   2");  // Elytrigia repens
    const int brom = RowOf(t, "Bromus hordeaceus");
    EXPECT_EQ(t.Text(ColOf(t, "DUNE04"), brom), "   1");  // Bromus mollis
    EXPECT_EQ(t.Text(ColOf(t, "DUNE05"), brom), "   +");
    EXPECT_EQ(RowOf(t, "Bromus mollis"), -1);
    EXPECT_EQ(RowOf(t, "ACHIMILL"), -1);
}

TEST_F(Retrieve, ExampleForests) {
    ASSERT_NO_FATAL_FAILURE(Open("example", "異名表.dic"));
    EXPECT_EQ(ws.releveRecordCount, 60);
    EXPECT_EQ(ws.table.FNRow(), 31);  // every item is carried
    EXPECT_EQ(ws.table.Text(2, 5), "緯度（度分秒）");
    PutAll();
    const Table& t = ws.table;
    EXPECT_EQ(t.ReleveCount(), 60);
    EXPECT_EQ(t.SpeciesCount(), 135);
    EXPECT_EQ(t.MaxReleve(), 63);
    EXPECT_EQ(t.MaxSpecies(), 143);

    // A84-01: half-width ﾌﾞﾅ with T1 3, S1 1, H2 +, class-only notation.
    const int buna = RowOf(t, "ブナ");
    EXPECT_EQ(buna, t.FNRow() + 1);
    EXPECT_EQ(t.Text(4, 2), "A84-01");
    EXPECT_EQ(t.Text(4, 3), "月山");
    EXPECT_EQ(t.Text(4, 11), "斜中");
    EXPECT_EQ(t.Text(4, 9), "  SE");
    EXPECT_EQ(t.Text(4, buna), "3 1+");
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(1), t.SpeciesKeyAt(1)), (LayerCovers{{30, 0, 10, 0, 0, 1, 0}}));
    EXPECT_EQ(t.ReleveRecord(t.ReleveKeyAt(1)), (LayerCovers{{5, 1}}));
    // A91-05: シロブナ T1 44, T2 21, H2 r in the row of ブナ; ムシカリ S2 + as オオカメノキ.
    const int a9105 = ColOf(t, "A91-05");
    EXPECT_EQ(t.Text(a9105, buna), "42 r");
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(a9105 - 3), t.SpeciesKeyAt(1)), (LayerCovers{{44, 21, 0, 0, 0, 6, 0}}));
    EXPECT_EQ(t.Text(a9105, RowOf(t, "オオカメノキ")), "  + ");
    EXPECT_EQ(RowOf(t, "ムシカリ"), -1);
    // A12-08 writes FAGUS CRENATA; the dictionary has "Fagus crenata".
    EXPECT_EQ(t.Text(ColOf(t, "A12-08"), buna), "2 + ");
    // Marks: "(" alone shows blank but is a cell all the same; "?" shows as 0; "e" as e.
    const int c0703 = ColOf(t, "C07-03");
    EXPECT_EQ(t.Text(c0703, RowOf(t, "ハクサンシャクナゲ")), "    ");
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(c0703 - 3), t.SpeciesKeyAt(RowOf(t, "ハクサンシャクナゲ") - t.FNRow())),
              (LayerCovers{{0, 0, 7, 0, 0, 0, 0}}));
    EXPECT_EQ(t.Text(ColOf(t, "C98-06"), RowOf(t, "ムツデチョウチンゴケ")), "   0");
    EXPECT_EQ(t.Text(ColOf(t, "D90-07"), RowOf(t, "アカマツ")), "   e");
    // ブナ occurs in 30 relevés.
    EXPECT_EQ(t.Text(3, buna), "  30");
}

TEST_F(Retrieve, ExampleConditionsOnStandardNames) {
    ASSERT_NO_FATAL_FAILURE(Open("example", "異名表.dic"));
    using C = SpeciesCondition;
    EXPECT_EQ(ScanCount({}), 60);
    EXPECT_EQ(ScanCount({C{"ブナ", 0, Connective::And}}), 30);
    EXPECT_EQ(ScanCount({C{"ブナ", 4, Connective::And}}), 23);
    EXPECT_EQ(ScanCount({C{"ﾌﾞﾅ", 0, Connective::And}}), 0);  // entered names are not mapped
    EXPECT_EQ(ScanCount({C{ws.StandardName(" ﾌﾞﾅ "), 0, Connective::And}}), 30);
    EXPECT_EQ(ScanCount({C{"ブナ", 0, Connective::And}, C{"チシマザサ", 0, Connective::And}}), 14);
    EXPECT_EQ(ScanCount({C{"ブナ", 0, Connective::And}, C{"チシマザサ", 0, Connective::None}}), 16);
    EXPECT_EQ(ScanCount({C{"チシマザサ", 0, Connective::And}, C{"ブナ", 0, Connective::Or}}), 30);
    EXPECT_EQ(ScanCount({C{"ブナ", 0, Connective::None}}), 30);
    EXPECT_EQ(ScanCount({}, "5339"), 15);
    EXPECT_EQ(ScanCount({C{"ブナ", 4, Connective::And}}, "5339"), 6);

    // The putting pass takes exactly the marked relevés, in record order.
    const PutResult r = ws.PutIntoTable();
    EXPECT_EQ(r.put, 6);
    EXPECT_EQ(ws.table.ReleveCount(), 6);
    EXPECT_EQ(ws.table.Text(4, 2), "B08-01");
}

TEST_F(Retrieve, IntoATableThatHoldsRelevesKeepsItsHeaderRows) {
    ASSERT_NO_FATAL_FAILURE(Open("dune", "dune.dic"));
    PutAll();
    const int fn = ws.table.FNRow();
    // Choosing another pair while the table holds relevés renews the layout only.
    ws.SetDataFile(TestData("example/example.tki"));
    EXPECT_EQ(ws.table.FNRow(), fn);
    EXPECT_EQ(ws.table.ReleveCount(), 20);
    ws.OpenRetrieval();
    ScanParams p;
    p.first = 1;
    p.last = 3;
    ws.Scan(p);
    ws.PutIntoTable();
    EXPECT_EQ(ws.table.ReleveCount(), 23);
    EXPECT_EQ(ws.table.Text(4 + 20, 2), "A84-01");
    EXPECT_EQ(ws.table.Text(4 + 20, 10), "斜中");  // item 11 in the dune table's row 10, four bytes wide
}

TEST_F(Retrieve, AMissingPairChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(Open("dune", "dune.dic"));
    const std::string before = ws.dataFileName;
    EXPECT_THROW(ws.SetDataFile(TestData("dune/none.tki")), std::runtime_error);
    EXPECT_EQ(ws.dataFileName, before);
    EXPECT_EQ(ws.releveRecordCount, 20);
}

TEST_F(Retrieve, APairReplacedAfterItWasChosenIsReadAnew) {
    // The pair stays open from choosing it to the putting pass; files changed meanwhile are
    // opened again, whether written over in place or replaced.
    namespace fs = std::filesystem;
    testing::TempDir dir;
    const std::string index = dir / "data.tki", data = dir / "data.tkd";
    const auto copy = [&](const std::string& name) {
        fs::copy_file(TestData(name + "/" + name + ".tki"), index, fs::copy_options::overwrite_existing);
        fs::copy_file(TestData(name + "/" + name + ".tkd"), data, fs::copy_options::overwrite_existing);
    };
    copy("example");
    ws.Start("");
    ws.SetDataFile(index);
    ASSERT_EQ(ws.releveRecordCount, 60);
    copy("dune");  // written over in place: the same files, other sizes
    ws.OpenRetrieval();
    PutAll();
    EXPECT_EQ(ws.releveRecordCount, 20);
    EXPECT_EQ(ws.table.ReleveCount(), 20);

    ws.Start("");
    ws.SetDataFile(index);
    fs::copy_file(TestData("example/example.tki"), dir / "new.tki");
    fs::copy_file(TestData("example/example.tkd"), dir / "new.tkd");
    fs::rename(dir / "new.tki", index);  // replaced by other files under the same names
    fs::rename(dir / "new.tkd", data);
    ws.OpenRetrieval();
    PutAll();
    EXPECT_EQ(ws.table.ReleveCount(), 60);
}

}  // namespace
}  // namespace tavik
