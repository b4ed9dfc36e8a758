#include "core/cover_number.h"

#include <algorithm>

namespace tavik {

namespace {

// Layer values 6 (r), 8 (e) and 9 (?) count as "+", 7 (outside the plot) as absent.
int Mapped(std::uint8_t v) {
    if (v == 6 || v == 8 || v == 9) return 1;
    if (v == 7) return 0;
    return v;
}

// By class: 1-5 -> 0, 10-15 -> 1, ..., 50-55 -> 5; -1 for anything else.
int ClassOf(int v) {
    if (v >= 1 && v <= 5) return 0;
    if (v >= 10 && v <= 55 && v % 10 <= 5) return v / 10;
    return -1;
}

constexpr int kMedian[6] = {1, 25, 150, 375, 625, 875};
constexpr int kRelative[6] = {1, 2, 3, 4, 5, 8};

// A tenth of v in the shortest decimal form: 0 -> "0", 3 -> "0.3", 30 -> "3", 32 -> "3.2".
std::string Tenths(int v) {
    std::string s = std::to_string(v / 10);
    if (v % 10 != 0) s += "." + std::to_string(v % 10);
    return s;
}

}  // namespace

std::string CoverNumber(int method, const LayerCovers& c) {
    int m = 0;
    int greatest = 0;
    for (int i = 0; i < kLayerCount; ++i) {
        const int v = Mapped(c[i]);
        greatest = std::max(greatest, v);
        const int k = ClassOf(v);
        switch (method) {
            case 0: m += k < 0 ? 0 : (k == 0 ? 1 : 10 * k); break;
            case 1: m += k < 0 ? 0 : kRelative[k]; break;
            case 2: m += k < 0 ? 0 : kMedian[k]; break;
            default: break;
        }
    }
    switch (method) {
        case 0: m = std::min(m, 50); return m < 10 ? Tenths(m) : std::to_string(m / 10);
        case 1: return std::to_string(std::min(m, 10));
        case 2: return std::to_string(std::min(m, 875));
        case 3: return Tenths(greatest);
        case 4: {
            const int k = ClassOf(greatest);
            return std::to_string(k < 0 ? greatest : kMedian[k]);
        }
        case 5:
            if (greatest >= 1 && greatest <= 5) return "+";
            return std::to_string(greatest);
        case 6: return greatest > 0 ? "1" : "0";
        default: return "0";
    }
}

std::string CoverNumber(int method, const Table& t, int relKey, int spKey) {
    return CoverNumber(method, t.Covers(relKey, spKey));
}

std::string RuleLine(int width, int kind) {
    if (width < 2) return {};
    const long long n = RoundHalfEven(width / 2.0);
    const char* piece = kind == 1 ? "─" : "━";
    std::string s;
    for (long long i = 0; i < n; ++i) s += piece;
    return s;
}

std::string MakeNumber2(long long v) {
    std::string s = std::to_string(v);
    if (s.size() > 2) return s.substr(0, 2);
    return std::string(2 - s.size(), ' ') + s;
}

}  // namespace tavik
