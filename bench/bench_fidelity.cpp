// Fidelity (phi, equalized phi, Fisher's test) of every species in every group, counted from
// a composition table. Prints one line per figure.
#include <cstdio>
#include <vector>

#include "bench/bench_util.h"
#include "core/fidelity.h"
#include "tools/synthetic_table.h"

using namespace tavik;
using tavik::bench::MedianMs;
using tavik::bench::Row;

namespace {

// Groups of unequal size (the sizes grow from the first to the last group), so that the
// equalization has something to do.
std::vector<int> UnequalGroups(int releves, int groups) {
    std::vector<int> groupOf(static_cast<std::size_t>(releves) + 1, -1);
    const long weightSum = static_cast<long>(groups) * (groups + 1) / 2;
    int q = 1;
    for (int g = 0; g < groups; ++g) {
        const long size = releves * static_cast<long>(g + 1) / weightSum;
        for (long i = 0; i < size && q <= releves; ++i) groupOf[static_cast<std::size_t>(q++)] = g;
    }
    while (q <= releves) groupOf[static_cast<std::size_t>(q++)] = groups - 1;
    return groupOf;
}

void Run(int releves, int species, int groups, int runs, double targetMs) {
    std::printf("== %d releves x %d species in %d groups\n", releves, species, groups);
    Table t;
    tools::FillSyntheticTable(t, {releves, species, 25, 5});
    const auto groupOf = UnequalGroups(releves, groups);
    std::vector<int> sizes(static_cast<std::size_t>(groups), 0);
    for (int q = 1; q <= releves; ++q) ++sizes[static_cast<std::size_t>(groupOf[static_cast<std::size_t>(q)])];

    std::vector<int> counts;
    const double count = MedianMs(runs, [&] { counts = CountPresence(t, groupOf, groups); });
    FidelityOptions equalized;  // equalized, threshold 30, Fisher at 0.05
    FidelityOptions plain = equalized;
    plain.equalize = false;
    FidelityOptions noTest = equalized;
    noTest.alpha.reset();
    FidelityResult r;
    const double eq = MedianMs(runs, [&] { r = ComputeFidelity(sizes, counts, equalized); });
    const double pl = MedianMs(runs, [&] { ComputeFidelity(sizes, counts, plain); });
    const double nt = MedianMs(runs, [&] { ComputeFidelity(sizes, counts, noTest); });
    std::vector<int> order;
    const double sort = MedianMs(runs, [&] { order = DiagnosticBlockOrder(r); });
    int diagnostic = 0;
    for (int s = 0; s < r.Species(); ++s) diagnostic += r.BlockGroup(s) >= 0;

    Row("count presence from the table", count, "ms");
    Row("phi equalized + Fisher's test", eq, "ms");
    Row("phi unequalized + Fisher's test", pl, "ms");
    Row("phi equalized, no test", nt, "ms");
    Row("diagnostic block order", sort, "ms");
    Row("whole: count + equalized with test + order", count + eq + sort, "ms", targetMs);
    Row("  Fisher's test / phi alone", eq / nt, "x");
    Row("  species diagnostic for some group", diagnostic, "");
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::string(argv[1]) == "quick";
    Run(2000, 800, 10, 21, 0);
    if (!quick) Run(100000, 6000, 30, 7, 1000);
    return 0;
}
