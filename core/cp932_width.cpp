#include "core/cp932_width.h"

namespace tavik {

std::size_t Utf8SequenceAt(std::string_view s, std::size_t pos, char32_t* cp) noexcept {
    const auto b = static_cast<unsigned char>(s[pos]);
    if (b < 0x80) {
        if (cp) *cp = b;
        return 1;
    }
    std::size_t n;
    char32_t c;
    if ((b & 0xE0) == 0xC0) {
        n = 2;
        c = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
        n = 3;
        c = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
        n = 4;
        c = b & 0x07;
    } else return 0;
    if (n > s.size() - pos) return 0;
    for (std::size_t k = 1; k < n; ++k) {
        const auto t = static_cast<unsigned char>(s[pos + k]);
        if ((t & 0xC0) != 0x80) return 0;
        c = (c << 6) | (t & 0x3F);
    }
    if ((n == 2 && c < 0x80) || (n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) ||
        (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    if (cp) *cp = c;
    return n;
}

Cp932Char Cp932CharAt(std::string_view s, std::size_t pos) noexcept {
    char32_t c = 0;
    const std::size_t n = Utf8SequenceAt(s, pos, &c);
    if (n == 0) return {1, 1};
    return {n, Cp932CharWidth(c)};
}

int Cp932Width(std::string_view s) noexcept {
    int w = 0;
    for (std::size_t i = 0; i < s.size();) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++w;
            ++i;
            continue;
        }
        const Cp932Char c = Cp932CharAt(s, i);
        w += c.width;
        i += c.bytes;
    }
    return w;
}

std::string_view Cp932Cut(std::string_view s, int maxWidth, int* width) noexcept {
    int w = 0;
    std::size_t i = 0;
    while (i < s.size() && w < maxWidth) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++w;
            ++i;
            continue;
        }
        const Cp932Char c = Cp932CharAt(s, i);
        if (w + c.width > maxWidth) break;
        w += c.width;
        i += c.bytes;
    }
    if (width) *width = w;
    return s.substr(0, i);
}

namespace {

void AppendPadded(std::string& out, std::string_view kept, std::size_t pad, Cp932Align align) {
    if (align == Cp932Align::Right) out.append(pad, ' ');
    out.append(kept);
    if (align == Cp932Align::Left) out.append(pad, ' ');
}

}  // namespace

void AppendCp932Fit(std::string& out, std::string_view utf8, int width, Cp932Align align) {
    if (width <= 0) return;
    int w = 0;
    const std::string_view kept = Cp932Cut(utf8, width, &w);
    AppendPadded(out, kept, static_cast<std::size_t>(width - w), align);
}

std::string Cp932Fit(std::string_view utf8, int width, Cp932Align align) {
    std::string out;
    if (width <= 0) return out;
    int w = 0;
    const std::string_view kept = Cp932Cut(utf8, width, &w);
    const auto pad = static_cast<std::size_t>(width - w);
    out.reserve(kept.size() + pad);
    AppendPadded(out, kept, pad, align);
    return out;
}

}  // namespace tavik
