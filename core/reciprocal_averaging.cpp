#include "core/reciprocal_averaging.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "core/cover_number.h"
#include "core/headings.h"
#include "core/ordered_chunks.h"
#include "core/step_threads.h"

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

// The weights as the iterations read them, every entry one word holding a position above
// `bits` bits of weight. For the relevé averages, relevé q's species are entries
// relStart[q-1] .. relStart[q]-1. For the species averages each part of the species gets
// the same layout restricted to its own species, so that it goes through the relevés in
// order as a single pass would, adding only to its own species.
template <class Word>
struct RaLists {
    int bits = 0;
    std::vector<std::size_t> relStart;
    std::vector<Word> relEntries;
    std::vector<std::pair<int, int>> spParts;  // species first..last of each part
    std::vector<std::vector<std::size_t>> partStart;
    std::vector<std::vector<Word>> partEntries;
};

// Parts first..last of lists 1..n, each part about the same number of entries (list i
// ends at entry start[i]).
std::vector<std::pair<int, int>> SplitLists(const std::vector<std::size_t>& start, int parts) {
    const int n = static_cast<int>(start.size()) - 1;
    std::vector<std::pair<int, int>> ranges;
    int first = 1;
    for (int k = 1; k <= parts; ++k) {
        const std::size_t goal = start.back() / static_cast<std::size_t>(parts) * static_cast<std::size_t>(k);
        int last = k == parts ? n : first - 1;
        while (last < n && start[static_cast<std::size_t>(last)] < goal) ++last;
        ranges.emplace_back(first, last);
        first = last + 1;
    }
    return ranges;
}

template <class Word>
RaLists<Word> MakeLists(const RaWeights& w, int bits, int parts) {
    RaLists<Word> l;
    l.bits = bits;
    l.relStart = w.relStart;
    const std::size_t n = w.relSpecies.size();
    l.relEntries.resize(n);
    std::vector<std::size_t> spEnd(static_cast<std::size_t>(w.species) + 1, 0);
    for (std::size_t e = 0; e < n; ++e) {
        l.relEntries[e] = static_cast<Word>(static_cast<Word>(w.relSpecies[e]) << bits | w.relWeight[e]);
        ++spEnd[static_cast<std::size_t>(w.relSpecies[e])];
    }
    for (std::size_t p = 1; p < spEnd.size(); ++p) spEnd[p] += spEnd[p - 1];
    l.spParts = SplitLists(spEnd, parts);
    std::vector<int> partOf(static_cast<std::size_t>(w.species) + 1, 0);
    for (int k = 0; k < parts; ++k)
        for (int p = l.spParts[static_cast<std::size_t>(k)].first; p <= l.spParts[static_cast<std::size_t>(k)].second;
             ++p)
            partOf[static_cast<std::size_t>(p)] = k;
    l.partStart.assign(static_cast<std::size_t>(parts), std::vector<std::size_t>(1, 0));
    l.partEntries.resize(static_cast<std::size_t>(parts));
    for (int k = 0; k < parts; ++k) {
        const auto [a, b] = l.spParts[static_cast<std::size_t>(k)];
        l.partEntries[static_cast<std::size_t>(k)].reserve(spEnd[static_cast<std::size_t>(b)] -
                                                           spEnd[static_cast<std::size_t>(a) - 1]);
        l.partStart[static_cast<std::size_t>(k)].reserve(static_cast<std::size_t>(w.releves) + 1);
    }
    for (int q = 1; q <= w.releves; ++q) {
        for (std::size_t e = w.relStart[static_cast<std::size_t>(q) - 1]; e < w.relStart[static_cast<std::size_t>(q)];
             ++e)
            l.partEntries[static_cast<std::size_t>(partOf[static_cast<std::size_t>(w.relSpecies[e])])].push_back(
                l.relEntries[e]);
        for (int k = 0; k < parts; ++k)
            l.partStart[static_cast<std::size_t>(k)].push_back(l.partEntries[static_cast<std::size_t>(k)].size());
    }
    return l;
}

