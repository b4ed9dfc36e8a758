// Printing into a PDF file through the printer device (Qt), for `tavik-cli print --pdf`.
#pragma once

#include <string>

#include "core/table.h"
#include "output/options.h"

namespace tavik::cli {

inline constexpr double kPrintMarginMillimetres = 15.0;

// The full or simple print of `t` into the PDF file at `path` (A4, the options' font),
// replaced only once complete. Throws std::runtime_error when the program was built
// without the printer device or the file cannot be written.
void PrintToPdf(const Table& t, const OutputOptions& o, bool simple, const std::string& path);

// Half-width characters of a font of `pointSize` across an A4 page within the margins.
int A4TextWidth(int pointSize);

}  // namespace tavik::cli
