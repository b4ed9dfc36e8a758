#include "core/messages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/language.h"

namespace tavik {

const char* FindTranslation(const Translation* table, std::size_t count, const char* source) {
    const Translation* end = table + count;
    const Translation* found = std::lower_bound(
        table, end, source, [](const Translation& t, const char* s) { return std::strcmp(t.source, s) < 0; });
    return found != end && std::strcmp(found->source, source) == 0 && *found->english ? found->english : nullptr;
}

const char* TranslateWith(const Translation* table, std::size_t count, const char* source) {
    if (InterfaceLanguage() != Language::English) return source;
    const char* english = FindTranslation(table, count, source);
    return english ? english : source;
}

const char* Tr(const char* source) { return TranslateWith(kLibraryEnglish, kLibraryEnglishCount, source); }

std::string Arg(std::string_view text, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> values(args);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace tavik
