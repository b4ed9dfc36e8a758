#include "core/classification.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <new>
#include <set>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>

#include "core/constancy.h"
#include "core/cover_number.h"
#include "core/fidelity.h"
#include "core/messages.h"

namespace tavik {

namespace {

constexpr std::string_view kWideBlank = "\xE3\x80\x80";  // the same in every language

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
    // A full-width blank pads like a half-width one.
    while (e - b >= 3 && s.compare(b, 3, kWideBlank) == 0) b += 3;
    while (e - b >= 3 && s.compare(e - 3, 3, kWideBlank) == 0) e -= 3;
    return s.substr(b, e - b);
}

// The number of one cell by the conversion method; "+" (method 5) counts as 1.
double CellValue(int method, const LayerCovers& c) {
    const std::string s = CoverNumber(method, c);
    if (s == "+") return 1;
    return std::strtod(s.c_str(), nullptr);
}

std::string JoinList(const std::vector<std::string>& items) {
    std::string s;
    const std::size_t shown = std::min<std::size_t>(items.size(), 20);
    for (std::size_t i = 0; i < shown; ++i) s += (i ? Tr("、") : "") + items[i];
    if (items.size() > shown) s += Arg(Tr(" ほか %1 件"), {std::to_string(items.size() - shown)});
    return s;
}

int ThreadCount(int asked, std::size_t rows) {
    int n = asked > 0 ? asked : static_cast<int>(std::thread::hardware_concurrency());
    n = std::max(1, std::min(n, 16));
    if (rows < 64) n = 1;
    return n;
}

}  // namespace

std::string ReleveNumber(const Table& t, int q) { return Trimmed(t.HeaderText(t.ReleveKeyAt(q), 2)); }

// ---- Data and distances ---------------------------------------------------------------------

ClusterData ClusterDataOf(const Table& t, const ClusterOptions& o) {
    if (o.method < 0 || o.method > 6) throw ClassificationRefused(Tr("変換方法は 0 から 6 です。"));
    ClusterData d;
    const int R = t.ReleveCount(), S = t.SpeciesCount();
    const int qFrom = std::max(1, o.releveFrom), qTo = std::min(R, o.releveTo);
    const int pFrom = std::max(1, o.speciesFrom), pTo = std::min(S, o.speciesTo);
    d.columns = S;
    d.start.push_back(0);
    // The values of the few distinct cover combinations are worked out once.
    std::map<LayerCovers, float, bool (*)(const LayerCovers&, const LayerCovers&)> memo(
        [](const LayerCovers& a, const LayerCovers& b) { return a.v < b.v; });
    std::vector<std::pair<std::int32_t, float>> row;
    for (int q = qFrom; q <= qTo; ++q) {
        if (t.RelNumSp()[static_cast<std::size_t>(q)] == 0) continue;
        row.clear();
        const int key = t.ReleveKeyAt(q);
        for (const Cell& c : t.CellsOf(key)) {
            if (c.species < 1 || c.species > t.MaxSpecies() || c.covers.empty()) continue;
            const int p = t.SpeciesPosOf(c.species);
            if (p < pFrom || p > pTo) continue;
            auto it = memo.find(c.covers);
            if (it == memo.end()) {
                double v = CellValue(o.method, c.covers);
                if (o.sqrt) v = std::sqrt(v);
                it = memo.emplace(c.covers, static_cast<float>(v)).first;
            }
            if (it->second > 0) row.emplace_back(p - 1, it->second);
        }
        if (row.empty()) {
            d.leftOut.push_back(q);
            continue;
        }
        std::sort(row.begin(), row.end());
        d.positions.push_back(q);
        for (const auto& [col, v] : row) {
            d.column.push_back(col);
            d.value.push_back(v);
        }
        d.start.push_back(d.column.size());
    }
    return d;
}

