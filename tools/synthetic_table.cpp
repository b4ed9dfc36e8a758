#include "tools/synthetic_table.h"

#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace tavik::tools {

void FillSyntheticTable(Table& t, const SyntheticShape& shape) {
    std::mt19937 rng(shape.seed);
    for (int n = 1; n <= kItemCount; ++n) t.ItemBoxes[n].enabled = false;
    for (int n : {1, 2, 3, 8, 9, 10, 11, 12, 15, 16, 17, 18, 20, 23, 24, 25, 27, 30})
        t.ItemBoxes[n].enabled = t.ItemBoxes[n].checked = true;
    t.ClearTable();
    t.GrowSpeciesTo(shape.species);
    t.GrowRelevesTo(shape.releves);
    for (int p = 1; p <= shape.species; ++p) t.AppendSpecies("Species " + std::to_string(p) + " 種");
    // Zipf-like choice of species: index = species * u^2.
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::uniform_int_distribution<int> layer(0, 6), cover(0, 9);
    const int fn = t.FNRow();
    std::vector<char> used(static_cast<std::size_t>(shape.species) + 1);
    for (int q = 1; q <= shape.releves; ++q) {
        t.AppendReleve();
        const int rk = t.ReleveKeyAt(q);
        t.SetHeaderText(rk, 2, "R" + std::to_string(q));
        t.SetHeaderText(rk, 3, "Site" + std::to_string(q % 97));
        for (int r = 4; r < fn; ++r) t.SetHeaderText(rk, r, MakeNumber4((q * 7 + r) % 1000));
        std::fill(used.begin(), used.end(), 0);
        const int n =
            std::max(1, shape.perReleve / 2 + static_cast<int>(rng() % static_cast<unsigned>(shape.perReleve + 1)));
        for (int i = 0; i < n; ++i) {
            const double x = u(rng);
            int p = 1 + static_cast<int>(x * x * shape.species);
            if (p > shape.species) p = shape.species;
            if (used[p]) continue;
            used[p] = 1;
            LayerCovers c;
            const int layers = 1 + static_cast<int>(rng() % 3);
            for (int l = 0; l < layers; ++l) {
                const int v = cover(rng);
                c[layer(rng)] = static_cast<std::uint8_t>(v < 3 ? v + 1 : v == 3 ? 6 : 10 * (v - 3) + v % 4);
            }
            t.SetCell(rk, t.SpeciesKeyAt(p), LayerCode(c), c);
        }
        LayerCovers record;
        record[0] = 5;
        record[1] = 2;
        t.SetReleveRecord(rk, record);
    }
    t.Recount();
}

}  // namespace tavik::tools
