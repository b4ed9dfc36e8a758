#include "core/table_changes.h"

#include <algorithm>
#include <utility>

namespace tavik {

// ---- Composites ----------------------------------------------------------------------------

bool CompositeChange::Apply(Table& t) {
    if (!firstRun_) {
        for (auto& part : parts_) part->Apply(t);
        return true;
    }
    firstRun_ = false;
    std::vector<std::unique_ptr<TableChange>> done;
    for (auto& part : parts_)
        if (part->Apply(t)) done.push_back(std::move(part));
    parts_ = std::move(done);
    return !parts_.empty();
}

void CompositeChange::Revert(Table& t) {
    for (auto it = parts_.rbegin(); it != parts_.rend(); ++it) (*it)->Revert(t);
}

void CompositeChange::SetBetweenPasses(std::function<void()> betweenPasses) {
    for (auto& part : parts_) part->SetBetweenPasses(betweenPasses);
}

// ---- Reorders -------------------------------------------------------------------------------

ReorderChange::ReorderChange(bool countsSpecies, bool countsReleves, std::function<Reordering(Table&)> first)
    : countsSpecies_(countsSpecies), countsReleves_(countsReleves), first_(std::move(first)) {}

namespace {

bool MovesNothing(const SortOrder& o) {
    for (std::size_t i = 0; i < o.order.size(); ++i)
        if (o.order[i] != o.first + static_cast<int>(i)) return false;
    return true;
}

}  // namespace

bool ReorderChange::Apply(Table& t) {
    BetweenPasses();
    if (first_) {
        if (countsSpecies_) {
            speciesCounts_ = t.MemoSpeciesCounts();
            BetweenPasses();
        }
        if (countsReleves_) {
            releveCounts_ = t.MemoReleveCounts();
            BetweenPasses();
        }
        applied_ = first_(t);
        first_ = nullptr;
        // The same order and the same counts: the recounts wrote back what was there.
        return !(MovesNothing(applied_.species) && MovesNothing(applied_.releves) && speciesCounts_.empty() &&
                 releveCounts_.empty());
    }
    if (const SortOrder& o = applied_.species; !o.order.empty()) t.PermuteSpecies(o.first, o.order);
    if (const SortOrder& o = applied_.releves; !o.order.empty()) t.PermuteReleves(o.first, o.order);
    if (countsSpecies_) {
        t.RecountSpecies();
        BetweenPasses();
    }
    if (countsReleves_) t.RecountReleves();
    return true;
}

void ReorderChange::Revert(Table& t) {
    BetweenPasses();
    if (const SortOrder& o = applied_.releves; !o.order.empty())
        t.PermuteReleves(o.first, InverseOrder(o.first, o.order));
    if (const SortOrder& o = applied_.species; !o.order.empty())
        t.PermuteSpecies(o.first, InverseOrder(o.first, o.order));
    if (countsSpecies_) {
        t.RestoreSpeciesCounts(speciesCounts_);
        BetweenPasses();
    }
    if (countsReleves_) t.RestoreReleveCounts(releveCounts_);
}

std::unique_ptr<ReorderChange> SortChange(Axis axis, int first, int last, bool descending, Progress* progress) {
    const bool species = axis == Axis::Species;
    return std::make_unique<ReorderChange>(species, !species, [=](Table& t) -> Reordering {
        if (species) return {SortSpecies(t, first, last, descending, progress), {}};
        return {{}, SortReleves(t, first, last, descending, progress)};
    });
}

// ---- Moves, deletions, insertions ----------------------------------------------------------------

namespace {

CountMemo MemoCounts(Table& t, Axis axis) {
    return axis == Axis::Species ? t.MemoSpeciesCounts() : t.MemoReleveCounts();
}

void RestoreCounts(Table& t, Axis axis, const CountMemo& memo) {
    if (axis == Axis::Species) t.RestoreSpeciesCounts(memo);
    else t.RestoreReleveCounts(memo);
}

}  // namespace

bool MoveLineChange::Apply(Table& t) {
    BetweenPasses();
    if (firstRun_) {
        counts_ = MemoCounts(t, axis_);
        BetweenPasses();
    }
    const bool species = axis_ == Axis::Species;
    const bool moved = species ? t.MoveRow(from_, to_) : t.MoveColumn(from_, to_);
    firstRun_ = false;
    if (!moved) return false;
    if (species) t.RecountSpecies();
    else t.RecountReleves();
    return true;
}

void MoveLineChange::Revert(Table& t) {
    BetweenPasses();
    if (axis_ == Axis::Species) t.MoveRow(to_, from_);
    else t.MoveColumn(to_, from_);
    RestoreCounts(t, axis_, counts_);
}

bool DeleteLineChange::Apply(Table& t) {
    BetweenPasses();
    if (firstRun_) {
        speciesCounts_ = t.MemoSpeciesCounts();
        BetweenPasses();
        releveCounts_ = t.MemoReleveCounts();
        BetweenPasses();
        firstRun_ = false;
    }
    return axis_ == Axis::Species ? t.DeleteRowCommand(index_, &removed_) : t.DeleteColumnCommand(index_, &removed_);
}

void DeleteLineChange::Revert(Table& t) {
    BetweenPasses();
    t.PutBack(removed_);
    removed_ = RemovedLines{};
    t.RestoreSpeciesCounts(speciesCounts_);
    BetweenPasses();
    t.RestoreReleveCounts(releveCounts_);
}

bool InsertLineChange::Apply(Table& t) {
    BetweenPasses();
    if (firstRun_) {
        counts_ = MemoCounts(t, axis_);
        BetweenPasses();
        firstRun_ = false;
    }
    return axis_ == Axis::Species ? t.InsertRow(index_, &inserted_) : t.InsertColumn(index_, &inserted_);
}

void InsertLineChange::Revert(Table& t) {
    BetweenPasses();
    t.TakeBack(inserted_);
    RestoreCounts(t, axis_, counts_);
}

// ---- Recount and retrieval --------------------------------------------------------------------

bool RecountChange::Apply(Table& t) {
    BetweenPasses();
    if (firstRun_) {
        firstRun_ = false;
        species_ = t.MemoSpeciesCounts();
        BetweenPasses();
        releves_ = t.MemoReleveCounts();
        if (species_.empty() && releves_.empty()) return false;
        BetweenPasses();
    }
    t.RecountReleves();
    BetweenPasses();
    t.RecountSpecies();
    return true;
}

void RecountChange::Revert(Table& t) {
    BetweenPasses();
    t.RestoreSpeciesCounts(species_);
    BetweenPasses();
    t.RestoreReleveCounts(releves_);
}

bool AppendChange::Apply(Table& t) {
    if (!put_) {
        t.RestoreTail(after_);
        after_ = TableTail{};
        t.CodeK = digitsAfter_.k;
        t.CodeD = digitsAfter_.d;
        return true;
    }
    // The spare lines the put may take into use, and the counts it will rewrite.
    before_ = t.CopyTail(t.SpeciesCount() + 1, t.MaxSpecies(), t.ReleveCount() + 1, t.MaxReleve());
    digitsBefore_ = {t.CodeK, t.CodeD};
    CodeDigits found;
    try {
        found = put_(t);
    } catch (...) {
        error_ = std::current_exception();
    }
    put_ = nullptr;
    if (found.k >= 0) t.CodeK = found.k;
    if (found.d >= 0) t.CodeD = found.d;
    digitsAfter_ = {t.CodeK, t.CodeD};
    // Only the spare lines the append took into use changed.
    const auto usedSpecies = static_cast<std::size_t>(std::max(0, t.SpeciesCount() - before_.speciesCount));
    const auto usedReleves = static_cast<std::size_t>(std::max(0, t.ReleveCount() - before_.releveCount));
    if (before_.species.size() > usedSpecies) before_.species.resize(usedSpecies);
    if (before_.releves.size() > usedReleves) before_.releves.resize(usedReleves);
    // Nothing put in, nothing recounted and the same codes: nothing to take back.
    return usedSpecies > 0 || usedReleves > 0 || !before_.speciesCounts.empty() || !before_.releveCounts.empty() ||
           digitsAfter_.k != digitsBefore_.k || digitsAfter_.d != digitsBefore_.d;
}

void AppendChange::Revert(Table& t) {
    after_ = t.CopyTail(before_.speciesCount + 1, t.SpeciesCount(), before_.releveCount + 1, t.ReleveCount());
    t.RestoreTail(before_);
    t.CodeK = digitsBefore_.k;
    t.CodeD = digitsBefore_.d;
}

// ---- Whole tables and edits ------------------------------------------------------------------

bool ReplaceTableChange::Apply(Table& t) {
    std::swap(t, other_);
    return true;
}

bool TextEditChange::Apply(Table& t) {
    if (firstRun_) {
        firstRun_ = false;
        if (edit_.kind == EditableKind::None || edit_.after == edit_.before) return false;
    }
    ApplyTextEdit(t, edit_, true);
    return true;
}

void TextEditChange::Revert(Table& t) { ApplyTextEdit(t, edit_, false); }

bool CoverEditChange::Apply(Table& t) {
    if (firstRun_) {
        firstRun_ = false;
        if (edit_.after == edit_.before && edit_.textAfter == edit_.textBefore) return false;
        BetweenPasses();
        speciesCounts_ = t.MemoSpeciesCounts();
        BetweenPasses();
        releveCounts_ = t.MemoReleveCounts();
        BetweenPasses();
    }
    ApplyCoverEdit(t, edit_, true);
    t.RecountReleves();
    BetweenPasses();
    t.RecountSpecies();
    return true;
}

void CoverEditChange::Revert(Table& t) {
    BetweenPasses();
    ApplyCoverEdit(t, edit_, false);
    t.RestoreSpeciesCounts(speciesCounts_);
    BetweenPasses();
    t.RestoreReleveCounts(releveCounts_);
}

bool SpeciesNameChange::Apply(Table& t) {
    old_ = t.SpeciesName(key_);
    if (old_ == name_) return false;
    t.SetSpeciesName(key_, name_);
    return true;
}

bool TitleChange::Apply(Table& t) {
    old_ = t.TableTitle;
    if (old_ == title_) return false;
    t.TableTitle = title_;
    return true;
}

}  // namespace tavik
