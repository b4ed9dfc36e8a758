// Texts the user types over in the grid: a species name (or the text of a comment row), a
// relevé's header value, and the name of a header item. Keys, counts, sequence numbers and
// cell codes are never typed over: they follow from the table.
//
// Each text keeps the width its field has in the files and outputs, counted in CP932 bytes:
// a species name 28 (the name field of field data), the text items 2..7 eight, the number
// items 8..30 four (right-aligned, as retrieval writes them), an item name 32 (the caption
// column of the outputs). A comment row is a row without cells and is not limited.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

class Table;

enum class EditableKind { None, SpeciesName, CommentRow, HeaderValue, ItemName };

inline constexpr int kSpeciesNameWidth = 28;
inline constexpr int kTextItemWidth = 8;
inline constexpr int kNumberItemWidth = 4;
inline constexpr int kItemNameWidth = 32;

struct EditableText {
    EditableKind kind = EditableKind::None;
    int maxWidth = 0;         // CP932 bytes; 0: no limit
    bool rightAlign = false;  // number items: blanks in front up to maxWidth
    int item = 0;             // HeaderValue, ItemName: the header item 1..30
};

// What may be typed into grid cell (col, row); kind None when nothing may.
EditableText EditableTextAt(const Table& t, int col, int row);

// The text as it is stored: number items trimmed and right-aligned, text items and names
// as typed; anything past the width is cut between two characters. `cut` tells whether
// something was left out.
std::string FitEditedText(const EditableText& what, std::string_view typed, bool* cut = nullptr);

// One edit of a text, addressed by keys (and header row), so that it finds its cell again
// after rows and columns moved.
struct TextEdit {
    EditableKind kind = EditableKind::None;
    int speciesKey = 0;  // SpeciesName, CommentRow
    int releveKey = 0;   // HeaderValue
    int row = 0;         // HeaderValue, ItemName: the header row
    int item = 0;        // ItemName
    std::string before, after;
};

// The edit of cell (col, row) to `typed` (fitted as above). kind None when the cell is not
// editable; `cut` as for FitEditedText.
TextEdit MakeTextEdit(const Table& t, int col, int row, std::string_view typed, bool* cut = nullptr);

// Writes the edit's new text (forward) or its old one. An item name goes to the item's
// caption as well as to its row.
void ApplyTextEdit(Table& t, const TextEdit& e, bool forward = true);

// The grid cell an edit writes, as (col, row) now; row -1 when its key is off the grid.
void TextEditCell(const Table& t, const TextEdit& e, int& col, int& row);

}  // namespace tavik