namespace {

// Per row: the sum of values; for the chord, the values are scaled to unit length.
std::vector<double> RowSums(const ClusterData& d, bool chord, std::vector<double>& value) {
    const std::size_t n = static_cast<std::size_t>(d.Rows());
    std::vector<double> sum(n, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        double s = 0, s2 = 0;
        for (std::size_t e = d.start[i]; e < d.start[i + 1]; ++e) {
            s += value[e];
            s2 += value[e] * value[e];
        }
        if (chord) {
            const double norm = std::sqrt(s2);
            for (std::size_t e = d.start[i]; e < d.start[i + 1]; ++e) value[e] /= norm;
        }
        sum[i] = s;
    }
    return sum;
}

// The inverted index: per species, the rows holding it (ascending) with their values.
struct Postings {
    std::vector<std::size_t> start;
    std::vector<std::uint32_t> row;
    std::vector<double> value;
};

Postings PostingsOf(const ClusterData& d, const std::vector<double>& value) {
    const std::size_t n = static_cast<std::size_t>(d.Rows());
    Postings p;
    p.start.assign(static_cast<std::size_t>(d.columns) + 2, 0);
    for (std::int32_t c : d.column) ++p.start[static_cast<std::size_t>(c) + 2];
    for (std::size_t c = 2; c < p.start.size(); ++c) p.start[c] += p.start[c - 1];
    p.row.resize(d.column.size());
    p.value.resize(d.column.size());
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t e = d.start[i]; e < d.start[i + 1]; ++e) {
            const std::size_t at = p.start[static_cast<std::size_t>(d.column[e]) + 1]++;
            p.row[at] = static_cast<std::uint32_t>(i);
            p.value[at] = value[e];
        }
    return p;
}

// The distances of row i to the later rows, for the measures over shared species; `acc`
// holds n zeros and is left so.
void SharedDistanceRow(const ClusterData& d, ClusterDistance distance, const std::vector<double>& value,
                       const std::vector<double>& sum, const Postings& post, std::size_t i, std::vector<double>& acc,
                       float* row) {
    const std::size_t n = static_cast<std::size_t>(d.Rows());
    const double ni = static_cast<double>(d.start[i + 1] - d.start[i]);
    for (std::size_t e = d.start[i]; e < d.start[i + 1]; ++e) {
        const auto c = static_cast<std::size_t>(d.column[e]);
        const double x = value[e];
        // The postings of the species, ascending by row: those after i.
        const std::uint32_t* first = post.row.data() + post.start[c];
        const std::uint32_t* last = post.row.data() + post.start[c + 1];
        const std::uint32_t* p = std::upper_bound(first, last, static_cast<std::uint32_t>(i));
        const double* v = post.value.data() + (p - post.row.data());
        if (distance == ClusterDistance::Bray)
            for (; p < last; ++p, ++v) acc[*p] += std::min(x, *v);
        else
            for (; p < last; ++p) acc[*p] += 1.0;
    }
    for (std::size_t j = i + 1; j < n; ++j) {
        const double a = acc[j];
        acc[j] = 0;
        double r;
        if (distance == ClusterDistance::Bray) r = 1.0 - 2.0 * a / (sum[i] + sum[j]);
        else {
            const double nj = static_cast<double>(d.start[j + 1] - d.start[j]);
            r = distance == ClusterDistance::Jaccard ? 1.0 - a / (ni + nj - a) : 1.0 - 2.0 * a / (ni + nj);
        }
        row[j - i - 1] = static_cast<float>(std::max(0.0, r));
    }
}

// The distances of row i to the later rows over the union of both rows' species.
void UnionDistanceRow(const ClusterData& d, const std::vector<double>& value, std::size_t i, float* row) {
    const std::size_t n = static_cast<std::size_t>(d.Rows());
    for (std::size_t j = i + 1; j < n; ++j) {
        double s2 = 0;
        std::size_t x = d.start[i], y = d.start[j];
        const std::size_t xEnd = d.start[i + 1], yEnd = d.start[j + 1];
        while (x < xEnd || y < yEnd) {
            double diff;
            if (y >= yEnd || (x < xEnd && d.column[x] < d.column[y])) diff = value[x++];
            else if (x >= xEnd || d.column[y] < d.column[x]) diff = value[y++];
            else diff = value[x++] - value[y++];
            s2 += diff * diff;
        }
        row[j - i - 1] = static_cast<float>(std::sqrt(s2));
    }
}

}  // namespace

