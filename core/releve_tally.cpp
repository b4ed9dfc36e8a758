#include "core/releve_tally.h"

#include <algorithm>

namespace tavik {

namespace {

// A cell counts as the recounts count it: some text, under a species row that is in use.
bool Occurs(const Table& t, const Cell& c) {
    if (c.len == 0 || c.species < 1 || c.species > t.MaxSpecies()) return false;
    const int p = t.SpeciesPosOf(c.species);
    return p >= 1 && p <= t.SpeciesCount();
}

}  // namespace

ReleveTally TallyReleves(const Table& t, int from, int to) {
    ReleveTally n;
    from = std::max(from, 1);
    to = std::min(to, t.ReleveCount());
    for (int q = from; q <= to; ++q) {
        const auto& cells = t.CellsOf(t.ReleveKeyAt(q));
        if (std::any_of(cells.begin(), cells.end(), [&](const Cell& c) { return Occurs(t, c); })) ++n.releves;
        else ++n.separators;
    }
    return n;
}

std::vector<int> OccurrencesInRange(const Table& t, int from, int to) {
    std::vector<int> count(static_cast<std::size_t>(t.MaxSpecies()) + 1, 0);
    from = std::max(from, 1);
    to = std::min(to, t.ReleveCount());
    for (int q = from; q <= to; ++q)
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(q)))
            if (Occurs(t, c) && static_cast<std::size_t>(c.species) < count.size())
                ++count[static_cast<std::size_t>(c.species)];
    return count;
}

}  // namespace tavik
