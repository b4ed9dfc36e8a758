// The spreadsheet output: the composition table as an .xlsx workbook, one sheet row per
// species, the layer lines of a species as the lines of one cell.
#pragma once

#include <string>
#include <string_view>

#include "core/messages.h"
#include "core/progress.h"
#include "core/table.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {

// The sheet's largest column number; a range that needs more columns is refused.
inline constexpr int kSheetColumns = 16384;

// エクセル形式出力: writes the workbook of the counted table to `path` (replaced only once
// complete). Row 1 the title; the serial numbers (item 1 ticked) as numbers, counting the
// relevés and leaving separator columns (relevés without species) empty; one row per
// ticked header item, values trimmed, a plain decimal number (PlainDecimalNumber with
// decimals) as a number; the species numbers, with the frequency column's heading; then
// one row per species of the range: name (top), layer labels, the notations of relevé q in
// column q + 2 (centred; nothing in a separator) and, when chosen, the frequency in % of
// the range's relevés (the species' cells in the range over the range's relevés,
// separators not counted) in column releveTo + 3. A range without a relevé has no
// frequency column. Throws std::runtime_error naming the file when it cannot be written,
// OutputCancelled when `progress` asks to stop.
OutputReport WriteSpreadsheet(const Table& t, const OutputOptions& o, const std::string& path,
                              Progress* progress = nullptr);

// Whether a header value goes to the sheet as a number: a plain decimal number (an
// optional minus, digits without a leading zero, an optional fraction), blanks around it
// allowed, none inside, not a negative zero. "0012" stays text. Without `decimals` a
// fraction with trailing zeros ("12.50") stays text; with it, it is a number and
// `decimals` tells how many fraction digits to show.
bool PlainDecimalNumber(std::string_view text, double& value, int* decimals = nullptr);

inline constexpr const char* kFrequencyHeading = "出現頻度(%)";  // data, not interface
// Shown through Tr().
inline constexpr const char* kSpreadsheetMessage = TrNoop("　エクセル形式データに変換中　");

}  // namespace tavik
