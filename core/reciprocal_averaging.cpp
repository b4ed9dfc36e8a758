#include "core/reciprocal_averaging.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "core/cover_number.h"

namespace tavik {

namespace {

constexpr float kFirstSpeciesStart = 40.0f;
constexpr float kSpeciesStart = 50.0f;
constexpr double kMinStart = 6000.0;
constexpr double kMaxStart = 0.0;
constexpr double kSmallestRange = 1.0;
constexpr double kScale = 100.0;
constexpr double kThreshold = 2.0;
constexpr int kIterationLimit = 1000;  // the run stops after iteration 1001

int Weight(int method, const LayerCovers& c) {
    int w = 0;
    for (char ch : CoverNumber(method, c))
        if (ch >= '0' && ch <= '9') w = w * 10 + (ch - '0');
    return w;
}

// Extremes of the stored scores, then the scores rescaled to 0..100 (a range below 1
// counts as 1).
void Rescale(int n, float* scores) {
    double minimum = kMinStart, maximum = kMaxStart;
    for (int i = 1; i <= n; ++i) {
        const double x = scores[i];
        if (minimum > x) minimum = x;
        if (maximum < x) maximum = x;
    }
    double range = maximum - minimum;
    if (range < kSmallestRange) range = kSmallestRange;
    for (int i = 1; i <= n; ++i) scores[i] = static_cast<float>((static_cast<double>(scores[i]) - minimum) * kScale / range);
}

// Relevé scores: each relevé's weighted average of the species scores. Two relevés are
// summed side by side, each in its own order, so that one's additions need not wait for
// the other's.
void ReleveAverages(const RaWeights& w, const float* spScores, float* rel, std::vector<double>& wide) {
    // The species scores widened once, not once per term (the same values).
    for (int p = 0; p <= w.species; ++p) wide[static_cast<std::size_t>(p)] = spScores[p];
    const double* sp = wide.data();
    const std::int32_t* species = w.relSpecies.data();
    const std::uint16_t* weight = w.relWeight.data();
    const std::size_t* start = w.relStart.data();
    const auto term = [&](std::size_t e) { return static_cast<double>(weight[e]) * sp[species[e]]; };
    int q = 1;
    for (; q + 1 <= w.releves; q += 2) {
        std::size_t a = start[q - 1], b = start[q];
        const std::size_t aEnd = start[q], bEnd = start[q + 1];
        double sa = 0.0, sb = 0.0;
        for (; a < aEnd && b < bEnd; ++a, ++b) {
            sa += term(a);
            sb += term(b);
        }
        for (; a < aEnd; ++a) sa += term(a);
        for (; b < bEnd; ++b) sb += term(b);
        rel[q] = static_cast<float>(sa / static_cast<double>(w.relTotal[static_cast<std::size_t>(q)]));
        rel[q + 1] = static_cast<float>(sb / static_cast<double>(w.relTotal[static_cast<std::size_t>(q) + 1]));
    }
    for (; q <= w.releves; ++q) {
        double sum = 0.0;
        for (std::size_t e = start[q - 1]; e < start[q]; ++e) sum += term(e);
        rel[q] = static_cast<float>(sum / static_cast<double>(w.relTotal[static_cast<std::size_t>(q)]));
    }
}

// Species scores: each species' weighted average of the relevé scores, its terms added in
// relevé order. Going through the relevés once keeps the sums of many species in flight at
// the same time instead of one long chain of additions per species.
void SpeciesAverages(const RaWeights& w, const float* rel, float* sp, std::vector<double>& sums) {
    std::fill(sums.begin(), sums.end(), 0.0);
    double* acc = sums.data();
    const std::int32_t* species = w.relSpecies.data();
    const std::uint16_t* weight = w.relWeight.data();
    for (int q = 1; q <= w.releves; ++q) {
        const double r = rel[q];
        const std::size_t end = w.relStart[static_cast<std::size_t>(q)];
        for (std::size_t e = w.relStart[static_cast<std::size_t>(q) - 1]; e < end; ++e)
            acc[species[e]] += static_cast<double>(weight[e]) * r;
    }
    for (int p = 1; p <= w.species; ++p)
        sp[p] = static_cast<float>(acc[p] / static_cast<double>(w.spTotal[static_cast<std::size_t>(p)]));
}

double ChangeSum(int n, const float* a, const float* b) {
    double s = 0.0;
    for (int i = 1; i <= n; ++i) s += std::fabs(static_cast<double>(a[i]) - static_cast<double>(b[i]));
    return s;
}

// Positions 1..n of a Fenwick tree: counts of marked positions.
class Fenwick {
public:
    explicit Fenwick(int n) : n_(n), tree_(static_cast<std::size_t>(n) + 1, 0) {
        for (log_ = 1; (1 << log_) <= n_; ++log_) {}
    }
    void Add(int i) {
        ++total_;
        for (; i <= n_; i += i & -i) ++tree_[static_cast<std::size_t>(i)];
    }
    int Prefix(int i) const {  // marked positions <= i
        int s = 0;
        for (i = std::min(i, n_); i > 0; i -= i & -i) s += tree_[static_cast<std::size_t>(i)];
        return s;
    }
    int Kth(int k) const {  // the k-th smallest marked position (1 <= k <= total)
        int pos = 0;
        for (int step = 1 << log_; step > 0; step >>= 1)
            if (pos + step <= n_ && tree_[static_cast<std::size_t>(pos + step)] < k) {
                pos += step;
                k -= tree_[static_cast<std::size_t>(pos)];
            }
        return pos + 1;
    }
    int Total() const { return total_; }

private:
    int n_, log_ = 0, total_ = 0;
    std::vector<int> tree_;
};

}  // namespace

RaWeights RaWeightMatrix(const Table& t, bool dominance, Progress* progress) {
    const int method = dominance ? 1 : 6;
    const int S = t.SpeciesCount(), R = t.ReleveCount();
    RaWeights w;
    w.species = S;
    w.releves = R;
    w.relTotal.assign(static_cast<std::size_t>(R) + 1, 0.0f);
    w.spTotal.assign(static_cast<std::size_t>(S) + 1, 0.0f);

    // Each relevé's cells come by species key: sort its entries by position.
    std::vector<std::pair<std::int32_t, std::uint16_t>> entries;
    std::vector<double> spSum(static_cast<std::size_t>(S) + 1, 0.0);
    w.relStart.assign(static_cast<std::size_t>(R) + 1, 0);
    for (int q = 1; q <= R; ++q) {
        // Every hundredth relevé: a table of 100,000 would spend longer on the message.
        if (progress && (q % 100 == 1 || q == R)) progress->Show("　反復平均法 準備中　", "Step 1: " + std::to_string(q));
        entries.clear();
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(q))) {
            const int p = t.SpeciesPosOf(c.species);
            if (p < 1 || p > S) continue;
            const int x = Weight(method, c.covers);
            if (x > 0) entries.emplace_back(p, static_cast<std::uint16_t>(x));
        }
        std::sort(entries.begin(), entries.end());
        double relSum = 0.0;
        for (const auto& [p, x] : entries) {
            w.relSpecies.push_back(p);
            w.relWeight.push_back(x);
            relSum += x;
            spSum[static_cast<std::size_t>(p)] += x;
        }
        w.relStart[static_cast<std::size_t>(q)] = w.relSpecies.size();
        w.relTotal[static_cast<std::size_t>(q)] = static_cast<float>(relSum);
    }
    for (int p = 1; p <= S; ++p) w.spTotal[static_cast<std::size_t>(p)] = static_cast<float>(spSum[static_cast<std::size_t>(p)]);
    return w;
}

