#include "core/fidelity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::MakeTable;

// Phi of a 2 × 2 table given by possibly fractional counts, written out as the textbook
// formula: the reference the equalized form is checked against.
double PhiOfCounts(double N, double Np, double n, double np) {
    return (N * np - n * Np) / std::sqrt(n * Np * (N - n) * (N - Np));
}

TEST(FidelityPhi, WorkedTwoByTwoTables) {
    // Two groups of four relevés; a species in all of group A and nowhere else.
    EXPECT_DOUBLE_EQ(*PhiCoefficient(8, 4, 4, 4), 1.0);
    EXPECT_DOUBLE_EQ(*PhiCoefficient(8, 4, 4, 0), -1.0);
    // Spread evenly over both groups it says nothing about either.
    EXPECT_DOUBLE_EQ(*PhiCoefficient(8, 4, 4, 2), 0.0);
    // 3 of 4 in A, 1 of 4 in B: (8·3 − 4·4) / sqrt(4·4·4·4) = 0.5.
    EXPECT_DOUBLE_EQ(*PhiCoefficient(8, 4, 4, 3), 0.5);
    // Two equal groups: equalizing changes nothing.
    EXPECT_DOUBLE_EQ(*EqualizedPhi(8, 4, 4, 3, 2), 0.5);
    EXPECT_DOUBLE_EQ(*EqualizedPhi(8, 4, 4, 4, 2), 1.0);
}

TEST(FidelityPhi, UndefinedCasesHaveNoValue) {
    // A species in every relevé, in none; a group of no relevés, a group of all of them.
    for (auto f : {+[](std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
                       return PhiCoefficient(N, Np, n, np);
                   },
                   +[](std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
                       return EqualizedPhi(N, Np, n, np, 3);
                   },
                   +[](std::int64_t N, std::int64_t Np, std::int64_t n, std::int64_t np) {
                       return FisherGreater(N, Np, n, np);
                   }}) {
        EXPECT_FALSE(f(8, 4, 8, 4));
        EXPECT_FALSE(f(8, 4, 0, 0));
        EXPECT_FALSE(f(8, 0, 3, 0));
        EXPECT_FALSE(f(8, 8, 3, 3));
        EXPECT_FALSE(f(0, 0, 0, 0));
        // Tables that cannot exist.
        EXPECT_FALSE(f(8, 4, 3, 4));
        EXPECT_FALSE(f(8, 2, 7, 0));
    }
    // One group holding relevés cannot be equalized against others.
    EXPECT_FALSE(EqualizedPhi(8, 4, 4, 3, 1));
}

TEST(FidelityPhi, EqualizationCountsTheGroupAsOneOfGEqualShares) {
    // Groups A 10, B 50, C 40 relevés; the species is in 8 of A and 25 of B.
    const double N = 100, n = 33;
    // Observed: B is the larger share of the species' relevés and has the higher phi.
    const double phiA = *PhiCoefficient(100, 10, 33, 8), phiB = *PhiCoefficient(100, 50, 33, 25);
    EXPECT_NEAR(phiA, 0.3332, 1e-4);
    EXPECT_NEAR(phiB, 0.3615, 1e-4);
    // Equalized, each group counts N/3 relevés, the species keeps its frequency inside the
    // group (n_p scaled to N/3) and outside it (the rest scaled to the other 2N/3).
    auto reference = [&](double Np, double np) {
        const double share = N / 3, inside = np * share / Np;
        const double outside = (n - np) * (N - share) / (N - Np);
        return PhiOfCounts(N, share, inside + outside, inside);
    };
    const double eqA = *EqualizedPhi(100, 10, 33, 8, 3), eqB = *EqualizedPhi(100, 50, 33, 25, 3);
    EXPECT_NEAR(eqA, reference(10, 8), 1e-12);
    EXPECT_NEAR(eqB, reference(50, 25), 1e-12);
    EXPECT_NEAR(eqA, 0.4946, 1e-4);
    // The small group's 80 % now outweighs the large group's 50 %.
    EXPECT_GT(eqA, eqB);
    // The scale does not matter: ten times the relevés, the same equalized phi.
    EXPECT_NEAR(*EqualizedPhi(1000, 100, 330, 80, 3), eqA, 1e-12);

    FidelityOptions plain;
    plain.equalize = false;
    plain.alpha.reset();
    const std::vector<int> sizes{10, 50, 40}, counts{8, 25, 0};
    EXPECT_EQ(ComputeFidelity(sizes, counts, plain).BestGroup(0), 1);
    FidelityOptions equalized = plain;
    equalized.equalize = true;
    EXPECT_EQ(ComputeFidelity(sizes, counts, equalized).BestGroup(0), 0);
}

