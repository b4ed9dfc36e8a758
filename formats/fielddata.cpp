#include "formats/fielddata.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

#include "formats/codec.h"
#include "formats/file_bytes.h"
#include "formats/file_error.h"

namespace tavik {

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
            case '1':
            case '2':
            case '3':
            case '4':
            case '5': return static_cast<std::uint8_t>((s[0] - '0') * 10);
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
    return table
        .v[static_cast<std::size_t>(static_cast<unsigned char>(field[0]) * 256 + static_cast<unsigned char>(field[1]))];
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
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return indexPath + ".tkd";
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

// ---- The members of the pair ---------------------------------------------------------------

namespace {

std::string IdentityOf(const struct stat& st) {
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
           std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec);
}

}  // namespace

PairMember::PairMember(std::string bytes) : bytes_(std::move(bytes)), size_(bytes_.size()) {}

PairMember::~PairMember() {
    if (fd_ >= 0) ::close(fd_);
}

bool PairMember::Open(const std::string& path, std::string& why) {
    path_ = path;
    // Not blocking on a FIFO; only a regular file is read.
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
        why = ReadError(path, errno).what();
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        why = ReadError(path, errno).what();
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        why = ReadError(path, EISDIR).what();
        return false;
    }
    if (!S_ISREG(st.st_mode) || st.st_size < 0) {
        why = Arg(Tr("%1 は通常のファイルではありません"), {path});
        return false;
    }
    size_ = static_cast<std::uint64_t>(st.st_size);
    identity_ = IdentityOf(st);
    return true;
}

bool PairMember::Unchanged() const {
    if (fd_ < 0) return true;
    struct stat st {};
    return ::stat(path_.c_str(), &st) == 0 && IdentityOf(st) == identity_;
}

const char* PairMember::At(std::uint64_t offset, std::size_t n, std::vector<char>& buf) const {
    if (fd_ < 0) return bytes_.data() + offset;
    if (buf.size() < n) buf.resize(n);
    std::size_t got = 0;
    while (got < n) {
        const ssize_t r = ::pread(fd_, buf.data() + got, n - got, static_cast<off_t>(offset + got));
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) throw ReadError(path_, errno);
        if (r == 0) throw ReadErrorBecause(path_, Tr("読んでいる間に短くなりました"));
        got += static_cast<std::size_t>(r);
    }
    return buf.data();
}

// ---- Reading relevés ------------------------------------------------------------------------

// Reads relevés for one thread. Records are read in blocks: a relevé's chain usually runs on
// from where the last one ended, so one large read serves many relevés; a record elsewhere is
// read on its own.
class FieldReader : public ReleveReader {
public:
    explicit FieldReader(FieldFiles& f) : f_(f) {}

    bool Read(int i, DecodedReleve& out) override { return ReadInto(i, out, nullptr); }

    // Also gives the index record (when i is a record) and the entries up to the failure.
    bool ReadInto(int i, DecodedReleve& out, std::array<char, kIndexRecordSize>* record) {
        out.species.clear();
        if (i < 1 || i > f_.recordCount_) return false;
        const char* rec = Index(i);
        if (record) std::memcpy(record->data(), rec, kIndexRecordSize);
        const std::string_view r0(rec, kIndexRecordSize);
        long long k = 0, d = 0, n = 0, r = 0;
        bool ok = ParseInteger(r0.substr(156, 1), k) && ParseInteger(r0.substr(157, 1), d) &&
                  ParseInteger(r0.substr(152, 4), n) && ParseInteger(r0.substr(248, 6), r);
        if (!ok) return false;
        out.codeK = static_cast<int>(k);
        out.codeD = static_cast<int>(d);
        const int records = f_.DataRecordCount();
        if (visited_.size() != static_cast<std::size_t>(records)) {
            visited_.assign(static_cast<std::size_t>(records), 0);
            stamp_ = 0;
        }
        if (++stamp_ == 0) {  // the stamps wrapped around: start afresh
            std::fill(visited_.begin(), visited_.end(), 0);
            stamp_ = 1;
        }
        bool ended = false;  // a blank name ends the species; the chain is still followed
        while (r > 0) {
            // A link past the end of the file, or back into the chain, cannot be followed.
            if (r >= records || visited_[static_cast<std::size_t>(r)] == stamp_) return false;
            visited_[static_cast<std::size_t>(r)] = stamp_;
            const char* srec = Data(static_cast<int>(r));
            for (int e = 0; e < kEntriesPerRecord && !ended; ++e) {
                const char* entry = srec + e * kEntrySize;
                if (Blank(entry)) {
                    ended = true;
                    break;
                }
                SpeciesEntry s;
                s.name = Number(entry);
                for (int l = 0; l < kLayerCount; ++l)
                    s.covers[l] = DecodeCoverField(std::string_view(entry + kNameSize + 2 * l, 2));
                out.species.push_back(s);
            }
            if (!ParseInteger(std::string_view(srec + 504, 6), r)) return false;
        }
        return true;
    }