namespace {

bool IsBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// A species row as the grid shows it: by its name, and an empty row (which the grid shows
// without a number or a name) by the nearest named row above it.
std::string RowCaption(const Table& t, int p) {
    const std::string& name = t.SpeciesName(t.SpeciesKeyAt(p));
    if (!IsBlank(name)) return "「" + name + "」";
    for (int above = p - 1; above >= 1; --above) {
        const std::string& n = t.SpeciesName(t.SpeciesKeyAt(above));
        if (!IsBlank(n)) return "「" + n + "」の下の空白行";
    }
    return "先頭の空白行";
}

}  // namespace

void CheckRaWeights(const Table& t, const RaWeights& w) {
    if (w.species == 0 || w.releves == 0)
        throw RaRefused("種または測定がない表では反復平均法を実行できません。");
    constexpr int kNamed = 5;
    std::vector<std::string> species, releves;
    int spZero = 0, relZero = 0;
    for (int p = 1; p <= w.species; ++p) {
        if (w.spTotal[static_cast<std::size_t>(p)] > 0.0f) continue;
        if (++spZero > kNamed) continue;
        species.push_back(RowCaption(t, p));
    }
    const int numberRow = t.HeaderRowOfItem(2);  // the relevé numbers, 0 for none
    for (int q = 1; q <= w.releves; ++q) {
        if (w.relTotal[static_cast<std::size_t>(q)] > 0.0f) continue;
        if (++relZero > kNamed) continue;
        std::string label = std::to_string(q) + " 列目";
        if (numberRow > 0) {
            std::string number = t.HeaderText(t.ReleveKeyAt(q), numberRow);
            const auto a = number.find_first_not_of(' ');
            if (a != std::string::npos) label += "（測定番号 " + number.substr(a, number.find_last_not_of(' ') - a + 1) + "）";
        }
        releves.push_back(label);
    }
    if (spZero == 0 && relZero == 0) return;
    const auto join = [](const std::vector<std::string>& v, int count) {
        std::string s;
        for (const auto& x : v) s += (s.empty() ? "" : "、") + x;
        if (count > static_cast<int>(v.size())) s += " ほか " + std::to_string(count - static_cast<int>(v.size())) + " 件";
        return s;
    };
    std::string msg = "反復平均法を実行できません。出現（重み）のない行・列があります。\n";
    if (spZero > 0) msg += "種: " + join(species, spZero) + "\n";
    if (relZero > 0) msg += "測定: " + join(releves, relZero) + "\n";
    msg += "区切りの空白列、空白行、コメント行、被度が「(」「*」だけの種などを削除してから実行してください。";
    throw RaRefused(msg);
}

