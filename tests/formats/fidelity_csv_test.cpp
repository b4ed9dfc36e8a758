#include "formats/fidelity_csv.h"

#include <gtest/gtest.h>

namespace tavik {
namespace {

TEST(FidelityCsv, OneLinePerSpeciesWithBlanksWhereThereIsNoValue) {
    // Groups of 4 and 4: a species only in A, one everywhere, one with a comma in its name.
    const auto r = ComputeFidelity({4, 4}, {4, 0, 4, 4, 3, 1}, FidelityOptions{});
    const std::string csv = FidelityCsvLines(r, {"ブナ", "ササ", "Carex, sp."}, {"A", "B"});
    EXPECT_EQ(csv,
              "植物名,A 出現数/4,A φ×100,A p,B 出現数/4,B φ×100,B p,φ最大の群,診断種の群\r\n"
              "ブナ,4,100.0,0.0143,0,-100.0,1,A,A\r\n"
              "ササ,4,,,4,,,,\r\n"
              "\"Carex, sp.\",3,50.0,0.243,1,-50.0,0.986,A,\r\n");
}

TEST(FidelityCsv, WithoutTheTestNoPIsWritten) {
    FidelityOptions o;
    o.alpha.reset();
    o.equalize = false;
    const auto r = ComputeFidelity({4, 4}, {3, 1}, o);
    EXPECT_EQ(FidelityCsvLines(r, {"\"Q\""}, {"A", "B"}),
              "植物名,A 出現数/4,A φ×100,A p,B 出現数/4,B φ×100,B p,φ最大の群,診断種の群\r\n"
              "\"\"\"Q\"\"\",3,50.0,,1,-50.0,,A,A\r\n");
}

TEST(FidelityCsv, NumberTexts) {
    EXPECT_EQ(PhiCsvText(0.62449), "62.4");
    EXPECT_EQ(PhiCsvText(-0.0001), "0.0");
    EXPECT_EQ(PValueText(1.0 / 70), "0.0143");
    EXPECT_EQ(PValueText(1.51811569195858e-19), "1.52e-19");
    EXPECT_EQ(PValueText(1.0), "1");
}

}  // namespace
}  // namespace tavik
