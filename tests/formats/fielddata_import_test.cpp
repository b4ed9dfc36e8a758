// Field data in from other programs: cover scales, CSV as spreadsheets write it, names and
// site values fitted on request, matrices, and every problem listed at once.
#include <gtest/gtest.h>

#include <functional>

#include "formats/csv_reader.h"
#include "formats/fielddata.h"
#include "formats/fielddata_import.h"
#include "formats/name_fitting.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {

using testing::TempDir;
using testing::WriteBytes;

// The conversion of one value as a word: the cover text, "absent" or "invalid".
std::string Converted(CoverScale scale, const char* value, double rBelow = kDefaultRBelow) {
    const CoverConversion c = ConvertCover(scale, value, rBelow);
    return c.kind == CoverConversion::Cover ? c.text : c.kind == CoverConversion::Absent ? "absent" : "invalid";
}

TEST(CoverScales, PercentAtTheClassBoundaries) {
    const CoverScale p = CoverScale::Percent;
    const std::pair<const char*, const char*> cases[] = {
        {"0.05", "r"},        {"0.1", "+"},      {"0.99", "+"},    {"1", "1"},           {"4.99", "1"},
        {"5", "2"},           {"24.99", "2"},    {"25", "3"},      {"49.9", "3"},        {"50", "4"},
        {"74.9", "4"},        {"75", "5"},       {"100", "5"},     {"12,5", "2"},        {"12.5 %", "2"},
        {"r", "r"},           {"+", "+"},        {"0", "absent"},  {"0,0", "absent"},    {"", "absent"},
        {"100.1", "invalid"}, {"-1", "invalid"}, {"x", "invalid"}, {"1.2.3", "invalid"},
    };
    for (const auto& [value, cover] : cases) EXPECT_EQ(Converted(p, value), cover) << value;
    // The r threshold is the user's.
    EXPECT_EQ(Converted(p, "0.4", 0.5), "r");
    EXPECT_EQ(Converted(p, "0.5", 0.5), "+");
    EXPECT_EQ(Converted(p, "0.01", 0), "+");
}

TEST(CoverScales, TheOtherScalesMapAsTheManualSays) {
    using P = std::pair<const char*, const char*>;
    auto check = [](CoverScale s, std::initializer_list<P> cases) {
        for (const auto& [value, cover] : cases)
            EXPECT_EQ(Converted(s, value), cover) << CoverScaleName(s) << " " << value;
    };
    check(CoverScale::BraunBlanquet, {{"32", "32"},
                                      {"+.2", "+.2"},
                                      {"r", "r"},
                                      {"0", "absent"},
                                      {"6", "invalid"},
                                      {"12.5", "invalid"},
                                      {"2m", "invalid"}});
    check(CoverScale::BraunBlanquetExtended,
          {{"2m", "2"}, {"2A", "2"}, {"2b", "2"}, {"3", "3"}, {"+2", "+2"}, {"2c", "invalid"}, {"2m.2", "invalid"}});
    check(CoverScale::Londo, {{".1", "+"},
                              {"r.1", "+"},
                              {"0.2", "1"},
                              {".4", "1"},
                              {",4", "1"},
                              {"1", "2"},
                              {"2+", "2"},
                              {"3", "3"},
                              {"4", "3"},
                              {"5-", "3"},
                              {"5", "4"},
                              {"5+", "4"},
                              {"7+", "4"},
                              {"8", "5"},
                              {"10", "5"},
                              {"10+", "invalid"},
                              {"11", "invalid"},
                              {".3", "invalid"}});
    check(CoverScale::Domin, {{"+", "r"},
                              {"1", "r"},
                              {"2", "+"},
                              {"3", "1"},
                              {"4", "2"},
                              {"5", "2"},
                              {"6", "3"},
                              {"7", "3"},
                              {"8", "4"},
                              {"9", "5"},
                              {"10", "5"},
                              {"11", "invalid"},
                              {"2.5", "invalid"}});
    check(CoverScale::Ordinal, {{"1", "r"},
                                {"2", "+"},
                                {"3", "1"},
                                {"4", "2"},
                                {"6", "2"},
                                {"7", "3"},
                                {"8", "4"},
                                {"9", "5"},
                                {"10", "invalid"},
                                {"0", "absent"},
                                {"+", "invalid"}});
    check(CoverScale::Presence, {{"x", "+"}, {"37", "+"}, {"0.0", "absent"}, {"", "absent"}});
    // Control characters around a value are trimmed like blanks, so that the cover kept in
    // three bytes is the cover itself ("\x01\x01\x01" would have been kept for the first).
    check(CoverScale::BraunBlanquet, {{"\x01\x01\x01"
                                       "4\x0f",
                                       "4"},
                                      {"\v+.2\r", "+.2"},
                                      {"\x1f\x1f", "absent"}});
    check(CoverScale::Percent, {{"\x01\x01\x01"
                                 "60",
                                 "4"}});
    EXPECT_EQ(CoverScaleNamed("BB-Extended"), CoverScale::BraunBlanquetExtended);
    EXPECT_FALSE(CoverScaleNamed("braun"));
}

