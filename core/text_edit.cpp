#include "core/text_edit.h"

#include "core/covers.h"
#include "core/cp932_width.h"
#include "core/table.h"

namespace tavik {

namespace {

bool RowHasCells(const Table& t, int spKey) {
    for (int q = 1; q <= t.ReleveCount(); ++q)
        if (!t.CellEmpty(t.ReleveKeyAt(q), spKey)) return true;
    return false;
}

std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

}  // namespace

EditableText EditableTextAt(const Table& t, int col, int row) {
    EditableText e;
    if (col == 2 && t.IsUsedSpeciesRow(row)) {
        const bool species = RowHasCells(t, t.SpeciesKeyOfRow(row));
        e.kind = species ? EditableKind::SpeciesName : EditableKind::CommentRow;
        e.maxWidth = species ? kSpeciesNameWidth : 0;
        return e;
    }
    const int item = t.ItemOfHeaderRow(row);
    if (item == 0) return e;
    e.item = item;
    if (col == 2) {
        e.kind = EditableKind::ItemName;
        e.maxWidth = kItemNameWidth;
    } else if (item >= 2 && t.IsUsedReleveCol(col)) {
        // Item 1 is the serial number, which the recount writes.
        e.kind = EditableKind::HeaderValue;
        e.maxWidth = item <= 7 ? kTextItemWidth : kNumberItemWidth;
        e.rightAlign = item >= 8;
    }
    return e;
}

std::string FitEditedText(const EditableText& what, std::string_view typed, bool* cut) {
    if (what.rightAlign) typed = Trimmed(typed);
    std::string out;
    if (what.maxWidth <= 0 || Cp932Width(typed) <= what.maxWidth) {
        out = std::string(typed);
        if (cut) *cut = false;
    } else {
        out = std::string(Cp932Cut(typed, what.maxWidth));
        if (cut) *cut = true;
    }
    if (what.rightAlign && !out.empty()) out = Cp932Fit(out, what.maxWidth, Cp932Align::Right);
    return out;
}

TextEdit MakeTextEdit(const Table& t, int col, int row, std::string_view typed, bool* cut) {
    const EditableText what = EditableTextAt(t, col, row);
    TextEdit e;
    if (cut) *cut = false;
    if (what.kind == EditableKind::None) return e;
    e.kind = what.kind;
    e.before = t.Text(col, row);
    e.after = FitEditedText(what, typed, cut);
    switch (what.kind) {
        case EditableKind::SpeciesName:
        case EditableKind::CommentRow: e.speciesKey = t.SpeciesKeyOfRow(row); break;
        case EditableKind::HeaderValue:
            e.releveKey = t.ReleveKeyOfCol(col);
            e.row = row;
            break;
        case EditableKind::ItemName:
            e.row = row;
            e.item = what.item;
            break;
        case EditableKind::None: break;
    }
    return e;
}

void TextEditCell(const Table& t, const TextEdit& e, int& col, int& row) {
    col = 2;
    row = e.row;
    if (e.kind == EditableKind::SpeciesName || e.kind == EditableKind::CommentRow) {
        const int p = e.speciesKey >= 1 && e.speciesKey <= t.MaxSpecies() ? t.SpeciesPosOf(e.speciesKey) : -1;
        row = p >= 1 && p <= t.MaxSpecies() ? t.FNRow() + p : -1;
    } else if (e.kind == EditableKind::HeaderValue) {
        const int q = e.releveKey >= 1 && e.releveKey <= t.MaxReleve() ? t.RelevePosOf(e.releveKey) : -1;
        col = q >= 1 && q <= t.MaxReleve() ? Table::ReleveColumn(q) : -1;
        if (col < 0) row = -1;
    } else if (e.kind == EditableKind::None) {
        row = -1;
    }
}

void ApplyTextEdit(Table& t, const TextEdit& e, bool forward) {
    const std::string& text = forward ? e.after : e.before;
    if (e.kind == EditableKind::HeaderValue) {
        // By key: the relevé keeps its value wherever its column is.
        if (e.releveKey < 1 || e.releveKey > t.MaxReleve() || e.row < 1 || e.row >= t.FNRow()) return;
        t.SetHeaderText(e.releveKey, e.row, text);
        return;
    }
    int col = 0, row = 0;
    TextEditCell(t, e, col, row);
    if (row < 0) return;
    t.SetText(col, row, text);
    if (e.kind == EditableKind::ItemName && e.item >= 1 && e.item <= kItemCount)
        t.ItemBoxes[static_cast<std::size_t>(e.item)].caption = text;
}

}  // namespace tavik
