// Fidelity on the groups of the constancy table: the relevés between empty columns.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/constancy.h"
#include "core/fidelity.h"
#include "core/table.h"

namespace tavik {

// The fidelity of every species of a recounted table (position p at index p − 1) to each
// group of `groups` (ConstancyGroups of the same table). Groups of no relevés have no value.
FidelityResult TableFidelity(const Table& t, const std::vector<ReleveGroup>& groups, const FidelityOptions& options);

// The groups of a recounted table for a fidelity that stands on its own (the command line,
// the reorder of the table): refused (ConstancyRefused, with a message for the user) for a
// table without species or relevés, for more groups than the constancy table takes, and for
// fewer than two groups that hold relevés, where no species can be told apart.
std::vector<ReleveGroup> FidelityGroups(const Table& t);

// The species positions 1..SpeciesCount in diagnostic blocks, as PermuteSpecies(t, 1, order)
// takes them: the diagnostic species of group A by decreasing phi, then those of B, ...,
// then the rest by decreasing frequency. Applying it is one permutation, which undo can
// reverse. Refused as FidelityGroups.
std::vector<int> DiagnosticSpeciesOrder(const Table& t, const FidelityOptions& options);

// The constancy table with the fidelity of its species. Where a species occurs in a group
// and its phi has a value, the cell reads its class (padded so that the bars line up), " │"
// and phi × 100 (Ⅳ 1-3 │ 62). Cells of diagnostic species take the shade of their group
// (group g: shade g + 1), as do the group labels; every species row carries its block and
// place in the diagnostic order, which the window sorts by. Refused as MakeConstancyTable.
FreqTable MakeSynopticTable(const Table& t, const ConstancyOptions& constancy, const FidelityOptions& fidelity,
                            Progress* progress = nullptr);

// A cell of the synoptic table taken apart: the class (without the padding before the bar)
// and phi × 100 as text; false, with the whole text as class, for a cell without a phi.
bool SplitSynopticCell(std::string_view cell, std::string& classText, std::string& phiText);

// The tint of shade g (1..) as 0xRRGGBB: pale and far apart, coming round after the eighth.
std::uint32_t GroupTintRgb(int shade);

// The label of group g (0-based) as the constancy table writes it: "A" for the first.
std::string GroupLabel(int g);

// phi × 100 as the constancy cells show it: an integer, halves to even ("62", "-5").
std::string PhiPercentText(double phi);

}  // namespace tavik