// ---- CSV as spreadsheets write it ----------------------------------------------------------

std::vector<std::vector<std::string>> Records(CsvReader& csv, std::vector<std::size_t>* lines = nullptr) {
    std::vector<std::vector<std::string>> out;
    std::vector<std::string_view> cells;
    while (csv.Next(cells)) {
        out.emplace_back(cells.begin(), cells.end());
        if (lines) lines->push_back(csv.Line());
    }
    return out;
}

TEST(CsvReader, TheSeparatorComesFromTheHeadingLine) {
    const std::pair<const char*, char> cases[] = {
        {"a,b;c\n", ','}, {"a;b;c\n1,5;2,5;x\n", ';'}, {"a\tb\tc\n", '\t'}, {"\"x;y;z\",b\n", ','}, {"one\n", ','}};
    for (const auto& [text, delimiter] : cases) {
        CsvReader csv(text, "t.csv");
        EXPECT_EQ(csv.Delimiter(), delimiter) << text;
    }
    CsvReader csv("releve;cover\nR1;12,5\n", "t.csv");
    using R = std::vector<std::vector<std::string>>;
    EXPECT_EQ(Records(csv), (R{{"releve", "cover"}, {"R1", "12,5"}}));
}

TEST(CsvReader, EncodingsQuotedFieldsAndLines) {
    using R = std::vector<std::vector<std::string>>;
    CsvReader bom("\xEF\xBB\xBFreleve,taxon\nR1,ブナ\n", "t.csv");
    EXPECT_EQ(bom.Encoding(), TextEncoding::Utf8);
    EXPECT_EQ(Records(bom), (R{{"releve", "taxon"}, {"R1", "ブナ"}}));
    CsvReader sjis("releve,taxon\nR1,\x83\x75\x83\x69\n", "t.csv");
    EXPECT_EQ(sjis.Encoding(), TextEncoding::Cp932);
    EXPECT_EQ(Records(sjis), (R{{"releve", "taxon"}, {"R1", "ブナ"}}));

    // A quoted cell may hold separators, quotes and line ends; blank records are skipped and
    // the line numbers stay those of the file.
    CsvReader quoted("a,b\r\n\"x,\r\ny\",\"say \"\"hi\"\"\"\r\n,\r\n\r\nlast,\"\"\nend", "t.csv");
    std::vector<std::size_t> lines;
    EXPECT_EQ(Records(quoted, &lines), (R{{"a", "b"}, {"x,\r\ny", "say \"hi\""}, {"last", ""}, {"end"}}));
    EXPECT_EQ(lines, (std::vector<std::size_t>{1, 2, 6, 7}));

    CsvReader open("a,b\n1,\"open\n2,3\n", "t.csv");
    std::vector<std::string_view> cells;
    ASSERT_TRUE(open.Next(cells));
    try {
        open.Next(cells);
        ADD_FAILURE() << "an open quote was taken";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "t.csv の 2 行目: 引用符「\"」が閉じないままファイルが終わります");
    }
    try {
        CsvReader bad("a,b\nok,1\n\x81\x20,2\n", "t.csv");
        ADD_FAILURE() << "bytes that are neither UTF-8 nor CP932 were taken";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "t.csv の 3 行目: 文字コードが CP932 でも UTF-8 でもありません");
    }
    EXPECT_THROW(CsvReader(std::string("a\0,\0b\0", 6), "t.csv"), std::runtime_error);  // UTF-16
}