std::vector<float> ClusterDistances(const ClusterData& d, ClusterDistance distance, int threads) {
    const std::size_t n = static_cast<std::size_t>(d.Rows());
    std::vector<float> out(n < 2 ? 0 : n * (n - 1) / 2);
    if (n < 2) return out;
    // Per row: the sum of values, the count and, for the chord, the values scaled to unit
    // length; all in double.
    std::vector<double> value(d.value.begin(), d.value.end());
    const std::vector<double> sum = RowSums(d, distance == ClusterDistance::Chord, value);
    // Bray–Curtis, Jaccard and Sørensen need only what two relevés share: each relevé walks
    // the later relevés holding each of its species (an inverted index), so a pair costs
    // only its shared species; then one pass over the row turns the sums into distances.
    // Euclid and chord go over the union of both relevés, term by term, so that equal
    // relevés are at exactly 0.
    const bool shared = distance == ClusterDistance::Bray || distance == ClusterDistance::Jaccard ||
                        distance == ClusterDistance::Sorensen;
    const Postings post = shared ? PostingsOf(d, value) : Postings{};
    auto work = [&](std::size_t part, std::size_t parts) {
        std::vector<double> acc(shared ? n : 0, 0.0);
        for (std::size_t i = part; i + 1 < n; i += parts) {
            float* row = &out[CondensedIndex(n, i, i + 1)];
            if (shared) SharedDistanceRow(d, distance, value, sum, post, i, acc, row);
            else UnionDistanceRow(d, value, i, row);
        }
    };
    const std::size_t parts = static_cast<std::size_t>(ThreadCount(threads, n));
    if (parts == 1) {
        work(0, 1);
        return out;
    }
    std::vector<std::thread> pool;
    for (std::size_t p = 1; p < parts; ++p) pool.emplace_back(work, p, parts);
    work(0, parts);
    for (std::thread& th : pool) th.join();
    return out;
}

// ---- The dendrogram -------------------------------------------------------------------------

