#include "formats/saved_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include "core/sorting.h"
#include "formats/workspace.h"
#include "tests/core/test_helpers.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {
using testing::Covers;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Three species, two relevés, items 1..3: texts that need quoting, CP932 characters whose
// second byte is "\" or "|", a cell without visible code, and the relevés' own records.
Table SmallTable() {
    Table t;
    t.ResetForLoad(3, 2, 4);
    t.TableTitle = "Test 表";
    const char* names[] = {"", "No", "RelNo", "Site"};
    for (int r = 1; r <= 3; ++r) {
        t.SetText(0, r, std::to_string(r));
        t.SetText(2, r, names[r]);
    }
    t.SetText(2, 4, "（現実の種数）");
    t.SetText(3, 4, "F＼N");
    t.SetHeaderText(1, 2, "A-1");
    t.SetHeaderText(1, 3, "Dune, north");
    t.SetHeaderText(2, 2, "Say \"hi\"");
    t.SetHeaderText(2, 3, "表");
    t.SetSpeciesName(1, "Fagus crenata");
    t.SetSpeciesName(2, "ソ,ポ");
    t.SetSpeciesName(3, "  lead");
    for (auto [r, s, c] : {std::tuple{1, 1, Covers({23, 0, 0, 0, 1})},
                           {2, 1, Covers({0, 0, 0, 0, 6})},
                           {2, 2, Covers({0, 0, 10, 0, 0, 0, 9})},
                           {1, 3, Covers({0, 0, 0, 0, 0, 7})}})
        t.SetCell(r, s, LayerCode(c), c);
    t.SetReleveRecord(1, Covers({5, 2}));
    t.SetReleveRecord(2, Covers({5, 1}));
    t.Recount();
    return t;
}

// The same table as a file, written out by hand.
const std::string kSmallFile =
    "Test \x95\x5C\r\n"
    "3 2 4\r\n"
    "0000000"
    "5200000"
    "5100000\r\n"
    "0000000"
    "G000100"
    "0000600\r\n"
    "0000000"
    "0000000"
    "00:0009\r\n"
    "0000000"
    "0000070"
    "0000000\r\n"
    ",,,0,1,2\r\n"
    "1,,No,,\"   1\",\"   2\"\r\n"
    "2,,RelNo,,A-1,\"Say \"\"hi\"\"\"\r\n"
    "3,,Site,,\"Dune, north\",\x95\x5C\r\n"
    ",,\x81\x69\x8C\xBB\x8E\xC0\x82\xCC\x8E\xED\x90\x94\x81\x6A,F\x81\x5FN,\"   2\",\"   2\"\r\n"
    "1,\"   1\",\"Fagus crenata\",\"   2\",\"2  +\",\"   r\"\r\n"
    "2,\"   2\",\"\x83\x5C,\x83\x7C\",\"   1\",,\"  10\"\r\n"
    "3,\"   3\",\"  lead\",\"   1\",\"    \",\r\n";

// Everything a user could notice of a table: its file, its item boxes and its font.
std::string Fingerprint(const Table& t) {
    std::string s = SavedTableBytes(t) + "|" + t.FontName + std::to_string(t.FontSize);
    for (int n = 1; n <= kItemCount; ++n)
        s += "|" + t.ItemBoxes[n].caption + (t.ItemBoxes[n].enabled ? "E" : "") + (t.ItemBoxes[n].checked ? "C" : "");
    return s;
}

