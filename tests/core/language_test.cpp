#include "core/language.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

constexpr Language J = Language::Japanese;
constexpr Language E = Language::English;

struct Case {
    const char* language;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* setting;
    Language expected;
};

TEST(ChooseLanguage, FollowsTheLocaleAsMessageCataloguesDo) {
    const Case cases[] = {
        // Nothing set, and the C locale in its spellings: Japanese.
        {"", "", "", "", "", J},
        {"", "", "", "C", "", J},
        {"", "", "", "POSIX", "", J},
        {"", "", "", "C.UTF-8", "", J},
        // LANG alone.
        {"", "", "", "ja_JP.UTF-8", "", J},
        {"", "", "", "ja", "", J},
        {"", "", "", "en_US.UTF-8", "", E},
        {"", "", "", "de_DE.UTF-8", "", E},
        {"", "", "", "jv_ID", "", E},  // Javanese is not Japanese
        {"", "", "", "japan", "", E},  // nor a name that merely begins with "ja"
        // LC_ALL before LC_MESSAGES before LANG.
        {"", "C", "", "en_US.UTF-8", "", J},
        {"", "en_GB.UTF-8", "ja_JP.UTF-8", "ja_JP.UTF-8", "", E},
        {"", "", "ja_JP.UTF-8", "en_US.UTF-8", "", J},
        {"", "", "fr_FR.UTF-8", "ja_JP.UTF-8", "", E},
        // LANGUAGE: a list, first Japanese or English entry wins; ignored in the C locale.
        {"en", "", "", "ja_JP.UTF-8", "", E},
        {"ja:en", "", "", "en_US.UTF-8", "", J},
        {"de:fr:en_GB", "", "", "ja_JP.UTF-8", "", E},
        {"de:ja", "", "", "de_DE.UTF-8", "", J},
        {"de", "", "", "de_DE.UTF-8", "", E},
        {"de", "", "", "ja_JP.UTF-8", "", J},
        {"en", "C", "", "", "", J},
        {"en", "", "", "", "", J},
        {"::en:", "", "", "fr_FR", "", E},
    };
    for (const Case& c : cases) {
        const LocaleEnvironment env{c.language, c.lcAll, c.lcMessages, c.lang};
        EXPECT_EQ(ChooseLanguage(env, c.setting), c.expected) << "LANGUAGE=" << c.language << " LC_ALL=" << c.lcAll
                                                              << " LC_MESSAGES=" << c.lcMessages << " LANG=" << c.lang;
    }
}

TEST(ChooseLanguage, TheSettingOverridesTheEnvironmentUnlessItSaysSystem) {
    const LocaleEnvironment english{"", "", "", "en_US.UTF-8"};
    const LocaleEnvironment japanese{"", "", "", "ja_JP.UTF-8"};
    const LocaleEnvironment cLocale{"en", "C", "", ""};
    EXPECT_EQ(ChooseLanguage(english, "ja"), J);
    EXPECT_EQ(ChooseLanguage(japanese, "en"), E);
    EXPECT_EQ(ChooseLanguage(cLocale, "en"), E);
    EXPECT_EQ(ChooseLanguage(japanese, " EN "), E);
    EXPECT_EQ(ChooseLanguage(english, "Ja"), J);
    EXPECT_EQ(ChooseLanguage(english, "system"), E);
    EXPECT_EQ(ChooseLanguage(japanese, "system"), J);
    // A value the program does not know follows the environment rather than guessing.
    EXPECT_EQ(ChooseLanguage(english, "fr"), E);
    EXPECT_EQ(ChooseLanguage(japanese, "english"), J);
}

}  // namespace
}  // namespace tavik
