#include "formats/codec.h"

#include "core/cp932_width.h"
#include "core/messages.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace tavik {

namespace {

// iconv descriptors are costly to open; each thread keeps one per direction.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(Arg(Tr("文字コード変換を開けません: %1 -> %2"), {from, to}));
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts all of `in`; on an invalid or unconvertible sequence either stops (returns
    // false) or, when `replacement` is given, writes it and skips one byte.
    bool Run(std::string_view in, std::string& out, const char* replacement) {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.clear();
        char* src = const_cast<char*>(in.data());
        std::size_t srcLeft = in.size();
        char buf[4096];
        while (srcLeft > 0) {
            char* dst = buf;
            std::size_t dstLeft = sizeof buf;
            std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (r == static_cast<std::size_t>(-1)) {
                if (errno == E2BIG) continue;
                if (!replacement) return false;
                out += replacement;
                ++src;
                --srcLeft;
                iconv(cd_, nullptr, nullptr, nullptr, nullptr);
            }
        }
        char* dst = buf;
        std::size_t dstLeft = sizeof buf;
        iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
        out.append(buf, static_cast<std::size_t>(dst - buf));
        return true;
    }

private:
    iconv_t cd_;
};

Converter& FromCp932() {
    thread_local Converter c("UTF-8", "CP932");
    return c;
}
Converter& ToCp932() {
    thread_local Converter c("CP932", "UTF-8");
    return c;
}

}  // namespace

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t n = Utf8SequenceAt(s, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

namespace {

// ASCII reads the same in both encodings and skips the converter.
bool Convert(Converter& converter, std::string_view in, std::string& out) {
    if (IsAscii(in)) {
        out.assign(in);
        return true;
    }
    return converter.Run(in, out, nullptr);
}

}  // namespace

bool Cp932ToUtf8(std::string_view in, std::string& out) { return Convert(FromCp932(), in, out); }

std::string Cp932ToUtf8Lenient(std::string_view in) {
    std::string out;
    if (IsAscii(in)) return std::string(in);
    FromCp932().Run(in, out, "\xEF\xBF\xBD");
    return out;
}

bool Utf8ToCp932(std::string_view in, std::string& out) { return Convert(ToCp932(), in, out); }

bool DecodeTextFile(std::string_view bytes, std::string& out, TextEncoding* enc) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        if (enc) *enc = TextEncoding::Utf8;
        if (!IsValidUtf8(bytes.substr(3))) return false;
        out.assign(bytes.substr(3));
        return true;
    }
    if (!IsAscii(bytes) && IsValidUtf8(bytes)) {
        if (enc) *enc = TextEncoding::Utf8;
        out.assign(bytes);
        return true;
    }
    if (enc) *enc = TextEncoding::Cp932;
    return Cp932ToUtf8(bytes, out);
}

std::string EncodeTextFile(std::string_view utf8, TextEncoding* enc) {
    std::string out;
    // CP932 bytes that happen to be valid UTF-8 ("ﾅ表" is C5 95 5C) would read back as
    // UTF-8, so such a text goes out as UTF-8 with a BOM too.
    if (Utf8ToCp932(utf8, out) && (IsAscii(out) || !IsValidUtf8(out))) {
        if (enc) *enc = TextEncoding::Cp932;
        return out;
    }
    if (enc) *enc = TextEncoding::Utf8;
    return "\xEF\xBB\xBF" + std::string(utf8);
}

}  // namespace tavik