void ExpectSameGrid(const Table& a, const Table& b) {
    ASSERT_EQ(a.SpeciesCount(), b.SpeciesCount());
    ASSERT_EQ(a.ReleveCount(), b.ReleveCount());
    ASSERT_EQ(a.FNRow(), b.FNRow());
    for (int r = 1; r <= a.FNRow() + a.SpeciesCount(); ++r)
        for (int c = 1; c <= a.ReleveCount() + 3; ++c) EXPECT_EQ(a.Text(c, r), b.Text(c, r)) << c << "," << r;
    for (int q = 0; q <= a.ReleveCount(); ++q)
        for (int p = 0; p <= a.SpeciesCount(); ++p)
            EXPECT_EQ(a.Covers(a.ReleveKeyAt(q), p ? a.SpeciesKeyAt(p) : 0),
                      b.Covers(b.ReleveKeyAt(q), p ? b.SpeciesKeyAt(p) : 0))
                << q << "," << p;
}

TEST(SavedTable, WritesTheHandWrittenFile) {
    const Table t = SmallTable();
    const std::string before = Fingerprint(t);
    EXPECT_EQ(SavedTableBytes(t), kSmallFile);
    EXPECT_EQ(Fingerprint(t), before);  // saving changes nothing
}

TEST(SavedTable, ReadsTheHandWrittenFile) {
    Table t;
    t.ItemBoxes[5].caption = "kept";
    ParseSavedTable(kSmallFile, "small.vtb", t);
    ExpectSameGrid(t, SmallTable());
    EXPECT_EQ(t.TableTitle, "Test 表");
    EXPECT_EQ(t.MaxSpecies(), 3);
    EXPECT_EQ(t.MaxReleve(), 2);
    EXPECT_EQ(t.ColCount(), 6);
    EXPECT_EQ(t.FixedRows(), 5);
    EXPECT_EQ(t.CodeD, 2);
    EXPECT_EQ(t.Text(2, 7), "  lead");
    EXPECT_EQ(t.Text(4, 7), "    ");
    EXPECT_EQ(t.Text(5, 7), "");
    EXPECT_EQ(t.Text(5, 2), "Say \"hi\"");
    EXPECT_EQ(t.Text(4, 4), "   2");
    EXPECT_EQ(t.ReleveRecord(2), Covers({5, 1}));
    for (int n = 1; n <= kItemCount; ++n) {
        EXPECT_EQ(t.ItemBoxes[n].enabled, n <= 3) << n;
        EXPECT_EQ(t.ItemBoxes[n].checked, n <= 3) << n;
    }
    EXPECT_EQ(t.ItemBoxes[2].caption, "RelNo");
    EXPECT_EQ(t.ItemBoxes[5].caption, "kept");
    for (int p = 1; p <= 3; ++p) EXPECT_EQ(t.SpeciesKeyAt(p), p);
}

std::string Replace(std::string s, const std::string& from, const std::string& to) {
    const std::size_t at = s.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return s.replace(at, from.size(), to);
}

// Gives its bytes in reads of at most `step`: a read may end anywhere, inside a cover, between
// CR and LF, right before a cover.
class Pieces : public ByteSource {
public:
    Pieces(std::string_view b, std::size_t step) : b_(b), step_(step) {}
    std::size_t Read(char* buf, std::size_t n) override {
        n = std::min({n, step_, b_.size()});
        std::memcpy(buf, b_.data(), n);
        b_.remove_prefix(n);
        return n;
    }
    // A loose bound, as a compressed source gives: a file cut short passes the first check
    // of its counts and is refused where it ends.
    std::uint64_t MaxBytes() const override { return 1 << 20; }

private:
    std::string_view b_;
    std::size_t step_;
};

std::string ReadMessage(std::string_view bytes, std::size_t step, Table& t) {
    try {
        Pieces src(bytes, step);
        ReadSavedTable(src, "p.vtb", t);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "(no error)";
}

TEST(SavedTable, ReadsInPiecesWhereverTheReadsEndAndWithAnyLineEnd) {
    for (const std::string& ending : {std::string("\r\n"), std::string("\n"), std::string("\r")}) {
        std::string bytes = kSmallFile;
        for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += ending.size())
            bytes.replace(at, 2, ending);
        for (std::size_t step : {1, 2, 3, 7, 8, 20, 4096}) {
            SCOPED_TRACE(std::to_string(ending.size()) + " " + std::to_string(step));
            Table t;
            ASSERT_EQ(ReadMessage(bytes, step, t), "(no error)");
            ExpectSameGrid(t, SmallTable());
            EXPECT_EQ(t.ReleveRecord(1), Covers({5, 2}));
            EXPECT_EQ(t.Covers(2, 2), Covers({0, 0, 10, 0, 0, 0, 9}));  // the last cover of its line
        }
    }
}

