// Builds field-data pairs of any size with the field-data writer, with a synonym
// dictionary that the data partly use, for benchmarks and tests.
#pragma once

#include <cstdint>
#include <string>

namespace tavik::tools {

struct SyntheticFieldShape {
    int releves = 2000;
    int perReleve = 25;       // species per relevé, on average (from 0.8x to 1.2x)
    int names = 6000;         // distinct written names in the data
    int usedSynonyms = 2000;  // how many of those are synonyms in the dictionary
    int synonyms = 20000;     // dictionary lines
    std::uint32_t seed = 1;
};

// Writes the pair of `indexPath` and the dictionary `dicPath` (CP932, CR LF).
void WriteSyntheticFieldData(const std::string& indexPath, const std::string& dicPath,
                             const SyntheticFieldShape& shape);

}  // namespace tavik::tools
