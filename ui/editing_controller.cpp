// Editing the table from the grid: rows and columns deleted, inserted, commented and moved;
// cells edited in place in the line editor over the cell or in the cover dialog; the search.
#include "ui/editing_controller.h"

#include <QApplication>
#include <QCoreApplication>
#include <QScrollBar>

#include "core/cover_edit.h"
#include "core/search.h"
#include "core/text_edit.h"
#include "output/layout_common.h"
#include "output/options.h"
#include "print/table_font.h"
#include "ui/busy_scope.h"
#include "ui/cell_editor.h"
#include "ui/cover_dialog.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/window_services.h"

namespace tavik::ui {

namespace {

// The name a text edit carries in the Edit menu ("元に戻す：種名の編集").
QString TextEditName(EditableKind kind) {
    switch (kind) {
        case EditableKind::SpeciesName: return QCoreApplication::translate("EditingController", "種名の編集");
        case EditableKind::CommentRow: return QCoreApplication::translate("EditingController", "コメント行の編集");
        case EditableKind::HeaderValue: return QCoreApplication::translate("EditingController", "見出しの値の編集");
        case EditableKind::ItemName: return QCoreApplication::translate("EditingController", "項目名の編集");
        case EditableKind::None: break;
    }
    return QString();
}

QString WidthNote(EditableKind kind, int maxWidth) {
    const QString what = kind == EditableKind::SpeciesName ? QCoreApplication::translate("EditingController", "種名")
                         : kind == EditableKind::HeaderValue
                             ? QCoreApplication::translate("EditingController", "この項目の値")
                             : QCoreApplication::translate("EditingController", "項目名");
    return QCoreApplication::translate("EditingController", "%1は%2バイト（全角%3字）まで")
        .arg(what)
        .arg(maxWidth)
        .arg(maxWidth / 2);
}

}  // namespace

EditingController::EditingController(WindowServices& window, CompositionGrid* grid, CellTextPanel* cellText,
                                     QWidget* panelParent, std::function<bool()> pressesTaken, QObject* parent)
    : QObject(parent), window_(window), ws_(window.workspace()), grid_(grid), cellText_(cellText),
      pressesTaken_(std::move(pressesTaken)), cellEditor_(new CellEditor(grid->viewport())),
      searchPanel_(new SearchPanel(panelParent)) {
    connect(searchPanel_, &SearchPanel::exactRequested, this, &EditingController::onSearchExact);
    connect(searchPanel_, &SearchPanel::partialRequested, this, &EditingController::onSearchPartial);
    connect(searchPanel_, &SearchPanel::cancelRequested, this, &EditingController::closeSearchPanel);
    connect(grid_, &CompositionGrid::editRequested, this, &EditingController::editCell);
    connect(cellEditor_, &CellEditor::committed, this, &EditingController::onCellEdited);
    connect(grid_, &CompositionGrid::rowMoved, this, &EditingController::onRowMoved);
    connect(grid_, &CompositionGrid::columnMoved, this, &EditingController::onColumnMoved);
    // The editor travels with its cell when the grid scrolls; scrolled out of view, the
    // edit is committed as when the user leaves it.
    auto follow = [this] {
        if (!cellEditor_->isEditing()) return;
        const QRect r = grid_->cellRect(cellEditor_->column(), cellEditor_->row());
        if (r.width() < 4 || r.height() < 4) cellEditor_->commit();
        else cellEditor_->move(r.topLeft());
    };
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(cellEditor_, &CellEditor::widthExceeded, this, [this](int maxWidth) {
        QApplication::beep();
        const int col = cellEditor_->column(), row = cellEditor_->row();
        window_.showNote(WidthNote(EditableTextAt(ws_.table, col, row).kind, maxWidth), 4000);
    });
}

CoverDialog* EditingController::coverDialog() const {
    return coverDialog_ && coverDialog_->isVisible() ? coverDialog_.data() : nullptr;
}

void EditingController::editCell(int col, int row) {
    // While a block is being chosen for hiding, presses belong to that.
    if (window_.isBusy() || pressesTaken_() || cellEditor_->isEditing() || coverDialog()) return;
    cellText_->hide();
    Table& t = ws_.table;
    const EditableText what = EditableTextAt(t, col, row);
    if (what.kind != EditableKind::None) {
        grid_->ensureVisible(col, row);
        const QRect rect = grid_->cellRect(col, row);
        if (rect.width() < 4 || rect.height() < 4) return;  // hidden: nothing to type over
        editVersion_ = t.ContentVersion();
        cellEditor_->open(rect, GridDrawingFont(grid_->tableFont()), Q(t.Text(col, row)), what.maxWidth, col, row);
        return;
    }
    if (!t.IsUsedSpeciesRow(row) || !t.IsUsedReleveCol(col)) return;

    // The covers of the species in this relevé.
    const int relKey = t.ReleveKeyOfCol(col), spKey = t.SpeciesKeyOfRow(row);
    std::array<QString, kLayerCount> labels;
    const auto names = LayerLabels(ws_.settings.kaisou);
    for (int i = 0; i < kLayerCount; ++i) labels[static_cast<std::size_t>(i)] = Q(names[static_cast<std::size_t>(i)]);
    const QString releve = releveCaption(col);
    auto* dialog = new CoverDialog(
        t.Covers(relKey, spKey), labels,
        QCoreApplication::translate("EditingController", "種名：%1\n測定：%2").arg(Q(t.SpeciesName(spKey)), releve),
        window_.dialogParent());
    coverDialog_ = dialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    grid_->setCurrentCell(col, row);
    editVersion_ = t.ContentVersion();
    connect(dialog, &QDialog::accepted, this, [this, dialog, col, row] {
        CoverEdit edit;
        if (ws_.table.ContentVersion() != editVersion_ || !MakeCoverEdit(ws_.table, col, row, dialog->covers(), edit))
            return;
        window_.pushChange(QCoreApplication::translate("EditingController", "被度の編集"),
                           std::make_unique<CoverEditChange>(std::move(edit)));
    });
    dialog->open();
}

void EditingController::onCellEdited(int col, int row, const QString& text) {
    Table& t = ws_.table;
    if (t.ContentVersion() != editVersion_) {
        // The table changed under the editor (a command ran meanwhile): the cell may hold
        // another species now, so the typed text goes nowhere.
        window_.showNote(QCoreApplication::translate("EditingController", "表が変わったため、入力を取り消しました。"),
                         4000);
        return;
    }
    bool cut = false;
    TextEdit edit = MakeTextEdit(t, col, row, S(text), &cut);
    if (edit.kind == EditableKind::None || edit.after == edit.before) return;
    if (cut) window_.showNote(WidthNote(edit.kind, EditableTextAt(t, col, row).maxWidth), 4000);
    const QString name = TextEditName(edit.kind);
    window_.pushChange(name, std::make_unique<TextEditChange>(std::move(edit)));
}

// ---- Search ----------------------------------------------------------------------------------

void EditingController::showSearchPanel() { searchPanel_->open(); }

void EditingController::onSearchExact() { search(true); }

void EditingController::onSearchPartial() { search(false); }

void EditingController::search(bool exact) {
    const QString typed = searchPanel_->takeText();
    searchPanel_->hide();
    bool moreHits = false;
    {
        auto busy = BusyScope::cursorOnly(&window_);
        const auto hits = SearchTable(ws_.table, typed.toStdString(), exact, &moreHits);
        std::vector<QPoint> cells;
        cells.reserve(hits.size());
        for (const CellPos& h : hits) cells.emplace_back(h.col, h.row);
        grid_->setSearchHits(std::move(cells));
        if (!hits.empty()) grid_->ensureVisible(hits.front().col, hits.front().row);
    }
    grid_->viewport()->update();
    const QString shown = typed.trimmed();
    if (shown.isEmpty()) return;
    const int found = static_cast<int>(grid_->searchHits().size());
    window_.showNote(found == 0 ? QCoreApplication::translate("EditingController", "「%1」は見つかりません").arg(shown)
                                : (moreHits ? QCoreApplication::translate("EditingController", "「%1」：%2 か所以上")
                                            : QCoreApplication::translate("EditingController", "「%1」：%2 か所"))
                                      .arg(shown)
                                      .arg(found),
                     6000);
}

void EditingController::closeSearchPanel() { searchPanel_->hide(); }

void EditingController::resetSearch() {
    grid_->setSearchHits({});
    grid_->viewport()->update();
}

// ---- Rows and columns ----------------------------------------------------------------------

void EditingController::onRowMoved(int from, int to) {
    if (from != to)
        window_.pushChange(QCoreApplication::translate("EditingController", "行の移動"),
                           std::make_unique<MoveLineChange>(Axis::Species, from, to));
}

void EditingController::onColumnMoved(int from, int to) {
    if (from != to)
        window_.pushChange(QCoreApplication::translate("EditingController", "列の移動"),
                           std::make_unique<MoveLineChange>(Axis::Releves, from, to));
}

void EditingController::notOnThisRow(const QString& what) {
    QApplication::beep();
    window_.showNote(what, 4000);
}

bool EditingController::confirmEdit(GridLine line, int index, bool applies, const QString& refusal,
                                    const QString& question) {
    if (!applies) {
        notOnThisRow(refusal);
        return false;
    }
    // The row (or column) the command acts on is tinted while the question is open.
    if (line == GridLine::Row) grid_->tintRow(index, kTintClick);
    else grid_->tintColumn(index, kTintClick);
    const bool yes = window_.dialogs().askYesNo(window_.dialogParent(), question);
    grid_->clearTints();
    return yes;
}

QString EditingController::releveCaption(int col) const {
    const Table& t = ws_.table;
    QString releve = QCoreApplication::translate("EditingController", "%1 列目").arg(Table::RelevePosOfColumn(col));
    if (const int r = t.HeaderRowOfItem(2); r > 0 && !t.Text(col, r).empty())
        releve += QCoreApplication::translate("EditingController", "（%1）").arg(Q(t.Text(col, r)).trimmed());
    return releve;
}

QString EditingController::speciesCaption(int row) const {
    const QString name = Q(ws_.table.Text(2, row)).trimmed();
    return name.isEmpty() ? QCoreApplication::translate("EditingController", "空白行") : name;
}

void EditingController::deleteRow() {
    if (window_.isBusy()) return;
    const int row = grid_->currentRow();
    if (!confirmEdit(
            GridLine::Row, row, ws_.table.IsUsedSpeciesRow(row),
            QCoreApplication::translate("EditingController", "削除できるのは種の行です。削除する行を選んでください。"),
            QCoreApplication::translate("EditingController", "この行を削除しますか？\n種名：%1")
                .arg(speciesCaption(row))))
        return;
    window_.pushChange(QCoreApplication::translate("EditingController", "行の削除"),
                       std::make_unique<DeleteLineChange>(Axis::Species, row));
}

void EditingController::deleteColumn() {
    if (window_.isBusy()) return;
    const int col = grid_->currentColumn();
    if (!confirmEdit(GridLine::Column, col, ws_.table.IsUsedReleveCol(col),
                     QCoreApplication::translate("EditingController",
                                                 "削除できるのは測定の列です。削除する列を選んでください。"),
                     QCoreApplication::translate("EditingController", "この列を削除しますか？\n測定：%1")
                         .arg(releveCaption(col))))
        return;
    window_.pushChange(QCoreApplication::translate("EditingController", "列の削除"),
                       std::make_unique<DeleteLineChange>(Axis::Releves, col));
}

void EditingController::insertRow() {
    if (window_.isBusy()) return;
    const int row = grid_->currentRow();
    if (!confirmEdit(GridLine::Row, row, ws_.table.IsInsertableRow(row),
                     QCoreApplication::translate("EditingController", "行を挿入する位置（種の行）を選んでください。"),
                     QCoreApplication::translate("EditingController", "この上に行を挿入しますか？")))
        return;
    if (!window_.pushChange(QCoreApplication::translate("EditingController", "行の挿入"),
                            std::make_unique<InsertLineChange>(Axis::Species, row)))
        window_.dialogs().error(
            window_.dialogParent(),
            QCoreApplication::translate("EditingController", "行を挿入できません（メモリが足りません）。"));
}

void EditingController::insertColumn() {
    if (window_.isBusy()) return;
    const int col = grid_->currentColumn();
    if (!confirmEdit(GridLine::Column, col, ws_.table.IsInsertableCol(col),
                     QCoreApplication::translate("EditingController", "列を挿入する位置（測定の列）を選んでください。"),
                     QCoreApplication::translate("EditingController", "この左に列を挿入しますか？")))
        return;
    if (!window_.pushChange(QCoreApplication::translate("EditingController", "列の挿入"),
                            std::make_unique<InsertLineChange>(Axis::Releves, col)))
        window_.dialogs().error(
            window_.dialogParent(),
            QCoreApplication::translate("EditingController", "列を挿入できません（メモリが足りません）。"));
}

void EditingController::writeComment() {
    if (window_.isBusy()) return;
    const int row = grid_->currentRow();
    if (!ws_.table.IsUsedSpeciesRow(row)) {
        notOnThisRow(
            QCoreApplication::translate("EditingController", "コメントを書込む行（種の行）を選んでください。"));
        return;
    }
    grid_->tintRow(row, kTintClick);
    QString text;
    const bool ok = window_.dialogs().getText(window_.dialogParent(),
                                              QCoreApplication::translate("EditingController", "　コメント行＝"),
                                              Q(ws_.table.Text(2, row)), text);
    grid_->clearTints();
    if (ok)
        window_.pushChange(QCoreApplication::translate("EditingController", "コメントの書込み"),
                           std::make_unique<SpeciesNameChange>(ws_.table.SpeciesKeyOfRow(row), S(text)));
    window_.refresh();
}

}  // namespace tavik::ui
