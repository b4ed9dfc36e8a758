// Layout widths of UTF-8 texts in CP932 bytes: measuring, cutting and padding.
#include "core/cp932_width.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(Cp932Width, CountsOneForAsciiAndHalfWidthKatakanaTwoForTheRest) {
    EXPECT_EQ(Cp932Width(""), 0);
    EXPECT_EQ(Cp932Width("abc 1.5"), 7);
    EXPECT_EQ(Cp932Width("ﾌﾞﾅ"), 3);
    EXPECT_EQ(Cp932Width("ブナ林"), 6);
    EXPECT_EQ(Cp932Width("ｲﾇﾌﾞﾅ群落 H1"), 12);
    // The edges of the half-width katakana block: U+FF60 and U+FFA0 lie outside it.
    EXPECT_EQ(Cp932Width("\uFF60"), 2);
    EXPECT_EQ(Cp932Width("\uFF61"), 1);
    EXPECT_EQ(Cp932Width("\uFF9F"), 1);
    EXPECT_EQ(Cp932Width("\uFFA0"), 2);
    // Characters with no CP932 form still take two: a Latin letter with accent, a
    // four-byte character.
    EXPECT_EQ(Cp932Width("é"), 2);
    EXPECT_EQ(Cp932Width("\U0001F600"), 2);
    EXPECT_EQ(Cp932CharWidth(U'A'), 1);
    EXPECT_EQ(Cp932CharWidth(U'ｱ'), 1);
    EXPECT_EQ(Cp932CharWidth(U'ア'), 2);
}

TEST(Cp932Width, CharAtGivesTheBytesAndWidthOfOneCharacter) {
    const std::string_view s = "aﾌ表\U0001F600";
    const Cp932Char a = Cp932CharAt(s, 0), kana = Cp932CharAt(s, 1), kanji = Cp932CharAt(s, 4),
                    four = Cp932CharAt(s, 7);
    EXPECT_EQ(a.bytes, 1u);
    EXPECT_EQ(a.width, 1);
    EXPECT_EQ(kana.bytes, 3u);
    EXPECT_EQ(kana.width, 1);
    EXPECT_EQ(kanji.bytes, 3u);
    EXPECT_EQ(kanji.width, 2);
    EXPECT_EQ(four.bytes, 4u);
    EXPECT_EQ(four.width, 2);
}

// Every byte that begins no well-formed sequence is one character of width 1, and what
// follows it is read afresh.
TEST(Cp932Width, InvalidBytesStandAloneAtOneEach) {
    EXPECT_EQ(Cp932Width("\x80"), 1);      // a continuation byte alone
    EXPECT_EQ(Cp932Width("\xE3\x81"), 2);  // a sequence cut short by the end
    EXPECT_EQ(Cp932Width("\xE3"
                         "ア"),
              3);                                  // ... or by the next character
    EXPECT_EQ(Cp932Width("\xC0\xAF"), 2);          // an overlong '/'
    EXPECT_EQ(Cp932Width("\xED\xA0\x80"), 3);      // a surrogate
    EXPECT_EQ(Cp932Width("\xF4\x90\x80\x80"), 4);  // above U+10FFFF
    EXPECT_EQ(Cp932Width("\xFF\xFE"), 2);
    EXPECT_EQ(Utf8SequenceAt("\xE3"
                             "ア",
                             0),
              0u);
    EXPECT_EQ(Utf8SequenceAt("\xE3"
                             "ア",
                             1),
              3u);
    const Cp932Char bad = Cp932CharAt("\xE3\x81", 0);
    EXPECT_EQ(bad.bytes, 1u);
    EXPECT_EQ(bad.width, 1);
    // A cut keeps or drops such a byte whole and leaves the valid character after it intact.
    EXPECT_EQ(Cp932Cut("\xE3"
                       "ア",
                       1),
              "\xE3");
    EXPECT_EQ(Cp932Cut("\xE3"
                       "ア",
                       2),
              "\xE3");
    EXPECT_EQ(Cp932Cut("\xE3"
                       "ア",
                       3),
              "\xE3"
              "ア");
    EXPECT_EQ(Cp932Fit("\x80\x80", 3), "\x80\x80 ");
}

