// Scan plus putting pass over generated field data: 2,000 and 100,000 relevés, about 25
// species each, 6,000 written names, a dictionary of 20,000 synonyms; with --ceiling also
// the format's ceiling, 340,000 relevés of 28 species out of 15,000 names with 30,000
// synonyms. Prints medians of the times, their ratio to reading the two files with cat
// (measured between the runs), the ratio to the figures before the passes were rebuilt,
// and the peak memory.
//
//   bench_retrieval [--dir DIR] [--releves N] [--ceiling] [--runs N] [--write-only]
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "formats/workspace.h"
#include "tools/synthetic_fielddata.h"

using namespace tavik;
namespace fs = std::filesystem;

namespace {

double Ms(std::chrono::steady_clock::time_point a) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - a).count();
}

struct Size {
    tools::SyntheticFieldShape shape;
    double before;  // scan + put / cat before the passes were rebuilt (the same benchmark)
};

std::string Make(const std::string& dir, const tools::SyntheticFieldShape& shape) {
    std::string base = dir + "/fd" + std::to_string(shape.releves);
    if (shape.names != tools::SyntheticFieldShape().names) base += "n" + std::to_string(shape.names);
    if (!fs::exists(base + ".tkd") || !fs::exists(base + ".dic")) {
        const auto t = std::chrono::steady_clock::now();
        tools::WriteSyntheticFieldData(base + ".tki", base + ".dic", shape);
        std::printf("generated %s (%d relevés) with the writer in %.0f ms\n", base.c_str(), shape.releves, Ms(t));
    }
    return base;
}

struct Run {
    double scan = 0, put = 0;
    int species = 0, releves = 0;
};

Run ScanAndPut(const std::string& base) {
    Workspace ws;
    ws.Start("");
    ws.SetDictionary(base + ".dic");
    ws.SetDataFile(base + ".tki");
    ws.OpenRetrieval();
    Run r;
    auto t = std::chrono::steady_clock::now();
    ws.Scan(ScanParams());
    r.scan = Ms(t);
    t = std::chrono::steady_clock::now();
    ws.PutIntoTable();
    r.put = Ms(t);
    r.species = ws.table.SpeciesCount();
    r.releves = ws.table.ReleveCount();
    return r;
}

double CatMs(const std::string& base) {
    const std::string cmd = "cat '" + base + ".tki' '" + base + ".tkd' > /dev/null";
    return bench::MedianMs(1, [&] { (void)std::system(cmd.c_str()); });
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir = (fs::temp_directory_path() / "tavik_bench_fielddata").string();
    int only = 0, runs = 0;
    bool writeOnly = false, ceiling = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--dir" && i + 1 < argc) dir = argv[++i];
        else if (a == "--releves" && i + 1 < argc) only = std::atoi(argv[++i]);
        else if (a == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
        else if (a == "--write-only") writeOnly = true;
        else if (a == "--ceiling") ceiling = true;
    }
    std::vector<Size> sizes;
    Size small, large, top;
    small.shape.releves = 2000;
    small.before = 5.25;
    large.shape.releves = 100000;
    large.before = 34;
    top.shape.releves = 340000;
    top.shape.perReleve = 28;
    top.shape.names = 15000;
    top.shape.usedSynonyms = 5000;
    top.shape.synonyms = 30000;
    top.before = 0;
    sizes = {small, large};
    if (ceiling) sizes.push_back(top);

    fs::create_directories(dir);
    for (const Size& size : sizes) {
        const int n = size.shape.releves;
        if (only && n != only) continue;
        const std::string base = Make(dir, size.shape);
        if (writeOnly) continue;
        const double mb = static_cast<double>(fs::file_size(base + ".tki") + fs::file_size(base + ".tkd")) / 1048576.0;
        std::vector<double> scans, puts, totals, cats;
        Run last;
        const int count = runs > 0 ? runs : n <= 2000 ? 9 : n <= 100000 ? 5 : 3;
        for (int k = 0; k < count; ++k) {
            cats.push_back(CatMs(base));  // between the runs, so that both meet the same load
            last = ScanAndPut(base);
            scans.push_back(last.scan);
            puts.push_back(last.put);
            totals.push_back(last.scan + last.put);
        }
        const double total = Median(totals), cat = Median(cats);
        std::printf("\n%d relevés, %.1f MB of field data -> %d relevés, %d species in the table (%d runs)\n", n, mb,
                    last.releves, last.species, count);
        bench::Row("  scan (median)", Median(scans), "ms");
        bench::Row("  put + recount (median)", Median(puts), "ms");
        bench::Row("  scan + put (median)", total, "ms", n <= 2000 ? 100 : n <= 100000 ? 5000 : 0);
        bench::Row("  cat DATA.tki DATA.tkd > /dev/null (median)", cat, "ms");
        const double ratio = total / std::max(cat, 0.001);
        bench::Row("  ratio scan + put / cat", ratio, "x", n == 100000 ? 5 : 0);
        if (size.before > 0) {
            std::printf("  %-56s %10.2f x -> %.2f x: %.2f of it\n", "  the same ratio before the passes were rebuilt",
                        size.before, ratio, ratio / size.before);
        }
    }
    if (!writeOnly) bench::Row("peak resident memory of this process", bench::RssMb("VmHWM:"), "MB", 1024);
    return 0;
}