TEST(FidelityFisher, AgreesWithExactSums) {
    // 4 of 4 relevés of the group hold the species, 0 of 4 outside: p = 1/70.
    EXPECT_NEAR(*FisherGreater(8, 4, 4, 4), 1.0 / 70, 1e-15);
    // Not associated at all: p = 1.
    EXPECT_DOUBLE_EQ(*FisherGreater(8, 4, 4, 0), 1.0);
    // References summed exactly over big integers.
    EXPECT_NEAR(*FisherGreater(20, 8, 7, 5), 0.0521155830753354, 1e-14);
    EXPECT_NEAR(*FisherGreater(20, 8, 7, 2), 0.8944272445820433, 1e-14);
    EXPECT_NEAR(*FisherGreater(100, 10, 33, 8), 0.00192800860897282, 1e-16);
    EXPECT_NEAR(*FisherGreater(100, 50, 33, 25), 0.000278016511738471, 1e-17);
}

TEST(FidelityFisher, LargeTablesKeepTheirPrecision) {
    auto relative = [](double got, double want) { return std::abs(got - want) / want; };
    // 100,000 relevés: either side of the mode, a tiny p, and p of a big group.
    EXPECT_LT(relative(*FisherGreater(100000, 3000, 500, 15), 0.536162781120815), 1e-9);
    EXPECT_LT(relative(*FisherGreater(100000, 3000, 500, 16), 0.431894469950223), 1e-9);
    EXPECT_LT(relative(*FisherGreater(100000, 3000, 500, 60), 1.51811569195858e-19), 1e-8);
    EXPECT_LT(relative(*FisherGreater(100000, 3000, 2000, 400), 4.02056948317275e-207), 1e-7);
    EXPECT_LT(relative(*FisherGreater(100000, 40000, 3000, 1250), 0.0307256730756991), 1e-9);
    // Beyond double range the answer is 0, not NaN or infinity.
    const double p = *FisherGreater(100000, 3000, 3000, 3000);
    EXPECT_EQ(p, 0.0);
}

TEST(FidelityTable, DecisionByThresholdAndSignificance) {
    // Groups of 4 and 4. Species 0 only in A (phi 1, p 1/70); species 1 3 of 4 in A and 1
    // of 4 in B (phi 0.5, p 0.243); species 2 in every relevé; species 3 in none.
    const std::vector<int> sizes{4, 4}, counts{4, 0, 3, 1, 4, 4, 0, 0};
    FidelityOptions o;  // equalized, 30, 0.05
    auto r = ComputeFidelity(sizes, counts, o);
    EXPECT_TRUE(r.Diagnostic(0, 0));
    EXPECT_FALSE(r.Diagnostic(0, 1));
    EXPECT_FALSE(r.Diagnostic(1, 0));  // phi high enough, p not
    EXPECT_NEAR(*r.P(1, 0), 17.0 / 70, 1e-12);
    EXPECT_EQ(r.Total(1), 4);
    EXPECT_EQ(r.Count(1, 1), 1);
    for (int s : {2, 3})
        for (int g : {0, 1}) {
            EXPECT_FALSE(r.Phi(s, g));
            EXPECT_FALSE(r.P(s, g));
            EXPECT_FALSE(r.Diagnostic(s, g));
        }
    EXPECT_EQ(r.BestGroup(2), -1);
    EXPECT_EQ(r.BlockGroup(3), -1);

    o.alpha.reset();  // no test: phi alone decides, and no p is given
    r = ComputeFidelity(sizes, counts, o);
    EXPECT_TRUE(r.Diagnostic(1, 0));
    EXPECT_FALSE(r.P(0, 0));
    o.threshold = 50;  // exactly at the threshold still counts
    EXPECT_TRUE(ComputeFidelity(sizes, counts, o).Diagnostic(1, 0));
    o.threshold = 50.1;
    EXPECT_FALSE(ComputeFidelity(sizes, counts, o).Diagnostic(1, 0));
    // A negative association is never diagnostic, whatever the threshold.
    o.threshold = -100;
    r = ComputeFidelity(sizes, counts, o);
    EXPECT_FALSE(r.Diagnostic(0, 1));
    EXPECT_FALSE(r.Diagnostic(1, 1));
}

