// Fidelity on the groups of the constancy table: the relevés between empty columns.
#pragma once

#include <string>
#include <vector>

#include "core/constancy.h"
#include "core/fidelity.h"
#include "core/table.h"

namespace tavik {

// The fidelity of every species of a recounted table (position p at index p − 1) to each
// group of `groups` (ConstancyGroups of the same table). Groups of no relevés have no value.
FidelityResult TableFidelity(const Table& t, const std::vector<ReleveGroup>& groups,
                             const FidelityOptions& options);

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

// The label of group g (0-based) as the constancy table writes it: "A" for the first.
std::string GroupLabel(int g);

// phi × 100 as the constancy cells show it: an integer, halves to even ("62", "-5").
std::string PhiPercentText(double phi);

}  // namespace tavik
