// The grid's mouse, the row and column speed buttons, the editing commands, dragging of
// rows and columns, hiding, the table font and the data-check mode.
#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QStatusBar>

#include "core/cp932_width.h"
#include "core/hiding.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/panels.h"
#include "ui/table_font.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

// ---- Mouse ---------------------------------------------------------------------------------

void MainWindow::VegTableMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers, int k, int r,
                                   QPoint pos) {
    SetGridForRangeMode();
    if (k < 0 || r < 0) return;
    const Table& t = ws_.table;
    const int fn = t.FNRow();
    const QPoint at = grid_->viewport()->mapTo(central_, pos);
    if (button == Qt::RightButton) {
        if (k < 4 && r > fn) {
            grid_->TincRow(r, kTintClick);
            rowButtons_->ShowAt(at + QPoint(6, -40));
            grid_->SetCurrentRow(r);
        } else if (r < fn && k > 3) {
            grid_->TincColum(k, kTintClick);
            colButtons_->ShowAt(at + QPoint(-135, -20));
            grid_->SetCurrentCol(k);
        }
        return;
    }
    grid_->SetDragCursor();
    const std::string text = t.Text(k, r);
    if (k > 3 && Cp932Width(text) > 4) showCell_->ShowText(Q(text), at.x(), at.y() + 4);
    if (k < 4 && r > fn) grid_->TincRow(r, kTintClick);
    else if (r <= fn && k > 3) grid_->TincColum(k, kTintClick);
}

void MainWindow::VegTableMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int k,
                                   int r, QPoint pos) {
    if (mods != Qt::ShiftModifier || buttons != Qt::NoButton) return;
    if (k <= 3 || r < 0) {
        showCell_->hide();
        return;
    }
    const std::string text = ws_.table.Text(k, r);
    const QPoint at = grid_->viewport()->mapTo(central_, pos);
    if (Cp932Width(text) > 4) showCell_->ShowText(Q(text), at.x(), at.y() + 4);
    else showCell_->hide();
}

void MainWindow::VegTableMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int, int,
                                 QPoint pos) {
    // A press on the grid that slid onto a speed button ends over that button.
    const QPoint global = grid_->viewport()->mapToGlobal(pos);
    SpeedButton* over = rowButtons_->ButtonAt(global);
    if (!over) over = colButtons_->ButtonAt(global);

    rowButtons_->hide();
    colButtons_->hide();
    showCell_->hide();
    grid_->SetDefaultCursor();

    if (over) {
        emit over->releasedWith(button);
        grid_->ClearTints();
        return;
    }
    if (button == Qt::LeftButton && !message_->isHidden() && !busy_ && rangeMode_ != kRangeNone) {
        const QRect sel = grid_->SelectedRect();
        const TableRange range = RangeOfSelection(ws_.table, sel.left(), sel.top(), sel.right(),
                                                  sel.bottom());
        rangePanel_->SN1->setRange(1, qMax(1, ws_.table.ReleveCount()));
        rangePanel_->SN2->setRange(1, qMax(1, ws_.table.ReleveCount()));
        rangePanel_->SS1->setRange(1, qMax(1, ws_.table.SpeciesCount()));
        rangePanel_->SS2->setRange(1, qMax(1, ws_.table.SpeciesCount()));
        rangePanel_->SN1->setValue(range.q1);
        rangePanel_->SN2->setValue(range.q2);
        rangePanel_->SS1->setValue(range.p1);
        rangePanel_->SS2->setValue(range.p2);
        grid_->SetRangeSelect(false);
        grid_->SetRowMoving(true);
        grid_->SetColMoving(true);
        GetTableRange();
    }
    grid_->ClearTints();
}

void MainWindow::VegTableRowMoved(int from, int to) {
    if (!ws_.table.MoveRow(from, to)) return;
    ws_.table.Check_SpeciesNumber();
    Refresh();
}

void MainWindow::VegTableColumnMoved(int from, int to) {
    if (!ws_.table.MoveColumn(from, to)) return;
    ws_.table.Check_TableNumber();
    Refresh();
}

// ---- Speed buttons -------------------------------------------------------------------------------

void MainWindow::Btn_InsRowMouseUp(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) Item_InsRowClick();
}

void MainWindow::Btn_DelRowMouseUp(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) Item_DelRowClick();
}

void MainWindow::Btn_RemarkMouseUp(Qt::MouseButton button) {
    rowButtons_->hide();
    if (button == Qt::RightButton) Item_CommentClick();
}

void MainWindow::Btn_InsColMouseUp(Qt::MouseButton button) {
    colButtons_->hide();
    if (button == Qt::RightButton) Item_InsColClick();
}

void MainWindow::Btn_DelColMouseUp(Qt::MouseButton button) {
    colButtons_->hide();
    if (button == Qt::RightButton) Item_DelColClick();
}

// ---- Editing ---------------------------------------------------------------------------------------

void MainWindow::NotOnThisRow(const QString& what) {
    QApplication::beep();
    Note(what, 4000);
}

// Tints the row (or column) the command acts on while the question is open.
bool MainWindow::AskOnRow(int row, const QString& question) {
    grid_->TincRow(row, kTintClick);
    const bool yes = dialogs_->AskYesNo(this, question);
    grid_->ClearTints();
    return yes;
}

