#include "core/messages.h"

#include <gtest/gtest.h>

#include <string>

#include "core/constancy.h"
#include "core/language.h"
#include "core/progress.h"
#include "core/table.h"

namespace tavik {
namespace {

// Speaks `language` for the length of a test; the suite speaks Japanese otherwise.
class Speaking {
public:
    explicit Speaking(Language language) { SetInterfaceLanguage(language); }
    ~Speaking() { SetInterfaceLanguage(Language::Japanese); }
    Speaking(const Speaking&) = delete;
    Speaking& operator=(const Speaking&) = delete;
};

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

}  // namespace
}  // namespace tavik
