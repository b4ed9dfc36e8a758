// One number per cell from its seven layer values, and small text helpers of the outputs.
#pragma once

#include <string>
#include <string_view>

#include "core/covers.h"
#include "core/table.h"

namespace tavik {

// The number text of one cell by conversion method 0..6:
// 0 class values summed (0.1-5), 1 class values relative (1-10), 2 medians summed (1-875),
// 3 class value of the greatest (0.1-5), 4 median of the greatest (1-875),
// 5 the greatest unchanged (+-5), 6 presence (1,0). Another method gives "0".
std::string CoverNumber(int method, const LayerCovers& c);
// The same for the cell of relevé key r and species key s of the table.
std::string CoverNumber(int method, const Table& t, int relKey, int spKey);

// A rule of width / 2 (rounded, halves to even) copies of "─" (kind 1) or "━" (otherwise);
// empty for a width below 2.
std::string RuleLine(int width, int kind);

// An integer padded with blanks on the left to 2 characters; a longer number keeps its
// first 2 characters.
std::string MakeNumber2(long long v);

}  // namespace tavik
