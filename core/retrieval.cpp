#include "core/retrieval.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

#include "core/cover_number.h"
#include "core/cp932_width.h"
#include "core/ordered_chunks.h"

namespace tavik {

std::string_view TrimBlanks(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
}

std::string RecordList(const std::vector<int>& records) {
    std::string s;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i == 20) {
            s += ", ...";
            break;
        }
        if (i) s += ", ";
        s += std::to_string(records[i]);
    }
    return s;
}

std::string SkippedRecordsMessage(std::vector<int> records) {
    if (records.empty()) return {};
    std::sort(records.begin(), records.end());
    records.erase(std::unique(records.begin(), records.end()), records.end());
    return "読み取れない測定 " + std::to_string(records.size()) + " 件をとばしました: " + RecordList(records);
}

std::string NotPlacedRecordsMessage(const std::vector<int>& records) {
    if (records.empty()) return {};
    return "表が大きくなれず組み込めなかった測定 " + std::to_string(records.size()) + " 件: " + RecordList(records);
}

// ---- Readers ------------------------------------------------------------------------------

namespace {

// Reads through ReleveSource::ReadReleve and ItemText, numbering the written names itself.
class PlantSetReader : public ReleveReader {
public:
    explicit PlantSetReader(ReleveSource& src) : src_(src) {}

    bool Read(int i, DecodedReleve& out) override {
        const bool ok = src_.ReadReleve(i, set_);
        current_ = i;
        out.codeK = set_.codeK;
        out.codeD = set_.codeD;
        out.species.clear();
        for (int e = 1; e <= set_.count; ++e) {
            const PlantEntry& p = set_.entries[static_cast<std::size_t>(e)];
            const auto [it, added] = ids_.try_emplace(p.name, static_cast<std::uint32_t>(names_.size()));
            if (added) names_.push_back(p.name);
            out.species.push_back(SpeciesEntry{it->second, p.covers});
        }
        return ok;
    }
    std::string Item(int i, int n) override {
        if (i != current_) {
            src_.ReadReleve(i, set_);
            current_ = i;
        }
        return src_.ItemText(n);
    }
    std::string NameOf(std::uint32_t name) override { return names_[name]; }

private:
    ReleveSource& src_;
    PlantSet set_;
    int current_ = 0;
    std::unordered_map<std::string, std::uint32_t> ids_;
    std::vector<std::string> names_;
};

// Whether some layer reaches cover class `coverClass` (10 x class and above; class "+" is 0).
bool ReachesClass(const LayerCovers& covers, int coverClass) {
    for (int l = 0; l < kLayerCount; ++l)
        if (covers[l] >= 10 * coverClass) return true;
    return false;
}

// Readers for the threads of one pass, and one for the thread that runs it.
class ReaderPool {
public:
    ReaderPool(ReleveSource& src, int threads) {
        for (int i = 0; i < threads; ++i) free_.push_back(src.NewReader());
        // A source that reads on one thread only has one reader, shared with the pass.
        main_ = src.ConcurrentReaders() ? src.NewReader() : nullptr;
    }
    std::unique_ptr<ReleveReader> Take() {
        std::lock_guard lock(m_);
        auto r = std::move(free_.back());
        free_.pop_back();
        return r;
    }
    void Give(std::unique_ptr<ReleveReader> r) {
        std::lock_guard lock(m_);
        free_.push_back(std::move(r));
    }
    // For the calling thread, between chunks.
    ReleveReader& Main() { return main_ ? *main_ : *free_.front(); }

private:
    std::mutex m_;
    std::vector<std::unique_ptr<ReleveReader>> free_;
    std::unique_ptr<ReleveReader> main_;
};

constexpr int kScanChunk = 1024;  // records per chunk of a scan
constexpr int kPutChunk = 256;    // marked records per chunk of a putting pass

}  // namespace

std::unique_ptr<ReleveReader> ReleveSource::NewReader() { return std::make_unique<PlantSetReader>(*this); }

// ---- What the scans keep for the putting pass -------------------------------------------------

