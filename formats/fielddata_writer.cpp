#include "formats/fielddata_writer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "formats/codec.h"
#include "formats/fielddata.h"
#include "formats/file_bytes.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

const char* const kLayerLabels[kLayerCount] = {"T1", "T2", "S1", "S2", "H1", "H2", "M"};

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string Trimmed(const std::string& s) { return std::string(TrimBlanks(s)); }

// Numbers are right-aligned in their fields, texts left-aligned.
bool LooksNumeric(const std::string& s) {
    bool digit = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c >= '0' && c <= '9') digit = true;
        else if (!(c == '.' || ((c == '-' || c == '+') && i == 0))) return false;
    }
    return digit;
}

std::string ToCp932(const std::string& text, const std::string& what) {
    std::string out;
    if (!Utf8ToCp932(text, out))
        throw std::runtime_error(what + ": 「" + text + "」に CP932 で書けない文字があります");
    return out;
}

// A value placed in a fixed field of `width` bytes.
void PutField(std::string& rec, std::size_t at, std::size_t width, const std::string& bytes,
              bool right, const std::string& what) {
    if (bytes.size() > width)
        throw std::runtime_error(what + ": 「" + Cp932ToUtf8Lenient(bytes) + "」が " +
                                 std::to_string(width) + " バイトに収まりません");
    const std::size_t pad = width - bytes.size();
    rec.replace(at + (right ? pad : 0), bytes.size(), bytes);
}

std::string RightNumber(long long v, std::size_t width) {
    std::string s = std::to_string(v);
    return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
}

}  // namespace

int LayerIndex(const std::string& label) {
    const std::string u = Upper(Trimmed(label));
    for (int i = 0; i < kLayerCount; ++i)
        if (u == kLayerLabels[i]) return i;
    return -1;
}

std::string CoverFieldFor(const std::string& text) {
    std::string t = Trimmed(text);
    // The notation "3.2" / "+.2" is the field "32" / "+2".
    if (t.size() == 3 && t[1] == '.') t = std::string{t[0], t[2]};
    if (t == "R" || t == "E") t[0] = static_cast<char>(t[0] - 'A' + 'a');
    if (t.empty() || t.size() > 2) return {};
    const std::uint8_t v = DecodeCoverField(t);
    bool ok = false;
    if (t.size() == 1) ok = v != 0;
    else if (t[0] == '+') ok = v >= 2 && v <= 5;
    else ok = v >= 10 && v <= 55 && v % 10 <= 5;
    if (!ok) return {};
    return t.size() == 1 ? " " + t : t;
}

// ---- Writer ------------------------------------------------------------------------------

FieldPairPaths PairPathsFor(const std::string& out) {
    const std::size_t slash = out.find_last_of('/');
    std::size_t dot = out.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1)
        dot = out.size();
    const std::string stem = out.substr(0, dot), ext = out.substr(dot);
    const bool upper = ext == ".TKD" || ext == ".TKI";  // a pair named as on Windows stays so
    FieldPairPaths p;
    p.index = Upper(ext) == ".TKD" ? stem + (upper ? ".TKI" : ".tki") : out;
    p.data = stem + (upper ? ".TKD" : ".tkd");
    return p;
}

FieldDataWriter::FieldDataWriter(const std::string& out, FieldHeaderDescription header,
                                 AtomicFile::ReadOnlyTarget readOnly)
    : paths_(PairPathsFor(out)), header_(std::move(header)) {
    if (TrimBlanks(header_.title).empty()) throw std::runtime_error("見出しの title が空です");
    index_ = std::make_unique<AtomicFile>(paths_.index, readOnly);
    data_ = std::make_unique<AtomicFile>(paths_.data, readOnly);
    index_->Write(std::string(kIndexRecordSize, ' '));
    // The header record is written last, when the items in use are known.
    data_->Write(std::string(kDataRecordSize, ' '));
}

FieldDataWriter::~FieldDataWriter() = default;