// ---- Names and site values ----------------------------------------------------------------

TEST(NameFitting, TransliterationShorteningAndRounding) {
    EXPECT_EQ(TransliterateLatin("Centáurea jacea"), "Centaurea jacea");
    EXPECT_EQ(TransliterateLatin("Straußgras Ærø Łąka Șerban Ÿ"), "Straussgras AEro Laka Serban Y");
    EXPECT_EQ(TransliterateLatin("Cente\u0301 × Festulolium ブナ"), "Cente × Festulolium ブナ");  // combining mark

    EXPECT_EQ(ShortenName("Poa pratensis subsp. irrigata", 28), "Poa pratensis ssp. irrigata");
    EXPECT_EQ(ShortenName("Achillea millefolium subsp. millefolium", 28), "Achillea millefolium ssp. mi");
    EXPECT_EQ(ShortenName("Festuca rubra variety commutata", 28), "Festuca rubra var. commutata");
    EXPECT_EQ(ShortenName("Carex flava aggregate sensu lato", 28), "Carex flava agg. s.l.");
    EXPECT_EQ(ShortenName("Galium mollugo forma glabrum Koch", 28), "Galium mollugo f. glabrum Ko");
    EXPECT_EQ(ShortenName("Poa annua subsp. annua", 28), "Poa annua subsp. annua");  // fits: kept
    // Cut between characters: a double-byte character that would straddle the end goes.
    EXPECT_EQ(ShortenName("Aアイウエオカキクケコサシスセソ", 28), "Aアイウエオカキクケコサシス");
    EXPECT_EQ(ShortenName("Abies subsp. x         yyyyyyyy", 28), "Abies ssp. x yyyyyyyy");  // blanks fold

    EXPECT_EQ(RoundNumberToWidth("139.9", 4), "140");
    EXPECT_EQ(RoundNumberToWidth("139,9", 4), "140");
    EXPECT_EQ(RoundNumberToWidth("12.345", 4), "12.3");
    EXPECT_EQ(RoundNumberToWidth("12.35", 4), "12.4");
    EXPECT_EQ(RoundNumberToWidth("-12.34", 4), "-12");
    EXPECT_EQ(RoundNumberToWidth("-0.04", 4), "0.0");
    EXPECT_EQ(RoundNumberToWidth("999.96", 4), "1000");
    EXPECT_EQ(RoundNumberToWidth("9999.5", 4), "");
    EXPECT_EQ(RoundNumberToWidth("12345", 4), "");
    EXPECT_EQ(RoundNumberToWidth("1e3", 4), "");
    EXPECT_EQ(RoundNumberToWidth("N60E", 4), "");
}

// ---- The importer --------------------------------------------------------------------------

class Import : public ::testing::Test {
protected:
    TempDir dir;
    std::string Path(const char* name) { return dir / name; }
    // The problem lines of a failed import, or one line "no problem".
    std::vector<std::string> Problems(const std::function<void(FieldImporter&)>& read, FieldImportOptions o = {}) {
        FieldImporter importer(o);
        try {
            read(importer);
            importer.Finish();
        } catch (const FieldImportError& e) {
            return e.Lines();
        }
        return {"no problem"};
    }
};

