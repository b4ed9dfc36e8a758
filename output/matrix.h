// The numeric matrices for multivariate analysis: the value matrix (species by relevé or
// relevé by species) and the PCord matrix with the species list beside it. Every cell is
// one number of the cell's seven layer values (CoverNumber, by the options' method);
// species rows and relevé columns without any cell are left out.
#pragma once

#include <string>
#include <vector>

#include "core/progress.h"
#include "core/table.h"
#include "output/line_sink.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {

// Writes the value matrix line by line into `out` (rows are made and written one at a
// time; the matrix is never held whole). The table's counts must be current.
void ValueMatrix(const Table& t, const OutputOptions& o, LineSink& out, Progress* progress = nullptr);
// 数値表として出力する: the value matrix into the file at `path`.
OutputReport WriteValueMatrix(const Table& t, const OutputOptions& o, const std::string& path,
                              Progress* progress = nullptr);

// The eight-byte abbreviations of the species, indexed by position 0..SpeciesCount (empty
// outside the options' species range), made unique in species order.
std::vector<std::string> SpeciesAbbreviations(const Table& t, const OutputOptions& o);

void PCordMatrix(const Table& t, const OutputOptions& o, const std::vector<std::string>& abbreviations, LineSink& out,
                 Progress* progress = nullptr);
// One line per species of the table: its abbreviation, a blank and its name.
void PCordSpeciesList(const Table& t, const std::vector<std::string>& abbreviations, LineSink& out);
// PCord 用のCSV型出力: the matrix into `path` and the species list into
// SpeciesListPath(path), replaced as a pair (WriteTextPair). A `path` ending in ".lst" is
// refused with std::runtime_error before anything is written.
OutputReport WritePCordMatrix(const Table& t, const OutputOptions& o, const std::string& path,
                              Progress* progress = nullptr);

}  // namespace tavik
