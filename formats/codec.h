// The one place where bytes become text: CP932 <-> UTF-8. (Layout widths in CP932 units
// are measured on the UTF-8 text itself: core/cp932_width.h.)
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// Converts CP932 bytes to UTF-8. Returns false (and leaves `out` partial) on a byte
// sequence that is not CP932.
bool Cp932ToUtf8(std::string_view in, std::string& out);
// Lenient form for fixed-length record fields: bytes that do not decode become U+FFFD.
std::string Cp932ToUtf8Lenient(std::string_view in);
// Converts UTF-8 to CP932. Returns false when some character has no CP932 form.
bool Utf8ToCp932(std::string_view in, std::string& out);

bool IsValidUtf8(std::string_view s);
bool IsAscii(std::string_view s);

enum class TextEncoding { Cp932, Utf8 };

// Decodes a whole text file by the house rule: UTF-8 when it starts with a BOM or is
// valid UTF-8 containing non-ASCII bytes, CP932 otherwise. Returns false when the bytes
// are neither. `enc` tells which was found.
bool DecodeTextFile(std::string_view bytes, std::string& out, TextEncoding* enc = nullptr);
// Encodes text for a file so that it reads back as written: CP932 when every character
// has a CP932 form and those bytes cannot be taken for UTF-8, otherwise UTF-8 with a BOM.
std::string EncodeTextFile(std::string_view utf8, TextEncoding* enc = nullptr);

}  // namespace tavik
