// How a scan decides whether a relevé is marked: its species against the species
// conditions of the retrieval panel, each with its lowest cover class and its connective.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/covers.h"
#include "core/dictionary.h"
#include "core/retrieval.h"

namespace tavik {

// Whether some layer reaches cover class `coverClass`: a layer value of 10 x class or more
// (class 0, "+", is reached by any entry).
bool ReachesClass(const LayerCovers& covers, int coverClass);

// The mark of a relevé once the conditions have looked at it. `marked` is its mark before
// (what an additional scan starts from); holds(k) tells whether the relevé holds the species
// of condition k at the condition's class. A first condition without a name holds for every
// relevé; the later ones count up to the first without a name. The first condition sets the
// mark when it holds ("none": clears it) and otherwise leaves it ("none": sets it); each
// later one joins the mark so far by its connective ("none": and not).
template <class Holds>
bool ApplyConditions(const std::array<SpeciesCondition, kConditionCount>& cond, bool marked, Holds holds) {
    const bool first = cond[0].name.empty() || holds(0);
    if (first) marked = cond[0].connective != Connective::None;
    else if (cond[0].connective == Connective::None) marked = true;
    for (int k = 1; k < kConditionCount; ++k) {
        const SpeciesCondition& c = cond[static_cast<std::size_t>(k)];
        if (c.name.empty()) break;
        const bool h = holds(k);
        switch (c.connective) {
            case Connective::Or: marked = marked || h; break;
            case Connective::And: marked = marked && h; break;
            case Connective::None: marked = marked && !h; break;
        }
    }
    return marked;
}

// The conditions of one scan for one reader: the standard name of each written name that
// reader numbered is looked up once and compared byte for byte with the conditions' names.
class ConditionMatcher {
public:
    // Both must outlive the matcher.
    ConditionMatcher(const std::array<SpeciesCondition, kConditionCount>& cond, const Dictionary& dict);
    // The relevé's mark after the conditions (see ApplyConditions); `names` is the reader
    // that numbered the species' written names.
    bool Mark(bool marked, const std::vector<SpeciesEntry>& species, ReleveReader& names);

private:
    // Whether written name number `name` stands for the species of condition k.
    bool Names(ReleveReader& names, std::uint32_t name, int k);

    static constexpr std::uint8_t kKnown = 0x80;
    const std::array<SpeciesCondition, kConditionCount>& cond_;
    const Dictionary& dict_;
    std::vector<std::uint8_t> known_;  // by name number: kKnown | one bit per condition
};

}  // namespace tavik