struct Retrieval::Kept {
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
    std::string identity;                    // of the source the relevés came from
    struct Ref {
        std::uint32_t block = 0, start = 0, count = 0;
        int codeK = 0, codeD = 0;
        bool kept = false;
    };
    std::vector<Ref> refs;                   // by record number
    std::vector<std::vector<SpeciesEntry>> blocks;
    // Name numbers of their own, so that relevés kept by scans over different openings of
    // the source meet.
    std::vector<std::string> names;
    std::unordered_map<std::string, std::uint32_t> ids;
    std::size_t bytes = 0;
    int count = 0;

    std::uint32_t Number(const std::string& name) {
        const auto [it, added] = ids.try_emplace(name, static_cast<std::uint32_t>(names.size()));
        if (added) names.push_back(name);
        return it->second;
    }
};

Retrieval::Retrieval() = default;
Retrieval::~Retrieval() = default;
Retrieval::Retrieval(Retrieval&&) noexcept = default;
Retrieval& Retrieval::operator=(Retrieval&&) noexcept = default;

void Retrieval::ForgetKept() { kept_.reset(); }

int Retrieval::KeptCount() const {
    if (!kept_) return 0;
    int n = 0;
    for (int i = 1; i <= RecordCount() && static_cast<std::size_t>(i) < kept_->refs.size(); ++i)
        if (flags_[static_cast<std::size_t>(i)] && kept_->refs[static_cast<std::size_t>(i)].kept) ++n;
    return n;
}

void Retrieval::Reset(int recordCount) {
    flags_.assign(static_cast<std::size_t>(std::max(recordCount, 0)) + 1, 0);
    ForgetKept();
}

void Retrieval::BeginNewScan() {
    hitCount_ = 0;
    std::fill(flags_.begin(), flags_.end(), 0);
    ForgetKept();
}

bool Retrieval::Marked(int record) const {
    return record >= 1 && record < static_cast<int>(flags_.size()) &&
           flags_[static_cast<std::size_t>(record)] != 0;
}

void Retrieval::CheckConditions(const ScanParams& params) {
    for (const SpeciesCondition& c : params.conditions)
        if (c.coverClass < 0 || c.coverClass >= kCoverClassCount)
            throw std::invalid_argument("被度階級が選ばれていません");
}

// ---- The scan -------------------------------------------------------------------------------

namespace {

enum Outcome : std::uint8_t {
    kUnreadable,  // skipped
    kNotLooked,   // read, but the mesh code does not match: the flag stays
    kCleared,
    kMarked,
};

// What the threads found in one chunk of records.
struct ScanChunk {
    std::vector<std::uint8_t> outcome;
    std::vector<int> codeK, codeD;
    // The species of marked relevés, for the putting pass.
    std::vector<int> keptRecords;
    std::vector<std::uint32_t> keptStart;
    std::vector<SpeciesEntry> keptEntries;
};

// Per reader: for each name number, whether its standard name is each condition's name.
class ConditionNames {
public:
    ConditionNames(const std::array<SpeciesCondition, kConditionCount>& cond, const Dictionary& dict)
        : cond_(cond), dict_(dict) {}
    bool Is(ReleveReader& reader, std::uint32_t name, int k) {
        if (name >= known_.size()) known_.resize(name + 1, 0);
        std::uint8_t& m = known_[name];
        if (!(m & kKnown)) {
            const std::string standard = dict_.SynToCommonName(reader.NameOf(name));
            m = kKnown;
            for (int c = 0; c < kConditionCount; ++c)
                if (!cond_[static_cast<std::size_t>(c)].name.empty() && standard == cond_[static_cast<std::size_t>(c)].name)
                    m |= static_cast<std::uint8_t>(1u << c);
        }
        return (m >> k) & 1u;
    }

private:
    static constexpr std::uint8_t kKnown = 0x80;
    const std::array<SpeciesCondition, kConditionCount>& cond_;
    const Dictionary& dict_;
    std::vector<std::uint8_t> known_;
};

}  // namespace

