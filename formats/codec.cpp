#include "formats/codec.h"

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
            throw std::runtime_error(std::string("文字コード変換を開けません: ") + from + " -> " + to);
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

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when invalid.
int Utf8Len(std::string_view s, std::size_t i, char32_t* cp) {
    const auto b = static_cast<unsigned char>(s[i]);
    int n;
    char32_t c;
    if (b < 0x80) { *cp = b; return 1; }
    if ((b & 0xE0) == 0xC0) { n = 2; c = b & 0x1F; }
    else if ((b & 0xF0) == 0xE0) { n = 3; c = b & 0x0F; }
    else if ((b & 0xF8) == 0xF0) { n = 4; c = b & 0x07; }
    else return 0;
    if (i + static_cast<std::size_t>(n) > s.size()) return 0;
    for (int k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    if ((n == 2 && c < 0x80) || (n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    *cp = c;
    return n;
}

int CharWidth(char32_t cp) {
    if (cp < 0x80) return 1;
    if (cp >= 0xFF61 && cp <= 0xFF9F) return 1;  // half-width katakana
    return 2;
}

}  // namespace

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsValidUtf8(std::string_view s) {
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        int n = Utf8Len(s, i, &cp);
        if (n == 0) return false;
        i += static_cast<std::size_t>(n);
    }
    return true;
}

bool Cp932ToUtf8(std::string_view in, std::string& out) {
    if (IsAscii(in)) {
        out.assign(in);
        return true;
    }
    return FromCp932().Run(in, out, nullptr);
}

std::string Cp932ToUtf8Lenient(std::string_view in) {
    std::string out;
    if (IsAscii(in)) return std::string(in);
    FromCp932().Run(in, out, "\xEF\xBF\xBD");
    return out;
}

bool Utf8ToCp932(std::string_view in, std::string& out) {
    if (IsAscii(in)) {
        out.assign(in);
        return true;
    }
    return ToCp932().Run(in, out, nullptr);
}

std::string Utf8ToCp932Lossy(std::string_view in) {
    std::string out;
    if (IsAscii(in)) return std::string(in);
    // Skip whole UTF-8 characters that have no CP932 form.
    std::string piece;
    char32_t cp;
    for (std::size_t i = 0; i < in.size();) {
        int n = Utf8Len(in, i, &cp);
        if (n == 0) { out += '?'; ++i; continue; }
        if (n == 1) out += in[i];
        else if (ToCp932().Run(in.substr(i, static_cast<std::size_t>(n)), piece, nullptr)) out += piece;
        else out += '?';
        i += static_cast<std::size_t>(n);
    }
    return out;
}

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

int Cp932Width(std::string_view utf8) {
    int w = 0;
    char32_t cp;
    for (std::size_t i = 0; i < utf8.size();) {
        int n = Utf8Len(utf8, i, &cp);
        if (n == 0) { ++w; ++i; continue; }
        w += CharWidth(cp);
        i += static_cast<std::size_t>(n);
    }
    return w;
}

std::string CutWidth(std::string_view utf8, int width) {
    int w = 0;
    char32_t cp;
    std::size_t i = 0;
    while (i < utf8.size()) {
        int n = Utf8Len(utf8, i, &cp);
        int cw = n == 0 ? 1 : CharWidth(cp);
        if (n == 0) n = 1;
        if (w + cw > width) break;
        w += cw;
        i += static_cast<std::size_t>(n);
    }
    return std::string(utf8.substr(0, i));
}

std::string FitWidth(std::string_view utf8, int width, bool rightAlign) {
    std::string s = CutWidth(utf8, width);
    const int pad = width - Cp932Width(s);
    if (pad <= 0) return s;
    return rightAlign ? std::string(static_cast<std::size_t>(pad), ' ') + s
                      : s + std::string(static_cast<std::size_t>(pad), ' ');
}

}  // namespace tavik
