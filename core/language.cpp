#include "core/language.h"

#include <atomic>
#include <cstdlib>

namespace tavik {

namespace {

std::atomic<Language> interfaceLanguage{Language::Japanese};

std::string Variable(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && s.substr(0, prefix.size()) == prefix;
}

// "ja", "ja_JP", "ja_JP.UTF-8", "ja@..." but not "jav" (Javanese).
bool IsJapanese(std::string_view name) {
    return StartsWith(name, "ja") && (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

bool IsEnglish(std::string_view name) {
    return StartsWith(name, "en") && (name.size() == 2 || name[2] == '_' || name[2] == '.' || name[2] == '@');
}

bool IsCLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || StartsWith(name, "C.");
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        if (x != b[i]) return false;
    }
    return true;
}

}  // namespace

LocaleEnvironment ProcessLocaleEnvironment() {
    return {Variable("LANGUAGE"), Variable("LC_ALL"), Variable("LC_MESSAGES"), Variable("LANG")};
}

Language ChooseLanguage(const LocaleEnvironment& env, std::string_view setting) {
    while (!setting.empty() && (setting.front() == ' ' || setting.front() == '\t')) setting.remove_prefix(1);
    while (!setting.empty() && (setting.back() == ' ' || setting.back() == '\t')) setting.remove_suffix(1);
    if (EqualsIgnoringCase(setting, "ja")) return Language::Japanese;
    if (EqualsIgnoringCase(setting, "en")) return Language::English;

    const std::string& locale = !env.lcAll.empty() ? env.lcAll : !env.lcMessages.empty() ? env.lcMessages : env.lang;
    if (IsCLocale(locale)) return Language::Japanese;
    std::string_view list = env.language;
    while (!list.empty()) {
        const std::size_t colon = list.find(':');
        const std::string_view entry = list.substr(0, colon);
        if (IsJapanese(entry)) return Language::Japanese;
        if (IsEnglish(entry)) return Language::English;
        if (colon == std::string_view::npos) break;
        list.remove_prefix(colon + 1);
    }
    return IsJapanese(locale) ? Language::Japanese : Language::English;
}

const char* LanguageCode(Language language) { return language == Language::English ? "en" : "ja"; }

Language InterfaceLanguage() { return interfaceLanguage.load(std::memory_order_relaxed); }

void SetInterfaceLanguage(Language language) { interfaceLanguage.store(language, std::memory_order_relaxed); }

}  // namespace tavik
