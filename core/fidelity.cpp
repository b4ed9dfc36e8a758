#include "core/fidelity.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

#include "core/table.h"

namespace tavik {

namespace {

// The 2 × 2 table must be one that can exist, and neither margin may be empty or full.
bool Defined(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
    if (Np <= 0 || Np >= N || n <= 0 || n >= N) return false;
    if (np < 0 || np > Np || np > n) return false;
    return n - np <= N - Np;
}

// Phi from the relative frequency inside the group (a), outside it (b) and the share of the
// group in all relevés (s). Written this way the relevé count cancels, which is what lets the
// equalized form use a fractional group size.
double PhiFromFrequencies(double a, double b, double s) {
    const double m = s * a + (1 - s) * b;
    const double phi = (a - b) * std::sqrt(s * (1 - s) / (m * (1 - m)));
    return std::clamp(phi, -1.0, 1.0);
}

double LogChoose(std::int64_t a, std::int64_t b) {
    return std::lgamma(static_cast<double>(a) + 1) - std::lgamma(static_cast<double>(b) + 1) -
           std::lgamma(static_cast<double>(a - b) + 1);
}

// log P(X = k) for X hypergeometric: k of the n relevés with the species in the group.
double LogHypergeometric(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t k) {
    return LogChoose(Np, k) + LogChoose(N - Np, n - k) - LogChoose(N, n);
}

// A tail is summed from its largest term outwards and stops once the terms no longer change
// the sum in double precision.
constexpr double kNegligible = 1e-17;

}  // namespace

std::optional<double> PhiCoefficient(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
    if (!Defined(N, Np, n, np)) return std::nullopt;
    const double num =
        static_cast<double>(N) * static_cast<double>(np) - static_cast<double>(n) * static_cast<double>(Np);
    const double den = std::sqrt(static_cast<double>(n) * static_cast<double>(Np)) *
                       std::sqrt(static_cast<double>(N - n) * static_cast<double>(N - Np));
    return std::clamp(num / den, -1.0, 1.0);
}

std::optional<double> EqualizedPhi(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np, int groups) {
    if (groups < 2 || !Defined(N, Np, n, np)) return std::nullopt;
    const double a = static_cast<double>(np) / static_cast<double>(Np);
    const double b = static_cast<double>(n - np) / static_cast<double>(N - Np);
    return PhiFromFrequencies(a, b, 1.0 / groups);
}

std::optional<double> FisherGreater(std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
    if (!Defined(N, Np, n, np)) return std::nullopt;
    const std::int64_t M = N - Np;
    const std::int64_t kmin = std::max<std::int64_t>(0, n - M);
    const std::int64_t kmax = std::min(n, Np);
    if (np <= kmin) return 1.0;
    const std::int64_t mode = (n + 1) * (Np + 1) / (N + 2);
    if (np > mode) {
        // Upper tail: terms fall from k = np on.
        double term = 1, sum = 1;
        for (std::int64_t k = np; k < kmax; ++k) {
            term *= (static_cast<double>(Np - k) * static_cast<double>(n - k)) /
                    (static_cast<double>(k + 1) * static_cast<double>(M - n + k + 1));
            sum += term;
            if (term < sum * kNegligible) break;
        }
        return std::min(1.0, std::exp(LogHypergeometric(N, Np, n, np) + std::log(sum)));
    }
    // At or below the mode p is large; one minus the lower tail, whose terms fall from
    // k = np − 1 downwards, is accurate to the last digit that matters.
    double term = 1, sum = 1;
    for (std::int64_t k = np - 1; k > kmin; --k) {
        term *= (static_cast<double>(k) * static_cast<double>(M - n + k)) /
                (static_cast<double>(Np - k + 1) * static_cast<double>(n - k + 1));
        sum += term;
        if (term < sum * kNegligible) break;
    }
    const double lower = std::exp(LogHypergeometric(N, Np, n, np - 1) + std::log(sum));
    return std::clamp(1.0 - lower, 0.0, 1.0);
}

FidelityResult ComputeFidelity(const std::vector<int>& groupSizes, const std::vector<int>& counts,
                               const FidelityOptions& options) {
    FidelityResult r;
    const int G = static_cast<int>(groupSizes.size());
    r.options_ = options;
    r.groupSizes_ = groupSizes;
    r.species_ = G == 0 ? 0 : static_cast<int>(counts.size()) / G;
    if (G != 0 && counts.size() % static_cast<std::size_t>(G) != 0)
        throw std::invalid_argument("fidelity: counts do not fill whole groups");
    std::int64_t N = 0;
    int filled = 0;
    for (int size : groupSizes) {
        if (size < 0) throw std::invalid_argument("fidelity: negative group size");
        N += size;
        if (size > 0) ++filled;
    }
    const std::size_t cells = counts.size();
    r.counts_ = counts;
    r.phi_.assign(cells, std::nullopt);
    r.p_.assign(cells, std::nullopt);
    r.diagnostic_.assign(cells, 0);
    r.totals_.assign(static_cast<std::size_t>(r.species_), 0);
    r.best_.assign(static_cast<std::size_t>(r.species_), -1);
    r.block_.assign(static_cast<std::size_t>(r.species_), -1);
    for (int s = 0; s < r.species_; ++s) {
        const std::size_t row = static_cast<std::size_t>(s) * static_cast<std::size_t>(G);
        std::int64_t n = 0;
        for (int g = 0; g < G; ++g) {
            const int c = counts[row + static_cast<std::size_t>(g)];
            if (c < 0 || c > groupSizes[static_cast<std::size_t>(g)])
                throw std::invalid_argument("fidelity: a count exceeds its group");
            n += c;
        }
        r.totals_[static_cast<std::size_t>(s)] = static_cast<int>(n);
        int best = -1, block = -1;
        for (int g = 0; g < G; ++g) {
            const std::size_t i = row + static_cast<std::size_t>(g);
            const std::int64_t Np = groupSizes[static_cast<std::size_t>(g)], np = counts[i];
            const auto phi = options.equalize ? EqualizedPhi(N, Np, n, np, filled) : PhiCoefficient(N, Np, n, np);
            if (!phi) continue;
            r.phi_[i] = phi;
            if (best < 0 || *phi > *r.phi_[row + static_cast<std::size_t>(best)]) best = g;
            // Only positively associated species can be diagnostic; the small allowance keeps
            // a phi of exactly the threshold from falling under it by rounding.
            bool diagnostic = *phi > 0 && *phi * 100 >= options.threshold - 1e-9;
            if (options.alpha) {
                r.p_[i] = FisherGreater(N, Np, n, np);
                diagnostic = diagnostic && r.p_[i] && *r.p_[i] < *options.alpha;
            }
            if (diagnostic) {
                r.diagnostic_[i] = 1;
                if (block < 0 || *phi > *r.phi_[row + static_cast<std::size_t>(block)]) block = g;
            }
        }
        r.best_[static_cast<std::size_t>(s)] = best;
        r.block_[static_cast<std::size_t>(s)] = block;
    }
    return r;
}

std::vector<int> CountPresence(const Table& t, const std::vector<int>& groupOf, int groups) {
    const int S = t.SpeciesCount();
    std::vector<int> counts(static_cast<std::size_t>(S) * static_cast<std::size_t>(std::max(groups, 0)), 0);
    const int last = std::min(t.ReleveCount(), static_cast<int>(groupOf.size()) - 1);
    for (int q = 1; q <= last; ++q) {
        const int g = groupOf[static_cast<std::size_t>(q)];
        if (g < 0 || g >= groups) continue;
        const int rk = t.ReleveKeyAt(q);
        for (const Cell& c : t.CellsOf(rk)) {
            if (c.len == 0) continue;
            const int p = t.SpeciesPosOf(c.species);
            if (p < 1 || p > S) continue;
            ++counts[static_cast<std::size_t>(p - 1) * static_cast<std::size_t>(groups) + static_cast<std::size_t>(g)];
        }
    }
    return counts;
}

std::vector<int> DiagnosticBlockOrder(const FidelityResult& r) {
    std::vector<int> order(static_cast<std::size_t>(r.Species()));
    std::iota(order.begin(), order.end(), 0);
    const int G = r.Groups();
    // Species diagnostic for no group form the last block, after every group's block.
    auto blockOf = [&](int s) { return r.BlockGroup(s) < 0 ? G : r.BlockGroup(s); };
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
        const int bx = blockOf(x), by = blockOf(y);
        if (bx != by) return bx < by;
        if (bx < G) return *r.Phi(x, bx) > *r.Phi(y, by);
        return r.Total(x) > r.Total(y);
    });
    return order;
}

}  // namespace tavik