TEST_F(Import, EveryProblemIsListedOnceWithItsPlace) {
    WriteBytes(Path("l.csv"),
               "releve,i08,taxon,layer,cover\n"
               "R1,139.9,Fagus crenata,T1,12.5\n"
               "R1,139.9,Fagus crenata,Q1,3\n"  // the same value again: reported once
               "R1,,Achillea millefolium subsp. millefolium,H1,+\n"
               "R2,,Centáurea jacea,H1,1\n"
               "R2,,Achillea millefolium subsp. millefolium,H1,2\n"
               "R2,,Centáurea jacea,H1,1\n");
    const std::string l = Path("l.csv");
    EXPECT_EQ(
        Problems([&](FieldImporter& i) { i.ReadLong(l); }),
        (std::vector<std::string>{
            "6 件の問題があるため、何も書いていません:",
            l + " の 2 行目: 測定 R1 の i08「139.9」が 4 バイトに収まりません",
            l + " の 2 行目: 「12.5」は被度（尺度 bb）ではありません",
            l + " の 3 行目: 「Q1」は階層 T1 T2 S1 S2 H1 H2 M のどれでもありません",
            l + " の 4 行目: 種名「Achillea millefolium subsp. millefolium」は 39 バイトで、28 バイトに収まりません",
            l + " の 5 行目: 種名「Centáurea jacea」に CP932 で書けない文字があります",
            l + " の 7 行目: Centáurea jacea の H1 が二度あります",
            "--round-sites で、4 バイトの項目（i08 … i29）の数値を収まる桁に丸められます（139.9 → 140）",
            "被度の尺度は --scale で選べます: bb（既定）, bb-extended, percent, londo, domin, ordinal, presence",
            "--shorten で、28 バイトを超える種名を略記（subsp. → ssp., var., f.）と切り詰めで縮められます",
            "--transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）",
        }));

    // A hundred are listed, the rest counted.
    std::string many = "releve,taxon,layer,cover\n";
    for (int i = 0; i < 150; ++i) many += "R1,Sp" + std::to_string(i) + ",H1,9\n";
    WriteBytes(Path("m.csv"), many);
    const auto lines = Problems([&](FieldImporter& i) { i.ReadLong(Path("m.csv")); });
    ASSERT_EQ(lines.size(), 1 + 100 + 1 + 1);
    EXPECT_EQ(lines[0], "150 件の問題があるため、何も書いていません:");
    EXPECT_EQ(lines[100], Path("m.csv") + " の 101 行目: 「9」は被度（尺度 bb）ではありません");
    EXPECT_EQ(lines[101], "ほか 50 件の問題があります");
}

TEST_F(Import, LayersMeetInLargeRelevesToo) {
    // Past the first 64 entries of a relevé its species are found through an index.
    std::string csv = "releve,taxon,layer,cover\n";
    for (int i = 0; i < 100; ++i) csv += "R1,Sp" + std::to_string(i) + ",H1,+\n";
    csv += "R1,Sp3,T1,2\nR1,Sp80,S1,1\nR1,Sp99,M,3\nR1,Sp80,H1,4\n";
    WriteBytes(Path("l.csv"), csv);
    EXPECT_EQ(Problems([&](FieldImporter& i) { i.ReadLong(Path("l.csv")); }),
              (std::vector<std::string>{"1 件の問題があるため、何も書いていません:",
                                        Path("l.csv") + " の 105 行目: Sp80 の H1 が二度あります"}));
    WriteBytes(Path("l.csv"), csv.substr(0, csv.rfind("R1,Sp80,H1")));
    FieldImporter good;
    good.ReadLong(Path("l.csv"));
    const auto releves = good.Finish();
    ASSERT_EQ(releves.size(), 1u);
    ASSERT_EQ(releves[0].entries.size(), 100u);
    EXPECT_EQ(releves[0].entries[3].covers, (std::array<std::string, kLayerCount>{"2", "", "", "", "+", "", ""}));
    EXPECT_EQ(releves[0].entries[80].covers, (std::array<std::string, kLayerCount>{"", "", "1", "", "+", "", ""}));
    EXPECT_EQ(releves[0].entries[99].covers, (std::array<std::string, kLayerCount>{"", "", "", "", "+", "", "3"}));
}

