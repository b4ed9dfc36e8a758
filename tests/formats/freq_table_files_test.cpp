#include "formats/freq_table_files.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/cp932_width.h"
#include "formats/codec.h"
#include "formats/csv_field.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// A small constancy table: two groups, three species, "・" for absent.
FreqTable Small() {
    FreqTable t;
    t.caption = "ブナ林常在度表";
    t.Resize(3, 6);
    t.fixedRows = 3;
    t.fixedCols = 1;
    const char* cells[6][3] = {{"　群落区分", "A", "B"},    {"　測定数", "4", "5"},   {"　平均種数", "12.2", "9"},
                               {"ブナ", "４ 3-5", "Ⅲ +-1"}, {"ササ 属", "・", "Ⅰ r"}, {"ミズナラ", "１ +", "・"}};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c) t.SetText(c, r, cells[r][c]);
    return t;
}

std::string Cp932(const std::string& utf8) {
    std::string out;
    EXPECT_TRUE(Utf8ToCp932(utf8, out));
    return out;
}

TEST(FreqTableFiles, TextFileHasOneBlockPerGroupWithoutAbsentCells) {
    const std::string expected =
        "#T\r\n2026/12/07\r\nブナ林常在度表\r\n"
        "#S\r\n　群落区分,A\r\n　測定数,4\r\n　平均種数,12.2\r\nブナ,４ 3-5\r\nミズナラ,１ +\r\n#E\r\n\r\n"
        "#S\r\n　群落区分,B\r\n　測定数,5\r\n　平均種数,9\r\nブナ,Ⅲ +-1\r\nササ 属,Ⅰ r\r\n#E\r\n\r\n";
    TempDir dir;
    WriteFreqTableText(dir / "t.txt", Small(), "2026/12/07");
    EXPECT_EQ(ReadBytes(dir / "t.txt"), Cp932(expected));
}

TEST(FreqTableFiles, CsvAndClipboardTexts) {
    FreqTable t = Small();
    t.Resize(3, 2);
    EXPECT_EQ(FreqTableCsvLines(t), "ブナ林常在度表\r\n　群落区分,A,B\r\n　測定数,4,5\r\n");
    EXPECT_EQ(FreqTableClipboardText(t), "　群落区分\tA\tB\r\n　測定数\t4\t5\r\n");
    t.Resize(1, 2);
    EXPECT_EQ(FreqTableClipboardText(t), "　群落区分\r\n　測定数\r\n");
}