ScanResult Retrieval::Scan(ReleveSource& src, const Dictionary& dict, const ScanParams& params,
                           RetrievalProgress* progress) {
    CheckConditions(params);

    const int count = src.RecordCount();
    if (RecordCount() != count) {
        // Flags follow the file; an additional scan keeps those that still apply.
        flags_.resize(static_cast<std::size_t>(std::max(count, 0)) + 1, 0);
        ForgetKept();
    }
    if (!params.additional) BeginNewScan();

    ScanResult res;
    const std::string mesh(TrimBlanks(params.meshPrefix));
    const auto& cond = params.conditions;
    const int first = std::max(params.first, 1);
    const int last = std::min(params.last, count);
    if (last < first) {
        res.hits = hitCount_;
        return res;
    }

    const std::string identity = src.Identity();
    if (kept_ && kept_->identity != identity) ForgetKept();
    const bool keep = !identity.empty() && keepBudget_ > 0;
    if (keep && !kept_) {
        kept_ = std::make_unique<Kept>();
        kept_->identity = identity;
        kept_->refs.resize(flags_.size());
    }
    std::atomic<std::size_t> keptBytes{kept_ ? kept_->bytes : 0};

    const int threads = src.ConcurrentReaders() ? WorkerThreads() : 1;
    ReaderPool readers(src, threads);
    std::mutex namesMutex;
    std::vector<std::unique_ptr<ConditionNames>> freeNames;
    for (int i = 0; i < threads; ++i) freeNames.push_back(std::make_unique<ConditionNames>(cond, dict));

    const int chunks = (last - first) / kScanChunk + 1;
    std::vector<ScanChunk> results(static_cast<std::size_t>(chunks));

    auto work = [&](int c) {
        const int a = first + c * kScanChunk;
        const int b = std::min(last, a + kScanChunk - 1);
        std::unique_ptr<ReleveReader> reader = readers.Take();
        std::unique_ptr<ConditionNames> names;
        {
            std::lock_guard lock(namesMutex);
            names = std::move(freeNames.back());
            freeNames.pop_back();
        }
        ScanChunk& out = results[static_cast<std::size_t>(c)];
        const std::size_t n = static_cast<std::size_t>(b - a + 1);
        out.outcome.assign(n, kUnreadable);
        out.codeK.assign(n, 0);
        out.codeD.assign(n, 0);
        DecodedReleve rel;
        auto has = [&](int k) {
            for (const SpeciesEntry& e : rel.species)
                if (ReachesClass(e.covers, cond[static_cast<std::size_t>(k)].coverClass) &&
                    names->Is(*reader, e.name, k))
                    return true;
            return false;
        };
        for (int i = a; i <= b; ++i) {
            const std::size_t at = static_cast<std::size_t>(i - a);
            if (!reader->Read(i, rel)) continue;
            out.codeK[at] = rel.codeK;
            out.codeD[at] = rel.codeD;
            if (!mesh.empty()) {
                const std::string code = reader->Item(i, 7);
                if (code.size() < mesh.size() || code.compare(0, mesh.size(), mesh) != 0) {
                    out.outcome[at] = kNotLooked;
                    continue;
                }
            }
            bool flag = flags_[static_cast<std::size_t>(i)] != 0;  // this record's own, read only
            const bool h1 = cond[0].name.empty() || has(0);
            if (h1) flag = cond[0].connective != Connective::None;
            else if (cond[0].connective == Connective::None) flag = true;
            for (int k = 1; k < kConditionCount; ++k) {
                if (cond[static_cast<std::size_t>(k)].name.empty()) break;  // later ones are not looked at
                const bool h = has(k);
                switch (cond[static_cast<std::size_t>(k)].connective) {
                    case Connective::Or: flag = flag || h; break;
                    case Connective::And: flag = flag && h; break;
                    case Connective::None: flag = flag && !h; break;
                }
            }
            out.outcome[at] = flag ? kMarked : kCleared;
            if (flag && keep) {
                const std::size_t bytes = rel.species.size() * sizeof(SpeciesEntry) + 16;
                if (keptBytes.fetch_add(bytes) + bytes <= keepBudget_) {
                    out.keptRecords.push_back(i);
                    out.keptStart.push_back(static_cast<std::uint32_t>(out.keptEntries.size()));
                    out.keptEntries.insert(out.keptEntries.end(), rel.species.begin(), rel.species.end());
                } else {
                    keptBytes.fetch_sub(bytes);
                }
            }
        }
        out.keptStart.push_back(static_cast<std::uint32_t>(out.keptEntries.size()));
        if (out.keptEntries.capacity() > out.keptEntries.size() + out.keptEntries.size() / 4)
            out.keptEntries.shrink_to_fit();
        {
            std::lock_guard lock(namesMutex);
            freeNames.push_back(std::move(names));
        }
        readers.Give(std::move(reader));
    };

    // The reader's name numbers -> the kept ones.
    std::vector<std::uint32_t> keptName;
    auto take = [&](int c) {
        ScanChunk& in = results[static_cast<std::size_t>(c)];
        const int a = first + c * kScanChunk;
        const int n = static_cast<int>(in.outcome.size());
        int taken = 0;
        bool more = true;
        for (; taken < n; ++taken) {
            const int i = a + taken;
            if (progress && progress->Cancelled()) {
                res.cancelled = true;
                more = false;
                break;
            }
            ++res.examined;
            const std::size_t at = static_cast<std::size_t>(taken);
            std::uint8_t& flag = flags_[static_cast<std::size_t>(i)];
            switch (in.outcome[at]) {
                case kUnreadable: res.skipped.push_back(i); break;
                case kNotLooked: break;
                case kCleared: flag = 0; break;
                case kMarked: flag = 1; break;
            }
            if (in.outcome[at] != kUnreadable) {
                res.lastCodeK = in.codeK[at];
                res.lastCodeD = in.codeD[at];
            }
            if (flag) ++hitCount_;
            if (progress) progress->OnRecord(i, hitCount_);
        }
        if (kept_ && !in.keptRecords.empty()) {
            ReleveReader& reader = readers.Main();
            Kept& k = *kept_;
            const auto block = static_cast<std::uint32_t>(k.blocks.size());
            for (SpeciesEntry& e : in.keptEntries) {
                if (e.name >= keptName.size()) keptName.resize(e.name + 1, Kept::kNone);
                std::uint32_t& to = keptName[e.name];
                if (to == Kept::kNone) to = k.Number(reader.NameOf(e.name));
                e.name = to;
            }
            for (std::size_t r = 0; r < in.keptRecords.size(); ++r) {
                const int i = in.keptRecords[r];
                if (i >= a + taken) break;  // not taken: the scan was stopped before it
                Kept::Ref& ref = k.refs[static_cast<std::size_t>(i)];
                const std::size_t at = static_cast<std::size_t>(i - a);
                if (!ref.kept) ++k.count;
                ref = Kept::Ref{block, in.keptStart[r], in.keptStart[r + 1] - in.keptStart[r], in.codeK[at], in.codeD[at], true};
                k.bytes += ref.count * sizeof(SpeciesEntry) + 16;
            }
            k.blocks.push_back(std::move(in.keptEntries));
        }
        in = ScanChunk{};
        return more;
    };

    RunOrderedChunks(chunks, threads, threads * 4, work, take);
    res.hits = hitCount_;
    return res;
}