TEST_F(Import, FittingOnRequestIsReportedAndMeetingNamesAreRefused) {
    WriteBytes(Path("l.csv"),
               "releve;i08;i09;taxon;layer;cover\n"
               "R1;139,9;Nord;Centáurea jacea;H1;1\n"
               "R1;139,9;;Achillea millefolium subsp. millefolium;H1;+\n"
               "R2;1234,4;;Centáurea jacea;H1;2\n");
    FieldImportOptions o;
    o.transliterate = o.shorten = o.roundSites = true;
    FieldImporter importer(o);
    importer.ReadLong(Path("l.csv"));
    const auto releves = importer.Finish();
    const FieldImportReport& r = importer.Report();
    ASSERT_EQ(r.names.size(), 2u);
    EXPECT_EQ(r.names[0].from, "Centáurea jacea");
    EXPECT_EQ(r.names[0].to, "Centaurea jacea");
    EXPECT_EQ(r.names[1].to, "Achillea millefolium ssp. mi");
    ASSERT_EQ(r.sites.size(), 2u);
    EXPECT_EQ(r.sites[0].releve + " " + r.sites[0].from + " " + r.sites[0].to, "R1 139,9 140");
    EXPECT_EQ(r.sites[1].releve + " " + r.sites[1].from + " " + r.sites[1].to, "R2 1234,4 1234");
    ASSERT_EQ(releves.size(), 2u);
    EXPECT_EQ(releves[0].items[8], "140");
    EXPECT_EQ(releves[0].entries[1].name, "Achillea millefolium ssp. mi");
    EXPECT_EQ(releves[1].entries[0].name, "Centaurea jacea");
    EXPECT_EQ((r.classes), (std::array<long, 8>{0, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(NameMapCsv(r.names),
              "input,written\r\nCentáurea jacea,Centaurea jacea\r\n"
              "Achillea millefolium subsp. millefolium,Achillea millefolium ssp. mi\r\n");

    // Two names that become one are both named, and nothing is written.
    WriteBytes(Path("c.csv"),
               "releve,taxon,layer,cover\n"
               "R1,Achillea millefolium subsp. millefolium,H1,+\n"
               "R1,Achillea millefolium subsp. minor,H1,1\n"
               "R2,Centaurea jacea,H1,1\n"
               "R2,Centáurea jacea,H1,1\n");
    EXPECT_EQ(Problems([&](FieldImporter& i) { i.ReadLong(Path("c.csv")); }, o),
              (std::vector<std::string>{
                  "2 件の問題があるため、何も書いていません:",
                  Path("c.csv") + " の 3 行目: 種名「Achillea millefolium subsp. millefolium」と「Achillea millefolium "
                                  "subsp. minor」がどちらも「Achillea millefolium ssp. mi」になります",
                  Path("c.csv") +
                      " の 5 行目: 種名「Centaurea jacea」と「Centáurea jacea」がどちらも「Centaurea jacea」になります",
              }));
}

TEST_F(Import, AHeaderRecordTooLongSaysWhatMustGo) {
    FieldHeaderDescription h;
    h.title = "T";
    for (int n = 1; n <= kItemCount; ++n) h.names[static_cast<std::size_t>(n)] = std::string(20, 'n');
    h.names[13] = std::string(30, 'w');
    // 4 ("#30$") + 2 ("T$") + 21 (item 1) + 29 × 22 + 10 (item 13) + 7 ("K=5 D=2") = 682
    EXPECT_EQ(
        Problems([&](FieldImporter& i) { i.CheckHeader(h); }),
        (std::vector<std::string>{
            "1 件の問題があるため、何も書いていません:",
            "見出しレコードが 682 バイトになり、504 バイトに収まりません: 項目名を合わせて 178 バイト短くしてください。"
            "長い名前: i13「" +
                std::string(30, 'w') + "」30 バイト, i01「" + std::string(20, 'n') + "」20 バイト, i02「" +
                std::string(20, 'n') + "」20 バイト, i03「" + std::string(20, 'n') + "」20 バイト, i04「" +
                std::string(20, 'n') + "」20 バイト",
        }));
}

TEST_F(Import, AMatrixEitherWayRoundGivesTheSamePair) {
    // As a spreadsheet in a decimal-comma country writes it: semicolons, an empty corner.
    WriteBytes(Path("m.csv"),
               "\"\";Fagus crenata;Sasa kurilensis;Empty\n"
               "R1;0,05;25;0\n"
               "R2;;100;\n"
               "R3;0;0,0;0\n");
    WriteBytes(Path("t.csv"),
               ";R1;R2;R3\n"
               "Fagus crenata;0,05;;0\n"
               "Sasa kurilensis;25;100;0\n"
               "Empty;0;;\n");
    FieldHeaderDescription h;
    h.title = "Matrix";
    std::string pairs[2];
    for (int transpose = 0; transpose < 2; ++transpose) {
        FieldImportOptions o;
        o.scale = CoverScale::Percent;
        o.layer = 2;  // S1
        o.transpose = transpose;
        FieldImporter importer(o);
        importer.ReadMatrix(Path(transpose ? "t.csv" : "m.csv"));
        const auto releves = importer.Finish();
        EXPECT_EQ(importer.Report().classes, (std::array<long, 8>{1, 0, 0, 0, 1, 0, 1, 0}));
        FieldDataWriter w(Path("p.tki"), h);
        for (const FieldReleve& r : releves) w.Add(r);
        w.Finish();
        pairs[transpose] = testing::ReadBytes(Path("p.tki")) + testing::ReadBytes(Path("p.tkd"));
    }
    EXPECT_TRUE(pairs[0] == pairs[1]);
    FieldFiles f(Path("p.tki"));
    PlantSet set;
    ASSERT_EQ(f.RecordCount(), 3);
    ASSERT_TRUE(f.ReadReleve(1, set));
    EXPECT_EQ(f.ItemText(2), "R1");
    ASSERT_EQ(set.count, 2);
    EXPECT_EQ(set.entries[1].name, "Fagus crenata");
    EXPECT_EQ(set.entries[1].covers, (LayerCovers{{0, 0, 6, 0, 0, 0, 0}}));
    EXPECT_EQ(set.entries[2].covers, (LayerCovers{{0, 0, 30, 0, 0, 0, 0}}));
    ASSERT_TRUE(f.ReadReleve(2, set));
    ASSERT_EQ(set.count, 1);
    EXPECT_EQ(set.entries[1].name, "Sasa kurilensis");
    EXPECT_EQ(set.entries[1].covers, (LayerCovers{{0, 0, 50, 0, 0, 0, 0}}));
    ASSERT_TRUE(f.ReadReleve(3, set));
    EXPECT_EQ(set.count, 0);
}

TEST_F(Import, MatrixProblemsNameTheRowAndColumn) {
    WriteBytes(Path("m.csv"),
               ",Fagus,Sasa,Fagus,\n"
               "R1,1,x,,\n"
               "R2,,2,,3\n"
               "R1,1,,,\n"
               "R3,1,2,3,4,5\n");
    const std::string m = Path("m.csv");
    FieldImportOptions o;
    o.scale = CoverScale::Ordinal;
    EXPECT_EQ(Problems([&](FieldImporter& i) { i.ReadMatrix(m); }, o),
              (std::vector<std::string>{
                  "6 件の問題があるため、何も書いていません:",
                  m + " の 1 行目: 「Fagus」が 2 列目と 4 列目にあります",
                  m + " の 2 行目 3 列目（Sasa）: 「x」は被度（尺度 ordinal）ではありません",
                  m + " の 3 行目: 見出しのない 5 列目に値「3」があります",
                  m + " の 4 行目: 「R1」が 2 行目にもあります",
                  m + " の 5 行目: 見出し行の 5 列より多い 6 列があります",
                  m + " の 5 行目: 見出しのない 5 列目に値「4」があります",
                  "被度の尺度は --scale で選べます: bb（既定）, bb-extended, percent, londo, domin, ordinal, presence",
              }));
}

}  // namespace
}  // namespace tavik
