// A command of the window at work. While the scope lives, the pointer shows the wait
// cursor; a long command also shows the work message and locks the window: the menus, the
// grid and the panels take no input (the work message's stop button still does), and
// commands started meanwhile return at once. Everything is put back when the scope ends
// or, earlier, at end() (before an error is shown, so that its box stands alone), the
// keyboard focus included.
#pragma once

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include "ui/window_services.h"
#include "ui/work_message.h"

namespace tavik::ui {

class BusyScope {
public:
    // Only the cursor, for a short command.
    static BusyScope cursorOnly(WindowServices* w, Qt::CursorShape shape = Qt::WaitCursor) {
        return BusyScope(w, shape, false);
    }
    // A long command: the window is locked and the work message is ready for the progress
    // lines; with `line1` it shows at once.
    static BusyScope working(WindowServices* w, const QString& line1 = {}, Qt::CursorShape shape = Qt::WaitCursor) {
        BusyScope b(w, shape, true);
        if (!line1.isEmpty()) {
            w->workMessage()->showMessage(line1, QString());
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        return b;
    }

    BusyScope(BusyScope&& o) noexcept : w_(o.w_), locks_(o.locks_), active_(o.active_), focus_(o.focus_) {
        o.active_ = false;
    }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    BusyScope& operator=(BusyScope&&) = delete;
    ~BusyScope() { end(); }

    void end() {
        if (!active_) return;
        active_ = false;
        QApplication::restoreOverrideCursor();
        if (!locks_) return;
        w_->workMessage()->hide();
        w_->setBusy(false);
        // Locking took the focus from the widget that had it (the grid, as a rule).
        if (focus_ && focus_->isEnabled() && focus_->isVisible()) focus_->setFocus();
    }

private:
    BusyScope(WindowServices* w, Qt::CursorShape shape, bool lock) : w_(w), locks_(lock && !w->isBusy()) {
        QApplication::setOverrideCursor(shape);
        if (!locks_) return;
        focus_ = QApplication::focusWidget();
        w_->setBusy(true);
        // The work message takes the mouse (its stop button) and stands in the middle.
        w_->workMessage()->setAttribute(Qt::WA_TransparentForMouseEvents, false);
        w_->workMessage()->setAsNote(false);
    }

    WindowServices* w_;
    bool locks_;
    bool active_ = true;
    QPointer<QWidget> focus_;
};

}  // namespace tavik::ui
