// The field-data pair: the index file (".tki", one 256-byte record per relevé) and the
// data file (".tkd", a header record and chained 512-byte species records). Both stay open
// while a pass runs and are read in large blocks as the records are needed, so memory does
// not follow their size; every field is decoded on its own (CP932; UTF-8 when the bytes are
// not CP932 but are UTF-8; otherwise CP932 with U+FFFD for what does not decode).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/flat_key_table.h"
#include "core/messages.h"
#include "core/retrieval.h"
#include "core/table.h"

namespace tavik {

inline constexpr int kIndexRecordSize = 256;
inline constexpr int kDataRecordSize = 512;
inline constexpr int kEntriesPerRecord = 12;
inline constexpr int kEntrySize = 42;
inline constexpr int kNameSize = 28;
inline constexpr int kHeaderTextSize = 504;  // the part of the header record that is read

// The message of a pair that cannot be opened.
inline constexpr const char* kBadFieldFiles = TrNoop("正しいファイルが指定されていません");

// A two-byte cover field -> cover value (0 absent, 1..5 "+", 6 r, 7 ( or *, 8 e, 9 ?,
// class x 10 + sociability, 63 unreadable).
std::uint8_t DecodeCoverField(std::string_view field);

// A fixed-length field decoded to UTF-8, blanks trimmed. A pair whose bytes are all valid
// UTF-8 (and not all ASCII) was written in UTF-8; otherwise fields are CP932. A field that
// does not decode as its file says is tried the other way, then decoded leniently.
std::string DecodeField(std::string_view bytes, bool utf8File = false);

// The header record of a data file, as parsed.
struct DataHeader {
    bool hasHash = false;    // byte 0 is "#"
    bool versionOk = false;  // the version field is "30"
    bool complete = false;   // every field closed within the 504 bytes
    bool stopped = false;    // a field ran past the 504 bytes (what came before counts)
    std::optional<std::string> title;
    std::optional<std::string> item1Name;
    struct Item {
        bool present = false;    // the field was read
        bool available = false;  // flag "1": the relevés carry the item
        std::string name;
    };
    std::array<Item, kItemCount + 1> items;  // 2..30 used
    std::optional<int> codeK, codeD;
};

// Parses the first 504 bytes of a header record. Never fails: what cannot be read is absent.
DataHeader ParseDataHeader(std::string_view record, bool utf8File = false);

// Applies a parsed header as reading it into the program does: title, item captions and
// availability (enabled states), K and D digits; an empty title becomes the data file's name
// without its folder and extension. A header without "#" only sets the title rule; a header
// of another version changes nothing.
void ApplyDataHeader(const DataHeader& h, Table& t, const std::string& dataFileName);

// The file name without its folder and extension ("dir/dune.tki" -> "dune").
std::string BaseNameWithoutExtension(const std::string& path);

// The data file of an index file: the same name with the extension ".tkd".
std::string DataPathFor(const std::string& indexPath);
// The data file of an existing pair: DataPathFor, or a file of that name in another letter
// case ("DATA.TKD" beside "DATA.TKI", as pairs copied from Windows are named).
std::string DataFileOf(const std::string& indexPath);

// One member of the pair: an open file read with large reads, or bytes held in memory.
class PairMember {
public:
    PairMember() = default;
    explicit PairMember(std::string bytes);
    // Opens a regular file. False with `why` ("<path> を読み込めません（ありません）",
    // "<path> は通常のファイルではありません") when it cannot be opened or is not one.
    bool Open(const std::string& path, std::string& why);
    ~PairMember();
    PairMember(const PairMember&) = delete;
    PairMember& operator=(const PairMember&) = delete;

    std::uint64_t Size() const { return size_; }
    // The n bytes at `offset` (within the size): where they lie in memory, or in `buf` after
    // reading them. Throws std::runtime_error ("<file> を読み込めません") when the file has
    // become shorter or cannot be read.
    const char* At(std::uint64_t offset, std::size_t n, std::vector<char>& buf) const;
    // Device, inode, size and time of the last change; empty for bytes in memory.
    const std::string& Identity() const { return identity_; }
    // Whether the file's name still leads to the file as it was opened (bytes in memory
    // always do).
    bool Unchanged() const;

private:
    std::string path_, bytes_, identity_;
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

class FieldReader;

// The open pair. Reading a relevé never reads past a record; a chain that leaves the file,
// loops back on itself or holds a link that is not a number makes the relevé unreadable.
class FieldFiles : public ReleveSource {
public:
    // Opens the pair of `indexPath`. Throws std::runtime_error ("正しいファイルが指定されて
    // いません: <file> ...") when either file cannot be opened or read.
    explicit FieldFiles(const std::string& indexPath);
    // A pair held in memory (tests, fuzzing).
    FieldFiles(std::string indexBytes, std::string dataBytes);
    ~FieldFiles() override;

    int RecordCount() const override { return recordCount_; }
    bool ReadReleve(int i, PlantSet& set) override;
    std::string ItemText(int n) const override;
    std::unique_ptr<ReleveReader> NewReader() override;
    bool ConcurrentReaders() const override { return true; }
    std::string Identity() const override;
    // Whether both files are still those opened, unchanged: the pair may then be read again
    // without opening and checking it anew.
    bool Unchanged() const { return index_.Unchanged() && data_.Unchanged(); }

    // The first 512 bytes of the data file (fewer when the file is shorter).
    std::string_view HeaderRecord() const { return header_; }
    // The current index record (256 bytes, the datum mark at offset 40 blanked).
    std::string_view IndexRecord() const { return std::string_view(current_.data(), current_.size()); }
    int DataRecordCount() const { return static_cast<int>(data_.Size() / kDataRecordSize); }
    // Why the two files may not belong together (an index that points past the end of the
    // data file, sizes that are not whole records), or empty. Such a pair is still read.
    const std::string& PairProblem() const { return problem_; }
    // True when the pair was written in UTF-8.
    bool Utf8() const { return utf8_; }

private:
    friend class FieldReader;
    void Measure();
    void CheckPair(const std::string& indexPath, const std::string& dataPath);
    // The number of a name field, the same for every reader; and the name of a number.
    std::uint32_t NumberOf(const char* field);
    std::string NameText(std::uint32_t name) const;

    PairMember index_, data_;
    std::string header_, problem_;
    int recordCount_ = 0;
    bool utf8_ = false;
    std::array<char, kIndexRecordSize> current_{};
    std::unique_ptr<FieldReader> own_;  // the reader behind ReadReleve and ItemText

    mutable std::mutex namesMutex_;
    FlatKeyTable<kNameSize> nameIds_;  // the name field as it stands -> number
    std::vector<std::string> names_;   // number -> name, blanks trimmed
};

}  // namespace tavik
