// The file formats' failures, problem lists and work messages in the language the program
// speaks: the English names the file and the line where the Japanese does, and the Japanese
// stays as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/language.h"
#include "core/progress.h"
#include "core/table.h"
#include "formats/byte_source.h"
#include "formats/csv_reader.h"
#include "formats/fielddata.h"
#include "formats/fielddata_import.h"
#include "formats/saved_table.h"
#include "tests/formats/temp_dir.h"

namespace tavik {
namespace {
using testing::TempDir;
using testing::WriteBytes;

// Speaks `language` for the length of a test; the suite speaks Japanese otherwise.
class Speaking {
public:
    explicit Speaking(Language language) { SetInterfaceLanguage(language); }
    ~Speaking() { SetInterfaceLanguage(Language::Japanese); }
    Speaking(const Speaking&) = delete;
    Speaking& operator=(const Speaking&) = delete;
};

std::string FailureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no failure)";
}

// One species, one relevé, two fixed rows: 2 * 1 + 2 + 4 = 8 lines, cut after the first
// cover line, so that line 4 is missing.
constexpr const char* kCutTable = "Title\r\n1 1 2\r\n00000000000000\r\n";

TEST(FormatsMessages, FailuresNameTheFileAndTheLineInEitherLanguage) {
    TempDir dir;
    Table t;
    const auto cut = [&] { ParseSavedTable(kCutTable, "cut.vtb", t); };
    const auto quote = [] {
        CsvReader csv(std::string("releve,taxon\nR1,\"Fagus\n"), "q.csv");
        std::vector<std::string_view> cells;
        while (csv.Next(cells)) {
        }
    };
    WriteBytes(dir / "e.tki", "");
    WriteBytes(dir / "e.tkd", "");
    const auto empty = [&] { FieldFiles files(dir / "e.tki"); };

    EXPECT_EQ(FailureOf(cut), "cut.vtb の 4 行目: ファイルが途中で終わっています（8 行必要）");
    EXPECT_EQ(FailureOf(quote), "q.csv の 2 行目: 引用符「\"」が閉じないままファイルが終わります");
    EXPECT_EQ(FailureOf(empty), "正しいファイルが指定されていません: " + (dir / "e.tki") + " は空のファイルです");
    EXPECT_EQ(FailureOf([&] { OpenByteSource(dir / "none.vtb"); }),
              (dir / "none.vtb") + " を読み込めません（ありません）");
    {
        const Speaking english(Language::English);
        EXPECT_EQ(FailureOf(cut), "cut.vtb, line 4: the file ends early (8 lines are needed)");
        EXPECT_EQ(FailureOf(quote), "q.csv, line 2: the file ends inside a quoted cell (a \" is not closed)");
        EXPECT_EQ(FailureOf(empty), "Not a valid pair of field-data files: " + (dir / "e.tki") + " is an empty file");
        // The system's reason comes in the same language as the rest.
        EXPECT_EQ(FailureOf([&] { OpenByteSource(dir / "none.vtb"); }),
                  "Cannot read " + (dir / "none.vtb") + " (it does not exist)");
    }
}

TEST(FormatsMessages, ImportProblemsAndTheirHintsAreListedInEnglish) {
    TempDir dir;
    const std::string path = dir / "l.csv";
    WriteBytes(path,
               "releve,taxon,layer,cover\n"
               "R1,Fagus crenata,Q1,3\n"
               "R1,Abies homolepis,H1,9\n");
    const Speaking english(Language::English);
    FieldImporter importer;
    std::vector<std::string> lines;
    try {
        importer.ReadLong(path);
        importer.Finish();
    } catch (const FieldImportError& e) {
        lines = e.Lines();
    }
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "2 problem(s), so nothing was written:",
                         path + ", line 2: \"Q1\" is none of the layers T1 T2 S1 S2 H1 H2 M",
                         path + ", line 3: \"9\" is not a cover (scale bb)",
                         "Choose the cover scale with --scale: bb (the default), bb-extended, percent, londo, "
                         "domin, ordinal, presence",
                     }));
}

// Keeps what the work shows and stops it at the first sign of progress.
class StopAtOnce : public Progress {
public:
    void Show(const std::string& line1, const std::string& line2) override { shown.emplace_back(line1, line2); }
    bool Cancelled() override { return !shown.empty(); }
    std::vector<std::pair<std::string, std::string>> shown;
};

TEST(FormatsMessages, WorkMessagesAndTheirStopInEnglish) {
    TempDir dir;
    const std::string path = dir / "t.vtb";
    WriteBytes(path, std::string(kCutTable) + "Filler\r\n");  // read no further than the stop
    Table t;
    StopAtOnce progress;
    const Speaking english(Language::English);
    const std::unique_ptr<ByteSource> source = OpenByteSource(path);
    EXPECT_EQ(FailureOf([&] { ReadSavedTable(*source, path, t, &progress); }), "Reading " + path + " was stopped");
    ASSERT_EQ(progress.shown.size(), 1u);
    EXPECT_EQ(progress.shown[0].first, "Reading the composition table");
    EXPECT_EQ(progress.shown[0].second, "covers 0 / 1");
}

}  // namespace
}  // namespace tavik
