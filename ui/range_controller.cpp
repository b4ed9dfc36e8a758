// Sorting species rows and relevé columns, hiding blocks and the site rows, and the range
// panel that chooses what to sort or to hide.
#include "ui/range_controller.h"

#include <QCoreApplication>

#include "core/hiding.h"
#include "core/sorting.h"
#include "ui/busy_scope.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/undo_commands.h"
#include "ui/window_services.h"
#include "ui/work_message.h"

namespace tavik::ui {

RangeController::RangeController(WindowServices& window, CompositionGrid* grid, QWidget* panelParent, QObject* parent)
    : QObject(parent), window_(window), ws_(window.workspace()), grid_(grid), panel_(new RangePanel(panelParent)) {
    connect(panel_, &RangePanel::applyRequested, this, &RangeController::applyRange);
    connect(panel_, &RangePanel::cancelRequested, this, &RangeController::cancelRange);
}

void RangeController::reset() {
    hideRangesTicked_ = false;
    hideSiteTicked_ = false;
    mode_ = RangeMode::None;
}

RangeMode RangeController::restingMode() const { return hideSiteTicked_ ? RangeMode::SiteRowsHidden : RangeMode::None; }

void RangeController::setGridForMode() {
    const bool select = mode_ != RangeMode::None;
    grid_->setRangeSelect(select);
    grid_->setRowMoving(!select);
    grid_->setColumnMoving(!select);
}

void RangeController::openForSelection() {
    const QRect sel = grid_->selectedRect();
    const TableRange range = RangeOfSelection(ws_.table, sel.left(), sel.top(), sel.right(), sel.bottom());
    grid_->setRangeSelect(false);
    grid_->setRowMoving(true);
    grid_->setColumnMoving(true);
    window_.workMessage()->hide();
    panel_->openForHiding(range, ws_.table.ReleveCount(), ws_.table.SpeciesCount());
}

void RangeController::onGridLeftReleased() {
    if (!window_.workMessage()->isHidden() && !window_.isBusy() && mode_ != RangeMode::None) openForSelection();
}

void RangeController::sortSpecies() {
    if (window_.isBusy()) return;
    mode_ = RangeMode::SortSpecies;
    showRangePanel();
}

void RangeController::sortReleves() {
    if (window_.isBusy()) return;
    mode_ = RangeMode::SortReleves;
    showRangePanel();
}

void RangeController::showRangePanel() {
    window_.workMessage()->hide();
    if (mode_ == RangeMode::SortSpecies) panel_->openForSpeciesSort(ws_.table.SpeciesCount());
    else panel_->openForReleveSort(ws_.table.ReleveCount());
}

void RangeController::applyRange() {
    if (window_.isBusy()) return;
    panel_->hide();
    const TableRange range = panel_->range();
    const bool descending = panel_->descending();
    if (mode_ == RangeMode::SortSpecies || mode_ == RangeMode::SortReleves) {
        auto busy = BusyScope::working(&window_);
        WorkProgress progress(window_.workMessage(), false);
        if (mode_ == RangeMode::SortSpecies)
            window_.pushChange(QCoreApplication::translate("RangeController", "植物を頻度順で並び替え"),
                               SortChange(Axis::Species, range.p1, range.p2, descending, &progress));
        else
            window_.pushChange(QCoreApplication::translate("RangeController", "測定を種数順で並び替え"),
                               SortChange(Axis::Releves, range.q1, range.q2, descending, &progress));
    } else if (mode_ == RangeMode::Hide) {
        HideRange(ws_.table, range.q1, range.q2, range.p1, range.p2);
    }
    mode_ = restingMode();
    setGridForMode();
    window_.refresh();
}

void RangeController::cancelRange() {
    panel_->hide();
    // Declining leaves the grid as it was before the panel opened.
    mode_ = restingMode();
    setGridForMode();
    // The tick goes with the choosing; a block hidden before stays ticked, so that the
    // menu item still shows it again.
    if (!AnyRangeHidden(ws_.table)) hideRangesTicked_ = false;
    window_.updateTicks();
    grid_->viewport()->update();
}

// ---- Hiding ----------------------------------------------------------------------------------------

void RangeController::toggleHiddenRanges() {
    if (window_.isBusy()) return;
    if (hideRangesTicked_) {
        ShowHiddenRanges(ws_.table);
        hideRangesTicked_ = false;
        if (mode_ == RangeMode::Hide) {
            // Still choosing: the instruction goes with the tick.
            window_.workMessage()->hide();
            panel_->hide();
            mode_ = restingMode();
            setGridForMode();
        }
        window_.updateTicks();
        window_.refresh();
        return;
    }
    mode_ = RangeMode::Hide;
    setGridForMode();
    // The instruction stays while the user drags; the mouse goes through it to the grid.
    window_.workMessage()->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    window_.workMessage()->setAsNote(true);
    window_.workMessage()->showMessage(
        QCoreApplication::translate("RangeController", "行・列の範囲指定は、マウスの"),
        QCoreApplication::translate("RangeController", "左ボタンを押しながらドラッグする"));
    hideRangesTicked_ = true;
    window_.updateTicks();
}

void RangeController::toggleSiteRows() {
    if (window_.isBusy()) return;
    if (hideSiteTicked_) {
        ShowSiteRows(ws_.table);
        hideSiteTicked_ = false;
        mode_ = RangeMode::None;
    } else {
        HideSiteRows(ws_.table);
        hideSiteTicked_ = true;
        mode_ = RangeMode::SiteRowsHidden;
    }
    setGridForMode();
    window_.updateTicks();
    window_.refresh();
}

}  // namespace tavik::ui
