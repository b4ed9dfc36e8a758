// Reversing changes to the table. A change keeps only what it overwrote: a reorder its
// permutation, a deletion the content of the keys it took out, an insertion what its spare
// key held; the recount that ends most changes is kept as its differences from a fresh
// recount, which are none for a table that was counted.
#include <algorithm>
#include <new>

#include "core/table.h"

namespace tavik {

std::vector<int> InverseOrder(int first, const std::vector<int>& order) {
    std::vector<int> inverse(order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        inverse[static_cast<std::size_t>(order[i] - first)] = first + static_cast<int>(i);
    return inverse;
}

// ---- Recounts --------------------------------------------------------------------------------

// The species' memo runs the real recount and compares, so that it can never disagree with
// it, then puts back what was there.
CountMemo Table::MemoSpeciesCounts() {
    CountMemo m;
    const int S = SpeciesCount();
    if (S <= 0) return m;
    std::vector<Species> old(static_cast<std::size_t>(S) + 1);
    for (int p = 1; p <= S; ++p) {
        Species& s = sp_[static_cast<std::size_t>(species_.KeyAt(p))];
        old[static_cast<std::size_t>(p)] = {std::move(s.seq), {}, std::move(s.freq), s.seqWhole, s.freqWhole};
    }
    const std::vector<std::int32_t> occurrences = species_.Occurrences();
    RecountSpecies();
    for (int p = 1; p <= S; ++p) {
        const int key = species_.KeyAt(p);
        Species& s = sp_[static_cast<std::size_t>(key)];
        Species& was = old[static_cast<std::size_t>(p)];
        if (s.seq != was.seq || s.seqWhole != was.seqWhole) m.texts.push_back({key, 0, was.seq, was.seqWhole});
        if (s.freq != was.freq || s.freqWhole != was.freqWhole) m.texts.push_back({key, 1, was.freq, was.freqWhole});
        s.seq = std::move(was.seq);
        s.freq = std::move(was.freq);
        s.seqWhole = was.seqWhole;
        s.freqWhole = was.freqWhole;
        const std::int32_t n = occurrences[static_cast<std::size_t>(p)];
        if (species_.Occurrences()[static_cast<std::size_t>(p)] != n) {
            m.occurrences.emplace_back(p, n);
            species_.SetOccurrences(p, n);
        }
    }
    return m;
}

// The relevés' memo only reads: a table of 100,000 relevés would otherwise have its header
// texts written twice over. It compares with what the recount would write, worked out by
// the recount's own counting.
CountMemo Table::MemoReleveCounts() {
    CountMemo m;
    const int R = ReleveCount();
    if (R <= 0) return m;
    const std::vector<FreshNumbers> fresh = FreshReleveNumbers();
    for (int q = 1; q <= R; ++q) {
        const auto [n, number] = fresh[static_cast<std::size_t>(q)];
        const int key = releves_.KeyAt(q);
        const Releve& r = rel_[static_cast<std::size_t>(key)];
        if (const std::string_view text = r.head.Get(1); text != CountText(number) || r.numberWhole != number)
            m.texts.push_back({key, 0, std::string(text), r.numberWhole});
        if (const std::string_view text = r.head.Get(fnRow_); text != CountText(n) || r.countWhole != n)
            m.texts.push_back({key, 1, std::string(text), r.countWhole});
        if (const std::int32_t was = releves_.Occurrences()[static_cast<std::size_t>(q)]; was != n)
            m.occurrences.emplace_back(q, was);
    }
    return m;
}

void Table::RestoreSpeciesCounts(const CountMemo& m) {
    RecountSpecies();
    for (const auto& t : m.texts) {
        Species& s = sp_[static_cast<std::size_t>(t.key)];
        (t.slot == 0 ? s.seq : s.freq) = t.text;
        (t.slot == 0 ? s.seqWhole : s.freqWhole) = t.whole;
    }
    for (const auto& [p, n] : m.occurrences) species_.SetOccurrences(p, n);
    contentVersion_ = NextVersion();
}

void Table::RestoreReleveCounts(const CountMemo& m) {
    RecountReleves();
    for (const auto& t : m.texts) {
        SetHeaderText(t.key, t.slot == 0 ? 1 : fnRow_, t.text);
        Releve& r = rel_[static_cast<std::size_t>(t.key)];
        (t.slot == 0 ? r.numberWhole : r.countWhole) = t.whole;
    }
    for (const auto& [q, n] : m.occurrences) releves_.SetOccurrences(q, n);
    contentVersion_ = NextVersion();
}

// ---- Content of keys ---------------------------------------------------------------------

std::vector<SpeciesContent> Table::CopySpeciesMany(const std::vector<int>& keys) const {
    std::vector<SpeciesContent> out(keys.size());
    std::vector<int> slot(sp_.size(), -1);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto k = static_cast<std::size_t>(keys[i]);
        slot[k] = static_cast<int>(i);
        out[i].key = keys[i];
        out[i].seq = sp_[k].seq;
        out[i].name = sp_[k].name;
        out[i].freq = sp_[k].freq;
        out[i].seqWhole = sp_[k].seqWhole;
        out[i].freqWhole = sp_[k].freqWhole;
    }
    // One pass over the cells when many species are asked for; a binary search per
    // relevé for a few.
    const bool few = keys.size() < 8;
    for (int r = 0; r <= MaxReleve(); ++r) {
        auto take = [&](const Cell& c) {
            SpeciesContent& sc = out[static_cast<std::size_t>(slot[static_cast<std::size_t>(c.species)])];
            sc.cells.emplace_back(r, c);
            if (c.len == kLongText) sc.longTexts.push_back(CellTextOf(r, c));
        };
        if (few) {
            for (int k : keys)
                if (const Cell* c = FindCell(r, k)) take(*c);
        } else {
            for (const Cell& c : rel_[static_cast<std::size_t>(r)].cells)
                if (static_cast<std::size_t>(c.species) < slot.size() && slot[static_cast<std::size_t>(c.species)] >= 0)
                    take(c);
        }
    }
    return out;
}

SpeciesContent Table::CopySpecies(int spKey) const { return std::move(CopySpeciesMany({spKey}).front()); }

ReleveContent Table::CopyReleve(int relKey) const {
    const Releve& r = rel_[static_cast<std::size_t>(relKey)];
    ReleveContent c;
    c.key = relKey;
    c.cells = r.cells;
    for (const Cell& cell : r.cells)
        if (cell.len == kLongText) c.longTexts.push_back(CellTextOf(relKey, cell));
    c.head = r.head;
    c.record = r.record;
    c.numberWhole = r.numberWhole;
    c.countWhole = r.countWhole;
    return c;
}

void Table::PutSpecies(const SpeciesContent& c) {
    Species& s = sp_[static_cast<std::size_t>(c.key)];
    s.seq = c.seq;
    s.name = c.name;
    s.freq = c.freq;
    s.seqWhole = c.seqWhole;
    s.freqWhole = c.freqWhole;
    for (int r = 0; r <= MaxReleve(); ++r) {
        Cell* cell = FindCell(r, c.key);
        if (!cell) continue;
        if (cell->len == kLongText) longTexts_.erase(LongKey(r, c.key));
        auto& v = rel_[static_cast<std::size_t>(r)].cells;
        v.erase(v.begin() + (cell - v.data()));
    }
    std::size_t longText = 0;
    for (const auto& [r, cell] : c.cells) {
        GetOrAddCell(r, c.key) = cell;
        if (cell.len == kLongText) longTexts_[LongKey(r, c.key)] = c.longTexts[longText++];
    }
    contentVersion_ = NextVersion();
}

void Table::PutReleve(const ReleveContent& c) {
    ClearReleveContent(c.key);
    Releve& r = rel_[static_cast<std::size_t>(c.key)];
    r.cells = c.cells;
    std::size_t longText = 0;
    for (const Cell& cell : c.cells)
        if (cell.len == kLongText) longTexts_[LongKey(c.key, cell.species)] = c.longTexts[longText++];
    r.head = c.head;
    r.record = c.record;
    r.numberWhole = c.numberWhole;
    r.countWhole = c.countWhole;
    contentVersion_ = NextVersion();
}

// ---- Growth --------------------------------------------------------------------------------

TableShape Table::Shape() const {
    TableShape s;
    s.maxSpecies = MaxSpecies();
    s.maxReleve = MaxReleve();
    s.rowCount = rowCount_;
    s.rowSizes = rowHeights_.size();
    s.colSizes = colWidths_.size();
    s.extra = extra_;
    return s;
}

// Growing again goes in the same steps as the growth it repeats, so that the new spare
// lines come out numbered as they did then.
void Table::RestoreShape(const TableShape& s) {
    while (MaxSpecies() < s.maxSpecies)
        if (!GrowSpeciesTo(MaxSpecies() + 1)) throw std::bad_alloc();
    while (MaxReleve() < s.maxReleve)
        if (!GrowRelevesTo(MaxReleve() + 1)) throw std::bad_alloc();
    if (MaxSpecies() > s.maxSpecies) {
        for (int r = 0; r <= MaxReleve(); ++r) {
            auto& v = rel_[static_cast<std::size_t>(r)].cells;
            while (!v.empty() && v.back().species > s.maxSpecies) {
                if (v.back().len == kLongText) longTexts_.erase(LongKey(r, v.back().species));
                v.pop_back();
            }
        }
        sp_.resize(static_cast<std::size_t>(s.maxSpecies) + 1);
        species_.Shrink(s.maxSpecies);
    }
    if (MaxReleve() > s.maxReleve) {
        for (int r = s.maxReleve + 1; r <= MaxReleve(); ++r) ClearReleveContent(r);
        rel_.resize(static_cast<std::size_t>(s.maxReleve) + 1);
        releves_.Shrink(s.maxReleve);
    }
    rowCount_ = s.rowCount;
    rowHeights_.resize(s.rowSizes, kDefaultSize);
    colWidths_.resize(s.colSizes, kDefaultSize);
    extra_ = s.extra;
    layoutVersion_ = NextVersion();
    contentVersion_ = NextVersion();
}

// ---- Deletion and insertion -------------------------------------------------------------------

bool Table::DeleteRowCommand(int row, RemovedLines* removed) {
    if (!removed) return DeleteRowCommand(row);
    if (!IsUsedSpeciesRow(row)) return false;
    *removed = RemovedLines{};
    const int p = row - fnRow_;
    removed->species.emplace_back(p, CopySpecies(species_.KeyAt(p)));
    DeleteRow(row);
    RecountSpecies();
    RecountReleves();
    for (int q = 1; q <= ReleveCount(); ++q)
        if (RelNumSp()[static_cast<std::size_t>(q)] == 0)
            removed->releves.emplace_back(q, CopyReleve(releves_.KeyAt(q)));
    for (int key : releves_.CloseUp([&](int q) { return RelNumSp()[static_cast<std::size_t>(q)] == 0; }))
        ClearReleveContent(key);
    return true;
}

bool Table::DeleteColumnCommand(int col, RemovedLines* removed) {
    if (!removed) return DeleteColumnCommand(col);
    if (!IsUsedReleveCol(col)) return false;
    *removed = RemovedLines{};
    removed->axis = Axis::Releves;
    const int q = RelevePosOfColumn(col);
    removed->releves.emplace_back(q, CopyReleve(releves_.KeyAt(q)));
    DeleteColumn(col);
    RecountReleves();
    RecountSpecies();
    std::vector<int> positions, keys;
    for (int p = 1; p <= SpeciesCount(); ++p)
        if (SpFreq()[static_cast<std::size_t>(p)] == 0) {
            positions.push_back(p);
            keys.push_back(species_.KeyAt(p));
        }
    std::vector<SpeciesContent> contents = CopySpeciesMany(keys);
    for (std::size_t i = 0; i < positions.size(); ++i)
        removed->species.emplace_back(positions[i], std::move(contents[i]));
    ClearSpeciesContents(species_.CloseUp([&](int p) { return SpFreq()[static_cast<std::size_t>(p)] == 0; }));
    return true;
}

// The line the user deleted lost its cells in the lines its cascade took: the cascade
// comes back first, then the line with all its cells.
void Table::PutBack(const RemovedLines& removed) {
    auto species = [&] {
        for (const auto& [p, c] : removed.species) {
            species_.Reinsert(p, c.key);
            PutSpecies(c);
        }
    };
    auto releves = [&] {
        for (const auto& [q, c] : removed.releves) {
            releves_.Reinsert(q, c.key);
            PutReleve(c);
        }
    };
    if (removed.axis == Axis::Releves) {
        species();
        releves();
    } else {
        releves();
        species();
    }
}

bool Table::InsertRow(int row, InsertedLine* inserted) {
    if (!inserted) return InsertRow(row);
    if (!IsInsertableRow(row)) return false;
    *inserted = InsertedLine{};
    inserted->axis = Axis::Species;
    inserted->pos = row - fnRow_;
    inserted->shape = Shape();
    const int spare = SpeciesCount() + 1;
    inserted->spareSpecies.key = -1;
    if (spare <= MaxSpecies()) inserted->spareSpecies = CopySpecies(species_.KeyAt(spare));
    if (InsertRow(row)) return true;
    // Memory ran out while growing, perhaps part of the way: what grew is given back.
    RestoreShape(inserted->shape);
    return false;
}

bool Table::InsertColumn(int col, InsertedLine* inserted) {
    if (!inserted) return InsertColumn(col);
    if (!IsInsertableCol(col)) return false;
    *inserted = InsertedLine{};
    inserted->axis = Axis::Releves;
    inserted->pos = RelevePosOfColumn(col);
    inserted->shape = Shape();
    const int spare = ReleveCount() + 1;
    inserted->spareReleve.key = -1;
    if (spare <= MaxReleve()) inserted->spareReleve = CopyReleve(releves_.KeyAt(spare));
    if (InsertColumn(col)) return true;
    // Memory ran out while growing, perhaps part of the way: what grew is given back.
    RestoreShape(inserted->shape);
    return false;
}

void Table::TakeBack(const InsertedLine& ins) {
    if (ins.axis == Axis::Species) {
        species_.Remove(ins.pos);
        if (ins.spareSpecies.key >= 0) PutSpecies(ins.spareSpecies);
    } else {
        releves_.Remove(ins.pos);
        if (ins.spareReleve.key >= 0) PutReleve(ins.spareReleve);
    }
    RestoreShape(ins.shape);
}

// ---- Appends ---------------------------------------------------------------------------------

TableTail Table::CopyTail(int speciesFrom, int speciesTo, int relevesFrom, int relevesTo) {
    TableTail t;
    t.speciesCount = SpeciesCount();
    t.releveCount = ReleveCount();
    t.shape = Shape();
    t.speciesFrom = speciesFrom;
    t.relevesFrom = relevesFrom;
    std::vector<int> keys;
    for (int p = speciesFrom; p <= std::min(speciesTo, MaxSpecies()); ++p) keys.push_back(species_.KeyAt(p));
    t.species = CopySpeciesMany(keys);
    for (int q = relevesFrom; q <= std::min(relevesTo, MaxReleve()); ++q)
        t.releves.push_back(CopyReleve(releves_.KeyAt(q)));
    t.speciesCounts = MemoSpeciesCounts();
    t.releveCounts = MemoReleveCounts();
    return t;
}

void Table::RestoreTail(const TableTail& t) {
    species_.SetCount(std::min(t.speciesCount, MaxSpecies()));
    releves_.SetCount(std::min(t.releveCount, MaxReleve()));
    RestoreShape(t.shape);
    species_.SetCount(t.speciesCount);
    releves_.SetCount(t.releveCount);
    for (const SpeciesContent& c : t.species) PutSpecies(c);
    for (const ReleveContent& c : t.releves) PutReleve(c);
    RestoreSpeciesCounts(t.speciesCounts);
    RestoreReleveCounts(t.releveCounts);
}

}  // namespace tavik
