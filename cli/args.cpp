#include "cli/args.h"

#include <charconv>
#include <filesystem>
#include <stdexcept>

#include "formats/file_bytes.h"

namespace tavik::cli {

void ParseRange(const std::string& opt, const std::string& text, int& first, int& last) {
    const auto dash = text.find('-');
    auto num = [&](std::string_view s, int& v) {
        auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
        return ec == std::errc() && p == s.data() + s.size() && v >= 1;
    };
    const std::string_view t(text);
    if (dash == std::string::npos || !num(t.substr(0, dash), first) || !num(t.substr(dash + 1), last))
        throw UsageError{opt + " must be FIRST-LAST (from 1), not '" + text + "'"};
    if (first > last) throw UsageError{opt + " " + text + ": FIRST is after LAST"};
}

}  // namespace tavik::cli

namespace tavik::cli {

void CheckOutputIsNotInput(const std::string& out, const std::vector<NamedInput>& inputs) {
    for (const NamedInput& in : inputs)
        if (SameFile(out, in.path)) throw UsageError{"output " + out + " is also the input " + in.what};
}

void CheckSettingsFileExists(const std::string& ini) {
    std::error_code ec;
    if (!ini.empty() && !std::filesystem::exists(ini, ec))
        throw std::runtime_error(ini + " がありません（設定ファイル）");
}

}  // namespace tavik::cli
