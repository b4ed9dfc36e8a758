// The order of a relevé's cells as the table keeps them.
#pragma once

#include "core/table.h"

namespace tavik {

// Orders the cells of one relevé by species key (stable), keeps the last cell of each species
// and drops those without text and covers; returns the end of those kept.
Cell* OrderCells(Cell* first, Cell* last);

}  // namespace tavik
