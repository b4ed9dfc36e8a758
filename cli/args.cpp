#include "cli/args.h"

#include <sys/stat.h>

#include <charconv>
#include <filesystem>
#include <stdexcept>

#include "cli/messages.h"
#include "formats/file_bytes.h"
#include "formats/workspace.h"

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

namespace {

// Where a path leads, for telling whether two paths are one file.
struct Place {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    std::string resolved;  // for a file that is not there yet
};

Place PlaceOf(const std::string& path) {
    namespace fs = std::filesystem;
    Place place;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        place.exists = true;
        place.dev = st.st_dev;
        place.ino = st.st_ino;
        return place;
    }
    // Not there yet: a dangling link is followed to the file it would make, then the folder
    // is resolved through its links.
    fs::path p = path;
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        const fs::path target = fs::read_symlink(p, ec);
        if (ec) break;
        p = target.is_absolute() ? target : p.parent_path() / target;
    }
    const fs::path absolute = fs::absolute(p, ec);
    const fs::path resolved = fs::weakly_canonical(absolute, ec);
    place.resolved = (ec ? absolute : resolved).lexically_normal().string();
    return place;
}

bool SamePlace(const Place& a, const Place& b) {
    if (a.exists != b.exists) return false;
    return a.exists ? a.dev == b.dev && a.ino == b.ino : a.resolved == b.resolved;
}

}  // namespace

void CheckOutputs(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs) {
    std::vector<Place> outPlaces;
    for (const NamedFile& out : outputs) outPlaces.push_back(out.path.empty() ? Place{} : PlaceOf(out.path));
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        const NamedFile& out = outputs[i];
        if (out.path.empty()) continue;
        for (std::size_t j = 0; j < i; ++j)
            if (!outputs[j].path.empty() && SamePlace(outPlaces[j], outPlaces[i]))
                throw UsageError{"outputs " + outputs[j].what + " and " + out.what + " are the same file " + out.path};
        for (const NamedFile& in : inputs) {
            // An input is read, so it is there: only an existing output can be it.
            if (in.path.empty() || !outPlaces[i].exists) continue;
            if (SamePlace(outPlaces[i], PlaceOf(in.path)))
                throw UsageError{"output " + out.path + " is also the input " + in.what};
        }
    }
}

std::string Printable(std::string_view message) {
    std::string out;
    out.reserve(message.size());
    const auto hex = [&out](unsigned v) {
        static const char kDigits[] = "0123456789abcdef";
        out += "\\x";
        out += kDigits[(v >> 4) & 15];
        out += kDigits[v & 15];
    };
    for (std::size_t i = 0; i < message.size(); ++i) {
        const auto c = static_cast<unsigned char>(message[i]);
        if (c == '\n' || c == '\r') out += ' ';
        else if (c < 0x20 || c == 0x7F) hex(c);
        else if (c == 0xC2 && i + 1 < message.size() && static_cast<unsigned char>(message[i + 1]) >= 0x80 &&
                 static_cast<unsigned char>(message[i + 1]) <= 0x9F) {
            hex(static_cast<unsigned char>(message[++i]));  // U+0080 ... U+009F
        } else out += static_cast<char>(c);
    }
    return out;
}

std::vector<NamedFile> TableInputs(const std::string& table, const std::string& ini) {
    return {{"TABLE.vtb", table}, {"--ini", ini}, {"the table's settings file", CompanionIniPath(table)}};
}

void CheckSettingsFileExists(const std::string& ini) {
    std::error_code ec;
    if (!ini.empty() && !std::filesystem::exists(ini, ec))
        throw std::runtime_error(Arg(Tr("%1 がありません（設定ファイル）"), {ini}));
}

}  // namespace tavik::cli
