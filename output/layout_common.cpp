#include "output/layout_common.h"

#include "core/cp932_width.h"

namespace tavik::layout {

const std::string& Notation(std::uint8_t value, int codeD) {
    static const auto table = [] {
        std::array<std::array<std::string, 256>, 2> t;
        for (int d = 0; d < 2; ++d)
            for (int v = 0; v < 256; ++v)
                t[static_cast<std::size_t>(d)][static_cast<std::size_t>(v)] =
                    CoverText(static_cast<std::uint8_t>(v), d + 1);
        return t;
    }();
    return table[codeD == 1 ? 0 : 1][value];
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::vector<std::string> Pieces(std::string_view utf8, int width, int count, bool pad) {
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
    for (int k = 0; k < count; ++k) {
        int w = 0;
        const std::string_view piece = Cp932Cut(utf8, width, &w);
        std::string s(piece);
        // A character that does not fit is left for the next piece; the blank keeps the
        // columns after it in place.
        if (pad || (w < width && piece.size() < utf8.size())) s.append(static_cast<std::size_t>(width - w), ' ');
        out.push_back(std::move(s));
        utf8.remove_prefix(piece.size());
    }
    return out;
}

RangeCovers::RangeCovers(const Table& t, int from, int to) : from_(from), to_(to) {
    bySpecies_.resize(static_cast<std::size_t>(t.MaxSpecies()) + 1);
    if (to_ >= from_) line_.assign(static_cast<std::size_t>(to_ - from_ + 1), EmptyLayers);
    for (int q = from_; q <= to_; ++q) {
        for (const Cell& c : t.CellsOf(t.ReleveKeyAt(q))) {
            if (c.species < 1 || c.species > t.MaxSpecies() || c.covers.empty()) continue;
            bySpecies_[static_cast<std::size_t>(c.species)].push_back({q, c.covers});
        }
    }
}

const std::vector<RangeCovers::Entry>& RangeCovers::Cells(int spKey) const {
    static const std::vector<Entry> kNone;
    if (spKey < 1 || static_cast<std::size_t>(spKey) >= bySpecies_.size()) return kNone;
    return bySpecies_[static_cast<std::size_t>(spKey)];
}

const std::vector<LayerCovers>& RangeCovers::Line(int spKey) {
    for (int i : touched_) line_[static_cast<std::size_t>(i)] = EmptyLayers;
    touched_.clear();
    for (const Entry& e : Cells(spKey)) {
        const int i = e.q - from_;
        line_[static_cast<std::size_t>(i)] = e.covers;
        touched_.push_back(i);
    }
    return line_;
}

std::array<bool, kLayerCount> LayersShown(const std::vector<RangeCovers::Entry>& cells) {
    std::array<bool, kLayerCount> shown{};
    for (const auto& e : cells)
        for (int i = 0; i < kLayerCount; ++i) {
            const std::uint8_t v = e.covers[i];
            if (v != 0 && v != 7 && v != 8) shown[static_cast<std::size_t>(i)] = true;
        }
    return shown;
}

}  // namespace tavik::layout
