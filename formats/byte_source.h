// Reading a file as a stream of lines, whatever its size: a regular file read in chunks,
// uncompressed on the way when it is gzip ("1F 8B" at its start) or zstd ("28 B5 2F FD"), and cut into lines of at
// most a bound, so that memory follows the longest line, never the size of the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavik {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `n` bytes; 0 only at the end. Throws std::runtime_error naming the file.
    virtual std::size_t Read(char* buf, std::size_t n) = 0;
    // An upper bound of the bytes this source can give (for sanity checks of counts).
    virtual std::uint64_t MaxBytes() const = 0;
};

// Opens `path` (a regular file only, see InputFile); a gzip or zstd file is uncompressed as
// it is read, whatever its name.
std::unique_ptr<ByteSource> OpenByteSource(const std::string& path);

// True when `path` names a gzip file to be written (".gz", any letter case).
bool IsGzipName(const std::string& path);
// True when `path` names a zstd file to be written (".zst", any letter case).
bool IsZstdName(const std::string& path);
// Either of the two.
bool IsCompressedName(const std::string& path);

// Lines of a source: CR LF, LF and a lone CR end a line; a last line without an end counts.
class LineReader {
public:
    LineReader(ByteSource& src, std::string fileName, std::size_t maxLine);
    // The next line, valid until the next call. False at the end. Throws std::runtime_error
    // "<file> の N 行目: 行が長すぎます（… MB まで）" for a longer line.
    bool Next(std::string_view& line);
    // The 0-based number of the line Next gave last.
    std::size_t LineIndex() const { return line_ - 1; }
    // How that line ended: "\r\n", "\n", "\r", or "" for a last line without an end.
    std::string_view LineEnd() const { return ending_; }
    // True when nothing at all was read.
    bool Empty() const { return total_ == 0; }

    // For a caller that reads a part of the file itself, without the lines being put
    // together: the bytes after the last line given, or the next read when none are left
    // (empty at the end). What is taken is passed over unless given back.
    std::string_view Take();
    // Gives back the last `n` bytes of what Take gave last, to be read as lines again.
    void GiveBack(std::size_t n);
    // Counts `n` lines the caller read in what it took.
    void CountLines(std::size_t n) { line_ += n; }
    // Throws "<file> の N 行目: 行が長すぎます（… MB まで）" for the 0-based line `index`.
    [[noreturn]] void TooLong(std::size_t index) const;

private:
    bool Fill();
    ByteSource& src_;
    std::string file_;
    std::size_t max_;
    std::string buf_;
    std::size_t pos_ = 0, scan_ = 0, end_ = 0, line_ = 0;
    std::uint64_t total_ = 0;
    bool eof_ = false;
    std::string_view ending_;
};

}  // namespace tavik
