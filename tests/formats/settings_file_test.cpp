#include <gtest/gtest.h>

#include <cstdlib>

#include "formats/file_bytes.h"
#include "formats/ini_file.h"
#include "formats/text_lines.h"
#include "formats/workspace.h"
#include "tests/core/test_helpers.h"
#include "tests/formats/temp_dir.h"
#include "tests/test_files.h"

namespace tavik {
namespace {
using testing::Covers;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

using testing::TestData;

std::vector<int> EnabledItems(const Table& t) {
    std::vector<int> v;
    for (int n = 1; n <= kItemCount; ++n)
        if (t.ItemBoxes[n].enabled) v.push_back(n);
    return v;
}

// The item numbers in column 0 of the header rows, top to bottom.
std::vector<int> HeaderRows(const Table& t) {
    std::vector<int> v;
    for (int r = 1; r < t.FNRow(); ++r) v.push_back(std::stoi(t.Text(0, r)));
    return v;
}

TEST(SettingsFile, WithoutAFileEverythingIsDefault) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "missing.ini");
    EXPECT_EQ(ws.iniFileName, dir / "missing.ini");
    const std::vector<int> items{1, 2, 3, 8, 9, 10, 11, 12, 15, 16, 17, 18, 20, 23, 24, 25, 27, 30};
    EXPECT_EQ(EnabledItems(ws.table), items);
    EXPECT_EQ(HeaderRows(ws.table), items);
    for (int n = 1; n <= kItemCount; ++n) EXPECT_EQ(ws.table.ItemBoxes[n].checked, ws.table.ItemBoxes[n].enabled);
    EXPECT_EQ(ws.table.FNRow(), 19);
    // The settings' own captions, not the boxes' initial ones.
    EXPECT_EQ(ws.table.ItemBoxes[1].caption, "表番号");
    EXPECT_EQ(ws.table.Text(2, 1), "表番号");
    EXPECT_EQ(ws.table.ItemBoxes[5].caption, "地点緯度（度分秒）");
    EXPECT_EQ(ws.table.ItemBoxes[18].caption, "低 木 層高さ（m）");
    EXPECT_EQ(ws.table.ItemBoxes[29].caption, "コ ケ 層植被率（%）");
    EXPECT_EQ(ws.table.FontName, "ＭＳ 明朝");
    EXPECT_EQ(ws.table.FontSize, 9);
    EXPECT_EQ(ws.settings.width, 724);
    EXPECT_EQ(ws.settings.height, 538);
    EXPECT_EQ(ws.settings.left, 150);
    EXPECT_EQ(ws.settings.top, 132);
    EXPECT_EQ(ws.settings.directory, "c:\\Data\\Veg");
    EXPECT_EQ(ws.settings.title, "Vegetation Table");
    EXPECT_EQ(ws.settings.kaisou, "T1T2S1S2H1H2 M");
    EXPECT_EQ(ws.dictFileName, "異名表.dic");
    EXPECT_FALSE(ws.settings.frequency);
    EXPECT_TRUE(ws.settings.useDataItem);
    EXPECT_EQ(ws.settings.cvMethod, 1);
}

TEST(SettingsFile, ExampleFile) {
    Workspace ws;
    ws.Start(TestData("example/example.ini"));
    EXPECT_EQ(ws.table.FNRow(), 23);
    EXPECT_EQ(HeaderRows(ws.table),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 15, 16, 17, 18, 19, 20, 23, 24, 25, 27, 29, 30}));
    EXPECT_EQ(ws.table.FontSize, 10);
    EXPECT_EQ(ws.table.FontName, "ＭＳ 明朝");
    EXPECT_EQ(ws.settings.title, "ブナ林とシラビソ林");
    EXPECT_EQ(ws.settings.directory, "C:\\Data\\Veg\\example");
    EXPECT_EQ(ws.settings.width, 800);
    EXPECT_EQ(ws.settings.height, 600);
    EXPECT_EQ(ws.settings.left, 120);
    EXPECT_EQ(ws.settings.top, 100);
    EXPECT_TRUE(ws.settings.frequency);
    EXPECT_EQ(ws.table.ItemBoxes[15].caption, "調査面積（㎡）");
    EXPECT_EQ(ws.table.Text(2, 5), "地点緯度（度分秒）");
}

