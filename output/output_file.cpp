#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <unordered_map>

namespace tavik {

namespace fs = std::filesystem;

namespace {
constexpr std::size_t kBufferSize = 1 << 20;
}

AtomicOutputFile::AtomicOutputFile(std::string path) : path_(std::move(path)) {
    std::error_code ec;
    fs::path target = path_;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec) target = resolved;
    }
    if (target.empty() || fs::is_directory(target, ec)) Fail();
    target_ = target.string();
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::string name = "." + target.filename().string() + ".XXXXXX";
    tmp_ = (folder / name).string();
    fd_ = ::mkstemp(tmp_.data());
    if (fd_ < 0) {
        tmp_.clear();
        Fail();
    }
    struct stat old {};
    const bool hadOld = ::stat(target_.c_str(), &old) == 0;
    // mkstemp makes the file private; an output is as readable as any other file.
    (void)::fchmod(fd_, hadOld ? (old.st_mode & 07777) : 0644);
    buf_.reserve(kBufferSize);
}

AtomicOutputFile::~AtomicOutputFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!committed_ && !tmp_.empty()) ::unlink(tmp_.c_str());
}

void AtomicOutputFile::Fail() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tmp_.empty()) ::unlink(tmp_.c_str());
    tmp_.clear();
    throw std::runtime_error(path_ + " に書き込めません");
}

void AtomicOutputFile::Write(std::string_view bytes) {
    if (buf_.size() + bytes.size() > kBufferSize) {
        Flush();
        if (bytes.size() > kBufferSize) {
            buf_.assign(bytes);
            Flush();
            return;
        }
    }
    buf_.append(bytes);
}

void AtomicOutputFile::Flush() {
    const char* p = buf_.data();
    std::size_t left = buf_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail();
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buf_.clear();
}

void AtomicOutputFile::Commit() {
    if (fd_ < 0) Fail();
    Flush();
    if (::fsync(fd_) != 0) Fail();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail();
    if (::rename(tmp_.c_str(), target_.c_str()) != 0) Fail();
    committed_ = true;
}

void AtomicOutputFile::CommitWrittenByName() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    const int fd = ::open(tmp_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail();
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    if (!synced || ::rename(tmp_.c_str(), target_.c_str()) != 0) Fail();
    committed_ = true;
}

bool AppendCp932(std::string& out, std::string_view utf8) {
    thread_local std::unordered_map<std::string, std::string> cache;
    std::size_t i = 0;
    std::string piece;
    while (i < utf8.size()) {
        std::size_t j = i;
        // ASCII runs (most of every line) are copied as they are, eight bytes at a time.
        while (j + 8 <= utf8.size()) {
            std::uint64_t w;
            std::memcpy(&w, utf8.data() + j, 8);
            if (w & 0x8080808080808080ULL) break;
            j += 8;
        }
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80) ++j;
        out.append(utf8.data() + i, j - i);
        if (j == utf8.size()) break;
        std::size_t k = j;
        while (k < utf8.size() && static_cast<unsigned char>(utf8[k]) >= 0x80) ++k;
        const std::string run(utf8.substr(j, k - j));
        auto it = cache.find(run);
        if (it == cache.end()) {
            if (!Utf8ToCp932(run, piece)) return false;
            if (cache.size() > 100000) cache.clear();
            it = cache.emplace(run, piece).first;
        }
        out += it->second;
        i = k;
    }
    return true;
}

TextFileSink::TextFileSink(AtomicOutputFile& file, TextEncoding encoding) : file_(file), encoding_(encoding) {
    if (encoding_ == TextEncoding::Utf8) file_.Write("\xEF\xBB\xBF");
}

void TextFileSink::Append(std::string_view utf8) {
    out_.clear();
    if (encoding_ == TextEncoding::Utf8) {
        out_.assign(utf8);
    } else if (!AppendCp932(out_, utf8)) {
        throw NotCp932{};
    }
}

void TextFileSink::Line(std::string_view utf8) {
    Append(utf8);
    out_ += "\r\n";
    file_.Write(out_);
}

void TextFileSink::Text(std::string_view utf8) {
    Append(utf8);
    file_.Write(out_);
}

}  // namespace tavik
