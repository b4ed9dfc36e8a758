// The language the interface speaks: Japanese, the source language of every text, or
// English. It follows the locale as a program that uses message catalogues does, unless the
// settings file says otherwise.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

enum class Language { Japanese, English };

// The locale variables that choose the language of messages, as the environment holds them
// (empty when unset).
struct LocaleEnvironment {
    std::string language;    // LANGUAGE: a list of languages separated by ":"
    std::string lcAll;       // LC_ALL
    std::string lcMessages;  // LC_MESSAGES
    std::string lang;        // LANG
};

// The locale variables of this process.
LocaleEnvironment ProcessLocaleEnvironment();

// The language for `env` and the settings file's `Language` value. A value "ja" or "en"
// (any letter case) decides; "system", empty or anything else follows the environment:
// the messages locale is the first of LC_ALL, LC_MESSAGES and LANG that is set; none, "C",
// "POSIX" and "C.<codeset>" give Japanese, and then LANGUAGE is not looked at (the C locale
// has no catalogues). Otherwise the first entry of LANGUAGE that is Japanese ("ja...") or
// English ("en...") decides, entries of other languages being passed over as having no
// translation; failing that, a locale "ja..." gives Japanese and any other English.
Language ChooseLanguage(const LocaleEnvironment& env, std::string_view setting);

// "ja" or "en".
const char* LanguageCode(Language language);

// The language this process speaks, chosen once at start by the program (Japanese until
// then). Texts the program writes into its own outputs, such as CSV headings, follow it.
Language InterfaceLanguage();
void SetInterfaceLanguage(Language language);

}  // namespace tavik
