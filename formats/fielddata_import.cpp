#include "formats/fielddata_import.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "core/cp932_width.h"
#include "core/messages.h"
#include "formats/codec.h"
#include "formats/csv_reader.h"
#include "formats/fielddata.h"
#include "formats/name_fitting.h"
#include "formats/text_lines.h"

namespace tavik {

const char* const kCoverClassLabels[8] = {"r", "+", "1", "2", "3", "4", "5", "( * e ?"};

namespace {

std::string Trimmed(std::string_view s) { return std::string(TrimBlanks(s)); }

std::string Upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string ItemHeading(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "i%02d", n);
    return b;
}

int ItemColumn(std::string_view heading) {
    const std::string h = Upper(TrimBlanks(heading));
    if (h.size() == 3 && h[0] == 'I' && h[1] >= '0' && h[1] <= '9' && h[2] >= '0' && h[2] <= '9') {
        const int n = (h[1] - '0') * 10 + (h[2] - '0');
        if (n >= 1 && n <= kItemCount) return n;
    }
    return 0;
}

struct Columns {
    int releve = -1, taxon = -1, layer = -1, cover = -1, k = -1, d = -1;
    std::array<int, kItemCount + 1> items{};
};

Columns ReadHeading(const std::vector<std::string_view>& cells) {
    Columns c;
    c.items.fill(-1);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string h = Upper(TrimBlanks(cells[i]));
        const int col = static_cast<int>(i);
        if (h == "RELEVE") c.releve = col;
        else if (h == "TAXON") c.taxon = col;
        else if (h == "LAYER") c.layer = col;
        else if (h == "COVER") c.cover = col;
        else if (h == "K") c.k = col;
        else if (h == "D") c.d = col;
        else if (int n = ItemColumn(h); n >= 2 && n <= 29) c.items[static_cast<std::size_t>(n)] = col;
    }
    return c;
}

std::string_view CellAt(const std::vector<std::string_view>& cells, int col) {
    return col >= 0 && static_cast<std::size_t>(col) < cells.size() ? TrimBlanks(cells[static_cast<std::size_t>(col)])
                                                                    : std::string_view();
}

// The class index of FieldImportReport::classes for a cover text the writer takes.
int ClassIndex(const std::string& cover) {
    // The class is the first character ("32", "+.2", "R").
    const char c = cover.empty() ? '?' : cover[0];
    if (c == 'r' || c == 'R') return 0;
    if (c == '+') return 1;
    if (c >= '1' && c <= '5') return c - '1' + 2;
    return 7;
}

const char* kTransliterateHint =
    TrNoop("--transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）");

const char* const kLayerLabels[kLayerCount] = {"T1", "T2", "S1", "S2", "H1", "H2", "M"};

const char* kScaleHint =
    TrNoop("被度の尺度は --scale で選べます: bb（既定）, bb-extended, percent, londo, domin, ordinal, presence");

}  // namespace

FieldImportError::FieldImportError(std::vector<std::string> lines)
    : std::runtime_error([&] {
          std::string m;
          for (const std::string& l : lines) m += (m.empty() ? "" : "\n") + l;
          return m;
      }()),
      lines_(std::move(lines)) {}

// The place of a problem, put into words only when there is one: the record the reader
// last returned, and what within it.
class Place {
public:
    explicit Place(const CsvReader& csv, std::string within = {}) : csv_(&csv), within_(std::move(within)) {}
    std::string operator()() const { return csv_->Where() + within_; }

private:
    const CsvReader* csv_;
    std::string within_;
};

struct FieldImporter::State {
    FieldImportOptions o;
    FieldImportReport report;
    std::vector<std::string> problems;
    std::size_t problemCount = 0;
    std::vector<std::string> hints;
    std::string sitesPath;
    bool sitesGiven = false;

