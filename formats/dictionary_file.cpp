#include "formats/dictionary_file.h"

#include <filesystem>

#include "formats/text_lines.h"

namespace tavik {

namespace {

// Line by line: memory follows the entries, not the lines of the file.
std::vector<DictionaryEntry> Entries(TextLineFile& lines) {
    std::vector<DictionaryEntry> entries;
    std::string line;
    while (lines.Next(line)) {
        const std::size_t comma = line.find(',');
        if (comma == std::string::npos || comma == 0) continue;
        entries.push_back({line.substr(0, comma), line.substr(comma + 1)});
    }
    return entries;
}

}  // namespace

std::vector<DictionaryEntry> ParseDictionary(std::string_view bytes, const std::string& fileName) {
    TextLineFile lines(bytes, fileName);
    return Entries(lines);
}

bool ReadDictionaryFile(const std::string& path, std::vector<DictionaryEntry>& out) {
    std::error_code ec;
    // Only a plain file is a dictionary: a folder or a device named by the settings is not.
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
    TextLineFile lines(path);
    out = Entries(lines);
    return true;
}

}  // namespace tavik