TEST(SettingsFile, JunkValuesGiveTheDefaultOfTheirKey) {
    TempDir dir;
    WriteBytes(dir / "junk.ini",
               "[Table]\r\nFontSize=abc\r\nTitle= spaced out \r\n"
               "[Item]\r\nC02flg=yes\r\nC04flg=5\r\nC07flg=1\r\nC08flg=\r\nC01flg=0\r\nDirection=7\r\n"
               "CV_Method=-1\r\nFrequecy=2\r\nKaisou=ABCDEFGHIJKLMNOPQ\r\n"
               "[WinSize]\r\nTop=12x\r\nLeft=-30\r\nWidth=-5\r\nHeight=99999999999\r\n"
               "[Edit]\r\nUndoLimit=-3\r\nRecoveryMinutes=9999\r\nAskToSave=x\r\n");
    Workspace ws;
    ws.Start(dir / "junk.ini");
    EXPECT_EQ(ws.table.FontSize, 9);
    EXPECT_EQ(ws.settings.undoLimit, 100);
    EXPECT_EQ(ws.settings.recoveryMinutes, 5);
    EXPECT_TRUE(ws.settings.askToSave);
    EXPECT_EQ(ws.settings.title, "spaced out");
    EXPECT_TRUE(ws.table.ItemBoxes[1].enabled);  // item 1 is always on
    EXPECT_TRUE(ws.table.ItemBoxes[2].enabled);  // not an integer: default 1
    EXPECT_TRUE(ws.table.ItemBoxes[4].enabled);  // any integer but 0 is true
    EXPECT_TRUE(ws.table.ItemBoxes[8].enabled);  // empty: default 1
    EXPECT_EQ(ws.settings.direction, 0);
    EXPECT_EQ(ws.settings.cvMethod, 1);
    EXPECT_TRUE(ws.settings.frequency);
    EXPECT_EQ(ws.settings.kaisou, "ABCDEFGHIJKLMN");
    EXPECT_EQ(ws.settings.top, 132);
    EXPECT_EQ(ws.settings.left, -30);
    EXPECT_EQ(ws.settings.width, 724);
    EXPECT_EQ(ws.settings.height, 538);
    // Item 7 now has a row, between items 4 and 8.
    const std::vector<int> rows = HeaderRows(ws.table);
    EXPECT_EQ(std::vector<int>(rows.begin(), rows.begin() + 5), (std::vector<int>{1, 2, 3, 4, 7}));
    EXPECT_EQ(ws.table.Text(2, 5), "地理区画コード");
}

TEST(SettingsFile, ShortKaisouAndFullWidthKaisou) {
    TempDir dir;
    WriteBytes(dir / "k.ini", "[Item]\r\nKaisou=T1T2\r\n");
    Workspace ws;
    ws.Start(dir / "k.ini");
    EXPECT_EQ(ws.settings.kaisou, "T1T2");
    // Cut to 14 bytes without splitting a character.
    WriteBytes(dir / "k.ini", "[Item]\r\nKaisou=T1T2S1S2H1H2\x83\x52\x83\x50\r\n");  // コケ
    ws.ReadIniFile(dir / "k.ini");
    EXPECT_EQ(ws.settings.kaisou, "T1T2S1S2H1H2コ");
}