Dendrogram BuildDendrogram(int n, std::vector<ClusterMerge> raw) {
    // `raw` holds (lowest row of one cluster, lowest row of the other, height) in the order
    // the chain found them; a cluster is known by its lowest row at every step.
    std::stable_sort(raw.begin(), raw.end(),
                     [](const ClusterMerge& a, const ClusterMerge& b) { return a.height < b.height; });
    Dendrogram tree;
    tree.leaves_ = n;
    const int nodes = 2 * n - 1;
    std::vector<int> parent(static_cast<std::size_t>(nodes));
    for (int i = 0; i < nodes; ++i) parent[static_cast<std::size_t>(i)] = i;
    std::vector<int> size(static_cast<std::size_t>(nodes), 1);
    auto find = [&](int x) {
        while (parent[static_cast<std::size_t>(x)] != x) {
            parent[static_cast<std::size_t>(x)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
            x = parent[static_cast<std::size_t>(x)];
        }
        return x;
    };
    tree.merges_.reserve(raw.size());
    for (std::size_t m = 0; m < raw.size(); ++m) {
        const int lo = std::min(raw[m].left, raw[m].right), hi = std::max(raw[m].left, raw[m].right);
        const int a = find(lo), b = find(hi);
        const int node = n + static_cast<int>(m);
        parent[static_cast<std::size_t>(a)] = node;
        parent[static_cast<std::size_t>(b)] = node;
        size[static_cast<std::size_t>(node)] = size[static_cast<std::size_t>(a)] + size[static_cast<std::size_t>(b)];
        tree.merges_.push_back({a, b, raw[m].height, size[static_cast<std::size_t>(node)]});
    }
    // Left to right: the left child first.
    if (n == 1) tree.leafOrder_ = {0};
    if (n >= 2) {
        std::vector<int> stack{nodes - 1};
        while (!stack.empty()) {
            const int x = stack.back();
            stack.pop_back();
            if (x < n) {
                tree.leafOrder_.push_back(x);
                continue;
            }
            const ClusterMerge& m = tree.merges_[static_cast<std::size_t>(x - n)];
            stack.push_back(m.right);
            stack.push_back(m.left);
        }
    }
    return tree;
}

std::vector<int> Dendrogram::Cut(int k) const {
    const int n = leaves_;
    k = std::max(1, std::min(k, n));
    std::vector<int> parent(static_cast<std::size_t>(2 * n), 0);
    for (int i = 0; i < 2 * n; ++i) parent[static_cast<std::size_t>(i)] = i;
    auto find = [&](int x) {
        while (parent[static_cast<std::size_t>(x)] != x) x = parent[static_cast<std::size_t>(x)];
        return x;
    };
    for (int m = 0; m < n - k; ++m) {
        const ClusterMerge& g = merges_[static_cast<std::size_t>(m)];
        parent[static_cast<std::size_t>(g.left)] = n + m;
        parent[static_cast<std::size_t>(g.right)] = n + m;
    }
    std::vector<int> group(static_cast<std::size_t>(n), -1);
    std::unordered_map<int, int> number;
    for (int leaf : leafOrder_) {
        const int root = find(leaf);
        const auto it = number.emplace(root, static_cast<int>(number.size())).first;
        group[static_cast<std::size_t>(leaf)] = it->second;
    }
    return group;
}

double Dendrogram::CutHeight(int k) const {
    const int n = leaves_;
    if (n < 2) return 0;
    k = std::max(1, std::min(k, n));
    const auto h = [&](int m) { return merges_[static_cast<std::size_t>(m)].height; };
    if (k == 1) return h(n - 2) * 1.05;
    if (k == n) return h(0) / 2;
    return (h(n - k - 1) + h(n - k)) / 2;
}

namespace {

// The distance of clusters i and j in the condensed matrix.
float& PairDistance(std::vector<float>& dist, std::size_t N, int i, int j) {
    return i < j ? dist[CondensedIndex(N, static_cast<std::size_t>(i), static_cast<std::size_t>(j))]
                 : dist[CondensedIndex(N, static_cast<std::size_t>(j), static_cast<std::size_t>(i))];
}

// The active cluster nearest to a, with its distance. Ascending positions and a strict
// comparison: of equal distances the previous link of the chain (`prev`) wins, else the
// lowest position.
std::pair<int, double> NearestActive(std::vector<float>& dist, std::size_t N, const std::vector<int>& active, int a,
                                     int prev) {
    int best = prev;
    double bestD = prev >= 0 ? PairDistance(dist, N, a, prev) : std::numeric_limits<double>::infinity();
    // Below a, the entries are a column of the condensed matrix, far apart: they are
    // fetched ahead. Above a, a row.
    const std::size_t split =
        static_cast<std::size_t>(std::lower_bound(active.begin(), active.end(), a) - active.begin());
    const std::size_t A = static_cast<std::size_t>(a);
    for (std::size_t i = 0; i < split; ++i) {
        if (i + 16 < split) {
            const auto f = static_cast<std::size_t>(active[i + 16]);
            __builtin_prefetch(&dist[CondensedIndex(N, f, A)]);
        }
        const auto k = static_cast<std::size_t>(active[i]);
        const double dk = dist[CondensedIndex(N, k, A)];
        if (dk < bestD) {
            bestD = dk;
            best = static_cast<int>(k);
        }
    }
    const std::size_t rowBase = A + 1 < N ? CondensedIndex(N, A, A + 1) : 0;
    for (std::size_t i = split + 1; i < active.size(); ++i) {
        const auto k = static_cast<std::size_t>(active[i]);
        const double dk = dist[rowBase + (k - A - 1)];
        if (dk < bestD) {
            bestD = dk;
            best = static_cast<int>(k);
        }
    }
    if (best < 0) best = active.front() == a ? active[1] : active.front();  // all infinite
    return {best, bestD};
}

// After a and b (at distance dab) merged: the distance of every other active cluster to
// the merged one, by the Lance–Williams update, kept under the lower of a and b.
void UpdateMergedDistances(std::vector<float>& dist, std::size_t N, const std::vector<int>& active,
                           const std::vector<double>& size, int a, int b, double dab, ClusterLinkage linkage,
                           double beta) {
    const int keep = std::min(a, b);
    const double na = size[static_cast<std::size_t>(a)], nb = size[static_cast<std::size_t>(b)];
    for (std::size_t i = 0; i < active.size(); ++i) {
        const int k = active[i];
        if (i + 16 < active.size()) {
            const auto f = static_cast<std::size_t>(active[i + 16]);
            if (f < static_cast<std::size_t>(keep)) {
                __builtin_prefetch(&dist[CondensedIndex(N, f, static_cast<std::size_t>(a < b ? a : b))]);
                __builtin_prefetch(&dist[CondensedIndex(N, f, static_cast<std::size_t>(a < b ? b : a))]);
            }
        }
        if (k == a || k == b) continue;
        const double dka = PairDistance(dist, N, k, a), dkb = PairDistance(dist, N, k, b),
                     nk = size[static_cast<std::size_t>(k)];
        double r = 0;
        switch (linkage) {
            case ClusterLinkage::Ward: r = ((na + nk) * dka + (nb + nk) * dkb - nk * dab) / (na + nb + nk); break;
            case ClusterLinkage::Flexible: r = (1 - beta) / 2 * (dka + dkb) + beta * dab; break;
            case ClusterLinkage::Average: r = (na * dka + nb * dkb) / (na + nb); break;
            case ClusterLinkage::Complete: r = std::max(dka, dkb); break;
            case ClusterLinkage::Single: r = std::min(dka, dkb); break;
        }
        PairDistance(dist, N, k, keep) = static_cast<float>(std::max(0.0, r));
    }
}

}  // namespace

Dendrogram ClusterMatrix(std::vector<float> dist, int n, ClusterLinkage linkage, double beta, Progress* progress) {
    if (linkage == ClusterLinkage::Flexible && (beta < -1 || beta > 0))
        throw ClassificationRefused(Tr("β は −1 から 0 の値です。"));
    const std::size_t N = static_cast<std::size_t>(n);
    if (linkage == ClusterLinkage::Ward)
        for (float& v : dist) v = v * v;
    std::vector<int> active(N);
    for (int i = 0; i < n; ++i) active[static_cast<std::size_t>(i)] = i;
    std::vector<double> size(N, 1.0);
    std::vector<ClusterMerge> raw;
    raw.reserve(N);
    // The chain of nearest neighbours: it grows until its last two are each other's
    // nearest, which then merge.
    std::vector<int> chain;
    for (int step = 0; step + 1 < n; ++step) {
        if (progress && step % 256 == 0) {
            progress->Show(Tr("　クラスター分析中　"), std::to_string(step) + " / " + std::to_string(n - 1));
            if (progress->Cancelled()) throw ClassificationRefused(Tr("クラスター分析を中止しました。"));
        }
        if (chain.empty()) chain.push_back(active.front());
        int a = 0, b = 0;
        double dab = 0;
        for (;;) {
            a = chain.back();
            const int prev = chain.size() >= 2 ? chain[chain.size() - 2] : -1;
            const auto [best, bestD] = NearestActive(dist, N, active, a, prev);
            if (best == prev) {
                b = prev;
                dab = bestD;
                break;
            }
            chain.push_back(best);
        }
        chain.pop_back();
        chain.pop_back();
        const int keep = std::min(a, b), gone = std::max(a, b);
        UpdateMergedDistances(dist, N, active, size, a, b, dab, linkage, beta);
        size[static_cast<std::size_t>(keep)] = size[static_cast<std::size_t>(a)] + size[static_cast<std::size_t>(b)];
        active.erase(std::find(active.begin(), active.end(), gone));
        const double height = linkage == ClusterLinkage::Ward ? std::sqrt(dab) : dab;
        raw.push_back({keep, gone, height, 0});
    }
    return BuildDendrogram(n, std::move(raw));
}

Classification ClassifyReleves(const Table& t, const ClusterOptions& o, Progress* progress) {
    Classification c;
    if (progress) progress->Show(Tr("　距離を計算中　"), "");
    c.data = ClusterDataOf(t, o);
    const int n = c.data.Rows();
    if (n < 2)
        throw ClassificationRefused(
            Arg(Tr("種のある測定が %1 個しかないため、クラスター分析はできません（2 個以上必要です）。"),
                {std::to_string(n)}));
    std::vector<float> dist;
    try {
        dist = ClusterDistances(c.data, o.distance, o.threads);
    } catch (const std::bad_alloc&) {
        throw ClassificationRefused(Arg(Tr("測定 %1 個の距離行列を置くメモリが足りません。"), {std::to_string(n)}));
    }
    c.tree = ClusterMatrix(std::move(dist), n, o.linkage, o.beta, progress);
    return c;
}

std::string NewickText(const Dendrogram& tree, const std::vector<std::string>& labels) {
    const int n = tree.Leaves();
    auto label = [&](int i) {
        const std::string& s = labels[static_cast<std::size_t>(i)];
        if (!s.empty() && s.find_first_of(" ()[]':;,\t") == std::string::npos) return s;
        std::string q = "'";
        for (char ch : s) {
            if (ch == '\'') q += '\'';
            q += ch;
        }
        return q + "'";
    };
    auto length = [](double v) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.6g", std::max(0.0, v));
        return std::string(buf);
    };
    if (n == 1) return label(0) + ";\n";
    const auto height = [&](int node) {
        return node < n ? 0.0 : tree.Merges()[static_cast<std::size_t>(node - n)].height;
    };
    std::string out;
    // (node, parent height, state): state 0 opens, 1 between the children, 2 closes.
    struct Frame {
        int node;
        double parentHeight;
        int state;
    };
    std::vector<Frame> stack{{2 * n - 2, -1, 0}};
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.node < n) {
            out += label(f.node) + ":" + length(f.parentHeight - height(f.node));
            stack.pop_back();
            continue;
        }
        const ClusterMerge& m = tree.Merges()[static_cast<std::size_t>(f.node - n)];
        if (f.state == 0) {
            out += "(";
            f.state = 1;
            stack.push_back({m.left, m.height, 0});
        } else if (f.state == 1) {
            out += ",";
            f.state = 2;
            stack.push_back({m.right, m.height, 0});
        } else {
            out += ")";
            if (f.parentHeight >= 0) out += ":" + length(f.parentHeight - m.height);
            stack.pop_back();
        }
    }
    return out + ";\n";
}