// The weighted sums of the species: for each relevé q in order, weight x score[q] added to
// the sum of each of its species, as the entries go (only the species of one part).
template <class Word>
void SpeciesSums(const std::vector<std::size_t>& start, const std::vector<Word>& entries, int bits, const float* rel,
                 double* sums) {
    const Word mask = static_cast<Word>((Word{1} << bits) - 1);
    const Word* x = entries.data();
    for (std::size_t q = 1; q < start.size(); ++q) {
        const double r = rel[q];
        const std::size_t end = start[q];
        for (std::size_t e = start[q - 1]; e < end; ++e) sums[x[e] >> bits] += static_cast<double>(x[e] & mask) * r;
    }
}

// The weighted sums of lists first..last: for each list the terms weight x value[position],
// added in the list's order from 0, handed to out(list, sum). Four lists are summed side by
// side, each lane taking the next list when its own ends, so that one sum's additions need
// not wait for another's and a long list does not hold up short ones.
template <class Word, class Out>
void WeightedSums(const std::size_t* start, const Word* entries, int bits, const float* value, int first, int last,
                  Out out) {
    constexpr int kLanes = 4;
    const Word mask = static_cast<Word>((Word{1} << bits) - 1);
    const auto term = [&](std::size_t e) {
        const Word x = entries[e];
        return static_cast<double>(x & mask) * static_cast<double>(value[x >> bits]);
    };
    std::size_t at[kLanes], end[kLanes];
    int list[kLanes];
    double sum[kLanes];
    int next = first;
    const auto take = [&](int k) {
        if (next > last) return false;
        list[k] = next;
        at[k] = start[next - 1];
        end[k] = start[next];
        sum[k] = 0.0;
        ++next;
        return true;
    };
    bool full = last - first + 1 >= kLanes;
    for (int k = 0; full && k < kLanes; ++k) take(k);
    while (full) {
        std::size_t n = end[0] - at[0];
        for (int k = 1; k < kLanes; ++k) n = std::min(n, end[k] - at[k]);
        for (std::size_t j = 0; j < n; ++j) {
            sum[0] += term(at[0] + j);
            sum[1] += term(at[1] + j);
            sum[2] += term(at[2] + j);
            sum[3] += term(at[3] + j);
        }
        for (int k = 0; k < kLanes; ++k) at[k] += n;
        for (int k = 0; k < kLanes && full; ++k)
            if (at[k] == end[k]) {
                out(list[k], sum[k]);
                if (!take(k)) {
                    list[k] = -1;  // this lane is done; the others finish one by one
                    full = false;
                }
            }
    }
    // The lists the lanes still hold, then any not begun (fewer lists than lanes).
    for (int k = 0; k < kLanes && last - first + 1 >= kLanes; ++k) {
        if (list[k] < 0) continue;
        for (; at[k] < end[k]; ++at[k]) sum[k] += term(at[k]);
        out(list[k], sum[k]);
    }
    for (; next <= last; ++next) {
        double s = 0.0;
        for (std::size_t e = start[next - 1]; e < start[next]; ++e) s += term(e);
        out(next, s);
    }
}

// The extremes of scores[first..last], as a loop from the first one finds them.
struct Extremes {
    double minimum = kMinStart, maximum = kMaxStart;
    void Add(const float* scores, int first, int last) {
        for (int i = first; i <= last; ++i) {
            const double x = scores[i];
            if (minimum > x) minimum = x;
            if (maximum < x) maximum = x;
        }
    }
    void Add(const Extremes& e) {
        if (minimum > e.minimum) minimum = e.minimum;
        if (maximum < e.maximum) maximum = e.maximum;
    }
};

// Scores rescaled to 0..100 from the extremes of all of them (a range below 1 counts as 1).
void Rescale(const Extremes& e, float* scores, int first, int last) {
    double range = e.maximum - e.minimum;
    if (range < kSmallestRange) range = kSmallestRange;
    for (int i = first; i <= last; ++i)
        scores[i] = static_cast<float>((static_cast<double>(scores[i]) - e.minimum) * kScale / range);
}

// Whether the sum of the changes |a[i] - b[i]|, i = 1..n, added in order, stays below
// `limit`. The adding stops once the sum reaches the limit: a sum of terms that are never
// negative cannot come down again, so the answer is that of the whole sum.
bool ChangeBelow(int n, const float* a, const float* b, double limit) {
    double s = 0.0;
    for (int i = 1; i <= n; ++i) {
        s += std::fabs(static_cast<double>(a[i]) - static_cast<double>(b[i]));
        if (!(s < limit)) return false;
    }
    return true;
}

