#include "formats/fielddata.h"

#include <algorithm>
#include <stdexcept>

#include "formats/codec.h"
#include "formats/file_bytes.h"

namespace tavik {

namespace {

// A data file links its records with six digits, so no real pair is larger than this.
constexpr std::uint64_t kMaxDataRecords = 1000000;

std::string ReadMember(const std::string& path, std::uint64_t limit) {
    try {
        std::string bytes = ReadFileBytes(path, limit);
        if (bytes.empty()) throw std::runtime_error(path + " は空のファイルです");
        return bytes;
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(std::string(kBadFieldFiles) + ": " + e.what());
    }
}

}  // namespace

namespace {

std::uint8_t DecodeCoverText(std::string_view field) {
    std::string s;
    for (char c : field)
        if (static_cast<unsigned char>(c) > 0x20) s += c;
    if (s.empty()) return 0;
    if (s.size() == 1) {
        switch (s[0]) {
            case '+': return 1;
            case 'r': return 6;
            case '(':
            case '*': return 7;
            case 'e': return 8;
            case '?': return 9;
            case '1': case '2': case '3': case '4': case '5': return static_cast<std::uint8_t>((s[0] - '0') * 10);
            default: return 0;
        }
    }
    // Two characters: an integer 0..255, a leading "+" allowed ("+2" is "+" with sociability 2).
    long long v = 0;
    if (s.size() == 2 && s[0] != ' ' && s[0] != '-' && ParseInteger(s, v) && v >= 0 && v <= 255)
        return static_cast<std::uint8_t>(v);
    return 63;
}

// Every two-byte field decoded once.
struct CoverFieldTable {
    std::array<std::uint8_t, 65536> v{};
    CoverFieldTable() {
        for (int a = 0; a < 256; ++a)
            for (int b = 0; b < 256; ++b) {
                const char f[2] = {static_cast<char>(a), static_cast<char>(b)};
                v[static_cast<std::size_t>(a * 256 + b)] = DecodeCoverText(std::string_view(f, 2));
            }
    }
};

}  // namespace

std::uint8_t DecodeCoverField(std::string_view field) {
    if (field.size() != 2) return DecodeCoverText(field);
    static const CoverFieldTable table;
    return table.v[static_cast<std::size_t>(static_cast<unsigned char>(field[0]) * 256 +
                                            static_cast<unsigned char>(field[1]))];
}

std::string DecodeField(std::string_view bytes, bool utf8File) {
    const std::string_view t = TrimBlanks(bytes);
    if (IsAscii(t)) return std::string(t);
    const bool utf8 = IsValidUtf8(t);
    if (utf8File && utf8) return std::string(t);
    std::string out;
    if (Cp932ToUtf8(t, out)) return out;
    if (utf8) return std::string(t);
    return Cp932ToUtf8Lenient(t);
}

std::string BaseNameWithoutExtension(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.resize(dot);
    return name;
}

std::string DataPathFor(const std::string& indexPath) {
    const std::size_t slash = indexPath.find_last_of("/\\");
    const std::size_t dot = indexPath.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return indexPath + ".tkd";
    return indexPath.substr(0, dot) + ".tkd";
}

// ---- Header record ---------------------------------------------------------------------

namespace {
DataHeader Stopped(DataHeader& h) {
    h.stopped = true;
    return h;
}
}  // namespace

DataHeader ParseDataHeader(std::string_view record, bool utf8File) {
    DataHeader h;
    const std::string_view text = record.substr(0, std::min<std::size_t>(record.size(), kHeaderTextSize));
    if (text.empty() || text[0] != '#') return h;
    h.hasHash = true;
    std::size_t pos = 1;
    // A field takes its first character whatever it is, then runs up to the next "$".
    auto next = [&](std::string& out) -> bool {
        if (pos >= text.size()) return false;
        const std::size_t end = text.find('$', pos + 1);
        if (end == std::string_view::npos) return false;
        out.assign(text.substr(pos, end - pos));
        pos = end + 1;
        return true;
    };
    std::string field;
    if (!next(field)) {
        h.stopped = true;
        return h;
    }
    if (field != "30") return h;
    h.versionOk = true;
    if (!next(field)) return Stopped(h);
    h.title = DecodeField(field, utf8File);
    if (!next(field)) return Stopped(h);
    h.item1Name = DecodeField(field, utf8File);
    for (int n = 2; n <= kItemCount; ++n) {
        if (!next(field)) return Stopped(h);
        auto& it = h.items[static_cast<std::size_t>(n)];
        it.present = true;
        it.available = field[0] == '1';
        it.name = DecodeField(std::string_view(field).substr(1), utf8File);
    }
    h.complete = true;
    const std::string_view rest = text.substr(pos);
    const std::size_t k = rest.find("K=");
    if (k != std::string_view::npos) {
        if (k + 2 >= rest.size() || rest[k + 2] < '0' || rest[k + 2] > '9') return h;
        h.codeK = rest[k + 2] - '0';
    }
    const std::size_t d = rest.find("D=");
    if (d != std::string_view::npos && d + 2 < rest.size() && rest[d + 2] >= '0' && rest[d + 2] <= '9')
        h.codeD = rest[d + 2] - '0';
    return h;
}

void ApplyDataHeader(const DataHeader& h, Table& t, const std::string& dataFileName) {
    if (h.hasHash) {
        if (!h.versionOk && !h.stopped) return;  // another version: nothing of it applies
        if (h.versionOk) t.TableTitle.clear();
        if (h.title) t.TableTitle = *h.title;
        if (h.item1Name) t.ItemBoxes[1].caption = *h.item1Name;
        for (int n = 2; n <= kItemCount; ++n) {
            const auto& it = h.items[static_cast<std::size_t>(n)];
            if (!it.present) continue;
            t.ItemBoxes[static_cast<std::size_t>(n)].enabled = it.available;
            t.ItemBoxes[static_cast<std::size_t>(n)].caption = it.name;
        }
        if (h.codeK) t.CodeK = *h.codeK;
        if (h.codeD) t.CodeD = *h.codeD;
    }
    if (t.TableTitle.empty()) t.TableTitle = BaseNameWithoutExtension(dataFileName);
}

// ---- The pair ----------------------------------------------------------------------------

std::string DataFileOf(const std::string& indexPath) {
    const std::string exact = DataPathFor(indexPath);
    const std::string found = FindFileAnyCase(exact);
    return found.empty() ? exact : found;
}

FieldFiles::FieldFiles(const std::string& indexPath) {
    index_ = ReadMember(indexPath, (kMaxDataRecords + 1) * kIndexRecordSize);
    const std::string dataPath = DataFileOf(indexPath);
    data_ = ReadMember(dataPath, kMaxDataRecords * kDataRecordSize);
    Measure();
    CheckPair(indexPath, dataPath);
}

void FieldFiles::CheckPair(const std::string& indexPath, const std::string& dataPath) {
    const auto mismatch = [&](const std::string& why) {
        problem_ = indexPath + " と " + dataPath + " は組が合っていないか、途中で切れています（" + why + "）";
    };
    // A pair written whole holds whole records and links only into its own data file. A cut
    // file is still read as far as it goes (what cannot be read is skipped and listed), but
    // an index beside another pair's data file would be read as wrong species, so say it.
    const long long records = DataRecordCount();
    for (int i = 1; i <= recordCount_; ++i) {
        long long r = 0;
        const std::string_view link(index_.data() + static_cast<std::size_t>(i) * kIndexRecordSize + 248, 6);
        if (ParseInteger(link, r) && r >= records)
            return mismatch("索引の測定 " + std::to_string(i) + " がデータファイルの終わりより先を指しています");
    }
    if (index_.size() % kIndexRecordSize != 0)
        return mismatch("索引ファイルの大きさが 256 バイトの倍数ではありません");
    if (data_.size() % kDataRecordSize != 0)
        return mismatch("データファイルの大きさが 512 バイトの倍数ではありません");
}

FieldFiles::FieldFiles(std::string indexBytes, std::string dataBytes)
    : index_(std::move(indexBytes)), data_(std::move(dataBytes)) {
    Measure();
}

void FieldFiles::Measure() {
    recordCount_ = std::max(0, static_cast<int>(index_.size() / kIndexRecordSize) - 1);
    current_.fill(' ');
    utf8_ = (!IsAscii(index_) || !IsAscii(data_)) && IsValidUtf8(index_) && IsValidUtf8(data_);
}

std::string_view FieldFiles::HeaderRecord() const {
    return std::string_view(data_).substr(0, std::min<std::size_t>(data_.size(), kDataRecordSize));
}

int FieldFiles::Name(std::string_view raw) {
    auto it = nameIds_.find(raw);
    if (it != nameIds_.end()) return it->second;
    const int id = static_cast<int>(names_.size());
    names_.push_back(DecodeField(raw, utf8_));
    nameIds_.emplace(std::string(raw), id);
    return id;
}

std::string FieldFiles::ItemText(int n) const {
    const std::string_view rec(current_.data(), current_.size());
    if (n >= 2 && n <= 7) return DecodeField(rec.substr(16 + 8 * static_cast<std::size_t>(n - 2), 8), utf8_);
    if (n >= 8 && n <= kItemCount)
        return DecodeField(rec.substr(64 + 4 * static_cast<std::size_t>(n - 8), 4), utf8_);
    return {};
}

bool FieldFiles::ReadReleve(int i, PlantSet& set) {
    bool ok = true;
    int used = 0;  // entries filled from the chain
    if (i < 1 || i > recordCount_) {
        ok = false;
    } else {
        std::copy_n(index_.data() + static_cast<std::size_t>(i) * kIndexRecordSize, kIndexRecordSize,
                    current_.data());
        if (current_[40] == 'T' || current_[40] == 'W') current_[40] = ' ';
        const std::string_view rec(current_.data(), current_.size());
        long long k = 0, d = 0, n = 0, r = 0;
        ok = ParseInteger(rec.substr(156, 1), k) && ParseInteger(rec.substr(157, 1), d) &&
             ParseInteger(rec.substr(152, 4), n) && ParseInteger(rec.substr(248, 6), r);
        if (ok) {
            set.codeK = static_cast<int>(k);
            set.codeD = static_cast<int>(d);
        }
        const int records = DataRecordCount();
        if (visited_.size() != static_cast<std::size_t>(records)) {
            visited_.assign(static_cast<std::size_t>(records), 0);
            stamp_ = 0;
        }
        if (++stamp_ == 0) {  // the stamps wrapped around: start afresh
            std::fill(visited_.begin(), visited_.end(), 0);
            stamp_ = 1;
        }
        while (ok && r > 0) {
            // A link past the end of the file, or back into the chain, cannot be followed.
            if (r >= records || visited_[static_cast<std::size_t>(r)] == stamp_) {
                ok = false;
                break;
            }
            visited_[static_cast<std::size_t>(r)] = stamp_;
            const std::string_view srec(data_.data() + static_cast<std::size_t>(r) * kDataRecordSize,
                                        kDataRecordSize);
            if (set.entries.size() < static_cast<std::size_t>(used + kEntriesPerRecord + 1))
                set.entries.resize(static_cast<std::size_t>(used + kEntriesPerRecord + 1));
            for (int e = 0; e < kEntriesPerRecord; ++e) {
                const std::string_view entry = srec.substr(static_cast<std::size_t>(e) * kEntrySize, kEntrySize);
                PlantEntry& pe = set.entries[static_cast<std::size_t>(used + e + 1)];
                pe.nameId = Name(entry.substr(0, kNameSize));
                pe.name = names_[static_cast<std::size_t>(pe.nameId)];
                for (int l = 0; l < kLayerCount; ++l)
                    pe.covers[l] = DecodeCoverField(entry.substr(kNameSize + 2 * static_cast<std::size_t>(l), 2));
            }
            used += kEntriesPerRecord;
            ok = ParseInteger(srec.substr(504, 6), r);
        }
    }
    // The species are the leading entries with a name.
    int count = 0;
    while (count < used && !set.entries[static_cast<std::size_t>(count + 1)].name.empty()) ++count;
    set.count = count;
    return ok;
}

}  // namespace tavik
