#include "formats/cover_scales.h"

#include <cmath>
#include <cstdlib>

#include "formats/fielddata_writer.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

struct NamedScale {
    const char* name;
    CoverScale scale;
};
constexpr NamedScale kScales[] = {
    {"bb", CoverScale::BraunBlanquet},  {"bb-extended", CoverScale::BraunBlanquetExtended},
    {"percent", CoverScale::Percent},   {"londo", CoverScale::Londo},
    {"domin", CoverScale::Domin},       {"ordinal", CoverScale::Ordinal},
    {"presence", CoverScale::Presence},
};

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// Blanks and control characters around a value, as the cover writer trims them: a cover
// text is kept in three bytes, so a control character left in front would push it out.
std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 0x20) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 0x20) s.remove_suffix(1);
    return s;
}

// A number that is zero however written (0, 0.0, 0,00, -0, 0 %), without parsing it.
bool IsZero(std::string_view t) {
    bool digit = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '0') digit = true;
        else if (!(c == '.' || c == ',' || c == '%' || c == ' ' || ((c == '-' || c == '+') && i == 0))) return false;
    }
    return digit;
}

CoverConversion Cover(std::string text) { return {CoverConversion::Cover, std::move(text)}; }
CoverConversion Invalid() { return {}; }

// The class of a percentage: r below rBelow, + below 1, then 1 [1, 5), 2 [5, 25),
// 3 [25, 50), 4 [50, 75), 5 [75, 100].
std::string PercentClass(double v, double rBelow) {
    if (v < rBelow) return "r";
    if (v < 1) return "+";
    if (v < 5) return "1";
    if (v < 25) return "2";
    if (v < 50) return "3";
    if (v < 75) return "4";
    return "5";
}

// A whole number from 1 to `max` written with digits only, or 0.
int SmallInteger(std::string_view t, int max) {
    if (t.empty() || t.size() > 2) return 0;
    int v = 0;
    for (const char c : t) {
        if (c < '0' || c > '9') return 0;
        v = v * 10 + (c - '0');
    }
    return v >= 1 && v <= max ? v : 0;
}

// Londo's decimal scale: each value stands for a span of cover; the class is that of the
// span's middle (.1 → 0.5 % → +, 5 → 50 % → 4, 5- → 47.5 % → 3).
CoverConversion Londo(std::string t) {
    // r. p. a. m. (rare, few, abundant, many) qualify the values below 5 %.
    if (t.size() >= 2 && (t[0] == 'r' || t[0] == 'p' || t[0] == 'a' || t[0] == 'm') && (t[1] == '.' || t[1] == ','))
        t.erase(0, 1);
    if (!t.empty() && t[0] == '0' && t.size() > 1) t.erase(0, 1);
    if (t == ".1" || t == ",1") return Cover("+");
    if (t == ".2" || t == ",2" || t == ".4" || t == ",4") return Cover("1");
    char half = 0;
    if (!t.empty() && (t.back() == '-' || t.back() == '+')) {
        half = t.back();
        t.pop_back();
    }
    const int v = SmallInteger(t, half ? 9 : 10);
    if (!v) return Invalid();
    double low = v == 1 ? 5 : v * 10 - 5, high = v == 10 ? 100 : v * 10 + 5;
    if (half == '-') high = (low + high) / 2;
    if (half == '+') low = (low + high) / 2;
    return Cover(PercentClass((low + high) / 2, 0));
}

}  // namespace

std::optional<CoverScale> CoverScaleNamed(std::string_view name) {
    const std::string n = Lower(name);
    for (const NamedScale& s : kScales)
        if (n == s.name) return s.scale;
    return std::nullopt;
}

std::string CoverScaleName(CoverScale scale) {
    for (const NamedScale& s : kScales)
        if (s.scale == scale) return s.name;
    return {};
}

bool ParseDecimal(std::string_view text, double& value) {
    std::string_view t = Trim(text);
    if (!t.empty() && t.back() == '%') t = Trim(t.substr(0, t.size() - 1));
    std::string s;
    bool digit = false, mark = false;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (c >= '0' && c <= '9') digit = true;
        else if ((c == '.' || c == ',') && !mark) mark = true;
        else if (!((c == '-' || c == '+') && i == 0)) return false;
        s += c == ',' ? '.' : c;
    }
    if (!digit) return false;
    value = std::strtod(s.c_str(), nullptr);
    return std::isfinite(value);
}

CoverConversion ConvertCover(CoverScale scale, std::string_view value, double rBelow) {
    const std::string_view t = Trim(value);
    if (t.empty()) return {CoverConversion::Absent, {}};
    if (IsZero(t)) return {CoverConversion::Absent, {}};
    const std::string l = Lower(t);
    switch (scale) {
        case CoverScale::BraunBlanquet:
            return CoverFieldFor(std::string(t)).empty() ? Invalid() : Cover(std::string(t));
        case CoverScale::BraunBlanquetExtended:
            if (l == "2m" || l == "2a" || l == "2b") return Cover("2");
            return CoverFieldFor(std::string(t)).empty() ? Invalid() : Cover(std::string(t));
        case CoverScale::Percent: {
            // r and + as written stand for a single individual and a few.
            if (l == "r" || l == "+") return Cover(l);
            double number = 0;
            if (!ParseDecimal(t, number) || number < 0 || number > 100) return Invalid();
            return Cover(PercentClass(number, rBelow));
        }
        case CoverScale::Londo: return Londo(l);
        case CoverScale::Domin: {
            static const char* const kDomin[11] = {"r", "r", "+", "1", "2", "2", "3", "3", "4", "5", "5"};
            if (l == "+") return Cover(kDomin[0]);
            const int v = SmallInteger(l, 10);
            return v ? Cover(kDomin[v]) : Invalid();
        }
        case CoverScale::Ordinal: {
            static const char* const kOrdinal[10] = {"", "r", "+", "1", "2", "2", "2", "3", "4", "5"};
            const int v = SmallInteger(l, 9);
            return v ? Cover(kOrdinal[v]) : Invalid();
        }
        case CoverScale::Presence: return Cover("+");
    }
    return Invalid();
}

}  // namespace tavik
