#include "formats/text_lines.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/messages.h"
#include "formats/file_error.h"
#include "formats/input_file.h"

namespace tavik {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        // Find the LF first (fast), then look for a CR before it.
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        if (cr) {
            lines.emplace_back(p, static_cast<std::size_t>(cr - p));
            p = (cr + 1 == lf) ? lf + 1 : cr + 1;
        } else {
            lines.emplace_back(p, static_cast<std::size_t>(stop - p));
            p = stop + 1;
        }
    }
    return lines;
}

std::string_view StripBom(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    if (StripBom(bytes).size() != bytes.size()) return TextEncoding::Utf8;
    return (!IsAscii(bytes) && IsValidUtf8(bytes)) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string BadEncodingMessage(const std::string& fileName, std::size_t line) {
    return Arg(Tr("%1: 文字コードが CP932 でも UTF-8 でもありません"), {FileLine(fileName, line)});
}

std::string Utf16Message(const std::string& fileName) {
    return Arg(Tr("%1 は UTF-16 で書かれています（CP932 か UTF-8 で保存してください）"), {fileName});
}

bool LooksUtf16(std::string_view bytes) {
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return true;
    // Without a mark: Latin text in UTF-16 has a zero byte beside every letter, so zeros
    // stand at most even or most odd places. A stray zero byte here and there is not that.
    const std::string_view head = bytes.substr(0, 4096);
    std::size_t zeros[2] = {0, 0};
    for (std::size_t i = 0; i < head.size(); ++i)
        if (head[i] == '\0') ++zeros[i % 2];
    const std::size_t half = head.size() / 2;
    return half > 0 && (zeros[0] * 2 >= half || zeros[1] * 2 >= half);
}

namespace {

constexpr std::size_t kPassChunk = 1 << 20;

// Bytes in memory as a source.
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* buf, std::size_t n) override {
        const std::size_t k = std::min(n, bytes_.size() - at_);
        std::memcpy(buf, bytes_.data() + at_, k);
        at_ += k;
        return k;
    }
    std::uint64_t MaxBytes() const override { return bytes_.size(); }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

// A regular file as it is, never uncompressed.
class FileSource : public ByteSource {
public:
    explicit FileSource(const std::string& path) : f_(path) {}
    std::size_t Read(char* buf, std::size_t n) override { return f_.Read(buf, n); }
    std::uint64_t MaxBytes() const override { return f_.Size(); }

private:
    InputFile f_;
};

// Where the last character of buf[0, len) begins when it may be cut short: a chunk is
// checked up to there and the rest carried into the next one.
std::size_t CheckableEnd(const char* buf, std::size_t len) {
    for (std::size_t back = 1; back <= 3 && back <= len; ++back) {
        const auto c = static_cast<unsigned char>(buf[len - back]);
        if ((c & 0xC0) == 0x80) continue;
        return c >= 0xC0 ? len - back : len;
    }
    return len;
}

// The house rule over a whole source, read in chunks: UTF-16 refused, a BOM or valid UTF-8
// holding non-ASCII bytes is UTF-8, anything else CP932.
TextEncoding DetectStreamed(ByteSource& src, const std::string& fileName) {
    // A small file gets a small buffer.
    const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kPassChunk, src.MaxBytes() + 1));
    std::string buf(std::max<std::size_t>(chunk, 4096) + 4, '\0');
    std::size_t len = 0;
    bool eof = false;
    // The start as the whole-file rule sees it: its first 4 KB.
    while (len < 4096 && !eof) {
        const std::size_t n = src.Read(buf.data() + len, buf.size() - 4 - len);
        eof = n == 0;
        len += n;
    }
    const std::string_view head(buf.data(), len);
    if (LooksUtf16(head)) throw std::runtime_error(Utf16Message(fileName));
    if (StripBom(head).size() != head.size()) return TextEncoding::Utf8;
    bool nonAscii = false;
    for (;;) {
        const std::size_t cut = eof ? len : CheckableEnd(buf.data(), len);
        const std::string_view part(buf.data(), cut);
        if (!IsValidUtf8(part)) return TextEncoding::Cp932;
        nonAscii = nonAscii || !IsAscii(part);
        std::memmove(buf.data(), buf.data() + cut, len - cut);
        len -= cut;
        if (eof) break;
        const std::size_t n = src.Read(buf.data() + len, buf.size() - 4 - len);
        eof = n == 0;
        len += n;
    }
    return nonAscii ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

}  // namespace

TextLineFile::TextLineFile(const std::string& path, bool lenient) : name_(path), fromFile_(true), lenient_(lenient) {
    TextEncoding enc;
    {
        FileSource first(path);
        enc = DetectStreamed(first, name_);
    }
    Start(std::make_unique<FileSource>(path), enc);
}

TextLineFile::TextLineFile(std::string_view bytes, const std::string& fileName, bool lenient)
    : name_(fileName), bytes_(bytes), fromFile_(false), lenient_(lenient) {
    MemorySource first(bytes);
    Start(std::make_unique<MemorySource>(bytes), DetectStreamed(first, name_));
}

TextLineFile::~TextLineFile() = default;

void TextLineFile::Start(std::unique_ptr<ByteSource> source, TextEncoding enc) {
    enc_ = enc;
    lines_.reset();
    source_ = std::move(source);
    lines_ = std::make_unique<LineReader>(*source_, name_, kMaxTextLine);
}

void TextLineFile::Rewind() {
    number_ = 0;
    if (fromFile_) Start(std::make_unique<FileSource>(name_), enc_);
    else Start(std::make_unique<MemorySource>(bytes_), enc_);
}

bool TextLineFile::Next(std::string& line) {
    std::string_view raw;
    if (!lines_->Next(raw)) return false;
    if (number_ == 0) {
        const std::string_view rest = StripBom(raw);
        // A file that holds nothing but its BOM has no lines.
        if (rest.size() != raw.size() && rest.empty() && lines_->LineEnd().empty()) return false;
        raw = rest;
    }
    ++number_;
    bool ok;
    if (enc_ == TextEncoding::Utf8) {
        ok = IsValidUtf8(raw);
        if (ok) line.assign(raw);
    } else {
        ok = Cp932ToUtf8(raw, line);
    }
    if (ok) return true;
    if (!lenient_) throw std::runtime_error(BadEncodingMessage(name_, number_));
    line = Cp932ToUtf8Lenient(raw);
    return true;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes, const std::string& fileName, bool lenient) {
    if (LooksUtf16(bytes)) throw std::runtime_error(Utf16Message(fileName));
    const TextEncoding enc = DetectEncoding(bytes);
    const std::vector<std::string_view> raw = SplitLines(StripBom(bytes));
    std::vector<std::string> lines(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        bool ok;
        if (enc == TextEncoding::Utf8) {
            ok = IsValidUtf8(raw[i]);
            if (ok) lines[i].assign(raw[i]);
        } else {
            ok = Cp932ToUtf8(raw[i], lines[i]);
        }
        if (ok) continue;
        if (!lenient) throw std::runtime_error(BadEncodingMessage(fileName, i + 1));
        lines[i] = Cp932ToUtf8Lenient(raw[i]);
    }
    return lines;
}

}  // namespace tavik
