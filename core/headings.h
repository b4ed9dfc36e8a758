// The headings the program itself writes into the tables it computes and the files it makes
// of them (the second window, the constancy and score files, the fidelity CSV), in the
// interface language. Other programs read these files by column position; this program's
// own readers take either language.
#pragma once

#include "core/language.h"

namespace tavik {

enum class Heading {
    VegetationUnit,    // "　群落区分": the row of the group labels of a constancy table
    ReleveCount,       // "　測定数"
    MeanSpeciesCount,  // "　平均種数"
    SpeciesColumn,     // "　植物名": the score table's species column
    Score,             // "スコア"
    ReleveId,          // "測定ＩＤ"
    Species,           // "植物名": the fidelity CSV's first column
    Occurrences,       // " 出現数/": after a group label, before the group's size
    PhiTimes100,       // " φ×100": after a group label
    BestGroup,         // "φ最大の群"
    DiagnosticGroups,  // "診断種の群"
};

const char* HeadingText(Heading heading, Language language = InterfaceLanguage());

}  // namespace tavik