    std::string Item(int i, int n) override {
        if (i < 1 || i > f_.recordCount_) return {};
        const char* rec = Index(i);
        if (n >= 2 && n <= 7) {
            char field[8];
            std::memcpy(field, rec + 16 + 8 * (n - 2), 8);
            if (n == 5 && (field[0] == 'T' || field[0] == 'W')) field[0] = ' ';  // the datum mark
            return DecodeField(std::string_view(field, 8), f_.utf8_);
        }
        if (n >= 8 && n <= kItemCount) return DecodeField(std::string_view(rec + 64 + 4 * (n - 8), 4), f_.utf8_);
        return {};
    }

    std::string NameOf(std::uint32_t name) override { return f_.NameText(name); }

private:
    static constexpr int kIndexBlock = 1024;  // records
    static constexpr int kDataBlock = 2048;

    static bool Blank(const char* field) {
        for (int c = 0; c < kNameSize; ++c)
            if (static_cast<unsigned char>(field[c]) > 0x20) return false;
        return true;
    }

    std::uint32_t Number(const char* field) {
        std::uint32_t id = names_.Find(field);
        if (id == FlatKeyTable<kNameSize>::kAbsent) {
            id = f_.NumberOf(field);
            names_.Insert(field, id);
        }
        return id;
    }

    // Record `r` of a member, through a block of `block` records that starts at the record
    // asked for when it follows closely on the last one.
    struct Window {
        std::vector<char> buf, one;
        const char* bytes = nullptr;
        long long lo = 0, hi = 0, last = -1;
    };
    static const char* Get(const PairMember& m, Window& w, long long r, int size, int block, long long count) {
        if (r >= w.lo && r < w.hi) {
            w.last = r;
            return w.bytes + (r - w.lo) * size;
        }
        const bool near = r > w.last && r < w.last + block;
        w.last = r;
        if (!near)
            return m.At(static_cast<std::uint64_t>(r) * static_cast<std::uint64_t>(size),
                        static_cast<std::size_t>(size), w.one);
        w.lo = r;
        w.hi = std::min(count, r + block);
        w.bytes = m.At(static_cast<std::uint64_t>(r) * static_cast<std::uint64_t>(size),
                       static_cast<std::size_t>((w.hi - w.lo) * size), w.buf);
        return w.bytes;
    }
    const char* Index(int i) { return Get(f_.index_, index_, i, kIndexRecordSize, kIndexBlock, f_.recordCount_ + 1); }
    const char* Data(int r) { return Get(f_.data_, data_, r, kDataRecordSize, kDataBlock, f_.DataRecordCount()); }

    FieldFiles& f_;
    Window index_, data_;
    FlatKeyTable<kNameSize> names_;  // what this reader has met; the numbers are the pair's
    std::vector<std::uint32_t> visited_;
    std::uint32_t stamp_ = 0;
};

// ---- The pair ----------------------------------------------------------------------------

std::string DataFileOf(const std::string& indexPath) {
    const std::string exact = DataPathFor(indexPath);
    const std::string found = FindFileAnyCase(exact);
    return found.empty() ? exact : found;
}

FieldFiles::FieldFiles(const std::string& indexPath) {
    const auto open = [](PairMember& m, const std::string& path) {
        std::string why;
        if (!m.Open(path, why)) throw std::runtime_error(std::string(Tr(kBadFieldFiles)) + ": " + why);
        // An empty pair is a mistake, not a pair of no relevés.
        if (m.Size() == 0)
            throw std::runtime_error(std::string(Tr(kBadFieldFiles)) + ": " + Arg(Tr("%1 は空のファイルです"), {path}));
    };
    open(index_, indexPath);
    const std::string dataPath = DataFileOf(indexPath);
    open(data_, dataPath);
    Measure();
    CheckPair(indexPath, dataPath);
}

void FieldFiles::CheckPair(const std::string& indexPath, const std::string& dataPath) {
    const auto mismatch = [&](const std::string& why) {
        problem_ = WithReason(Arg(Tr("%1 と %2 は組が合っていないか、途中で切れています"), {indexPath, dataPath}), why);
    };
    // A pair written whole holds whole records and links only into its own data file. A cut
    // file is still read as far as it goes (what cannot be read is skipped and listed), but
    // an index beside another pair's data file would be read as wrong species, so say it.
    const long long records = DataRecordCount();
    constexpr int kBlock = 4096;
    std::vector<char> buf;
    for (int first = 1; first <= recordCount_; first += kBlock) {
        const int n = std::min(kBlock, recordCount_ - first + 1);
        const char* block = index_.At(static_cast<std::uint64_t>(first) * kIndexRecordSize,
                                      static_cast<std::size_t>(n) * kIndexRecordSize, buf);
        for (int k = 0; k < n; ++k) {
            long long r = 0;
            if (ParseInteger(std::string_view(block + static_cast<std::size_t>(k) * kIndexRecordSize + 248, 6), r) &&
                r >= records)
                return mismatch(
                    Arg(Tr("索引の測定 %1 がデータファイルの終わりより先を指しています"), {std::to_string(first + k)}));
        }
    }
    if (index_.Size() % kIndexRecordSize != 0)
        return mismatch(Tr("索引ファイルの大きさが 256 バイトの倍数ではありません"));
    if (data_.Size() % kDataRecordSize != 0)
        return mismatch(Tr("データファイルの大きさが 512 バイトの倍数ではありません"));
}

