// Retrieval of relevés into the composition table: the scan that marks relevé records by
// species conditions, mesh-code prefix and record range, and the putting pass that turns
// every marked relevé into a new column, merging species by standard name.
//
// The logic takes plain parameters; the field data come through a ReleveSource (the
// field-data reader in formats/, or a list in the tests).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/covers.h"
#include "core/dictionary.h"
#include "core/progress.h"
#include "core/table.h"

namespace tavik {

// One species of the relevé last read: its name as written (blanks trimmed, not yet mapped
// to its standard name) and its covers.
struct PlantEntry {
    std::string name;
    LayerCovers covers{};
};

// The species of the relevé last read from the field data. Entry 0 is not used; entries
// 1..count are the leading entries with a non-blank name.
struct PlantSet {
    std::vector<PlantEntry> entries{1};
    int count = 0;  // the number of species in use
    int codeK = 5;  // the relevé's K and D digits
    int codeD = 2;
};

// One species of a relevé as the passes keep it: the number its reader gave the written name,
// and its covers.
struct SpeciesEntry {
    std::uint32_t name = 0;
    LayerCovers covers{};
};

// A relevé record as the passes read it: its digits and its species in order.
struct DecodedReleve {
    int codeK = 5, codeD = 2;
    std::vector<SpeciesEntry> species;
};

// Reads relevé records for one thread of a pass.
class ReleveReader {
public:
    virtual ~ReleveReader() = default;
    // Reads record i; false when it cannot be read (the pass skips it).
    virtual bool Read(int i, DecodedReleve& out) = 0;
    // Header item n (2..30) of record i, blanks trimmed.
    virtual std::string Item(int i, int n) = 0;
    // The written name (blanks trimmed) of a name number this reader gave.
    virtual std::string NameOf(std::uint32_t name) = 0;
};

// Where relevés come from.
class ReleveSource {
public:
    virtual ~ReleveSource() = default;
    // The number of relevé records (1..RecordCount can be read).
    virtual int RecordCount() const = 0;
    // Reads relevé record i into `set`; false when it cannot be read (the caller skips it).
    virtual bool ReadReleve(int i, PlantSet& set) = 0;
    // Header item n (2..30) of the relevé last read, blanks trimmed.
    virtual std::string ItemText(int n) const = 0;

    // A reader for one thread of a pass. By default one that goes through ReadReleve and
    // ItemText, so that only one may run at a time.
    virtual std::unique_ptr<ReleveReader> NewReader();
    // True when several readers of this source may run at once, on different threads; their
    // name numbers then agree.
    virtual bool ConcurrentReaders() const { return false; }
    // Identifies what the source holds: while it stays the same (and is not empty), a relevé
    // reads the same as before, so a pass may use what an earlier one kept of it.
    virtual std::string Identity() const { return {}; }
};

enum class Connective { Or = 0, And = 1, None = 2 };

inline constexpr int kConditionCount = 5;
inline constexpr int kCoverClassCount = 6;  // "+", "1" .. "5"

struct SpeciesCondition {
    // Compared unchanged (byte for byte) with the standard names of a relevé's species.
    std::string name;
    // Lowest cover class: 0 "+" (any entry of the species), 1..5 (a layer value >= 10 x class).
    int coverClass = 0;
    Connective connective = Connective::And;
};

struct ScanParams {
    std::array<SpeciesCondition, kConditionCount> conditions;
    std::string meshPrefix;  // matched at the start of the mesh code; blanks trimmed
    int first = 1;           // record range; clipped to 1..RecordCount
    int last = 0x7fffffff;
    bool additional = false;  // false: a new scan (flags and hit count cleared first)
};

struct ScanResult {
    int examined = 0;          // records looked at
    int hits = 0;              // the hit count after the scan
    std::vector<int> skipped;  // record numbers that could not be read
    bool cancelled = false;
    int lastCodeK = -1, lastCodeD = -1;  // the digits of the last relevé read, -1 if none
};

struct PutResult {
    int put = 0;                 // relevés that became columns
    std::vector<int> skipped;    // marked records that could not be read
    std::vector<int> notPlaced;  // records whose column or species rows could not grow
    bool cancelled = false;
    int lastCodeK = -1, lastCodeD = -1;
};

// What the scan and the putting pass report while they run. Called on the thread that runs
// the pass, record by record in ascending order, whatever threads read the records.
class RetrievalProgress : public Progress {
public:
    void Show(const std::string&, const std::string&) override {}
    // Called for every record: during a scan the record examined and the hit count so far;
    // during the putting pass the record read and the number of relevés put so far.
    virtual void OnRecord(int record, int count) {
        (void)record;
        (void)count;
    }
};

// Record numbers as the user reads them: "19, 20", the first twenty and then "...".
std::string RecordList(const std::vector<int>& records);
// What the user is told after a pass that skipped relevés: "読み取れない測定 N 件をとばしました:
// 19, 20" (ascending, each record once), or empty text when none was skipped.
std::string SkippedRecordsMessage(std::vector<int> records);
// What the user is told after a putting pass that left relevés out because the table could
// not grow: "表が大きくなれず組み込めなかった測定 N 件: 19, 20", or empty text when none was.
std::string NotPlacedRecordsMessage(const std::vector<int>& records);

// The flags and hit count of the retrieval panel, and the two passes.
class Retrieval {
public:
    Retrieval();
    ~Retrieval();
    Retrieval(Retrieval&&) noexcept;
    Retrieval& operator=(Retrieval&&) noexcept;

    // Fresh flags (all clear) for records 0..recordCount; the hit count stays.
    void Reset(int recordCount);
    // What a new scan does first: every flag cleared and the hit count 0.
    void BeginNewScan();
    int RecordCount() const { return static_cast<int>(flags_.size()) - 1; }
    const std::vector<std::uint8_t>& Flags() const { return flags_; }
    bool Marked(int record) const;
    int HitCount() const { return hitCount_; }

    // How much of the marked relevés a scan keeps for the putting pass, which reads the
    // others again. Bytes; 0 keeps nothing.
    void SetKeepBudget(std::size_t bytes) { keepBudget_ = bytes; }
    // The number of marked relevés that the putting pass will not need to read again.
    int KeptCount() const;

    // Throws std::invalid_argument when a condition's cover class is not 0..5.
    static void CheckConditions(const ScanParams& params);

    // One scan over `src`. A new scan (params.additional false) clears flags and count
    // first. Throws std::invalid_argument when a condition's cover class is not 0..5
    // (nothing changes then).
    ScanResult Scan(ReleveSource& src, const Dictionary& dict, const ScanParams& params,
                    RetrievalProgress* progress = nullptr);

    // Appends every marked relevé to the table as a new column, in ascending record order,
    // reading again those the scans did not keep; then recounts. The flags stay.
    PutResult Put(Table& t, ReleveSource& src, const Dictionary& dict, RetrievalProgress* progress = nullptr);

private:
    struct Kept;
    void ForgetKept();

    std::vector<std::uint8_t> flags_{0};
    int hitCount_ = 0;
    std::size_t keepBudget_ = std::size_t{512} << 20;
    std::unique_ptr<Kept> kept_;
};

// Trims blanks (and other control bytes) from both ends.
std::string_view TrimBlanks(std::string_view s);

}  // namespace tavik
