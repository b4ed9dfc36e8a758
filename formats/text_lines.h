// Text files as lines: splitting at line ends and decoding by the house rule (UTF-8 with a
// BOM, or valid UTF-8 holding non-ASCII bytes, else CP932), line by line so that a bad
// line can be named.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "formats/byte_source.h"
#include "formats/codec.h"

namespace tavik {

// CR LF, LF and a lone CR end a line; a last line without an end still counts, an empty
// tail after the last end does not. The views point into `bytes`.
std::vector<std::string_view> SplitLines(std::string_view bytes);

// Which encoding the house rule picks for these bytes (a BOM is not part of any line).
TextEncoding DetectEncoding(std::string_view bytes);
// The bytes without a leading UTF-8 BOM.
std::string_view StripBom(std::string_view bytes);

// True for bytes that look like UTF-16 text: a byte-order mark, or zero bytes at half or more
// of the even (or of the odd) places of the first 4 KB.
bool LooksUtf16(std::string_view bytes);

// Decodes a whole text file into lines. UTF-16 is refused, also when `lenient`:
// "<fileName> は UTF-16 で書かれています（…）". A line that does not decode throws
// std::runtime_error "<fileName> の N 行目: 文字コードが CP932 でも UTF-8 でもありません",
// unless `lenient`, which turns undecodable bytes into U+FFFD.
std::vector<std::string> DecodeTextLines(std::string_view bytes, const std::string& fileName, bool lenient = false);

// A text file read line by line, decoded by the house rule, whatever its size: a first pass
// over the bytes finds the encoding (UTF-16 refused as DecodeTextLines does), the second
// gives one decoded line at a time, so that memory follows the longest line, never the
// number of lines. Lines end as SplitLines says; a line longer than kMaxTextLine is refused.
class TextLineFile {
public:
    // A regular file (see InputFile). Throws std::runtime_error naming it when it cannot be
    // read, and for UTF-16.
    explicit TextLineFile(const std::string& path, bool lenient = false);
    // Bytes in memory, named `fileName` in messages.
    TextLineFile(std::string_view bytes, const std::string& fileName, bool lenient = false);
    ~TextLineFile();
    TextLineFile(const TextLineFile&) = delete;
    TextLineFile& operator=(const TextLineFile&) = delete;

    // The next line, decoded; false at the end. A line that does not decode throws as
    // DecodeTextLines does (or becomes U+FFFD when lenient).
    bool Next(std::string& line);
    // The 1-based number of the line Next gave last.
    std::size_t LineNumber() const { return number_; }
    // How that line ended in the file: "\r\n", "\n", "\r", or "" for a last line without one.
    std::string_view LineEnd() const { return lines_->LineEnd(); }
    // Back to the first line, for another pass over the file.
    void Rewind();

private:
    void Start(std::unique_ptr<ByteSource> source, TextEncoding enc);
    std::string name_;
    std::string_view bytes_;  // the bytes read, when not a file
    bool fromFile_;
    bool lenient_;
    TextEncoding enc_ = TextEncoding::Cp932;
    std::unique_ptr<ByteSource> source_;
    std::unique_ptr<LineReader> lines_;
    std::size_t number_ = 0;
};

// The longest line a text file may have.
inline constexpr std::size_t kMaxTextLine = 64u << 20;

// The message for an undecodable line (1-based line number).
std::string BadEncodingMessage(const std::string& fileName, std::size_t line);
// "<fileName> は UTF-16 で書かれています（…）": such a file is refused.
std::string Utf16Message(const std::string& fileName);

}  // namespace tavik
