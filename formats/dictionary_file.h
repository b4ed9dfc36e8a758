// Synonym dictionary files: one entry a line, "written name,standard name", split at the
// first comma, nothing trimmed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

struct DictionaryEntry {
    std::string synonym, standard;
};

// The entries of a dictionary file's bytes, in file order. Lines without a comma, or that
// begin with one, are skipped. Throws std::runtime_error naming the file and the line when
// a line is neither CP932 nor UTF-8.
std::vector<DictionaryEntry> ParseDictionary(std::string_view bytes, const std::string& fileName);

// Reads a dictionary file into `out`. False (and nothing read) when no file exists at the
// path; throws when it exists but cannot be read or decoded.
bool ReadDictionaryFile(const std::string& path, std::vector<DictionaryEntry>& out);

}  // namespace tavik