TEST(SavedTable, FaultsOfTheCoverBlockAreTheSameWhereverTheReadsEnd) {
    const std::size_t line5 = kSmallFile.find("00:0009");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {Replace(kSmallFile,
                 "0000070"
                 "0000000\r\n",
                 "0000070"
                 "000000\r\n"),
         "p.vtb の 6 行目: 被度の行が短すぎます（21 文字必要、20 文字）"},
        // A character below '0' in a line that is short as well: the short line is told.
        {Replace(kSmallFile,
                 "G000100"
                 "0000600\r\n",
                 "G0/0100"
                 "000060\r\n"),
         "p.vtb の 4 行目: 被度の行が短すぎます（21 文字必要、20 文字）"},
        {Replace(kSmallFile, "G000100", "G0/0100"), "p.vtb の 4 行目: 10 文字目: 被度の文字が「0」より小さい値です"},
        {kSmallFile.substr(0, line5 + 3), "p.vtb の 5 行目: 被度の行が短すぎます（21 文字必要、17 文字）"},
        {kSmallFile.substr(0, line5 + 9), "p.vtb の 6 行目: ファイルが途中で終わっています（14 行必要）"},
        {kSmallFile.substr(0, kSmallFile.find(",,,0,1,2") - 1),
         "p.vtb の 7 行目: ファイルが途中で終わっています（14 行必要）"},
        // What follows the covers of a line is passed over.
        {Replace(kSmallFile, "0000600\r\n", "0000600xyz\r\n"), "(no error)"},
    };
    for (const auto& [bytes, message] : cases)
        for (std::size_t step : {1, 2, 7, 4096}) {
            SCOPED_TRACE(message + " " + std::to_string(step));
            Table t;
            EXPECT_EQ(ReadMessage(bytes, step, t), message);
            if (message == "(no error)") ExpectSameGrid(t, SmallTable());
        }
}

TEST(SavedTable, CellTextsThatWaitForTheEncodingComeAfterTheCells) {
    // "ﾅ表" (C5 95 5C in CP932) reads as UTF-8 too, so it waits; "ソ" (83 5C) in a later row
    // decides CP932. Both texts, one on a covered cell and one on a cell without covers,
    // and a long ASCII text must be there with every cover.
    Table t = SmallTable();
    t.TableTitle = "T";
    t.SetText(2, 4, "");
    t.SetText(3, 4, "");
    t.SetHeaderText(2, 3, "");
    t.SetSpeciesName(2, "S");
    t.SetCellText(1, 1, "ﾅ表");
    t.SetCellText(2, 3, "ソ");
    t.SetCellText(1, 2, "longer");
    t.Recount();
    const std::string bytes = SavedTableBytes(t);
    ASSERT_EQ(bytes.substr(0, 3), "T\r\n");
    for (std::size_t step : {1, 4096}) {
        Table u;
        ASSERT_EQ(ReadMessage(bytes, step, u), "(no error)");
        ExpectSameGrid(u, t);
        EXPECT_EQ(u.CellText(1, 1), "ﾅ表");
        EXPECT_EQ(u.CellText(2, 3), "ソ");
        EXPECT_EQ(u.CellText(1, 2), "longer");
        EXPECT_EQ(u.Covers(1, 1), Covers({23, 0, 0, 0, 1}));
    }
}

