// One number per cell, and the small text helpers used by the outputs and by retrieval.
#include <gtest/gtest.h>

#include "core/cover_number.h"
#include "test_helpers.h"

namespace tavik {
namespace {

using testing::Covers;

TEST(CoverNumber, SummedClassValues) {
    EXPECT_EQ(CoverNumber(0, Covers({1, 1, 0, 0, 1, 1})), "0.4");
    EXPECT_EQ(CoverNumber(0, Covers({10, 0, 0, 0, 1})), "1");
    EXPECT_EQ(CoverNumber(0, Covers({55, 55})), "5");        // capped at 50
    EXPECT_EQ(CoverNumber(0, Covers({6, 7, 8, 9})), "0.3");  // r, e, ? count as +; ( as absent
    EXPECT_EQ(CoverNumber(0, EmptyLayers), "0");
    EXPECT_EQ(CoverNumber(0, Covers({63, 16})), "0");  // not cover codes
}

TEST(CoverNumber, RelativeAndMedians) {
    EXPECT_EQ(CoverNumber(1, Covers({50, 40})), "10");  // 8 + 5, capped
    EXPECT_EQ(CoverNumber(1, Covers({23, 1})), "4");
    EXPECT_EQ(CoverNumber(2, Covers({50, 50})), "875");
    EXPECT_EQ(CoverNumber(2, Covers({32, 1, 10})), "401");
}

TEST(CoverNumber, GreatestValue) {
    EXPECT_EQ(CoverNumber(3, Covers({30})), "3");
    EXPECT_EQ(CoverNumber(3, Covers({32, 10})), "3.2");
    EXPECT_EQ(CoverNumber(3, Covers({1})), "0.1");
    EXPECT_EQ(CoverNumber(3, Covers({6})), "0.1");
    EXPECT_EQ(CoverNumber(3, EmptyLayers), "0");
    EXPECT_EQ(CoverNumber(4, Covers({0, 23})), "150");
    EXPECT_EQ(CoverNumber(4, Covers({63})), "63");  // other values unchanged
    EXPECT_EQ(CoverNumber(5, Covers({3})), "+");
    EXPECT_EQ(CoverNumber(5, Covers({32, 10})), "32");
    EXPECT_EQ(CoverNumber(5, Covers({7})), "0");
    EXPECT_EQ(CoverNumber(6, Covers({0, 0, 0, 0, 0, 0, 9})), "1");
    EXPECT_EQ(CoverNumber(6, Covers({7})), "0");
}

TEST(TextHelpers, RuleLineMakeNumber2) {
    EXPECT_EQ(RuleLine(1, 1), "");
    EXPECT_EQ(RuleLine(4, 1), "──");
    EXPECT_EQ(RuleLine(5, 2), "━━");    // 2.5 goes to the even 2
    EXPECT_EQ(RuleLine(7, 2), "━━━━");  // 3.5 goes to 4
    EXPECT_EQ(MakeNumber2(7), " 7");
    EXPECT_EQ(MakeNumber2(123), "12");
    EXPECT_EQ(MakeNumber2(-12), "-1");
}

}  // namespace
}  // namespace tavik
