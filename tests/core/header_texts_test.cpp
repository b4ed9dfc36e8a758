// The packed header texts of a relevé: rows set in any order, of any length, read back as set.
#include <gtest/gtest.h>

#include <string>

#include "core/header_texts.h"

namespace tavik {
namespace {

TEST(HeaderTexts, RowsInAnyOrderAndOfAnyLengthReadBackAsSet) {
    HeaderTexts h;
    EXPECT_EQ(h.Get(3), "");
    h.Set(3, "");  // nothing to set past the end
    EXPECT_EQ(h.Get(3), "");
    h.Set(5, "  12");
    h.Set(2, "A84-01");
    const std::string longText(300, 'x');  // past the one-byte length
    h.Set(4, longText);
    h.Set(1, "   1");
    EXPECT_EQ(h.Get(1), "   1");
    EXPECT_EQ(h.Get(2), "A84-01");
    EXPECT_EQ(h.Get(3), "");
    EXPECT_EQ(h.Get(4), longText);
    EXPECT_EQ(h.Get(5), "  12");
    EXPECT_EQ(h.Get(6), "");
    // Overwriting with shorter, longer and empty texts leaves the other rows alone.
    h.Set(4, "月山");
    h.Set(2, "");
    h.Set(1, std::string(254, 'y'));
    h.Set(1, std::string(255, 'z'));
    EXPECT_EQ(h.Get(1), std::string(255, 'z'));
    EXPECT_EQ(h.Get(2), "");
    EXPECT_EQ(h.Get(4), "月山");
    EXPECT_EQ(h.Get(5), "  12");
    h.Set(5, std::string("a\0b", 3));  // any byte, also NUL, belongs to the text
    EXPECT_EQ(h.Get(5), std::string("a\0b", 3));
    h.Clear();
    EXPECT_EQ(h.Get(5), "");
}

}  // namespace
}  // namespace tavik