    // The relevés with their site values (their `entries` stay empty) and, beside them, their
    // species entries in a compact form: a name number and the cover text of each layer.
    struct Entry {
        std::uint32_t name;
        std::array<std::array<char, 4>, kLayerCount> covers{};
    };
    std::vector<FieldReleve> releves;
    std::vector<std::vector<Entry>> entries;
    std::unordered_map<std::string, std::size_t> byKey;
    // For relevés of many entries: name -> entry, grown as entries are added (smaller
    // relevés are searched through, which is faster than any index).
    std::unordered_map<std::size_t, std::unordered_map<std::uint32_t, std::uint32_t>> bigIndex;
    static constexpr std::size_t kSearchedThrough = 64;

    // Species names: each distinct name is fitted once; a name that cannot be written keeps
    // its number (so that its layers still meet) and is not `ok`.
    struct Name {
        std::string fitted;
        bool ok = false;
    };
    std::vector<Name> nameList;
    std::unordered_map<std::string, std::uint32_t> nameIds;
    std::unordered_map<std::string, std::string> ownerOf;  // written name -> input name

    void Problem(std::string m) {
        ++problemCount;
        if (problems.size() < kMaxListedProblems) problems.push_back(std::move(m));
    }
    void Hint(const std::string& h) {
        if (std::find(hints.begin(), hints.end(), h) == hints.end()) hints.push_back(h);
    }

    // The number of a name; its problems are reported at its first use.
    std::uint32_t FitName(std::string_view rawView, const Place& where) {
        auto [it, added] = nameIds.try_emplace(std::string(rawView), static_cast<std::uint32_t>(nameList.size()));
        if (!added) return it->second;
        const std::string& raw = it->first;
        Name& n = nameList.emplace_back();
        n.fitted = raw;
        std::string fitted = o.transliterate ? TransliterateLatin(raw) : raw;
        std::string bytes;
        if (!Utf8ToCp932(fitted, bytes)) {
            Problem(Arg(Tr("%1: 種名「%2」に CP932 で書けない文字があります"), {where(), raw}));
            if (!o.transliterate) Hint(Tr(kTransliterateHint));
            return it->second;
        }
        if (bytes.size() > static_cast<std::size_t>(kNameSize)) {
            if (o.shorten) {
                fitted = ShortenName(fitted, kNameSize);
            } else {
                Problem(Arg(Tr("%1: 種名「%2」は %3 バイトで、%4 バイトに収まりません"),
                            {where(), raw, std::to_string(bytes.size()), std::to_string(kNameSize)}));
                Hint(
                    Tr("--shorten で、28 バイトを超える種名を略記（subsp. → ssp., var., f.）と切り詰めで縮められます"));
                return it->second;
            }
        }
        auto [owner, fresh] = ownerOf.try_emplace(fitted, raw);
        if (!fresh) {
            Problem(Arg(Tr("%1: 種名「%2」と「%3」がどちらも「%4」になります"), {where(), owner->second, raw, fitted}));
            return it->second;
        }
        if (fitted != raw) report.names.push_back({raw, fitted});
        n.fitted = std::move(fitted);
        n.ok = true;
        return it->second;
    }

    // A site value as it will be written; problems are reported here.
    // `quiet` for a value that a relevé already holds from an earlier line: the same value,
    // fitted again, is neither reported nor listed twice.
    std::string FitSite(const FieldReleve& r, int item, const std::string& value, const Place& where,
                        bool quiet = false) {
        std::string v = o.transliterate ? TransliterateLatin(value) : value;
        std::string bytes;
        if (!Utf8ToCp932(v, bytes)) {
            if (quiet) return value;
            Problem(Arg(Tr("%1: 測定 %2 の %3「%4」に CP932 で書けない文字があります"),
                        {where(), r.key, ItemHeading(item), value}));
            if (!o.transliterate) Hint(Tr(kTransliterateHint));
            return value;
        }
        const std::size_t width = item <= 7 ? 8 : 4;
        if (bytes.size() > width) {
            const std::string rounded = item >= 8 ? RoundNumberToWidth(v, width) : std::string();
            if (o.roundSites && !rounded.empty()) {
                v = rounded;
            } else if (quiet) {
                return value;
            } else {
                Problem(Arg(Tr("%1: 測定 %2 の %3「%4」が %5 バイトに収まりません"),
                            {where(), r.key, ItemHeading(item), value, std::to_string(width)}));
                if (!o.roundSites && !rounded.empty())
                    Hint(Tr(
                        "--round-sites で、4 バイトの項目（i08 … i29）の数値を収まる桁に丸められます（139.9 → 140）"));
                return value;
            }
        }
        if (v != value && !quiet) report.sites.push_back({r.key, item, value, v});
        return v;
    }