bool MainWindow::AskOnColumn(int col, const QString& question) {
    grid_->TincColum(col, kTintClick);
    const bool yes = dialogs_->AskYesNo(this, question);
    grid_->ClearTints();
    return yes;
}

void MainWindow::Item_DelRowClick() {
    if (busy_) return;
    const int row = grid_->CurrentRow();
    if (!ws_.table.IsUsedSpeciesRow(row)) {
        NotOnThisRow(QStringLiteral("削除できるのは種の行です。削除する行を選んでください。"));
        return;
    }
    if (!AskOnRow(row, QStringLiteral("この行を削除しますか？"))) return;
    ws_.table.DeleteRowCommand(row);
    ShowTableStatus();
}

void MainWindow::Item_DelColClick() {
    if (busy_) return;
    const int col = grid_->CurrentCol();
    if (!ws_.table.IsUsedReleveCol(col)) {
        NotOnThisRow(QStringLiteral("削除できるのは測定の列です。削除する列を選んでください。"));
        return;
    }
    if (!AskOnColumn(col, QStringLiteral("この列を削除しますか？"))) return;
    ws_.table.DeleteColumnCommand(col);
    ShowTableStatus();
}

void MainWindow::Item_InsRowClick() {
    if (busy_) return;
    const int row = grid_->CurrentRow();
    if (!ws_.table.IsInsertableRow(row)) {
        NotOnThisRow(QStringLiteral("行を挿入する位置（種の行）を選んでください。"));
        return;
    }
    if (!AskOnRow(row, QStringLiteral("この上に行を挿入しますか？"))) return;
    if (!ws_.table.InsertRow(row))
        dialogs_->Error(this, QStringLiteral("行を挿入できません（メモリが足りません）。"));
    ShowTableStatus();
}

void MainWindow::Item_InsColClick() {
    if (busy_) return;
    const int col = grid_->CurrentCol();
    if (!ws_.table.IsInsertableCol(col)) {
        NotOnThisRow(QStringLiteral("列を挿入する位置（測定の列）を選んでください。"));
        return;
    }
    if (!AskOnColumn(col, QStringLiteral("この左に列を挿入しますか？"))) return;
    if (!ws_.table.InsertColumn(col))
        dialogs_->Error(this, QStringLiteral("列を挿入できません（メモリが足りません）。"));
    ShowTableStatus();
}

void MainWindow::Item_CommentClick() {
    if (busy_) return;
    const int row = grid_->CurrentRow();
    if (!ws_.table.IsUsedSpeciesRow(row)) {
        NotOnThisRow(QStringLiteral("コメントを書込む行（種の行）を選んでください。"));
        return;
    }
    grid_->TincRow(row, kTintClick);
    QString text;
    const bool ok = dialogs_->GetText(this, QStringLiteral("　コメント行＝"), Q(ws_.table.Text(2, row)),
                                      text);
    grid_->ClearTints();
    if (ok) ws_.table.SetComment(row, text.toStdString());
    Refresh();
}

// ---- Hiding ----------------------------------------------------------------------------------------

void MainWindow::Item_HideRCClick() {
    if (busy_) return;
    if (hideRCTicked_) {
        ShowHiddenRanges(ws_.table);
        hideRCTicked_ = false;
        if (rangeMode_ == kRangeHide) {
            // Still choosing: the instruction goes with the tick.
            message_->hide();
            rangePanel_->hide();
            rangeMode_ = RestingRangeMode();
            SetGridForRangeMode();
        }
        SetTicks();
        Refresh();
        return;
    }
    rangeMode_ = kRangeHide;
    SetGridForRangeMode();
    // The instruction stays while the user drags; the mouse goes through it to the grid.
    message_->setAttribute(Qt::WA_TransparentForMouseEvents, true);
    message_->SetAsNote(true);
    message_->ShowMessage(QStringLiteral("行・列の範囲指定は、マウスの"),
                          QStringLiteral("左ボタンを押しながらドラッグする"));
    hideRCTicked_ = true;
    SetTicks();
}

void MainWindow::HideTableRC(int q1, int q2, int p1, int p2) {
    tavik::HideTableRC(ws_.table, q1, q2, p1, p2);
    Refresh();
}

void MainWindow::Item_HideSiteClick() {
    if (busy_) return;
    if (hideSiteTicked_) {
        ShowSiteRows(ws_.table);
        hideSiteTicked_ = false;
        rangeMode_ = kRangeNone;
    } else {
        HideSiteRows(ws_.table);
        hideSiteTicked_ = true;
        rangeMode_ = kRangeSiteHidden;
    }
    SetGridForRangeMode();
    SetTicks();
    Refresh();
}

// ---- View ----------------------------------------------------------------------------------------

void MainWindow::Item_SetFontClick() {
    if (busy_) return;
    QFont font = grid_->TableFont();
    if (dialogs_->GetFont(this, font)) {
        ws_.table.FontName = font.family().toStdString();
        ws_.table.FontSize = font.pointSize() > 0 ? font.pointSize() : 9;
    }
    ws_.table.ReNewTable();
    LayoutRenewed();
    ShowTableStatus();
}

void MainWindow::DataChkModeClick() {
    keysShown_ = dialogs_->AskYesNo(
        this, QStringLiteral("データ検査のため、内部データの参照を示す 行０、列０を表示しますか？"));
    ShowKeys(ws_.table, keysShown_);
    Refresh();
}

}  // namespace tavik::ui
