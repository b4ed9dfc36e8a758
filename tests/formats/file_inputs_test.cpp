// Files as a user may hand them over: pairs copied from Windows, half-replaced pairs, FIFOs,
// folders, empty and UTF-16 files, and files that fail while they are read or written.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "formats/dictionary_file.h"
#include "formats/fielddata.h"
#include "formats/fielddata_writer.h"
#include "formats/file_bytes.h"
#include "formats/freq_table_files.h"
#include "formats/ini_file.h"
#include "formats/membership_file.h"
#include "formats/text_lines.h"
#include "formats/workspace.h"
#include "tests/formats/temp_dir.h"
#include "tests/support/fault_inject.h"
#include "tests/test_files.h"

namespace tavik {
namespace {
namespace fs = std::filesystem;
using testing::InjectedFault;
using testing::ReadBytes;
using testing::TempDir;
using testing::TestData;
using testing::WriteBytes;

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

bool Holds(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

int FilesIn(const TempDir& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++n;
    return n;
}

// Lets this process take the address space it uses now and `mb` megabytes more: a reader
// that builds a whole file in memory fails beyond it.
void LimitAddressSpaceToNowPlusMb(long mb) {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key && key != "VmSize:") {
    }
    status >> kb;
    rlimit r{};
    r.rlim_cur = r.rlim_max = static_cast<rlim_t>(kb + mb * 1024) * 1024;
    ::setrlimit(RLIMIT_AS, &r);
}

// The example pair written afresh from its CSV into `out`.
void WriteExamplePair(const std::string& out) {
    FieldDataWriter w(out, ReadHeaderDescription(TestData("example/example_header.txt")));
    for (const FieldReleve& r :
         ReadLongCsv(TestData("example/example_long.csv"), TestData("example/example_releves.csv")))
        w.Add(r);
    w.Finish();
}

TEST(FieldPair, APairCopiedFromWindowsOpensInAnyLetterCase) {
    TempDir dir;
    fs::copy_file(TestData("example/example.tki"), dir / "DATA.TKI");
    fs::copy_file(TestData("example/example.tkd"), dir / "DATA.TKD");
    FieldFiles f(dir / "DATA.TKI");
    EXPECT_EQ(f.RecordCount(), 60);
    EXPECT_EQ(DataFileOf(dir / "DATA.TKI"), dir / "DATA.TKD");
    EXPECT_TRUE(f.PairProblem().empty());
    fs::rename(dir / "DATA.TKI", dir / "data.tki");  // an index in lower case, data in upper
    EXPECT_EQ(FieldFiles(dir / "data.tki").RecordCount(), 60);
}

TEST(FieldPair, WhatIsNotAPairIsRefusedWithItsName) {
    TempDir dir;
    // A folder where the data file should be: a message, not "std::bad_alloc".
    fs::copy_file(TestData("example/example.tki"), dir / "d.tki");
    fs::create_directory(dir / "d.tkd");
    EXPECT_EQ(MessageOf([&] { FieldFiles f(dir / "d.tki"); }),
              std::string(kBadFieldFiles) + ": " + (dir / "d.tkd") + " を読み込めません（フォルダです）");
    // A FIFO nobody writes to is refused at once instead of waiting for ever.
    ASSERT_EQ(::mkfifo((dir / "f.tki").c_str(), 0600), 0);
    EXPECT_EQ(MessageOf([&] { FieldFiles f(dir / "f.tki"); }),
              std::string(kBadFieldFiles) + ": " + (dir / "f.tki") + " は通常のファイルではありません");
    // An empty pair is an error, not a pair of no relevés.
    WriteBytes(dir / "e.tki", "");
    WriteBytes(dir / "e.tkd", "");
    EXPECT_EQ(MessageOf([&] { FieldFiles f(dir / "e.tki"); }),
              std::string(kBadFieldFiles) + ": " + (dir / "e.tki") + " は空のファイルです");
}

TEST(FieldPair, AnIndexBesideAnotherDataFileIsNamed) {
    TempDir dir;
    // The example index beside a data file of three relevés: its links run past the end.
    fs::copy_file(TestData("example/example.tki"), dir / "m.tki");
    const std::string data = ReadBytes(TestData("example/example.tkd"));
    WriteBytes(dir / "m.tkd", data.substr(0, 4 * kDataRecordSize));
    FieldFiles m(dir / "m.tki");
    EXPECT_TRUE(Holds(m.PairProblem(), "m.tki と " + (dir / "m.tkd") + " は組が合っていないか"));
    EXPECT_TRUE(Holds(m.PairProblem(), "がデータファイルの終わりより先を指しています"));
    // A data file that is not a whole number of records.
    fs::copy_file(TestData("example/example.tki"), dir / "c.tki");
    WriteBytes(dir / "c.tkd", data + "x");
    EXPECT_TRUE(Holds(FieldFiles(dir / "c.tki").PairProblem(), "512 バイトの倍数ではありません"));
    // The workspace passes it on for the front end to tell.
    Workspace ws;
    ws.Start(dir / "none.ini");
    ws.SetDataFile(dir / "c.tki");
    EXPECT_EQ(ws.dataFileProblem, FieldFiles(dir / "c.tki").PairProblem());
}

TEST(FieldDataWriter, BothNamesComeFromTheIndexWhateverTheSuffix) {
    EXPECT_EQ(PairPathsFor("d/x.tki").index, "d/x.tki");
    EXPECT_EQ(PairPathsFor("d/x.tki").data, "d/x.tkd");
    EXPECT_EQ(PairPathsFor("d/x.tkd").index, "d/x.tki");
    EXPECT_EQ(PairPathsFor("d/x.tkd").data, "d/x.tkd");
    EXPECT_EQ(PairPathsFor("X.TKD").index, "X.TKI");
    EXPECT_EQ(PairPathsFor("X.TKD").data, "X.TKD");
    EXPECT_EQ(PairPathsFor("d.v/x").index, "d.v/x");
    EXPECT_EQ(PairPathsFor("d.v/x").data, "d.v/x.tkd");

    // "-o NAME.tkd" over an existing pair writes the pair, and only it.
    TempDir dir;
    WriteBytes(dir / "x.tki", "old index");
    WriteBytes(dir / "x.tkd", "old data");
    WriteExamplePair(dir / "x.tkd");
    EXPECT_TRUE(ReadBytes(dir / "x.tki") == ReadBytes(TestData("example/example.tki")));
    EXPECT_TRUE(ReadBytes(dir / "x.tkd") == ReadBytes(TestData("example/example.tkd")));
    EXPECT_EQ(FilesIn(dir), 2);
}

TEST(FieldDataWriter, APairIsReplacedAsAUnit) {
    // The index cannot be put in place: the new data file goes back out, the old pair stays.
    for (const char* fault : {"rename:1:EACCES:.tki", "fsync:1:EIO:.tki", "write:1:ENOSPC:.tkd"}) {
        SCOPED_TRACE(fault);
        TempDir dir;
        WriteBytes(dir / "x.tki", "old index");
        WriteBytes(dir / "x.tkd", "old data");
        std::string message;
        long hits = 0;
        {
            InjectedFault f(fault);
            message = MessageOf([&] { WriteExamplePair(dir / "x.tki"); });
            hits = f.Hits();
        }
        EXPECT_GE(hits, 1);
        EXPECT_TRUE(Holds(message, " に書き込めません（")) << message;
        EXPECT_EQ(ReadBytes(dir / "x.tki"), "old index");
        EXPECT_EQ(ReadBytes(dir / "x.tkd"), "old data");
        EXPECT_EQ(FilesIn(dir), 2);
    }
    // Without an old pair, nothing is left at all.
    TempDir dir;
    {
        InjectedFault f("rename:1:EACCES:.tki");
        EXPECT_THROW(WriteExamplePair(dir / "x.tki"), std::runtime_error);
    }
    EXPECT_EQ(FilesIn(dir), 0);
}

TEST(FieldDataWriter, AReadErrorInTheCsvStopsEverything) {
    TempDir dir;
    fs::copy_file(TestData("example/example_long.csv"), dir / "long.csv");
    std::string message;
    {
        InjectedFault f("read:1:EIO:long.csv");
        message = MessageOf([&] { ReadLongCsv(dir / "long.csv"); });
    }
    EXPECT_EQ(message, (dir / "long.csv") + " を読み込めません（入出力エラー）");
}

TEST(TextInputs, Utf16IsRefusedWithAMessage) {
    TempDir dir;
    const std::string ini = dir / "s.ini";
    WriteBytes(ini, std::string("\xFF\xFE[\0T\0a\0b\0l\0e\0]\0", 16));
    EXPECT_EQ(MessageOf([&] { ReadIniDocument(ini); }),
              ini + " は UTF-16 で書かれています（CP932 か UTF-8 で保存してください）");
    WriteBytes(ini, std::string("[\0T\0a\0b\0l\0e\0]\0", 14));  // no mark
    EXPECT_THROW(ReadIniDocument(ini), std::runtime_error);
    Workspace ws;
    EXPECT_THROW(ws.Start(ini), std::runtime_error);
    EXPECT_EQ(ws.table.ItemBoxes[2].caption, "測定番号");  // still started, on the defaults
}

// Lines read one at a time are the lines of the whole file, also where a character, a
// CR LF or the mark that makes a file UTF-8 lies across the chunks the file is read in.
TEST(TextInputs, StreamedLinesAreTheLinesOfTheWholeFile) {
    TempDir dir;
    const std::size_t chunk = 1 << 20;
    const auto lines = [&](const std::string& bytes, bool lenient = false) {
        WriteBytes(dir / "f.txt", bytes);
        TextLineFile file(dir / "f.txt", lenient);
        std::vector<std::string> got;
        std::string line;
        while (file.Next(line)) got.push_back(line);
        EXPECT_EQ(got, DecodeTextLines(bytes, dir / "f.txt", lenient)) << bytes.size();
        return got;
    };
    const std::string ascii(chunk - 1, 'a');
    // "ブ" (3 bytes) across the first chunk's end: the file is UTF-8, its last line read so.
    EXPECT_EQ(lines(ascii + "\n" + "ブナ").back(), "ブナ");
    EXPECT_EQ(lines(std::string(chunk - 2, 'a') + "ブナ\r\nx").back(), "x");
    // CR at the chunk's end, LF after it: one line end.
    EXPECT_EQ(lines(ascii + "\r\n\r\nz").size(), 3u);
    // CP932 far into the file ("ブナ" as CP932) makes it CP932 as a whole.
    EXPECT_EQ(lines(std::string(3 * chunk, 'b') + "\n\x83\x75\x83\x69\n").back(), "ブナ");
    // Valid UTF-8 at the start, a byte that is not far after it: CP932, line by line.
    EXPECT_EQ(lines("ブナ\n" + std::string(2 * chunk, 'c') + "\n\x83\x75\x83\x69").back(), "ブナ");
    // A BOM says UTF-8 and is not part of the first line.
    EXPECT_EQ(lines("\xEF\xBB\xBF"
                    "ブナ,山毛欅\n")
                  .front(),
              "ブナ,山毛欅");
    EXPECT_TRUE(lines("").empty());
    // Bytes neither CP932 nor UTF-8: named by their line, or U+FFFD when lenient.
    WriteBytes(dir / "f.txt", "ok\n\x83\n");
    TextLineFile bad(dir / "f.txt");
    std::string line;
    EXPECT_TRUE(bad.Next(line));
    EXPECT_EQ(MessageOf([&] { bad.Next(line); }), BadEncodingMessage(dir / "f.txt", 2));
    EXPECT_EQ(lines("ok\n\x83\n", true).back(), "\xEF\xBF\xBD");
}

// A text file's lines are not all held at once: a dictionary and a settings file of 64 MB
// of empty lines (some 64 million lines) are read within a few hundred MB of address space.
TEST(TextInputs, MemoryFollowsTheLinesNotTheirNumber) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit of this test";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit of this test";
#endif
#endif
    TempDir dir;
    {
        std::ofstream out(dir / "empty.dic", std::ios::binary);
        const std::string lines(1 << 20, '\n');
        for (int i = 0; i < 64; ++i) out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        out << "ブナ,山毛欅\n";
    }
    fs::copy_file(dir / "empty.dic", dir / "empty.ini");
    const auto readWithinLimit = [&] {
        LimitAddressSpaceToNowPlusMb(300);
        std::vector<DictionaryEntry> entries;
        if (!ReadDictionaryFile(dir / "empty.dic", entries) || entries.size() != 1) std::_Exit(2);
        ReadIniDocument(dir / "empty.ini");
        std::_Exit(0);
    };
    EXPECT_EXIT(readWithinLimit(), ::testing::ExitedWithCode(0), "");
}

// The same for the second window's CSV and text files and for membership files: 64 MB of
// empty lines around a few lines that count. A CSV file of that many rows is refused by its
// size at its first row, before the rows are gathered.
TEST(TextInputs, TableFilesAreReadALineAtATime) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit of this test";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit of this test";
#endif
#endif
    TempDir dir;
    const auto write = [&](const std::string& name, const std::string& head, const std::string& tail) {
        std::ofstream out(dir / name, std::ios::binary);
        out << head;
        const std::string lines(1 << 20, '\n');
        for (int i = 0; i < 64; ++i) out.write(lines.data(), static_cast<std::streamsize>(lines.size()));
        out << tail;
    };
    write("merge.txt", "#S\r\n", "ブナ,V\r\n#E\r\n");
    write("groups.csv", "releve,group\n", "12,2\n");
    write("many.csv", "title\r\n", "");
    const auto readWithinLimit = [&] {
        LimitAddressSpaceToNowPlusMb(400);
        FreqTable t;
        t.Resize(2, 2);
        int stage = 0;  // in the exit code of an exception
        try {
            MergeFreqTableText(dir / "merge.txt", t);
            stage = 1;
            if (t.ColCount() != 2 || t.RowCount() != 2 || t.Text(0, 1) != "ブナ" || t.Text(1, 1) != "V") std::_Exit(2);
            const auto groups = ReadMembershipFile(dir / "groups.csv");
            if (groups.size() != 1 || groups[0].second != "2") std::_Exit(3);
            stage = 2;
            try {
                ReadFreqTableCsv(dir / "many.csv", t);
                std::_Exit(4);
            } catch (const std::runtime_error& e) {
                if (std::string(e.what()) != (dir / "many.csv") + " の 2 行目: 表が大きすぎます") std::_Exit(5);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n", e.what());
            std::_Exit(10 + stage);
        }
        std::_Exit(0);
    };
    EXPECT_EXIT(readWithinLimit(), ::testing::ExitedWithCode(0), "");
}

// A settings file with a stray zero byte is not UTF-16; a companion settings file that cannot
// be read is a warning, and the table beside it still loads.
TEST(TextInputs, AnUnreadableCompanionSettingsFileIsAWarning) {
    TempDir dir;
    WriteBytes(dir / "z.ini", std::string("[Table]\r\nFontSize=11\r\nTitle=a\0b\r\n", 33));
    EXPECT_EQ(ReadIniDocument(dir / "z.ini").ReadInteger("Table", "FontSize", 0), 11);

    fs::copy_file(TestData("example/example.vtb"), dir / "t.vtb");
    WriteBytes(dir / "t.ini", std::string("\xFF\xFE[\0T\0a\0b\0l\0e\0]\0", 16));
    Workspace ws;
    ws.Start("");
    ws.LoadTable(dir / "t.vtb");
    EXPECT_EQ(ws.table.ReleveCount(), 60);
    EXPECT_EQ(ws.settingsProblem, (dir / "t.ini") +
                                      " は UTF-16 で書かれています（CP932 か UTF-8 で保存してください）"
                                      "：この設定ファイルは使わずに読込みました");
    // The next table without such a file clears the warning.
    fs::remove(dir / "t.ini");
    ws.LoadTable(dir / "t.vtb");
    EXPECT_EQ(ws.settingsProblem, "");
}

// A dictionary the user names that is no regular file is said to be so, not missing.
TEST(TextInputs, ADictionaryThatIsNoFileIsNamedSo) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo.dic").c_str(), 0600), 0);
    Workspace ws;
    ws.Start("");
    EXPECT_EQ(MessageOf([&] { ws.SetDictionary(dir / "fifo.dic"); }),
              (dir / "fifo.dic") + " は通常のファイルではありません");
    EXPECT_FALSE(ws.SetDictionary(dir / "none.dic"));
}

TEST(TextInputs, OnlyRegularFilesAreReadAndWithinABound) {
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(MessageOf([&] { ReadFileBytes(dir / "fifo"); }), (dir / "fifo") + " は通常のファイルではありません");
    EXPECT_EQ(MessageOf([&] { ReadFileBytes("/dev/zero"); }), "/dev/zero は通常のファイルではありません");
    WriteBytes(dir / "big", std::string(3 << 20, 'x'));
    EXPECT_EQ(MessageOf([&] { ReadFileBytes(dir / "big", 2 << 20); }), (dir / "big") + " は大きすぎます（2 MB まで）");
    EXPECT_EQ(ReadFileBytes(dir / "big", 3 << 20).size(), 3u << 20);
    EXPECT_EQ(MessageOf([&] { ReadFileBytes(dir / "none"); }), (dir / "none") + " を読み込めません（ありません）");
}

}  // namespace
}  // namespace tavik
