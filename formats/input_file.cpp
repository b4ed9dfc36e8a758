#include "formats/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <stdexcept>

#include "core/messages.h"
#include "formats/file_error.h"

namespace tavik {

InputFile::InputFile(const std::string& path) : path_(path) {
    // Without O_NONBLOCK, opening a FIFO that nobody writes would wait for ever.
    fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd_ < 0) throw ReadError(path, errno);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        const int err = errno;
        ::close(fd_);
        throw ReadError(path, err);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd_);
        if (S_ISDIR(st.st_mode)) throw ReadError(path, EISDIR);
        throw std::runtime_error(Arg(Tr("%1 は通常のファイルではありません"), {path}));
    }
    const int flags = ::fcntl(fd_, F_GETFL);
    if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
    size_ = static_cast<std::uint64_t>(st.st_size);
}

InputFile::~InputFile() {
    if (fd_ >= 0) ::close(fd_);
}

std::size_t InputFile::Read(char* buf, std::size_t n) {
    for (;;) {
        const ssize_t k = ::read(fd_, buf, n);
        if (k >= 0) return static_cast<std::size_t>(k);
        if (errno != EINTR) throw ReadError(path_, errno);
    }
}

std::size_t InputFile::ReadAt(std::uint64_t offset, char* buf, std::size_t n) {
    std::size_t got = 0;
    while (got < n) {
        const ssize_t k = ::pread(fd_, buf + got, n - got, static_cast<off_t>(offset + got));
        if (k < 0) {
            if (errno == EINTR) continue;
            throw ReadError(path_, errno);
        }
        if (k == 0) break;
        got += static_cast<std::size_t>(k);
    }
    return got;
}

std::string TooLargeMessage(const std::string& path, std::uint64_t limit) {
    return Arg(Tr("%1 は大きすぎます（%2 MB まで）"), {path, std::to_string(limit / (1024 * 1024))});
}

}  // namespace tavik
