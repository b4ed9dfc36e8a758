// Writing a field-data pair, for users whose relevés live in a spreadsheet or another
// program, and for test fixtures and benchmarks.
//
// Input text: a long-format CSV, one line per species and layer of a relevé, with the
// relevé's site values in columns i02..i29 (and K, D), and a small description of the
// header record (title, item names and availability, K and D). See docs of make-fielddata.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/covers.h"
#include "core/table.h"
#include "formats/atomic_file.h"

namespace tavik {

// The header record to write.
struct FieldHeaderDescription {
    std::string title;
    std::array<std::string, kItemCount + 1> names;  // 1..30; empty: the usual caption
    std::array<int, kItemCount + 1> available;      // 2..30: 1, 0, or -1 (1 when some relevé holds a value)
    int codeK = 5, codeD = 2;
    FieldHeaderDescription() { available.fill(-1); }
};

// One species entry: its name and the cover text of each layer as written in field notes
// ("+", "+2", "r", "(", "*", "e", "?", "3", "32"; "3.2" and "+.2" are accepted too; empty =
// not in that layer).
struct FieldEntry {
    std::string name;
    std::array<std::string, kLayerCount> covers;
};

struct FieldReleve {
    std::string key;                                // for messages
    std::array<std::string, kItemCount + 1> items;  // 2..29; item 30 is the entry count
    int codeK = -1, codeD = -1;                     // -1: those of the header
    std::vector<FieldEntry> entries;
};

// The layer index (0..6) of a label T1, T2, S1, S2, H1, H2, M (any letter case), or -1.
int LayerIndex(const std::string& label);

// The two-character cover field for a cover text, or "" when the text is not a cover.
std::string CoverFieldFor(const std::string& text);

// The index and data file a pair written to `out` gets: STEM.tki and STEM.tkd whatever
// suffix `out` has (an index named "x.tkd" would be its own data file); another suffix stays
// the index's, and the data file is STEM.tkd.
struct FieldPairPaths {
    std::string index, data;
};
FieldPairPaths PairPathsFor(const std::string& out);

// Writes the pair relevé by relevé into temporary files beside the index file (AtomicFile),
// and puts both in place together only when Finish succeeds; a failure leaves the existing
// pair untouched.
class FieldDataWriter {
public:
    FieldDataWriter(const std::string& out, FieldHeaderDescription header,
                    AtomicFile::ReadOnlyTarget readOnly = AtomicFile::ReadOnlyTarget::Refuse);
    ~FieldDataWriter();
    FieldDataWriter(const FieldDataWriter&) = delete;
    FieldDataWriter& operator=(const FieldDataWriter&) = delete;

    // Throws std::runtime_error naming the relevé and the problem (a value too wide for its
    // field, a name without a CP932 form or longer than 28 bytes, a cover that is not one).
    void Add(const FieldReleve& r);
    void Finish();
    int Count() const { return count_; }
    const FieldPairPaths& Paths() const { return paths_; }

private:
    FieldPairPaths paths_;
    FieldHeaderDescription header_;
    std::unique_ptr<AtomicFile> index_, data_;
    long nextRecord_ = 1;
    int count_ = 0;
    std::array<bool, kItemCount + 1> seen_{};
    // Species names in CP932, by their text, found by a view of it.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    std::unordered_map<std::string, std::string, TextHash, std::equal_to<>> nameBytes_;
};

// Reads a header description: lines "key=value"; keys title, i01 .. i30 (value "NAME",
// "1,NAME" or "0,NAME"), K, D; empty lines and lines starting with "#" are skipped.
FieldHeaderDescription ReadHeaderDescription(const std::string& path);

// The problems of the header record a description gives: a name without a CP932 form, a
// record over 504 bytes (the message says how many bytes must go and names the longest).
std::vector<std::string> HeaderRecordProblems(const FieldHeaderDescription& header);

// Reads the long-format CSV with covers in the program's notation (and, when sitesPath is
// not empty, a CSV of site values keyed by the same "releve" column, whose order then gives
// the order of the relevés). Every problem is listed in one FieldImportError
// (formats/fielddata_import.h); the scales and fitting options are there.
std::vector<FieldReleve> ReadLongCsv(const std::string& path, const std::string& sitesPath = "");

// Splits one CSV line (quotes as usual; "" inside quotes is one quote).
std::vector<std::string> SplitCsvLine(const std::string& line);
// The same into `cells`, whose strings are reused.
void SplitCsvLine(std::string_view line, std::vector<std::string>& cells);

}  // namespace tavik
