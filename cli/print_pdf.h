// Printing into a PDF file through the printer device (Qt), for `tavik-cli print --pdf`.
// Qt costs every start of a command time and memory, so tavik-cli itself has no Qt: it hands
// `print --pdf` over to the program tavik-pdf beside it, which runs the same commands with
// the printer device built in.
#pragma once

#include <string>

#include "core/table.h"
#include "output/options.h"

namespace tavik::cli {

inline constexpr double kPrintMarginMillimetres = 15.0;

// In tavik-cli: runs tavik-pdf from the same folder with this process's arguments in its
// place (does not return) or throws std::runtime_error when it cannot. In tavik-pdf: returns.
void HandOverToPdfPrinter();

// The full or simple print of `t` into the PDF file at `path` (A4, the options' font),
// replaced only once complete. Throws std::runtime_error when the file cannot be written.
void PrintToPdf(const Table& t, const OutputOptions& o, bool simple, const std::string& path);

// Half-width characters of a font of `pointSize` across an A4 page within the margins.
int A4TextWidth(int pointSize);

}  // namespace tavik::cli