TEST(SavedTable, ReadingRuleForCommaSeparatedLines) {
    // Blanks around fields, a blank ending a bare field, an unterminated quote, extra fields.
    std::string file = kSmallFile;
    const std::string from = "2,,RelNo,,A-1,\"Say \"\"hi\"\"\"\r\n";
    file.replace(file.find(from), from.size(), "  2 , ,RelNo,, A-1 x,\"open, \"\"quote\r\n");
    Table t;
    ParseSavedTable(file, "f.vtb", t);
    EXPECT_EQ(t.Text(2, 2), "RelNo");
    EXPECT_EQ(t.Text(4, 2), "A-1");
    EXPECT_EQ(t.Text(5, 2), "x");  // the blank ended "A-1"; the next field needs no comma
    // Fields past the last column are ignored: "open..." would be column 6.
    EXPECT_EQ(t.ColCount(), 6);
}

TEST(SavedTable, RoundTripKeepsQuotesBlanksAndLongNames) {
    TempDir dir;
    Workspace a;
    a.Start(dir / "none.ini");
    Table& t = a.table;
    t.TableTitle = "ブナ林, 2024 \"夏\"";
    const std::vector<std::string> names = {"Quercus crispula var. horo x",  // 28 characters
                                            "a,b",
                                            "say \"x\"",
                                            " lead",
                                            "trail ",
                                            "ﾌﾞﾅ",
                                            "ソ表ポ㎡",
                                            "x\ty"};
    for (const std::string& n : names) t.AppendSpecies(n);
    for (int q = 1; q <= 3; ++q) {
        t.AppendReleve();
        const int rk = t.ReleveKeyAt(q);
        t.SetHeaderText(rk, 2, q == 1 ? "A 01" : q == 2 ? "\"B\"" : "C,1");
        t.SetHeaderText(rk, 3, "  12");
        for (int p = 1; p <= static_cast<int>(names.size()); ++p) {
            if ((p + q) % 3 == 0) continue;
            const LayerCovers c = Covers({p, q, 0, 0, 10 * q + p % 6, 0, 8});
            t.SetCell(rk, t.SpeciesKeyAt(p), LayerCode(c), c);
        }
        t.SetReleveRecord(rk, Covers({5, q % 2 + 1}));
    }
    t.Recount();
    a.SaveTable(dir / "t.vtb");
    // Every line holds all grid columns, the spare ones included.
    const std::string bytes = ReadBytes(dir / "t.vtb");
    const std::size_t row1 = bytes.find("\r\n1,");
    ASSERT_NE(row1, std::string::npos);
    const std::string line = bytes.substr(row1 + 2, bytes.find("\r\n", row1 + 2) - row1 - 2);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), t.ColCount() - 1);

    Workspace b;
    b.Start(dir / "none.ini");
    b.LoadTable(dir / "t.vtb");
    ExpectSameGrid(b.table, a.table);
    EXPECT_EQ(b.table.TableTitle, t.TableTitle);
    EXPECT_EQ(b.table.SpeciesName(1), "Quercus crispula var. horo x");
    EXPECT_EQ(b.table.MaxReleve(), 3);
    EXPECT_EQ(b.table.ColCount(), 7);
    // A loaded table saves to a file that loads to the same file again.
    const std::string again = SavedTableBytes(b.table);
    Table c;
    ParseSavedTable(again, "again.vtb", c);
    EXPECT_EQ(SavedTableBytes(c), again);
}

