// Classification of relevés by agglomerative hierarchical clustering: distances between the
// relevés of a range of the table, the merge sequence (a dendrogram), its cut into K groups,
// the number of faithful species each K yields, and the groups put into the table.
//
// Data. Every cell is one number of its seven layer values, by the cover conversion methods
// of the value matrix (0-6; a "+" of method 5 counts as 1), optionally square-rooted.
// Relevés whose values in the range are all zero are left out (a distance to an empty
// relevé has no value) and reported; empty columns (separators) are not relevés.
//
// Distances (Legendre & Legendre, Numerical Ecology, ch. 7):
//   bray      Bray–Curtis, Σ|x−y| / Σ(x+y)
//   jaccard   1 − a / (a + b + c) on presence
//   sorensen  1 − 2a / (2a + b + c) on presence
//   euclid    √Σ(x−y)²
//   chord     Euclidean distance after scaling each relevé to unit length
//
// Linkages, all by the Lance–Williams update (Lance & Williams 1967):
//   ward      on squared distances, heights the square root (R's hclust "ward.D2")
//   flexible  beta-flexible: d(k,ij) = (1−β)/2·(d(k,i) + d(k,j)) + β·d(i,j), β in [−1, 0]
//   average   UPGMA, complete, single
//
// The algorithm is the nearest-neighbour chain over a condensed single-precision matrix
// (O(n²) time and memory). Ties are broken deterministically: a nearest neighbour of equal
// distance is the previous link of the chain if it is one of them, otherwise the one of
// lowest position; the chain starts at the lowest active relevé; merges of equal height keep
// the order the chain found them. The distances are computed by several threads, each entry
// by the same arithmetic whatever the number of threads, so the result never depends on it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/progress.h"
#include "core/table.h"
#include "core/table_changes.h"

