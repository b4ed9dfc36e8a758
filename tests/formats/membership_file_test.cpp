#include "formats/membership_file.h"

#include <gtest/gtest.h>

#include "formats/codec.h"

namespace tavik {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(MembershipFile, ReadsTheColumnsByTheirHeadings) {
    // R's write.csv: a row-name column without a heading, quoted texts.
    EXPECT_EQ(ParseMembership("\"\",\"releve\",\"group\"\r\n\"1\",\"R 1\",2\r\n\"2\",\"R,2\",1\r\n", "m.csv"),
              (Pairs{{"R 1", "2"}, {"R,2", "1"}}));
    // Japanese headings in CP932, other columns in between, blank lines passed over.
    std::string cp932;
    ASSERT_TRUE(Utf8ToCp932("群,備考,測定番号\n草原,\"a \"\"b\"\"\",12\n\n森林,,13\n", cp932));
    EXPECT_EQ(ParseMembership(cp932, "m.csv"), (Pairs{{"12", "草原"}, {"13", "森林"}}));
}

TEST(MembershipFile, NamesTheFileAndLineOfWhatIsWrong) {
    auto message = [](const std::string& bytes) {
        try {
            ParseMembership(bytes, "m.csv");
        } catch (const std::runtime_error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(message("releve,cluster\n1,2\n"), "m.csv の 1 行目: 見出しに group（群） の列がありません。");
    EXPECT_EQ(message("group,releve\n1,2\n3\n"), "m.csv の 3 行目: 欄が 1 個しかありません（2 個必要です）。");
    EXPECT_EQ(message("releve,group\n1,NA\n"), "m.csv の 2 行目: 群が空欄です。");
    EXPECT_NE(message("").find("見出し行がありません"), std::string::npos);
}

TEST(MembershipFile, WrittenFileReadsBack) {
    const std::vector<MembershipLine> lines = {{1, "R1", "1"}, {2, "R,2", "1"}, {4, "測定3", "2"}};
    const std::string text = MembershipCsvText(lines);
    EXPECT_EQ(text, "position,releve,group\r\n1,R1,1\r\n2,\"R,2\",1\r\n4,測定3,2\r\n");
    EXPECT_EQ(ParseMembership(EncodeTextFile(text), "m.csv"), (Pairs{{"R1", "1"}, {"R,2", "1"}, {"測定3", "2"}}));
}

}  // namespace
}  // namespace tavik
