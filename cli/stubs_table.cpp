// Placeholder until the saved-table commands arrive.
#include "cli/commands.h"

namespace tavik::cli {
int Info(const Args&) { throw UsageError{"info is not available yet"}; }
int Sort(const Args&) { throw UsageError{"sort is not available yet"}; }
}  // namespace tavik::cli
