// A long command of the main window: while it runs, the menus, the grid and the panels
// take no input (the work message's stop button still does).
#pragma once

#include <QMenuBar>

#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"

namespace tavik::ui {

class MainWindow::Busy {
public:
    explicit Busy(MainWindow* w) : w_(w), outer_(w->busy_) {
        if (outer_) return;
        w_->busy_ = true;
        w_->menuBar()->setEnabled(false);
        for (QWidget* x : {static_cast<QWidget*>(w_->grid_), static_cast<QWidget*>(w_->retrPanel_),
                           static_cast<QWidget*>(w_->rangePanel_),
                           static_cast<QWidget*>(w_->searchPanel_)})
            x->setEnabled(false);
    }
    ~Busy() {
        if (outer_) return;
        w_->menuBar()->setEnabled(true);
        for (QWidget* x : {static_cast<QWidget*>(w_->grid_), static_cast<QWidget*>(w_->retrPanel_),
                           static_cast<QWidget*>(w_->rangePanel_),
                           static_cast<QWidget*>(w_->searchPanel_)})
            x->setEnabled(true);
        w_->busy_ = false;
    }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    MainWindow* w_;
    bool outer_;
};

}  // namespace tavik::ui