    // The site values of one line go to its relevé; a different non-empty value is a problem.
    void TakeSites(FieldReleve& r, const std::vector<std::string_view>& cells, const Columns& c, const Place& where) {
        for (int n = 2; n <= 29; ++n) {
            const std::string_view t = CellAt(cells, c.items[static_cast<std::size_t>(n)]);
            if (t.empty()) continue;
            std::string& slot = r.items[static_cast<std::size_t>(n)];
            const std::string v = FitSite(r, n, std::string(t), where, !slot.empty());
            if (slot.empty()) slot = v;
            else if (slot != v)
                Problem(Arg(Tr("%1: 測定 %2 の %3 が前の行と違います"), {where(), r.key, ItemHeading(n)}));
        }
        auto code = [&](int col, int& slot, const char* name) {
            const std::string_view t = CellAt(cells, col);
            if (t.empty()) return;
            if (t.size() != 1 || t[0] < '0' || t[0] > '9') {
                Problem(Arg(Tr("%1: %2 が 1 桁の数字ではありません: %3"), {where(), name, t}));
                return;
            }
            if (slot >= 0 && slot != t[0] - '0')
                Problem(Arg(Tr("%1: 測定 %2 の %3 が前の行と違います"), {where(), r.key, name}));
            slot = t[0] - '0';
        };
        code(c.k, r.codeK, "K");
        code(c.d, r.codeD, "D");
    }

    // The number of the relevé of a key, made when new (unless the site file fixed the
    // relevés); SIZE_MAX when there is none.
    std::size_t ReleveOf(std::string_view key, const Place& where, bool keyIsItem2) {
        if (key.empty()) {
            Problem(Arg(Tr("%1: releve が空です"), {where()}));
            return SIZE_MAX;
        }
        auto [it, added] = byKey.try_emplace(std::string(key), releves.size());
        if (added) {
            if (sitesGiven) {
                Problem(Arg(Tr("%1: 測定 %2 は %3 にありません"), {where(), key, sitesPath}));
                byKey.erase(it);
                return SIZE_MAX;
            }
            FieldReleve& r = releves.emplace_back();
            r.key = key;
            if (keyIsItem2) r.items[2] = FitSite(r, 2, r.key, where);
            entries.resize(releves.size());
        }
        return it->second;
    }

    // A cover of a species in a relevé; `layer` -1 for a species without cover.
    void AddCover(std::size_t releve, std::uint32_t name, int layer, const std::string& cover, const Place& where) {
        auto& list = entries[releve];
        std::size_t at = SIZE_MAX;
        if (list.size() <= kSearchedThrough) {
            for (std::size_t k = list.size(); k-- > 0;)
                if (list[k].name == name) {
                    at = k;
                    break;
                }
        } else {
            auto& index = bigIndex[releve];
            for (std::size_t k = index.size(); k < list.size(); ++k)
                index.emplace(list[k].name, static_cast<std::uint32_t>(k));
            if (auto f = index.find(name); f != index.end()) at = f->second;
        }
        if (at == SIZE_MAX) {
            at = list.size();
            list.push_back(Entry{name, {}});
        }
        if (layer < 0) return;
        std::array<char, 4>& slot = list[at].covers[static_cast<std::size_t>(layer)];
        if (slot[0]) {
            Problem(Arg(Tr("%1: %2 の %3 が二度あります"), {where(), RawName(name), kLayerLabels[layer]}));
            return;
        }
        PutCover(slot, cover);
    }

    // Appends a cover of a species that cannot be in the relevé yet (a matrix cell).
    void AppendCover(std::size_t releve, std::uint32_t name, int layer, const std::string& cover) {
        Entry& e = entries[releve].emplace_back(Entry{name, {}});
        PutCover(e.covers[static_cast<std::size_t>(layer)], cover);
    }