// ---- The putting pass ---------------------------------------------------------------------

namespace {

// What the threads read of one chunk of marked records, ready for the table but for the
// species rows: a cell's species holds the number of its written name.
struct PutChunk {
    std::vector<int> records;
    std::vector<std::uint8_t> readable, kept;  // kept: names numbered as the scans kept them
    std::vector<int> codeK, codeD;
    std::vector<std::uint32_t> start;          // of each record's cells
    std::vector<Cell> cells;                   // the species with covers
    std::vector<std::string> values;           // each record's header values, in row order
};

// Standard name -> the first species row of that name, kept up to date while rows are
// appended during one putting pass.
class SpeciesRows {
public:
    explicit SpeciesRows(const Table& t) {
        first_.reserve(static_cast<std::size_t>(t.SpeciesCount()) * 2 + 16);
        for (int p = 1; p <= t.SpeciesCount(); ++p) {
            const int key = t.SpeciesKeyAt(p);
            first_.try_emplace(t.SpeciesName(key), key);
        }
    }
    // The species key of the first row named `name`, or 0.
    int Find(const std::string& name) const {
        auto it = first_.find(name);
        return it == first_.end() ? 0 : it->second;
    }
    void Appended(const std::string& name, int speciesKey) { first_.try_emplace(name, speciesKey); }

private:
    std::unordered_map<std::string, int> first_;
};

// Name number -> species key, for one numbering of names during one putting pass. Rows are
// only appended meanwhile, so a name keeps the row it first found.
class RowsOfNames {
public:
    RowsOfNames(const Dictionary& dict, SpeciesRows& rows) : dict_(dict), rows_(rows) {}
    // The species key of written name `name` (through `nameOf`), appending a row when the
    // table has none of its standard name; 0 when the rows could not grow.
    template <class NameOf>
    int KeyOf(Table& t, std::uint32_t name, NameOf&& nameOf) {
        if (name < keys_.size() && keys_[name] != 0) return keys_[name];
        const std::string standard = dict_.SynToCommonName(nameOf(name));
        int key = rows_.Find(standard);
        if (key == 0) {
            const int p = t.AppendSpecies(standard);
            if (p == 0) return 0;
            key = t.SpeciesKeyAt(p);
            rows_.Appended(standard, key);
        }
        if (name >= keys_.size()) keys_.resize(name + 1, 0);
        keys_[name] = key;
        return key;
    }

private:
    const Dictionary& dict_;
    SpeciesRows& rows_;
    std::vector<int> keys_;
};

}  // namespace

