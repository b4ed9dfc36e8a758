// Cover values of one species in one relevé, layer by layer, and the texts made of them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavik {

// One cover-sociability byte per layer, in the order T1, T2, S1, S2, H1, H2, M.
inline constexpr int kLayerCount = 7;

struct LayerCovers {
    std::array<std::uint8_t, kLayerCount> v{};

    bool empty() const {
        for (auto b : v)
            if (b != 0) return false;
        return true;
    }
    std::uint8_t& operator[](int i) { return v[static_cast<std::size_t>(i)]; }
    std::uint8_t operator[](int i) const { return v[static_cast<std::size_t>(i)]; }
    friend bool operator==(const LayerCovers&, const LayerCovers&) = default;
};

inline constexpr LayerCovers EmptyLayers{};

// The four-character cell code: T1, T2, the greater of S1/S2, the greater of H1/H2/M.
std::string LayerCode(const LayerCovers& c);
// The same four characters written into `out`.
void LayerCodeInto(const LayerCovers& c, char out[4]);

// The three-character notation of one cover value; codeD 1 = class only, 2 = with sociability.
std::string CoverText(std::uint8_t value, int codeD);

// The seven layer labels of a "Kaisou" text (T1 T2 S1 S2 H1 H2 M by default), two bytes of
// width each, in order; a missing label is blank, a character that does not fit goes to the
// next label.
std::array<std::string, kLayerCount> LayerLabels(std::string_view kaisou);

// An integer right-aligned in four characters; longer numbers keep their first four digits.
std::string MakeNumber4(long long n);

// A decimal integer as fixed-width fields and number cells hold it: leading blanks, an
// optional sign, digits and nothing after. False for anything else or above 10^12.
bool ParseInteger(std::string_view s, long long& out);

// Rounds to the nearest integer, halves to the even neighbour.
long long RoundHalfEven(double x);

}  // namespace tavik
