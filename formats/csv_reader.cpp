#include "formats/csv_reader.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

#include "core/messages.h"
#include "formats/file_bytes.h"
#include "formats/file_error.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

// The separator that occurs most often outside quotes in the first line; a comma when none
// does (a file of one column).
char FindDelimiter(std::string_view text) {
    std::size_t comma = 0, semicolon = 0, tab = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        else if (quoted) continue;
        else if (c == '\n' || c == '\r') break;
        else if (c == ',') ++comma;
        else if (c == ';') ++semicolon;
        else if (c == '\t') ++tab;
    }
    if (tab > comma && tab >= semicolon) return '\t';
    if (semicolon > comma) return ';';
    return ',';
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// IsAscii, eight bytes at a time.
bool AsciiOnly(std::string_view s) {
    std::size_t i = 0;
    std::uint64_t any = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t w;
        std::memcpy(&w, s.data() + i, 8);
        any |= w;
    }
    for (; i < s.size(); ++i) any |= static_cast<unsigned char>(s[i]);
    return (any & 0x8080808080808080ull) == 0;
}

}  // namespace

bool AllBlank(const std::vector<std::string_view>& cells) {
    for (const std::string_view c : cells)
        for (const char ch : c)
            if (!IsBlank(ch)) return false;
    return true;
}

namespace {

// The 1-based number of the first line (as SplitLines cuts them) for which `bad` holds, or 0;
// one line at a time, whatever the number of lines.
template <class Bad>
std::size_t FirstLineWhere(std::string_view bytes, Bad bad) {
    std::size_t number = 0;
    while (!bytes.empty()) {
        ++number;
        const std::size_t end = bytes.find_first_of("\r\n");
        if (bad(bytes.substr(0, end))) return number;
        if (end == std::string_view::npos) break;
        const std::size_t next = bytes.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
        bytes.remove_prefix(next);
    }
    return 0;
}

}  // namespace

CsvReader::CsvReader(const std::string& path) : name_(path) { Decode(ReadFileBytes(path)); }

CsvReader::CsvReader(std::string bytes, std::string name) : name_(std::move(name)) { Decode(std::move(bytes)); }

void CsvReader::Decode(std::string bytes) {
    if (LooksUtf16(bytes)) throw std::runtime_error(Utf16Message(name_));
    // The house rule of DetectEncoding, with one pass over the bytes for the usual ASCII file.
    const std::size_t bom = bytes.size() - StripBom(bytes).size();
    const bool ascii = AsciiOnly(bytes);
    encoding_ = bom || (!ascii && IsValidUtf8(bytes)) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    if (encoding_ == TextEncoding::Utf8 || ascii) {
        if (encoding_ == TextEncoding::Utf8 && !IsValidUtf8(std::string_view(bytes).substr(bom))) {
            // A BOM before bytes that are not UTF-8: name the first bad line.
            const std::size_t bad = FirstLineWhere(std::string_view(bytes).substr(bom),
                                                   [](std::string_view line) { return !IsValidUtf8(line); });
            if (bad > 0) throw std::runtime_error(BadEncodingMessage(name_, bad));
        }
        text_ = std::move(bytes);
        pos_ = bom;
    } else if (!Cp932ToUtf8(bytes, text_)) {
        std::string scratch;
        const std::size_t bad =
            FirstLineWhere(bytes, [&](std::string_view line) { return !Cp932ToUtf8(line, scratch); });
        throw std::runtime_error(BadEncodingMessage(name_, bad > 0 ? bad : 1));
    }
    delimiter_ = FindDelimiter(std::string_view(text_).substr(pos_));
    special_[static_cast<unsigned char>(delimiter_)] = special_['"'] = special_['\r'] = special_['\n'] = true;
}

std::string CsvReader::DelimiterName() const {
    return delimiter_ == '\t' ? Tr("タブ") : delimiter_ == ';' ? Tr("セミコロン") : Tr("コンマ");
}

std::string CsvReader::Where() const { return FileLine(name_, recordLine_); }

std::string& CsvReader::PoolString() {
    if (poolUsed_ == pool_.size()) pool_.emplace_back();
    std::string& s = pool_[poolUsed_++];
    s.clear();
    return s;
}

bool CsvReader::Next(std::vector<std::string_view>& cells) {
    const char* const base = text_.data();
    const std::size_t end = text_.size();
    const std::array<bool, 256>& special = special_;
    for (;;) {
        if (pos_ >= end) return false;
        cells.clear();
        poolUsed_ = 0;
        recordLine_ = line_;
        std::size_t p = pos_;
        for (;;) {
            const std::size_t start = p;
            while (p < end && !special[static_cast<unsigned char>(base[p])]) ++p;
            if (p < end && base[p] == '"') {
                // A cell with quotes: its text is put together in a string of the pool.
                std::string& s = PoolString();
                s.append(base + start, p - start);
                bool quoted = true;
                ++p;
                for (;;) {
                    if (quoted) {
                        const std::size_t q = text_.find('"', p);
                        if (q == std::string::npos)
                            throw std::runtime_error(
                                Arg(Tr("%1: 引用符「\"」が閉じないままファイルが終わります"), {Where()}));
                        for (std::size_t i = p; i < q; ++i)
                            if (base[i] == '\n' || (base[i] == '\r' && (i + 1 >= q || base[i + 1] != '\n'))) ++line_;
                        s.append(base + p, q - p);
                        if (q + 1 < end && base[q + 1] == '"') {
                            s += '"';
                            p = q + 2;
                        } else {
                            quoted = false;
                            p = q + 1;
                        }
                    } else {
                        const std::size_t from = p;
                        while (p < end && !special[static_cast<unsigned char>(base[p])]) ++p;
                        s.append(base + from, p - from);
                        if (p < end && base[p] == '"') {
                            quoted = true;
                            ++p;
                        } else {
                            break;
                        }
                    }
                }
                cells.emplace_back(s);
            } else {
                cells.emplace_back(base + start, p - start);
            }
            if (p < end && base[p] == delimiter_) {
                ++p;
                continue;
            }
            break;  // a line end or the end of the text
        }
        if (p < end) {
            if (base[p] == '\r' && p + 1 < end && base[p + 1] == '\n') ++p;
            ++p;
            ++line_;
        }
        pos_ = p;
        if (!AllBlank(cells)) return true;
    }
}

}  // namespace tavik
