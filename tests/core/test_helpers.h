// Small builders shared by the core tests.
#pragma once

#include <string>
#include <vector>

#include "core/language.h"
#include "core/table.h"

namespace tavik::testing {

// Speaks `language` for the length of a test; the suite speaks Japanese otherwise.
class Speaking {
public:
    explicit Speaking(Language language) { SetInterfaceLanguage(language); }
    ~Speaking() { SetInterfaceLanguage(Language::Japanese); }
    Speaking(const Speaking&) = delete;
    Speaking& operator=(const Speaking&) = delete;
};

// Enables the eighteen items a table shows without a settings file.
inline void EnableDefaultItems(Table& t) {
    for (int n : {1, 2, 3, 8, 9, 10, 11, 12, 15, 16, 17, 18, 20, 23, 24, 25, 27, 30})
        t.ItemBoxes[n].enabled = t.ItemBoxes[n].checked = true;
}

inline LayerCovers Covers(std::initializer_list<int> v) {
    LayerCovers c;
    int i = 0;
    for (int x : v) c[i++] = static_cast<std::uint8_t>(x);
    return c;
}

// A table whose relevés hold the given species names (cells coded from one H1 cover).
inline Table MakeTable(const std::vector<std::vector<std::string>>& releves) {
    Table t;
    EnableDefaultItems(t);
    t.ClearTable();
    for (const auto& rel : releves) {
        const int q = t.AppendReleve();
        const int rk = t.ReleveKeyAt(q);
        for (const auto& name : rel) {
            int p = 0;
            for (int i = 1; i <= t.SpeciesCount(); ++i)
                if (t.SpeciesName(t.SpeciesKeyAt(i)) == name) p = i;
            if (p == 0) p = t.AppendSpecies(name);
            const LayerCovers c = Covers({0, 0, 0, 0, 10});
            t.SetCell(rk, t.SpeciesKeyAt(p), LayerCode(c), c);
        }
    }
    t.Recount();
    return t;
}

}  // namespace tavik::testing
