#include "core/sorting.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "core/messages.h"

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
        std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
            return keys[static_cast<std::size_t>(b)] < keys[static_cast<std::size_t>(a)];
        });
    else
        std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
            return keys[static_cast<std::size_t>(a)] < keys[static_cast<std::size_t>(b)];
        });
    for (auto& i : idx) i += first;
    return idx;
}

// The recount writes counts in four characters, so a species found in 12,345 relevés shows
// "1234". Where a key is exactly what the recount writes for a count of five digits or
// more, it sorts above "9999" by its full count; every other text keeps its own order.
std::string SortKey(std::string text, int count) {
    if (count > 9999 && text == MakeNumber4(count)) {
        const std::string digits = std::to_string(count);
        text = "9999" + std::string(12 - std::min<std::size_t>(digits.size(), 12), '0') + digits;
    }
    return text;
}

}  // namespace

SortOrder SortSpecies(Table& t, int first, int last, bool descending, Progress* progress) {
    SortOrder applied;
    // Shown again between the passes, so that a window showing it keeps answering.
    auto show = [progress] {
        if (progress) progress->Show(Tr("　植物を並べ替えています　"), "  ");
    };
    show();
    first = std::max(first, 1);
    last = std::min(last, t.SpeciesCount());
    if (last > first) {
        const int fn = t.FNRow();
        // The frequencies as they are now, beside the texts the last recount wrote.
        std::vector<int> freq(static_cast<std::size_t>(t.SpeciesCount()) + 1, 0);
        if (t.ReleveCount() > 9999) t.CountOccurrences(nullptr, &freq);
        show();
        auto order = StableOrder(first, last, descending,
                                 [&](int p) { return SortKey(t.Text(3, fn + p), freq[static_cast<std::size_t>(p)]); });
        t.PermuteSpecies(first, order);
        applied = {first, std::move(order)};
        show();
    }
    t.RecountSpecies();
    return applied;
}

SortOrder SortReleves(Table& t, int first, int last, bool descending, Progress* progress) {
    SortOrder applied;
    auto show = [progress] {
        if (progress) progress->Show(Tr("　測定を並べ替えています　"), "");
    };
    show();
    first = std::max(first, 1);
    last = std::min(last, t.ReleveCount());
    if (last > first) {
        const int fn = t.FNRow();
        std::vector<int> count(static_cast<std::size_t>(t.ReleveCount()) + 1, 0);
        if (t.SpeciesCount() > 9999) t.CountOccurrences(&count, nullptr);
        show();
        auto order = StableOrder(first, last, descending, [&](int q) {
            return SortKey(t.HeaderText(t.ReleveKeyAt(q), fn), count[static_cast<std::size_t>(q)]);
        });
        t.PermuteReleves(first, order);
        applied = {first, std::move(order)};
        show();
    }
    t.RecountReleves();
    return applied;
}

}  // namespace tavik
