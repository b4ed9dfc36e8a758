// Sorting species rows and relevé columns, and the range panel that chooses what to sort
// or to hide.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "core/hiding.h"
#include "core/sorting.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/panels.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::Item_SortPlantClick() {
    if (busy_) return;
    rangeMode_ = kRangeSortSpecies;
    GetTableRange();
}

void MainWindow::Item_SortReleveClick() {
    if (busy_) return;
    rangeMode_ = kRangeSortReleves;
    GetTableRange();
}

void MainWindow::GetTableRange() {
    RangePanel* p = rangePanel_;
    message_->hide();
    for (QWidget* w : {static_cast<QWidget*>(p->GBox1), static_cast<QWidget*>(p->SS1),
                       static_cast<QWidget*>(p->SS2), static_cast<QWidget*>(p->SN1),
                       static_cast<QWidget*>(p->SN2), static_cast<QWidget*>(p->Label4),
                       static_cast<QWidget*>(p->Label11), static_cast<QWidget*>(p->speciesCaption),
                       static_cast<QWidget*>(p->releveCaption)})
        w->show();
    const Table& t = ws_.table;
    auto hideSpecies = [p] {
        p->SS1->hide();
        p->SS2->hide();
        p->Label11->hide();
        p->speciesCaption->hide();
    };
    auto hideReleves = [p] {
        p->SN1->hide();
        p->SN2->hide();
        p->Label4->hide();
        p->releveCaption->hide();
    };
    switch (rangeMode_) {
        case kRangeSortSpecies:
            p->Label13->setText(QStringLiteral("並び替えをする植物範囲の指定"));
            hideReleves();
            p->SS1->setRange(1, qMax(1, t.SpeciesCount()));
            p->SS2->setRange(1, qMax(1, t.SpeciesCount()));
            p->SS1->setValue(1);
            p->SS2->setValue(t.SpeciesCount());
            break;
        case kRangeSortReleves:
            p->Label13->setText(QStringLiteral("並び替えをする範囲の指定"));
            hideSpecies();
            p->SN1->setRange(1, qMax(1, t.ReleveCount()));
            p->SN2->setRange(1, qMax(1, t.ReleveCount()));
            p->SN1->setValue(1);
            p->SN2->setValue(t.ReleveCount());
            break;
        case kRangeHide:
            p->Label13->setText(QStringLiteral("一時的に隠す範囲の指定"));
            p->GBox1->hide();
            if (p->SN1->value() == p->SN2->value()) hideReleves();
            if (p->SS1->value() == p->SS2->value()) hideSpecies();
            break;
        default:
            break;
    }
    p->Place();
    p->show();
    p->raise();
    p->BtnSortGo->setFocus();
}

void MainWindow::BtnSortGoClick() {
    if (busy_) return;
    RangePanel* p = rangePanel_;
    p->hide();
    const bool descending = p->RB_des->isChecked();
    if (rangeMode_ == kRangeSortSpecies || rangeMode_ == kRangeSortReleves) {
        Busy busy(this);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        message_->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        message_->SetAsNote(false);
        WorkProgress progress(message_, false);
        if (rangeMode_ == kRangeSortSpecies)
            SortPlants(ws_.table, p->SS1->value(), p->SS2->value(), descending, &progress);
        else
            SortReleve(ws_.table, p->SN1->value(), p->SN2->value(), descending, &progress);
        CloseWorkMess();
    } else if (rangeMode_ == kRangeHide) {
        HideTableRC(p->SN1->value(), p->SN2->value(), p->SS1->value(), p->SS2->value());
    }
    rangeMode_ = RestingRangeMode();
    SetGridForRangeMode();
    Refresh();
}

void MainWindow::BtnSortStpClick() {
    rangePanel_->hide();
    // Declining leaves the grid as it was before the panel opened.
    rangeMode_ = RestingRangeMode();
    SetGridForRangeMode();
    // The tick goes with the choosing; a block hidden before stays ticked, so that the
    // menu item still shows it again.
    if (!AnyRangeHidden(ws_.table)) hideRCTicked_ = false;
    SetTicks();
    grid_->viewport()->update();
}

}  // namespace tavik::ui
