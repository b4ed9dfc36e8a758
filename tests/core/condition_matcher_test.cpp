// The scan's conditions on one relevé, without a source to read.
#include "core/condition_matcher.h"

#include <gtest/gtest.h>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {

using Conditions = std::array<SpeciesCondition, kConditionCount>;
constexpr auto Or = Connective::Or;
constexpr auto And = Connective::And;
constexpr auto None = Connective::None;

// holds(k) from a list; the conditions asked about are noted.
struct Holding {
    std::vector<bool> holds;
    std::vector<int> asked;
    bool operator()(int k) {
        asked.push_back(k);
        return holds[static_cast<std::size_t>(k)];
    }
};

bool Apply(const Conditions& c, bool marked, std::vector<bool> holds, std::vector<int>* asked = nullptr) {
    Holding h{std::move(holds), {}};
    const bool m = ApplyConditions(c, marked, std::ref(h));
    if (asked) *asked = h.asked;
    return m;
}

TEST(ConditionMatcher, TheFirstConditionSetsOrLeavesTheMarkOfAnEarlierScan) {
    for (const bool before : {false, true}) {
        // Held: "or" and "and" mark, "none" clears. Not held: "or" and "and" leave the mark
        // as it was, "none" marks.
        EXPECT_TRUE(Apply({{{"A", 0, Or}}}, before, {true}));
        EXPECT_TRUE(Apply({{{"A", 0, And}}}, before, {true}));
        EXPECT_FALSE(Apply({{{"A", 0, None}}}, before, {true}));
        EXPECT_EQ(Apply({{{"A", 0, Or}}}, before, {false}), before);
        EXPECT_EQ(Apply({{{"A", 0, And}}}, before, {false}), before);
        EXPECT_TRUE(Apply({{{"A", 0, None}}}, before, {false}));
        // Without a name it holds for every relevé.
        EXPECT_TRUE(Apply({{{"", 0, And}}}, before, {false}));
        EXPECT_FALSE(Apply({{{"", 0, None}}}, before, {false}));
    }
}

TEST(ConditionMatcher, LaterConditionsJoinLeftToRightUpToTheFirstWithoutAName) {
    const Conditions c{{{"A", 0, And}, {"B", 0, Or}, {"C", 0, And}, {"D", 0, None}}};
    // ((A or B) and C) and not D
    EXPECT_TRUE(Apply(c, false, {false, true, true, false, false}));
    EXPECT_FALSE(Apply(c, false, {false, true, true, true, false}));
    EXPECT_FALSE(Apply(c, false, {true, false, false, false, false}));
    // An "or" after a mark that "and" took away brings it back.
    EXPECT_TRUE(Apply({{{"A", 0, And}, {"B", 0, And}, {"C", 0, Or}}}, false, {true, false, true, false, false}));
    std::vector<int> asked;
    EXPECT_TRUE(
        Apply({{{"A", 0, And}, {"", 0, And}, {"B", 0, None}}}, false, {true, false, true, false, false}, &asked));
    EXPECT_EQ(asked, (std::vector<int>{0}));  // condition 3 lies past the empty one
    Apply({{{"", 0, And}, {"B", 0, And}}}, false, {false, true, false, false, false}, &asked);
    EXPECT_EQ(asked, (std::vector<int>{1}));  // a first condition without a name asks nothing
}

TEST(ConditionMatcher, ClassesCountFromTheTensInAnyLayer) {
    using testing::Covers;
    EXPECT_TRUE(ReachesClass(Covers({0, 0, 0, 0, 1}), 0));
    EXPECT_TRUE(ReachesClass(EmptyLayers, 0));               // "+" takes any entry, even one without covers
    EXPECT_FALSE(ReachesClass(Covers({0, 0, 0, 0, 6}), 1));  // r
    EXPECT_TRUE(ReachesClass(Covers({0, 0, 0, 0, 0, 0, 21}), 2));
    EXPECT_FALSE(ReachesClass(Covers({25, 29}), 3));
    EXPECT_TRUE(ReachesClass(Covers({0, 63}), 5));  // an unreadable value passes every class
}

// Written names numbered in the order first read.
class Names : public ReleveReader {
public:
    std::vector<std::string> names;
    int lookups = 0;
    bool Read(int, DecodedReleve&) override { return false; }
    std::string Item(int, int) override { return {}; }
    std::string NameOf(std::uint32_t name) override {
        ++lookups;
        return names[name];
    }
};

TEST(ConditionMatcher, StandardNamesOfWrittenNamesAreLookedUpOncePerName) {
    using testing::Covers;
    Dictionary dict;
    dict.Add("Fagus japonica", "Fagus crenata");
    Names names;
    names.names = {"Fagus japonica", "Sasa", "fagus crenata"};
    const Conditions c{{{"Fagus crenata", 2, And}, {"Sasa", 0, None}}};
    ConditionMatcher m(c, dict);
    const std::vector<SpeciesEntry> synonym{{0, Covers({30})}}, tooLow{{0, Covers({10})}},
        withSasa{{1, Covers({0, 0, 0, 0, 1})}, {0, Covers({20})}}, otherCase{{2, Covers({50})}};
    EXPECT_TRUE(m.Mark(false, synonym, names));
    EXPECT_FALSE(m.Mark(false, tooLow, names));
    EXPECT_TRUE(m.Mark(true, tooLow, names));  // not held: the mark stays as it was
    EXPECT_FALSE(m.Mark(false, withSasa, names));
    EXPECT_FALSE(m.Mark(false, otherCase, names));  // letters are not folded in the comparison
    EXPECT_EQ(names.lookups, 3);
    EXPECT_TRUE(m.Mark(false, synonym, names));
    EXPECT_EQ(names.lookups, 3);
}

}  // namespace
}  // namespace tavik