    void PutCover(std::array<char, 4>& slot, const std::string& cover) {
        // Every cover text the writer takes has at most three characters ("3.2").
        cover.copy(slot.data(), std::min<std::size_t>(cover.size(), 3));
        ++report.classes[static_cast<std::size_t>(ClassIndex(cover))];
    }

    std::string RawName(std::uint32_t name) const {
        for (const auto& [raw, id] : nameIds)
            if (id == name) return raw;
        return {};
    }

    void BadCover(const std::string& where, std::string_view value) {
        Problem(Arg(Tr("%1: 「%2」は被度（尺度 %3）ではありません"), {where, value, CoverScaleName(o.scale)}));
        Hint(Tr(kScaleHint));
    }
};

FieldImporter::FieldImporter(FieldImportOptions options) : s_(std::make_unique<State>()) { s_->o = options; }
FieldImporter::~FieldImporter() = default;

const FieldImportReport& FieldImporter::Report() const { return s_->report; }

void FieldImporter::CheckHeader(const FieldHeaderDescription& header) {
    for (std::string& p : HeaderRecordProblems(header)) s_->Problem(std::move(p));
}

void FieldImporter::ReadSites(const std::string& path) {
    State& s = *s_;
    CsvReader csv(path);
    std::vector<std::string_view> cells;
    if (!csv.Next(cells)) throw std::runtime_error(Arg(Tr("%1: 見出し行がありません"), {path}));
    const Columns c = ReadHeading(cells);
    if (c.releve < 0)
        throw std::runtime_error(
            Arg(Tr("%1: releve 列がありません（区切りは%2と読みました）"), {path, csv.DelimiterName()}));
    const Place where(csv);
    while (csv.Next(cells)) {
        const std::string key(CellAt(cells, c.releve));
        if (key.empty()) {
            s.Problem(Arg(Tr("%1: releve が空です"), {where()}));
            continue;
        }
        if (s.byKey.count(key)) {
            s.Problem(Arg(Tr("%1: 測定 %2 が二度あります"), {where(), key}));
            continue;
        }
        s.byKey[key] = s.releves.size();
        s.releves.emplace_back().key = key;
        s.TakeSites(s.releves.back(), cells, c, where);
    }
    s.entries.resize(s.releves.size());
    s.sitesGiven = true;
    s.sitesPath = path;
}

void FieldImporter::ReadLong(const std::string& path) {
    State& s = *s_;
    CsvReader csv(path);
    std::vector<std::string_view> cells;
    if (!csv.Next(cells)) throw std::runtime_error(Arg(Tr("%1: 見出し行がありません"), {path}));
    const Columns c = ReadHeading(cells);
    if (c.releve < 0 || c.taxon < 0 || c.layer < 0 || c.cover < 0) {
        const std::string count = std::to_string(cells.size());
        if (cells.size() > 4)
            throw std::runtime_error(
                Arg(Tr("%1: 見出し行に releve, taxon, layer, cover の列が要ります（区切りは%2と読み"
                       "ました。見出し行は %3 列です）。種 × 測定の表なら --matrix を指定してください"),
                    {path, csv.DelimiterName(), count}));
        throw std::runtime_error(Arg(Tr("%1: 見出し行に releve, taxon, layer, cover の列が要ります（区切りは%2と読み"
                                        "ました。見出し行は %3 列です）"),
                                     {path, csv.DelimiterName(), count}));
    }
    const bool keyIsItem2 = c.items[2] < 0;
    const bool presence = s.o.scale == CoverScale::Presence;
    const Place where(csv);
    while (csv.Next(cells)) {
        const std::size_t ri = s.ReleveOf(CellAt(cells, c.releve), where, keyIsItem2);
        if (ri == SIZE_MAX) continue;
        s.TakeSites(s.releves[ri], cells, c, where);
        const std::string_view taxon = CellAt(cells, c.taxon), layer = CellAt(cells, c.layer),
                               cover = CellAt(cells, c.cover);
        if (taxon.empty()) {
            if (!layer.empty() || !cover.empty()) s.Problem(Arg(Tr("%1: taxon が空です"), {where()}));
            continue;  // a line of site values only
        }
        const std::uint32_t name = s.FitName(taxon, where);
        int l = -1;
        std::string text;
        if (!layer.empty() || !cover.empty()) {
            l = LayerIndex(std::string(layer));
            if (l < 0) {
                s.Problem(Arg(Tr("%1: 「%2」は階層 T1 T2 S1 S2 H1 H2 M のどれでもありません"), {where(), layer}));
                continue;
            }
            CoverConversion cc = presence && cover.empty() ? CoverConversion{CoverConversion::Cover, "+"}
                                                           : ConvertCover(s.o.scale, cover, s.o.rBelow);
            if (cc.kind == CoverConversion::Invalid || (cc.kind == CoverConversion::Absent && cover.empty())) {
                s.BadCover(where(), cover);
                continue;
            }
            if (cc.kind == CoverConversion::Absent) {
                ++s.report.absences;
                continue;
            }
            text = std::move(cc.text);
        }
        // A name that cannot be written still meets its other layers, so that a layer given
        // twice is found too; nothing is written while a problem remains.
        s.AddCover(ri, name, l, text, where);
    }
}

