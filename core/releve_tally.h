// Relevés and separators: a relevé column without any species is an empty column that
// separates groups, not a relevé. Counts shown to the user and shares taken over relevés
// (frequencies) use the relevés alone.
#pragma once

#include <vector>

#include "core/table.h"

namespace tavik {

struct ReleveTally {
    int releves = 0;     // columns of the range with at least one species
    int separators = 0;  // empty columns of the range
};

// Counts the positions from..to (clamped into the table) from the cells themselves, so that
// the answer does not wait for a recount.
ReleveTally TallyReleves(const Table& t, int from, int to);
inline ReleveTally TallyReleves(const Table& t) { return TallyReleves(t, 1, t.ReleveCount()); }

// For every species key, how many relevés of the positions from..to hold a cell of it.
std::vector<int> OccurrencesInRange(const Table& t, int from, int to);

}  // namespace tavik
