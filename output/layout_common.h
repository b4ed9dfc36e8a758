// Pieces shared by the layouts of the outputs: layer labels, cover notations, the covers
// of one species across a range of relevés, and cutting texts to byte widths.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/covers.h"
#include "core/table.h"

namespace tavik::layout {

// CoverText without building a string per cell.
const std::string& Notation(std::uint8_t value, int codeD);

// A text without leading and trailing blanks (ASCII blanks and the full-width one stay
// inside).
std::string_view Trim(std::string_view s);

// A text cut into `count` pieces of `width` bytes, one after the other, as a fixed layout
// writes a long cell on several lines. A double-byte character that would straddle the end
// of a piece is not split: the piece ends before it (filled with a blank when `pad`) and
// the character begins the next piece. Without `pad` a piece is as long as its text.
std::vector<std::string> Pieces(std::string_view utf8, int width, int count, bool pad);

// The covers of each species over the relevé positions from..to, gathered once from the
// relevés' own cells so that a species' line costs its cells, not the range.
class RangeCovers {
public:
    RangeCovers(const Table& t, int from, int to);
    int From() const { return from_; }
    int To() const { return to_; }
    // Covers of the species with key `spKey` at every position from..to (index q - from);
    // valid until the next call.
    const std::vector<LayerCovers>& Line(int spKey);
    struct Entry {
        int q;
        LayerCovers covers;
    };
    // Only the cells the species has in the range, by position.
    const std::vector<Entry>& Cells(int spKey) const;

private:
    int from_, to_;
    std::vector<std::vector<Entry>> bySpecies_;  // by species key
    std::vector<LayerCovers> line_;
    std::vector<int> touched_;
};

// Seven flags: which layers a species' line shows (a value other than absent, "(" / "*"
// and "e" somewhere in the range).
std::array<bool, kLayerCount> LayersShown(const std::vector<RangeCovers::Entry>& cells);

}  // namespace tavik::layout
