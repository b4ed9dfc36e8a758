// Fields of the CSV files the program writes.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// `text` in double quotes, each quote in it doubled.
inline std::string CsvQuoted(std::string_view text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"') q += '"';
        q += c;
    }
    return q + "\"";
}

// `text` as it is, or quoted where a comma, a quote or a line end in it would shift the
// columns. Names are the user's; the group-membership and fidelity files write them so.
inline std::string CsvFieldWhereNeeded(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    return CsvQuoted(text);
}

}  // namespace tavik
