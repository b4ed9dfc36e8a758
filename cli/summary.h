// The table summary that info and retrieve print.
#pragma once

#include <ostream>

#include "core/table.h"

namespace tavik::cli {

// SpeciesCount, ReleveCount, FNRow, MaxSpecies, MaxReleve: "Name: N", one per line.
void PrintSummary(const Table& t, std::ostream& out);

}  // namespace tavik::cli