TEST(SettingsFile, ReadingWhileTheTableHoldsRelevesKeepsItsRows) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    const int q = ws.table.AppendReleve();
    const int p = ws.table.AppendSpecies("ブナ");
    ws.table.SetCell(ws.table.ReleveKeyAt(q), ws.table.SpeciesKeyAt(p), "   1", Covers({0, 0, 0, 0, 10}));
    ws.table.Recount();
    WriteBytes(dir / "other.ini", "[Item]\r\nC02str=Number\r\nC04flg=1\r\nC30flg=0\r\n[Table]\r\nFontSize=12\r\n");
    ws.ReadIniFile(dir / "other.ini");
    EXPECT_EQ(ws.table.FNRow(), 19);
    EXPECT_EQ(HeaderRows(ws.table),
              (std::vector<int>{1, 2, 3, 8, 9, 10, 11, 12, 15, 16, 17, 18, 20, 23, 24, 25, 27, 30}));
    EXPECT_EQ(ws.table.Text(2, 2), "Number");
    EXPECT_FALSE(ws.table.ItemBoxes[4].enabled);  // the boxes follow the table
    EXPECT_TRUE(ws.table.ItemBoxes[30].checked);
    EXPECT_EQ(ws.table.FontSize, 12);
    EXPECT_EQ(ws.table.ReleveCount(), 1);
    EXPECT_EQ(ws.table.Text(4, 20), "   1");
}

TEST(SettingsFile, ReadingLoadsTheNamedDictionary) {
    TempDir dir;
    WriteBytes(dir / "syn.dic", "a,b\r\n");
    WriteBytes(dir / "s.ini", "[Files]\r\nSynDict=" + (dir / "syn.dic") + "\r\n");
    Workspace ws;
    ws.Start(dir / "s.ini");
    EXPECT_EQ(ws.dictFileName, dir / "syn.dic");
    EXPECT_EQ(ws.dict.SynToCommonName("A"), "b");

    // A missing dictionary is skipped and keeps its name; an unreadable one is reported after
    // the table has been laid out.
    WriteBytes(dir / "s.ini", "[Files]\r\nSynDict=" + (dir / "nothing.dic") + "\r\n");
    ws.ReadIniFile(dir / "s.ini");
    EXPECT_EQ(ws.dictFileName, dir / "nothing.dic");
    WriteBytes(dir / "bad.dic", "\xFF,\xFF\r\n");
    WriteBytes(dir / "s.ini", "[Files]\r\nSynDict=" + (dir / "bad.dic") + "\r\n[Item]\r\nC04flg=1\r\n");
    EXPECT_THROW(ws.ReadIniFile(dir / "s.ini"), std::runtime_error);
    EXPECT_EQ(ws.table.Text(0, 4), "4");
    EXPECT_EQ(ws.dict.size(), 1u);
    Workspace fresh;
    EXPECT_THROW(fresh.Start(dir / "s.ini"), std::runtime_error);
    EXPECT_EQ(fresh.table.Text(0, 4), "4");
}

