// The texts tavik-cli prints, in the language it speaks. The Japanese texts are the source
// texts; their English translations come from the program's Qt Linguist file (context
// "tavik-cli"), turned into a table at build time, so that no Qt is needed at run time.
// Messages of the library (failures it throws, its work messages) come translated already.
#pragma once

#include <cstddef>

#include "core/messages.h"

namespace tavik::cli {

using tavik::Arg;
using tavik::Translation;
using tavik::TrNoop;

// `source` when the program speaks Japanese (InterfaceLanguage()); its English translation
// otherwise, or `source` itself when the table has none.
const char* Tr(const char* source);

// The English table, sorted by the bytes of the source texts (generated).
extern const Translation kCliEnglish[];
extern const std::size_t kCliEnglishCount;

}  // namespace tavik::cli