// ---- Choosing K -----------------------------------------------------------------------------

int FaithfulSpeciesCount(const Table& t, const std::vector<int>& groupOf, int groups) {
    std::vector<int> sizes(static_cast<std::size_t>(groups), 0);
    for (std::size_t q = 1; q < groupOf.size(); ++q)
        if (groupOf[q] >= 0) ++sizes[static_cast<std::size_t>(groupOf[q])];
    FidelityOptions o;
    o.equalize = false;  // only the sign of phi matters here, which equalizing keeps
    o.threshold = 0;
    o.alpha = 1e-3;
    const FidelityResult r = ComputeFidelity(sizes, CountPresence(t, groupOf, groups), o);
    int faithful = 0;
    for (int s = 0; s < r.Species(); ++s)
        for (int g = 0; g < r.Groups(); ++g) {
            const auto phi = r.Phi(s, g);
            const auto p = r.P(s, g);
            if (phi && p && *phi > 0 && *p <= 1e-3) {
                ++faithful;
                break;
            }
        }
    return faithful;
}

std::vector<KScanLine> ScanGroupCounts(const Table& t, const Classification& c, int from, int to, Progress* progress) {
    std::vector<KScanLine> scan;
    const int n = c.data.Rows();
    from = std::max(from, 2);
    to = std::min(to, n);
    for (int k = from; k <= to; ++k) {
        if (progress) {
            progress->Show(Tr("　群の数ごとに忠実な種を数え中　"), "K = " + std::to_string(k));
            if (progress->Cancelled()) throw ClassificationRefused(Tr("クラスター分析を中止しました。"));
        }
        const std::vector<int> cut = c.tree.Cut(k);
        std::vector<int> groupOf(static_cast<std::size_t>(t.ReleveCount()) + 1, -1);
        for (int i = 0; i < n; ++i)
            groupOf[static_cast<std::size_t>(c.data.positions[static_cast<std::size_t>(i)])] =
                cut[static_cast<std::size_t>(i)];
        scan.push_back({k, FaithfulSpeciesCount(t, groupOf, k)});
    }
    return scan;
}

