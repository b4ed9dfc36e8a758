// A cell's covers as the user chooses them, layer by layer: a cover class and, where the
// class has one, a sociability; and the edit that writes the seven values and the cell code
// together.
//
// The classes and the values they make:
//   absent 0; "+" with sociability 1..5 the values 1..5; "r" 6; "*" 7; "e" 8; "?" 9;
//   classes 1..5 with sociability 0..5 (0: none given) the values 10..55.
// Any other value (56 and above, which old tables may hold) is no cover code; it is kept
// as it is unless the user chooses another class for that layer.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/covers.h"

namespace tavik {

class Table;

enum class CoverClass { Absent, Plus, Rare, Star, E, Unknown, C1, C2, C3, C4, C5, Other };
inline constexpr int kCoverClassChoices = 11;  // Absent..C5: what the user can choose

// The class of a value and its sociability (0 when the class has none).
CoverClass ClassOf(std::uint8_t value);
int SociabilityOf(std::uint8_t value);
// The sociabilities a class can take: "+" 1..5, classes 1..5 0..5, the others none.
int MinSociability(CoverClass c);
int MaxSociability(CoverClass c);
// The value of a class and sociability (clamped to what the class takes). Other gives 0;
// the caller keeps the old value instead.
std::uint8_t CoverValue(CoverClass c, int sociability);
// The mark of a class as field data writes it: "", "+", "r", "*", "e", "?", "1".."5".
std::string ClassMark(CoverClass c);

// One edit of a cell, addressed by keys.
struct CoverEdit {
    int releveKey = 0, speciesKey = 0;
    LayerCovers before{}, after{};
    std::string textBefore, textAfter;
};

// The edit of the cell in grid column `col`, row `row` to `covers`: the text becomes the
// cell code, or empty when every layer is absent (the species leaves the relevé). False
// when the cell is not one of a used species row and a used relevé column.
bool MakeCoverEdit(const Table& t, int col, int row, const LayerCovers& covers, CoverEdit& out);

// Writes the edit's new covers and text (forward) or the old ones, by key. The caller
// recounts the table (the occurrence counts may change).
void ApplyCoverEdit(Table& t, const CoverEdit& e, bool forward = true);

}  // namespace tavik
