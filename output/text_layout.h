// The layered text table: one line per layer in which a species grows, five bytes per
// relevé, header lines with the chosen site items, an optional frequency column and an
// optional list of the species that occur once. A wide table is cut into column blocks
// separated by form feeds; the text file and the full print share this layout.
#pragma once

#include <string>

#include "core/progress.h"
#include "core/table.h"
#include "output/line_sink.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {

// The text file holds 46 relevé columns in its first block and 52 in every further one.
inline constexpr int kTextFileBlockWidth = 45;

// Writes the whole layout into `out`. `blockWidth` is the number of relevé columns added
// to the first one of a block (the first block holds blockWidth + 1 columns beside the
// 32-byte caption column, later blocks six more). The table's counts must be current
// (Table::Recount). Widths are CP932 bytes; a double-byte character is never split.
void PrintTable(const Table& t, const OutputOptions& o, int blockWidth, LineSink& out, Progress* progress = nullptr);

// The same layout with `firstColumns` relevé columns in the first block and `laterColumns`
// in every further one (each at least 1).
void PrintTableInBlocks(const Table& t, const OutputOptions& o, int firstColumns, int laterColumns, LineSink& out,
                        Progress* progress = nullptr);

// What the layout leaves out without a word in the file, for the front end to say: the
// species of the range that occur once in the table (0 when the list of them is chosen),
// and whether a chosen frequency column has no relevé to count in the range.
int OnceSpeciesLeftOut(const Table& t, const OutputOptions& o);
bool FrequencyLeftOut(const Table& t, const OutputOptions& o);

// 表をテキスト出力: writes the layout of the counted table into the file at `path` (replaced only
// once complete). Throws std::runtime_error naming the file when it cannot be written,
// OutputCancelled when `progress` asks to stop.
OutputReport WriteTextTable(const Table& t, const OutputOptions& o, const std::string& path,
                            Progress* progress = nullptr);

// A percentage rounded to the nearest integer, halves to the even one; 0 when `of` is 0.
long long Percent(long long part, long long of);

}  // namespace tavik
