// The undoable edits made in place: a text typed over a cell (a species name, a comment
// row, a header value, an item name) and a cell's covers chosen in the cover dialog. Each
// keeps the keys it wrote under and what was there before.
#pragma once

#include "core/cover_edit.h"
#include "core/text_edit.h"
#include "ui/undo_commands.h"

namespace tavik::ui {

// The name a text edit carries in the Edit menu ("元に戻す：種名の編集").
QString TextEditName(EditableKind kind);

class TextEditCommand : public TableCommand {
public:
    TextEditCommand(MainWindow* window, TextEdit edit);

protected:
    void apply() override;
    void revert() override;

private:
    TextEdit edit_;
};

// The covers and the code of one cell; the occurrence counts follow, and go back with it.
class CoverEditCommand : public TableCommand {
public:
    CoverEditCommand(MainWindow* window, CoverEdit edit);

protected:
    void apply() override;
    void revert() override;

private:
    CoverEdit edit_;
    CountMemo speciesCounts_, releveCounts_;
};

}  // namespace tavik::ui
