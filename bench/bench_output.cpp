// Outputs of the composition table: the text table, the value matrix and the spreadsheet,
// on synthetic tables of the sizes users reach. Prints figures and ratios; asserts nothing.
//   bench_output [--no-big-file] [text|xlsx|matrix]...   (all three parts by default)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "formats/workspace.h"
#include "output/matrix.h"
#include "output/options.h"
#include "output/output_file.h"
#include "output/spreadsheet.h"
#include "output/text_layout.h"
#include "tools/synthetic_table.h"

using namespace tavik;
using bench::MedianMs;
using bench::Row;

namespace {

// Counts the bytes of the lines (with CR LF) and keeps nothing: the layout's own cost.
class CountingSink : public LineSink {
public:
    void Line(std::string_view s) override { bytes += s.size() + 2; }
    std::size_t bytes = 0;
};

class DiscardingBytes : public ByteSink {
public:
    void Write(std::string_view) override {}
    void Rewind() override {}
};

std::string Slurp(const std::string& path) {
    std::string s;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[1 << 16];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

// Processor time of this process spent in f(), in milliseconds: on a machine that others
// share, wall time also counts their work.
template <class F>
double CpuMs(F&& f) {
    timespec a{}, b{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &a);
    f();
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &b);
    return (b.tv_sec - a.tv_sec) * 1e3 + (b.tv_nsec - a.tv_nsec) / 1e6;
}

double FwriteMs(const std::string& path, const std::string& bytes, bool sync) {
    return MedianMs(5, [&] {
        FILE* f = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fflush(f);
        if (sync) ::fsync(fileno(f));
        std::fclose(f);
    });
}

}  // namespace

int main(int argc, char** argv) {
    bool bigFile = true;
    std::vector<std::string> parts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-big-file") == 0) bigFile = false;
        else parts.emplace_back(argv[i]);
    }
    const auto wanted = [&](const char* part) {
        return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
    };
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tavik-bench-output-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string text = (dir / "t.txt").string(), copy = (dir / "copy.txt").string();

    if (wanted("text")) {
        std::printf("== Text output, 2,000 relevés x 800 species, frequency column and once-species list\n");
        Workspace ws;
        ws.Start("");
        tools::FillSyntheticTable(ws.table, {2000, 800, 30, 7});
        OutputOptions o = OutputOptionsFor(OutputMode::Text, ws.table, ws.settings);
        o.frequency = o.onceSpecies = true;
        const double layoutMs = MedianMs(5, [&] {
            CountingSink sink;
            PrintTable(ws.table, o, kTextFileBlockWidth, sink);
        });
        double cpu = 0;
        const double fileMs = MedianMs(5, [&] { cpu = CpuMs([&] { WriteTextTable(ws.table, o, text); }); });
        const std::string bytes = Slurp(text);
        const double fwriteMs = FwriteMs(copy, bytes, false);
        const double fwriteSyncMs = FwriteMs(copy, bytes, true);
        Row("file size", bytes.size() / 1e6, "MB");
        Row("layout alone (no file)", layoutMs, "ms");
        Row("text file, complete (temporary, fsync, rename)", fileMs, "ms", 300);
        Row("  of which processor time", cpu, "ms");
        Row("one fwrite of the same bytes", fwriteMs, "ms");
        Row("one fwrite + fsync of the same bytes", fwriteSyncMs, "ms");
        Row("ratio text file / fwrite", fileMs / fwriteMs, "x");
        Row("ratio text file / fwrite + fsync", fileMs / fwriteSyncMs, "x");
    }

    if (wanted("xlsx")) {
        std::printf("== Spreadsheet (.xlsx), 2,000 relevés x 800 species\n");
        Workspace ws;
        ws.Start("");
        tools::FillSyntheticTable(ws.table, {2000, 800, 30, 7});
        OutputOptions o = OutputOptionsFor(OutputMode::Spreadsheet, ws.table, ws.settings);
        o.frequency = true;
        const std::string xlsx = (dir / "t.xlsx").string();
        double cpu = 0;
        const double ms = MedianMs(3, [&] { cpu = CpuMs([&] { WriteSpreadsheet(ws.table, o, xlsx); }); });
        Row("file size", std::filesystem::file_size(xlsx) / 1e6, "MB");
        Row("xlsx, complete", ms, "ms", 3000);
        Row("  of which processor time", cpu, "ms");
    }

    if (wanted("matrix")) {
        std::printf("== Value matrix, 100,000 relevés x 6,000 species\n");
        Table t;
        tools::FillSyntheticTable(t, {100000, 6000, 25, 3});
        t.Recount();
        Workspace ws;
        OutputOptions o = OutputOptionsFor(OutputMode::ValueMatrix, t, ws.settings);
        o.method = 2;
        const double rssBefore = bench::RssMb();
        for (int dir2 : {0, 1}) {
            o.direction = dir2;
            CountingSink sink;
            const double ms = MedianMs(3, [&] {
                sink.bytes = 0;
                ValueMatrix(t, o, sink);
            });
            const double mb = sink.bytes / 1e6;
            std::printf("  rows = %s\n", dir2 == 0 ? "species" : "relevés");
            Row("  output", mb, "MB");
            Row("  made, no file", ms, "ms");
            Row("  rate, no file", mb / (ms / 1000.0), "MB/s");
            Row("  rate / target 200 MB/s", mb / (ms / 1000.0) / 200.0, "x");
            // The same rows encoded for the file (CP932, CR LF), the bytes dropped.
            DiscardingBytes dropped;
            const double encMs = MedianMs(1, [&] {
                TextFileSink encoded(dropped, TextEncoding::Cp932);
                ValueMatrix(t, o, encoded);
            });
            Row("  made and encoded, no file", encMs, "ms");
        }
        if (bigFile) {
            o.direction = 0;
            const std::string path = (dir / "m-vm.csv").string();
            const double ms = MedianMs(1, [&] { WriteValueMatrix(t, o, path); });
            const double mb = std::filesystem::file_size(path) / 1e6;
            std::filesystem::remove(path);
            Row("  into a file (temporary, fsync, rename)", ms, "ms");
            Row("  rate into a file", mb / (ms / 1000.0), "MB/s");
            Row("  rate into a file / target 200 MB/s", mb / (ms / 1000.0) / 200.0, "x");
            // What the disk itself takes: the same number of bytes, one fwrite per megabyte,
            // then fsync.
            const std::string block(1 << 20, '0');
            const double rawMs = MedianMs(1, [&] {
                FILE* f = std::fopen(path.c_str(), "wb");
                for (double left = mb * 1e6; left > 0; left -= static_cast<double>(block.size()))
                    std::fwrite(block.data(), 1, block.size(), f);
                std::fflush(f);
                ::fsync(fileno(f));
                std::fclose(f);
            });
            std::filesystem::remove(path);
            Row("  the same bytes by fwrite + fsync (the disk's rate)", mb / (rawMs / 1000.0), "MB/s");
            Row("  ratio value matrix file / fwrite + fsync", ms / rawMs, "x");
        }
        Row("  resident memory grown by the outputs (rows are never all held)", bench::RssMb() - rssBefore, "MB");
    }
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    return 0;
}