RaResult RaIterate(const RaWeights& w, Progress* progress) {
    const int S = w.species, R = w.releves;
    std::vector<float> sp[2], rel[2];
    sp[0].assign(static_cast<std::size_t>(S) + 1, 0.0f);
    for (int p = 1; p <= S; ++p) sp[0][static_cast<std::size_t>(p)] = kSpeciesStart;
    if (S >= 1) sp[0][1] = kFirstSpeciesStart;
    sp[1] = sp[0];
    rel[0].assign(static_cast<std::size_t>(R) + 1, 0.0f);
    rel[1] = rel[0];
    std::vector<double> sums(static_cast<std::size_t>(S) + 1);
    int oldB = 1, newB = 0, count = 0;
    if (progress) progress->Show("　反復平均法 計算中　", "   ");
    for (;;) {
        oldB = 1 - oldB;
        newB = 1 - newB;
        ++count;
        if (progress) progress->Show("　反復平均法 計算中　", "Step 2: " + std::to_string(count));
        ReleveAverages(w, sp[oldB].data(), rel[newB].data(), sums);
        Rescale(R, rel[newB].data());
        SpeciesAverages(w, rel[newB].data(), sp[newB].data(), sums);
        Rescale(S, sp[newB].data());
        const double spChange = ChangeSum(S, sp[oldB].data(), sp[newB].data());
        const double relChange = ChangeSum(R, rel[oldB].data(), rel[newB].data());
        if ((spChange < kThreshold && relChange < kThreshold) || count > kIterationLimit) break;
    }
    RaResult r;
    r.speciesScores = std::move(sp[newB]);
    r.releveScores = std::move(rel[newB]);
    r.iterations = count;
    return r;
}

RaResult ReciprocalAveraging(const Table& t, bool dominance, Progress* progress) {
    if (t.SpeciesCount() == 0 || t.ReleveCount() == 0)
        throw RaRefused("種または測定がない表では反復平均法を実行できません。");
    RaWeights w = RaWeightMatrix(t, dominance, progress);
    CheckRaWeights(t, w);
    return RaIterate(w, progress);
}

