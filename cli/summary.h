// The table summary that info and retrieve print.
#pragma once

#include <ostream>

#include "core/table.h"

namespace tavik::cli {

// SpeciesCount, ReleveCount (columns), FNRow, MaxSpecies, MaxReleve, Separators (the empty
// columns among ReleveCount): "Name: N", one per line.
void PrintSummary(const Table& t, std::ostream& out);

}  // namespace tavik::cli
