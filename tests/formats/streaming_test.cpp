// Saved tables read as they arrive and written as they are made, plain or gzip.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "formats/byte_source.h"
#include "formats/saved_table.h"
#include "formats/workspace.h"
#include "tests/formats/temp_dir.h"
#include "tests/support/fault_inject.h"
#include "tools/synthetic_table.h"

namespace tavik {
namespace {
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

// Gives its bytes one at a time: every line end falls on a read boundary somewhere.
class Trickle : public ByteSource {
public:
    explicit Trickle(std::string b) : b_(std::move(b)) {}
    std::size_t Read(char* buf, std::size_t n) override {
        if (at_ == b_.size() || n == 0) return 0;
        *buf = b_[at_++];
        return 1;
    }
    std::uint64_t MaxBytes() const override { return b_.size(); }

private:
    std::string b_;
    std::size_t at_ = 0;
};

std::vector<std::string> AllLines(ByteSource& src, std::size_t maxLine = 1 << 20) {
    LineReader r(src, "f", maxLine);
    std::vector<std::string> out;
    std::string_view l;
    while (r.Next(l)) out.emplace_back(l);
    return out;
}

TEST(LineReader, LineEndsOnAnyReadBoundary) {
    Trickle t("a\r\nb\rc\n\r\nd\re");
    EXPECT_EQ(AllLines(t), (std::vector<std::string>{"a", "b", "c", "", "d", "e"}));
    Trickle end("x\r");
    EXPECT_EQ(AllLines(end), (std::vector<std::string>{"x"}));
    Trickle none("");
    EXPECT_TRUE(AllLines(none).empty());
    Trickle longLine(std::string(100, 'x') + "\n");
    try {
        AllLines(longLine, 64);
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("f の 1 行目: 行が長すぎます"), std::string::npos) << e.what();
    }
}

Table Synthetic(int releves, int species) {
    Table t;
    tools::SyntheticShape shape;
    shape.releves = releves;
    shape.species = species;
    tools::FillSyntheticTable(t, shape);
    return t;
}

TEST(StreamingTable, ABigTableComesBackWholePlainAndCompressed) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.table = Synthetic(1500, 600);  // lines of 10 KB and more, a file of many read chunks
    const std::string expected = SavedTableBytes(ws.table);
    ws.SaveTable(dir / "t.vtb");
    ws.SaveTable(dir / "t.vtb.gz");
    EXPECT_TRUE(ReadBytes(dir / "t.vtb") == expected);
    const std::string gz = ReadBytes(dir / "t.vtb.gz");
    ASSERT_GE(gz.size(), 2u);
    EXPECT_EQ(gz.substr(0, 2), "\x1F\x8B");
    EXPECT_LT(gz.size() * 10, expected.size());
    // gunzip gives the ordinary file.
    ASSERT_EQ(std::system(("gzip -dc '" + (dir / "t.vtb.gz") + "' > '" + (dir / "g.vtb") + "'").c_str()), 0);
    EXPECT_TRUE(ReadBytes(dir / "g.vtb") == expected);
    // A loaded table has no spare columns; what it saves is what the file says.
    Table reference;
    ParseSavedTable(expected, "t.vtb", reference);
    const std::string reloaded = SavedTableBytes(reference);
    EXPECT_EQ(reference.ReleveCount(), 1500);
    for (const char* name : {"t.vtb", "t.vtb.gz"}) {
        SCOPED_TRACE(name);
        Workspace other;
        other.Start(dir / "none.ini");
        other.LoadTable(dir / name);
        EXPECT_TRUE(SavedTableBytes(other.table) == reloaded);
    }
    // A file gzip made is read too, whatever its name.
    ASSERT_EQ(std::system(("gzip -c '" + (dir / "t.vtb") + "' > '" + (dir / "other.vtb") + "'").c_str()), 0);
    ws.LoadTable(dir / "other.vtb");
    EXPECT_TRUE(SavedTableBytes(ws.table) == reloaded);
}

TEST(StreamingTable, DamagedAndEndlessInputsAreRefusedWithTheirName) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.table = Synthetic(50, 40);
    ws.SaveTable(dir / "t.vtb.gz");
    const std::string gz = ReadBytes(dir / "t.vtb.gz");
    const std::string before = SavedTableBytes(ws.table);
    const auto message = [&](const std::string& path) {
        try {
            ws.LoadTable(path);
        } catch (const std::exception& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    WriteBytes(dir / "cut.vtb.gz", gz.substr(0, gz.size() / 2));
    EXPECT_EQ(message(dir / "cut.vtb.gz"), (dir / "cut.vtb.gz") + " を読み込めません（途中で終わっています）");
    std::string bad = gz;
    for (std::size_t i = 20; i < 60 && i < bad.size(); ++i) bad[i] = static_cast<char>(~bad[i]);
    WriteBytes(dir / "bad.vtb.gz", bad);
    EXPECT_EQ(message(dir / "bad.vtb.gz"), (dir / "bad.vtb.gz") + " を読み込めません（gzip の中身が壊れています）");
    EXPECT_EQ(message("/dev/zero"), "/dev/zero は通常のファイルではありません");
    // A big file without a line end: refused at the line bound, not read into memory whole.
    const std::string sparse = dir / "sparse.vtb";
    { std::ofstream(sparse) << "title\r\n"; }
    ASSERT_EQ(::truncate(sparse.c_str(), 300ll << 20), 0);
    EXPECT_EQ(message(sparse), sparse + " の 2 行目: 行が長すぎます（256 MB まで）");
    EXPECT_TRUE(SavedTableBytes(ws.table) == before);  // nothing of it reached the table
}

TEST(StreamingTable, AReadErrorFailsTheLoad) {
    TempDir dir;
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.table = Synthetic(400, 200);
    ws.SaveTable(dir / "t.vtb");
    const std::string before = SavedTableBytes(ws.table);
    testing::InjectedFault fault("read:2:EIO:t.vtb");
    try {
        ws.LoadTable(dir / "t.vtb");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), (dir / "t.vtb") + " を読み込めません（入出力エラー）");
    }
    EXPECT_TRUE(SavedTableBytes(ws.table) == before);
}

}  // namespace
}  // namespace tavik
