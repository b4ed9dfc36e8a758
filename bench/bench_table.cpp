// Composition table: recount, sorts, saved-table save/load, model memory.
// Prints one line per figure; an argument (large, medium, throughput) runs one set only.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/bench_util.h"
#include "core/sorting.h"
#include "formats/workspace.h"
#include "tools/synthetic_table.h"

using namespace tavik;
using tavik::bench::MedianMs;
using tavik::bench::Row;

namespace {

std::filesystem::path TempDir() {
    auto d = std::filesystem::temp_directory_path() / "tavik-bench";
    std::filesystem::create_directories(d);
    return d;
}

void Medium() {
    std::printf("== 2,000 releves x 800 species, ~30 species per releve\n");
    Workspace ws;
    ws.Start("");
    tools::FillSyntheticTable(ws.table, {2000, 800, 30, 7});
    Row("recount (both counts)", MedianMs(21, [&] { ws.table.Recount(); }), "ms", 10);
    Row("sort species (most first)",
        MedianMs(21,
                 [&] {
                     SortSpecies(ws.table, 1, ws.table.SpeciesCount(), true);
                     SortSpecies(ws.table, 1, ws.table.SpeciesCount(), false);
                 }) /
            2,
        "ms", 10);
    Row("sort releves (most first)",
        MedianMs(21,
                 [&] {
                     SortReleves(ws.table, 1, ws.table.ReleveCount(), true);
                     SortReleves(ws.table, 1, ws.table.ReleveCount(), false);
                 }) /
            2,
        "ms", 10);
    const auto file = (TempDir() / "medium.vtb").string();
    Row("save", MedianMs(7, [&] { ws.SaveTable(file); }), "ms", 150);
    Row("load", MedianMs(7, [&] { ws.LoadTable(file); }), "ms", 150);
    Row("  file size", std::filesystem::file_size(file) / 1e6, "MB");
}

void Throughput() {
    std::printf("== 10,000 releves x 2,000 species (dense saved-table format)\n");
    Workspace ws;
    ws.Start("");
    tools::FillSyntheticTable(ws.table, {10000, 2000, 30, 11});
    const auto file = (TempDir() / "throughput.vtb").string();
    const double save = MedianMs(3, [&] { ws.SaveTable(file); });
    const double load = MedianMs(3, [&] { ws.LoadTable(file); });
    const double mb = std::filesystem::file_size(file) / 1e6;
    const std::string cat = "cat '" + file + "' > /dev/null";
    const double catMs = MedianMs(5, [&] {
        if (std::system(cat.c_str()) != 0) std::abort();
    });
    Row("file size", mb, "MB");
    Row("save", save, "ms");
    Row("load", load, "ms");
    Row("save throughput", mb / (save / 1000), "MB/s");
    Row("load throughput", mb / (load / 1000), "MB/s");
    Row("cat FILE > /dev/null (warm cache)", catMs, "ms");
    Row("save / cat", save / catMs, "x");
    Row("load / cat", load / catMs, "x");
}

void Large() {
    std::printf("== 100,000 releves x 6,000 species, built in memory\n");
    const double before = tavik::bench::RssMb();
    Table t;
    tools::FillSyntheticTable(t, {100000, 6000, 25, 3});
    const double after = tavik::bench::RssMb();
    std::size_t cells = 0;
    for (int q = 1; q <= t.ReleveCount(); ++q) cells += t.CellsOf(t.ReleveKeyAt(q)).size();
    Row("filled cells", cells / 1e6, "M");
    Row("model memory (RSS growth)", after - before, "MB", 400);
    Row("  per filled cell (51 before cells and header texts were packed)", (after - before) * 1048576.0 / cells,
        "bytes", 32);
    Row("recount (both counts)", MedianMs(7, [&] { t.Recount(); }), "ms", 300);
    Row("sort species (most first)",
        MedianMs(7,
                 [&] {
                     SortSpecies(t, 1, t.SpeciesCount(), true);
                     SortSpecies(t, 1, t.SpeciesCount(), false);
                 }) /
            2,
        "ms", 100);
    Row("sort releves (most first)",
        MedianMs(7,
                 [&] {
                     SortReleves(t, 1, t.ReleveCount(), true);
                     SortReleves(t, 1, t.ReleveCount(), false);
                 }) /
            2,
        "ms", 300);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty() || only == "large") Large();
    if (only.empty() || only == "medium") Medium();
    if (only.empty() || only == "throughput") Throughput();
    return 0;
}