void FieldDataWriter::Add(const FieldReleve& r) {
    const std::string what = "測定 " + r.key;
    std::string rec(kIndexRecordSize, ' ');
    for (int n = 2; n <= 29; ++n) {
        const std::string v = Trimmed(r.items[static_cast<std::size_t>(n)]);
        if (v.empty()) continue;
        seen_[static_cast<std::size_t>(n)] = true;
        const std::string bytes = ToCp932(v, what);
        const std::size_t at = n <= 7 ? 16 + 8 * static_cast<std::size_t>(n - 2)
                                      : 64 + 4 * static_cast<std::size_t>(n - 8);
        PutField(rec, at, n <= 7 ? 8 : 4, bytes, LooksNumeric(v), what + " の項目 " + std::to_string(n));
    }
    const int k = r.codeK >= 0 ? r.codeK : header_.codeK;
    const int d = r.codeD >= 0 ? r.codeD : header_.codeD;
    if (k < 0 || k > 9 || d < 0 || d > 9) throw std::runtime_error(what + ": K と D は 1 桁の数字です");
    const std::size_t n = r.entries.size();
    if (n > 9999) throw std::runtime_error(what + ": 種が多すぎます");
    rec.replace(152, 4, RightNumber(static_cast<long long>(n), 4));
    rec[156] = static_cast<char>('0' + k);
    rec[157] = static_cast<char>('0' + d);
    seen_[kItemCount] = true;

    std::string block;
    const std::size_t records = (n + kEntriesPerRecord - 1) / kEntriesPerRecord;
    if (nextRecord_ + static_cast<long>(records) > 999999)
        throw std::runtime_error(what + ": データファイルが大きすぎます");
    rec.replace(248, 6, RightNumber(records ? nextRecord_ : 0, 6));
    for (std::size_t i = 0; i < records; ++i) {
        std::string srec(kDataRecordSize, ' ');
        for (std::size_t e = 0; e < kEntriesPerRecord && i * kEntriesPerRecord + e < n; ++e) {
            const FieldEntry& entry = r.entries[i * kEntriesPerRecord + e];
            const std::string name = Trimmed(entry.name);
            if (name.empty()) throw std::runtime_error(what + ": 名前のない種があります");
            const std::size_t at = e * kEntrySize;
            PutField(srec, at, kNameSize, ToCp932(name, what), false, what + " の種名");
            for (int l = 0; l < kLayerCount; ++l) {
                const std::string& c = entry.covers[static_cast<std::size_t>(l)];
                if (Trimmed(c).empty()) continue;
                const std::string field = CoverFieldFor(c);
                if (field.empty())
                    throw std::runtime_error(what + " の " + name + " (" + kLayerLabels[l] + "): 「" + c +
                                             "」は被度ではありません");
                srec.replace(at + kNameSize + 2 * static_cast<std::size_t>(l), 2, field);
            }
        }
        const long next = i + 1 < records ? nextRecord_ + static_cast<long>(i) + 1 : 0;
        srec.replace(504, 6, RightNumber(next, 6));
        block += srec;
    }
    index_->Write(rec);
    data_->Write(block);
    nextRecord_ += static_cast<long>(records);
    ++count_;
}

void FieldDataWriter::Finish() {
    std::string head = "#30$" + ToCp932(Trimmed(header_.title), "見出しの title") + "$";
    for (int n = 1; n <= kItemCount; ++n) {
        std::string name = header_.names[static_cast<std::size_t>(n)];
        if (name.empty()) name = InitialItemCaptions()[static_cast<std::size_t>(n)];
        if (n > 1) {
            int a = header_.available[static_cast<std::size_t>(n)];
            if (a < 0) a = seen_[static_cast<std::size_t>(n)] ? 1 : 0;
            head += a ? '1' : '0';
        }
        head += ToCp932(name, "見出しの項目 " + std::to_string(n)) + "$";
    }
    head += "K=" + std::to_string(header_.codeK) + " D=" + std::to_string(header_.codeD);
    if (head.size() > static_cast<std::size_t>(kHeaderTextSize))
        throw std::runtime_error("見出しレコードが " + std::to_string(head.size()) +
                                 " バイトになり、504 バイトに収まりません（項目名を短くしてください）");
    head.resize(kDataRecordSize, ' ');
    data_->Overwrite(0, head);
    // The data file first: an index is never left pointing into a data file it was not
    // written with, unless the process dies between the two renames.
    AtomicFile::CommitTogether(*data_, *index_);
}

// ---- Text inputs ---------------------------------------------------------------------------

