// The constancy table: one column per group of relevés (groups lie between empty relevé
// columns), one cell per species and group saying how constant the species is there, as a
// class numeral or a count, optionally with the range of its cover classes.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "core/freq_table.h"
#include "core/progress.h"
#include "core/table.h"

namespace tavik {

// What the cells show: the items of the frequency choice, in the panel's order.
enum class ConstancyKind {
    ClassesFiveWithCover = 0,  // I-V and the cover range
    ClassesTenWithCover = 1,   // I-X and the cover range
    ClassesFive = 2,           // I-V
    ClassesTen = 3,            // I-X
    Counts = 4,                // the number of occurrences
};
inline constexpr int kConstancyKindCount = 5;

struct ConstancyOptions {
    ConstancyKind kind = ConstancyKind::ClassesFiveWithCover;
    bool blankAbsent = false;        // absent species: empty cells instead of "・"
    std::string title = "常在度表";  // data, not interface
};

inline constexpr int kMaxConstancyGroups = 30;

struct ReleveGroup {
    int first = 1, last = 0;  // relevé positions; last < first for an empty group
    int size = 0;
};

// The counts the options panel shows (after a recount): relevés with species, and groups
// (empty columns + 1).
struct ConstancyCounts {
    int releves = 0;
    int groups = 1;
};
ConstancyCounts CountConstancyGroups(const Table& t);

// The groups between the empty columns (RelNumSp 0) of a recounted table.
std::vector<ReleveGroup> ConstancyGroups(const Table& t);

// Refused (the window stays as it was) for more than 30 groups and for a table without
// species or relevés.
class ConstancyRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The constancy table of a recounted table. Reads covers only through the cell texts; the
// table is not changed.
FreqTable MakeConstancyTable(const Table& t, const ConstancyOptions& options, Progress* progress = nullptr);

// The texts of one cell, for n occurrences in a group of `size` relevés ("" for n = 0 is
// the caller's). `range` is the cover range ("" for none).
std::string ConstancyCellText(ConstancyKind kind, int n, int size, const std::string& range);

// The range of cover characters seen in a group: the smallest and greatest by the rank
// of the cell code, r < + < 0 < 1 ... 5 < e (other characters after e by their code).
class CoverRange {
public:
    void Add(const std::string& cellText);  // the first four characters of a cell
    std::string Text() const;               // "" when nothing but blanks was seen
private:
    int low_ = 0, high_ = 0;  // ranks; 0 = nothing seen
};

// The group's mean species number, in tenths rounded halves to even, written shortest
// (49 over 4 gives "12.2", 48 over 4 gives "12").
std::string MeanSpeciesText(long long sum, int size);

}  // namespace tavik