TEST(SavedTable, SortedTableComesBackWithKeysAtPositions) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.table = testing::MakeTable({{"A", "B"}, {"B", "C", "D"}, {"C", "D", "E", "B"}, {"E"}});
    Table& t = ws.table;
    // Distinct covers for every cell, remembered by relevé and species.
    std::map<std::pair<int, std::string>, LayerCovers> truth;
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        const int rk = t.ReleveKeyAt(q);
        t.SetHeaderText(rk, 2, "R" + std::to_string(q));
        for (int p = 1; p <= t.SpeciesCount(); ++p) {
            const int sk = t.SpeciesKeyAt(p);
            if (t.CellEmpty(rk, sk)) continue;
            const LayerCovers c = Covers({q, p, 0, 0, 10 + q + p});
            t.SetCell(rk, sk, LayerCode(c), c);
            truth[{q, t.SpeciesName(sk)}] = c;
        }
    }
    ws.SaveTable(dir / "a.vtb");
    SortSpecies(t, 1, t.SpeciesCount(), true);
    t.PermuteReleves(1, {4, 3, 2, 1});
    t.Recount();
    ASSERT_NE(t.SpeciesKeyAt(1), 1);
    ws.SaveTable(dir / "b.vtb");

    Workspace loaded;
    loaded.Start(dir / "none.ini");
    loaded.LoadTable(dir / "b.vtb");
    const Table& u = loaded.table;
    ExpectSameGrid(u, t);
    for (int p = 1; p <= u.SpeciesCount(); ++p) EXPECT_EQ(u.SpeciesKeyAt(p), p);
    for (int q = 0; q <= u.ReleveCount(); ++q) EXPECT_EQ(u.ReleveKeyAt(q), q);
    int cells = 0;
    for (int q = 1; q <= u.ReleveCount(); ++q) {
        const int original = std::stoi(u.Text(q + 3, 2).substr(1));
        for (int p = 1; p <= u.SpeciesCount(); ++p) {
            auto it = truth.find({original, u.SpeciesName(p)});
            EXPECT_EQ(u.Covers(q, p), it == truth.end() ? EmptyLayers : it->second);
            cells += it != truth.end();
        }
    }
    EXPECT_EQ(cells, static_cast<int>(truth.size()));
}

TEST(SavedTable, EmptyTableRoundTrip) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.SaveTable(dir / "e.vtb");
    const std::string bytes = ReadBytes(dir / "e.vtb");
    EXPECT_EQ(bytes.substr(0, 28), "\r\n0 0 19\r\n0000000\r\n,,,0\r\n1,,");
    Workspace b;
    b.Start(dir / "none.ini");
    b.LoadTable(dir / "e.vtb");
    EXPECT_EQ(b.table.ReleveCount(), 0);
    EXPECT_EQ(b.table.FNRow(), 19);
    EXPECT_EQ(b.table.Text(2, 1), "表番号");
    EXPECT_TRUE(b.table.ItemBoxes[30].enabled);
    EXPECT_FALSE(b.table.ItemBoxes[4].enabled);
}

TEST(SavedTable, TextWithoutCp932FormMakesAUtf8File) {
    Table t = SmallTable();
    t.SetSpeciesName(2, "café ソ");
    const std::string bytes = SavedTableBytes(t);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_NE(bytes.find("Test 表\r\n"), std::string::npos);
    Table u;
    ParseSavedTable(bytes, "u.vtb", u);
    ExpectSameGrid(u, t);
    // Without the BOM the UTF-8 text is still recognised.
    Table v;
    ParseSavedTable(bytes.substr(3), "v.vtb", v);
    EXPECT_EQ(v.SpeciesName(2), "café ソ");
}

TEST(SavedTable, Cp932BytesThatReadAsUtf8AreWrittenAsUtf8) {
    // "ﾅ表" is C5 95 5C in CP932, which is also valid UTF-8: such a file would read back wrong.
    Table t = SmallTable();
    t.TableTitle = "ﾅ表";
    for (int r = 1; r <= 3; ++r) t.SetText(2, r, "I" + std::to_string(r));
    t.SetText(2, 4, "");
    t.SetText(3, 4, "");
    t.SetHeaderText(2, 3, "");
    t.SetSpeciesName(2, "S");
    const std::string bytes = SavedTableBytes(t);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    Table u;
    ParseSavedTable(bytes, "u.vtb", u);
    EXPECT_EQ(u.TableTitle, "ﾅ表");
    // With one more character that is not valid UTF-8 in CP932, CP932 is safe again.
    t.SetSpeciesName(2, "ソ");
    EXPECT_EQ(SavedTableBytes(t).substr(0, 8), "\xC5\x95\x5C\r\n3 2");
}

