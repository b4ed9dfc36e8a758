// The flat table of name fields: every key keeps its first number through growth, and keys
// that differ in a single byte anywhere in the field stay apart.
#include <gtest/gtest.h>

#include <string>

#include "core/flat_key_table.h"

namespace tavik {
namespace {

std::string Field(const std::string& text) {
    std::string f = text;
    f.resize(28, ' ');
    return f;
}

TEST(FlatKeyTable, KeysKeepTheirFirstNumberThroughGrowth) {
    FlatKeyTable<28> t;
    for (std::uint32_t i = 0; i < 5000; ++i) {
        const auto [v, added] = t.Insert(Field("name " + std::to_string(i)).data(), i);
        EXPECT_TRUE(added);
        EXPECT_EQ(v, i);
    }
    EXPECT_EQ(t.size(), 5000u);
    for (std::uint32_t i = 0; i < 5000; ++i) {
        ASSERT_EQ(t.Find(Field("name " + std::to_string(i)).data()), i);
        const auto [v, added] = t.Insert(Field("name " + std::to_string(i)).data(), 99999);
        EXPECT_FALSE(added);
        EXPECT_EQ(v, i);
    }
    EXPECT_EQ(t.Find(Field("name 5000").data()), FlatKeyTable<28>::kAbsent);
    t.Clear();
    EXPECT_EQ(t.size(), 0u);
    EXPECT_EQ(t.Find(Field("name 1").data()), FlatKeyTable<28>::kAbsent);
}

TEST(FlatKeyTable, EveryByteOfTheFieldCounts) {
    FlatKeyTable<28> t;
    const std::string base(28, ' ');
    t.Insert(base.data(), 0);
    for (std::size_t at = 0; at < 28; ++at) {
        std::string k = base;
        k[at] = '\x83';  // a lead byte of CP932 where a blank was
        EXPECT_EQ(t.Find(k.data()), FlatKeyTable<28>::kAbsent) << at;
        EXPECT_TRUE(t.Insert(k.data(), static_cast<std::uint32_t>(at + 1)).second) << at;
    }
    EXPECT_EQ(t.Find(base.data()), 0u);
    EXPECT_EQ(t.size(), 29u);
}

}  // namespace
}  // namespace tavik
