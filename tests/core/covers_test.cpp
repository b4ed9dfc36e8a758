#include "core/covers.h"

#include <gtest/gtest.h>

#include "tests/core/test_helpers.h"

namespace tavik {
namespace {
using testing::Covers;

TEST(LayerCode, PicksTheGreaterCharacterPerLayerGroup) {
    EXPECT_EQ(LayerCode(Covers({0, 23, 1, 6, 0, 12, 8})), " 2+e");
    EXPECT_EQ(LayerCode(EmptyLayers), "    ");
    EXPECT_EQ(LayerCode(Covers({7, 7, 7, 7, 7, 7, 7})), "    ");
    // "r" ranks below "+" but above blank; a winning "(" is written "r".
    EXPECT_EQ(LayerCode(Covers({0, 0, 6, 1})), "  + ");
    EXPECT_EQ(LayerCode(Covers({0, 0, 6, 0})), "  r ");
    EXPECT_EQ(LayerCode(Covers({0, 0, 0, 0, 6, 0, 0})), "   r");
    // "?" shows as "0"; values past 55 show the character 48 + v div 10.
    EXPECT_EQ(LayerCode(Covers({0, 0, 0, 0, 0, 0, 9})), "   0");
    EXPECT_EQ(LayerCode(Covers({63})), "6   ");
    EXPECT_EQ(LayerCode(Covers({55, 0, 0, 0, 8, 55})), "5  e");
}

TEST(CoverText, FollowsTheNotation) {
    EXPECT_EQ(CoverText(23, 2), "2.3");
    EXPECT_EQ(CoverText(23, 1), " 2 ");
    EXPECT_EQ(CoverText(20, 2), " 2 ");
    EXPECT_EQ(CoverText(20, 1), " 2 ");
    EXPECT_EQ(CoverText(1, 2), " + ");
    EXPECT_EQ(CoverText(1, 1), " + ");
    EXPECT_EQ(CoverText(3, 2), "+.3");
    EXPECT_EQ(CoverText(3, 1), " + ");
    EXPECT_EQ(CoverText(6, 2), " r ");
    EXPECT_EQ(CoverText(7, 2), " * ");
    EXPECT_EQ(CoverText(8, 1), " e ");
    EXPECT_EQ(CoverText(9, 2), " ? ");
    EXPECT_EQ(CoverText(0, 2), " . ");
    EXPECT_EQ(CoverText(56, 2), " . ");
}

TEST(LayerLabels, SevenLabelsOfTwoBytesWithoutSplittingACharacter) {
    using L = std::array<std::string, kLayerCount>;
    EXPECT_EQ(LayerLabels("T1T2S1S2H1H2 M"), (L{"T1", "T2", "S1", "S2", "H1", "H2", " M"}));
    EXPECT_EQ(LayerLabels("AB"), (L{"AB", "  ", "  ", "  ", "  ", "  ", "  "}));
    // A full-width character is a label of its own; one that does not fit moves on.
    EXPECT_EQ(LayerLabels("高木A亜B"), (L{"高", "木", "A ", "亜", "B ", "  ", "  "}));
}

TEST(MakeNumber4, RightAlignsAndCutsToFourCharacters) {
    EXPECT_EQ(MakeNumber4(7), "   7");
    EXPECT_EQ(MakeNumber4(12), "  12");
    EXPECT_EQ(MakeNumber4(1234), "1234");
    EXPECT_EQ(MakeNumber4(12345), "1234");
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(28.008), 28);
}

}  // namespace
}  // namespace tavik