TEST(FreqTableFiles, CsvRoundTripKeepsRangesAndLeadingSpaces) {
    TempDir dir;
    FreqTable t = Small();
    t.SetText(0, 4, " ササ 属 ");
    t.SetText(2, 5, "");
    WriteFreqTableCsv(dir / "t.csv", t);
    FreqTable back;
    back.fixedRows = 1;
    ReadFreqTableCsv(dir / "t.csv", back);
    EXPECT_EQ(back.caption, t.caption);
    ASSERT_EQ(back.ColCount(), 3);
    ASSERT_EQ(back.RowCount(), 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(back.Text(c, r), t.Text(c, r)) << c << "," << r;
    EXPECT_EQ(back.fixedRows, 1);  // the reader keeps what the window had
}

TEST(FreqTableFiles, CsvFieldsAreQuotedWhereNeededAndReadBackExactly) {
    EXPECT_EQ(CsvField("Ⅳ r-2"), "Ⅳ r-2");
    EXPECT_EQ(CsvField("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(CsvField("a~b"), "\"a~b\"");
    EXPECT_EQ(CsvField("a\tb"), "\"a\tb\"");
    EXPECT_EQ(CsvField(" a"), "\" a\"");
    // The membership and fidelity files quote only what would shift their columns: their
    // names stay as written, blanks and "~" included, as files already written have them.
    EXPECT_EQ(CsvFieldWhereNeeded(" a~b\t"), " a~b\t");
    EXPECT_EQ(CsvFieldWhereNeeded("a,b"), "\"a,b\"");
    EXPECT_EQ(CsvFieldWhereNeeded("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(CsvFieldWhereNeeded("一\r\n二"), "\"一\r\n二\"");

    // Every name that shifted or changed cells before: a comma, a TAB, a control character,
    // "~", quotes, blanks at the ends, a line end inside a cell, a caption that begins with
    // a quote and holds a line end.
    TempDir dir;
    FreqTable t = Small();
    t.caption = "\"引用\" 表\n二行目";
    t.SetText(0, 3, "Quercus serrata, s.l.");
    t.SetText(0, 4, "ササ\t属");
    t.SetText(0, 5, std::string("Acer\x01\x1b mono"));
    t.SetText(1, 4, "~r~");
    t.SetText(2, 3, "\"Ⅲ\" +-1 ");
    t.SetText(1, 5, "一行目\r\n二行目\n三");
    t.SetText(2, 5, "");  // a wholly empty last cell keeps its column
    t.SetText(2, 0, "");
    WriteFreqTableCsv(dir / "t.csv", t);
    FreqTable back;
    ReadFreqTableCsv(dir / "t.csv", back);
    EXPECT_EQ(back.caption, t.caption);
    ASSERT_EQ(back.ColCount(), 3);
    ASSERT_EQ(back.RowCount(), 6);
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(back.Text(c, r), t.Text(c, r)) << c << "," << r;

    // A file of an earlier version, nothing quoted: spaces stay inside their cells.
    ReadFreqTableCsvBytes("t\r\n a b ,Ⅳ r-2 │ 78\r\n", "x.csv", back);
    EXPECT_EQ(back.Text(0, 0), " a b ");
    EXPECT_EQ(back.Text(1, 0), "Ⅳ r-2 │ 78");
    // A quote never closed is named with the line where the record began.
    try {
        ReadFreqTableCsvBytes("t\r\na,b\r\nc,\"d\r\ne\r\n", "x.csv", back);
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("x.csv の 3 行目"), std::string::npos) << e.what();
    }
}

TEST(FreqTableFiles, CsvReadRefusesWhatTheWindowDidNotWrite) {
    FreqTable t = Small();
    const auto refused = [&](const std::string& bytes, const std::string& part) {
        FreqTable copy = t;
        try {
            ReadFreqTableCsvBytes(bytes, "x.csv", copy);
            ADD_FAILURE() << "accepted: " << bytes.substr(0, 40);
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
        EXPECT_EQ(copy.caption, t.caption);
        EXPECT_EQ(copy.Text(1, 3), t.Text(1, 3));
    };
    refused("", "x.csv の 1 行目");
    refused("title only\r\n", "x.csv の 2 行目");
    refused("t\r\na,b\r\n" + std::string(2000, ',') + "x\r\n", "x.csv の 3 行目");
    refused("t\r\na,\x82\xa0\r\n\x82\r\n", "x.csv の 3 行目");  // a lone lead byte
    // The smallest table: a title and one row.
    ReadFreqTableCsvBytes("t\r\nonly\r\n", "x.csv", t);
    EXPECT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.ColCount(), 1);
    EXPECT_EQ(t.fixedRows, 0);
    EXPECT_EQ(t.fixedCols, 0);
}

TEST(FreqTableFiles, MergeAddsAColumnPerBlockAndRowsForNewSpecies) {
    TempDir dir;
    FreqTable t = Small();
    t.Resize(5, 8);  // trailing columns and rows without labels are trimmed first
    WriteFreqTableText(dir / "t.txt", Small(), "2026/12/07");
    // A second file: a species the table lacks, a line without a comma, a long value.
    WriteBytes(dir / "u.txt", Cp932("#T\r\nd\r\ntitle\r\n#S\r\n　群落区分,C\r\nカエデ,Ⅴ 1\r\n"
                                    "\r\nno comma\r\n#E\r\n#S\r\nブナ,"
                                    "123456789012345678901234567890123456789\r\n#E\r\n"));
    MergeFreqTableText(dir / "t.txt", t);
    ASSERT_EQ(t.ColCount(), 5);
    EXPECT_EQ(t.Text(3, 0), "A");
    EXPECT_EQ(t.Text(4, 0), "B");
    EXPECT_EQ(t.Text(3, 3), "４ 3-5");
    EXPECT_EQ(t.Text(4, 4), "Ⅰ r");
    EXPECT_EQ(t.Text(3, 4), "");  // "・" was not written
    MergeFreqTableText(dir / "u.txt", t);
    ASSERT_EQ(t.ColCount(), 7);
    ASSERT_EQ(t.RowCount(), 8);
    EXPECT_EQ(t.Text(5, 0), "C");
    EXPECT_EQ(t.Text(0, 6), "カエデ");
    EXPECT_EQ(t.Text(5, 6), "Ⅴ 1");
    EXPECT_EQ(t.Text(1, 6), "");
    EXPECT_EQ(t.Text(0, 7), "");
    EXPECT_EQ(t.Text(5, 7), "no comma");
    EXPECT_EQ(t.Text(6, 3), "123456789012345678901234567890123456");
    EXPECT_EQ(t.Text(6, 0), "");

    // A file without any block only trims.
    t.Resize(9, 9);
    WriteBytes(dir / "v.txt", "#T\r\nd\r\nt\r\n");
    MergeFreqTableText(dir / "v.txt", t);
    EXPECT_EQ(t.ColCount(), 6);  // column 6 had no label in row 0
    EXPECT_EQ(t.RowCount(), 7);  // row 7 had an empty label
}

TEST(FreqTableFiles, TextFileTakesBackNamesThatLookLikeMarksOrHoldCommas) {
    TempDir dir;
    FreqTable t = Small();
    t.caption = "#S 見出しのような表題";
    t.SetText(0, 3, "#E");
    t.SetText(0, 4, "Carex, sp.");
    t.SetText(0, 5, "\"ミズナラ\"");
    WriteFreqTableText(dir / "t.txt", t, "2026/12/07");
    FreqTable back;
    back.Resize(1, 1);
    MergeFreqTableText(dir / "t.txt", back);
    ASSERT_EQ(back.ColCount(), 3);
    ASSERT_EQ(back.RowCount(), 7);  // the empty first row, then the six labels
    for (int r = 0; r < 6; ++r) {
        int found = -1;
        for (int b = 1; b < back.RowCount(); ++b)
            if (back.Text(0, b) == t.Text(0, r)) found = b;
        ASSERT_GT(found, 0) << t.Text(0, r);
        for (int c = 1; c < 3; ++c) {
            const std::string& cell = t.Text(c, r);
            EXPECT_EQ(back.Text(c, found), cell == "・" ? "" : cell) << c << "," << r;
        }
    }

    // A line end cannot stand in a line of the file: refused before anything is written.
    const std::string before = ReadBytes(dir / "t.txt");
    t.SetText(0, 3, "two\nlines");
    EXPECT_THROW(WriteFreqTableText(dir / "t.txt", t, "2026/12/07"), std::runtime_error);
    EXPECT_EQ(ReadBytes(dir / "t.txt"), before);
}

TEST(FreqTableFiles, DamagedBlocksAreErrorsNamingTheLine) {
    FreqTable t = Small();
    const auto refused = [&](const std::string& text, const std::string& part) {
        FreqTable copy = t;
        try {
            MergeFreqTableTextBytes(Cp932(text), "m.txt", copy);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
        }
        EXPECT_EQ(copy.ColCount(), t.ColCount());  // all or nothing
        EXPECT_EQ(copy.RowCount(), t.RowCount());
    };
    // A block that another "#S" ends: before, the next block was dropped.
    refused("#T\r\nd\r\nt\r\n#S\r\nブナ,1\r\n#S\r\nブナ,2\r\n#E\r\n", "m.txt の 6 行目");
    // A block that the file's end cuts short is named by its "#S".
    refused("#T\r\nd\r\nt\r\n#S\r\nブナ,1\r\n#E\r\n#S\r\nブナ,2\r\n", "m.txt の 7 行目");
    refused("#S\r\n\"ブナ,1\r\n#E\r\n", "m.txt の 2 行目");
}

// Records are read a line at a time: a quoted cell keeps each line end the file has inside
// it, a quoted caption may span lines, and a caption that only begins with a quote is the
// first line as it stands, the rows following it.
TEST(FreqTableFiles, CsvRecordsSpanLinesWithTheFilesOwnLineEnds) {
    FreqTable t = Small();
    ReadFreqTableCsvBytes("\"two\nline\"\"s\"\r\na,\"x\ry\r\nz\nw\"\nb,c,d\r", "x.csv", t);
    EXPECT_EQ(t.caption, "two\nline\"s");
    ASSERT_EQ(t.RowCount(), 2);
    ASSERT_EQ(t.ColCount(), 3);
    EXPECT_EQ(t.Text(1, 0), "x\ry\r\nz\nw");
    EXPECT_EQ(t.Text(2, 1), "d");

    // "a" "b" on the first line: not one quoted field, so the line is the caption.
    ReadFreqTableCsvBytes("\"a\",\"b\"\r\n\"c\r\nd\",e\r\n", "x.csv", t);
    EXPECT_EQ(t.caption, "\"a\",\"b\"");
    ASSERT_EQ(t.RowCount(), 1);
    EXPECT_EQ(t.Text(0, 0), "c\r\nd");
    EXPECT_EQ(t.Text(1, 0), "e");
    // A quoted caption never closed: the first line is the caption, and the rest are rows.
    ReadFreqTableCsvBytes("\"open\r\nr1\r\nr2\r\n", "x.csv", t);
    EXPECT_EQ(t.caption, "\"open");
    ASSERT_EQ(t.RowCount(), 2);
    EXPECT_EQ(t.Text(0, 1), "r2");
    // A file that holds only a BOM is empty; a BOM and a line end is one empty line.
    FreqTable copy = Small();
    try {
        ReadFreqTableCsvBytes("\xEF\xBB\xBF", "x.csv", copy);
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("空のファイルです"), std::string::npos) << e.what();
    }
    try {
        ReadFreqTableCsvBytes("\xEF\xBB\xBF\r\n", "x.csv", copy);
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("x.csv の 2 行目: 表の行がありません"), std::string::npos) << e.what();
    }
    // A line that does not decode is named before a fault in the table's shape above it.
    try {
        ReadFreqTableCsvBytes("t\r\n" + std::string(2000, ',') + "\r\nok\r\n\x82\r\n", "x.csv", copy);
        ADD_FAILURE() << "accepted";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("x.csv の 4 行目: 文字コード"), std::string::npos) << e.what();
    }
}