// Pass a of the exchange sort puts into position a the leftmost of the smallest scores from
// a on, so the result is sorted, and only the order within a group of equal scores needs
// working out. For a group of value x: the positions holding smaller scores, and those
// holding scores up to x, each lose their smallest member at every pass (pass a fills
// position a with one of them and the one it took is the first after a). So at pass a the
// first smaller score after a sits at the a-th smallest original position of a smaller
// score, PL[a]. When the leftmost score of the group comes before it, the pass carries that
// score to PL[a], past the members of the group between; this happens at every pass from
// the first one that reaches the group until the smaller scores are used up. Once PL[a]
// lies beyond every member, each further pass carries the leftmost member to the end.
std::vector<int> ExchangeSortOrder(const std::vector<float>& scores) {
    const int n = static_cast<int>(scores.size()) - 1;
    std::vector<int> order(static_cast<std::size_t>(std::max(n, 0)));
    if (n <= 0) return order;
    std::vector<int> byValue(static_cast<std::size_t>(n));
    std::iota(byValue.begin(), byValue.end(), 1);
    std::stable_sort(byValue.begin(), byValue.end(), [&](int a, int b) {
        return scores[static_cast<std::size_t>(a)] < scores[static_cast<std::size_t>(b)];
    });
    Fenwick smaller(n);  // original positions of the scores below the current group
    struct Member {
        int pos, id;
    };
    std::vector<Member> group;
    std::size_t i = 0;
    while (i < byValue.size()) {
        std::size_t j = i;
        while (j < byValue.size() && scores[static_cast<std::size_t>(byValue[j])] == scores[static_cast<std::size_t>(byValue[i])]) ++j;
        const int mL = smaller.Total();
        group.clear();
        for (std::size_t k = i; k < j; ++k) group.push_back({byValue[k], byValue[k]});  // ascending positions
        const int mE = static_cast<int>(group.size());
        if (mE > 1 && mL > 0) {
            int a = smaller.Prefix(group.front().pos - 1) + 1;  // first pass that reaches the group
            while (a <= mL) {
                const int t = smaller.Kth(a);
                if (t > group.back().pos) {
                    const int turns = (mL - a + 1) % mE;
                    std::rotate(group.begin(), group.begin() + turns, group.end());
                    break;
                }
                if (t < group[1].pos) {
                    // The leftmost member moves on but stays first, up to the last smaller
                    // position before the second member.
                    const int next = smaller.Prefix(group[1].pos) + 1;
                    group.front().pos = smaller.Kth(std::min(next, mL + 1) - 1);
                    a = next;
                    continue;
                }
                Member m = group.front();
                m.pos = t;
                auto at = std::lower_bound(group.begin() + 1, group.end(), t,
                                           [](const Member& g, int p) { return g.pos < p; });
                std::move(group.begin() + 1, at, group.begin());
                *(at - 1) = m;
                ++a;
            }
        }
        for (int k = 0; k < mE; ++k) order[static_cast<std::size_t>(mL + k)] = group[static_cast<std::size_t>(k)].id;
        for (std::size_t k = i; k < j; ++k) smaller.Add(byValue[k]);
        i = j;
    }
    return order;
}

RaOrder ApplyRaOrder(Table& t, const RaResult& r, Progress* progress) {
    RaOrder o;
    if (progress) progress->Show("　反復平均法 植物の並び替え　", "");
    o.species = ExchangeSortOrder(r.speciesScores);
    if (!o.species.empty()) t.PermuteSpecies(1, o.species);
    t.RecountSpecies();
    if (progress) progress->Show("　反復平均法 測定の並び替え　", "");
    o.releves = ExchangeSortOrder(r.releveScores);
    if (!o.releves.empty()) t.PermuteReleves(1, o.releves);
    t.RecountReleves();
    return o;
}

std::string RaScoreText(float score) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(score));
    std::string s = buf;
    if (s == "-0.0") s = "0.0";
    return s;
}

FreqTable RaScoreTable(const Table& t, const RaResult& r) {
    const int S = static_cast<int>(r.speciesScores.size()) - 1;
    const int R = static_cast<int>(r.releveScores.size()) - 1;
    const int pt = t.FontSize;
    FreqTable g;
    g.caption = kRaScoreCaption;
    g.Resize(5, std::max(S, R) + 1);
    g.Clear();
    g.fixedRows = 1;
    g.fixedCols = 0;
    g.defaultRowHeight = FreqRowHeight(pt);
    g.colWidths = {20 * pt, 6 * pt, pt, 8 * pt, 6 * pt};
    g.SetText(0, 0, "　植物名");
    g.SetText(1, 0, "スコア");
    g.SetText(3, 0, "測定ＩＤ");
    g.SetText(4, 0, "スコア");
    for (int p = 1; p <= S; ++p) {
        g.SetText(0, p, t.SpeciesName(t.SpeciesKeyAt(p)));
        g.SetText(1, p, RaScoreText(r.speciesScores[static_cast<std::size_t>(p)]));
    }
    for (int q = 1; q <= R; ++q) {
        g.SetText(3, q, t.Text(Table::ReleveColumn(q), 2));
        g.SetText(4, q, RaScoreText(r.releveScores[static_cast<std::size_t>(q)]));
    }
    return g;
}

}  // namespace tavik