// The iterations on `threads` threads. Every sum is added in the same order whatever the
// number of threads: a relevé's along its species, a species' along its relevés; extremes
// are found part by part and joined in part order. So the scores do not depend on it.
template <class Word>
RaResult Iterate(const RaWeights& w, int bits, int threads, Progress* progress) {
    const int S = w.species, R = w.releves;
    StepThreads team(threads);
    const int parts = team.Parts();
    const RaLists<Word> lists = MakeLists<Word>(w, bits, parts);
    const auto relParts = SplitLists(lists.relStart, parts);
    const auto& spParts = lists.spParts;
    std::vector<double> sums(static_cast<std::size_t>(S) + 1, 0.0);
    std::vector<Extremes> found(static_cast<std::size_t>(parts));
    Extremes all;

    std::vector<float> sp[2], rel[2];
    sp[0].assign(static_cast<std::size_t>(S) + 1, 0.0f);
    for (int p = 1; p <= S; ++p) sp[0][static_cast<std::size_t>(p)] = kSpeciesStart;
    if (S >= 1) sp[0][1] = kFirstSpeciesStart;
    sp[1] = sp[0];
    rel[0].assign(static_cast<std::size_t>(R) + 1, 0.0f);
    rel[1] = rel[0];
    int oldB = 1, newB = 0;

    // The four steps of an iteration, each run by every part on its own share.
    auto releveAverages = [&](int k) {
        const auto [a, b] = relParts[static_cast<std::size_t>(k)];
        float* out = rel[newB].data();
        WeightedSums(lists.relStart.data(), lists.relEntries.data(), bits, sp[oldB].data(), a, b, [&](int q, double s) {
            out[q] = static_cast<float>(s / static_cast<double>(w.relTotal[static_cast<std::size_t>(q)]));
        });
        found[static_cast<std::size_t>(k)] = Extremes();
        found[static_cast<std::size_t>(k)].Add(out, a, b);
    };
    auto speciesAverages = [&](int k) {
        const auto [a, b] = spParts[static_cast<std::size_t>(k)];
        float* out = sp[newB].data();
        std::fill(sums.begin() + a, sums.begin() + b + 1, 0.0);
        SpeciesSums(lists.partStart[static_cast<std::size_t>(k)], lists.partEntries[static_cast<std::size_t>(k)], bits,
                    rel[newB].data(), sums.data());
        for (int p = a; p <= b; ++p)
            out[p] = static_cast<float>(sums[static_cast<std::size_t>(p)] /
                                        static_cast<double>(w.spTotal[static_cast<std::size_t>(p)]));
        found[static_cast<std::size_t>(k)] = Extremes();
        found[static_cast<std::size_t>(k)].Add(out, a, b);
    };
    auto rescaleReleves = [&](int k) {
        Rescale(all, rel[newB].data(), relParts[static_cast<std::size_t>(k)].first,
                relParts[static_cast<std::size_t>(k)].second);
    };
    auto rescaleSpecies = [&](int k) {
        Rescale(all, sp[newB].data(), spParts[static_cast<std::size_t>(k)].first,
                spParts[static_cast<std::size_t>(k)].second);
    };
    const auto joinFound = [&] {
        all = Extremes();
        for (const Extremes& e : found) all.Add(e);
    };

    int count = 0;
    if (progress) progress->Show("　反復平均法 計算中　", "   ");
    for (;;) {
        oldB = 1 - oldB;
        newB = 1 - newB;
        ++count;
        if (progress) progress->Show("　反復平均法 計算中　", "Step 2: " + std::to_string(count));
        team.Run(releveAverages);
        joinFound();
        team.Run(rescaleReleves);
        team.Run(speciesAverages);
        joinFound();
        team.Run(rescaleSpecies);
        if (count > kIterationLimit) break;
        if (ChangeBelow(S, sp[oldB].data(), sp[newB].data(), kThreshold) &&
            ChangeBelow(R, rel[oldB].data(), rel[newB].data(), kThreshold))
            break;
    }
    RaResult r;
    r.speciesScores = std::move(sp[newB]);
    r.releveScores = std::move(rel[newB]);
    r.iterations = count;
    return r;
}

