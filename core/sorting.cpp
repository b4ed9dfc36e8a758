#include "core/sorting.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace tavik {

namespace {

// Sorts positions first..last of one dimension by a text key and returns the new order.
template <class KeyOf>
std::vector<int> StableOrder(int first, int last, bool descending, KeyOf keyOf) {
    const std::size_t n = static_cast<std::size_t>(last - first + 1);
    std::vector<std::string> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = keyOf(first + static_cast<int>(i));
    std::vector<int> idx(n);
    std::iota(idx.begin(), idx.end(), 0);
    // Texts compare byte by byte (as unsigned codes); a prefix is smaller.
    if (descending)
        std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) { return keys[b] < keys[a]; });
    else
        std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) { return keys[a] < keys[b]; });
    for (auto& i : idx) i += first;
    return idx;
}

}  // namespace

void SortPlants(Table& t, int first, int last, bool descending, Progress* progress) {
    if (progress) progress->Show("　植物を並べ替えています　", "  ");
    first = std::max(first, 1);
    last = std::min(last, t.SpeciesCount());
    if (last > first) {
        const int fn = t.FNRow();
        auto order = StableOrder(first, last, descending, [&](int p) { return t.Text(3, fn + p); });
        t.PermuteSpecies(first, order);
    }
    t.Check_SpeciesNumber();
}

void SortReleve(Table& t, int first, int last, bool descending, Progress* progress) {
    if (progress) progress->Show("　測定を並べ替えています　", "");
    first = std::max(first, 1);
    last = std::min(last, t.ReleveCount());
    if (last > first) {
        const int fn = t.FNRow();
        auto order = StableOrder(first, last, descending,
                                 [&](int q) { return t.HeaderText(t.ReleveKeyAt(q), fn); });
        t.PermuteReleves(first, order);
    }
    t.Check_TableNumber();
}

}  // namespace tavik
