#include "formats/dictionary_file.h"

#include <gtest/gtest.h>

#include "formats/workspace.h"
#include "tests/formats/temp_dir.h"
#include "tests/test_files.h"

namespace tavik {
namespace {
using testing::TempDir;
using testing::WriteBytes;

using testing::TestData;

TEST(DictionaryFile, LinesSplitAtTheFirstComma) {
    TempDir dir;
    WriteBytes(dir / "a.dic",
               "Same,Same\r\n"
               "A,B,C\r\n"
               "X,\r\n"
               " Y,Z\r\n"
               ",Q\r\n"
               "no comma\r\n"
               "\r\n"
               "Quercus MONGOLICA,\x83\x7E\x83\x59\x83\x69\x83\x89\r\n"  // ミズナラ
               "\x83\x5C\x83\x88\x83\x53,\x95\x5C");                     // ソヨゴ,表 (no line end)
    Workspace ws;
    ASSERT_TRUE(ws.SetDictionary(dir / "a.dic"));
    EXPECT_EQ(ws.dict.size(), 6u);
    EXPECT_EQ(ws.dict.SynToCommonName("Same"), "Same");
    EXPECT_EQ(ws.dict.SynToCommonName("A"), "B,C");
    EXPECT_EQ(ws.dict.SynToCommonName("X"), "");
    EXPECT_EQ(ws.dict.SynToCommonName("Y"), "Y");  // the synonym " Y" keeps its blank
    EXPECT_EQ(ws.dict.SynToCommonName(""), "");
    EXPECT_EQ(ws.dict.SynToCommonName("quercus mongolica"), "ミズナラ");
    EXPECT_EQ(ws.dict.SynToCommonName("ソヨゴ"), "表");
    EXPECT_EQ(ws.dict.SynToCommonName("unknown"), "unknown");
}

TEST(DictionaryFile, EarlierFilesWinAndMissingFilesAddNothing) {
    TempDir dir;
    WriteBytes(dir / "1.dic", "A,B\r\n");
    WriteBytes(dir / "2.dic", "a,C\r\nD,E\r\n");
    Workspace ws;
    EXPECT_FALSE(ws.SetDictionary(dir / "none.dic"));
    EXPECT_FALSE(ws.SetDictionary(dir.path().string()));  // a folder is no dictionary
    ASSERT_TRUE(ws.SetDictionary(dir / "1.dic"));
    ASSERT_TRUE(ws.SetDictionary(dir / "2.dic"));
    EXPECT_EQ(ws.dict.SynToCommonName("A"), "B");
    EXPECT_EQ(ws.dict.SynToCommonName("d"), "E");
    // The same file again appends again and changes no answer.
    ASSERT_TRUE(ws.SetDictionary(dir / "2.dic"));
    EXPECT_EQ(ws.dict.size(), 5u);
    EXPECT_EQ(ws.dict.SynToCommonName("A"), "B");
}

TEST(DictionaryFile, UndecodableLineIsReportedAndNothingIsAdded) {
    TempDir dir;
    WriteBytes(dir / "bad.dic", "A,B\r\nC,\xFF\xFE\r\n");
    Workspace ws;
    try {
        ws.SetDictionary(dir / "bad.dic");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("bad.dic の 2 行目"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ws.dict.size(), 0u);
}

TEST(DictionaryFile, ExampleDictionaries) {
    Workspace ws;
    ASSERT_TRUE(ws.SetDictionary(TestData("example/異名表.dic")));
    EXPECT_EQ(ws.dict.size(), 32u);
    EXPECT_EQ(ws.dict.SynToCommonName("ﾌﾞﾅ"), "ブナ");
    EXPECT_EQ(ws.dict.SynToCommonName("FAGUS CRENATA"), "ブナ");
    EXPECT_EQ(ws.dict.SynToCommonName("ムシカリ"), "オオカメノキ");
    EXPECT_EQ(ws.dict.SynToCommonName("シラベ"), "シラビソ");
    EXPECT_EQ(ws.dict.SynToCommonName("ブナ"), "ブナ");

    Workspace dune;
    ASSERT_TRUE(dune.SetDictionary(TestData("dune/dune.dic")));
    EXPECT_EQ(dune.dict.size(), 37u);
    EXPECT_EQ(dune.dict.SynToCommonName("ACHIMILL"), "Achillea millefolium");
    EXPECT_EQ(dune.dict.SynToCommonName("Leontodon autumnalis"), "Scorzoneroides autumnalis");
    EXPECT_EQ(dune.dict.SynToCommonName("Poa annua"), "Poa annua");
}

}  // namespace
}  // namespace tavik
