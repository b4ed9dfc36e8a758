// The saved composition table (".vtb"): the title, the counts, the layered covers of every
// cell, and the text of every fixed and species row in screen order. Keys are renumbered
// on the way, so a loaded table has keys equal to positions.
#pragma once

#include <string>
#include <string_view>

#include "core/table.h"

namespace tavik {

// The file's bytes for a table: CP932 with CR LF, or UTF-8 with a BOM when some text has
// no CP932 form or its CP932 bytes would read as UTF-8. Line breaks inside texts become blanks (they would split the line). The
// table is not changed. Throws std::runtime_error for a cover value above 207, which the
// cover block cannot hold.
std::string SavedTableBytes(const Table& t);

// Fills `t` from a saved table's bytes: counts, covers, texts, item boxes (all disabled and
// unchecked except the items that have header rows, which take their captions from the
// file), CodeD 2, then the recount. `t` brings what the file does not hold (font, CodeK,
// the captions of items without header rows); pass a fresh table and keep it only when
// this returns. Throws std::runtime_error naming `fileName`, the line and the problem.
void ParseSavedTable(std::string_view bytes, const std::string& fileName, Table& t);

}  // namespace tavik
