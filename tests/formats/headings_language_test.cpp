// The headings the program writes follow the interface language; the files it reads are
// taken whichever language wrote them.
#include <gtest/gtest.h>

#include "core/constancy.h"
#include "core/language.h"
#include "core/reciprocal_averaging.h"
#include "core/table_fidelity.h"
#include "formats/codec.h"
#include "formats/fidelity_csv.h"
#include "formats/freq_table_files.h"
#include "formats/membership_file.h"
#include "tests/core/test_helpers.h"

namespace tavik {
namespace {

// Speaks `language` for the length of a test, Japanese again afterwards.
class Speaking {
public:
    explicit Speaking(Language language) { SetInterfaceLanguage(language); }
    ~Speaking() { SetInterfaceLanguage(Language::Japanese); }
    Speaking(const Speaking&) = delete;
    Speaking& operator=(const Speaking&) = delete;
};

Table TwoGroups() {
    return testing::MakeTable(
        {{"a", "c"}, {"a", "c"}, {"a", "c"}, {"a", "c"}, {}, {"b", "c"}, {"b", "c"}, {"b", "c"}, {"b", "c"}});
}

TEST(Headings, FidelityCsvHeadingLineInEachLanguage) {
    const auto r = ComputeFidelity({4, 4}, {4, 0}, FidelityOptions{});
    const std::string body = "ブナ,4,100.0,0.0143,0,-100.0,1,A,A\r\n";
    EXPECT_EQ(FidelityCsvLines(r, {"ブナ"}, {"A", "B"}),
              "植物名,A 出現数/4,A φ×100,A p,B 出現数/4,B φ×100,B p,φ最大の群,診断種の群\r\n" + body);
    const Speaking english(Language::English);
    EXPECT_EQ(FidelityCsvLines(r, {"ブナ"}, {"A", "B"}),
              "Species,A occurrences/4,A φ×100,A p,B occurrences/4,B φ×100,B p,Group of highest φ,"
              "Diagnostic in groups\r\n" +
                  body);
}

TEST(Headings, ComputedTablesNameTheirRowsAndColumnsInTheInterfaceLanguage) {
    const Table t = TwoGroups();
    RaResult r;
    r.speciesScores = {0, 10.0f, 20.0f, 30.0f};
    r.releveScores = std::vector<float>(10, 0.0f);
    {
        const Speaking english(Language::English);
        const FreqTable c = MakeConstancyTable(t, ConstancyOptions{});
        EXPECT_EQ(c.Text(0, 0), "Vegetation unit");
        EXPECT_EQ(c.Text(0, 1), "Releves");
        EXPECT_EQ(c.Text(0, 2), "Mean species number");
        const FreqTable s = RaScoreTable(t, r);
        EXPECT_EQ(s.Text(0, 0), "Species");
        EXPECT_EQ(s.Text(1, 0), "Score");
        EXPECT_EQ(s.Text(3, 0), "Releve ID");
        EXPECT_EQ(s.Text(4, 0), "Score");
        // The caption is data: the same in both languages.
        EXPECT_EQ(s.caption, "Reciprocal Averaging Score");
    }
    const FreqTable c = MakeConstancyTable(t, ConstancyOptions{});
    EXPECT_EQ(c.Text(0, 0), "　群落区分");
    EXPECT_EQ(c.Text(0, 2), "　平均種数");
}

TEST(Headings, SynopticCsvWrittenInEnglishStaysCp932AndReadsBackLikeTheJapaneseOne) {
    const Table t = TwoGroups();
    const std::string japanese = FreqTableCsvLines(MakeSynopticTable(t, ConstancyOptions{}, FidelityOptions{}));
    std::string english;
    {
        const Speaking speaking(Language::English);
        english = FreqTableCsvLines(MakeSynopticTable(t, ConstancyOptions{}, FidelityOptions{}));
        // No heading forces the file out of CP932.
        const std::string bytes = EncodeFreqTableFile(english);
        EXPECT_NE(bytes.rfind("\xEF\xBB\xBF", 0), 0u);
    }
    FreqTable fromJapanese, fromEnglish;
    {
        // Read in the other language each time.
        const Speaking speaking(Language::English);
        ReadFreqTableCsvBytes(EncodeFreqTableFile(japanese), "ja.csv", fromJapanese);
    }
    ReadFreqTableCsvBytes(EncodeFreqTableFile(english), "en.csv", fromEnglish);
    ASSERT_EQ(fromEnglish.ColCount(), fromJapanese.ColCount());
    ASSERT_EQ(fromEnglish.RowCount(), fromJapanese.RowCount());
    EXPECT_EQ(fromJapanese.Text(0, 0), "　群落区分");
    EXPECT_EQ(fromEnglish.Text(0, 0), "Vegetation unit");
    EXPECT_EQ(fromEnglish.Text(3, 0), "A φ×100");
    EXPECT_EQ(fromEnglish.Text(5, 0), "Diagnostic in groups");
    EXPECT_EQ(fromJapanese.Text(5, 0), "診断種の群");
    // Past the headings (column 0 of the three fixed rows and the last column's heading)
    // the two files hold the same table.
    for (int r = 0; r < fromEnglish.RowCount(); ++r)
        for (int c = 0; c < fromEnglish.ColCount(); ++c) {
            if ((c == 0 && r < 3) || (r == 0 && c == 5)) continue;
            EXPECT_EQ(fromEnglish.Text(c, r), fromJapanese.Text(c, r)) << "row " << r << " column " << c;
        }
}

TEST(Headings, MembershipFilesAreReadWithEitherHeadingInEitherLanguage) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    std::string japanese;
    ASSERT_TRUE(Utf8ToCp932("測定番号,群\r\nR1,2\r\n", japanese));
    const std::string english = "releve,group\r\nR1,2\r\n";
    for (const Language language : {Language::Japanese, Language::English}) {
        const Speaking speaking(language);
        EXPECT_EQ(ParseMembership(japanese, "ja.csv"), (Pairs{{"R1", "2"}}));
        EXPECT_EQ(ParseMembership(english, "en.csv"), (Pairs{{"R1", "2"}}));
    }
}

}  // namespace
}  // namespace tavik
