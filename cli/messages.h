// The texts tavik-cli prints, in the language it speaks. The Japanese texts are the source
// texts; their English translations come from the program's Qt Linguist file (context
// "tavik-cli"), turned into a table at build time, so that no Qt is needed at run time.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavik::cli {

// `source` when the program speaks Japanese (InterfaceLanguage()); its English translation
// otherwise, or `source` itself when the table has none.
const char* Tr(const char* source);

// Marks a text kept in a variable as one that is printed through Tr().
constexpr const char* TrNoop(const char* source) { return source; }

// `text` with %1 ... %9 replaced by the arguments in order (Qt's convention, so that a
// translation may put them where its language needs them). "%%" stays "%%"; a number without
// an argument stays as it is.
std::string Arg(std::string_view text, std::initializer_list<std::string_view> args);

// The English table, sorted by the bytes of the source texts (generated).
struct Translation {
    const char* source;
    const char* english;
};
extern const Translation kEnglishMessages[];
extern const std::size_t kEnglishMessageCount;

}  // namespace tavik::cli
