// Builds composition tables of any size in memory, for benchmarks and the table generator.
#pragma once

#include <cstdint>

#include "core/table.h"

namespace tavik::tools {

struct SyntheticShape {
    int releves = 2000;
    int species = 800;
    int perReleve = 30;  // species per relevé, on average
    std::uint32_t seed = 1;
};

// Species frequencies follow a skewed law (a few common, many rare species); each relevé
// carries header values in every header row and covers in one to three layers.
void FillSyntheticTable(Table& t, const SyntheticShape& shape);

}  // namespace tavik::tools
