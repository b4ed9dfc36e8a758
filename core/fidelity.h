// Fidelity of species to groups of relevés: which species are diagnostic for a group.
//
// Everything is computed on presence and absence. For one species and one group the 2 × 2
// table is: N relevés in all groups, N_p of them in the group, n relevés with the species,
// n_p of them in the group. The measure is the phi coefficient of association
//     phi = (N·n_p − n·N_p) / sqrt(n·N_p·(N − n)·(N − N_p)),
// by default with the group size equalized: the group is counted as N/G of the N relevés
// while the species keeps its relative frequency inside the group (n_p / N_p) and outside it
// ((n − n_p) / (N − N_p)), so that groups of different size compare fairly. Significance is
// Fisher's exact test, one-sided for positive association, on the table as observed.
//
// Cases where a measure has no value (a species in every relevé or in none, a group of no
// relevés or of all of them) give std::nullopt, never NaN.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace tavik {

class Table;

// ---- One 2 × 2 table ----------------------------------------------------------------------

std::optional<double> PhiCoefficient(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np);

// Phi with the group counted as N / groups relevés; `groups` is the number of groups that
// hold relevés.
std::optional<double> EqualizedPhi(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np, int groups);

// P(X >= np) for X hypergeometric (np or more of the n relevés with the species fall in the
// group by chance). Computed in log space, so it neither overflows nor underflows to a wrong
// value for tables of hundreds of thousands of relevés.
std::optional<double> FisherGreater(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np);

// ---- A whole table of species × groups ----------------------------------------------------

struct FidelityOptions {
    bool equalize = true;
    double threshold = 30;               // phi × 100 at or above which a species is diagnostic
    std::optional<double> alpha = 0.05;  // Fisher's p must be below it; none: no test
};

class FidelityResult {
public:
    int Groups() const { return static_cast<int>(groupSizes_.size()); }
    int Species() const { return species_; }
    int GroupSize(int g) const { return groupSizes_[static_cast<std::size_t>(g)]; }
    // Relevés with the species over all groups.
    int Total(int s) const { return totals_[static_cast<std::size_t>(s)]; }
    int Count(int s, int g) const { return counts_[Index(s, g)]; }
    // The phi in use (equalized or not, as the options said).
    std::optional<double> Phi(int s, int g) const { return phi_[Index(s, g)]; }
    // Fisher's p; no value when the options skip the test or the table is degenerate.
    std::optional<double> P(int s, int g) const { return p_[Index(s, g)]; }
    bool Diagnostic(int s, int g) const { return diagnostic_[Index(s, g)] != 0; }
    // The group of the species' highest phi (the first of equals), -1 when no phi has a value.
    int BestGroup(int s) const { return best_[static_cast<std::size_t>(s)]; }
    // The group whose block holds the species in the diagnostic order: of the groups for
    // which it is diagnostic, the one of its highest phi; -1 when it is diagnostic for none.
    int BlockGroup(int s) const { return block_[static_cast<std::size_t>(s)]; }
    const FidelityOptions& Options() const { return options_; }

private:
    friend FidelityResult ComputeFidelity(const std::vector<int>&, const std::vector<int>&, const FidelityOptions&);
    std::size_t Index(int s, int g) const {
        return static_cast<std::size_t>(s) * groupSizes_.size() + static_cast<std::size_t>(g);
    }
    int species_ = 0;
    FidelityOptions options_;
    std::vector<int> groupSizes_, totals_, counts_, best_, block_;
    std::vector<std::optional<double>> phi_, p_;
    std::vector<unsigned char> diagnostic_;
};

// `groupSizes` holds N_p for each group; `counts` holds n_p species by species (species s,
// group g at s × G + g). Throws std::invalid_argument when a count is negative or larger
// than its group.
FidelityResult ComputeFidelity(const std::vector<int>& groupSizes, const std::vector<int>& counts,
                               const FidelityOptions& options);

// Presence counts from the composition table: `groupOf[q]` is the group (0-based) of relevé
// position q = 1..ReleveCount, or -1 for a relevé in no group; entry 0 is unused. A species
// is present where its cell text is not empty. Returns counts species by species in the
// order of the species positions (position p at index p − 1).
std::vector<int> CountPresence(const Table& t, const std::vector<int>& groupOf, int groups);

// The species in diagnostic blocks, as a synoptic table prints them: the diagnostic species
// of the first group by decreasing phi, then those of the second group, and so on, then all
// others by decreasing frequency (equals keep their order). Returns species indices.
std::vector<int> DiagnosticBlockOrder(const FidelityResult& r);

}  // namespace tavik