TEST(FidelityTable, EmptyGroupsGetNoValueAndDoNotCountForEqualizing) {
    // A, an empty group (two separators side by side), B.
    const std::vector<int> sizes{4, 0, 4}, counts{4, 0, 0};
    FidelityOptions o;
    const auto r = ComputeFidelity(sizes, counts, o);
    EXPECT_FALSE(r.Phi(0, 1));
    EXPECT_DOUBLE_EQ(*r.Phi(0, 0), 1.0);  // as with two groups: equalized over A and B only
    EXPECT_DOUBLE_EQ(*r.Phi(0, 2), -1.0);
}

TEST(FidelityTable, RejectsCountsThatCannotBe) {
    FidelityOptions o;
    EXPECT_THROW(ComputeFidelity({4, 4}, {5, 0}, o), std::invalid_argument);
    EXPECT_THROW(ComputeFidelity({4, 4}, {-1, 0}, o), std::invalid_argument);
    EXPECT_THROW(ComputeFidelity({4, 4}, {1, 0, 1}, o), std::invalid_argument);
    EXPECT_EQ(ComputeFidelity({}, {}, o).Species(), 0);
}

TEST(FidelityBlocks, DiagnosticSpeciesByGroupThenTheRestByFrequency) {
    // Three groups of 6; alpha none so that phi alone decides.
    const std::vector<int> sizes{6, 6, 6};
    const std::vector<int> counts{
        1, 1, 1,  // 0: everywhere a little, total 3
        0, 6, 0,  // 1: B only
        6, 0, 0,  // 2: A only
        0, 4, 0,  // 3: B, weaker than 1
        5, 0, 1,  // 4: A, weaker than 2
        2, 2, 2,  // 5: everywhere, total 6
        0, 0, 0,  // 6: nowhere
        0, 5, 5,  // 7: B and C equally: diagnostic for both, its block is B (the first)
    };
    FidelityOptions o;
    o.alpha.reset();
    const auto r = ComputeFidelity(sizes, counts, o);
    EXPECT_TRUE(r.Diagnostic(7, 1));
    EXPECT_TRUE(r.Diagnostic(7, 2));
    EXPECT_EQ(r.BlockGroup(7), 1);
    EXPECT_EQ(DiagnosticBlockOrder(r), (std::vector<int>{2, 4, 1, 3, 7, 5, 0, 6}));
}

TEST(FidelityBlocks, CountsPresenceFromTheTable) {
    // Relevés 1-2 group A, 3 a separator (no species), 4-5 group B.
    Table t = MakeTable({{"ブナ", "ミズナラ"}, {"ブナ"}, {}, {"ミズナラ", "ササ"}, {"ササ"}});
    std::vector<int> groupOf{-1, 0, 0, -1, 1, 1};
    EXPECT_EQ(CountPresence(t, groupOf, 2), (std::vector<int>{2, 0, 1, 1, 0, 2}));
    // Counts follow the positions: sorting moves them with the rows.
    t.PermuteSpecies(1, {3, 1, 2});
    EXPECT_EQ(CountPresence(t, groupOf, 2), (std::vector<int>{0, 2, 2, 0, 1, 1}));
    // A cell whose text is empty does not count even when it kept covers.
    t.SetCellText(t.ReleveKeyAt(2), t.SpeciesKeyAt(2), "");
    EXPECT_EQ(CountPresence(t, groupOf, 2)[2], 1);
}

}  // namespace
}  // namespace tavik
