// Text files as lines: splitting at line ends and decoding by the house rule (UTF-8 with a
// BOM, or valid UTF-8 holding non-ASCII bytes, else CP932), line by line so that a bad
// line can be named.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "formats/codec.h"

namespace tavik {

// CR LF, LF and a lone CR end a line; a last line without an end still counts, an empty
// tail after the last end does not. The views point into `bytes`.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Which encoding the house rule picks for these bytes (a BOM is not part of any line).
TextEncoding DetectEncoding(std::string_view bytes);
// The bytes without a leading UTF-8 BOM.
std::string_view StripBom(std::string_view bytes);

// True for bytes that look like UTF-16 text: a byte-order mark, or zero bytes near the start.
bool LooksUtf16(std::string_view bytes);

// Decodes a whole text file into lines. UTF-16 is refused, also when `lenient`:
// "<fileName> は UTF-16 で書かれています（…）". A line that does not decode throws
// std::runtime_error "<fileName> の N 行目: 文字コードが CP932 でも UTF-8 でもありません",
// unless `lenient`, which turns undecodable bytes into U+FFFD.
std::vector<std::string> DecodeTextLines(std::string_view bytes, const std::string& fileName,
                                         bool lenient = false);

// The message for an undecodable line (1-based line number).
std::string BadEncodingMessage(const std::string& fileName, std::size_t line);

}  // namespace tavik
