// The table search: a text among the species names and the header values, up to twenty
// cells marked in the order found.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/table.h"

namespace tavik {

inline constexpr int kMaxSearchHits = 20;

// A grid cell, (column, row) from 0.
struct CellPos {
    int col = 0;
    int row = 0;
    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// Searches the species names (column 2 of the used species rows, top down) and then the
// header values (rows 2..FNRow-1 of every relevé column, column by column). `text` is
// trimmed first; an empty text finds nothing. A cell matches when its trimmed text equals
// the query (exact) or contains it (partial); comparison is exact, letter case included.
// At most kMaxSearchHits cells are returned; later matches are dropped, and `more` (when
// given) tells whether there were any.
std::vector<CellPos> SearchTable(const Table& t, std::string_view text, bool exact, bool* more = nullptr);

}  // namespace tavik