TEST(SettingsFile, WrittenFileByteForByte) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "s.ini");
    for (int n = 1; n <= kItemCount; ++n) ws.table.ItemBoxes[n].caption = "I" + std::to_string(n);
    ws.table.FontName = "Mincho";
    ws.dictFileName = "syn.dic";
    ws.settings.title = "表";
    ws.settings.frequency = true;
    ws.settings.cvMethod = 6;
    ws.settings.left = -8;
    // What the file already holds and the program does not know stays.
    WriteBytes(dir / "s.ini",
               "; settings\r\n[table]\r\nFontSize=99\r\nKeep=this\r\n\r\n\r\n[Extra]\r\nA=1\r\n; note\r\n");
    ws.WriteIniFile(dir / "s.ini");
    const std::string expected =
        "; settings\r\n"
        "\r\n"
        "[DataDir]\r\nDirectory=c:\\Data\\Veg\r\n"
        "\r\n"
        "[Files]\r\nSynDict=syn.dic\r\n"
        "\r\n"
        "[Table]\r\nFontName=Mincho\r\nFontSize=9\r\nTitle=\x95\x5C\r\nKeep=this\r\n"
        "\r\n"
        "[Item]\r\n"
        "C01flg=1\r\nC01str=I1\r\nC02flg=1\r\nC02str=I2\r\nC03flg=1\r\nC03str=I3\r\n"
        "C04flg=0\r\nC04str=I4\r\nC05flg=0\r\nC05str=I5\r\nC06flg=0\r\nC06str=I6\r\n"
        "C07flg=0\r\nC07str=I7\r\nC08flg=1\r\nC08str=I8\r\nC09flg=1\r\nC09str=I9\r\n"
        "C10flg=1\r\nC10str=I10\r\nC11flg=1\r\nC11str=I11\r\nC12flg=1\r\nC12str=I12\r\n"
        "C13flg=0\r\nC13str=I13\r\nC14flg=0\r\nC14str=I14\r\nC15flg=1\r\nC15str=I15\r\n"
        "C16flg=1\r\nC16str=I16\r\nC17flg=1\r\nC17str=I17\r\nC18flg=1\r\nC18str=I18\r\n"
        "C19flg=0\r\nC19str=I19\r\nC20flg=1\r\nC20str=I20\r\nC21flg=0\r\nC21str=I21\r\n"
        "C22flg=0\r\nC22str=I22\r\nC23flg=1\r\nC23str=I23\r\nC24flg=1\r\nC24str=I24\r\n"
        "C25flg=1\r\nC25str=I25\r\nC26flg=0\r\nC26str=I26\r\nC27flg=1\r\nC27str=I27\r\n"
        "C28flg=0\r\nC28str=I28\r\nC29flg=0\r\nC29str=I29\r\nC30flg=1\r\nC30str=I30\r\n"
        "Kaisou=T1T2S1S2H1H2 M\r\nFrequecy=1\r\nOneTime=0\r\nUseDataItem=1\r\nDirection=0\r\nCV_Method=6\r\n"
        "\r\n"
        "[WinSize]\r\nTop=132\r\nLeft=-8\r\nHeight=538\r\nWidth=724\r\n"
        "\r\n"
        "[Edit]\r\nUndoLimit=100\r\nAskToSave=1\r\nRecoveryMinutes=5\r\nUtf8Files=0\r\n"
        "\r\n"
        "[Extra]\r\nA=1\r\n; note\r\n";
    EXPECT_EQ(ReadBytes(dir / "s.ini"), expected);
}

TEST(SettingsFile, WriteAndReadBack) {
    TempDir dir;
    Workspace a;
    a.Start(dir / "s.ini");
    a.table.ItemBoxes[4].enabled = true;
    a.table.ItemBoxes[4].caption = "日付";
    a.table.ItemBoxes[9].caption = "Exposition é";  // no CP932 form: the file becomes UTF-8
    a.settings.width = 1024;
    a.settings.useDataItem = false;
    a.settings.undoLimit = 0;
    a.settings.askToSave = false;
    a.settings.recoveryMinutes = 2;
    a.WriteIniFile(dir / "s.ini");
    EXPECT_EQ(ReadBytes(dir / "s.ini").substr(0, 3), "\xEF\xBB\xBF");

    Workspace b;
    b.Start(dir / "s.ini");
    EXPECT_EQ(b.table.ItemBoxes[4].caption, "日付");
    EXPECT_TRUE(b.table.ItemBoxes[4].enabled);
    EXPECT_EQ(b.table.ItemBoxes[9].caption, "Exposition é");
    EXPECT_EQ(b.settings.width, 1024);
    EXPECT_FALSE(b.settings.useDataItem);
    EXPECT_EQ(b.settings.undoLimit, 0);
    EXPECT_FALSE(b.settings.askToSave);
    EXPECT_EQ(b.settings.recoveryMinutes, 2);
    EXPECT_EQ(b.table.FNRow(), 20);
}

