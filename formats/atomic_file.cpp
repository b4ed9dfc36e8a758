#include "formats/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>

#include "core/messages.h"
#include "formats/file_error.h"

namespace tavik {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMarker = ".tavik-";
constexpr std::size_t kRandomChars = 6;  // what mkstemp puts for XXXXXX
constexpr std::size_t kBufferSize = 1 << 20;

// ---- Temporaries removed when the process is stopped by a signal --------------------------
//
// The handler may only use async-signal-safe calls: the paths live in fixed buffers, and a
// slot is published (state 2) only once its path is complete.

constexpr int kSlots = 32;
std::atomic<int> slotState[kSlots];  // 0 free, 1 being filled, 2 live
char slotPath[kSlots][PATH_MAX];
constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previous[3];
std::once_flag handlersInstalled;

void RemoveLiveTemporaries(int sig) {
    for (int i = 0; i < kSlots; ++i)
        if (slotState[i].load() == 2) ::unlink(slotPath[i]);
    // Then whatever was there before us: the default ends the process with this signal.
    for (int k = 0; k < 3; ++k)
        if (kSignals[k] == sig) ::sigaction(sig, &previous[k], nullptr);
    ::raise(sig);
}

void InstallHandlers() {
    for (int k = 0; k < 3; ++k) {
        struct sigaction old {};
        ::sigaction(kSignals[k], nullptr, &old);
        previous[k] = old;
        if (old.sa_handler == SIG_IGN) continue;  // a signal the process ignores stays ignored
        struct sigaction sa {};
        sa.sa_handler = RemoveLiveTemporaries;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = static_cast<int>(SA_RESETHAND);
        ::sigaction(kSignals[k], &sa, nullptr);
    }
}

int Register(const std::string& path) {
    std::call_once(handlersInstalled, InstallHandlers);
    if (path.size() >= PATH_MAX) return -1;
    for (int i = 0; i < kSlots; ++i) {
        int expected = 0;
        if (!slotState[i].compare_exchange_strong(expected, 1)) continue;
        std::memcpy(slotPath[i], path.c_str(), path.size() + 1);
        slotState[i].store(2);
        return i;
    }
    return -1;  // more files at once than slots: the stale clean-up will find the rest
}

void Unregister(int slot) {
    if (slot >= 0) slotState[slot].store(0);
}

bool WriteAll(int fd, const char* p, std::size_t n, int& err) {
    while (n > 0) {
        const ssize_t k = ::write(fd, p, n);
        if (k < 0) {
            if (errno == EINTR) continue;
            err = errno;
            return false;
        }
        if (k == 0) {
            err = EIO;
            return false;
        }
        p += k;
        n -= static_cast<std::size_t>(k);
    }
    return true;
}

// A stream buffer that hands everything to the file.
class SinkBuf : public std::streambuf {
public:
    explicit SinkBuf(AtomicFile& f) : f_(f) {}

protected:
    int_type overflow(int_type c) override {
        if (c != traits_type::eof()) f_.Put(static_cast<char>(c));
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        f_.Write(std::string_view(s, static_cast<std::size_t>(n)));
        return n;
    }

private:
    AtomicFile& f_;
};

}  // namespace

namespace {

// ".NAME.tavik-XXXXXX", NAME cut (at a character's start) so that the whole stays within the
// longest name a folder holds: a target named up to that length can still be written.
std::string TemporaryName(const std::string& fileName) {
    constexpr std::size_t kNameMax = 255;
    std::size_t keep = std::min(fileName.size(), kNameMax - 1 - kMarker.size() - kRandomChars);
    while (keep > 0 && keep < fileName.size() && (static_cast<unsigned char>(fileName[keep]) & 0xC0) == 0x80) --keep;
    return "." + fileName.substr(0, keep) + std::string(kMarker) + "XXXXXX";
}

}  // namespace

bool IsOurTemporaryName(std::string_view name) {
    if (name.size() < 1 + 1 + kMarker.size() + kRandomChars || name[0] != '.') return false;
    const std::size_t at = name.size() - kRandomChars - kMarker.size();
    if (name.substr(at, kMarker.size()) != kMarker) return false;
    for (char c : name.substr(name.size() - kRandomChars))
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

namespace {

// True when the temporary at `name` in `dfd` has no writer: nobody holds its lock. A writer
// locks its temporary from the moment it is made until it is renamed or removed.
bool WriterGone(int dfd, const char* name, const struct stat& st) {
    const int fd = ::openat(dfd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return false;
    struct stat now {};
    // The lock taken, and still on the file of that name (not one made since).
    const bool gone = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &now) == 0 && now.st_ino == st.st_ino &&
                      now.st_dev == st.st_dev;
    if (gone) ::unlinkat(dfd, name, 0);
    ::close(fd);  // the lock goes with it
    return gone;
}

}  // namespace

void RemoveStaleTemporaries(const std::string& folder, long maxAgeSeconds) {
    const std::string dir = folder.empty() ? "." : folder;
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return;
    DIR* d = ::fdopendir(dfd);
    if (!d) {
        ::close(dfd);
        return;
    }
    const std::time_t now = std::time(nullptr);
    while (const dirent* e = ::readdir(d)) {
        if (!IsOurTemporaryName(e->d_name)) continue;
        struct stat st {};
        if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) continue;
        // One whose writer is gone goes at once; one that is locked only when it is old (a
        // writer stopped for a day, or a file system without locks).
        if (WriterGone(dfd, e->d_name, st)) continue;
        if (now - st.st_mtime <= maxAgeSeconds) continue;
        ::unlinkat(dfd, e->d_name, 0);
    }
    ::closedir(d);
}

