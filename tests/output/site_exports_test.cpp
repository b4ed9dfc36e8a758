#include "output/site_exports.h"
#include "formats/codec.h"

#include <gtest/gtest.h>

#include "tests/formats/temp_dir.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

TEST(GpsPoints, DocumentedRecord) {
    EXPECT_EQ(GpsPointRecord("R001", "3545123", "13945307", " 120"),
              "ORD=POI/tex=R001/ido=035'45'12'3/kei=139'45'30'7/alt=+120/col=12");
    // Fewer digits are filled with zeros; a latitude that starts with 0 is taken as it is.
    EXPECT_EQ(GpsPointRecord("R", "354512", "13945307", "1").substr(0, 26), "ORD=POI/tex=R/ido=035'45'1");
    EXPECT_NE(GpsPointRecord("R", "354512", "1", "1").find("/ido=035'45'12'0/"), std::string::npos);
    EXPECT_NE(GpsPointRecord("R", "03545123", "1", "1").find("/ido=035'45'12'3/"), std::string::npos);
}

Table SiteTable() {
    Table t = TableWithItems({1, 2, 3, 5, 6, 7, 8, 30});
    const int q1 =
        AddReleve(t, {{2, "R001"}, {3, "月山 "}, {5, "3545123"}, {6, "13945307"}, {7, "53394611"}, {8, "1250"}});
    Put(t, q1, "ブナ", Layer(T1, 40));
    AddReleve(t, {{2, " R002"}, {5, "03545123"}, {6, "13945307"}, {7, "53394612"}});  // no species, no altitude
    const int q3 = AddReleve(t, {{2, "R003"}, {7, "53394613"}, {8, "-150"}});
    Put(t, q3, "ブナ", Layer(T1, 10));
    t.Recount();
    return t;
}

TEST(GpsPoints, FileWithTheHeaderBeforeTheFirstRecord) {
    Table t = SiteTable();
    TempDir dir;
    WriteGpsPoints(t, dir / "t.pot");
    const std::string text = ReadBytes(dir / "t.pot");
    EXPECT_TRUE(text.starts_with(
        "DAT=WGS84/WGS84/0.000/0.00000000/0/0/0 ORD=POI/tex=R001/ido=035'45'12'3/kei=139'45'30'7/alt=+1250/col=12\r\n"))
        << text;
    // The empty relevé gets its record too.
    EXPECT_NE(text.find("ORD=POI/tex=R002/ido=035'45'12'3/"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 3);
}

TEST(MeshData, AltitudeClasses) {
    EXPECT_EQ(AltitudeClass("1250"), "12");
    EXPECT_EQ(AltitudeClass("  80"), "00");
    EXPECT_EQ(AltitudeClass("0"), "00");
    EXPECT_EQ(AltitudeClass("99"), "00");
    EXPECT_EQ(AltitudeClass("100"), "01");
    EXPECT_EQ(AltitudeClass("199"), "01");
    EXPECT_EQ(AltitudeClass("5000"), "50");
    EXPECT_EQ(AltitudeClass(""), "99");
    EXPECT_EQ(AltitudeClass("12a"), "99");
    EXPECT_EQ(AltitudeClass("-150"), "-1");
}

TEST(MeshData, OneLinePerRelevé) {
    Table t = SiteTable();
    LineList lines;
    MeshData(t, lines);
    EXPECT_EQ(lines.lines, (std::vector<std::string>{"53394611.12,R001", "53394612.99,R002", "53394613.-1,R003"}));
}

TEST(SiteExports, MissingItemsWriteNothing) {
    Table t = TableWithItems({1, 2, 5, 6, 7});
    Put(t, AddReleve(t, {{2, "R1"}}), "X", Layer(H1, 10));
    t.Recount();
    EXPECT_FALSE(HasItemsFor(t, SiteExport::GpsPoints));
    EXPECT_FALSE(HasItemsFor(t, SiteExport::MeshData));
    EXPECT_TRUE(HasItemsFor(t, SiteExport::SiteData));
    TempDir dir;
    WriteBytes(dir / "old.grd", "old");
    EXPECT_THROW(WriteGpsPoints(t, dir / "t.pot"), MissingSiteItems);
    EXPECT_THROW(WriteMeshData(t, dir / "old.grd"), MissingSiteItems);
    EXPECT_FALSE(std::filesystem::exists(dir / "t.pot"));
    EXPECT_EQ(ReadBytes(dir / "old.grd"), "old");
    try {
        WriteGpsPoints(t, dir / "t.pot");
    } catch (const MissingSiteItems& e) {
        EXPECT_STREQ(e.what(), "必要なデータが表にありません");
    }
}

TEST(SiteData, HeadingAndOneLinePerRelevé) {
    Table t = TableWithItems({1, 2, 3, 8});  // header rows 1..4
    ASSERT_EQ(t.FNRow(), 5);
    Put(t, AddReleve(t, {{2, "R1"}, {3, "月山"}, {8, "1160"}}), "ブナ", Layer(T1, 40));
    AddReleve(t, {{2, "R2"}});
    t.Recount();
    TempDir dir;
    WriteSiteData(t, dir / "t-plot.csv");
    std::string expected;
    Utf8ToCp932("測定番号,調査地名,調査地標高(m)\r\nR1,月山,1160\r\nR2,,\r\n", expected);
    EXPECT_EQ(ReadBytes(dir / "t-plot.csv"), expected);
}

}  // namespace
}  // namespace tavik
