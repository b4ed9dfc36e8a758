#include "formats/file_bytes.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "formats/input_file.h"

namespace tavik {

std::string ReadFileBytes(const std::string& path, std::uint64_t limit) {
    InputFile in(path);
    if (in.Size() > limit) throw std::runtime_error(TooLargeMessage(path, limit));
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(in.Size()));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            // The file may have grown since it was opened: read on, within the bound. A byte
            // is read first, so that a file of the size it had is never copied to grow.
            char probe;
            if (in.Read(&probe, 1) == 0) break;
            if (bytes.size() >= limit) throw std::runtime_error(TooLargeMessage(path, limit));
            bytes.resize(std::min<std::uint64_t>(limit, bytes.size() + (1 << 16)));
            bytes[got++] = probe;
            continue;
        }
        const std::size_t n = in.Read(bytes.data() + got, bytes.size() - got);
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && std::filesystem::equivalent(a, b, ec) && !ec;
}

std::string FindFileAnyCase(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::path p = path;
    std::error_code ec;
    if (fs::exists(p, ec)) return path;
    const fs::path folder = p.has_parent_path() ? p.parent_path() : fs::path(".");
    const auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const std::string want = lower(p.filename().string());
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (lower(it->path().filename().string()) == want)
            return (p.has_parent_path() ? it->path() : it->path().filename()).string();
    return {};
}

}  // namespace tavik