TEST(Cp932Width, CutNeverSplitsADoubleByteCharacter) {
    int w = -1;
    EXPECT_EQ(Cp932Cut("ブナ林", 5, &w), "ブナ");
    EXPECT_EQ(w, 4);
    EXPECT_EQ(Cp932Cut("ブナ林", 6, &w), "ブナ林");
    EXPECT_EQ(w, 6);
    EXPECT_EQ(Cp932Cut("ブナ林", 100), "ブナ林");
    EXPECT_EQ(Cp932Cut("ab斜中", 3), "ab");
    EXPECT_EQ(Cp932Cut("ﾌﾞﾅ林", 3), "ﾌﾞﾅ");
    EXPECT_EQ(Cp932Cut("\U0001F600x", 1), "");
    EXPECT_EQ(Cp932Cut("abc", 0, &w), "");
    EXPECT_EQ(w, 0);
    EXPECT_EQ(Cp932Cut("abc", -3, &w), "");
    EXPECT_EQ(w, 0);
    // The cut is a view into the text, not a copy.
    const std::string_view text = "ブナ林";
    EXPECT_EQ(Cp932Cut(text, 4).data(), text.data());
}

TEST(Cp932Width, FitGivesExactlyTheWidthOnEitherSide) {
    EXPECT_EQ(Cp932Fit("12", 4, Cp932Align::Right), "  12");
    EXPECT_EQ(Cp932Fit("12", 4), "12  ");
    EXPECT_EQ(Cp932Fit("12345", 4, Cp932Align::Right), "1234");  // the beginning is kept
    EXPECT_EQ(Cp932Fit("", 4, Cp932Align::Right), "    ");
    EXPECT_EQ(Cp932Fit("斜中", 4, Cp932Align::Right), "斜中");
    EXPECT_EQ(Cp932Fit("平", 4, Cp932Align::Right), "  平");
    EXPECT_EQ(Cp932Fit("ab斜中", 4, Cp932Align::Right), "ab斜");
    // A full-width character that would straddle the end leaves a blank in its place.
    EXPECT_EQ(Cp932Fit("abc斜", 4, Cp932Align::Right), " abc");
    EXPECT_EQ(Cp932Fit("abc斜", 4), "abc ");
    EXPECT_EQ(Cp932Fit("ブナ林", 5), "ブナ ");
    EXPECT_EQ(Cp932Fit("ﾌﾞﾅ", 4), "ﾌﾞﾅ ");
    EXPECT_EQ(Cp932Fit("ﾌﾞﾅ", 4, Cp932Align::Right), " ﾌﾞﾅ");
    EXPECT_EQ(Cp932Fit("abc", 0), "");
    EXPECT_EQ(Cp932Fit("abc", -1, Cp932Align::Right), "");
    for (int width = 0; width <= 9; ++width)
        for (const char* text : {"", "x", "ブナ", "aブbナc", "ﾌﾞﾅ林",
                                 "\xE3"
                                 "ア"})
            for (Cp932Align align : {Cp932Align::Left, Cp932Align::Right})
                EXPECT_EQ(Cp932Width(Cp932Fit(text, width, align)), width) << text << " " << width;
}

TEST(Cp932Width, AppendFitAddsCellsToALine) {
    std::string line = "|";
    for (const char* cell : {"ブナ", "ｲﾇﾌﾞﾅ群落", "12"}) {
        AppendCp932Fit(line, cell, 6);
        line += '|';
    }
    AppendCp932Fit(line, "7", 3, Cp932Align::Right);
    AppendCp932Fit(line, "never", 0);
    EXPECT_EQ(line, "|ブナ  |ｲﾇﾌﾞﾅ |12    |  7");  // 群 would straddle the end
}

}  // namespace
}  // namespace tavik
