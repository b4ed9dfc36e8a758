// Dictionary reader: any bytes either give entries or an error; every synonym read finds
// the standard name of its first entry.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include "core/dictionary.h"
#include "formats/dictionary_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<tavik::DictionaryEntry> entries;
    try {
        entries = tavik::ParseDictionary(bytes, "fuzz.dic");
    } catch (const std::runtime_error&) {
        return 0;
    }
    tavik::Dictionary dict;
    for (const auto& e : entries) {
        if (e.synonym.empty() || e.synonym.find('\n') != std::string::npos) std::abort();
        dict.Add(e.synonym, e.standard);
    }
    for (const auto& e : entries) {
        const std::string* found = dict.Find(e.synonym);
        if (!found) std::abort();
        for (const auto& first : entries) {
            if (&first == &e) {
                if (*found != e.standard) std::abort();
                break;
            }
            if (dict.Find(first.synonym) == found) break;
        }
    }
    return 0;
}
