#include "formats/fielddata_writer.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <stdexcept>
#include <unordered_map>

#include "core/messages.h"
#include "formats/codec.h"
#include "formats/fielddata.h"
#include "formats/file_bytes.h"
#include "formats/file_error.h"
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
        throw std::runtime_error(Arg(Tr("%1: 「%2」に CP932 で書けない文字があります"), {what, text}));
    return out;
}

// A value placed in a fixed field of `width` bytes.
// `what` names the relevé in the message, `item` the field (-1: the species name).
void PutField(std::string& rec, std::size_t at, std::size_t width, std::string_view bytes, bool right,
              const std::string& what, int item) {
    if (bytes.size() > width) {
        const std::string field =
            item < 0 ? Arg(Tr("%1 の種名"), {what}) : Arg(Tr("%1 の項目 %2"), {what, std::to_string(item)});
        throw std::runtime_error(
            Arg(Tr("%1: 「%2」が %3 バイトに収まりません"), {field, Cp932ToUtf8Lenient(bytes), std::to_string(width)}));
    }
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
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash) || dot == slash + 1) dot = out.size();
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
    if (TrimBlanks(header_.title).empty()) throw std::runtime_error(Tr("見出しの title が空です"));
    index_ = std::make_unique<AtomicFile>(paths_.index, readOnly);
    data_ = std::make_unique<AtomicFile>(paths_.data, readOnly);
    index_->Write(std::string(kIndexRecordSize, ' '));
    // The header record is written last, when the items in use are known.
    data_->Write(std::string(kDataRecordSize, ' '));
}

FieldDataWriter::~FieldDataWriter() = default;

