// Sorting species rows and relevé columns, and the range panel that chooses what to sort
// or to hide.
#include "core/hiding.h"
#include "core/sorting.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/panels.h"
#include "ui/undo_commands.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::sortSpecies() {
    if (busy_) return;
    rangeMode_ = RangeMode::SortSpecies;
    showRangePanel();
}

void MainWindow::sortReleves() {
    if (busy_) return;
    rangeMode_ = RangeMode::SortReleves;
    showRangePanel();
}

void MainWindow::showRangePanel() {
    message_->hide();
    if (rangeMode_ == RangeMode::SortSpecies) rangePanel_->openForSpeciesSort(ws_.table.SpeciesCount());
    else rangePanel_->openForReleveSort(ws_.table.ReleveCount());
}

void MainWindow::applyRange() {
    if (busy_) return;
    rangePanel_->hide();
    const TableRange range = rangePanel_->range();
    const bool descending = rangePanel_->descending();
    if (rangeMode_ == RangeMode::SortSpecies || rangeMode_ == RangeMode::SortReleves) {
        auto busy = BusyScope::working(this);
        WorkProgress progress(message_, false);
        if (rangeMode_ == RangeMode::SortSpecies)
            pushChange(QStringLiteral("植物を頻度順で並び替え"),
                       SortChange(Axis::Species, range.p1, range.p2, descending, &progress));
        else
            pushChange(QStringLiteral("測定を種数順で並び替え"),
                       SortChange(Axis::Releves, range.q1, range.q2, descending, &progress));
    } else if (rangeMode_ == RangeMode::Hide) {
        HideRange(ws_.table, range.q1, range.q2, range.p1, range.p2);
    }
    rangeMode_ = restingRangeMode();
    setGridForRangeMode();
    refresh();
}

void MainWindow::cancelRange() {
    rangePanel_->hide();
    // Declining leaves the grid as it was before the panel opened.
    rangeMode_ = restingRangeMode();
    setGridForRangeMode();
    // The tick goes with the choosing; a block hidden before stays ticked, so that the
    // menu item still shows it again.
    if (!AnyRangeHidden(ws_.table)) hideRangesTicked_ = false;
    updateTicks();
    grid_->viewport()->update();
}

}  // namespace tavik::ui
