// Editing cells in place: names, header values and item names in the line editor over the
// cell, and a species' covers in one relevé in the cover dialog. Each committed edit is one
// step on the undo stack.
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>

#include "core/cover_edit.h"
#include "core/text_edit.h"
#include "output/layout_common.h"
#include "output/options.h"
#include "ui/cell_editor.h"
#include "ui/cover_dialog.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/main_window.h"
#include "ui/undo_commands.h"
#include "ui/qt_text.h"
#include "print/table_font.h"

namespace tavik::ui {

namespace {

// The name a text edit carries in the Edit menu ("元に戻す：種名の編集").
QString TextEditName(EditableKind kind) {
    switch (kind) {
        case EditableKind::SpeciesName: return QStringLiteral("種名の編集");
        case EditableKind::CommentRow: return QStringLiteral("コメント行の編集");
        case EditableKind::HeaderValue: return QStringLiteral("見出しの値の編集");
        case EditableKind::ItemName: return QStringLiteral("項目名の編集");
        case EditableKind::None: break;
    }
    return QString();
}

QString WidthNote(EditableKind kind, int maxWidth) {
    const QString what = kind == EditableKind::SpeciesName   ? QStringLiteral("種名")
                         : kind == EditableKind::HeaderValue ? QStringLiteral("この項目の値")
                                                             : QStringLiteral("項目名");
    return QStringLiteral("%1は%2バイト（全角%3字）まで").arg(what).arg(maxWidth).arg(maxWidth / 2);
}

}  // namespace

void MainWindow::buildInPlaceEditing() {
    cellEditor_ = new CellEditor(grid_->viewport());
    connect(grid_, &CompositionGrid::editRequested, this, &MainWindow::editCell);
    connect(cellEditor_, &CellEditor::committed, this, &MainWindow::onCellEdited);
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
    // A menu opened while typing: the text is committed first, so that the command chosen
    // (a save, a sort) finds it in the table, as in a spreadsheet.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, cellEditor_, &CellEditor::commit);
    connect(cellEditor_, &CellEditor::widthExceeded, this, [this](int maxWidth) {
        QApplication::beep();
        const int col = cellEditor_->column(), row = cellEditor_->row();
        showNote(WidthNote(EditableTextAt(ws_.table, col, row).kind, maxWidth), 4000);
    });
}

CoverDialog* MainWindow::coverDialog() const {
    for (CoverDialog* d : findChildren<CoverDialog*>(QString(), Qt::FindDirectChildrenOnly))
        if (d->isVisible()) return d;
    return nullptr;
}

void MainWindow::editCell(int col, int row) {
    // While a block is being chosen for hiding, presses belong to that.
    if (busy_ || rangeMode_ == RangeMode::Hide || cellEditor_->isEditing() || coverDialog()) return;
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
    auto* dialog = new CoverDialog(t.Covers(relKey, spKey), labels,
                                   QStringLiteral("種名：%1\n測定：%2").arg(Q(t.SpeciesName(spKey)), releve), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    grid_->setCurrentCell(col, row);
    editVersion_ = t.ContentVersion();
    connect(dialog, &QDialog::accepted, this, [this, dialog, col, row] {
        CoverEdit edit;
        if (ws_.table.ContentVersion() != editVersion_ || !MakeCoverEdit(ws_.table, col, row, dialog->covers(), edit))
            return;
        pushChange(QStringLiteral("被度の編集"), std::make_unique<CoverEditChange>(std::move(edit)));
    });
    dialog->open();
}

void MainWindow::onCellEdited(int col, int row, const QString& text) {
    Table& t = ws_.table;
    if (t.ContentVersion() != editVersion_) {
        // The table changed under the editor (a command ran meanwhile): the cell may hold
        // another species now, so the typed text goes nowhere.
        showNote(QStringLiteral("表が変わったため、入力を取り消しました。"), 4000);
        return;
    }
    bool cut = false;
    TextEdit edit = MakeTextEdit(t, col, row, S(text), &cut);
    if (edit.kind == EditableKind::None || edit.after == edit.before) return;
    if (cut) showNote(WidthNote(edit.kind, EditableTextAt(t, col, row).maxWidth), 4000);
    const QString name = TextEditName(edit.kind);
    pushChange(name, std::make_unique<TextEditChange>(std::move(edit)));
}

}  // namespace tavik::ui
