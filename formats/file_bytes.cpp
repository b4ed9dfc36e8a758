#include "formats/file_bytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

namespace tavik {

namespace fs = std::filesystem;

std::string ReadFileBytes(const std::string& path) {
    const auto fail = [&] { return std::runtime_error(path + " を読み込めません"); };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw fail();
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        throw fail();
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 0));
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            throw fail();
        }
        bytes.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return bytes;
}

void WriteFileAtomic(const std::string& path, std::string_view bytes) {
    const auto fail = [&] { return std::runtime_error(path + " に書き込めません"); };
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    if (fs::is_directory(target, ec)) throw fail();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";

    std::string name = target.filename().string();
    name.insert(0, 1, '.');
    name += ".XXXXXX";
    std::string tmp = (folder / name).string();
    const int fd = ::mkstemp(tmp.data());
    if (fd < 0) throw fail();
    struct stat old {};
    const bool hadOld = ::stat(target.c_str(), &old) == 0;
    // mkstemp makes the file private; a saved table is as readable as any other file.
    (void)::fchmod(fd, hadOld ? (old.st_mode & 07777) : 0644);
    bool ok = true;

    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        throw fail();
    }
}

}  // namespace tavik
