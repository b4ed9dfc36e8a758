// Reciprocal averaging: one score from 0 to 100 for every species row and relevé column,
// found by averaging relevé scores from species scores and back, weighted by cover, until
// the scores settle; then the table ordered by ascending score.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/freq_table.h"
#include "core/progress.h"
#include "core/table.h"

namespace tavik {

// The weights of the used rows and columns, only the non-zero ones, relevé by relevé in
// species position order. Sums over them add the same terms in the same order as a loop
// over the whole matrix: a relevé's sum runs along its entries, and the species' sums are
// gathered by going through the relevés in order, each species adding its terms in
// relevé order.
struct RaWeights {
    int species = 0, releves = 0;
    // Relevé q (1-based) holds entries relStart[q-1] .. relStart[q]-1.
    std::vector<std::size_t> relStart;
    std::vector<std::int32_t> relSpecies;  // species positions
    std::vector<std::uint16_t> relWeight;
    // Sums of the weights, stored as the averaging reads them; entry 0 unused.
    std::vector<float> relTotal, spTotal;
};

// The weights of the table: cover method 1 (class values relative, 1-10) when dominance
// counts, method 6 (presence) otherwise. Shows "Step 1: q" per relevé.
RaWeights RaWeightMatrix(const Table& t, bool dominance, Progress* progress = nullptr);

struct RaResult {
    std::vector<float> speciesScores;  // positions 1..species, entry 0 unused
    std::vector<float> releveScores;   // positions 1..relevés, entry 0 unused
    int iterations = 0;
};

// The averaging is refused (nothing computed, nothing moved) for an empty table and for
// rows or columns whose weights sum to 0; the message says which and what to do.
class RaRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws RaRefused when some total is 0.
void CheckRaWeights(const Table& t, const RaWeights& w);

// The iterations: species start at 50 (40 for the first), relevé scores are averaged from
// them and rescaled to 0..100, species scores likewise from those, until both sums of
// changes are below 2 or after iteration 1001. Scores and totals are single precision;
// sums, extremes and ranges double. Shows "Step 2: n" per iteration.
//
// Runs on `threads` threads (0: as many as the machine has cores and the table has work
// for). Every sum is added in the same order whatever their number, so the scores are the
// same to the last bit.
RaResult RaIterate(const RaWeights& w, Progress* progress = nullptr, int threads = 0);

// The whole computation: weights, check, iterations.
RaResult ReciprocalAveraging(const Table& t, bool dominance, Progress* progress = nullptr);

// The order that the table's exchange sort gives for scores[1..n]: for a = 1..n-1 and
// b = a+1..n, positions a and b are exchanged when score a is strictly greater. Equal scores
// may end in another order than they started; that is part of the result. Returns order
// with order[i] = the position (1-based) that goes to position 1 + i. Worked out without
// doing the exchanges one by one: n log n for scores without many ties.
std::vector<int> ExchangeSortOrder(const std::vector<float>& scores);

// Reorders the table by ascending score (species first, then relevés) and recounts. Returns
// the permutations applied (as Table::PermuteSpecies / PermuteReleves take them, from
// position 1), so that the reorder can be undone.
struct RaOrder {
    std::vector<int> species, releves;
};
RaOrder ApplyRaOrder(Table& t, const RaResult& r, Progress* progress = nullptr);
// The two halves of it: the permutations, worked out from the scores alone (so that they
// can be worked out on a thread of their own while the table is in use), and their
// application with the recounts (one pass over the cells per axis, each announced on
// `progress`).
RaOrder RaOrderOf(const RaResult& r, Progress* progress = nullptr);
void ApplyRaOrder(Table& t, const RaOrder& o, Progress* progress = nullptr);

// The score table: species names and scores on the left, relevé labels (grid row 2) and
// scores on the right, in the table's order; sizes from the table font.
FreqTable RaScoreTable(const Table& t, const RaResult& r);
inline constexpr const char* kRaScoreCaption = "Reciprocal Averaging Score";

// A score as the score table writes it: one decimal ("45.3", "100.0", "0.0").
std::string RaScoreText(float score);

}  // namespace tavik
