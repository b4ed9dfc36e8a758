// Membership files: any bytes give (relevé, group) pairs or an error naming the file; what
// was read, written again, reads back as the same pairs. Names that hold zero bytes are not
// written again: a short file full of them is taken for UTF-16 by every text reader.
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "formats/membership_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tavik;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::pair<std::string, std::string>> pairs;
    try {
        pairs = ParseMembership(bytes, "fuzz.csv");
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).rfind("fuzz.csv", 0) != 0) std::abort();  // names the file
        return 0;
    }
    std::vector<MembershipLine> lines;
    int position = 0;
    for (const auto& [releve, group] : pairs) {
        if (group.empty() || group == "NA") std::abort();
        if (releve.find('\0') != std::string::npos || group.find('\0') != std::string::npos) return 0;
        lines.push_back({++position, releve, group});
    }
    if (ParseMembership(MembershipCsvText(lines), "again.csv") != pairs) std::abort();
    return 0;
}