TEST(SavedTable, CoverValuesUpToAByte) {
    Table t = SmallTable();
    t.SetCovers(1, 2, Covers({207, 80}));
    const std::string bytes = SavedTableBytes(t);
    EXPECT_NE(bytes.find("\xFF\x80\x30\x30\x30\x30\x30"), std::string::npos);
    Table u;
    ParseSavedTable(bytes, "u.vtb", u);
    EXPECT_EQ(u.Covers(1, 2), Covers({207, 80}));
    t.SetCovers(1, 2, Covers({208}));
    EXPECT_THROW(SavedTableBytes(t), std::runtime_error);
}

TEST(SavedTable, LineBreaksInTextsCannotSplitTheLine) {
    Table t = SmallTable();
    t.SetSpeciesName(1, "two\r\nlines");
    t.TableTitle = "a\nb";
    Table u;
    ParseSavedTable(SavedTableBytes(t), "u.vtb", u);
    EXPECT_EQ(u.SpeciesName(1), "two  lines");
    EXPECT_EQ(u.TableTitle, "a b");
    EXPECT_EQ(u.SpeciesName(3), "  lead");
}

TEST(SavedTable, BadFilesAreReportedAndTheTableStaysAsItWas) {
    TempDir dir;
    WriteBytes(dir / "good.vtb", kSmallFile);
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.LoadTable(dir / "good.vtb");
    const std::string before = Fingerprint(ws.table);
    const std::string cut = kSmallFile.substr(0, kSmallFile.find(",,,0,1,2"));

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "は空のファイルです"},
        {"title only\r\n", "の 2 行目: 種数・測定数・固定行数の3つの整数がありません"},
        {Replace(kSmallFile, "3 2 4", "3 x 4"), "の 2 行目: 種数・測定数・固定行数の3つの整数がありません"},
        {Replace(kSmallFile, "3 2 4", "3 2"), "の 2 行目: 種数・測定数・固定行数の3つの整数がありません"},
        {Replace(kSmallFile, "3 2 4", "-3 2 4"), "の 2 行目: 種数・測定数・固定行数の3つの整数がありません"},
        {Replace(kSmallFile, "3 2 4", "3 2 1"), "の 2 行目: 固定行数 1 が 2～31 の範囲にありません"},
        {Replace(kSmallFile, "3 2 4", "3 2 32"), "の 2 行目: 固定行数 32 が 2～31 の範囲にありません"},
        {Replace(kSmallFile, "3 2 4", "900000 900000 4"),
         "の 2 行目: 種数 900000・測定数 900000 がファイルの大きさに合いません"},
        {Replace(kSmallFile, "3 2 4", "3 2 4 99999999999999"), ""},  // the rest of line 2 is skipped
        {Replace(kSmallFile,
                 "0000070"
                 "0000000\r\n",
                 "0000070"
                 "000000\r\n"),
         "の 6 行目: 被度の行が短すぎます"},
        {Replace(kSmallFile, "G000100", "G0/0100"), "の 4 行目: 10 文字目: 被度の文字が「0」より小さい値です"},
        {cut, "の 7 行目: ファイルが途中で終わっています（14 行必要）"},
        {Replace(kSmallFile, ",,,0,1,2", ",,,0,2,1"), "の 7 行目: 列番号 0～2 の行ではありません"},
        {Replace(kSmallFile, ",,,0,1,2", ",,,0,1"), "の 7 行目: 列番号 0～2 の行ではありません"},
        {Replace(kSmallFile, "3,,Site", "31,,Site"), "の 10 行目: 先頭の欄が項目番号（1～30）ではありません"},
        {Replace(kSmallFile, "3,,Site", "x,,Site"), "の 10 行目: 先頭の欄が項目番号（1～30）ではありません"},
        {Replace(kSmallFile, "1,,No,,\"   1\",\"   2\"", ""), "の 8 行目: 先頭の欄が項目番号（1～30）ではありません"},
        {Replace(kSmallFile, "lead",
                 "le\xFF"
                 "ad"),
         "の 14 行目: 文字コードが CP932 でも UTF-8 でもありません"},
        {Replace(kSmallFile, "Test", "\x81"), "の 1 行目: 文字コードが CP932 でも UTF-8 でもありません"},
    };
    for (const auto& [bytes, message] : cases) {
        WriteBytes(dir / "bad.vtb", bytes);
        if (message.empty()) {
            EXPECT_NO_THROW(ws.LoadTable(dir / "bad.vtb"));
            continue;
        }
        try {
            ws.LoadTable(dir / "bad.vtb");
            ADD_FAILURE() << "no error for: " << message;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(dir / "bad.vtb", 0), 0u) << what;
            EXPECT_NE(what.find(message), std::string::npos) << what;
        }
        EXPECT_EQ(Fingerprint(ws.table), before) << message;
    }
    EXPECT_THROW(ws.LoadTable(dir / "missing.vtb"), std::runtime_error);
    EXPECT_EQ(Fingerprint(ws.table), before);
}

