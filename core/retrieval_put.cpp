// The putting pass: every marked relevé becomes a new column, in record order. The relevés
// are read on the pass's threads; the calling thread appends their columns and finds the
// species rows of their names in record order, so that new species rows and columns are
// numbered as one relevé after the other would number them; then the threads lay out the
// cells of those columns, and the calling thread puts them into the table.
#include <algorithm>
#include <unordered_map>

#include "core/cell_order.h"
#include "core/cover_number.h"
#include "core/cp932_width.h"
#include "core/ordered_chunks.h"
#include "core/retrieval.h"
#include "core/retrieval_passes.h"

namespace tavik {

namespace {

// One chunk of marked records on its way into the table.
struct PutChunk {
    // Read on a thread: a cell's species holds the number of its written name.
    std::vector<int> records;
    std::vector<std::uint8_t> readable, kept;  // kept: names numbered as the scans kept them
    std::vector<int> codeK, codeD;
    std::vector<std::uint32_t> start;  // of each record's cells
    std::vector<Cell> cells;           // the species with covers
    std::vector<std::string> values;   // each record's header values, in row order
    // Given on the calling thread: each record's column (0: none) and how many of its cells
    // found a species row (fewer when the rows could not grow); a cell's species is then
    // its species key.
    std::vector<int> columns;
    std::vector<std::uint32_t> placed;
    // Laid out on a thread: each record's cells from start[r] on ordered as its column keeps
    // them, `laid[r]` of them.
    std::vector<std::uint32_t> laid;
    bool laidOut = false;
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

class Retrieval::Kept::PutPass {
public:
    PutPass(Retrieval& r, Table& t, ReleveSource& src, const Dictionary& dict, RetrievalProgress* progress)
        : r_(r), t_(t), src_(src), progress_(progress),
          useKept_(r.kept_ && !r.kept_->identity.empty() && r.kept_->identity == src.Identity()),
          threads_(src.ConcurrentReaders() ? WorkerThreads() : 1), rows_(t), keptRows_(dict, rows_),
          readRows_(dict, rows_) {
        const int count = std::min(src.RecordCount(), r.RecordCount());
        for (int i = 1; i <= count; ++i)
            if (r.flags_[static_cast<std::size_t>(i)]) marked_.push_back(i);
        // The header values go into rows 2 .. FNRow-1, one per enabled item in item order;
        // item 1 (the serial number) comes from the recount.
        for (int item = 2; item <= kItemCount; ++item) {
            if (!t.ItemBoxes[static_cast<std::size_t>(item)].enabled) continue;
            if (static_cast<int>(items_.size()) + 2 >= t.FNRow()) break;
            items_.push_back(item);
        }
    }

    PutResult Run() {
        ReaderPool readers(src_, threads_);
        readers_ = &readers;
        const int chunks = marked_.empty() ? 0 : (static_cast<int>(marked_.size()) - 1) / kPutChunk + 1;
        chunks_.resize(static_cast<std::size_t>(chunks));
        // Job j reads chunk j and lays out chunk j - lag, which the calling thread has
        // given its columns by then (a job starts only once the job `ahead` before it has
        // been taken); taking job j puts chunk j - lag into the table and gives chunk j
        // its columns.
        const int ahead = threads_ * 4;
        lag_ = threads_ > 1 ? ahead : 1;
        const auto work = [this](int j) {
            if (j < Chunks()) Read(j);
            if (j >= lag_) LayOut(j - lag_);
        };
        const auto take = [this](int j) {
            if (j >= lag_) Put(j - lag_);
            return j >= Chunks() || Give(j);
        };
        try {
            RunOrderedChunks(chunks + lag_, threads_, ahead, work, take);
        } catch (...) {
            PutTheRest();
            throw;
        }
        PutTheRest();
        t_.Recount();
        return std::move(res_);
    }

private:
    int Chunks() const { return static_cast<int>(chunks_.size()); }

    // The cells of species with covers, numbered by their written names.
    static void AddCells(PutChunk& out, const SpeciesEntry* e, const SpeciesEntry* end) {
        for (; e != end; ++e) {
            if (e->covers.empty()) continue;  // a species without covers opens no row
            Cell cell;
            cell.species = static_cast<std::int32_t>(e->name);
            cell.covers = e->covers;
            cell.len = 4;
            LayerCodeInto(e->covers, cell.text);
            out.cells.push_back(cell);
        }
    }

    // On a thread: reads the marked records of chunk c, from what the scans kept where
    // they may.
    void Read(int c) {
        const std::size_t a = static_cast<std::size_t>(c) * kPutChunk;
        const std::size_t b = std::min(marked_.size(), a + kPutChunk);
        std::unique_ptr<ReleveReader> reader = readers_->Take();
        PutChunk& out = chunks_[static_cast<std::size_t>(c)];
        out.records.assign(marked_.begin() + static_cast<std::ptrdiff_t>(a),
                           marked_.begin() + static_cast<std::ptrdiff_t>(b));
        const std::size_t n = out.records.size();
        out.readable.assign(n, 0);
        out.kept.assign(n, 0);
        out.codeK.assign(n, 0);
        out.codeD.assign(n, 0);
        out.start.assign(n + 1, 0);
        out.values.reserve(n * items_.size());
        DecodedReleve rel;
        for (std::size_t r = 0; r < n; ++r) {
            const int i = out.records[r];
            out.start[r] = static_cast<std::uint32_t>(out.cells.size());
            const Kept::Ref* ref = useKept_ ? &r_.kept_->refs[static_cast<std::size_t>(i)] : nullptr;
            if (ref && ref->kept) {
                out.kept[r] = 1;
                out.readable[r] = 1;
                out.codeK[r] = ref->codeK;
                out.codeD[r] = ref->codeD;
                const SpeciesEntry* e = r_.kept_->blocks[ref->block].data() + ref->start;
                AddCells(out, e, e + ref->count);
            } else {
                out.readable[r] = reader->Read(i, rel) ? 1 : 0;
                out.codeK[r] = rel.codeK;
                out.codeD[r] = rel.codeD;
                if (out.readable[r]) AddCells(out, rel.species.data(), rel.species.data() + rel.species.size());
            }
            if (!out.readable[r]) continue;
            for (int item : items_) {
                std::string v = reader->Item(i, item);
                out.values.push_back(item <= 7 ? std::move(v) : Cp932Fit(v, 4, Cp932Align::Right));
            }
        }
        out.start[n] = static_cast<std::uint32_t>(out.cells.size());
        readers_->Give(std::move(reader));
    }

