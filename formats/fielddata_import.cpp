#include "formats/fielddata_import.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_map>

#include "core/cp932_width.h"
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
    const std::string field = CoverFieldFor(cover);
    const char c = field.empty() ? '?' : field[0] == ' ' ? field[1] : field[0];
    if (c == 'r') return 0;
    if (c == '+') return 1;
    if (c >= '1' && c <= '5') return c - '1' + 2;
    return 7;
}

const char* kScaleHint =
    "被度の尺度は --scale で選べます: bb（既定）, bb-extended, percent, londo, domin, ordinal, presence";

}  // namespace

FieldImportError::FieldImportError(std::vector<std::string> lines)
    : std::runtime_error([&] {
          std::string m;
          for (const std::string& l : lines) m += (m.empty() ? "" : "\n") + l;
          return m;
      }()),
      lines_(std::move(lines)) {}

struct FieldImporter::State {
    FieldImportOptions o;
    FieldImportReport report;
    std::vector<std::string> problems;
    std::size_t problemCount = 0;
    std::vector<std::string> hints;
    std::vector<FieldReleve> releves;
    std::unordered_map<std::string, std::size_t> byKey;
    std::vector<std::unordered_map<std::string, std::size_t>> entryOf;  // raw name -> entry
    std::string sitesPath;
    bool sitesGiven = false;

    // Species names: each distinct name is fitted once. `fitted` is null for a name that
    // cannot be written.
    struct Name {
        std::string fitted;
        bool ok = false;
    };
    std::unordered_map<std::string, Name> names;
    std::unordered_map<std::string, std::string> ownerOf;  // written name -> input name

    void Problem(std::string m) {
        ++problemCount;
        if (problems.size() < kMaxListedProblems) problems.push_back(std::move(m));
    }
    void Hint(const std::string& h) {
        if (std::find(hints.begin(), hints.end(), h) == hints.end()) hints.push_back(h);
    }

    // The name as it will be written, or null (the problem is reported at its first use).
    const std::string* FitName(const std::string& raw, const std::string& where) {
        auto [it, added] = names.try_emplace(raw);
        Name& n = it->second;
        if (!added) return n.ok ? &n.fitted : nullptr;
        std::string fitted = o.transliterate ? TransliterateLatin(raw) : raw;
        std::string bytes;
        if (!Utf8ToCp932(fitted, bytes)) {
            Problem(where + ": 種名「" + raw + "」に CP932 で書けない文字があります");
            if (!o.transliterate) Hint("--transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）");
            return nullptr;
        }
        if (bytes.size() > static_cast<std::size_t>(kNameSize)) {
            if (o.shorten) {
                fitted = ShortenName(fitted, kNameSize);
            } else {
                Problem(where + ": 種名「" + raw + "」は " + std::to_string(bytes.size()) + " バイトで、" +
                        std::to_string(kNameSize) + " バイトに収まりません");
                Hint("--shorten で、28 バイトを超える種名を略記（subsp. → ssp., var., f.）と切り詰めで縮められます");
                return nullptr;
            }
        }
        auto [owner, fresh] = ownerOf.try_emplace(fitted, raw);
        if (!fresh) {
            Problem(where + ": 種名「" + owner->second + "」と「" + raw + "」がどちらも「" + fitted + "」になります");
            return nullptr;
        }
        if (fitted != raw) report.names.push_back({raw, fitted});
        n.fitted = std::move(fitted);
        n.ok = true;
        return &n.fitted;
    }