int BestK(const std::vector<KScanLine>& scan) {
    int best = 0, most = -1;
    for (const KScanLine& l : scan)
        if (l.faithful > most) {
            most = l.faithful;
            best = l.k;
        }
    return best;
}

// ---- Groups into the table ------------------------------------------------------------------

ReleveGroups GroupsOfCut(const Table& t, const Classification& c, int k, const std::vector<float>* scores) {
    const int n = c.data.Rows();
    if (k < 1 || k > n)
        throw ClassificationRefused(Arg(Tr("群の数 %1 は、分類した測定の数 %2 を超えています（1 から %2 までです）。"),
                                        {std::to_string(k), std::to_string(n)}));
    const std::vector<int> cut = c.tree.Cut(k);
    ReleveGroups groups(static_cast<std::size_t>(k));
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(k));
    for (int leaf : c.tree.LeafOrder())
        rows[static_cast<std::size_t>(cut[static_cast<std::size_t>(leaf)])].push_back(leaf);
    for (int g = 0; g < k; ++g) {
        auto& r = rows[static_cast<std::size_t>(g)];
        const auto pos = [&](int row) { return c.data.positions[static_cast<std::size_t>(row)]; };
        if (scores)
            std::stable_sort(r.begin(), r.end(), [&](int a, int b) {
                return (*scores)[static_cast<std::size_t>(pos(a))] < (*scores)[static_cast<std::size_t>(pos(b))];
            });
        for (int row : r) groups[static_cast<std::size_t>(g)].push_back(t.ReleveKeyAt(pos(row)));
    }
    return groups;
}

