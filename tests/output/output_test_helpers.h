// Small tables for the output tests, built as retrieval builds them: header values in the
// rows of their items (items 2..7 as texts, 8..30 right-aligned in four), cells with their
// codes and covers.
#pragma once

#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "core/covers.h"
#include "core/table.h"
#include "output/line_sink.h"
#include "output/options.h"

namespace tavik::testing {

inline LayerCovers Layers(std::initializer_list<int> v) {
    LayerCovers c;
    int i = 0;
    for (int x : v) c[i++] = static_cast<std::uint8_t>(x);
    return c;
}
// One layer set: H1 = 23 is Layer(4, 23).
inline LayerCovers Layer(int layer, int value) {
    LayerCovers c;
    c[layer] = static_cast<std::uint8_t>(value);
    return c;
}
enum : int { T1 = 0, T2 = 1, S1 = 2, S2 = 3, H1 = 4, H2 = 5, M = 6 };

// An empty table laid out with exactly these header items.
inline Table TableWithItems(std::initializer_list<int> items) {
    Table t;
    for (int n = 1; n <= kItemCount; ++n) t.ItemBoxes[n].enabled = t.ItemBoxes[n].checked = false;
    for (int n : items) t.ItemBoxes[n].enabled = t.ItemBoxes[n].checked = true;
    t.ClearTable();
    return t;
}

// Appends a relevé with header values by item number; returns its position.
inline int AddReleve(Table& t, const std::map<int, std::string>& values = {}) {
    const int q = t.AppendReleve();
    for (const auto& [item, text] : values) {
        const int row = t.HeaderRowOfItem(item);
        if (row > 0) t.SetHeaderText(t.ReleveKeyAt(q), row, item >= 8 ? MakeNumber4(std::stoll(text)) : text);
    }
    return q;
}

// The row of species `name` (appended when new), as the table's position.
inline int SpeciesRow(Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return p;
    return t.AppendSpecies(name);
}

inline void Put(Table& t, int q, const std::string& name, const LayerCovers& c) {
    const int p = SpeciesRow(t, name);
    t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(p), LayerCode(c), c);
}

// Options as the panel starts them for the whole table.
inline OutputOptions AllOf(Table& t, OutputMode mode = OutputMode::Text) {
    OutputOptions o;
    o.mode = mode;
    t.Recount();
    for (int n = 1; n <= kItemCount; ++n) o.items[static_cast<std::size_t>(n)] = t.HeaderRowOfItem(n) > 0;
    o.speciesTo = t.SpeciesCount();
    o.releveTo = t.ReleveCount();
    o.title = t.TableTitle;
    return o;
}

inline std::string DataPath(const std::string& name) {
    return std::string(TAVIK_SOURCE_DIR) + "/tests/data/output/" + name;
}

}  // namespace tavik::testing