void FieldDataWriter::Add(const FieldReleve& r) {
    const std::string what = Arg(Tr("測定 %1"), {r.key});
    std::string rec(kIndexRecordSize, ' ');
    for (int n = 2; n <= 29; ++n) {
        const std::string v = Trimmed(r.items[static_cast<std::size_t>(n)]);
        if (v.empty()) continue;
        seen_[static_cast<std::size_t>(n)] = true;
        const std::string bytes = ToCp932(v, what);
        const std::size_t at =
            n <= 7 ? 16 + 8 * static_cast<std::size_t>(n - 2) : 64 + 4 * static_cast<std::size_t>(n - 8);
        PutField(rec, at, n <= 7 ? 8 : 4, bytes, LooksNumeric(v), what, n);
    }
    const int k = r.codeK >= 0 ? r.codeK : header_.codeK;
    const int d = r.codeD >= 0 ? r.codeD : header_.codeD;
    if (k < 0 || k > 9 || d < 0 || d > 9) throw std::runtime_error(Arg(Tr("%1: K と D は 1 桁の数字です"), {what}));
    const std::size_t n = r.entries.size();
    if (n > 9999) throw std::runtime_error(Arg(Tr("%1: 種が多すぎます"), {what}));
    rec.replace(152, 4, RightNumber(static_cast<long long>(n), 4));
    rec[156] = static_cast<char>('0' + k);
    rec[157] = static_cast<char>('0' + d);
    seen_[kItemCount] = true;

    std::string block;
    const std::size_t records = (n + kEntriesPerRecord - 1) / kEntriesPerRecord;
    if (nextRecord_ + static_cast<long>(records) > 999999)
        throw std::runtime_error(Arg(Tr("%1: データファイルが大きすぎます"), {what}));
    rec.replace(248, 6, RightNumber(records ? nextRecord_ : 0, 6));
    for (std::size_t i = 0; i < records; ++i) {
        std::string srec(kDataRecordSize, ' ');
        for (std::size_t e = 0; e < kEntriesPerRecord && i * kEntriesPerRecord + e < n; ++e) {
            const FieldEntry& entry = r.entries[i * kEntriesPerRecord + e];
            const std::string_view name = TrimBlanks(entry.name);
            if (name.empty()) throw std::runtime_error(Arg(Tr("%1: 名前のない種があります"), {what}));
            const std::size_t at = e * kEntrySize;
            // A name is converted once, however many relevés hold it.
            auto known = nameBytes_.find(name);
            if (known == nameBytes_.end())
                known = nameBytes_.emplace(std::string(name), ToCp932(std::string(name), what)).first;
            PutField(srec, at, kNameSize, known->second, false, what, -1);
            for (int l = 0; l < kLayerCount; ++l) {
                const std::string& c = entry.covers[static_cast<std::size_t>(l)];
                if (TrimBlanks(c).empty()) continue;
                const std::string field = CoverFieldFor(c);
                if (field.empty())
                    throw std::runtime_error(
                        Arg(Tr("%1 の %2 (%3): 「%4」は被度ではありません"), {what, name, kLayerLabels[l], c}));
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

namespace {

// The text of the header record before padding; `seen` gives the availability of items the
// description leaves to the data. Names without a CP932 form throw.
std::string HeaderRecordText(const FieldHeaderDescription& header, const std::array<bool, kItemCount + 1>& seen) {
    std::string head = "#30$" + ToCp932(Trimmed(header.title), Tr("見出しの title")) + "$";
    for (int n = 1; n <= kItemCount; ++n) {
        std::string name = header.names[static_cast<std::size_t>(n)];
        if (name.empty()) name = InitialItemCaptions()[static_cast<std::size_t>(n)];
        if (n > 1) {
            int a = header.available[static_cast<std::size_t>(n)];
            if (a < 0) a = seen[static_cast<std::size_t>(n)] ? 1 : 0;
            head += a ? '1' : '0';
        }
        head += ToCp932(name, Arg(Tr("見出しの項目 %1"), {std::to_string(n)})) + "$";
    }
    head += "K=" + std::to_string(header.codeK) + " D=" + std::to_string(header.codeD);
    return head;
}

// The message for a header record of `size` bytes over the limit: how much must go and
// which names are the longest.
std::string HeaderOverflowMessage(const FieldHeaderDescription& header, std::size_t size) {
    struct Named {
        std::string label, name;
        std::size_t bytes;
    };
    std::vector<Named> all;
    std::string bytes;
    if (Utf8ToCp932(Trimmed(header.title), bytes)) all.push_back({"title", Trimmed(header.title), bytes.size()});
    for (int n = 1; n <= kItemCount; ++n) {
        std::string name = header.names[static_cast<std::size_t>(n)];
        if (name.empty()) name = InitialItemCaptions()[static_cast<std::size_t>(n)];
        if (!Utf8ToCp932(name, bytes)) continue;
        char label[8];
        std::snprintf(label, sizeof label, "i%02d", n);
        all.push_back({label, name, bytes.size()});
    }
    std::stable_sort(all.begin(), all.end(), [](const Named& a, const Named& b) { return a.bytes > b.bytes; });
    std::string m =
        Arg(Tr("見出しレコードが %1 バイトになり、%2 バイトに収まりません: 項目名を合わせて %3 バイト短くし"
               "てください。長い名前:"),
            {std::to_string(size), std::to_string(kHeaderTextSize), std::to_string(size - kHeaderTextSize)});
    for (std::size_t i = 0; i < all.size() && i < 5; ++i)
        m += (i ? ", " : " ") + Arg(Tr("%1「%2」%3 バイト"), {all[i].label, all[i].name, std::to_string(all[i].bytes)});
    return m;
}

}  // namespace

std::vector<std::string> HeaderRecordProblems(const FieldHeaderDescription& header) {
    std::string head;
    try {
        head = HeaderRecordText(header, {});
    } catch (const std::runtime_error& e) {
        return {e.what()};
    }
    if (head.size() > static_cast<std::size_t>(kHeaderTextSize)) return {HeaderOverflowMessage(header, head.size())};
    return {};
}

void FieldDataWriter::Finish() {
    std::string head = HeaderRecordText(header_, seen_);
    if (head.size() > static_cast<std::size_t>(kHeaderTextSize))
        throw std::runtime_error(HeaderOverflowMessage(header_, head.size()));
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
    if (t.size() != 1 || t[0] < '0' || t[0] > '9')
        throw std::runtime_error(Arg(Tr("%1: 1 桁の数字ではありません: %2"), {where, v}));
    return t[0] - '0';
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
        const std::string where = FileLine(path, lines.LineNumber());
        const std::string line = Trimmed(text);
        if (line.empty() || line[0] == '#') continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) throw std::runtime_error(Arg(Tr("%1: 「キー=値」ではありません"), {where}));
        const std::string key = Upper(Trimmed(line.substr(0, eq)));
        const std::string value = Trimmed(line.substr(eq + 1));
        if (value.find('$') != std::string::npos) throw std::runtime_error(Arg(Tr("%1: 「$」は使えません"), {where}));
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
            if (name.empty()) throw std::runtime_error(Arg(Tr("%1: 項目名が空です"), {where}));
            h.names[static_cast<std::size_t>(n)] = name;
        } else {
            throw std::runtime_error(Arg(Tr("%1: 知らないキーです: %2"), {where, line.substr(0, eq)}));
        }
    }
    if (h.title.empty()) throw std::runtime_error(Arg(Tr("%1: title がありません"), {path}));
    return h;
}

}  // namespace tavik
