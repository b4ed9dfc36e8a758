#include "ui/grid_pointer.h"

#include <QApplication>
#include <QCoreApplication>

#include "core/cp932_width.h"
#include "core/table.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/qt_text.h"

namespace tavik::ui {

GridPointer::GridPointer(const Table& table, CompositionGrid* grid, QWidget* panelParent, QObject* parent)
    : QObject(parent), table_(table), grid_(grid), panelParent_(panelParent),
      rowButtons_(new PopupButtonBar(QStringLiteral("rowButtons"), panelParent)),
      columnButtons_(new PopupButtonBar(QStringLiteral("columnButtons"), panelParent)),
      cellText_(new CellTextPanel(panelParent)) {
    addButtons();
}

void GridPointer::addButtons() {
    auto add = [this](PopupButtonBar* bar, const char* name, const QString& caption,
                      void (GridPointer::*slot)(Qt::MouseButton), const QString& hint = {}) {
        PopupButton* b = bar->addButton(QString::fromLatin1(name), caption);
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &PopupButton::releasedWith, this, slot);
    };
    add(rowButtons_, "insertRowButton", QCoreApplication::translate("GridPointer", "行を挿入する"),
        &GridPointer::onInsertRowButton);
    add(rowButtons_, "deleteRowButton", QCoreApplication::translate("GridPointer", "行を削除する"),
        &GridPointer::onDeleteRowButton);
    add(rowButtons_, "commentButton", QCoreApplication::translate("GridPointer", "行コメント記入"),
        &GridPointer::onCommentButton, QCoreApplication::translate("GridPointer", "コメント記入"));
    add(columnButtons_, "insertColumnButton", QCoreApplication::translate("GridPointer", "列を挿入する"),
        &GridPointer::onInsertColumnButton);
    add(columnButtons_, "deleteColumnButton", QCoreApplication::translate("GridPointer", "列を削除する"),
        &GridPointer::onDeleteColumnButton);
}

// ---- Mouse ---------------------------------------------------------------------------------

void GridPointer::onGridPressed(Qt::MouseButton button, Qt::KeyboardModifiers, int k, int r, QPoint pos) {
    emit pressed();
    if (k < 0 || r < 0) return;
    const int fn = table_.FNRow();
    const QPoint at = grid_->viewport()->mapTo(panelParent_, pos);
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
    const std::string text = table_.Text(k, r);
    if (k > 3 && Cp932Width(text) > 4) cellText_->showText(Q(text), at.x(), at.y() + 4);
    if (k < 4 && r > fn) grid_->tintRow(r, kTintClick);
    else if (r <= fn && k > 3) grid_->tintColumn(k, kTintClick);
}

void GridPointer::onGridMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int k, int r, QPoint pos) {
    if (mods != Qt::ShiftModifier || buttons != Qt::NoButton) return;
    if (k <= 3 || r < 0) {
        cellText_->hide();
        return;
    }
    const std::string text = table_.Text(k, r);
    const QPoint at = grid_->viewport()->mapTo(panelParent_, pos);
    if (Cp932Width(text) > 4) cellText_->showText(Q(text), at.x(), at.y() + 4);
    else cellText_->hide();
}

void GridPointer::onGridReleased(Qt::MouseButton button, Qt::KeyboardModifiers, int, int, QPoint pos) {
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
    if (button == Qt::LeftButton) emit leftReleased();
    grid_->clearTints();
}

// ---- Pop-up buttons -------------------------------------------------------------------------------

void GridPointer::onInsertRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) emit insertRowChosen();
}

void GridPointer::onDeleteRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) emit deleteRowChosen();
}

void GridPointer::onCommentButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) emit commentChosen();
}

void GridPointer::onInsertColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) emit insertColumnChosen();
}

void GridPointer::onDeleteColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) emit deleteColumnChosen();
}

}  // namespace tavik::ui
