#include "cli/messages.h"

namespace tavik::cli {

const char* Tr(const char* source) { return TranslateWith(kCliEnglish, kCliEnglishCount, source); }

}  // namespace tavik::cli
