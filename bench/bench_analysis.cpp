// Reciprocal averaging and the constancy table on large synthetic tables: time and memory.
//   bench_analysis                      the figures
//   bench_analysis --weights T.vtb OUT.csv [--presence]
//                                       the averaging's weight matrix of a saved table, one
//                                       line per relevé (for the comparison with vegan)
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "bench/bench_util.h"
#include "core/constancy.h"
#include "core/reciprocal_averaging.h"
#include "formats/workspace.h"
#include "tools/synthetic_table.h"

using namespace tavik;
using tavik::bench::MedianMs;
using tavik::bench::Row;
using tavik::bench::RssMb;

namespace {

int WriteWeights(const std::string& vtb, const std::string& out, bool dominance) {
    Workspace ws;
    ws.Start("");
    ws.LoadTable(vtb);
    ws.table.Recount();
    const RaWeights w = RaWeightMatrix(ws.table, dominance);
    std::ofstream f(out);
    std::vector<int> row(static_cast<std::size_t>(w.species) + 1);
    for (int q = 1; q <= w.releves; ++q) {
        std::fill(row.begin(), row.end(), 0);
        for (std::size_t e = w.relStart[static_cast<std::size_t>(q) - 1]; e < w.relStart[static_cast<std::size_t>(q)]; ++e)
            row[static_cast<std::size_t>(w.relSpecies[e])] = w.relWeight[e];
        for (int p = 1; p <= w.species; ++p) f << (p > 1 ? "," : "") << row[static_cast<std::size_t>(p)];
        f << "\n";
    }
    return f ? 0 : 1;
}

// Processor time of this process in ms: on a machine shared with other work the wall
// clock also counts the time others had the processor.
double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

// The peak resident size starts again from the current one.
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--weights") == 0)
        return WriteWeights(argv[2], argv[3], !(argc > 4 && std::strcmp(argv[4], "--presence") == 0));

    std::printf("Reciprocal averaging and constancy table (synthetic tables)\n");
    Table t;
    tools::SyntheticShape shape;
    shape.releves = 100000;
    shape.species = 6000;
    shape.perReleve = 24;
    tools::FillSyntheticTable(t, shape);
    long long cells = 0;
    for (int q = 1; q <= t.ReleveCount(); ++q) cells += static_cast<long long>(t.CellsOf(t.ReleveKeyAt(q)).size());
    std::printf("table: %d relevés x %d species, %lld filled cells, %.0f MB resident\n", t.ReleveCount(),
                t.SpeciesCount(), cells, RssMb());

    const double before = RssMb();
    ResetPeak();
    RaResult r;
    double cpu = CpuMs();
    const double raMs = MedianMs(1, [&] { r = ReciprocalAveraging(t, true); });
    const double raCpu = CpuMs() - cpu;
    const double raPeak = RssMb("VmHWM:") - before;
    std::printf("iterations: %d (the synthetic table has no gradient to settle on)\n", r.iterations);
    Row("RA 100,000 x 6,000, dominance: wall clock", raMs, "ms", 5000);
    Row("RA 100,000 x 6,000, dominance: processor time", raCpu, "ms", 5000);
    Row("RA 100,000 x 6,000: processor ms per iteration", raCpu / r.iterations, "ms");
    Row("RA 100,000 x 6,000: peak memory above the table", raPeak, "MB", 500);
    Table sorted = t;
    cpu = CpuMs();
    const double reorderMs = MedianMs(1, [&] { ApplyRaOrder(sorted, r); });
    const double reorderCpu = CpuMs() - cpu;
    Row("RA 100,000 x 6,000: reorder (exchange sort as one permutation)", reorderMs, "ms");
    Row("RA 100,000 x 6,000: all of it, wall clock", raMs + reorderMs, "ms", 5000);
    Row("RA 100,000 x 6,000: all of it, processor time", raCpu + reorderCpu, "ms", 5000);

    // Thirty groups: an empty column after every 3,334th relevé.
    for (int k = 29; k >= 1; --k) t.InsertColumn(k * (shape.releves / 30) + 4);
    t.Recount();
    const ConstancyCounts counts = CountConstancyGroups(t);
    std::printf("constancy: %d relevés in %d groups\n", counts.releves, counts.groups);
    FreqTable c;
    cpu = CpuMs();
    const double constMs = MedianMs(3, [&] { c = MakeConstancyTable(t, ConstancyOptions{}); });
    const double constCpu = (CpuMs() - cpu) / 3;
    Row("constancy table 100,000 relevés, 30 groups x 6,000 species", constMs, "ms", 1000);
    Row("constancy table: processor time per run", constCpu, "ms", 1000);
    std::printf("  (%d rows x %d columns)\n", c.RowCount(), c.ColCount());
    return 0;
}
