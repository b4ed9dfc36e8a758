// Reciprocal averaging and the constancy table on large synthetic tables: time and memory.
//   bench_analysis                      the figures
//   bench_analysis --averaging [RUNS] the iterations on one and two threads, 100,000 x 6,000
//                                       and 2,000 x 800
//   bench_analysis --weights T.vtb OUT.csv [--presence]
//                                       the averaging's weight matrix of a saved table, one
//                                       line per relevé (for the comparison with vegan)
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
        for (std::size_t e = w.relStart[static_cast<std::size_t>(q) - 1]; e < w.relStart[static_cast<std::size_t>(q)];
             ++e)
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

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0;
}

// The iterations alone on one and on two threads, median of `runs`, and whether the scores
// agree to the bit.
void AveragingOnThreads(const char* name, const Table& t, int runs) {
    RaWeights w;
    const double weightsMs = MedianMs(1, [&] { w = RaWeightMatrix(t, true); });
    Row((std::string(name) + ": weights (step 1)").c_str(), weightsMs, "ms");
    RaResult one, two;
    double cpu = CpuMs();
    const double oneMs = MedianMs(runs, [&] { one = RaIterate(w, nullptr, 1); });
    const double oneCpu = (CpuMs() - cpu) / runs;
    cpu = CpuMs();
    const double twoMs = MedianMs(runs, [&] { two = RaIterate(w, nullptr, 2); });
    const double twoCpu = (CpuMs() - cpu) / runs;
    std::printf("%s: %d iterations\n", name, one.iterations);
    Row((std::string(name) + ": iterations, 1 thread, wall clock").c_str(), oneMs, "ms");
    Row((std::string(name) + ": iterations, 1 thread, processor time").c_str(), oneCpu, "ms");
    Row((std::string(name) + ": iterations, 2 threads, wall clock").c_str(), twoMs, "ms");
    Row((std::string(name) + ": iterations, 2 threads, processor time").c_str(), twoCpu, "ms");
    Row((std::string(name) + ": 1 thread / 2 threads, wall clock").c_str(), oneMs / twoMs, "x");
    Row((std::string(name) + ": weights + 2 threads, wall clock").c_str(), weightsMs + twoMs, "ms");
    std::printf("%s: scores the same to the bit on 1 and 2 threads: %s\n", name,
                SameBits(one.speciesScores, two.speciesScores) && SameBits(one.releveScores, two.releveScores) &&
                        one.iterations == two.iterations
                    ? "yes"
                    : "NO");
    // What the stopping rule would cost if both sums of changes were added whole at every
    // iteration (the iterations stop adding once a sum reaches the threshold).
    const double wholeMs = MedianMs(3, [&] {
        volatile double sink = 0;
        for (int k = 0; k < one.iterations; ++k) {
            double s = 0;
            for (std::size_t i = 1; i < one.speciesScores.size(); ++i)
                s += std::fabs(one.speciesScores[i] - two.speciesScores[i] + 1.0);
            for (std::size_t i = 1; i < one.releveScores.size(); ++i)
                s += std::fabs(one.releveScores[i] - two.releveScores[i] + 1.0);
            sink = sink + s;
        }
    });
    Row((std::string(name) + ": both sums of changes added whole, all iterations").c_str(), wholeMs, "ms");
}

int Averaging(int runs) {
    std::printf("Reciprocal averaging on one and two threads (dominance weights)\n");
    Table large;
    tools::SyntheticShape shape;
    shape.releves = 100000;
    shape.species = 6000;
    shape.perReleve = 24;
    tools::FillSyntheticTable(large, shape);
    AveragingOnThreads("100,000 x 6,000", large, runs);
    Table small;
    tools::SyntheticShape smallShape;  // as gen_table 2000 800 T.vtb 30 1
    tools::FillSyntheticTable(small, smallShape);
    AveragingOnThreads("2,000 x 800", small, std::max(runs, 9));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--averaging") == 0) return Averaging(argc > 2 ? std::atoi(argv[2]) : 3);
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
