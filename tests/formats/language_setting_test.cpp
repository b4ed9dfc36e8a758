#include "formats/language_setting.h"

#include <gtest/gtest.h>

#include "formats/workspace.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

TEST(LanguageSetting, AbsentFileSectionOrKeyFollowsTheSystem) {
    TempDir dir;
    EXPECT_EQ(ReadLanguageSetting(""), "system");
    EXPECT_EQ(ReadLanguageSetting(dir / "none.ini"), "system");
    WriteBytes(dir / "other.ini", "[Edit]\r\nUndoLimit=5\r\n");
    EXPECT_EQ(ReadLanguageSetting(dir / "other.ini"), "system");
    // A folder where the file should be is no reason to refuse to start.
    EXPECT_EQ(ReadLanguageSetting(dir.path().string()), "system");
}

TEST(LanguageSetting, WritingKeepsTheRestOfTheFileAndTheWindowKeepsTheSetting) {
    TempDir dir;
    const std::string ini = (dir.path() / "sub" / "tavik.ini").string();
    WriteLanguageSetting(ini, "en");  // the folder is made
    EXPECT_EQ(ReadLanguageSetting(ini), "en");

    WriteBytes(ini, "; mine\r\n[Edit]\r\nUndoLimit=7\r\n[interface]\r\nlanguage=ja\r\n");
    EXPECT_EQ(ReadLanguageSetting(ini), "ja");  // names in any letter case
    WriteLanguageSetting(ini, "system");
    const std::string text = ReadBytes(ini);
    EXPECT_NE(text.find("; mine"), std::string::npos) << text;
    EXPECT_NE(text.find("UndoLimit=7"), std::string::npos) << text;
    EXPECT_EQ(ReadLanguageSetting(ini), "system");

    // The window writes its own settings into the same file at the end: the language stays.
    WriteLanguageSetting(ini, "en");
    Workspace ws;
    ws.WriteIniFile(ini);
    EXPECT_EQ(ReadLanguageSetting(ini), "en");
}

}  // namespace
}  // namespace tavik
