// The outputs' failures and work messages in the language the program speaks.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/progress.h"
#include "output/matrix.h"
#include "output/output_file.h"
#include "output/print_layout.h"
#include "output/text_layout.h"
#include "tests/core/test_helpers.h"
#include "tests/formats/temp_dir.h"
#include "tests/output/output_test_helpers.h"

namespace tavik {
namespace {

using namespace testing;

Table TwoReleves() {
    Table t = TableWithItems({1, 2});
    const int r1 = AddReleve(t, {{2, "R1"}});
    const int r2 = AddReleve(t, {{2, "R2"}});
    Put(t, r1, "Sp-A", Layer(H1, 1));
    Put(t, r2, "Sp-A", Layer(H1, 2));
    t.Recount();
    return t;
}

struct ShownLines : Progress {
    std::vector<std::string> lines;
    void Show(const std::string& line1, const std::string&) override {
        if (lines.empty() || lines.back() != line1) lines.push_back(line1);
    }
};

// The file a failure concerns leads its message in both languages.
TEST(OutputMessages, FailuresNameTheFileFirst) {
    Table t = TwoReleves();
    TempDir dir;
    const std::string lst = dir / "m.LST";
    const auto pcord = [&] {
        try {
            WritePCordMatrix(t, AllOf(t, OutputMode::PCordMatrix), lst);
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("(written)");
    };
    EXPECT_EQ(
        pcord(),
        lst + ": PCord の数値表の名前が .lst で終わっています（種名リストと重なります）。別の拡張子にしてください");
    const OutputReport forced{true, false};
    {
        const Speaking english(Language::English);
        EXPECT_EQ(pcord(), lst +
                               ": the name of a PC-ORD matrix ends in .lst, which its species list would take. "
                               "Give it another extension");
        EXPECT_EQ(Utf8OutputNotice("/x/t.txt", forced),
                  "Wrote /x/t.txt in UTF-8 (it holds characters that CP932 has not)");
        EXPECT_STREQ(OutputCancelled().what(), "Output stopped");
    }
    EXPECT_EQ(Utf8OutputNotice("/x/t.txt", forced), "/x/t.txt は UTF-8 で書きました（CP932 で書けない文字があります）");
    EXPECT_EQ(std::filesystem::exists(lst), false);
}

TEST(OutputMessages, WorkMessageOfTheTextTableInEnglish) {
    Table t = TwoReleves();
    TempDir dir;
    const Speaking english(Language::English);
    ShownLines shown;
    WriteTextTable(t, AllOf(t), dir / "t.txt", &shown);
    ASSERT_FALSE(shown.lines.empty());
    EXPECT_EQ(shown.lines.front(), "Writing the text table");
}

}  // namespace
}  // namespace tavik
