// The second window's table as an .xlsx workbook, as synoptic tables are printed in
// journals: the names in column A; per group a column of its class and range and, for a
// table with the fidelity of its species, a column of phi × 100 as a number beside it; the
// heading rows (group labels, relevé counts, mean species numbers) with the numbers as
// numbers; the cells of diagnostic species filled with their group's tint; a rule under the
// last species of each diagnostic block.
#pragma once

#include <string>

#include "core/freq_table.h"
#include "output/output_file.h"

namespace tavik {

// Writes `t` (a constancy or synoptic table as the window holds it, rows in its order) to
// `path`, replaced only once complete. Throws std::runtime_error naming the file when it
// cannot be written, ReadOnlyFileError for a read-only file unless told to replace it.
void WriteFreqTableSheet(const FreqTable& t, const std::string& path, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);

}  // namespace tavik