namespace tavik {

enum class ClusterDistance { Bray, Jaccard, Sorensen, Euclid, Chord };
enum class ClusterLinkage { Ward, Flexible, Average, Complete, Single };

struct ClusterOptions {
    int method = 0;     // cover conversion method 0-6
    bool sqrt = false;  // square root of the values
    ClusterDistance distance = ClusterDistance::Bray;
    ClusterLinkage linkage = ClusterLinkage::Ward;
    double beta = -0.25;                     // beta-flexible only
    int releveFrom = 1, releveTo = 1 << 30;  // relevé positions, clamped to the table
    int speciesFrom = 1, speciesTo = 1 << 30;
    int threads = 0;  // 0: as many as the machine has
};

// Refused with a message for the user; the table is not changed.
class ClassificationRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The relevés as sparse rows of values.
struct ClusterData {
    std::vector<int> positions;        // relevé positions of the rows, ascending
    std::vector<int> leftOut;          // positions with species but no value in the range
    std::vector<std::size_t> start;    // row i holds entries start[i] .. start[i+1]-1
    std::vector<std::int32_t> column;  // species index (ascending within a row)
    std::vector<float> value;          // > 0
    int columns = 0;
    int Rows() const { return static_cast<int>(positions.size()); }
};

// The rows of a recounted table for the options (range, method, transform).
ClusterData ClusterDataOf(const Table& t, const ClusterOptions& o);

// The condensed distance matrix: entry (i, j), i < j, at CondensedIndex(n, i, j).
inline std::size_t CondensedIndex(std::size_t n, std::size_t i, std::size_t j) {
    return i * n - i * (i + 1) / 2 + (j - i - 1);
}
std::vector<float> ClusterDistances(const ClusterData& d, ClusterDistance distance, int threads = 0);

// One merge: nodes 0..n−1 are the leaves (rows of the data), node n + m is merge m. `left`
// is the child holding the lower row. Merges are in ascending height.
struct ClusterMerge {
    int left = 0, right = 0;
    double height = 0;
    int size = 0;
};

class Dendrogram {
public:
    int Leaves() const { return leaves_; }
    const std::vector<ClusterMerge>& Merges() const { return merges_; }
    // The rows from left to right: every subtree (and so every group of a cut) is contiguous.
    const std::vector<int>& LeafOrder() const { return leafOrder_; }
    // The group (0-based, numbered by first appearance in the leaf order) of every row for
    // a cut into k groups (1 <= k <= Leaves()): the last k − 1 merges undone.
    std::vector<int> Cut(int k) const;
    // The height at which a cut into k groups is drawn: between the merge that stays and the
    // first one undone.
    double CutHeight(int k) const;

private:
    friend Dendrogram BuildDendrogram(int n, std::vector<ClusterMerge> raw);
    int leaves_ = 0;
    std::vector<ClusterMerge> merges_;
    std::vector<int> leafOrder_;
};

// The merges of the nearest-neighbour chain over `dist` (consumed), for n rows.
Dendrogram ClusterMatrix(std::vector<float> dist, int n, ClusterLinkage linkage, double beta,
                         Progress* progress = nullptr);

// The whole computation on a table: refused for fewer than two relevés with values.
struct Classification {
    ClusterData data;
    Dendrogram tree;
};
Classification ClassifyReleves(const Table& t, const ClusterOptions& o, Progress* progress = nullptr);

// The dendrogram as Newick text; `labels[i]` names row i. Branch lengths are differences of
// height. Labels with characters Newick reserves are quoted.
std::string NewickText(const Dendrogram& tree, const std::vector<std::string>& labels);

// ---- Choosing K ---------------------------------------------------------------------------

// How many species are faithful to some group of a partition: one-sided Fisher's exact test
// p <= 0.001 and phi > 0 (Tichý et al. 2010). `groupOf[q]` is the group of relevé position
// q (−1: none), as CountPresence takes it.
int FaithfulSpeciesCount(const Table& t, const std::vector<int>& groupOf, int groups);

struct KScanLine {
    int k = 0;
    int faithful = 0;
};
// One line per K of from..to (clamped to 2..rows).
std::vector<KScanLine> ScanGroupCounts(const Table& t, const Classification& c, int from, int to,
                                       Progress* progress = nullptr);
// The K of the most faithful species (the smallest of equals); 0 for an empty scan.
int BestK(const std::vector<KScanLine>& scan);

// ---- Putting groups into the table ----------------------------------------------------------

// The groups as relevé keys, in the order they go into the table.
using ReleveGroups = std::vector<std::vector<int>>;

// The groups of a cut into k, in dendrogram order, relevés in leaf order. Refused when k
// exceeds the number of relevés. With `byScore`, the relevés inside each group are ordered
// by ascending score (scores by relevé position, as the reciprocal averaging gives them;
// equals keep the leaf order).
ReleveGroups GroupsOfCut(const Table& t, const Classification& c, int k, const std::vector<float>* scores = nullptr);

// What putting groups into the table changed, so that it can be undone and done again.
struct GroupPlacement {
    int first = 1, last = 0;         // the range of relevé positions before the change
    std::vector<int> deleted;        // blank separators taken out, positions descending
    int insertAt = 0, inserted = 0;  // separators added at this position
    std::vector<int> order;          // then PermuteReleves(first, order)
    int leftOver = 0;                // relevés with species in no group, put last
    // Records of the last run.
    CountMemo speciesCounts, releveCounts;
    RemovedLines removed;
    std::vector<InsertedLine> insertedLines;
};

// Reorders the relevé positions first..last of a recounted table: the groups one after the
// other with one empty column between them; relevés of the range with species that no group
// holds follow last as a group of their own. The empty columns of the range serve as the
// separators (those with header texts first); surplus ones without any text are taken out,
// surplus ones with texts stay at the end of the range; missing ones are inserted. Recounts.
// Refused (nothing changed) when a key is not a relevé with species of the range or is
// given twice. Returns the record for RevertGroupPlacement / RedoGroupPlacement.
GroupPlacement PlaceGroups(Table& t, const ReleveGroups& groups, int first = 1, int last = 1 << 30);
void RevertGroupPlacement(Table& t, GroupPlacement& p);
void RedoGroupPlacement(Table& t, GroupPlacement& p);

// Groups put into the table as one change: the first run places them (PlaceGroups, which
// refuses by throwing before anything changed), later runs repeat its record; reverting takes
// the separators back out and restores the order and the counts.
class PlaceGroupsChange : public TableChange {
public:
    explicit PlaceGroupsChange(ReleveGroups groups) : groups_(std::move(groups)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override { RevertGroupPlacement(t, record_); }
    // Relevés with species in no group, put last by the first run.
    int LeftOver() const { return record_.leftOver; }

private:
    ReleveGroups groups_;
    GroupPlacement record_;
    bool firstRun_ = true;
};

// The table's current groups (between empty columns) as (position, relevé number, group
// number from 1) of every relevé with species; empty groups keep their number.
struct MembershipLine {
    int position = 0;
    std::string releve;
    std::string group;
};
std::vector<MembershipLine> CurrentMembership(const Table& t);

// The relevé number of position q: header item 2, trimmed.
std::string ReleveNumber(const Table& t, int q);

// Groups from (relevé number, group label) pairs, in the order of first appearance of the
// labels; relevés inside a group keep their table order. Refused, listing them, for
// numbers that no relevé with species has, numbers given twice, and numbers that two
// relevés of the table share. `unlisted` gets the number of relevés with species the pairs
// leave out (they go last, as PlaceGroups puts them).
ReleveGroups GroupsFromMembership(const Table& t, const std::vector<std::pair<std::string, std::string>>& pairs,
                                  int* unlisted = nullptr);

}  // namespace tavik