    // A site value as it will be written; problems are reported here.
    std::string FitSite(const FieldReleve& r, int item, const std::string& value, const std::string& where) {
        std::string v = o.transliterate ? TransliterateLatin(value) : value;
        const std::string what = where + ": 測定 " + r.key + " の " + ItemHeading(item) + "「" + value + "」";
        std::string bytes;
        if (!Utf8ToCp932(v, bytes)) {
            Problem(what + "に CP932 で書けない文字があります");
            if (!o.transliterate) Hint("--transliterate で、符号の付いた文字を元の文字にして書けます（á → a, ü → u, ß → ss）");
            return value;
        }
        const std::size_t width = item <= 7 ? 8 : 4;
        if (bytes.size() > width) {
            const std::string rounded = item >= 8 ? RoundNumberToWidth(v, width) : std::string();
            if (o.roundSites && !rounded.empty()) {
                v = rounded;
            } else {
                Problem(what + "が " + std::to_string(width) + " バイトに収まりません");
                if (!o.roundSites && !RoundNumberToWidth(v, width).empty() && item >= 8)
                    Hint("--round-sites で、4 バイトの項目（i08 … i29）の数値を収まる桁に丸められます（139.9 → 140）");
                return value;
            }
        }
        if (v != value) report.sites.push_back({r.key, item, value, v});
        return v;
    }

    // The site values of one line go to its relevé; a different non-empty value is a problem.
    void TakeSites(FieldReleve& r, const std::vector<std::string_view>& cells, const Columns& c, const std::string& where) {
        for (int n = 2; n <= 29; ++n) {
            const std::string_view t = CellAt(cells, c.items[static_cast<std::size_t>(n)]);
            if (t.empty()) continue;
            std::string& slot = r.items[static_cast<std::size_t>(n)];
            const std::string v = FitSite(r, n, std::string(t), where);
            if (slot.empty()) slot = v;
            else if (slot != v) Problem(where + ": 測定 " + r.key + " の " + ItemHeading(n) + " が前の行と違います");
        }
        auto code = [&](int col, int& slot, const char* name) {
            const std::string_view t = CellAt(cells, col);
            if (t.empty()) return;
            if (t.size() != 1 || t[0] < '0' || t[0] > '9') {
                Problem(where + ": " + name + " が 1 桁の数字ではありません: " + std::string(t));
                return;
            }
            if (slot >= 0 && slot != t[0] - '0')
                Problem(where + ": 測定 " + r.key + " の " + name + " が前の行と違います");
            slot = t[0] - '0';
        };
        code(c.k, r.codeK, "K");
        code(c.d, r.codeD, "D");
    }

    // The relevé of a key, made when new (unless the site file fixed the relevés); null when
    // it cannot be.
    FieldReleve* ReleveOf(std::string_view key, const std::string& where, bool keyIsItem2) {
        if (key.empty()) {
            Problem(where + ": releve が空です");
            return nullptr;
        }
        auto it = byKey.find(std::string(key));
        if (it == byKey.end()) {
            if (sitesGiven) {
                Problem(where + ": 測定 " + std::string(key) + " は " + sitesPath + " にありません");
                return nullptr;
            }
            it = byKey.emplace(std::string(key), releves.size()).first;
            FieldReleve& r = releves.emplace_back();
            r.key = key;
            if (keyIsItem2) r.items[2] = FitSite(r, 2, r.key, where);
        }
        if (entryOf.size() < releves.size()) entryOf.resize(releves.size());
        return &releves[it->second];
    }

    // Adds a cover of a species to a relevé.
    void AddCover(std::size_t releve, const std::string& raw, const std::string& fitted, int layer,
                  const std::string& cover, const std::string& where, bool duplicateIsProblem) {
        FieldReleve& r = releves[releve];
        auto [e, added] = entryOf[releve].try_emplace(raw, r.entries.size());
        if (added) r.entries.push_back(FieldEntry{fitted, {}});
        if (layer < 0) return;
        std::string& slot = r.entries[e->second].covers[static_cast<std::size_t>(layer)];
        if (!slot.empty() && duplicateIsProblem) {
            Problem(where + ": " + raw + " の " + kLayerNames[layer] + " が二度あります");
            return;
        }
        slot = cover;
        ++report.classes[static_cast<std::size_t>(ClassIndex(cover))];
    }

    static constexpr const char* kLayerNames[kLayerCount] = {"T1", "T2", "S1", "S2", "H1", "H2", "M"};