    // On the calling thread, in record order: a column for each readable record of chunk
    // c and the species rows of its names. False when the pass was stopped.
    bool Give(int c) {
        PutChunk& in = chunks_[static_cast<std::size_t>(c)];
        in.columns.assign(in.records.size(), 0);
        in.placed.assign(in.records.size(), 0);
        given_ = c + 1;
        for (std::size_t r = 0; r < in.records.size(); ++r) {
            const int i = in.records[r];
            if (progress_ && progress_->Cancelled()) {
                res_.cancelled = true;
                return false;
            }
            if (!in.readable[r]) {
                res_.skipped.push_back(i);
            } else {
                res_.lastCodeK = in.codeK[r];
                res_.lastCodeD = in.codeD[r];
                const int n = t_.AppendReleve();
                bool placed = n != 0;
                if (placed) {
                    in.columns[r] = t_.ReleveKeyAt(n);
                    placed = FindRows(in, r);
                    ++res_.put;
                }
                if (!placed) res_.notPlaced.push_back(i);
            }
            if (progress_) progress_->OnRecord(i, res_.put);
        }
        return true;
    }

    // The species keys of record r's cells; false when the rows could not grow (the
    // cells before stay).
    bool FindRows(PutChunk& in, std::size_t r) {
        const auto keptName = [&](std::uint32_t name) { return r_.kept_->names[name]; };
        const auto readName = [&](std::uint32_t name) { return readers_->Main().NameOf(name); };
        Cell* cells = in.cells.data() + in.start[r];
        const std::uint32_t n = in.start[r + 1] - in.start[r];
        for (std::uint32_t k = 0; k < n; ++k) {
            const auto name = static_cast<std::uint32_t>(cells[k].species);
            const int key = in.kept[r] ? keptRows_.KeyOf(t_, name, keptName) : readRows_.KeyOf(t_, name, readName);
            if (key == 0) return false;
            cells[k].species = key;
            in.placed[r] = k + 1;
        }
        return true;
    }

    // On a thread: the cells of chunk c as their columns keep them.
    void LayOut(int c) {
        PutChunk& in = chunks_[static_cast<std::size_t>(c)];
        in.laid.assign(in.records.size(), 0);
        for (std::size_t r = 0; r < in.columns.size(); ++r) {
            if (in.columns[r] == 0) continue;
            Cell* first = in.cells.data() + in.start[r];
            in.laid[r] = static_cast<std::uint32_t>(OrderCells(first, first + in.placed[r]) - first);
        }
        in.laidOut = true;
    }

    // On the calling thread, in record order: the columns of chunk c filled, as one relevé
    // after the other would fill them.
    void Put(int c) {
        PutChunk& in = chunks_[static_cast<std::size_t>(c)];
        if (!in.laidOut) LayOut(c);
        std::size_t value = 0;
        for (std::size_t r = 0; r < in.records.size(); ++r) {
            if (!in.readable[r]) continue;
            const int relKey = in.columns[r];
            if (relKey != 0) {
                for (std::size_t k = 0; k < items_.size(); ++k)
                    t_.SetHeaderText(relKey, static_cast<int>(k) + 2, in.values[value + k]);
                LayerCovers record{};
                record[0] = static_cast<std::uint8_t>(in.codeK[r]);
                record[1] = static_cast<std::uint8_t>(in.codeD[r]);
                t_.SetReleveRecord(relKey, record);
                Cell* first = in.cells.data() + in.start[r];
                t_.SetCells(relKey, first, first + in.laid[r]);
            }
            value += items_.size();
        }
        in = PutChunk{};
        put_ = c + 1;
    }

    // The chunks that have their columns but are not yet in the table: after a stop, or
    // when a read failed.
    void PutTheRest() {
        for (int c = put_; c < given_; ++c) Put(c);
    }

    Retrieval& r_;
    Table& t_;
    ReleveSource& src_;
    RetrievalProgress* progress_;
    const bool useKept_;
    const int threads_;
    std::vector<int> marked_, items_;
    SpeciesRows rows_;
    RowsOfNames keptRows_, readRows_;
    ReaderPool* readers_ = nullptr;
    std::vector<PutChunk> chunks_;
    int lag_ = 0, given_ = 0, put_ = 0;
    PutResult res_;
};

PutResult Retrieval::Put(Table& t, ReleveSource& src, const Dictionary& dict, RetrievalProgress* progress) {
    return Kept::PutPass(*this, t, src, dict, progress).Run();
}

}  // namespace tavik
