// Runs a fuzz target without libFuzzer: every file named, and every file in every folder
// named, is fed once to LLVMFuzzerTestOneInput. Built with the normal compiler as an
// ordinary test, so that the targets keep compiling and the seeds and the examples keep
// passing; a target that finds a fault aborts, and the test fails with the file's name.
//   replay_fuzz_saved_table tests/fuzz/seeds/saved_table examples/example.vtb
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

bool Collect(const fs::path& arg, std::vector<fs::path>& files) {
    std::error_code ec;
    if (fs::is_regular_file(arg, ec)) {
        files.push_back(arg);
        return true;
    }
    if (!fs::is_directory(arg, ec)) {
        std::fprintf(stderr, "replay: %s: no such file or folder\n", arg.string().c_str());
        return false;
    }
    std::vector<fs::path> inside;
    for (const auto& e : fs::directory_iterator(arg, ec))
        if (e.is_regular_file(ec) && e.path().filename().string().front() != '.') inside.push_back(e.path());
    if (ec || inside.empty()) {
        std::fprintf(stderr, "replay: %s: no inputs in the folder\n", arg.string().c_str());
        return false;
    }
    std::sort(inside.begin(), inside.end());
    files.insert(files.end(), inside.begin(), inside.end());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE|FOLDER...\n", argv[0]);
        return 2;
    }
    std::vector<fs::path> files;
    bool ok = true;
    for (int i = 1; i < argc; ++i) ok = Collect(argv[i], files) && ok;
    if (!ok) return 1;
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "replay: %s: cannot be read\n", f.string().c_str());
            return 1;
        }
        // Named before the run: when the target aborts, this is the last line on the log.
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", f.string().c_str(), bytes.size());
        std::fflush(stderr);
        // A buffer of exactly the input's size, never null, as libFuzzer passes it: a read
        // past the end is caught when the sanitizers are on.
        const std::unique_ptr<std::uint8_t[]> data(new std::uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), data.get());
        LLVMFuzzerTestOneInput(data.get(), bytes.size());
    }
    std::printf("%zu inputs replayed\n", files.size());
    return 0;
}
