// Classification, step by step, on synthetic tables: the rows of values, the distances on one
// thread and on all, the nearest-neighbour chain, the K scan 2-12; CPU time beside wall time,
// since a shared machine stretches the wall clock.
//   bench_classify [RELEVES...]        (default 2000 20000)
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "bench/bench_util.h"
#include "core/classification.h"
#include "tools/synthetic_table.h"

using namespace tavik;
using tavik::bench::MedianMs;
using tavik::bench::Row;
using tavik::bench::RssMb;

namespace {

double CpuMs() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

void One(int releves) {
    Table t;
    tools::SyntheticShape shape;
    shape.releves = releves;
    shape.species = 800;
    shape.perReleve = 30;
    tools::FillSyntheticTable(t, shape);
    t.Recount();
    std::printf("\n%d relevés x %d species, Bray-Curtis + Ward\n", t.ReleveCount(), t.SpeciesCount());
    const int runs = releves > 5000 ? 1 : 3;
    ClusterData d;
    Row("rows of values", MedianMs(runs, [&] { d = ClusterDataOf(t, ClusterOptions{}); }), "ms");
    std::vector<float> m;
    Row("distances, one thread", MedianMs(runs, [&] { m = ClusterDistances(d, ClusterDistance::Bray, 1); }), "ms");
    double cpu = CpuMs();
    Row("distances, all threads (wall)", MedianMs(runs, [&] { m = ClusterDistances(d, ClusterDistance::Bray, 0); }),
        "ms");
    Row("distances, all threads (CPU of all runs / runs)", (CpuMs() - cpu) / runs, "ms");
    Row("resident memory with the matrix", RssMb(), "MB");
    Classification c;
    c.data = d;
    cpu = CpuMs();
    Row("nearest-neighbour chain",
        MedianMs(runs, [&] { c.tree = ClusterMatrix(m, d.Rows(), ClusterLinkage::Ward, 0); }), "ms");
    Row("nearest-neighbour chain (CPU of all runs / runs)", (CpuMs() - cpu) / runs, "ms");
    Row("peak resident memory", RssMb("VmHWM:"), "MB");
    if (releves <= 5000) Row("K scan 2-12", MedianMs(runs, [&] { ScanGroupCounts(t, c, 2, 12); }), "ms", 1000);
}

}  // namespace

int main(int argc, char** argv) {
    std::printf("Classification (synthetic tables, about 30 species per relevé)\n");
    if (argc < 2) {
        One(2000);
        One(20000);
    }
    for (int i = 1; i < argc; ++i) One(std::atoi(argv[i]));
    return 0;
}
