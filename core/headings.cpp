#include "core/headings.h"

namespace tavik {

namespace {

struct HeadingTexts {
    const char* japanese;
    const char* english;
};

// In the order of Heading. The English ones hold only characters CP932 has ("Releve", as the
// membership files spell it), so that a file stays CP932. They take no indenting blanks: a
// CSV field that begins with a blank is quoted, an ideographic space is not.
// data, not interface
constexpr HeadingTexts kHeadings[] = {

    {"　群落区分", "Vegetation unit"},
    {"　測定数", "Releves"},
    {"　平均種数", "Mean species number"},
    {"　植物名", "Species"},
    {"スコア", "Score"},
    {"測定ＩＤ", "Releve ID"},
    {"植物名", "Species"},
    {" 出現数/", " occurrences/"},
    {" φ×100", " φ×100"},
    {"φ最大の群", "Group of highest φ"},
    {"診断種の群", "Diagnostic in groups"},
};

}  // namespace

const char* HeadingText(Heading heading, Language language) {
    const HeadingTexts& h = kHeadings[static_cast<int>(heading)];
    return language == Language::English ? h.english : h.japanese;
}

}  // namespace tavik
