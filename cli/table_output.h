// Saving a table from the command line: refusing a read-only file unless --force, and the
// notice on stderr when the file had to be written as UTF-8.
#pragma once

#include <string>

#include "formats/workspace.h"

namespace tavik::cli {

void SaveTableFromCli(const Workspace& ws, const std::string& path, bool force);

// Loads a saved table; a companion settings file that could not be used is a warning on
// stderr.
void LoadTableFromCli(Workspace& ws, const std::string& path);

}  // namespace tavik::cli
