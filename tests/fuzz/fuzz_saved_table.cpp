// Saved-table reader: any bytes either load or give an error; what loads saves to a file
// that loads back to the same file.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "formats/saved_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tavik::Table t;
    try {
        tavik::ParseSavedTable(bytes, "fuzz.vtb", t);
    } catch (const std::runtime_error&) {
        return 0;
    }
    const std::string saved = tavik::SavedTableBytes(t);
    tavik::Table again;
    tavik::ParseSavedTable(saved, "again.vtb", again);  // must not throw
    if (tavik::SavedTableBytes(again) != saved) std::abort();
    return 0;
}
