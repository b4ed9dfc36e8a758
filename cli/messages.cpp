#include "cli/messages.h"

#include "core/language.h"

namespace tavik::cli {

const char* Tr(const char* source) {
    if (InterfaceLanguage() != Language::English) return source;
    const char* english = FindTranslation(kCliEnglish, kCliEnglishCount, source);
    return english ? english : source;
}

}  // namespace tavik::cli