PutResult Retrieval::Put(Table& t, ReleveSource& src, const Dictionary& dict,
                         RetrievalProgress* progress) {
    PutResult res;
    const int count = std::min(src.RecordCount(), RecordCount());
    std::vector<int> marked;
    for (int i = 1; i <= count; ++i)
        if (flags_[static_cast<std::size_t>(i)]) marked.push_back(i);

    const bool useKept = kept_ && !kept_->identity.empty() && kept_->identity == src.Identity();
    // The header values go into rows 2 .. FNRow-1, one per enabled item in item order; item 1
    // (the serial number) comes from the recount.
    std::vector<int> items;
    for (int item = 2; item <= kItemCount; ++item) {
        if (!t.ItemBoxes[static_cast<std::size_t>(item)].enabled) continue;
        if (static_cast<int>(items.size()) + 2 >= t.FNRow()) break;
        items.push_back(item);
    }

    const int threads = src.ConcurrentReaders() ? WorkerThreads() : 1;
    ReaderPool readers(src, threads);
    const int chunks = marked.empty() ? 0 : (static_cast<int>(marked.size()) - 1) / kPutChunk + 1;
    std::vector<PutChunk> results(static_cast<std::size_t>(chunks));

    auto work = [&](int c) {
        const std::size_t a = static_cast<std::size_t>(c) * kPutChunk;
        const std::size_t b = std::min(marked.size(), a + kPutChunk);
        std::unique_ptr<ReleveReader> reader = readers.Take();
        PutChunk& out = results[static_cast<std::size_t>(c)];
        out.records.assign(marked.begin() + static_cast<std::ptrdiff_t>(a), marked.begin() + static_cast<std::ptrdiff_t>(b));
        const std::size_t n = out.records.size();
        out.readable.assign(n, 0);
        out.kept.assign(n, 0);
        out.codeK.assign(n, 0);
        out.codeD.assign(n, 0);
        out.start.assign(n + 1, 0);
        out.values.reserve(n * items.size());
        DecodedReleve rel;
        auto addCells = [&](const SpeciesEntry* e, const SpeciesEntry* end) {
            for (; e != end; ++e) {
                if (e->covers.empty()) continue;  // a species without covers opens no row
                Cell cell;
                cell.species = static_cast<std::int32_t>(e->name);
                cell.covers = e->covers;
                cell.len = 4;
                LayerCodeInto(e->covers, cell.text);
                out.cells.push_back(cell);
            }
        };
        for (std::size_t r = 0; r < n; ++r) {
            const int i = out.records[r];
            out.start[r] = static_cast<std::uint32_t>(out.cells.size());
            const Kept::Ref* ref = useKept ? &kept_->refs[static_cast<std::size_t>(i)] : nullptr;
            if (ref && ref->kept) {
                out.kept[r] = 1;
                out.readable[r] = 1;
                out.codeK[r] = ref->codeK;
                out.codeD[r] = ref->codeD;
                const SpeciesEntry* e = kept_->blocks[ref->block].data() + ref->start;
                addCells(e, e + ref->count);
            } else {
                out.readable[r] = reader->Read(i, rel) ? 1 : 0;
                out.codeK[r] = rel.codeK;
                out.codeD[r] = rel.codeD;
                if (out.readable[r]) addCells(rel.species.data(), rel.species.data() + rel.species.size());
            }
            if (out.readable[r])
                for (int item : items) {
                    std::string v = reader->Item(i, item);
                    out.values.push_back(item <= 7 ? std::move(v) : Cp932Fit(v, 4, Cp932Align::Right));
                }
        }
        out.start[n] = static_cast<std::uint32_t>(out.cells.size());
        readers.Give(std::move(reader));
    };

    SpeciesRows rows(t);
    RowsOfNames keptRows(dict, rows), readRows(dict, rows);
    auto keptName = [&](std::uint32_t name) { return kept_->names[name]; };
    auto readName = [&](std::uint32_t name) { return readers.Main().NameOf(name); };

    // Puts one relevé into column n; false when the species rows could not grow (the
    // cells placed so far stay).
    auto putColumn = [&](int n, int codeK, int codeD, std::string* values, Cell* first, Cell* last, bool kept) {
        const int relKey = t.ReleveKeyAt(n);
        for (std::size_t k = 0; k < items.size(); ++k)
            t.SetHeaderText(relKey, static_cast<int>(k) + 2, std::move(values[k]));
        LayerCovers record{};
        record[0] = static_cast<std::uint8_t>(codeK);
        record[1] = static_cast<std::uint8_t>(codeD);
        t.SetReleveRecord(relKey, record);
        bool ok = true;
        Cell* c = first;
        for (; c != last; ++c) {
            const auto name = static_cast<std::uint32_t>(c->species);
            const int key = kept ? keptRows.KeyOf(t, name, keptName) : readRows.KeyOf(t, name, readName);
            if (key == 0) {
                ok = false;
                break;
            }
            c->species = key;
        }
        t.SetCells(relKey, first, c);
        return ok;
    };

    auto take = [&](int c) {
        PutChunk& in = results[static_cast<std::size_t>(c)];
        std::size_t value = 0;
        for (std::size_t r = 0; r < in.records.size(); ++r) {
            const int i = in.records[r];
            if (progress && progress->Cancelled()) {
                res.cancelled = true;
                return false;
            }
            if (!in.readable[r]) {
                res.skipped.push_back(i);
            } else {
                res.lastCodeK = in.codeK[r];
                res.lastCodeD = in.codeD[r];
                const int n = t.AppendReleve();
                bool placed = n != 0;
                if (placed) {
                    placed = putColumn(n, in.codeK[r], in.codeD[r], in.values.data() + value,
                                       in.cells.data() + in.start[r], in.cells.data() + in.start[r + 1], in.kept[r] != 0);
                    ++res.put;
                }
                if (!placed) res.notPlaced.push_back(i);
                value += items.size();
            }
            if (progress) progress->OnRecord(i, res.put);
        }
        in = PutChunk{};
        return true;
    };

    RunOrderedChunks(chunks, threads, threads * 4, work, take);
    t.Recount();
    return res;
}

}  // namespace tavik