ReadOnlyFileError::ReadOnlyFileError(const std::string& path)
    : std::runtime_error(Arg(Tr("%1 は読み取り専用のファイルです"), {path})) {}

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // Root may write anything; a file without any write bit is still meant to stay.
    return (st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

AtomicFile::AtomicFile(const std::string& target, ReadOnlyTarget readOnly) : path_(target), target_(target) {
    std::error_code ec;
    fs::path t = target;
    if (fs::is_symlink(t, ec)) {
        const fs::path resolved = fs::weakly_canonical(t, ec);
        if (!ec) t = resolved;
    }
    target_ = t.string();
    struct stat old {};
    const bool hadOld = ::stat(target_.c_str(), &old) == 0;
    if (hadOld && S_ISDIR(old.st_mode)) throw WriteError(path_, EISDIR);
    if (hadOld && !S_ISREG(old.st_mode))
        throw std::runtime_error(Arg(Tr("%1 は通常のファイルではありません"), {path_}));
    if (hadOld && readOnly == ReadOnlyTarget::Refuse && IsReadOnlyFile(target_)) throw ReadOnlyFileError(path_);

    fs::path folder = t.parent_path();
    if (folder.empty()) folder = ".";
    RemoveStaleTemporaries(folder.string());
    const std::string pattern = (folder / TemporaryName(t.filename().string())).string();
    if (pattern.size() >= PATH_MAX) throw WriteError(path_, ENAMETOOLONG);
    for (int attempt = 0;; ++attempt) {
        if (attempt == 100) throw WriteError(path_, EBUSY);
        tmp_ = pattern;
        // mkstemp creates the file exclusively (O_EXCL): a planted name or link is never opened.
        fd_ = ::mkostemp(tmp_.data(), O_CLOEXEC);
        if (fd_ < 0) {
            const int err = errno;
            tmp_.clear();
            throw WriteError(path_, err);
        }
        // The lock says the writer lives (see RemoveStaleTemporaries); it is kept on a second
        // descriptor of the same open file until the temporary is renamed or removed. Another
        // program tidying the folder may have taken the new file for a stale one in the instant
        // before: then it is gone, or about to go, and another name is made.
        const int lockErr = ::flock(fd_, LOCK_EX | LOCK_NB) == 0 ? 0 : errno;
        struct stat st {};
        const bool there = ::fstat(fd_, &st) == 0 && st.st_nlink > 0;
        if (there && lockErr == 0) {
            lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
            break;
        }
        if (there && lockErr != EWOULDBLOCK && lockErr != EINTR) break;  // no locks here: the age rule
        ::close(fd_);
        fd_ = -1;
    }
    slot_ = Register(tmp_);
    if (hadOld) {
        // The owner first (changing it clears set-id bits), then the mode. Either may be
        // refused to an ordinary user; the group alone often is not.
        if (::fchown(fd_, old.st_uid, old.st_gid) != 0) (void)!::fchown(fd_, static_cast<uid_t>(-1), old.st_gid);
        (void)::fchmod(fd_, old.st_mode & 07777);
    } else {
        // mkstemp makes the file private; a new file is as readable as any other the user makes.
        const mode_t mask = ::umask(0);
        ::umask(mask);
        (void)::fchmod(fd_, 0666 & ~mask);
    }
    buffer_.resize(kBufferSize);
}

AtomicFile::~AtomicFile() { Abandon(); }

void AtomicFile::Abandon() noexcept {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tmp_.empty()) {
        ::unlink(tmp_.c_str());
        tmp_.clear();
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    Unregister(slot_);
    slot_ = -1;
}

void AtomicFile::Fail(int err) {
    failed_ = true;
    Abandon();
    throw WriteError(path_, err);
}

void AtomicFile::Drain() {
    if (fd_ < 0) throw WriteError(path_, 0);
    int err = 0;
    if (used_ > 0 && !WriteAll(fd_, buffer_.data(), used_, err)) Fail(err);
    written_ += used_;
    used_ = 0;
}

void AtomicFile::Write(std::string_view bytes) {
    if (bytes.size() <= buffer_.size() - used_) {
        std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
        return;
    }
    Drain();
    if (bytes.size() >= buffer_.size()) {
        int err = 0;
        if (!WriteAll(fd_, bytes.data(), bytes.size(), err)) Fail(err);
        written_ += bytes.size();
        return;
    }
    std::memcpy(buffer_.data(), bytes.data(), bytes.size());
    used_ = bytes.size();
}

void AtomicFile::Overwrite(std::uint64_t offset, std::string_view bytes) {
    Drain();
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t k = ::pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (k < 0) {
            if (errno == EINTR) continue;
            Fail(errno);
        }
        done += static_cast<std::size_t>(k);
    }
}

