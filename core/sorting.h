// Sorting species rows by frequency and relevé columns by number of species.
#pragma once

#include "core/progress.h"
#include "core/table.h"

#include <vector>

namespace tavik {

// Stable sorts of the positions first..last by the texts the recount wrote (frequency in
// column 3, number of species in row FNRow); an empty text is the smallest, and a count of
// five digits, which shows cut to four, sorts above "9999" by its full number. The range is
// bounded to the used rows / columns. Both end with the recount of their dimension and
// return the permutation applied (as Table::PermuteSpecies / PermuteReleves take it from
// `first`, bounded), empty when the range held fewer than two lines.
struct SortOrder {
    int first = 1;
    std::vector<int> order;
};
SortOrder SortSpecies(Table& t, int first, int last, bool descending, Progress* progress = nullptr);
SortOrder SortReleves(Table& t, int first, int last, bool descending, Progress* progress = nullptr);

}  // namespace tavik