FieldFiles::FieldFiles(std::string indexBytes, std::string dataBytes)
    : index_(std::move(indexBytes)), data_(std::move(dataBytes)) {
    Measure();
}

FieldFiles::~FieldFiles() = default;

namespace {

bool AllAscii(const char* p, std::size_t n) {
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ull) return false;
    }
    for (; i < n; ++i)
        if (static_cast<unsigned char>(p[i]) >= 0x80) return false;
    return true;
}

constexpr std::size_t kScanBlock = std::size_t{1} << 20;

// Whether the whole member is ASCII, read block by block.
bool MemberAscii(const PairMember& m) {
    std::vector<char> buf;
    for (std::uint64_t at = 0; at < m.Size(); at += kScanBlock) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kScanBlock, m.Size() - at));
        if (!AllAscii(m.At(at, n, buf), n)) return false;
    }
    return true;
}

// Whether the whole member is valid UTF-8, read block by block; a character that a block
// boundary cuts is carried over to the next block.
bool MemberUtf8(const PairMember& m) {
    std::vector<char> buf;
    std::string carry;
    for (std::uint64_t at = 0; at < m.Size(); at += kScanBlock) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kScanBlock, m.Size() - at));
        const char* p = m.At(at, n, buf);
        std::string_view block(p, n);
        std::string joined;
        if (!carry.empty()) {
            joined = carry + std::string(block);
            block = joined;
        }
        std::size_t cut = block.size();
        if (at + n < m.Size()) {
            // Back to the start of the last character, if it lies within the last four bytes.
            for (std::size_t back = 1; back <= 4 && back <= block.size(); ++back) {
                if ((static_cast<unsigned char>(block[block.size() - back]) & 0xC0) != 0x80) {
                    cut = block.size() - back;
                    break;
                }
            }
        }
        if (!IsValidUtf8(block.substr(0, cut))) return false;
        carry.assign(block.substr(cut));
    }
    return carry.empty() || IsValidUtf8(carry);
}

}  // namespace

void FieldFiles::Measure() {
    recordCount_ = static_cast<int>(std::max<std::uint64_t>(index_.Size() / kIndexRecordSize, 1) - 1);
    current_.fill(' ');
    std::vector<char> buf;
    const std::size_t headerSize = static_cast<std::size_t>(std::min<std::uint64_t>(data_.Size(), kDataRecordSize));
    header_.assign(data_.At(0, headerSize, buf), headerSize);
    const bool asciiIndex = MemberAscii(index_);
    utf8_ = (!asciiIndex || !MemberAscii(data_)) && (asciiIndex || MemberUtf8(index_)) && MemberUtf8(data_);
    own_ = std::make_unique<FieldReader>(*this);
}

std::string FieldFiles::Identity() const {
    if (index_.Identity().empty() || data_.Identity().empty()) return {};
    return index_.Identity() + "|" + data_.Identity();
}

std::unique_ptr<ReleveReader> FieldFiles::NewReader() { return std::make_unique<FieldReader>(*this); }

std::uint32_t FieldFiles::NumberOf(const char* field) {
    std::lock_guard lock(namesMutex_);
    const auto [id, added] = nameIds_.Insert(field, static_cast<std::uint32_t>(names_.size()));
    if (added) names_.push_back(DecodeField(std::string_view(field, kNameSize), utf8_));
    return id;
}

std::string FieldFiles::NameText(std::uint32_t name) const {
    std::lock_guard lock(namesMutex_);
    return names_[name];
}

std::string FieldFiles::ItemText(int n) const {
    const std::string_view rec(current_.data(), current_.size());
    if (n >= 2 && n <= 7) return DecodeField(rec.substr(16 + 8 * static_cast<std::size_t>(n - 2), 8), utf8_);
    if (n >= 8 && n <= kItemCount) return DecodeField(rec.substr(64 + 4 * static_cast<std::size_t>(n - 8), 4), utf8_);
    return {};
}

bool FieldFiles::ReadReleve(int i, PlantSet& set) {
    DecodedReleve rel;
    rel.codeK = set.codeK;
    rel.codeD = set.codeD;
    const bool ok = own_->ReadInto(i, rel, &current_);
    if (i >= 1 && i <= recordCount_ && (current_[40] == 'T' || current_[40] == 'W')) current_[40] = ' ';
    set.codeK = rel.codeK;
    set.codeD = rel.codeD;
    if (set.entries.size() < rel.species.size() + 1) set.entries.resize(rel.species.size() + 1);
    for (std::size_t e = 0; e < rel.species.size(); ++e) {
        PlantEntry& p = set.entries[e + 1];
        p.name = NameText(rel.species[e].name);
        p.covers = rel.species[e].covers;
    }
    set.count = static_cast<int>(rel.species.size());
    return ok;
}

}  // namespace tavik
