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
    if (path.empty() || !std::filesystem::exists(path, ec) || std::filesystem::is_directory(path, ec))
        return false;
    out = ParseDictionary(ReadFileBytes(path), path);
    return true;
}

}  // namespace tavik
