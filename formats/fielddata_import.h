// Field data in as scientists keep them: a long CSV (one line per species and layer of a
// relevé) or a species × relevé matrix as R and spreadsheets write it, covers in one of the
// usual scales, names and site values made to fit on request. Every problem is collected,
// so that one run lists them all; nothing is written while any remains.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/cover_scales.h"
#include "formats/fielddata_writer.h"

namespace tavik {

struct FieldImportOptions {
    CoverScale scale = CoverScale::BraunBlanquet;
    double rBelow = kDefaultRBelow;  // percent: values below it become r
    int layer = 4;                   // matrix: the layer of every species (H1)
    bool transpose = false;          // matrix: species as rows, relevés as columns
    bool transliterate = false;      // letters with diacritics to their base letters
    bool shorten = false;            // names over 28 bytes abbreviated and cut
    bool roundSites = false;         // numbers in the 4-byte site fields rounded to fit
};

// A text written differently from the input, and where.
struct NameChange {
    std::string from, to;
};
struct SiteChange {
    std::string releve;
    int item = 0;
    std::string from, to;
};

struct FieldImportReport {
    // Values written per cover class: r, +, 1, 2, 3, 4, 5, and the signs ( * e ?.
    std::array<long, 8> classes{};
    long absences = 0;              // zero covers in the long form, left out
    std::vector<NameChange> names;  // every species name written differently, in input order
    std::vector<SiteChange> sites;  // every site value written differently
};

// The labels of FieldImportReport::classes.
extern const char* const kCoverClassLabels[8];

// Every problem found, one line each (at most 100, then a line with the count of the
// others), followed by the options that would mend them.
class FieldImportError : public std::runtime_error {
public:
    explicit FieldImportError(std::vector<std::string> lines);
    const std::vector<std::string>& Lines() const { return lines_; }

private:
    std::vector<std::string> lines_;
};

inline constexpr std::size_t kMaxListedProblems = 100;

class FieldImporter {
public:
    explicit FieldImporter(FieldImportOptions options = {});
    ~FieldImporter();

    // Problems of the header record (names without a CP932 form, a record over 504 bytes).
    void CheckHeader(const FieldHeaderDescription& header);
    // Site values per relevé (columns releve, i02 … i29, K, D); their order becomes the
    // order of the relevés. Before the data.
    void ReadSites(const std::string& path);
    void ReadLong(const std::string& path);
    void ReadMatrix(const std::string& path);
    // Throws FieldImportError listing every problem found so far. (A file that cannot be
    // read at all stops its Read at once with std::runtime_error.)
    void Check() const;
    // The relevés, one at a time, after Check: in the order of the site file, else in the
    // order they first appear.
    std::size_t ReleveCount() const;
    void ReleveAt(std::size_t i, FieldReleve& out) const;
    // Check, then all relevés at once.
    std::vector<FieldReleve> Finish();
    const FieldImportReport& Report() const;

private:
    struct State;
    std::unique_ptr<State> s_;
};

// The file beside the index that lists each name written differently: STEM_names.csv.
std::string NameMapPathFor(const FieldPairPaths& pair);
// Its text: a heading "input,written" and one line per change.
std::string NameMapCsv(const std::vector<NameChange>& changes);

}  // namespace tavik
