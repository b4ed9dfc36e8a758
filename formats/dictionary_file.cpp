#include "formats/dictionary_file.h"

#include <filesystem>

#include "formats/file_bytes.h"
#include "formats/text_lines.h"

namespace tavik {

std::vector<DictionaryEntry> ParseDictionary(std::string_view bytes, const std::string& fileName) {
    std::vector<DictionaryEntry> entries;
    for (std::string& line : DecodeTextLines(bytes, fileName)) {
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0) continue;
        entries.push_back({line.substr(0, comma), line.substr(comma + 1)});
    }
    return entries;
}

bool ReadDictionaryFile(const std::string& path, std::vector<DictionaryEntry>& out) {
    std::error_code ec;
    // Only a plain file is a dictionary: a folder or a device named by the settings is not.
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    out = ParseDictionary(ReadFileBytes(path), path);
    return true;
}

}  // namespace tavik
