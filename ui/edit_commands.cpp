#include "ui/edit_commands.h"

#include <utility>

namespace tavik::ui {

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

TextEditCommand::TextEditCommand(MainWindow* window, TextEdit edit)
    : TableCommand(window, TextEditName(edit.kind)), edit_(std::move(edit)) {}

void TextEditCommand::apply() {
    if (firstRun() && (edit_.kind == EditableKind::None || edit_.after == edit_.before)) {
        setObsolete(true);
        return;
    }
    ApplyTextEdit(table(), edit_, true);
}

void TextEditCommand::revert() { ApplyTextEdit(table(), edit_, false); }

CoverEditCommand::CoverEditCommand(MainWindow* window, CoverEdit edit)
    : TableCommand(window, QStringLiteral("被度の編集")), edit_(std::move(edit)) {}

void CoverEditCommand::apply() {
    Table& t = table();
    if (firstRun()) {
        if (edit_.after == edit_.before && edit_.textAfter == edit_.textBefore) {
            setObsolete(true);
            return;
        }
        speciesCounts_ = t.MemoSpeciesCounts();
        releveCounts_ = t.MemoReleveCounts();
    }
    ApplyCoverEdit(t, edit_, true);
    t.Recount();
}

void CoverEditCommand::revert() {
    Table& t = table();
    ApplyCoverEdit(t, edit_, false);
    t.RestoreSpeciesCounts(speciesCounts_);
    t.RestoreReleveCounts(releveCounts_);
}

}  // namespace tavik::ui