// A label given twice in one block: its last value is the one the table gets, as before.
TEST(FreqTableFiles, MergeKeepsTheLastValueOfALabelGivenTwiceInABlock) {
    FreqTable t = Small();
    MergeFreqTableTextBytes(Cp932("#S\r\nブナ,1\r\nカエデ,x\r\nブナ,2\r\n#E\r\n#S\r\nブナ,3\r\n#E\r\n"), "m.txt", t);
    ASSERT_EQ(t.ColCount(), 5);
    ASSERT_EQ(t.RowCount(), 7);
    EXPECT_EQ(t.Text(3, 3), "2");
    EXPECT_EQ(t.Text(4, 3), "3");
    EXPECT_EQ(t.Text(0, 6), "カエデ");
    EXPECT_EQ(t.Text(3, 6), "x");
    EXPECT_EQ(t.Text(4, 6), "");
}

TEST(FreqTableFiles, ConstancyPrintSplitsGroupsIntoBlocksThatFitThePage) {
    FreqTable t;
    t.caption = "八群";
    t.Resize(9, 4);
    t.printCellWidth = 12;
    for (int c = 1; c < 9; ++c) {
        t.SetText(c, 0, std::string(1, static_cast<char>('A' + c - 1)));
        t.SetText(c, 3, "Ⅳ +-2 │ 62");
    }
    t.SetText(0, 3, "ブナ");
    for (int page : {40, 64, 80, 100, 124}) {
        const auto lines = FreqTablePrintLines(t, true, page);
        int groups = 0;
        for (const auto& l : lines) {
            EXPECT_LE(Cp932Width(l), page) << page << ": " << l;
            if (l.starts_with("ブナ")) groups += static_cast<int>((Cp932Width(l) - 28) / 12);
        }
        EXPECT_EQ(groups, 8) << page;  // every group printed once, none lost
        EXPECT_EQ(std::count(lines.begin(), lines.end(), "\f"), (8 + (page - 28) / 12 - 1) / ((page - 28) / 12) - 1)
            << page;
    }
}

TEST(FreqTableFiles, PrintLinesOfBothLayouts) {
    FreqTable t = Small();
    t.defaultColWidth = 45;
    t.colWidths = {180};
    auto lines = FreqTablePrintLines(t, true);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "ブナ林常在度表");
    EXPECT_EQ(lines[4], "ブナ" + std::string(24, ' ') + "４ 3-5 Ⅲ +-1 ");
    t.defaultColWidth = 22;  // without ranges: 3-cell columns
    lines = FreqTablePrintLines(t, true);
    EXPECT_EQ(lines[4], "ブナ" + std::string(24, ' ') + "４ Ⅲ ");

    FreqTable s;
    s.Resize(5, 2);
    s.caption = "Reciprocal Averaging Score";
    s.SetText(0, 1, "ブナ");
    s.SetText(1, 1, "5.0");
    s.SetText(2, 1, "x");
    s.SetText(3, 1, "R-01");
    s.SetText(4, 1, "100.0");
    lines = FreqTablePrintLines(s, false);
    EXPECT_EQ(lines[2], "ブナ" + std::string(24, ' ') + "  5.0   R-01   100.0");
}

}  // namespace
}  // namespace tavik
