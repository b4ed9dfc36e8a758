// Saving and loading a big table as a stream: time, throughput and peak memory of each, as
// ratios to reading the same file with `cat`, and the size of the gzip form.
//
//   bench_stream [RELEVES SPECIES [FOLDER]]     default 100000 6000, files in the current folder
//
// Each step runs in a process of its own, so that its peak resident memory is its own.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "formats/workspace.h"
#include "tools/synthetic_table.h"

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

struct Run {
    double seconds = 0;
    double peakMb = 0;
};

// Runs `argv` as a child; its wall time and peak resident memory.
Run Child(const std::vector<std::string>& args) {
    const double t0 = Now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    rusage ru{};
    ::wait4(pid, &status, 0, &ru);
    Run r;
    r.seconds = Now() - t0;
    r.peakMb = static_cast<double>(ru.ru_maxrss) / 1024.0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_stream: %s failed\n", args[0].c_str());
        std::exit(1);
    }
    return r;
}

double FileMb(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return static_cast<double>(st.st_size) / (1024.0 * 1024.0);
}

// Processor time of the whole process so far (every thread, user and system).
double ProcessorSeconds() {
    rusage ru{};
    ::getrusage(RUSAGE_SELF, &ru);
    const auto s = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return s(ru.ru_utime) + s(ru.ru_stime);
}

// This process's peak resident memory (VmHWM) in MB.
double PeakMb() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    double kb = 0;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %lf", &kb) == 1) break;
    std::fclose(f);
    return kb / 1024.0;
}

// The steps, each in its own process.
int Step(int argc, char** argv) {
    const std::string step = argv[1];
    tavik::Workspace ws;
    ws.Start("");
    if (step == "--make") {  // --make RELEVES SPECIES OUT
        tavik::tools::SyntheticShape shape;
        shape.releves = std::atoi(argv[2]);
        shape.species = std::atoi(argv[3]);
        tavik::tools::FillSyntheticTable(ws.table, shape);
        ws.SaveTable(argv[4]);
    } else if (step == "--load") {  // --load FILE
        ws.LoadTable(argv[2]);
    } else if (step == "--resave") {  // --resave IN OUT: load, then save (timed alone)
        ws.LoadTable(argv[2]);
        // The peak of the save alone: the high-water mark starts again from here.
        if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
            std::fputs("5", f);
            std::fclose(f);
        }
        const double t0 = Now(), c0 = ProcessorSeconds();
        ws.SaveTable(argv[3]);
        // wall seconds, peak MB, processor seconds of all threads
        std::printf("%.3f %.0f %.3f\n", Now() - t0, PeakMb(), ProcessorSeconds() - c0);
    }
    (void)argc;
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-') return Step(argc, argv);
        const std::string releves = argc > 2 ? argv[1] : "100000";
        const std::string species = argc > 2 ? argv[2] : "6000";
        const std::string folder = argc > 3 ? argv[3] : ".";
        const std::string self = argv[0];
        const std::string plain = folder + "/bench_stream.vtb", copy = folder + "/bench_stream_copy.vtb",
                          gz = folder + "/bench_stream.vtb.gz";
        std::printf("table: %s releves x %s species\n", releves.c_str(), species.c_str());
        Child({self, "--make", releves, species, plain});
        const double mb = FileMb(plain);
        Child({"sh", "-c", "cat '" + plain + "' > /dev/null"});  // warm the cache for everyone
        const Run cat = Child({"sh", "-c", "cat '" + plain + "' > /dev/null"});
        const Run load = Child({self, "--load", plain});
        // The save alone: the child prints its own time after loading.
        const std::string out = folder + "/bench_stream_save_time";
        const Run both = Child({"sh", "-c", "'" + self + "' --resave '" + plain + "' '" + copy + "' > " + out});
        double save = 0;
        if (FILE* f = std::fopen(out.c_str(), "r")) {
            if (std::fscanf(f, "%lf", &save) != 1) save = 0;
            std::fclose(f);
        }
        std::remove(out.c_str());
        // The gzip form, made by a save whose own time line is not wanted here.
        Child({"sh", "-c", "'" + self + "' --resave '" + plain + "' '" + gz + "' > /dev/null"});
        const Run loadGz = Child({self, "--load", gz});

        std::printf("file: %.0f MB, gzip %.1f MB (%.2f %% of it)\n", mb, FileMb(gz), 100.0 * FileMb(gz) / mb);
        std::printf("%-22s %8s %10s %10s %12s\n", "", "seconds", "MB/s", "peak MB", "time / cat");
        std::printf("%-22s %8.2f %10.0f %10.0f %12s\n", "cat", cat.seconds, mb / cat.seconds, cat.peakMb, "1.0");
        std::printf("%-22s %8.2f %10.0f %10.0f %12.1f\n", "load", load.seconds, mb / load.seconds, load.peakMb,
                    load.seconds / cat.seconds);
        std::printf("%-22s %8.2f %10.0f %10.0f %12.1f\n", "save (after a load)", save, mb / save, both.peakMb,
                    save / cat.seconds);
        std::printf("%-22s %8.2f %10.0f %10.0f %12.1f\n", "load .vtb.gz", loadGz.seconds, mb / loadGz.seconds,
                    loadGz.peakMb, loadGz.seconds / cat.seconds);
        std::printf("targets: peak <= 1024 MB for load and save, >= 300 MB/s of file\n");
        std::remove(plain.c_str());
        std::remove(copy.c_str());
        std::remove(gz.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_stream: %s\n", e.what());
        return 1;
    }
    return 0;
}
