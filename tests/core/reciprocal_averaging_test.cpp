#include "core/reciprocal_averaging.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "tests/core/test_helpers.h"
#include "tools/synthetic_table.h"

namespace tavik {
namespace {
using testing::Covers;
using testing::MakeTable;

// The exchange sort done one exchange at a time, as the table's reorder is written.
std::vector<int> ExchangeSortByHand(std::vector<float> s) {
    const int n = static_cast<int>(s.size()) - 1;
    std::vector<int> id(s.size());
    for (int i = 0; i <= n; ++i) id[i] = i;
    for (int a = 1; a < n; ++a)
        for (int b = a + 1; b <= n; ++b)
            if (s[a] > s[b]) {
                std::swap(s[a], s[b]);
                std::swap(id[a], id[b]);
            }
    return std::vector<int>(id.begin() + 1, id.end());
}

std::vector<std::string> SpeciesOrder(const Table& t) {
    std::vector<std::string> v;
    for (int p = 1; p <= t.SpeciesCount(); ++p) v.push_back(t.SpeciesName(t.SpeciesKeyAt(p)));
    return v;
}

// Relevé 1 holds species 1 and 2, relevé 2 species 2 and 3, relevé 3 species 3 and 4,
// relevé 4 species 4 and 1.
Table RingTable() { return MakeTable({{"s1", "s2"}, {"s2", "s3"}, {"s3", "s4"}, {"s4", "s1"}}); }

TEST(ReciprocalAveraging, RingOfFourSettlesInTwoIterations) {
    Table t = RingTable();
    const RaResult r = ReciprocalAveraging(t, false);
    EXPECT_EQ(r.iterations, 2);
    EXPECT_EQ(r.speciesScores, (std::vector<float>{0, 0, 50, 100, 50}));
    EXPECT_EQ(r.releveScores, (std::vector<float>{0, 0, 100, 100, 0}));

    const RaOrder o = ApplyRaOrder(t, r);
    EXPECT_EQ(o.species, (std::vector<int>{1, 2, 4, 3}));
    EXPECT_EQ(o.releves, (std::vector<int>{1, 4, 3, 2}));  // the two at 100 change places
    EXPECT_EQ(SpeciesOrder(t), (std::vector<std::string>{"s1", "s2", "s4", "s3"}));
    // Columns moved with their keys: the first column now holds s4 and s1, the relevé
    // number row and the counts were rewritten.
    EXPECT_EQ(t.ReleveKeyAt(2), 4);
    EXPECT_EQ(t.Text(5, t.FNRow()), "   2");
    EXPECT_EQ(t.Text(5, 1), "   2");
    EXPECT_EQ(t.Text(1, t.FNRow() + 3), "   3");
}

TEST(ReciprocalAveraging, SingleReleveGivesZeroEverywhere) {
    Table t = MakeTable({{"a", "b", "c"}});
    const RaResult r = ReciprocalAveraging(t, true);
    EXPECT_EQ(r.iterations, 2);
    EXPECT_EQ(r.releveScores, (std::vector<float>{0, 0}));
    EXPECT_EQ(r.speciesScores, (std::vector<float>{0, 0, 0, 0}));
    const RaOrder o = ApplyRaOrder(t, r);
    EXPECT_EQ(o.species, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SpeciesOrder(t), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(ReciprocalAveraging, PresenceIgnoresCoverClasses) {
    Table a = RingTable();
    Table b = RingTable();
    // Same species, other classes.
    const LayerCovers big = Covers({50, 0, 0, 0, 0});
    b.SetCell(b.ReleveKeyAt(1), b.SpeciesKeyAt(1), LayerCode(big), big);
    b.SetCell(b.ReleveKeyAt(3), b.SpeciesKeyAt(4), LayerCode(big), big);
    const RaResult ra = ReciprocalAveraging(a, false), rb = ReciprocalAveraging(b, false);
    EXPECT_EQ(ra.speciesScores, rb.speciesScores);
    EXPECT_EQ(ra.releveScores, rb.releveScores);
    // With dominance the weights differ (class 5 counts 8, class 1 counts 2).
    const RaResult rd = ReciprocalAveraging(b, true);
    EXPECT_NE(rd.releveScores, ra.releveScores);
}

TEST(ReciprocalAveraging, WeightsFollowTheRelativeClassValues) {
    Table t = MakeTable({{"a"}, {"a"}});
    // "+" in T1, class 5 in H1, "(" in M: 1 + 8 + 0; r in S1 counts as "+".
    const LayerCovers c = Covers({1, 0, 6, 0, 50, 0, 7});
    t.SetCell(t.ReleveKeyAt(1), t.SpeciesKeyAt(1), LayerCode(c), c);
    const RaWeights w = RaWeightMatrix(t, true);
    ASSERT_EQ(w.relWeight.size(), 2u);
    EXPECT_EQ(w.relWeight[0], 10);  // 1 + 1 + 8 = 10, the cap
    EXPECT_EQ(w.relWeight[1], 2);   // class 1 in H1
    EXPECT_EQ(w.spTotal[1], 12.0f);
    const RaWeights p = RaWeightMatrix(t, false);
    EXPECT_EQ(p.relWeight, (std::vector<std::uint16_t>{1, 1}));
}

TEST(ReciprocalAveraging, StopsAtTheIterationLimit) {
    // A long ring of relevés, each sharing one species with the next, settles so slowly
    // that the run ends at the limit.
    std::vector<std::vector<std::string>> ring;
    const int n = 200;
    for (int i = 0; i < n; ++i) ring.push_back({"s" + std::to_string(i), "s" + std::to_string((i + 1) % n)});
    const RaResult r = ReciprocalAveraging(MakeTable(ring), false);
    EXPECT_EQ(r.iterations, 1001);
}

TEST(ReciprocalAveraging, RefusesRowsAndColumnsWithoutWeight) {
    Table t = MakeTable({{"a", "b"}, {}, {"b"}});
    t.SetHeaderText(t.ReleveKeyAt(1), 2, "R-01");
    t.AppendSpecies("");  // an inserted empty row
    try {
        ReciprocalAveraging(t, false);
        FAIL() << "no refusal";
    } catch (const RaRefused& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("2 列目"), std::string::npos) << m;
        // The empty row has no number in the grid: it is named by the species above it.
        EXPECT_NE(m.find("「b」の下の空白行"), std::string::npos) << m;
        EXPECT_NE(m.find("削除"), std::string::npos) << m;
    }
    Table empty = MakeTable({});
    EXPECT_THROW(ReciprocalAveraging(empty, false), RaRefused);
}

// The iterations written out on the whole matrix of weights (w[q][p], 1-based), every sum
// added term after term in position order: the averaging as it is defined, to compare with
// bit for bit. Zero weights add nothing to a sum of terms that are never negative.
RaResult IterateOnTheMatrix(const std::vector<std::vector<int>>& w, int S, int R) {
    std::vector<float> sp(S + 1, 50.0f), rel(R + 1, 0.0f), relTotal(R + 1), spTotal(S + 1);
    sp[0] = 0.0f;
    sp[1] = 40.0f;
    for (int q = 1; q <= R; ++q) {
        double t = 0;
        for (int p = 1; p <= S; ++p) t += w[q][p];
        relTotal[q] = static_cast<float>(t);
    }
    for (int p = 1; p <= S; ++p) {
        double t = 0;
        for (int q = 1; q <= R; ++q) t += w[q][p];
        spTotal[p] = static_cast<float>(t);
    }
    const auto rescale = [](std::vector<float>& v) {
        double lo = 6000, hi = 0;
        for (std::size_t i = 1; i < v.size(); ++i) {
            lo = std::min<double>(lo, v[i]);
            hi = std::max<double>(hi, v[i]);
        }
        const double range = std::max(hi - lo, 1.0);
        for (std::size_t i = 1; i < v.size(); ++i) v[i] = static_cast<float>((v[i] - lo) * 100.0 / range);
    };
    const auto change = [](const std::vector<float>& a, const std::vector<float>& b) {
        double s = 0;
        for (std::size_t i = 1; i < a.size(); ++i) s += std::fabs(static_cast<double>(a[i]) - b[i]);
        return s;
    };
    RaResult r;
    for (r.iterations = 1;; ++r.iterations) {
        std::vector<float> newRel(R + 1, 0.0f), newSp(S + 1, 0.0f);
        for (int q = 1; q <= R; ++q) {
            double s = 0;
            for (int p = 1; p <= S; ++p) s += static_cast<double>(w[q][p]) * sp[p];
            newRel[q] = static_cast<float>(s / relTotal[q]);
        }
        rescale(newRel);
        for (int p = 1; p <= S; ++p) {
            double s = 0;
            for (int q = 1; q <= R; ++q) s += static_cast<double>(w[q][p]) * newRel[q];
            newSp[p] = static_cast<float>(s / spTotal[p]);
        }
        rescale(newSp);
        const bool settled = change(sp, newSp) < 2 && change(rel, newRel) < 2;
        sp = newSp;
        rel = newRel;
        if (settled || r.iterations > 1000) break;
    }
    r.speciesScores = sp;
    r.releveScores = rel;
    return r;
}

// Weights of R relevés over S species. Species 1 .. `common` occur in most relevés (long
// lists beside short ones); every species and relevé gets at least one weight.
struct RandomWeights {
    RaWeights w;
    std::vector<std::vector<int>> matrix;
};
RandomWeights MakeWeights(int R, int S, int perReleve, int common, int maxWeight, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::vector<int>> m(R + 1, std::vector<int>(S + 1, 0));
    const auto weight = [&] { return 1 + static_cast<int>(rng() % static_cast<unsigned>(maxWeight)); };
    for (int q = 1; q <= R; ++q) {
        m[q][1 + static_cast<int>(rng() % static_cast<unsigned>(S))] = weight();
        for (int k = 1; k < perReleve; ++k) m[q][1 + static_cast<int>(rng() % static_cast<unsigned>(S))] = weight();
        for (int p = 1; p <= common && p <= S; ++p)
            if (rng() % 10 < 8) m[q][p] = weight();
    }
    for (int p = 1; p <= S; ++p) m[1 + static_cast<int>(rng() % static_cast<unsigned>(R))][p] = weight();
    RandomWeights r;
    r.matrix = m;
    RaWeights& w = r.w;
    w.species = S;
    w.releves = R;
    w.relStart.assign(1, 0);
    w.relTotal.assign(R + 1, 0.0f);
    w.spTotal.assign(S + 1, 0.0f);
    std::vector<double> spSum(S + 1, 0.0);
    for (int q = 1; q <= R; ++q) {
        double t = 0;
        for (int p = 1; p <= S; ++p) {
            if (m[q][p] == 0) continue;
            w.relSpecies.push_back(p);
            w.relWeight.push_back(static_cast<std::uint16_t>(m[q][p]));
            t += m[q][p];
            spSum[p] += m[q][p];
        }
        w.relStart.push_back(w.relSpecies.size());
        w.relTotal[q] = static_cast<float>(t);
    }
    for (int p = 1; p <= S; ++p) w.spTotal[p] = static_cast<float>(spSum[p]);
    return r;
}

void ExpectSameBits(const RaResult& a, const RaResult& b, const std::string& what) {
    EXPECT_EQ(a.iterations, b.iterations) << what;
    ASSERT_EQ(a.speciesScores.size(), b.speciesScores.size()) << what;
    ASSERT_EQ(a.releveScores.size(), b.releveScores.size()) << what;
    const auto bits = [](float x) {
        std::uint32_t u;
        std::memcpy(&u, &x, 4);
        return u;
    };
    for (std::size_t i = 1; i < a.speciesScores.size(); ++i)
        ASSERT_EQ(bits(a.speciesScores[i]), bits(b.speciesScores[i])) << what << ", species " << i;
    for (std::size_t i = 1; i < a.releveScores.size(); ++i)
        ASSERT_EQ(bits(a.releveScores[i]), bits(b.releveScores[i])) << what << ", relevé " << i;
}

TEST(ReciprocalAveraging, ScoresAreTheSameToTheBitOnAnyNumberOfThreads) {
    struct Shape {
        int releves, species, perReleve, common, maxWeight;
    };
    // Fewer lists than a thread sums side by side; a ring-like sparse table that runs to the
    // limit; common species whose lists are many times longer than the rest; presence only.
    const Shape shapes[] = {{1, 3, 3, 0, 10},     {3, 2, 1, 0, 10},    {2, 9, 5, 1, 10},
                            {300, 120, 2, 0, 10}, {500, 90, 6, 5, 10}, {600, 150, 12, 8, 1}};
    std::uint32_t seed = 11;
    for (const Shape& s : shapes) {
        const RandomWeights r = MakeWeights(s.releves, s.species, s.perReleve, s.common, s.maxWeight, ++seed);
        const std::string what = std::to_string(s.releves) + " x " + std::to_string(s.species);
        const RaResult defined = IterateOnTheMatrix(r.matrix, s.species, s.releves);
        for (int threads : {1, 2, 3})
            ExpectSameBits(RaIterate(r.w, nullptr, threads), defined, what + ", threads " + std::to_string(threads));
    }
}

TEST(ReciprocalAveraging, WeightsTooWideForOneWordPerEntryGiveTheSameScores) {
    // More than 65,536 relevés with weights of 16 bits do not fit position and weight into
    // 32 bits. Two species settle in a few iterations.
    const RandomWeights r = MakeWeights(66000, 2, 1, 0, 60000, 5);
    const RaResult defined = IterateOnTheMatrix(r.matrix, 2, 66000);
    EXPECT_LT(defined.iterations, 10);
    for (int threads : {1, 2})
        ExpectSameBits(RaIterate(r.w, nullptr, threads), defined, "threads " + std::to_string(threads));
}

TEST(ReciprocalAveraging, ATableGivesItsScoresWhateverTheThreads) {
    Table t;
    tools::SyntheticShape shape;
    shape.releves = 2000;
    shape.species = 400;
    shape.perReleve = 20;
    tools::FillSyntheticTable(t, shape);
    const RaResult automatic = ReciprocalAveraging(t, true);
    const RaWeights w = RaWeightMatrix(t, true);
    ExpectSameBits(automatic, RaIterate(w, nullptr, 1), "one thread");
    ExpectSameBits(automatic, RaIterate(w, nullptr, 2), "two threads");
}

TEST(ExchangeSort, EqualScoresAreNotStable) {
    EXPECT_EQ(ExchangeSortOrder({0, 3, 2, 2, 1}), (std::vector<int>{4, 3, 2, 1}));
    EXPECT_EQ(ExchangeSortOrder({0, 1, 1, 1}), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(ExchangeSortOrder({0}), std::vector<int>{});
}

TEST(ExchangeSort, AgreesWithTheExchangesOneByOne) {
    std::mt19937 rng(7);
    for (int round = 0; round < 3000; ++round) {
        const int n = 1 + static_cast<int>(rng() % 40);
        const int values = 1 + static_cast<int>(rng() % (round % 3 == 0 ? 3 : 12));
        std::vector<float> s(static_cast<std::size_t>(n) + 1, 0.0f);
        for (int i = 1; i <= n; ++i) s[i] = static_cast<float>(rng() % values) * 12.5f;
        ASSERT_EQ(ExchangeSortOrder(s), ExchangeSortByHand(s)) << "round " << round;
    }
    // Long runs of descending scores with ties, where the exchanges pile up.
    std::vector<float> s{0};
    for (int i = 300; i > 0; --i) s.push_back(static_cast<float>(i / 3));
    EXPECT_EQ(ExchangeSortOrder(s), ExchangeSortByHand(s));
}

TEST(ScoreTable, LaysOutBothListsSideBySide) {
    Table t = MakeTable({{"a", "b"}, {"b", "c"}, {"c"}});
    t.SetHeaderText(t.ReleveKeyAt(1), 2, "R-01");
    t.FontSize = 9;
    RaResult r;
    r.speciesScores = {0, 45.25f, 100.0f, 0.0f};
    r.releveScores = {0, -0.00001f, 50.0f, 100.0f};
    const FreqTable g = RaScoreTable(t, r);
    EXPECT_EQ(g.caption, "Reciprocal Averaging Score");
    EXPECT_EQ(g.ColCount(), 5);
    EXPECT_EQ(g.RowCount(), 4);
    EXPECT_EQ(g.fixedRows, 1);
    EXPECT_EQ(g.Text(0, 0), "　植物名");
    EXPECT_EQ(g.Text(3, 0), "測定ＩＤ");
    EXPECT_EQ(g.Text(0, 1), "a");
    EXPECT_EQ(g.Text(1, 1), "45.2");  // 45.25f is just below 45.25
    EXPECT_EQ(g.Text(1, 2), "100.0");
    EXPECT_EQ(g.Text(3, 1), "R-01");
    EXPECT_EQ(g.Text(4, 1), "0.0");
    EXPECT_EQ(g.Text(2, 1), "");
    EXPECT_EQ(g.ColWidth(0), 180);
    EXPECT_EQ(g.ColWidth(2), 9);
    EXPECT_EQ(g.defaultRowHeight, 14);
}

}  // namespace
}  // namespace tavik
