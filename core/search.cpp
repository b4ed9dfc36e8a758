#include "core/search.h"

namespace tavik {

namespace {
// Removes blanks (characters of code 1..32) at both ends.
std::string_view Trimmed(std::string_view s) {
    auto blank = [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 1 && u <= 32;
    };
    std::size_t b = 0, e = s.size();
    while (b < e && blank(s[b])) ++b;
    while (e > b && blank(s[e - 1])) --e;
    return s.substr(b, e - b);
}
}  // namespace

std::vector<CellPos> SearchTable(const Table& t, std::string_view text, bool exact, bool* more) {
    std::vector<CellPos> hits;
    if (more) *more = false;
    // A match past the last mark only tells that there are more.
    const auto full = [&] {
        if (static_cast<int>(hits.size()) < kMaxSearchHits) return false;
        if (more) *more = true;
        return true;
    };
    const std::string q(Trimmed(text));
    if (q.empty()) return hits;
    // Texts are UTF-8, so a byte match never starts inside a character.
    auto matches = [&](const std::string& cell) {
        if (cell.empty()) return false;
        const std::string_view v = Trimmed(cell);
        return exact ? v == q : v.find(q) != std::string::npos;
    };
    const int fn = t.FNRow();
    for (int p = 1; p <= t.SpeciesCount(); ++p) {
        if (!matches(t.SpeciesName(t.SpeciesKeyAt(p)))) continue;
        if (full()) return hits;
        hits.push_back({2, fn + p});
    }
    for (int q2 = 1; q2 <= t.MaxReleve(); ++q2) {
        const int key = t.ReleveKeyAt(q2);
        for (int row = 2; row <= fn - 1; ++row) {
            if (!matches(t.HeaderText(key, row))) continue;
            if (full()) return hits;
            hits.push_back({q2 + 3, row});
        }
    }
    return hits;
}

}  // namespace tavik
