#include "cli/summary.h"

#include "core/releve_tally.h"

namespace tavik::cli {

void PrintSummary(const Table& t, std::ostream& out) {
    out << "SpeciesCount: " << t.SpeciesCount() << "\n"
        << "ReleveCount: " << t.ReleveCount() << "\n"
        << "FNRow: " << t.FNRow() << "\n"
        << "MaxSpecies: " << t.MaxSpecies() << "\n"
        << "MaxReleve: " << t.MaxReleve()
        << "\n"
        // Empty columns among the ReleveCount columns: they separate groups, they are not relevés.
        << "Separators: " << TallyReleves(t).separators << "\n";
}

}  // namespace tavik::cli