void FieldImporter::ReadMatrix(const std::string& path) {
    State& s = *s_;
    CsvReader csv(path);
    std::vector<std::string_view> cells;
    if (!csv.Next(cells)) throw std::runtime_error(Arg(Tr("%1: 見出し行がありません"), {path}));
    const std::size_t columns = cells.size();
    if (columns < 2)
        throw std::runtime_error(
            Arg(Tr("%1: 見出し行が 1 列だけです（区切りは%2と読みました）"), {path, csv.DelimiterName()}));
    const Place where(csv);
    const bool transpose = s.o.transpose;
    const int layer = s.o.layer;
    // The heading: species (or, transposed, relevés) from the second cell on.
    std::vector<std::string> heads(columns);
    std::vector<std::uint32_t> nameOf(columns, UINT32_MAX);  // species columns
    std::vector<std::size_t> releveOf(columns, SIZE_MAX);    // relevé columns
    std::vector<bool> repeated(columns, false);              // reported with the heading
    {
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t i = 1; i < columns; ++i) {
            heads[i] = Trimmed(cells[i]);
            if (heads[i].empty()) continue;
            if (auto [it, fresh] = seen.try_emplace(heads[i], i); !fresh) {
                s.Problem(Arg(Tr("%1: 「%2」が %3 列目と %4 列目にあります"),
                              {where(), heads[i], std::to_string(it->second + 1), std::to_string(i + 1)}));
                repeated[i] = true;
                continue;
            }
            if (transpose) releveOf[i] = s.ReleveOf(heads[i], where, true);
            else nameOf[i] = s.FitName(heads[i], where);
        }
    }
    std::unordered_map<std::string, std::size_t> rowsSeen;
    while (csv.Next(cells)) {
        const std::string_view first = TrimBlanks(cells[0]);
        if (auto [it, fresh] = rowsSeen.try_emplace(std::string(first), csv.Line()); !fresh && !first.empty()) {
            s.Problem(Arg(Tr("%1: 「%2」が %3 行目にもあります"), {where(), first, std::to_string(it->second)}));
            continue;
        }
        if (cells.size() > columns)
            s.Problem(Arg(Tr("%1: 見出し行の %2 列より多い %3 列があります"),
                          {where(), std::to_string(columns), std::to_string(cells.size())}));
        // Per row: the relevé (or, transposed, the species).
        std::size_t rowReleve = SIZE_MAX;
        std::uint32_t rowName = UINT32_MAX;
        if (transpose) {
            if (first.empty()) s.Problem(Arg(Tr("%1: 種名が空です"), {where()}));
            else rowName = s.FitName(first, where);
        } else {
            rowReleve = s.ReleveOf(first, where, true);
        }
        const std::size_t n = std::min(cells.size(), columns);
        for (std::size_t i = 1; i < n; ++i) {
            if (cells[i].empty() || cells[i] == "0") continue;  // the usual absences, at once
            const std::string_view v = TrimBlanks(cells[i]);
            if (v.empty() || v == "0" || repeated[i]) continue;
            const CoverConversion cc = ConvertCover(s.o.scale, v, s.o.rBelow);
            if (cc.kind == CoverConversion::Absent) continue;
            if (heads[i].empty()) {
                s.Problem(Arg(Tr("%1: 見出しのない %2 列目に値「%3」があります"), {where(), std::to_string(i + 1), v}));
                continue;
            }
            if (cc.kind == CoverConversion::Invalid) {
                s.BadCover(Arg(Tr("%1 %2 列目（%3）"), {where(), std::to_string(i + 1), heads[i]}), v);
                continue;
            }
            const std::size_t ri = transpose ? releveOf[i] : rowReleve;
            const std::uint32_t name = transpose ? rowName : nameOf[i];
            if (ri == SIZE_MAX || name == UINT32_MAX) continue;  // reported with its heading or row
            s.AppendCover(ri, name, layer, cc.text);
        }
    }
}

