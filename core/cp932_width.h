// Layout widths of texts: every fixed layout of the program (header cells, output columns,
// field-data records) counts a text by the bytes it takes in CP932, while the text itself
// lives in memory as UTF-8. These functions measure, cut and pad UTF-8 texts in those units
// without converting them.
//
// The rule: ASCII (U+0000..U+007F) and the half-width katakana (U+FF61..U+FF9F) take one
// byte, every other character two. A character is never split: a cut that would fall inside
// a double-byte character stops before it.
//
// Bytes that are not UTF-8: a byte that does not begin a well-formed sequence (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate, a code point above
// U+10FFFF) counts as a character of its own, one byte wide, as a single CP932 byte would.
// It is kept or dropped whole and never swallows the bytes after it, so a damaged text
// still measures and cuts predictably and a valid character after it is untouched.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavik {

// Length of the well-formed UTF-8 sequence that begins at utf8[pos] (pos < utf8.size()),
// 1 to 4, with its code point in `cp` when given; 0 when the byte there begins none.
std::size_t Utf8SequenceAt(std::string_view utf8, std::size_t pos, char32_t* cp = nullptr) noexcept;

// Width of one character (a Unicode code point) in CP932 bytes.
constexpr int Cp932CharWidth(char32_t cp) noexcept {
    if (cp < 0x80) return 1;
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;  // half-width katakana
    return 2;
}

// One character of a UTF-8 text: how many bytes it spans there and how wide it is in CP932.
struct Cp932Char {
    std::size_t bytes;
    int width;
};

// The character that begins at utf8[pos] (pos < utf8.size()); an invalid byte is one
// character of one byte and width 1.
Cp932Char Cp932CharAt(std::string_view utf8, std::size_t pos) noexcept;

// Width of a UTF-8 text in CP932 bytes.
int Cp932Width(std::string_view utf8) noexcept;

// The longest beginning of `utf8` that is at most `maxWidth` wide and ends between two
// characters; `width`, when given, receives its width. Empty for a width of 0 or less.
std::string_view Cp932Cut(std::string_view utf8, int maxWidth, int* width = nullptr) noexcept;

enum class Cp932Align { Left, Right };

// Appends `utf8` cut to at most `width` (keeping its beginning) and padded with blanks to
// exactly `width`: after the text when left-aligned, before it when right-aligned. A
// double-byte character that would straddle the end is left out and its place padded, so
// the appended text is always exactly `width` wide. Nothing for a width of 0 or less.
void AppendCp932Fit(std::string& out, std::string_view utf8, int width, Cp932Align align = Cp932Align::Left);

// The same as a new string.
std::string Cp932Fit(std::string_view utf8, int width, Cp932Align align = Cp932Align::Left);

}  // namespace tavik
