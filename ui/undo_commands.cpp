#include "ui/undo_commands.h"

#include <algorithm>
#include <utility>

#include "ui/main_window.h"

namespace tavik::ui {

// ---- TableCommand ---------------------------------------------------------------------------

TableCommand::TableCommand(MainWindow* window, const QString& name, Refresh refresh)
    : QUndoCommand(name), window_(window), refresh_(refresh) {}

Table& TableCommand::table() { return window_->workspace().table; }

bool TableCommand::applyFirst() {
    redo();
    appliedFirst_ = !isObsolete();
    return appliedFirst_;
}

void TableCommand::redo() {
    // Pushed after applyFirst(): the stack's first redo finds the work done.
    if (appliedFirst_) {
        appliedFirst_ = false;
        return;
    }
    apply();
    firstRun_ = false;
    if (!isObsolete()) window_->tableCommandDone(refresh_ == Refresh::Layout);
}

void TableCommand::undo() {
    revert();
    window_->tableCommandDone(refresh_ == Refresh::Layout);
}

FunctionCommand::FunctionCommand(MainWindow* window, const QString& name, std::function<void(Table&)> apply,
                                 std::function<void(Table&)> revert, Refresh refresh)
    : TableCommand(window, name, refresh), apply_(std::move(apply)), revert_(std::move(revert)) {}

// ---- Reorders ---------------------------------------------------------------------------------

ReorderCommand::ReorderCommand(MainWindow* window, const QString& name, bool countsSpecies,
                               bool countsReleves, std::function<Applied(Table&)> first)
    : TableCommand(window, name), countsSpecies_(countsSpecies), countsReleves_(countsReleves),
      first_(std::move(first)) {}

void ReorderCommand::apply() {
    Table& t = table();
    if (firstRun()) {
        if (countsSpecies_) speciesCounts_ = t.MemoSpeciesCounts();
        if (countsReleves_) releveCounts_ = t.MemoReleveCounts();
        applied_ = first_(t);
        first_ = nullptr;
        return;
    }
    if (!applied_.species.order.empty()) t.PermuteSpecies(applied_.species.first, applied_.species.order);
    if (!applied_.releves.order.empty()) t.PermuteReleves(applied_.releves.first, applied_.releves.order);
    if (countsSpecies_) t.Check_SpeciesNumber();
    if (countsReleves_) t.Check_TableNumber();
}

void ReorderCommand::revert() {
    Table& t = table();
    if (const SortOrder& o = applied_.releves; !o.order.empty()) t.PermuteReleves(o.first, InverseOrder(o.first, o.order));
    if (const SortOrder& o = applied_.species; !o.order.empty()) t.PermuteSpecies(o.first, InverseOrder(o.first, o.order));
    if (countsSpecies_) t.RestoreSpeciesCounts(speciesCounts_);
    if (countsReleves_) t.RestoreReleveCounts(releveCounts_);
}

// ---- Moves ---------------------------------------------------------------------------------------

MoveLineCommand::MoveLineCommand(MainWindow* window, bool species, int from, int to)
    : TableCommand(window, species ? QStringLiteral("行の移動") : QStringLiteral("列の移動")),
      species_(species), from_(from), to_(to) {}

void MoveLineCommand::apply() {
    Table& t = table();
    if (firstRun()) counts_ = species_ ? t.MemoSpeciesCounts() : t.MemoReleveCounts();
    const bool moved = species_ ? t.MoveRow(from_, to_) : t.MoveColumn(from_, to_);
    if (!moved) {
        setObsolete(true);
        return;
    }
    if (species_) t.Check_SpeciesNumber();
    else t.Check_TableNumber();
}

void MoveLineCommand::revert() {
    Table& t = table();
    if (species_) {
        t.MoveRow(to_, from_);
        t.RestoreSpeciesCounts(counts_);
    } else {
        t.MoveColumn(to_, from_);
        t.RestoreReleveCounts(counts_);
    }
}

// ---- Deletion and insertion ------------------------------------------------------------------------

DeleteLineCommand::DeleteLineCommand(MainWindow* window, bool species, int gridIndex)
    : TableCommand(window, species ? QStringLiteral("行の削除") : QStringLiteral("列の削除")),
      species_(species), index_(gridIndex) {}

void DeleteLineCommand::apply() {
    Table& t = table();
    if (firstRun()) {
        speciesCounts_ = t.MemoSpeciesCounts();
        releveCounts_ = t.MemoReleveCounts();
    }
    const bool done = species_ ? t.DeleteRowCommand(index_, &removed_) : t.DeleteColumnCommand(index_, &removed_);
    if (!done) setObsolete(true);
}

void DeleteLineCommand::revert() {
    Table& t = table();
    t.PutBack(removed_);
    removed_ = RemovedLines{};
    t.RestoreSpeciesCounts(speciesCounts_);
    t.RestoreReleveCounts(releveCounts_);
}

InsertLineCommand::InsertLineCommand(MainWindow* window, bool species, int gridIndex)
    : TableCommand(window, species ? QStringLiteral("行の挿入") : QStringLiteral("列の挿入")),
      species_(species), index_(gridIndex) {}

void InsertLineCommand::apply() {
    Table& t = table();
    if (firstRun()) counts_ = species_ ? t.MemoSpeciesCounts() : t.MemoReleveCounts();
    const bool done = species_ ? t.InsertRow(index_, &inserted_) : t.InsertColumn(index_, &inserted_);
    if (!done) setObsolete(true);
}

void InsertLineCommand::revert() {
    Table& t = table();
    t.TakeBack(inserted_);
    if (species_) t.RestoreSpeciesCounts(counts_);
    else t.RestoreReleveCounts(counts_);
}

// ---- Recount ---------------------------------------------------------------------------------------

RecountCommand::RecountCommand(MainWindow* window, CountMemo species, CountMemo releves)
    : TableCommand(window, QStringLiteral("出現頻度の再計算")), species_(std::move(species)),
      releves_(std::move(releves)) {}

void RecountCommand::revert() {
    table().RestoreSpeciesCounts(species_);
    table().RestoreReleveCounts(releves_);
}

// ---- Appends ---------------------------------------------------------------------------------------

AppendCommand::AppendCommand(MainWindow* window, TableTail before)
    : TableCommand(window, QStringLiteral("表へのデータ追加")), before_(std::move(before)) {
    // Only the spare lines the append took into use changed.
    const Table& t = window->workspace().table;
    const auto usedSpecies = static_cast<std::size_t>(std::max(0, t.SpeciesCount() - before_.speciesCount));
    const auto usedReleves = static_cast<std::size_t>(std::max(0, t.ReleveCount() - before_.releveCount));
    if (before_.species.size() > usedSpecies) before_.species.resize(usedSpecies);
    if (before_.releves.size() > usedReleves) before_.releves.resize(usedReleves);
}

void AppendCommand::apply() {
    if (firstRun()) return;  // the retrieval has run
    table().RestoreTail(after_);
    after_ = TableTail{};
}

void AppendCommand::revert() {
    Table& t = table();
    after_ = t.CopyTail(before_.speciesCount + 1, t.SpeciesCount(), before_.releveCount + 1, t.ReleveCount());
    t.RestoreTail(before_);
}

// ---- Whole tables -------------------------------------------------------------------------------------

SwapTableCommand::SwapTableCommand(MainWindow* window, const QString& name, Table other)
    : TableCommand(window, name, Refresh::Layout), other_(std::move(other)) {}

void SwapTableCommand::apply() {
    if (!firstRun()) swap();
}

void SwapTableCommand::swap() { std::swap(table(), other_); }

}  // namespace tavik::ui
