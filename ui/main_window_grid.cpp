// The grid's mouse, the row and column pop-up buttons (their edits are the editing
// controller's), the table font and the data-check mode.
#include <QAction>
#include <QApplication>

#include "core/cp932_width.h"
#include "core/hiding.h"
#include "output/options.h"
#include "ui/editing_controller.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/panels.h"
#include "print/table_font.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"

namespace tavik::ui {

// ---- Mouse ---------------------------------------------------------------------------------

void MainWindow::onGridPressed(Qt::MouseButton button, Qt::KeyboardModifiers, int k, int r,
                                   QPoint pos) {
    ranges_->setGridForMode();
    if (k < 0 || r < 0) return;
    const Table& t = ws_.table;
    const int fn = t.FNRow();
    const QPoint at = grid_->viewport()->mapTo(central_, pos);
    if (button == Qt::RightButton) {
        // The buttons open beside the pointer, never under it: the user slides onto one and
        // releases there; releasing where the press was only closes them.
        rightPressAt_ = pos;
        if (k < 4 && r > fn) {
            grid_->tintRow(r, kTintClick);
            rowButtons_->showBeside(at, false);
            grid_->setCurrentRow(r);
        } else if (r < fn && k > 3) {
            grid_->tintColumn(k, kTintClick);
            columnButtons_->showBeside(at, true);
            grid_->setCurrentColumn(k);
        }
        return;
    }
    grid_->setDragCursor();
    const std::string text = t.Text(k, r);
    if (k > 3 && Cp932Width(text) > 4) cellText_->showText(Q(text), at.x(), at.y() + 4);
    if (k < 4 && r > fn) grid_->tintRow(r, kTintClick);
    else if (r <= fn && k > 3) grid_->tintColumn(k, kTintClick);
}

void MainWindow::onGridMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int k,
                                   int r, QPoint pos) {
    if (mods != Qt::ShiftModifier || buttons != Qt::NoButton) return;
    if (k <= 3 || r < 0) {
        cellText_->hide();
        return;
    }
    const std::string text = ws_.table.Text(k, r);
    const QPoint at = grid_->viewport()->mapTo(central_, pos);
    if (Cp932Width(text) > 4) cellText_->showText(Q(text), at.x(), at.y() + 4);
    else cellText_->hide();
}

void MainWindow::onGridReleased(Qt::MouseButton button, Qt::KeyboardModifiers, int, int,
                                 QPoint pos) {
    // A press on the grid that slid onto a pop-up button ends over that button.
    const QPoint global = grid_->viewport()->mapToGlobal(pos);
    PopupButton* over = rowButtons_->buttonAt(global);
    if (!over) over = columnButtons_->buttonAt(global);
    if (button == Qt::RightButton && (pos - rightPressAt_).manhattanLength() < QApplication::startDragDistance())
        over = nullptr;  // no slide: the panel only closes

    rowButtons_->hide();
    columnButtons_->hide();
    cellText_->hide();
    grid_->setDefaultCursor();

    if (over) {
        emit over->releasedWith(button);
        grid_->clearTints();
        return;
    }
    if (button == Qt::LeftButton && !message_->isHidden() && !busy_ && ranges_->mode() != RangeMode::None)
        ranges_->openForSelection();
    grid_->clearTints();
}

// ---- Pop-up buttons -------------------------------------------------------------------------------

void MainWindow::onInsertRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) editing_->insertRow();
}

void MainWindow::onDeleteRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) editing_->deleteRow();
}

void MainWindow::onCommentButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) editing_->writeComment();
}

void MainWindow::onInsertColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) editing_->insertColumn();
}

void MainWindow::onDeleteColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) editing_->deleteColumn();
}

// ---- View ----------------------------------------------------------------------------------------

void MainWindow::chooseTableFont() {
    if (busy_) return;
    QFont font = grid_->tableFont();
    if (dialogs_->getFont(this, font)) {
        ws_.table.FontName = font.family().toStdString();
        ws_.table.FontSize = font.pointSize() > 0 ? font.pointSize() : 9;
    }
    ws_.table.LayOutHeaderRows();
    layoutRenewed();
    showTableStatus();
}

void MainWindow::chooseDataCheckMode() {
    keysShown_ = dialogs_->askYesNo(
        this, QStringLiteral("データ検査のため、内部データの参照を示す 行０、列０を表示しますか？"));
    ShowKeys(ws_.table, keysShown_);
    refresh();
}

}  // namespace tavik::ui