// Below this many entries one thread does the iterations sooner than two.
constexpr std::size_t kEntriesPerThread = 250000;

// Positions 1..n of a Fenwick tree: counts of marked positions.
class Fenwick {
public:
    explicit Fenwick(int n) : n_(n), tree_(static_cast<std::size_t>(n) + 1, 0) {
        for (log_ = 1; (1 << log_) <= n_; ++log_) {
        }
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
        if (progress && (q % 100 == 1 || q == R))
            progress->Show("　反復平均法 準備中　", "Step 1: " + std::to_string(q));
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
    for (int p = 1; p <= S; ++p)
        w.spTotal[static_cast<std::size_t>(p)] = static_cast<float>(spSum[static_cast<std::size_t>(p)]);
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
    if (w.species == 0 || w.releves == 0) throw RaRefused("種または測定がない表では反復平均法を実行できません。");
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
            if (a != std::string::npos)
                label += "（測定番号 " + number.substr(a, number.find_last_not_of(' ') - a + 1) + "）";
        }
        releves.push_back(label);
    }
    if (spZero == 0 && relZero == 0) return;
    const auto join = [](const std::vector<std::string>& v, int count) {
        std::string s;
        for (const auto& x : v) s += (s.empty() ? "" : "、") + x;
        if (count > static_cast<int>(v.size()))
            s += " ほか " + std::to_string(count - static_cast<int>(v.size())) + " 件";
        return s;
    };
    std::string msg = "反復平均法を実行できません。出現（重み）のない行・列があります。\n";
    if (spZero > 0) msg += "種: " + join(species, spZero) + "\n";
    if (relZero > 0) msg += "測定: " + join(releves, relZero) + "\n";
    msg += "区切りの空白列、空白行、コメント行、被度が「(」「*」だけの種などを削除してから実行してください。";
    throw RaRefused(msg);
}

RaResult RaIterate(const RaWeights& w, Progress* progress, int threads) {
    if (threads <= 0)
        threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(WorkerThreads()),
                                                         w.relSpecies.size() / kEntriesPerThread + 1));
    int bits = 1;
    for (std::uint16_t x : w.relWeight)
        while (bits < 16 && (x >> bits) != 0) ++bits;
    // One 32-bit word per entry when positions and weights fit in it, which they do for
    // every table of a few hundred million cells; otherwise 64.
    const auto positions = static_cast<std::uint64_t>(std::max(w.species, w.releves));
    if ((positions << bits) <= 0xFFFFFFFFu) return Iterate<std::uint32_t>(w, bits, threads, progress);
    return Iterate<std::uint64_t>(w, bits, threads, progress);
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
        while (j < byValue.size() &&
               scores[static_cast<std::size_t>(byValue[j])] == scores[static_cast<std::size_t>(byValue[i])])
            ++j;
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

RaOrder RaOrderOf(const RaResult& r, Progress* progress) {
    RaOrder o;
    if (progress) progress->Show("　反復平均法 植物の並び替え　", "");
    o.species = ExchangeSortOrder(r.speciesScores);
    if (progress) progress->Show("　反復平均法 測定の並び替え　", "");
    o.releves = ExchangeSortOrder(r.releveScores);
    return o;
}

void ApplyRaOrder(Table& t, const RaOrder& o) {
    if (!o.species.empty()) t.PermuteSpecies(1, o.species);
    t.RecountSpecies();
    if (!o.releves.empty()) t.PermuteReleves(1, o.releves);
    t.RecountReleves();
}

RaOrder ApplyRaOrder(Table& t, const RaResult& r, Progress* progress) {
    RaOrder o = RaOrderOf(r, progress);
    ApplyRaOrder(t, o);
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
    g.SetText(0, 0, HeadingText(Heading::SpeciesColumn));
    g.SetText(1, 0, HeadingText(Heading::Score));
    g.SetText(3, 0, HeadingText(Heading::ReleveId));
    g.SetText(4, 0, HeadingText(Heading::Score));
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