namespace {


int ItemColumn(const std::string& heading) {
    const std::string h = Upper(Trimmed(heading));
    if (h.size() == 3 && h[0] == 'I' && h[1] >= '0' && h[1] <= '9' && h[2] >= '0' && h[2] <= '9') {
        const int n = (h[1] - '0') * 10 + (h[2] - '0');
        if (n >= 1 && n <= kItemCount) return n;
    }
    return 0;
}

int Digit(const std::string& v, const std::string& where) {
    const std::string t = Trimmed(v);
    if (t.size() != 1 || t[0] < '0' || t[0] > '9') throw std::runtime_error(where + ": 1 桁の数字ではありません: " + v);
    return t[0] - '0';
}

struct Columns {
    int releve = -1, taxon = -1, layer = -1, cover = -1, k = -1, d = -1;
    std::array<int, kItemCount + 1> items{};
};

Columns ReadHeading(const std::vector<std::string>& cells) {
    Columns c;
    c.items.fill(-1);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const std::string h = Upper(Trimmed(cells[i]));
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

std::string CsvCell(const std::vector<std::string>& cells, int col) {
    return col >= 0 && static_cast<std::size_t>(col) < cells.size() ? cells[static_cast<std::size_t>(col)] : std::string();
}

std::string ItemHeading(int n) {
    char b[8];
    std::snprintf(b, sizeof b, "i%02d", n);
    return b;
}

// Site values of a line go to its relevé; a different non-empty value is an error. `where`
// makes the place for a message.
template <class Where>
void TakeSites(FieldReleve& r, const std::vector<std::string>& cells, const Columns& c, const Where& where) {
    // Most lines carry no site values: nothing is built for an empty cell.
    auto take = [&](std::string& slot, int col, auto&& name) {
        if (col < 0 || static_cast<std::size_t>(col) >= cells.size()) return;
        const std::string t = Trimmed(cells[static_cast<std::size_t>(col)]);
        if (t.empty()) return;
        if (!slot.empty() && slot != t)
            throw std::runtime_error(where() + ": 測定 " + r.key + " の " + name() + " が前の行と違います");
        slot = t;
    };
    for (int n = 2; n <= 29; ++n)
        take(r.items[static_cast<std::size_t>(n)], c.items[static_cast<std::size_t>(n)], [n] { return ItemHeading(n); });
    if (c.k < 0 && c.d < 0) return;
    std::string k = r.codeK >= 0 ? std::to_string(r.codeK) : "", d = r.codeD >= 0 ? std::to_string(r.codeD) : "";
    take(k, c.k, [] { return std::string("K"); });
    take(d, c.d, [] { return std::string("D"); });
    auto digit = [&](const std::string& v) { return v.size() == 1 && v[0] >= '0' && v[0] <= '9' ? v[0] - '0' : Digit(v, where()); };
    if (!k.empty()) r.codeK = digit(k);
    if (!d.empty()) r.codeD = digit(d);
}

}  // namespace

void SplitCsvLine(std::string_view line, std::vector<std::string>& cells) {
    std::size_t used = 0;
    // The strings of the last line are reused: their buffers stay.
    auto next = [&]() -> std::string& {
        if (used == cells.size()) cells.emplace_back();
        std::string& cell = cells[used++];
        cell.clear();
        return cell;
    };
    std::string* cell = &next();
    bool quoted = false;
    std::size_t i = 0;
    while (i < line.size()) {
        if (quoted) {
            const std::size_t q = line.find('"', i);
            if (q == std::string_view::npos) {
                cell->append(line.substr(i));
                break;
            }
            cell->append(line.substr(i, q - i));
            if (q + 1 < line.size() && line[q + 1] == '"') {
                *cell += '"';
                i = q + 2;
            } else {
                quoted = false;
                i = q + 1;
            }
        } else {
            const std::size_t s = line.find_first_of(",\"", i);
            if (s == std::string_view::npos) {
                cell->append(line.substr(i));
                break;
            }
            cell->append(line.substr(i, s - i));
            if (line[s] == '"') quoted = true;
            else cell = &next();
            i = s + 1;
        }
    }
    cells.resize(used);
}

std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> cells;
    SplitCsvLine(line, cells);
    return cells;
}

FieldHeaderDescription ReadHeaderDescription(const std::string& path) {
    FieldHeaderDescription h;
    // Every read is checked: a file that cannot be read to its end stops the command.
    TextLineFile lines(path);
    std::string text;
    while (lines.Next(text)) {
        const std::string where = path + " の " + std::to_string(lines.LineNumber()) + " 行目";
        const std::string line = Trimmed(text);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) throw std::runtime_error(where + ": 「キー=値」ではありません");
        const std::string key = Upper(Trimmed(line.substr(0, eq)));
        const std::string value = Trimmed(line.substr(eq + 1));
        if (value.find('$') != std::string::npos) throw std::runtime_error(where + ": 「$」は使えません");
        if (key == "TITLE") {
            h.title = value;
        } else if (key == "K") {
            h.codeK = Digit(value, where);
        } else if (key == "D") {
            h.codeD = Digit(value, where);
        } else if (const int n = ItemColumn(key); n > 0) {
            std::string name = value;
            if (n > 1 && value.size() >= 2 && (value[0] == '0' || value[0] == '1') && value[1] == ',') {
                h.available[static_cast<std::size_t>(n)] = value[0] - '0';
                name = Trimmed(value.substr(2));
            }
            if (name.empty()) throw std::runtime_error(where + ": 項目名が空です");
            h.names[static_cast<std::size_t>(n)] = name;
        } else {
            throw std::runtime_error(where + ": 知らないキーです: " + line.substr(0, eq));
        }
    }
    if (h.title.empty()) throw std::runtime_error(path + ": title がありません");
    return h;
}

