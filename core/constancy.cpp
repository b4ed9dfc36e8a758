#include "core/constancy.h"

#include <algorithm>
#include <string_view>

#include "core/headings.h"
#include "core/messages.h"

namespace tavik {

namespace {

const char* const kClassNumerals[11] = {"", "Ⅰ", "Ⅱ", "Ⅲ", "Ⅳ", "Ⅴ", "Ⅵ", "Ⅶ", "Ⅷ", "Ⅸ", "Ⅹ"};
// data, not interface
const char* const kCountNumerals[11] = {"", "１", "２", "３", "４", "５", "６", "７", "８", "９", "10"};

// Reads one UTF-8 character from s at i (advancing i); a stray byte stands for itself.
char32_t NextChar(std::string_view s, std::size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    char32_t c = extra == 3 ? (b & 0x07u) : extra == 2 ? (b & 0x0Fu) : extra == 1 ? (b & 0x1Fu) : b;
    while (extra-- > 0 && i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0u) == 0x80u)
        c = (c << 6) | (static_cast<unsigned char>(s[i++]) & 0x3Fu);
    return c;
}

std::string Utf8(char32_t c) {
    std::string s;
    if (c < 0x80) s += static_cast<char>(c);
    else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}

// The order of the cell code: r < + < 0 < 1 ... 5 < e; any other character after these,
// by its code. 0 means "nothing seen".
constexpr int kOtherRanks = 16;
int RankOf(char32_t c) {
    switch (c) {
        case U'r': return 1;
        case U'+': return 2;
        case U'e': return 9;
        default: break;
    }
    if (c >= U'0' && c <= U'5') return 3 + static_cast<int>(c - U'0');
    return kOtherRanks + static_cast<int>(c);
}

std::string RankText(int rank) {
    switch (rank) {
        case 1: return "r";
        case 2: return "+";
        case 9: return "e";
        default: break;
    }
    if (rank >= 3 && rank <= 8) return std::string(1, static_cast<char>('0' + rank - 3));
    return Utf8(static_cast<char32_t>(rank - kOtherRanks));
}

// The low and high rank of the first four characters of a cell; blanks and control
// characters take no part.
void AddRanks(std::string_view text, int& low, int& high) {
    std::size_t i = 0;
    for (int k = 0; k < 4 && i < text.size(); ++k) {
        const char32_t c = NextChar(text, i);
        if (c <= U' ') continue;
        const int r = RankOf(c);
        if (low == 0 || r < low) low = r;
        if (r > high) high = r;
    }
}

std::string RangeText(int low, int high) {
    if (low == 0) return {};
    std::string s = RankText(low);
    if (low < high) s += "-" + RankText(high);
    return s;
}

}  // namespace

void CoverRange::Add(const std::string& cellText) { AddRanks(cellText, low_, high_); }
std::string CoverRange::Text() const { return RangeText(low_, high_); }

ConstancyCounts CountConstancyGroups(const Table& t) {
    ConstancyCounts c;
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        if (t.RelNumSp()[static_cast<std::size_t>(q)] > 0) ++c.releves;
        else ++c.groups;
    }
    return c;
}

std::vector<ReleveGroup> ConstancyGroups(const Table& t) {
    std::vector<ReleveGroup> groups;
    int first = 1;
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        if (t.RelNumSp()[static_cast<std::size_t>(q)] != 0) continue;
        groups.push_back({first, q - 1, q - first});
        first = q + 1;
    }
    groups.push_back({first, t.ReleveCount(), t.ReleveCount() - first + 1});
    return groups;
}

std::string MeanSpeciesText(long long sum, int size) {
    const long long m = RoundHalfEven(10.0 * static_cast<double>(sum) / size);
    std::string s = std::to_string(m / 10);
    if (m % 10 != 0) s += "." + std::to_string(m % 10);
    return s;
}

std::string ConstancyCellText(ConstancyKind kind, int n, int size, const std::string& range) {
    const int k = static_cast<int>((10LL * n + size - 1) / size);  // ceil(10 n / size), 1..10
    std::string s;
    switch (kind) {
        case ConstancyKind::ClassesFiveWithCover:
        case ConstancyKind::ClassesFive:
            s = size >= 5 ? kClassNumerals[(k + 1) / 2] : kCountNumerals[std::min(n, 10)];
            break;
        case ConstancyKind::ClassesTenWithCover:
        case ConstancyKind::ClassesTen: s = size >= 10 ? kClassNumerals[k] : kCountNumerals[std::min(n, 10)]; break;
        case ConstancyKind::Counts: return std::to_string(n);
    }
    if ((kind == ConstancyKind::ClassesFiveWithCover || kind == ConstancyKind::ClassesTenWithCover) && !range.empty())
        s += " " + range;
    return s;
}

