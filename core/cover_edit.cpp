#include "core/cover_edit.h"

#include <algorithm>

#include "core/table.h"

namespace tavik {

CoverClass ClassOf(std::uint8_t v) {
    if (v == 0) return CoverClass::Absent;
    if (v <= 5) return CoverClass::Plus;
    if (v == 6) return CoverClass::Rare;
    if (v == 7) return CoverClass::Star;
    if (v == 8) return CoverClass::E;
    if (v == 9) return CoverClass::Unknown;
    if (v <= 55 && v % 10 <= 5) return static_cast<CoverClass>(static_cast<int>(CoverClass::C1) + v / 10 - 1);
    return CoverClass::Other;
}

int SociabilityOf(std::uint8_t v) {
    const CoverClass c = ClassOf(v);
    if (c == CoverClass::Plus) return v;
    if (c >= CoverClass::C1 && c <= CoverClass::C5) return v % 10;
    return 0;
}

int MinSociability(CoverClass c) { return c == CoverClass::Plus ? 1 : 0; }

int MaxSociability(CoverClass c) {
    if (c == CoverClass::Plus) return 5;
    if (c >= CoverClass::C1 && c <= CoverClass::C5) return 5;
    return 0;
}

std::uint8_t CoverValue(CoverClass c, int s) {
    s = std::clamp(s, MinSociability(c), MaxSociability(c));
    switch (c) {
        case CoverClass::Absent: return 0;
        case CoverClass::Plus: return static_cast<std::uint8_t>(s);
        case CoverClass::Rare: return 6;
        case CoverClass::Star: return 7;
        case CoverClass::E: return 8;
        case CoverClass::Unknown: return 9;
        case CoverClass::Other: return 0;
        default: {
            const int cls = static_cast<int>(c) - static_cast<int>(CoverClass::C1) + 1;
            return static_cast<std::uint8_t>(cls * 10 + s);
        }
    }
}

std::string ClassMark(CoverClass c) {
    switch (c) {
        case CoverClass::Absent:
        case CoverClass::Other: return {};
        case CoverClass::Plus: return "+";
        case CoverClass::Rare: return "r";
        case CoverClass::Star: return "*";
        case CoverClass::E: return "e";
        case CoverClass::Unknown: return "?";
        default: return std::string(1, static_cast<char>('1' + static_cast<int>(c) - static_cast<int>(CoverClass::C1)));
    }
}

bool MakeCoverEdit(const Table& t, int col, int row, const LayerCovers& covers, CoverEdit& out) {
    if (!t.IsUsedSpeciesRow(row) || !t.IsUsedReleveCol(col)) return false;
    out.releveKey = t.ReleveKeyOfCol(col);
    out.speciesKey = t.SpeciesKeyOfRow(row);
    out.before = t.Covers(out.releveKey, out.speciesKey);
    out.textBefore = t.CellText(out.releveKey, out.speciesKey);
    out.after = covers;
    // Only empty text means absent: a cell of "*" alone keeps its four blanks.
    out.textAfter = covers.empty() ? std::string() : LayerCode(covers);
    return true;
}

void ApplyCoverEdit(Table& t, const CoverEdit& e, bool forward) {
    if (e.releveKey < 1 || e.releveKey > t.MaxReleve() || e.speciesKey < 1 || e.speciesKey > t.MaxSpecies()) return;
    t.SetCell(e.releveKey, e.speciesKey, forward ? e.textAfter : e.textBefore, forward ? e.after : e.before);
}

}  // namespace tavik