namespace {

bool HoldsText(const Table& t, int key) {
    if (!t.CellsOf(key).empty()) return true;
    for (int row = 2; row < t.FNRow(); ++row)
        if (!t.HeaderText(key, row).empty()) return true;
    return false;
}

// Takes out and inserts the columns the record names, keeping what they overwrote. Memory
// that runs out while inserting leaves the table as it was.
void Prepare(Table& t, GroupPlacement& p) {
    p.speciesCounts = t.MemoSpeciesCounts();
    p.releveCounts = t.MemoReleveCounts();
    p.removed = RemovedLines{};
    p.removed.axis = Axis::Releves;
    for (int q : p.deleted) {
        p.removed.releves.emplace(p.removed.releves.begin(), q, t.CopyReleve(t.ReleveKeyAt(q)));
        t.DeleteColumn(Table::ReleveColumn(q));
    }
    p.insertedLines.clear();
    for (int i = 0; i < p.inserted; ++i) {
        InsertedLine line;
        if (!t.InsertColumn(Table::ReleveColumn(p.insertAt), &line)) {
            for (auto it = p.insertedLines.rbegin(); it != p.insertedLines.rend(); ++it) t.TakeBack(*it);
            p.insertedLines.clear();
            if (!p.removed.releves.empty()) t.PutBack(p.removed);
            t.RestoreSpeciesCounts(p.speciesCounts);
            t.RestoreReleveCounts(p.releveCounts);
            throw ClassificationRefused(Tr("区切りの空白列を挿入するメモリが足りません。表は変更していません。"));
        }
        p.insertedLines.push_back(std::move(line));
    }
}

void Finish(Table& t, const GroupPlacement& p) {
    t.PermuteReleves(p.first, p.order);
    t.Recount();
}

}  // namespace

GroupPlacement PlaceGroups(Table& t, const ReleveGroups& groups, int first, int last) {
    GroupPlacement p;
    p.first = std::max(1, first);
    p.last = std::min(last, t.ReleveCount());
    const auto& relNumSp = t.RelNumSp();
    std::vector<char> taken(static_cast<std::size_t>(t.MaxReleve()) + 1, 0);
    ReleveGroups all;
    for (const auto& g : groups) {
        if (g.empty()) continue;
        for (int key : g) {
            const int q = key >= 0 && key <= t.MaxReleve() ? t.RelevePosOf(key) : -1;
            if (q < p.first || q > p.last || relNumSp[static_cast<std::size_t>(q)] == 0)
                throw ClassificationRefused(Tr("群に入れる測定が範囲の中にありません。"));
            if (taken[static_cast<std::size_t>(key)])
                throw ClassificationRefused(Tr("同じ測定が二度、群に入っています。"));
            taken[static_cast<std::size_t>(key)] = 1;
        }
        all.push_back(g);
    }
    std::vector<int> rest, withText, blank;
    for (int q = p.first; q <= p.last; ++q) {
        const int key = t.ReleveKeyAt(q);
        if (relNumSp[static_cast<std::size_t>(q)] == 0) (HoldsText(t, key) ? withText : blank).push_back(key);
        else if (!taken[static_cast<std::size_t>(key)]) rest.push_back(key);
    }
    p.leftOver = static_cast<int>(rest.size());
    if (!rest.empty()) all.push_back(rest);
    const std::size_t need = all.empty() ? 0 : all.size() - 1;
    std::vector<int> pool = withText;
    pool.insert(pool.end(), blank.begin(), blank.end());
    std::vector<int> separators(pool.begin(), pool.begin() + static_cast<std::ptrdiff_t>(std::min(need, pool.size())));
    std::vector<int> tail;  // surplus separators with texts: they stay, at the end
    for (std::size_t i = need; i < pool.size(); ++i) {
        const int key = pool[i];
        if (i < withText.size()) tail.push_back(key);
        else p.deleted.push_back(t.RelevePosOf(key));
    }
    std::sort(p.deleted.rbegin(), p.deleted.rend());
    const int newLast = p.last - static_cast<int>(p.deleted.size());
    p.insertAt = newLast + 1;
    p.inserted = static_cast<int>(need - separators.size());

    // The new order is worked out by key once the columns are in place.
    Prepare(t, p);
    for (int i = 0; i < p.inserted; ++i) separators.push_back(t.ReleveKeyAt(p.insertAt + i));
    std::vector<int> keys;
    for (std::size_t g = 0; g < all.size(); ++g) {
        if (g > 0) keys.push_back(separators[g - 1]);
        keys.insert(keys.end(), all[g].begin(), all[g].end());
    }
    keys.insert(keys.end(), tail.begin(), tail.end());
    for (int key : keys) p.order.push_back(t.RelevePosOf(key));
    Finish(t, p);
    return p;
}

