// The field-data reader, its header record, damaged pairs, and the writer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "formats/codec.h"
#include "formats/fielddata.h"
#include "formats/fielddata_writer.h"
#include "tests/formats/temp_dir.h"
#include "tests/test_files.h"

namespace tavik {
namespace {

namespace fs = std::filesystem;
using testing::TestData;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(DecodeCoverField, EveryKindOfField) {
    EXPECT_EQ(DecodeCoverField("  "), 0);
    EXPECT_EQ(DecodeCoverField(" +"), 1);
    EXPECT_EQ(DecodeCoverField("+2"), 2);
    EXPECT_EQ(DecodeCoverField("+5"), 5);
    EXPECT_EQ(DecodeCoverField(" r"), 6);
    EXPECT_EQ(DecodeCoverField(" ("), 7);
    EXPECT_EQ(DecodeCoverField("* "), 7);
    EXPECT_EQ(DecodeCoverField(" e"), 8);
    EXPECT_EQ(DecodeCoverField(" ?"), 9);
    EXPECT_EQ(DecodeCoverField(" 3"), 30);
    EXPECT_EQ(DecodeCoverField("32"), 32);
    EXPECT_EQ(DecodeCoverField("99"), 99);
    EXPECT_EQ(DecodeCoverField("3x"), 63);
    EXPECT_EQ(DecodeCoverField(" x"), 0);
    EXPECT_EQ(DecodeCoverField(" 0"), 0);
    EXPECT_EQ(DecodeCoverField("**"), 63);
    EXPECT_EQ(DecodeCoverField("-1"), 63);
    EXPECT_EQ(DecodeCoverField("\x95\x5c"), 63);  // one double-byte character
    EXPECT_EQ(DecodeCoverField(std::string("\0\0", 2)), 0);
}

// ---- The example pair ------------------------------------------------------------------

class ExamplePair : public ::testing::Test {
protected:
    FieldFiles f{TestData("example/example.tki")};
    PlantSet set;
};

TEST_F(ExamplePair, CountsAndTheFirstReleve) {
    EXPECT_EQ(f.RecordCount(), 60);
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(f.ItemText(2), "A84-01");
    EXPECT_EQ(f.ItemText(3), "月山");
    EXPECT_EQ(f.ItemText(5), "3832378");  // the datum mark T is blanked
    EXPECT_EQ(f.ItemText(7), "57406050");
    EXPECT_EQ(f.ItemText(9), "SE");
    EXPECT_EQ(f.ItemText(11), "斜中");
    EXPECT_EQ(f.ItemText(17), "12");
    EXPECT_EQ(set.codeK, 5);
    EXPECT_EQ(set.codeD, 1);
    EXPECT_EQ(set.entries[1].name, "ﾌﾞﾅ");
    EXPECT_EQ(set.entries[1].covers, (LayerCovers{{30, 0, 10, 0, 0, 1, 0}}));
    EXPECT_EQ(set.entries[2].name, "ﾐｽﾞﾅﾗ");
    EXPECT_EQ(set.entries[2].covers, (LayerCovers{{1, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(ExamplePair, ChainsOfOneAndTwoRecords) {
    int d8615 = 0, d9708 = 0;
    for (int i = 1; i <= f.RecordCount(); ++i) {
        ASSERT_TRUE(f.ReadReleve(i, set)) << i;
        if (f.ItemText(2) == "D86-15") d8615 = i;
        if (f.ItemText(2) == "D97-08") d9708 = i;
    }
    ASSERT_TRUE(f.ReadReleve(d8615, set));
    EXPECT_EQ(set.count, 12);
    ASSERT_TRUE(f.ReadReleve(d9708, set));
    EXPECT_EQ(set.count, 13);
    EXPECT_EQ(set.entries[13].name, "シラヤマギク");
    EXPECT_EQ(set.entries[13].covers, (LayerCovers{{0, 0, 0, 0, 6, 0, 0}}));
}

TEST_F(ExamplePair, HeaderRecord) {
    const DataHeader h = ParseDataHeader(f.HeaderRecord());
    EXPECT_TRUE(h.complete);
    EXPECT_EQ(*h.title, "本州中部・北部の森林");
    EXPECT_EQ(*h.item1Name, "表番号");
    EXPECT_EQ(h.items[5].name, "緯度（度分秒）");
    EXPECT_EQ(h.items[15].name, "調査面積（㎡）");
    EXPECT_TRUE(h.items[29].available);
    EXPECT_EQ(*h.codeK, 5);
    EXPECT_EQ(*h.codeD, 2);
}

// ---- Header records, made by hand ---------------------------------------------------------

std::string Header(const std::string& items, const std::string& tail = "K=5 D=1") {
    std::string h = "#30$Title$No$" + items + tail;
    h.resize(kDataRecordSize, ' ');
    return h;
}

std::string AllItems(char flag = '1') {
    std::string s;
    for (int n = 2; n <= 30; ++n) s += std::string(1, flag) + "I" + std::to_string(n) + "$";
    return s;
}

TEST(DataHeader, AppliedToTheTable) {
    Table t;
    t.TableTitle = "old";
    std::string items = AllItems();
    items.replace(items.find("1I4$"), 4, "0I4$");
    ApplyDataHeader(ParseDataHeader(Header(items)), t, "dir/data.tki");
    EXPECT_EQ(t.TableTitle, "Title");
    EXPECT_EQ(t.ItemBoxes[1].caption, "No");
    EXPECT_EQ(t.ItemBoxes[2].caption, "I2");
    EXPECT_TRUE(t.ItemBoxes[3].enabled);
    EXPECT_FALSE(t.ItemBoxes[4].enabled);
    EXPECT_EQ(t.CodeD, 1);
}

TEST(DataHeader, WithoutHashOnlyTheTitleRule) {
    Table t;
    ApplyDataHeader(ParseDataHeader("30$T$"), t, "dir/dune.tki");
    EXPECT_EQ(t.TableTitle, "dune");
    t.TableTitle = "kept";
    ApplyDataHeader(ParseDataHeader("30$T$"), t, "dir/dune.tki");
    EXPECT_EQ(t.TableTitle, "kept");
}

TEST(DataHeader, AnotherVersionChangesNothingNotEvenAnEmptyTitle) {
    Table t;
    std::string h = Header(AllItems('0'));
    h[2] = '1';  // "#31$"
    ApplyDataHeader(ParseDataHeader(h), t, "x.tki");
    EXPECT_EQ(t.TableTitle, "");
    EXPECT_EQ(t.ItemBoxes[2].caption, "測定番号");
}

TEST(DataHeader, AFieldNotClosedWithin504BytesKeepsWhatCameBefore) {
    std::string items = AllItems();
    items.resize(items.find("I20$") + 2);  // item 20 never ends
    std::string rec = "#30$Title$No$" + items;
    rec.resize(kDataRecordSize, 'x');
    rec[510] = '$';  // a "$" beyond the 504 bytes does not count
    const DataHeader h = ParseDataHeader(rec);
    EXPECT_TRUE(h.stopped);
    EXPECT_TRUE(h.items[19].present);
    EXPECT_FALSE(h.items[20].present);
    EXPECT_FALSE(h.codeK.has_value());
    Table t;
    ApplyDataHeader(h, t, "x.tki");
    EXPECT_EQ(t.TableTitle, "Title");
    EXPECT_EQ(t.ItemBoxes[19].caption, "I19");
    EXPECT_EQ(t.ItemBoxes[20].caption, InitialItemCaptions()[20]);
    // Unclosed title: the title is cleared, then the file's name stands in.
    std::string open = "#30$Title";
    open.resize(kDataRecordSize, ' ');
    t.TableTitle = "old";
    ApplyDataHeader(ParseDataHeader(open), t, "x.tki");
    EXPECT_EQ(t.TableTitle, "x");
}

TEST(DataHeader, KAndDOptions) {
    DataHeader h = ParseDataHeader(Header(AllItems(), "free D=1 text K=7"));
    EXPECT_EQ(*h.codeK, 7);
    EXPECT_EQ(*h.codeD, 1);
    h = ParseDataHeader(Header(AllItems(), "K=x D=1"));  // K= without a digit: D unread
    EXPECT_FALSE(h.codeK.has_value());
    EXPECT_FALSE(h.codeD.has_value());
    h = ParseDataHeader(Header(AllItems(), "D=1"));
    EXPECT_FALSE(h.codeK.has_value());
    EXPECT_EQ(*h.codeD, 1);
    // An empty field takes the "$" that ends it as its first character (nothing is lost
    // past the fields, the parse just shifts).
    h = ParseDataHeader("#30$$x$");
    EXPECT_EQ(*h.title, "$x");
}

// ---- Damaged pairs, made by hand --------------------------------------------------------

std::string IndexRecord(const std::string& count, const std::string& first, char k = '5', char d = '2') {
    std::string r(kIndexRecordSize, ' ');
    r.replace(16, 6, "R-0001");
    r.replace(56, 8, "53394511");
    r.replace(152, 4, count);
    r[156] = k;
    r[157] = d;
    r.replace(248, 6, first);
    return r;
}

std::string SpeciesRecord(const std::vector<std::string>& names, const std::string& link) {
    std::string r(kDataRecordSize, ' ');
    for (std::size_t e = 0; e < names.size(); ++e) {
        r.replace(e * kEntrySize, names[e].size(), names[e]);
        r.replace(e * kEntrySize + kNameSize + 8, 2, " +");  // H1 "+"
    }
    r.replace(504, 6, link);
    return r;
}

struct Pair {
    std::string index = std::string(kIndexRecordSize, ' ');
    std::string data = Header(AllItems());
    Pair& Releve(const std::string& r) {
        index += r;
        return *this;
    }
    Pair& Species(const std::string& r) {
        data += r;
        return *this;
    }
};

TEST(DamagedPair, ChainsThatLeaveTheFileOrLoopAreUnreadable) {
    Pair p;
    p.Releve(IndexRecord("   2", "     1"))      // 1: records 1 -> 2 -> end
        .Releve(IndexRecord("   1", "     9"))   // 2: past the end
        .Releve(IndexRecord("   1", "     3"))   // 3: 3 -> 3
        .Releve(IndexRecord("   1", "     4"))   // 4: 4 -> 1 -> 2 -> 4? (4 links to 1)
        .Releve(IndexRecord("  30", "     0"));  // 5: no species whatever the count says
    p.Species(SpeciesRecord({"a", "b"}, "     2"))
        .Species(SpeciesRecord({"c"}, "     0"))
        .Species(SpeciesRecord({"loop"}, "     3"))
        .Species(SpeciesRecord({"d"}, "     1"));
    FieldFiles f(p.index, p.data);
    PlantSet set;
    ASSERT_EQ(f.RecordCount(), 5);
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(set.count, 2);  // the blank slots of record 1 end the list before c
    EXPECT_FALSE(f.ReadReleve(2, set));
    EXPECT_FALSE(f.ReadReleve(3, set));
    EXPECT_TRUE(f.ReadReleve(4, set));  // 4 -> 1 -> 2 is a chain, not a loop
    EXPECT_EQ(set.count, 1);
    ASSERT_TRUE(f.ReadReleve(5, set));
    EXPECT_EQ(set.count, 0);
    EXPECT_FALSE(f.ReadReleve(0, set));
    EXPECT_FALSE(f.ReadReleve(6, set));
}

TEST(DamagedPair, NumberFieldsThatAreNotNumbers) {
    Pair p;
    p.Releve(IndexRecord("  x2", "     1"))
        .Releve(IndexRecord("   1", "  1 1 "))
        .Releve(IndexRecord("   1", "     1", 'K'))
        .Releve(IndexRecord("2   ", "     1"))  // trailing blanks are not a number
        .Releve(IndexRecord("   1", "     2"));
    p.Species(SpeciesRecord({"a"}, "     0")).Species(SpeciesRecord({"b"}, "  zz  "));
    FieldFiles f(p.index, p.data);
    PlantSet set;
    EXPECT_FALSE(f.ReadReleve(1, set));
    EXPECT_FALSE(f.ReadReleve(2, set));
    EXPECT_FALSE(f.ReadReleve(3, set));
    EXPECT_FALSE(f.ReadReleve(4, set));
    EXPECT_FALSE(f.ReadReleve(5, set));
}

TEST(DamagedPair, ShortFilesAndBlankNamesInTheMiddle) {
    Pair p;
    p.Releve(IndexRecord("  13", "     1")).Releve(IndexRecord("   1", "     3"));
    std::vector<std::string> twelve;
    for (int i = 0; i < 12; ++i) twelve.push_back(i == 5 ? "" : "sp" + std::to_string(i));
    p.Species(SpeciesRecord(twelve, "     2")).Species(SpeciesRecord({"late"}, "     0"));
    p.data += std::string(300, ' ');   // record 3 is cut short
    p.index += std::string(100, ' ');  // a partial index record is not a relevé
    FieldFiles f(p.index, p.data);
    PlantSet set;
    EXPECT_EQ(f.RecordCount(), 2);
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(set.count, 5);  // the blank sixth name ends the list
    EXPECT_FALSE(f.ReadReleve(2, set));

    FieldFiles onlyZero(std::string(kIndexRecordSize, ' '), "");
    EXPECT_EQ(onlyZero.RecordCount(), 0);
    FieldFiles empty("", "");
    EXPECT_EQ(empty.RecordCount(), 0);
    EXPECT_FALSE(empty.ReadReleve(1, set));
    EXPECT_EQ(ParseDataHeader(empty.HeaderRecord()).hasHash, false);
}

TEST(DamagedPair, MissingMembersNameTheFile) {
    const testing::TempDir tmp;  // each test process has its own folder
    const fs::path& dir = tmp.path();
    const std::string tki = (dir / "only.tki").string();
    std::ofstream(tki) << std::string(512, ' ');
    try {
        FieldFiles f(tki);
        FAIL() << "opened a pair without its data file";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find(kBadFieldFiles), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("only.tkd"), std::string::npos);
    }
    EXPECT_THROW(FieldFiles((dir / "none.tki").string()), std::runtime_error);
}

TEST(FieldNames, EachFieldIsDecodedOnItsOwn) {
    EXPECT_EQ(DecodeField("\x83\x75\x83\x69   ", false), "ブナ");
    EXPECT_EQ(DecodeField("\xCF\xB7", false), "ﾏｷ");  // CP932 that happens to be UTF-8
    EXPECT_EQ(DecodeField("ブナ  ", true), "ブナ");
    EXPECT_EQ(DecodeField("\x83\x75\x83\x69", true), "ブナ");  // CP932 in a UTF-8 file
    EXPECT_EQ(DecodeField("\x83", false), "\xEF\xBF\xBD");     // half a character
    EXPECT_EQ(DecodeField("  Fagus crenata  ", false), "Fagus crenata");
}

TEST(FieldNames, APairWrittenInUtf8IsReadAsUtf8) {
    std::string index(kIndexRecordSize, ' ');
    std::string rec(kIndexRecordSize, ' ');
    rec.replace(24, 6, "月山");
    rec.replace(152, 4, "   1");
    rec.replace(156, 2, "52");
    rec.replace(248, 6, "     1");
    std::string data = "#30$ブナ林$No$";
    for (int n = 2; n <= 30; ++n) data += "1項目$";
    data.resize(kDataRecordSize, ' ');
    std::string sp(kDataRecordSize, ' ');
    sp.replace(0, 6, "ブナ");
    sp.replace(28, 2, " 3");
    sp.replace(504, 6, "     0");
    FieldFiles f(index + rec, data + sp);
    PlantSet set;
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(f.ItemText(3), "月山");
    EXPECT_EQ(set.entries[1].name, "ブナ");
    EXPECT_EQ(*ParseDataHeader(f.HeaderRecord(), f.Utf8()).title, "ブナ林");
}

// ---- The writer ---------------------------------------------------------------------------

// The header description a user would write for this pair's header record.
void HeaderDescriptionOf(const std::string& tkd, std::string& out) {
    std::string text;
    const std::string bytes = Slurp(tkd);
    ASSERT_GE(bytes.size(), static_cast<std::size_t>(kHeaderTextSize)) << "no header record in " << tkd;
    Cp932ToUtf8(std::string_view(bytes).substr(0, kHeaderTextSize), text);
    std::vector<std::string> f;
    std::size_t pos = 0;
    for (std::size_t d; (d = text.find('$', pos)) != std::string::npos; pos = d + 1)
        f.push_back(text.substr(pos, d - pos));
    ASSERT_GE(f.size(), 32u) << "not 30 items in the header record of " << tkd;
    out = "# made for the test\ntitle=" + f[1] + "\ni01=" + f[2] + "\n";
    for (int n = 2; n <= 30; ++n)
        out += "i" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "=" + f[n + 1].substr(0, 1) + "," +
               f[n + 1].substr(1) + "\n";
    const std::string rest = text.substr(pos);
    ASSERT_NE(rest.find("K="), std::string::npos) << tkd;
    ASSERT_NE(rest.find("D="), std::string::npos) << tkd;
    out += "K=" + rest.substr(rest.find("K=") + 2, 1) + "\nD=" + rest.substr(rest.find("D=") + 2, 1) + "\n";
}

class Writer : public ::testing::Test {
protected:
    // ctest runs each test in a process of its own, in parallel: every test gets its own
    // folder, removed at its end.
    std::string Path(const std::string& name) const { return tmp / name; }
    testing::TempDir tmp;
};

TEST_F(Writer, ListingsGiveBackThePairsByteForByte) {
    for (const std::string name : {"dune", "example"}) {
        SCOPED_TRACE(name);
        const std::string base = TestData(name + "/" + name);
        for (const char* ext : {".tki", ".tkd", "_long.csv", "_releves.csv"})
            ASSERT_TRUE(fs::is_regular_file(base + ext)) << "missing test input " << base + ext;
        std::string description;
        ASSERT_NO_FATAL_FAILURE(HeaderDescriptionOf(base + ".tkd", description));
        std::ofstream(Path("header.txt")) << description;
        FieldDataWriter w(Path(name + ".tki"), ReadHeaderDescription(Path("header.txt")));
        for (const auto& r : ReadLongCsv(base + "_long.csv", base + "_releves.csv")) w.Add(r);
        w.Finish();
        EXPECT_TRUE(Slurp(Path(name + ".tki")) == Slurp(base + ".tki")) << name;
        EXPECT_TRUE(Slurp(Path(name + ".tkd")) == Slurp(base + ".tkd")) << name;
    }
}

TEST_F(Writer, LongCsvWithSiteColumnsAndSpecialLines) {
    std::ofstream(Path("h.txt")) << "title=Test\ni04=0,Date\n";
    std::ofstream(Path("l.csv")) << "releve,i03,i08,taxon,layer,cover\n"
                                 << "R1,\"Site, A\",120,Fagus,T1,3.2\n"
                                 << "R1,,,Fagus,H1,+.2\n"
                                 << "R1,,,\"Sasa \"\"k\"\"\",S1,r\n"
                                 << "R2,Site B,5,Nothing,,\n"
                                 << "R3,Site C,,,,\n";
    FieldDataWriter w(Path("t.tki"), ReadHeaderDescription(Path("h.txt")));
    for (const auto& r : ReadLongCsv(Path("l.csv"))) w.Add(r);
    w.Finish();
    FieldFiles f(Path("t.tki"));
    PlantSet set;
    ASSERT_EQ(f.RecordCount(), 3);
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(f.ItemText(2), "R1");  // the relevé key stands in for item 2
    EXPECT_EQ(f.ItemText(3), "Site, A");
    EXPECT_EQ(f.ItemText(8), "120");
    EXPECT_EQ(f.IndexRecord().substr(64, 4), " 120");
    ASSERT_EQ(set.count, 2);
    EXPECT_EQ(set.entries[1].covers, (LayerCovers{{32, 0, 0, 0, 2, 0, 0}}));
    EXPECT_EQ(set.entries[2].name, "Sasa \"k\"");
    ASSERT_TRUE(f.ReadReleve(2, set));
    EXPECT_EQ(set.count, 1);
    EXPECT_TRUE(set.entries[1].covers.empty());
    ASSERT_TRUE(f.ReadReleve(3, set));
    EXPECT_EQ(set.count, 0);
    const DataHeader h = ParseDataHeader(f.HeaderRecord());
    EXPECT_EQ(*h.title, "Test");
    EXPECT_TRUE(h.items[3].available);   // some relevé holds a site name
    EXPECT_FALSE(h.items[4].available);  // said so
    EXPECT_FALSE(h.items[5].available);  // nobody holds one
    EXPECT_TRUE(h.items[30].available);
}

TEST_F(Writer, BadInputIsRefusedAndExistingFilesStay) {
    std::ofstream(Path("h.txt")) << "title=Test\n";
    std::ofstream(Path("t.tki")) << "old index";
    const FieldHeaderDescription description = ReadHeaderDescription(Path("h.txt"));
    auto fails = [&](const std::string& csv) {
        std::ofstream(Path("l.csv")) << "releve,i03,taxon,layer,cover\n" << csv;
        try {
            FieldDataWriter w(Path("t.tki"), description);
            for (const auto& r : ReadLongCsv(Path("l.csv"))) w.Add(r);
            w.Finish();
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    EXPECT_NE(fails("R1,,A,T1,3\nR1,,A,H1,x\n").find("l.csv の 3 行目"), std::string::npos);
    EXPECT_NE(fails("R1,,A,T1,x\n").find("被度"), std::string::npos);
    EXPECT_NE(fails("R1,,A,Q1,3\n").find("階層"), std::string::npos);
    EXPECT_NE(fails("R1,,A,T1,3\nR1,,A,T1,4\n").find("二度"), std::string::npos);
    EXPECT_NE(fails("R1,Longer than eight,A,T1,3\n").find("バイト"), std::string::npos);
    EXPECT_NE(fails("R1,," + std::string(29, 'n') + ",T1,3\n").find("バイト"), std::string::npos);
    EXPECT_NE(fails("R1,,😀,T1,3\n").find("CP932"), std::string::npos);
    // Conflicting site values and a bad K name the line too.
    EXPECT_NE(fails("R1,月山,A,T1,3\nR1,鳥海山,B,T1,3\n").find("l.csv の 3 行目: 測定 R1 の i03"), std::string::npos);
    EXPECT_EQ(Slurp(Path("t.tki")), "old index");
    EXPECT_FALSE(fs::exists(Path("t.tkd")));
    std::ofstream(Path("k.csv")) << "releve,taxon,layer,cover,K\nR1,A,T1,3,5\nR1,B,T1,3,\nR2,A,T1,3,x\n";
    try {
        ReadLongCsv(Path("k.csv"));
        ADD_FAILURE() << "a K that is not a digit was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("k.csv の 4 行目"), std::string::npos) << e.what();
    }

    std::ofstream(Path("bad.txt")) << "title=A$B\n";
    EXPECT_THROW(ReadHeaderDescription(Path("bad.txt")), std::runtime_error);
    std::ofstream(Path("bad.txt")) << "i05=Lat\n";
    EXPECT_THROW(ReadHeaderDescription(Path("bad.txt")), std::runtime_error);  // no title
    std::ofstream(Path("bad.txt")) << "title=T\ncolour=red\n";
    EXPECT_THROW(ReadHeaderDescription(Path("bad.txt")), std::runtime_error);
    FieldHeaderDescription longNames;
    longNames.title = "T";
    for (int n = 1; n <= kItemCount; ++n) longNames.names[static_cast<std::size_t>(n)] = std::string(20, 'n');
    FieldDataWriter w(Path("n.tki"), longNames);
    EXPECT_THROW(w.Finish(), std::runtime_error);  // more than 504 bytes
}

TEST(CsvLines, QuotesEmptyCellsAndReusedCells) {
    using Cells = std::vector<std::string>;
    EXPECT_EQ(SplitCsvLine(""), Cells{""});
    EXPECT_EQ(SplitCsvLine("a,,b,"), (Cells{"a", "", "b", ""}));
    EXPECT_EQ(SplitCsvLine(R"("a,b","say ""hi""",c)"), (Cells{"a,b", R"(say "hi")", "c"}));
    EXPECT_EQ(SplitCsvLine(R"(x"y,z"w,v)"), (Cells{"xy,zw", "v"}));  // quotes may open inside a cell
    EXPECT_EQ(SplitCsvLine(R"("open to the end,)"), Cells{"open to the end,"});
    Cells cells;
    SplitCsvLine("long first cell,2,3,4", cells);
    SplitCsvLine("b,", cells);
    EXPECT_EQ(cells, (Cells{"b", ""}));
}

TEST(CoverFields, WhatTheWriterAccepts) {
    EXPECT_EQ(CoverFieldFor("+"), " +");
    EXPECT_EQ(CoverFieldFor("+3"), "+3");
    EXPECT_EQ(CoverFieldFor("+.3"), "+3");
    EXPECT_EQ(CoverFieldFor("3.2"), "32");
    EXPECT_EQ(CoverFieldFor("R"), " r");
    EXPECT_EQ(CoverFieldFor("5"), " 5");
    EXPECT_EQ(CoverFieldFor("55"), "55");
    EXPECT_EQ(CoverFieldFor("56"), "");
    EXPECT_EQ(CoverFieldFor("61"), "");
    EXPECT_EQ(CoverFieldFor("0"), "");
    EXPECT_EQ(CoverFieldFor("+1"), "");
    EXPECT_EQ(CoverFieldFor("x"), "");
}

}  // namespace
}  // namespace tavik