    void BadCover(const std::string& where, std::string_view value) {
        Problem(where + ": 「" + std::string(value) + "」は被度（尺度 " + CoverScaleName(o.scale) + "）ではありません");
        Hint(kScaleHint);
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
    if (!csv.Next(cells)) throw std::runtime_error(path + ": 見出し行がありません");
    const Columns c = ReadHeading(cells);
    if (c.releve < 0)
        throw std::runtime_error(path + ": releve 列がありません（区切りは" + csv.DelimiterName() + "と読みました）");
    s.sitesGiven = true;
    s.sitesPath = path;
    while (csv.Next(cells)) {
        const std::string where = csv.Where();
        const std::string key(CellAt(cells, c.releve));
        if (key.empty()) {
            s.Problem(where + ": releve が空です");
            continue;
        }
        if (s.byKey.count(key)) {
            s.Problem(where + ": 測定 " + key + " が二度あります");
            continue;
        }
        s.byKey[key] = s.releves.size();
        s.releves.emplace_back().key = key;
        s.TakeSites(s.releves.back(), cells, c, where);
    }
    s.entryOf.resize(s.releves.size());
}

void FieldImporter::ReadLong(const std::string& path) {
    State& s = *s_;
    CsvReader csv(path);
    std::vector<std::string_view> cells;
    if (!csv.Next(cells)) throw std::runtime_error(path + ": 見出し行がありません");
    const Columns c = ReadHeading(cells);
    if (c.releve < 0 || c.taxon < 0 || c.layer < 0 || c.cover < 0) {
        std::string m = path + ": 見出し行に releve, taxon, layer, cover の列が要ります（区切りは" + csv.DelimiterName() +
                        "と読みました。見出し行は " + std::to_string(cells.size()) + " 列です）";
        if (cells.size() > 4) m += "。種 × 測定の表なら --matrix を指定してください";
        throw std::runtime_error(m);
    }
    const bool keyIsItem2 = c.items[2] < 0 && !s.sitesGiven;
    const bool presence = s.o.scale == CoverScale::Presence;
    while (csv.Next(cells)) {
        // The place of the line, made only for a message.
        const std::string where = csv.Where();
        FieldReleve* r = s.ReleveOf(CellAt(cells, c.releve), where, keyIsItem2);
        if (!r) continue;
        const std::size_t ri = static_cast<std::size_t>(r - s.releves.data());
        s.TakeSites(*r, cells, c, where);
        const std::string_view taxon = CellAt(cells, c.taxon), layer = CellAt(cells, c.layer), cover = CellAt(cells, c.cover);
        if (taxon.empty()) {
            if (!layer.empty() || !cover.empty()) s.Problem(where + ": taxon が空です");
            continue;  // a line of site values only
        }
        const std::string raw(taxon);
        const std::string* fitted = s.FitName(raw, where);
        int l = -1;
        std::string text;
        if (!layer.empty() || !cover.empty()) {
            l = LayerIndex(std::string(layer));
            if (l < 0) {
                s.Problem(where + ": 「" + std::string(layer) + "」は階層 T1 T2 S1 S2 H1 H2 M のどれでもありません");
                continue;
            }
            CoverConversion cc = presence && cover.empty() ? CoverConversion{CoverConversion::Cover, "+"}
                                                            : ConvertCover(s.o.scale, cover, s.o.rBelow);
            if (cc.kind == CoverConversion::Invalid || (cc.kind == CoverConversion::Absent && cover.empty())) {
                s.BadCover(where, cover);
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
        s.AddCover(ri, raw, fitted ? *fitted : raw, l, text, where, true);
    }
}

void FieldImporter::ReadMatrix(const std::string& path) {
    State& s = *s_;
    CsvReader csv(path);
    std::vector<std::string_view> cells;
    if (!csv.Next(cells)) throw std::runtime_error(path + ": 見出し行がありません");
    const std::string headingWhere = csv.Where();
    const bool transpose = s.o.transpose;
    const int layer = s.o.layer;
    // The heading: species (or, transposed, relevés) from the second cell on.
    const std::size_t columns = cells.size();
    std::vector<std::string> heads(columns);
    std::vector<const std::string*> fitted(columns, nullptr);  // species columns
    std::vector<std::size_t> releveOf(columns, SIZE_MAX);      // relevé columns
    std::vector<bool> repeated(columns, false);                // reported with the heading
    {
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t i = 1; i < columns; ++i) {
            heads[i] = Trimmed(cells[i]);
            if (heads[i].empty()) continue;
            if (auto [it, fresh] = seen.try_emplace(heads[i], i); !fresh) {
                s.Problem(headingWhere + ": 「" + heads[i] + "」が " + std::to_string(it->second + 1) + " 列目と " +
                          std::to_string(i + 1) + " 列目にあります");
                repeated[i] = true;
                continue;
            }
            if (transpose) {
                if (FieldReleve* r = s.ReleveOf(heads[i], headingWhere, true))
                    releveOf[i] = static_cast<std::size_t>(r - s.releves.data());
            } else {
                fitted[i] = s.FitName(heads[i], headingWhere);
            }
        }
    }
    if (columns < 2)
        throw std::runtime_error(path + ": 見出し行が 1 列だけです（区切りは" + csv.DelimiterName() + "と読みました）");
    std::unordered_map<std::string, std::size_t> rowsSeen;
    while (csv.Next(cells)) {
        const std::string_view first = TrimBlanks(cells[0]);
        if (auto [it, fresh] = rowsSeen.try_emplace(std::string(first), csv.Line()); !fresh && !first.empty()) {
            s.Problem(csv.Where() + ": 「" + std::string(first) + "」が " + std::to_string(it->second) + " 行目にもあります");
            continue;
        }
        if (cells.size() > columns)
            s.Problem(csv.Where() + ": 見出し行の " + std::to_string(columns) + " 列より多い " +
                      std::to_string(cells.size()) + " 列があります");
        // Per row: the relevé (or, transposed, the species).
        std::size_t rowReleve = SIZE_MAX;
        const std::string* rowName = nullptr;
        const std::string rowKey(first);
        if (transpose) {
            if (first.empty()) s.Problem(csv.Where() + ": 種名が空です");
            else rowName = s.FitName(rowKey, csv.Where());
        } else if (FieldReleve* r = s.ReleveOf(first, csv.Where(), true)) {
            rowReleve = static_cast<std::size_t>(r - s.releves.data());
        }
        const std::size_t n = std::min(cells.size(), columns);
        for (std::size_t i = 1; i < n; ++i) {
            const std::string_view v = TrimBlanks(cells[i]);
            if (v.empty() || v == "0" || repeated[i]) continue;  // the usual absences, at once
            const CoverConversion cc = ConvertCover(s.o.scale, v, s.o.rBelow);
            if (cc.kind == CoverConversion::Absent) continue;
            if (heads[i].empty()) {
                s.Problem(csv.Where() + ": 見出しのない " + std::to_string(i + 1) + " 列目に値「" + std::string(v) + "」があります");
                continue;
            }
            if (cc.kind == CoverConversion::Invalid) {
                s.BadCover(csv.Where() + " の " + std::to_string(i + 1) + " 列目（" + heads[i] + "）", v);
                continue;
            }
            const std::size_t ri = transpose ? releveOf[i] : rowReleve;
            const std::string* name = transpose ? rowName : fitted[i];
            if (ri == SIZE_MAX || !name) continue;  // reported with its heading or row
            s.AddCover(ri, transpose ? rowKey : heads[i], *name, layer, cc.text, csv.Where(), false);
        }
    }
}

std::vector<FieldReleve> FieldImporter::Finish() {
    State& s = *s_;
    if (s.problemCount) {
        std::vector<std::string> lines = std::move(s.problems);
        if (s.problemCount > lines.size())
            lines.push_back("ほか " + std::to_string(s.problemCount - lines.size()) + " 件の問題があります");
        lines.insert(lines.begin(), std::to_string(s.problemCount) + " 件の問題があるため、何も書いていません:");
        for (const std::string& h : s.hints) lines.push_back(h);
        throw FieldImportError(std::move(lines));
    }
    return std::move(s.releves);
}

std::string NameMapPathFor(const FieldPairPaths& pair) {
    const std::size_t slash = pair.data.find_last_of('/');
    const std::size_t dot = pair.data.rfind('.');
    const std::string stem = dot == std::string::npos || (slash != std::string::npos && dot < slash)
                                 ? pair.data
                                 : pair.data.substr(0, dot);
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
