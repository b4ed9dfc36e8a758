// The texts the library shows the user (failures, work messages, warnings), in the language
// the program speaks. The Japanese texts are the source texts; their English translations come
// from the Qt Linguist file ui/translations/tavik-library_en.ts, turned into a table at build
// time (scripts/ts_to_cpp.py), so that the library needs no Qt. A text is translated where it
// is made, when the failure is thrown or the work message set, in the language chosen at
// start (InterfaceLanguage()).
//
// Texts written into files (captions of a text table, header item names, CSV headings that
// other programs read) are data, not interface: they do not go through Tr().
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tavik {

// One text of a table sorted by the bytes of the source texts (generated).
struct Translation {
    const char* source;
    const char* english;
};

// The English of `source` in `table`, or nullptr when the table has none (or an empty one).
const char* FindTranslation(const Translation* table, std::size_t count, const char* source);

// `source` when the program speaks Japanese; its English translation in `table` otherwise, or
// `source` itself when the table has none. Each program part has its table.
const char* TranslateWith(const Translation* table, std::size_t count, const char* source);

// TranslateWith the library's table.
const char* Tr(const char* source);

// Marks a text kept in a variable as one that is shown through Tr().
constexpr const char* TrNoop(const char* source) { return source; }

// `text` with %1 ... %9 replaced by the arguments in order (Qt's convention, so that a
// translation may put them where its language needs them). "%%" stays "%%"; a number without
// an argument stays as it is. An argument's own "%1" is not replaced again.
std::string Arg(std::string_view text, std::initializer_list<std::string_view> args);

// The library's English table (generated from ui/translations/tavik-library_en.ts).
extern const Translation kLibraryEnglish[];
extern const std::size_t kLibraryEnglishCount;

}  // namespace tavik
