// The grid's mouse, the row and column pop-up buttons, the editing commands, dragging of
// rows and columns, hiding, the table font and the data-check mode.
#include <QAction>
#include <QApplication>

#include "core/cp932_width.h"
#include "core/hiding.h"
#include "output/options.h"
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
    setGridForRangeMode();
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
    if (button == Qt::LeftButton && !message_->isHidden() && !busy_ && rangeMode_ != RangeMode::None) {
        const QRect sel = grid_->selectedRect();
        const TableRange range = RangeOfSelection(ws_.table, sel.left(), sel.top(), sel.right(),
                                                  sel.bottom());
        grid_->setRangeSelect(false);
        grid_->setRowMoving(true);
        grid_->setColumnMoving(true);
        message_->hide();
        rangePanel_->openForHiding(range, ws_.table.ReleveCount(), ws_.table.SpeciesCount());
    }
    grid_->clearTints();
}

void MainWindow::onRowMoved(int from, int to) {
    if (from != to) pushChange(QStringLiteral("行の移動"), std::make_unique<MoveLineChange>(Axis::Species, from, to));
}

void MainWindow::onColumnMoved(int from, int to) {
    if (from != to) pushChange(QStringLiteral("列の移動"), std::make_unique<MoveLineChange>(Axis::Releves, from, to));
}

// ---- Pop-up buttons -------------------------------------------------------------------------------

void MainWindow::onInsertRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) insertRow();
}

void MainWindow::onDeleteRowButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) deleteRow();
}

void MainWindow::onCommentButton(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) writeComment();
}

void MainWindow::onInsertColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) insertColumn();
}

void MainWindow::onDeleteColumnButton(Qt::MouseButton button) {
    columnButtons_->hide();
    if (button == Qt::RightButton) deleteColumn();
}

// ---- Editing ---------------------------------------------------------------------------------------

void MainWindow::notOnThisRow(const QString& what) {
    QApplication::beep();
    showNote(what, 4000);
}

bool MainWindow::confirmEdit(GridLine line, int index, bool applies, const QString& refusal,
                             const QString& question) {
    if (!applies) {
        notOnThisRow(refusal);
        return false;
    }
    // The row (or column) the command acts on is tinted while the question is open.
    if (line == GridLine::Row) grid_->tintRow(index, kTintClick);
    else grid_->tintColumn(index, kTintClick);
    const bool yes = dialogs_->askYesNo(this, question);
    grid_->clearTints();
    return yes;
}

QString MainWindow::releveCaption(int col) const {
    const Table& t = ws_.table;
    QString releve = QStringLiteral("%1 列目").arg(Table::RelevePosOfColumn(col));
    if (const int r = t.HeaderRowOfItem(2); r > 0 && !t.Text(col, r).empty())
        releve += QStringLiteral("（%1）").arg(Q(t.Text(col, r)).trimmed());
    return releve;
}

QString MainWindow::speciesCaption(int row) const {
    const QString name = Q(ws_.table.Text(2, row)).trimmed();
    return name.isEmpty() ? QStringLiteral("空白行") : name;
}

void MainWindow::deleteRow() {
    if (busy_) return;
    const int row = grid_->currentRow();
    if (!confirmEdit(GridLine::Row, row, ws_.table.IsUsedSpeciesRow(row),
                     QStringLiteral("削除できるのは種の行です。削除する行を選んでください。"),
                     QStringLiteral("この行を削除しますか？\n種名：%1").arg(speciesCaption(row))))
        return;
    pushChange(QStringLiteral("行の削除"), std::make_unique<DeleteLineChange>(Axis::Species, row));
}

void MainWindow::deleteColumn() {
    if (busy_) return;
    const int col = grid_->currentColumn();
    if (!confirmEdit(GridLine::Column, col, ws_.table.IsUsedReleveCol(col),
                     QStringLiteral("削除できるのは測定の列です。削除する列を選んでください。"),
                     QStringLiteral("この列を削除しますか？\n測定：%1").arg(releveCaption(col))))
        return;
    pushChange(QStringLiteral("列の削除"), std::make_unique<DeleteLineChange>(Axis::Releves, col));
}

void MainWindow::insertRow() {
    if (busy_) return;
    const int row = grid_->currentRow();
    if (!confirmEdit(GridLine::Row, row, ws_.table.IsInsertableRow(row),
                     QStringLiteral("行を挿入する位置（種の行）を選んでください。"),
                     QStringLiteral("この上に行を挿入しますか？")))
        return;
    if (!pushChange(QStringLiteral("行の挿入"), std::make_unique<InsertLineChange>(Axis::Species, row)))
        dialogs_->error(this, QStringLiteral("行を挿入できません（メモリが足りません）。"));
}

void MainWindow::insertColumn() {
    if (busy_) return;
    const int col = grid_->currentColumn();
    if (!confirmEdit(GridLine::Column, col, ws_.table.IsInsertableCol(col),
                     QStringLiteral("列を挿入する位置（測定の列）を選んでください。"),
                     QStringLiteral("この左に列を挿入しますか？")))
        return;
    if (!pushChange(QStringLiteral("列の挿入"), std::make_unique<InsertLineChange>(Axis::Releves, col)))
        dialogs_->error(this, QStringLiteral("列を挿入できません（メモリが足りません）。"));
}

void MainWindow::writeComment() {
    if (busy_) return;
    const int row = grid_->currentRow();
    if (!ws_.table.IsUsedSpeciesRow(row)) {
        notOnThisRow(QStringLiteral("コメントを書込む行（種の行）を選んでください。"));
        return;
    }
    grid_->tintRow(row, kTintClick);
    QString text;
    const bool ok = dialogs_->getText(this, QStringLiteral("　コメント行＝"), Q(ws_.table.Text(2, row)),
                                      text);
    grid_->clearTints();
    if (ok)
        pushChange(QStringLiteral("コメントの書込み"),
                   std::make_unique<SpeciesNameChange>(ws_.table.SpeciesKeyOfRow(row), S(text)));
    refresh();
}

// ---- Hiding ----------------------------------------------------------------------------------------

void MainWindow::toggleHiddenRanges() {
    if (busy_) return;
    if (hideRangesTicked_) {
        ShowHiddenRanges(ws_.table);
        hideRangesTicked_ = false;
        if (rangeMode_ == RangeMode::Hide) {
            // Still choosing: the instruction goes with the tick.
            message_->hide();
            rangePanel_->hide();
            rangeMode_ = restingRangeMode();
            setGridForRangeMode();
        }
        updateTicks();
        refresh();
        return;
    }
    rangeMode_ = RangeMode::Hide;
    setGridForRangeMode();
    // The instruction stays while the user drags; the mouse goes through it to the grid.
    message_->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    message_->setAsNote(true);
    message_->showMessage(QStringLiteral("行・列の範囲指定は、マウスの"),
                          QStringLiteral("左ボタンを押しながらドラッグする"));
    hideRangesTicked_ = true;
    updateTicks();
}

void MainWindow::toggleSiteRows() {
    if (busy_) return;
    if (hideSiteTicked_) {
        ShowSiteRows(ws_.table);
        hideSiteTicked_ = false;
        rangeMode_ = RangeMode::None;
    } else {
        HideSiteRows(ws_.table);
        hideSiteTicked_ = true;
        rangeMode_ = RangeMode::SiteRowsHidden;
    }
    setGridForRangeMode();
    updateTicks();
    refresh();
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