FreqTable MakeConstancyTable(const Table& t, const ConstancyOptions& options, Progress* progress) {
    const int S = t.SpeciesCount();
    if (S == 0 || t.ReleveCount() == 0)
        throw ConstancyRefused(Tr("種または測定がない表では常在度表を作成できません。"));
    const std::vector<ReleveGroup> groups = ConstancyGroups(t);
    const int G = static_cast<int>(groups.size());
    if (G > kMaxConstancyGroups)
        throw ConstancyRefused(Arg(Tr("区分が %1 あります。常在度表は %2 区分（区切りの空白列 29 本）までです。"
                                      "空白列を減らしてください。"),
                                   {std::to_string(G), std::to_string(kMaxConstancyGroups)}));
    if (progress) progress->Show(Tr("　常在度表を作成中　"), "");

    const int pt = t.FontSize;
    const bool withCover =
        options.kind == ConstancyKind::ClassesFiveWithCover || options.kind == ConstancyKind::ClassesTenWithCover;
    FreqTable g;
    g.caption = options.title;
    g.Resize(G + 1, S + 3);
    g.Clear();
    g.fixedRows = 3;
    g.fixedCols = 1;
    g.defaultColWidth = static_cast<int>(RoundHalfEven(withCover ? pt * 5.0 : pt * 2.5));
    g.defaultRowHeight = FreqRowHeight(pt);
    g.colWidths = {20 * pt};
    g.SetText(0, 0, HeadingText(Heading::VegetationUnit));
    g.SetText(0, 1, HeadingText(Heading::ReleveCount));
    g.SetText(0, 2, HeadingText(Heading::MeanSpeciesCount));

    // Occurrences and cover ranks per species and group, gathered from the cells that are
    // there (a relevé holds tens of species out of thousands).
    const std::size_t cells = static_cast<std::size_t>(S + 1) * static_cast<std::size_t>(G);
    std::vector<int> count(cells, 0), low(cells, 0), high(cells, 0);
    for (int gi = 0; gi < G; ++gi) {
        const ReleveGroup& gr = groups[static_cast<std::size_t>(gi)];
        g.SetText(gi + 1, 0, std::string(1, static_cast<char>(64 + gi + 1)));
        g.SetText(gi + 1, 1, std::to_string(gr.size));
        long long sum = 0;
        for (int q = gr.first; q <= gr.last; ++q) {
            sum += t.RelNumSp()[static_cast<std::size_t>(q)];
            const int key = t.ReleveKeyAt(q);
            for (const Cell& c : t.CellsOf(key)) {
                if (c.len == 0) continue;
                const int p = t.SpeciesPosOf(c.species);
                if (p < 1 || p > S) continue;
                const std::size_t at =
                    static_cast<std::size_t>(p) * static_cast<std::size_t>(G) + static_cast<std::size_t>(gi);
                ++count[at];
                if (c.len == kLongText) AddRanks(t.CellTextOf(key, c), low[at], high[at]);
                else AddRanks(std::string_view(c.text, c.len), low[at], high[at]);
            }
        }
        if (gr.size > 0) g.SetText(gi + 1, 2, MeanSpeciesText(sum, gr.size));
    }
    const std::string absent = options.blankAbsent ? std::string() : std::string("・");  // data, not interface
    for (int p = 1; p <= S; ++p) {
        g.SetText(0, p + 2, t.SpeciesName(t.SpeciesKeyAt(p)));
        for (int gi = 0; gi < G; ++gi) {
            const std::size_t at =
                static_cast<std::size_t>(p) * static_cast<std::size_t>(G) + static_cast<std::size_t>(gi);
            const int n = count[at];
            g.SetText(gi + 1, p + 2,
                      n == 0 ? absent
                             : ConstancyCellText(options.kind, n, groups[static_cast<std::size_t>(gi)].size,
                                                 RangeText(low[at], high[at])));
        }
    }
    return g;
}

}  // namespace tavik
