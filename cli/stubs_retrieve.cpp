// Placeholder until field data arrive; replaced by the retrieval commands.
#include "cli/commands.h"

namespace tavik::cli {
int Retrieve(const Args&) { throw UsageError{"retrieve is not available yet"}; }
int MakeFieldData(const Args&) { throw UsageError{"make-fielddata is not available yet"}; }
}  // namespace tavik::cli