TEST(SavedTable, CompanionSettingsAreAppliedWithTheTable) {
    TempDir dir;
    WriteBytes(dir / "t.vtb", kSmallFile);
    WriteBytes(dir / "t.ini",
               "[Table]\r\nFontSize=12\r\n[Item]\r\nC04str=Datum\r\nC02str=Overridden\r\n[WinSize]\r\nWidth=900\r\n");
    Workspace ws;
    ws.Start(dir / "main.ini");
    ws.LoadTable(dir / "t.vtb");
    EXPECT_EQ(ws.iniFileName, dir / "main.ini");
    EXPECT_EQ(ws.table.FontSize, 12);
    EXPECT_EQ(ws.settings.width, 900);
    EXPECT_EQ(ws.table.ItemBoxes[4].caption, "Datum");
    EXPECT_FALSE(ws.table.ItemBoxes[4].enabled);
    EXPECT_EQ(ws.table.ItemBoxes[2].caption, "RelNo");  // the table's own names win
    EXPECT_EQ(ws.table.ReleveCount(), 2);

    // Any letter case is found; a table that fails to load applies none of it.
    TempDir other;
    WriteBytes(other / "u.vtb", Replace(kSmallFile, "3 2 4", "3 2 0"));
    WriteBytes(other / "U.INI", "[WinSize]\r\nWidth=1000\r\n");
    EXPECT_THROW(ws.LoadTable(other / "u.vtb"), std::runtime_error);
    EXPECT_EQ(ws.settings.width, 900);
    WriteBytes(other / "u.vtb", kSmallFile);
    ws.LoadTable(other / "u.vtb");
    EXPECT_EQ(ws.settings.width, 1000);
}

TEST(SavedTable, SavingReplacesTheFileWhole) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.table = SmallTable();
    WriteBytes(dir / "t.vtb", "old content");
    ws.SaveTable(dir / "t.vtb");
    EXPECT_EQ(ReadBytes(dir / "t.vtb"), kSmallFile);
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1);
    // A value the file cannot hold fails the save and leaves the old file alone.
    ws.table.SetCovers(1, 1, Covers({250}));
    EXPECT_THROW(ws.SaveTable(dir / "t.vtb"), std::runtime_error);
    EXPECT_EQ(ReadBytes(dir / "t.vtb"), kSmallFile);
    EXPECT_THROW(ws.SaveTable(dir / "no/such/folder/t.vtb"), std::runtime_error);
}

}  // namespace
}  // namespace tavik