void RevertGroupPlacement(Table& t, GroupPlacement& p) {
    if (!p.order.empty()) t.PermuteReleves(p.first, InverseOrder(p.first, p.order));
    for (auto it = p.insertedLines.rbegin(); it != p.insertedLines.rend(); ++it) t.TakeBack(*it);
    if (!p.removed.releves.empty()) t.PutBack(p.removed);
    t.RestoreSpeciesCounts(p.speciesCounts);
    t.RestoreReleveCounts(p.releveCounts);
}

void RedoGroupPlacement(Table& t, GroupPlacement& p) {
    Prepare(t, p);
    Finish(t, p);
}

// ---- Membership -----------------------------------------------------------------------------

std::vector<MembershipLine> CurrentMembership(const Table& t) {
    std::vector<MembershipLine> lines;
    const std::vector<ReleveGroup> groups = ConstancyGroups(t);
    for (std::size_t g = 0; g < groups.size(); ++g)
        for (int q = std::max(1, groups[g].first); q <= groups[g].last; ++q)
            if (t.RelNumSp()[static_cast<std::size_t>(q)] > 0)
                lines.push_back({q, ReleveNumber(t, q), std::to_string(g + 1)});
    return lines;
}

ReleveGroups GroupsFromMembership(const Table& t, const std::vector<std::pair<std::string, std::string>>& pairs,
                                  int* unlisted) {
    std::unordered_map<std::string, std::vector<int>> positionsOf;
    int withSpecies = 0;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        if (t.RelNumSp()[static_cast<std::size_t>(q)] > 0) {
            positionsOf[ReleveNumber(t, q)].push_back(q);
            ++withSpecies;
        }
    std::vector<std::string> unknown, twice, shared;
    std::set<std::string> seen;
    std::vector<std::string> labels;
    std::unordered_map<std::string, std::vector<int>> members;
    for (const auto& [rawNumber, rawLabel] : pairs) {
        const std::string number = Trimmed(rawNumber), label = Trimmed(rawLabel);
        const auto it = positionsOf.find(number);
        if (it == positionsOf.end()) {
            unknown.push_back(number.empty() ? Tr("（空欄）") : number);
            continue;
        }
        if (!seen.insert(number).second) {
            twice.push_back(number);
            continue;
        }
        if (it->second.size() > 1) {
            shared.push_back(number);
            continue;
        }
        if (!members.count(label)) labels.push_back(label);
        members[label].push_back(it->second.front());
    }
    std::string message;
    if (!unknown.empty()) message += Arg(Tr("表にない測定番号: %1"), {JoinList(unknown)}) + "\n";
    if (!twice.empty()) message += Arg(Tr("二度書かれた測定番号: %1"), {JoinList(twice)}) + "\n";
    if (!shared.empty()) message += Arg(Tr("表の中で複数の測定が持つ測定番号: %1"), {JoinList(shared)}) + "\n";
    if (!message.empty()) throw ClassificationRefused(message + Tr("表は変更していません。"));
    if (labels.empty()) throw ClassificationRefused(Tr("群の割り当てが 1 行もありません。"));

    ReleveGroups groups;
    for (const std::string& l : labels) {
        std::vector<int>& qs = members[l];
        std::sort(qs.begin(), qs.end());
        std::vector<int> keys;
        for (int q : qs) keys.push_back(t.ReleveKeyAt(q));
        groups.push_back(std::move(keys));
    }
    if (unlisted) *unlisted = withSpecies - static_cast<int>(seen.size());
    return groups;
}

bool PlaceGroupsChange::Apply(Table& t) {
    if (!firstRun_) {
        RedoGroupPlacement(t, record_);
        return true;
    }
    record_ = PlaceGroups(t, groups_);
    firstRun_ = false;
    groups_.clear();
    return true;
}

}  // namespace tavik
