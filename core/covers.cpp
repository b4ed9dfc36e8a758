#include "core/covers.h"

#include <cmath>

#include "core/cp932_width.h"

namespace tavik {

namespace {

constexpr char LayerChar(std::uint8_t v) {
    if (v == 0 || v == 7) return ' ';
    if (v <= 5) return '+';
    if (v == 6) return 'r';
    if (v == 8) return 'e';
    return static_cast<char>(48 + v / 10);  // 9 gives "0", 10..19 give "1", ...
}

// "r" ranks as "(" so that blank < r < "+" < digits < "e"; a winning "(" is written "r".
constexpr unsigned char Rank(char c) { return static_cast<unsigned char>(c == 'r' ? '(' : c); }

constexpr char Greater(char a, char b) { return Rank(b) > Rank(a) ? b : a; }

}  // namespace

namespace {

// The character of every cover value, worked out once.
struct LayerChars {
    char of[256];
    constexpr LayerChars() : of() {
        for (int v = 0; v < 256; ++v) of[v] = LayerChar(static_cast<std::uint8_t>(v));
    }
};
constexpr LayerChars kLayerChars;

}  // namespace

void LayerCodeInto(const LayerCovers& c, char out[4]) {
    const char* ch = kLayerChars.of;
    out[0] = ch[c[0]];
    out[1] = ch[c[1]];
    out[2] = Greater(ch[c[2]], ch[c[3]]);
    out[3] = Greater(Greater(ch[c[4]], ch[c[5]]), ch[c[6]]);
}

std::string LayerCode(const LayerCovers& c) {
    std::string s(4, ' ');
    LayerCodeInto(c, s.data());
    return s;
}

std::string CoverText(std::uint8_t value, int codeD) {
    if (value == 1) return " + ";
    if (value >= 2 && value <= 5) {
        if (codeD == 2) return std::string("+.") + static_cast<char>('0' + value);
        return " + ";
    }
    switch (value) {
        case 6: return " r ";
        case 7: return " * ";
        case 8: return " e ";
        case 9: return " ? ";
        default: break;
    }
    if (value >= 10 && value <= 55) {
        char c = static_cast<char>('0' + value / 10);
        char s = static_cast<char>('0' + value % 10);
        if (codeD == 2 && s != '0') return std::string{c, '.', s};
        return std::string{' ', c, ' '};
    }
    return " . ";
}

std::string MakeNumber4(long long n) {
    std::string s = std::to_string(n);
    if (s.size() > 4) return s.substr(0, 4);
    return std::string(4 - s.size(), ' ') + s;
}

bool ParseInteger(std::string_view s, long long& out) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool neg = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) neg = s[i++] == '-';
    if (i >= s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > 1000000000000LL) return false;
    }
    out = neg ? -v : v;
    return true;
}

long long RoundHalfEven(double x) { return static_cast<long long>(std::nearbyint(x)); }

std::array<std::string, kLayerCount> LayerLabels(std::string_view kaisou) {
    std::array<std::string, kLayerCount> labels;
    for (std::string& label : labels) {
        int w = 0;
        const std::string_view piece = Cp932Cut(kaisou, 2, &w);
        label.assign(piece);
        label.append(static_cast<std::size_t>(2 - w), ' ');
        kaisou.remove_prefix(piece.size());
    }
    return labels;
}

}  // namespace tavik
