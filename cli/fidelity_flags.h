// The fidelity's flags, shared by fidelity and constancy --fidelity: --no-equalize,
// --threshold PHI×100, --alpha LEVEL|none.
#pragma once

#include <string>

#include "cli/args.h"
#include "core/fidelity.h"

namespace tavik::cli {

// Reads one fidelity flag at `a` into `options`; false when `a` is not one of them.
bool ReadFidelityFlag(const std::string& a, ArgReader& in, FidelityOptions& options);

}  // namespace tavik::cli