TEST(SettingsFile, TitleWhoseCp932BytesReadAsUtf8SurvivesAWrite) {
    TempDir dir;
    Workspace a;
    a.Start(dir / "s.ini");
    for (int n = 1; n <= kItemCount; ++n) a.table.ItemBoxes[n].caption = "I";
    a.table.FontName = "Mincho";
    a.dictFileName = "x.dic";
    a.settings.title = "ﾅ表";  // C5 95 5C: valid UTF-8 too
    a.WriteIniFile(dir / "s.ini");
    Workspace b;
    b.Start(dir / "s.ini");
    EXPECT_EQ(b.settings.title, "ﾅ表");
}

TEST(SettingsFile, UnwritableFileIsReportedAndNothingIsLeftBehind) {
    TempDir dir;
    WriteBytes(dir / "plain", "x");
    Workspace ws;
    ws.Start(dir / "s.ini");
    const std::string bad = dir / "plain/s.ini";  // a file stands where the folder should be
    try {
        ws.WriteIniFile(bad);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), bad + " に書き込めません（途中にフォルダでないものがあります）");
    }
    // Writing next to an existing file leaves no temporary file.
    WriteBytes(dir / "s.ini", "[Extra]\r\nB=2\r\n");
    ws.WriteIniFile(dir / "s.ini");
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2);
}

TEST(SettingsFile, DefaultLocation) {
    TempDir dir;
    EXPECT_EQ(DefaultIniPath(dir / "tavik"), dir / "tavik.ini");
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/xdg", 1);
    EXPECT_EQ(DefaultIniPath("/no/such/folder/tavik"), "/xdg/tavik/tavik.ini");
    // Installed in bin/ beside share/tavik/: never beside the program, even where root
    // could write.
    std::filesystem::create_directories(dir.path() / "usr" / "bin");
    std::filesystem::create_directories(dir.path() / "usr" / "share" / "tavik");
    EXPECT_EQ(DefaultIniPath(dir / "usr/bin/tavik"), "/xdg/tavik/tavik.ini");
    std::filesystem::create_directories(dir.path() / "build");
    EXPECT_EQ(DefaultIniPath(dir / "build/tavik"), dir / "build/tavik.ini");
    if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else ::unsetenv("XDG_CONFIG_HOME");
}

TEST(IniDocument, NamesIgnoreCaseAndTheFirstKeyWins) {
    const IniDocument doc = IniDocument::Parse({"[Sec]", " Key = one ", "KEY=two", "[sec]", "Other=3", "junk line"});
    EXPECT_EQ(doc.ReadString("SEC", "key", "-"), "one");
    EXPECT_EQ(doc.ReadInteger("Sec", "other", 0), 3);
    EXPECT_EQ(doc.ReadInteger("Sec", "Missing", 7), 7);
    EXPECT_EQ(doc.ReadInteger("Sec", "Key", 7), 7);
    EXPECT_EQ(doc.Find("Nope", "Key"), nullptr);
}

// A settings file with a run of zero bytes in a line it does not know reads as text; written
// back with fewer other lines, the zeros would outweigh the text and the file read as UTF-16,
// losing every setting at the next start.
TEST(IniDocument, ZeroBytesAreLeftOutSoTheWrittenFileStaysText) {
    const std::string zeros(60, '\0');
    std::string bytes = "[Table]\r\n\r" + zeros + "\r\nTitle=a" + std::string(3, '\0') + "b\r\n[Other]\r\n";
    bytes += "; " + std::string(100, 'x') + "\r\n" + "; " + std::string(100, 'y') + "\r\n";
    ASSERT_FALSE(LooksUtf16(bytes));
    const IniDocument doc = ParseIniBytes(bytes, "zeros.ini");
    const std::string written = doc.Write({{"Table", {{"FontSize", "12"}}}, {"Other", {}}});
    EXPECT_EQ(written.find('\0'), std::string::npos);
    const IniDocument back = ParseIniBytes(written, "written.ini");
    EXPECT_EQ(back.ReadInteger("Table", "FontSize", 0), 12);
    EXPECT_EQ(back.ReadString("Table", "Title", "-"), "ab");
}

}  // namespace
}  // namespace tavik