std::vector<FieldReleve> ReadLongCsv(const std::string& path, const std::string& sitesPath) {
    std::vector<FieldReleve> out;
    std::unordered_map<std::string, std::size_t> byKey;

    if (!sitesPath.empty()) {
        TextLineFile lines(sitesPath);
        std::string line;
        if (!lines.Next(line)) throw std::runtime_error(sitesPath + ": 見出し行がありません");
        const Columns c = ReadHeading(SplitCsvLine(line));
        if (c.releve < 0) throw std::runtime_error(sitesPath + ": releve 列がありません");
        std::vector<std::string> cells;
        while (lines.Next(line)) {
            if (Trimmed(line).empty()) continue;
            const std::string where = sitesPath + " の " + std::to_string(lines.LineNumber()) + " 行目";
            SplitCsvLine(line, cells);
            const std::string key = Trimmed(CsvCell(cells, c.releve));
            if (key.empty()) throw std::runtime_error(where + ": releve が空です");
            if (byKey.count(key)) throw std::runtime_error(where + ": 測定 " + key + " が二度あります");
            byKey[key] = out.size();
            out.emplace_back().key = key;
            TakeSites(out.back(), cells, c, [&] { return where; });
        }
    }

    TextLineFile lines(path);
    std::string line;
    if (!lines.Next(line)) throw std::runtime_error(path + ": 見出し行がありません");
    const Columns c = ReadHeading(SplitCsvLine(line));
    if (c.releve < 0 || c.taxon < 0 || c.layer < 0 || c.cover < 0)
        throw std::runtime_error(path + ": 見出し行に releve, taxon, layer, cover の列が要ります");
    // Entry of (relevé, species name) -> its index, so that the layers of one species meet.
    std::vector<std::unordered_map<std::string, std::size_t>> entryOf(out.size());
    std::vector<std::string> cells;
    while (lines.Next(line)) {
        if (Trimmed(line).empty()) continue;
        // The place of the line, made only for a message.
        auto where = [&] { return path + " の " + std::to_string(lines.LineNumber()) + " 行目"; };
        SplitCsvLine(line, cells);
        const std::string key = Trimmed(CsvCell(cells, c.releve));
        if (key.empty()) throw std::runtime_error(where() + ": releve が空です");
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            if (!sitesPath.empty()) throw std::runtime_error(where() + ": 測定 " + key + " は " + sitesPath + " にありません");
            it = byKey.emplace(key, out.size()).first;
            out.emplace_back().key = key;
            out.back().items[2] = c.items[2] < 0 ? key : std::string();
        }
        if (entryOf.size() < out.size()) entryOf.resize(out.size());
        FieldReleve& r = out[it->second];
        TakeSites(r, cells, c, where);
        const std::string taxon = Trimmed(CsvCell(cells, c.taxon));
        const std::string layer = Trimmed(CsvCell(cells, c.layer));
        const std::string cover = Trimmed(CsvCell(cells, c.cover));
        if (taxon.empty()) {
            if (!layer.empty() || !cover.empty()) throw std::runtime_error(where() + ": taxon が空です");
            continue;  // a line of site values only
        }
        auto [e, added] = entryOf[it->second].try_emplace(taxon, r.entries.size());
        if (added) r.entries.push_back(FieldEntry{taxon, {}});
        if (layer.empty() && cover.empty()) continue;  // a species without covers
        const int l = LayerIndex(layer);
        if (l < 0) throw std::runtime_error(where() + ": 「" + layer + "」は階層 T1 T2 S1 S2 H1 H2 M のどれでもありません");
        if (CoverFieldFor(cover).empty()) throw std::runtime_error(where() + ": 「" + cover + "」は被度ではありません");
        std::string& slot = r.entries[e->second].covers[static_cast<std::size_t>(l)];
        if (!slot.empty()) throw std::runtime_error(where() + ": " + taxon + " の " + layer + " が二度あります");
        slot = cover;
    }
    return out;
}

}  // namespace tavik
