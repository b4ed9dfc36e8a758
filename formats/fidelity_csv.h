// The fidelity of a table's species as a CSV file: a heading line, then one line per species
// in the order of the table: its name, per group the count, phi × 100 with one decimal and
// Fisher's p (blank where there is no value), then the group of the highest phi and the
// groups for which the species is diagnostic. CP932 with CR LF (UTF-8 with a BOM when some
// name has no CP932 form), written atomically.
#pragma once

#include <string>
#include <vector>

#include "core/fidelity.h"
#include "formats/atomic_file.h"
#include "formats/codec.h"

namespace tavik {

// `names[s]` and `labels[g]` name species s and group g of `r`.
std::string FidelityCsvLines(const FidelityResult& r, const std::vector<std::string>& names,
                             const std::vector<std::string>& labels);

void WriteFidelityCsv(const std::string& path, const FidelityResult& r, const std::vector<std::string>& names,
                      const std::vector<std::string>& labels,
                      AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse,
                      TextEncoding encoding = TextEncoding::Cp932);

// phi × 100 with one decimal ("62.4", "-5.0"), and p in three significant digits ("0.0143",
// "1.52e-19", "1"), as the file writes them.
std::string PhiCsvText(double phi);
std::string PValueText(double p);

}  // namespace tavik
