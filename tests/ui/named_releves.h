// Small tables for the analysis windows' tests: relevés given as lists of species names.
#pragma once

#include <string>
#include <vector>

#include "core/covers.h"
#include "core/table.h"

namespace tavik::testing {

// Relevés of species names (class 1 in H1); an empty list is a separating column.
inline void Fill(Table& t, const std::vector<std::vector<std::string>>& releves, const std::string& title = "表") {
    t.ClearTable();
    t.TableTitle = title;
    for (const auto& rel : releves) {
        const int q = t.AppendReleve();
        for (const auto& name : rel) {
            int p = 0;
            for (int i = 1; i <= t.SpeciesCount(); ++i)
                if (t.SpeciesName(t.SpeciesKeyAt(i)) == name) p = i;
            if (p == 0) p = t.AppendSpecies(name);
            LayerCovers c;
            c[4] = 10;
            t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(p), LayerCode(c), c);
        }
    }
    t.Recount();
}

// The species names in their order on screen.
inline std::vector<std::string> SpeciesOrder(const Table& t) {
    std::vector<std::string> v;
    for (int p = 1; p <= t.SpeciesCount(); ++p) v.push_back(t.SpeciesName(t.SpeciesKeyAt(p)));
    return v;
}

}  // namespace tavik::testing