void FieldImporter::Check() const {
    const State& s = *s_;
    if (!s.problemCount) return;
    std::vector<std::string> lines = s.problems;
    if (s.problemCount > lines.size())
        lines.push_back(Arg(Tr("ほか %1 件の問題があります"), {std::to_string(s.problemCount - lines.size())}));
    lines.insert(lines.begin(),
                 Arg(Tr("%1 件の問題があるため、何も書いていません:"), {std::to_string(s.problemCount)}));
    for (const std::string& h : s.hints) lines.push_back(h);
    throw FieldImportError(std::move(lines));
}

std::size_t FieldImporter::ReleveCount() const { return s_->releves.size(); }

void FieldImporter::ReleveAt(std::size_t i, FieldReleve& out) const {
    const State& s = *s_;
    const FieldReleve& r = s.releves[i];
    out.key = r.key;
    out.items = r.items;
    out.codeK = r.codeK;
    out.codeD = r.codeD;
    const auto& list = s.entries[i];
    out.entries.resize(list.size());
    for (std::size_t k = 0; k < list.size(); ++k) {
        FieldEntry& e = out.entries[k];
        e.name = s.nameList[list[k].name].fitted;
        for (std::size_t l = 0; l < kLayerCount; ++l) {
            const auto& c = list[k].covers[l];
            e.covers[l].assign(c.data(), c[0] ? (c[1] ? (c[2] ? 3 : 2) : 1) : 0);
        }
    }
}

std::vector<FieldReleve> FieldImporter::Finish() {
    Check();
    std::vector<FieldReleve> out(ReleveCount());
    for (std::size_t i = 0; i < out.size(); ++i) ReleveAt(i, out[i]);
    return out;
}

std::string NameMapPathFor(const FieldPairPaths& pair) {
    const std::size_t slash = pair.data.find_last_of('/');
    const std::size_t dot = pair.data.rfind('.');
    const std::string stem =
        dot == std::string::npos || (slash != std::string::npos && dot < slash) ? pair.data : pair.data.substr(0, dot);
    return stem + "_names.csv";
}

namespace {
std::string CsvQuoted(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string q = "\"";
    for (const char c : s) q += c == '"' ? std::string("\"\"") : std::string(1, c);
    return q + "\"";
}
}  // namespace

std::string NameMapCsv(const std::vector<NameChange>& changes) {
    std::string out = "input,written\r\n";
    for (const NameChange& c : changes) out += CsvQuoted(c.from) + "," + CsvQuoted(c.to) + "\r\n";
    return out;
}

// The long CSV with the bb scale, as before the scales came.
std::vector<FieldReleve> ReadLongCsv(const std::string& path, const std::string& sitesPath) {
    FieldImporter importer;
    if (!sitesPath.empty()) importer.ReadSites(sitesPath);
    importer.ReadLong(path);
    return importer.Finish();
}

}  // namespace tavik
