// Opening a file for reading as every reader here does: only a regular file is read (a FIFO,
// a device or a folder is refused at once instead of blocking or failing obscurely), reads
// are checked, and messages name the file with the system's reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tavik {

class InputFile {
public:
    // Throws std::runtime_error "<path> を読み込めません（ありません）" and the like, or
    // "<path> は通常のファイルではありません".
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Up to `n` bytes; 0 only at the end of the file. Throws naming the file on an error.
    std::size_t Read(char* buf, std::size_t n);
    // Exactly `n` bytes from `offset`, or fewer at the end of the file.
    std::size_t ReadAt(std::uint64_t offset, char* buf, std::size_t n);
    // The size when the file was opened.
    std::uint64_t Size() const { return size_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// The message for a file that is larger than any real file of its kind.
std::string TooLargeMessage(const std::string& path, std::uint64_t limit);

}  // namespace tavik