void AtomicFile::Rewind() {
    if (failed_ || fd_ < 0) throw WriteError(path_, 0);
    used_ = 0;
    written_ = 0;
    if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) Fail(errno);
}

std::ostream& AtomicFile::Stream() {
    if (!stream_) {
        streamBuf_ = std::make_unique<SinkBuf>(*this);
        stream_ = std::make_unique<std::ostream>(streamBuf_.get());
        stream_->exceptions(std::ios::badbit);
    }
    return *stream_;
}

// Everything written and on the disk, the temporary closed.
void AtomicFile::Prepare() {
    if (prepared_) return;
    if (stream_) stream_->flush();
    if (failed_ || fd_ < 0) throw WriteError(path_, 0);
    Drain();
    if (::fsync(fd_) != 0) Fail(errno);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
    prepared_ = true;
}

int AtomicFile::Finished() noexcept {
    Unregister(slot_);
    slot_ = -1;
    tmp_.clear();
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    // The rename itself reaches the disk with the folder. A folder that cannot be opened
    // (no read permission) is left to the system; one whose sync fails is reported.
    fs::path folder = fs::path(target_).parent_path();
    if (folder.empty()) folder = ".";
    const int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd < 0) return 0;
    int err = 0;
    if (::fsync(dfd) != 0 && errno != EINVAL && errno != EROFS) err = errno;
    ::close(dfd);
    return err;
}

void AtomicFile::Commit() {
    Prepare();
    if (::rename(tmp_.c_str(), target_.c_str()) != 0) Fail(errno);
    // The file is in place, but the disk said it may not keep it.
    if (const int err = Finished(); err != 0) throw WriteError(path_, err);
}

void AtomicFile::CommitTogether(AtomicFile& first, AtomicFile& second) {
    first.Prepare();
    second.Prepare();
    // The first goes in place with its old file kept aside: swapped with the temporary where
    // the file system can, else a second link to it.
    std::string kept;
    struct stat st {};
    if (::lstat(first.target_.c_str(), &st) == 0) {
        if (::renameat2(AT_FDCWD, first.tmp_.c_str(), AT_FDCWD, first.target_.c_str(), RENAME_EXCHANGE) == 0) {
            kept = first.tmp_;
        } else {
            std::string backup = first.tmp_;
            backup.replace(backup.size() - kRandomChars, kRandomChars, "XXXXXX");
            const int fd = ::mkostemp(backup.data(), O_CLOEXEC);
            if (fd < 0) first.Fail(errno);
            ::close(fd);
            ::unlink(backup.c_str());
            if (::link(first.target_.c_str(), backup.c_str()) != 0) first.Fail(errno);
            if (::rename(first.tmp_.c_str(), first.target_.c_str()) != 0) {
                const int err = errno;
                ::unlink(backup.c_str());
                first.Fail(err);
            }
            kept = backup;
        }
    } else if (::rename(first.tmp_.c_str(), first.target_.c_str()) != 0) {
        first.Fail(errno);
    }
    if (::rename(second.tmp_.c_str(), second.target_.c_str()) != 0) {
        const int err = errno;
        // Put the first back as it was.
        if (!kept.empty()) (void)::rename(kept.c_str(), first.target_.c_str());
        else ::unlink(first.target_.c_str());
        if (kept != first.tmp_) ::unlink(first.tmp_.c_str());
        first.tmp_.clear();
        first.Abandon();
        second.Fail(err);
    }
    if (!kept.empty()) ::unlink(kept.c_str());
    const int err1 = first.Finished();
    const int err2 = second.Finished();
    if (err1 != 0) throw WriteError(first.path_, err1);
    if (err2 != 0) throw WriteError(second.path_, err2);
}

void WriteFileAtomic(const std::string& path, std::string_view bytes, AtomicFile::ReadOnlyTarget readOnly) {
    AtomicFile f(path, readOnly);
    f.Write(bytes);
    f.Commit();
}

}  // namespace tavik
