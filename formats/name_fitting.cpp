#include "formats/name_fitting.h"

#include <array>
#include <vector>

#include "core/cp932_width.h"

namespace tavik {

namespace {

// The spellings of U+00C0 … U+017F, one word each, "-" for a character that is not a letter.
constexpr const char* kLatin =
    // U+00C0
    "A A A A A A AE C E E E E I I I I D N O O O O O - O U U U U Y TH ss "
    "a a a a a a ae c e e e e i i i i d n o o o o o - o u u u u y th y "
    // U+0100
    "A a A a A a C c C c C c C c D d D d E e E e E e E e E e G g G g "
    "G g G g H h H h I i I i I i I i I i IJ ij J j K k k L l L l L "
    "l L l L l N n N n N n n N n O o O o O o OE oe R r R r R r S s "
    "S s S s S s T t T t T t U u U u U u U u U u U u W w Y y Y Z z Z z Z z s";

const std::vector<std::string>& LatinTable() {
    static const std::vector<std::string> table = [] {
        std::vector<std::string> t;
        std::string_view s(kLatin);
        while (!s.empty()) {
            const std::size_t sp = s.find(' ');
            t.emplace_back(s.substr(0, sp));
            s.remove_prefix(sp == std::string_view::npos ? s.size() : sp + 1);
        }
        return t;
    }();
    return table;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

std::string TransliterateLatin(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    const auto& table = LatinTable();
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        std::size_t n = Utf8SequenceAt(utf8, i, &cp);
        if (n == 0) {  // not UTF-8: kept as it is
            out += utf8[i++];
            continue;
        }
        if (cp >= 0xC0 && cp <= 0x17F && table[cp - 0xC0] != "-") out += table[cp - 0xC0];
        else if (cp >= 0x218 && cp <= 0x21B) out += "SsTt"[cp - 0x218];  // Ș ș Ț ț
        else if (cp == 0x1E9E) out += "SS";
        else if (cp >= 0x300 && cp <= 0x36F) {
        }  // a combining mark
        else
            AppendUtf8(out, cp);
        i += n;
    }
    return out;
}

std::string ShortenName(std::string_view utf8, int maxBytes) {
    if (Cp932Width(utf8) <= maxBytes) return std::string(utf8);
    std::vector<std::string> words;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t sp = utf8.find(' ', i);
        const std::size_t end = sp == std::string_view::npos ? utf8.size() : sp;
        if (end > i) words.emplace_back(utf8.substr(i, end - i));
        i = end + 1;
    }
    std::string out;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::string l = Lower(words[w]);
        const std::string next = w + 1 < words.size() ? Lower(words[w + 1]) : "";
        std::string word = words[w];
        if (l == "subsp." || l == "subsp" || l == "subspecies") word = "ssp.";
        else if (l == "variety" || l == "varietas") word = "var.";
        else if (l == "forma") word = "f.";
        else if (l == "cultivar") word = "cv.";
        else if (l == "aggregate") word = "agg.";
        else if (l == "sensu" && (next == "lato" || next == "stricto")) {
            word = next == "lato" ? "s.l." : "s.str.";
            ++w;
        }
        if (!out.empty()) out += ' ';
        out += word;
    }
    std::string cut(Cp932Cut(out, maxBytes));
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return cut;
}

std::string RoundNumberToWidth(std::string_view text, std::size_t width) {
    // sign, whole digits, decimal digits
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    std::string whole, frac;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') whole += text[i++];
    if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') frac += text[i++];
    }
    if (i != text.size() || (whole.empty() && frac.empty())) return {};
    while (whole.size() > 1 && whole[0] == '0') whole.erase(0, 1);
    if (whole.empty()) whole = "0";
    for (std::size_t keep = frac.size() + 1; keep-- > 0;) {
        // Round to `keep` decimals, half away from zero, on the digits themselves.
        std::string digits = whole + frac.substr(0, keep);
        if (keep < frac.size() && frac[keep] >= '5') {
            std::size_t k = digits.size();
            while (k > 0 && digits[k - 1] == '9') digits[--k] = '0';
            if (k == 0) digits.insert(digits.begin(), '1');
            else ++digits[k - 1];
        }
        std::string w = digits.substr(0, digits.size() - keep), f = digits.substr(digits.size() - keep);
        const bool zero =
            w.find_first_not_of('0') == std::string::npos && f.find_first_not_of('0') == std::string::npos;
        std::string s = (negative && !zero ? "-" : "") + w + (keep ? "." + f : "");
        if (s.size() <= width) return s;
    }
    return {};
}

}  // namespace tavik
