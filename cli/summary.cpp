#include "cli/summary.h"

namespace tavik::cli {

void PrintSummary(const Table& t, std::ostream& out) {
    out << "SpeciesCount: " << t.SpeciesCount() << "\n"
        << "ReleveCount: " << t.ReleveCount() << "\n"
        << "FNRow: " << t.FNRow() << "\n"
        << "MaxSpecies: " << t.MaxSpecies() << "\n"
        << "MaxReleve: " << t.MaxReleve() << "\n";
}

}  // namespace tavik::cli
