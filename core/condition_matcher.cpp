#include "core/condition_matcher.h"

#include <string>

namespace tavik {

bool ReachesClass(const LayerCovers& covers, int coverClass) {
    for (int l = 0; l < kLayerCount; ++l)
        if (covers[l] >= 10 * coverClass) return true;
    return false;
}

ConditionMatcher::ConditionMatcher(const std::array<SpeciesCondition, kConditionCount>& cond, const Dictionary& dict)
    : cond_(cond), dict_(dict) {}

bool ConditionMatcher::Names(ReleveReader& names, std::uint32_t name, int k) {
    if (name >= known_.size()) known_.resize(name + 1, 0);
    std::uint8_t& m = known_[name];
    if (!(m & kKnown)) {
        const std::string standard = dict_.SynToCommonName(names.NameOf(name));
        m = kKnown;
        for (int c = 0; c < kConditionCount; ++c) {
            const std::string& wanted = cond_[static_cast<std::size_t>(c)].name;
            if (!wanted.empty() && standard == wanted) m |= static_cast<std::uint8_t>(1u << c);
        }
    }
    return ((m >> k) & 1) != 0;
}

bool ConditionMatcher::Mark(bool marked, const std::vector<SpeciesEntry>& species, ReleveReader& names) {
    return ApplyConditions(cond_, marked, [&](int k) {
        const int coverClass = cond_[static_cast<std::size_t>(k)].coverClass;
        for (const SpeciesEntry& e : species)
            if (ReachesClass(e.covers, coverClass) && Names(names, e.name, k)) return true;
        return false;
    });
}

}  // namespace tavik
