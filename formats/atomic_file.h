// The one way this program writes a file the user may already have.
//
// AtomicFile streams its bytes (buffered) into a new temporary file in the target's folder,
// created exclusively with a name of our own (".NAME.tavik-XXXXXX"), never following a
// planted link. Commit() flushes and fsyncs it, gives it the old file's owner and mode where
// the system allows, and renames it over the target; until then the target is untouched.
// The temporary is removed on every error path, when the object is destroyed without a
// commit, and when the process is stopped by SIGINT, SIGTERM or SIGHUP meanwhile.
// The writer holds a lock (flock) on its temporary until it is renamed or removed: temporaries
// of our naming that nobody holds (left by a killed process) are removed from the folder
// before each new one is made there, and at the program's start. A name too long to take the
// temporary's suffix is cut in the temporary's name.
//
// Messages name the user's file and give the system's reason:
// "<target> に書き込めません（容量不足）".
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "formats/byte_sink.h"

namespace tavik {

class AtomicFile : public ByteSink {
public:
    enum class ReadOnlyTarget {
        Refuse,   // throw ReadOnlyFileError when the target is read-only
        Replace,  // the user said yes: replace it, keeping its mode
    };

    // Creates the temporary for `target`. A symbolic link as target is followed: the file
    // it points to is replaced and the link stays. Throws std::runtime_error (a folder as
    // target, a folder that cannot be written) or ReadOnlyFileError.
    explicit AtomicFile(const std::string& target, ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);
    ~AtomicFile() override;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(std::string_view bytes) override;
    // Empties the temporary and starts again; the target is still untouched.
    void Rewind() override;
    void Put(char c) {
        if (used_ == buffer_.size()) Drain();
        buffer_[used_++] = c;
    }
    // Replaces bytes already written (a header known only at the end).
    void Overwrite(std::uint64_t offset, std::string_view bytes);
    // A stream on this file, for code that writes with <<. Stream errors surface as the
    // exception of Write, or at the latest in Commit.
    std::ostream& Stream();

    // Puts the complete file in place. Throws std::runtime_error naming the target; the old
    // file is then as it was and the temporary is gone.
    void Commit();
    // Removes the temporary; the target stays as it was. Called by the destructor.
    void Abandon() noexcept;

    // Puts two complete files in place as a unit (a field-data pair): both are written out
    // and fsynced before either is renamed; when the second cannot be put in place, the
    // first is put back as it was. A crash between the two renames (a moment) can leave
    // the new `first` beside the old `second`, with the old `first` in a hidden temporary
    // of our naming.
    static void CommitTogether(AtomicFile& first, AtomicFile& second);

    // The path the user gave.
    const std::string& Path() const { return path_; }
    // The temporary's path (tests).
    const std::string& TemporaryPath() const { return tmp_; }
    std::size_t BytesWritten() const { return written_ + used_; }

private:
    void Drain();
    void Prepare();
    // After the rename: the lock let go, the folder synced; the errno of a failed sync, or 0.
    int Finished() noexcept;
    [[noreturn]] void Fail(int err);

    std::string path_, target_, tmp_;
    int fd_ = -1;
    int lockFd_ = -1;  // holds the temporary's lock while it is written
    int slot_ = -1;
    std::string buffer_;
    std::size_t used_ = 0, written_ = 0;
    bool failed_ = false, prepared_ = false;
    std::unique_ptr<std::streambuf> streamBuf_;
    std::unique_ptr<std::ostream> stream_;
};

// Thrown when the target is a read-only file and the caller did not say to replace it.
class ReadOnlyFileError : public std::runtime_error {
public:
    explicit ReadOnlyFileError(const std::string& path);
};

// True when `path` is an existing file that its permission bits make read-only (no write
// bit at all, or none for this user). A missing file is not read-only.
bool IsReadOnlyFile(const std::string& path);

// Removes, in `folder`, files of our temporary naming that belong to this user and whose
// writer is gone (nobody holds the lock a writer keeps on its temporary), or that were last
// changed more than `maxAgeSeconds` ago. Errors are ignored: this only tidies up.
void RemoveStaleTemporaries(const std::string& folder, long maxAgeSeconds = 24 * 60 * 60);

// Whether a file name is of our temporary naming.
bool IsOurTemporaryName(std::string_view name);

// Writes a whole file at once through AtomicFile.
void WriteFileAtomic(const std::string& path, std::string_view bytes,
                     AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse);

}  // namespace tavik
