// One entry for the file outputs of the output panel: the front end asks which file the
// mode writes (for its prompt), then hands over the table, the options and the chosen path.
#pragma once

#include <optional>
#include <string>

#include "core/progress.h"
#include "core/table.h"
#include "output/options.h"
#include "output/output_file.h"

namespace tavik {

// The file a mode writes: text, spreadsheet, value matrix or PCord matrix; none for the
// two prints and the configuration.
std::optional<OutputFileKind> FileKindOf(OutputMode mode);

// Runs the file output of `o.mode` into `path`, reading the table as it is (counted by the
// front end; the title written is the options'). Throws std::runtime_error naming the file on failure (the old file
// stays), OutputCancelled when `progress` asks to stop, std::invalid_argument for a mode that writes no file.
OutputReport WriteOutputFile(const Table& t, const OutputOptions& o, const std::string& path,
                             Progress* progress = nullptr);

}  // namespace tavik
