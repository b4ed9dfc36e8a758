#include "formats/codec.h"

#include <gtest/gtest.h>

#include "core/cp932_width.h"
#include "formats/text_lines.h"

namespace tavik {
namespace {

// Characters whose second CP932 byte is "\" or "|", the NEC square metre, half-width kana.
constexpr std::string_view kTricky = "ソ表ポ㎡ﾌﾞﾅ";
constexpr std::string_view kTrickyCp932 = "\x83\x5C\x95\x5C\x83\x7C\x87\x75\xCC\xDE\xC5";

TEST(Codec, Cp932RoundTripKeepsDoubleByteCharacters) {
    std::string cp932, back;
    ASSERT_TRUE(Utf8ToCp932(kTricky, cp932));
    EXPECT_EQ(cp932, kTrickyCp932);
    ASSERT_TRUE(Cp932ToUtf8(cp932, back));
    EXPECT_EQ(back, kTricky);
    EXPECT_FALSE(Utf8ToCp932("café", cp932));  // é has no CP932 form
    EXPECT_FALSE(Cp932ToUtf8("\x83", back));   // a lead byte alone
    EXPECT_EQ(Cp932ToUtf8Lenient("a\xFF"
                                 "b"),
              "a\xEF\xBF\xBD"
              "b");
}

// The width rule measures UTF-8 without converting it; it must agree with the bytes the
// codec writes.
TEST(Codec, WidthRuleMatchesEncodedLength) {
    for (std::string_view text :
         {std::string_view("abc"), kTricky, std::string_view("ブナ林 H1"), std::string_view("｡｢｣､･ｦｰﾝﾞﾟ"),
          std::string_view("～－①Ⅰ㈱￥￢"), std::string_view("ｲﾇﾌﾞﾅ-ｸﾏｲﾁｺﾞ群集")}) {
        std::string cp932;
        ASSERT_TRUE(Utf8ToCp932(text, cp932)) << text;
        EXPECT_EQ(Cp932Width(text), static_cast<int>(cp932.size())) << text;
    }
}

TEST(Codec, TextFileRule) {
    std::string out;
    TextEncoding enc;
    // A BOM means UTF-8 and is dropped.
    ASSERT_TRUE(
        DecodeTextFile("\xEF\xBB\xBF"
                       "ブナ",
                       out, &enc));
    EXPECT_EQ(enc, TextEncoding::Utf8);
    EXPECT_EQ(out, "ブナ");
    // Valid UTF-8 with non-ASCII bytes is UTF-8; anything else is CP932.
    ASSERT_TRUE(DecodeTextFile("ブナ", out, &enc));
    EXPECT_EQ(enc, TextEncoding::Utf8);
    ASSERT_TRUE(DecodeTextFile(kTrickyCp932, out, &enc));
    EXPECT_EQ(enc, TextEncoding::Cp932);
    EXPECT_EQ(out, kTricky);
    EXPECT_FALSE(DecodeTextFile("\x81\x20", out));
    // Writing: CP932 when possible, else UTF-8 with a BOM so that nothing is lost.
    EXPECT_EQ(EncodeTextFile("表", &enc), "\x95\x5C");
    EXPECT_EQ(enc, TextEncoding::Cp932);
    EXPECT_EQ(EncodeTextFile("表é", &enc), "\xEF\xBB\xBF表é");
    EXPECT_EQ(enc, TextEncoding::Utf8);
}

TEST(TextLines, LineEnds) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (V{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\nb\r\n"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitLines(""), V{});
    // A CP932 line is split between its characters, never inside one.
    EXPECT_EQ(SplitLines("\x95\x5C\r\n\x83\x7C"), (V{"\x95\x5C", "\x83\x7C"}));
}

TEST(TextLines, DecodingNamesTheBadLine) {
    EXPECT_EQ(DecodeTextLines("\xEF\xBB\xBF"
                              "a\r\nブナ",
                              "x.txt"),
              (std::vector<std::string>{"a", "ブナ"}));
    try {
        DecodeTextLines("ok\r\n\x95\x5C\r\n\xFF\xFF\r\n", "x.txt");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "x.txt の 3 行目: 文字コードが CP932 でも UTF-8 でもありません");
    }
    EXPECT_EQ(DecodeTextLines("\xFF", "x.txt", true), std::vector<std::string>{"\xEF\xBF\xBD"});
}

}  // namespace
}  // namespace tavik
