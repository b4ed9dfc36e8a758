// Cover scales in which field data arrive, and their conversion into the program's cover
// classes (r, +, 1 … 5). The boundaries are those of the manual's table "被度階級への換算".
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tavik {

enum class CoverScale {
    BraunBlanquet,          // bb: the program's own notation, sociability included
    BraunBlanquetExtended,  // bb-extended: also 2m, 2a, 2b
    Percent,                // percent: 0–100
    Londo,                  // londo: the decimal scale .1, .2, .4, 1 … 10
    Domin,                  // domin: +, 1 … 10
    Ordinal,                // ordinal: van der Maarel's 1 … 9
    Presence,               // presence: every record is +
};

// The scale of a name given on the command line (bb, bb-extended, percent, londo, domin,
// ordinal, presence), or nothing.
std::optional<CoverScale> CoverScaleNamed(std::string_view name);
std::string CoverScaleName(CoverScale scale);

// The lowest percentage that is not r: values below it become r (the default 0.1 %).
inline constexpr double kDefaultRBelow = 0.1;

struct CoverConversion {
    enum Kind { Cover, Absent, Invalid } kind = Invalid;
    std::string text;  // for Cover: the cover text as the writer takes it ("r", "+", "3", "32")
};

// One value in `scale`. A value of zero (in any spelling: 0, 0.0, 0,0, 0 %) is an absence in
// every scale; so is an empty value. Letters are taken in either case.
CoverConversion ConvertCover(CoverScale scale, std::string_view value, double rBelow = kDefaultRBelow);

// A number as spreadsheets write it: optional sign, digits with "." or "," as the decimal
// mark, optionally followed by "%". False for anything else.
bool ParseDecimal(std::string_view text, double& value);

}  // namespace tavik
