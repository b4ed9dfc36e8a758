#include "core/messages.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/classification.h"
#include "core/constancy.h"
#include "core/language.h"
#include "core/progress.h"
#include "core/reciprocal_averaging.h"
#include "core/sorting.h"
#include "core/table.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {

using testing::Speaking;

// The message of the failure `work` throws.
std::string FailureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no failure)";
}

// Keeps the first lines of the work messages shown.
struct ShownLines : Progress {
    std::vector<std::string> lines;
    void Show(const std::string& line1, const std::string&) override {
        if (lines.empty() || lines.back() != line1) lines.push_back(line1);
    }
};

// Relevés R1 .. R3 of two species each.
Table ThreeReleves() {
    Table t = testing::MakeTable({{"a", "b"}, {"a", "c"}, {"b", "c"}});
    for (int q = 1; q <= t.ReleveCount(); ++q) t.SetHeaderText(t.ReleveKeyAt(q), 2, "R" + std::to_string(q));
    return t;
}

TEST(Arg, PutsTheArgumentsWhereTheTextSaysInAnyOrder) {
    EXPECT_EQ(Arg("%1 の %2 行目", {"a.csv", "12"}), "a.csv の 12 行目");
    EXPECT_EQ(Arg("line %2 of %1", {"a.csv", "12"}), "line 12 of a.csv");
    // An argument's own markers are left alone, so a file named "%2.csv" stays as it is.
    EXPECT_EQ(Arg("%1: %2", {"%2.csv", "x"}), "%2.csv: x");
    // A marker without an argument, a "%%" and a lone "%" at the end stay.
    EXPECT_EQ(Arg("%1 %3 100%% %", {"a"}), "a %3 100%% %");
    EXPECT_EQ(Arg("", {"a"}), "");
}

TEST(FindTranslation, FindsBySourceBytesAndTreatsAnEmptyTranslationAsNone) {
    const Translation table[] = {{"a", "A"}, {"b", ""}, {"c", "C"}};
    EXPECT_STREQ(FindTranslation(table, 3, "a"), "A");
    EXPECT_STREQ(FindTranslation(table, 3, "c"), "C");
    EXPECT_EQ(FindTranslation(table, 3, "b"), nullptr);
    EXPECT_EQ(FindTranslation(table, 3, "bb"), nullptr);
    EXPECT_EQ(FindTranslation(table, 0, "a"), nullptr);
}

TEST(LibraryMessages, AreMadeInTheLanguageTheProgramSpeaks) {
    const Table empty;
    auto refusal = [&] {
        try {
            MakeConstancyTable(empty, ConstancyOptions{});
        } catch (const ConstancyRefused& e) {
            return std::string(e.what());
        }
        return std::string("(no refusal)");
    };
    EXPECT_EQ(refusal(), "種または測定がない表では常在度表を作成できません。");
    {
        const Speaking english(Language::English);
        EXPECT_EQ(refusal(), "A constancy table needs a table with species and relevés.");
        // A text the table does not know is shown as it is rather than lost.
        EXPECT_STREQ(Tr("表にない文"), "表にない文");
    }
    EXPECT_EQ(refusal(), "種または測定がない表では常在度表を作成できません。");
}

// A refusal made of several parts (lists, counts, the closing reassurance) reads in one
// language: the Japanese exactly as it always was, the English with its own separators.
TEST(LibraryMessages, MembershipRefusalInEitherLanguage) {
    const Table t = ThreeReleves();
    const auto refusal = [&] {
        return FailureOf([&] { GroupsFromMembership(t, {{"R1", "x"}, {"R9", "x"}, {"", "y"}, {"R1", "y"}}); });
    };
    EXPECT_EQ(refusal(), "表にない測定番号: R9、（空欄）\n二度書かれた測定番号: R1\n表は変更していません。");
    const Speaking english(Language::English);
    EXPECT_EQ(refusal(),
              "Relevé numbers not in the table: R9, (blank)\nRelevé numbers given twice: R1\nThe table is unchanged.");
    // Past twenty the list says how many more.
    std::vector<std::pair<std::string, std::string>> many;
    for (int i = 1; i <= 23; ++i) many.emplace_back("N" + std::to_string(i), "x");
    const std::string m = FailureOf([&] { GroupsFromMembership(t, many); });
    EXPECT_NE(m.find("N19, N20 and 3 more\n"), std::string::npos) << m;
    // Arguments that repeat keep their places.
    const Classification c = ClassifyReleves(t, ClusterOptions{});
    EXPECT_EQ(FailureOf([&] { GroupsOfCut(t, c, 5); }),
              "The number of groups, 5, exceeds the number of relevés classified, 3 (choose 1 to 3).");
}

TEST(LibraryMessages, ReciprocalAveragingNamesTheEmptyRowAndColumn) {
    Table t = ThreeReleves();
    t.AppendSpecies("z");
    const int q = t.AppendReleve();
    t.SetHeaderText(t.ReleveKeyAt(q), 2, "R4");
    t.Recount();
    const Speaking english(Language::English);
    const std::string m = FailureOf([&] { ReciprocalAveraging(t, false); });
    EXPECT_EQ(m.substr(0, m.find('\n')),
              "Cannot run reciprocal averaging: some rows or columns have no occurrence (no weight).");
    EXPECT_NE(m.find("\nSpecies: \"z\"\n"), std::string::npos) << m;
    EXPECT_NE(m.find("\nRelevés: column 4 (relevé number R4)\n"), std::string::npos) << m;
}

TEST(LibraryMessages, WorkMessagesInEitherLanguage) {
    Table t = ThreeReleves();
    ShownLines japanese;
    SortSpecies(t, 1, t.SpeciesCount(), false, &japanese);
    EXPECT_EQ(japanese.lines, std::vector<std::string>{"　植物を並べ替えています　"});
    const Speaking english(Language::English);
    ShownLines shown;
    SortSpecies(t, 1, t.SpeciesCount(), false, &shown);
    SortReleves(t, 1, t.ReleveCount(), false, &shown);
    EXPECT_EQ(shown.lines, (std::vector<std::string>{"Sorting the species", "Sorting the relevés"}));
}

}  // namespace
}  // namespace tavik
