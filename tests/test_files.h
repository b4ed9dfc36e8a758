// Where the tests find their input files and leave their pictures: all inside the checkout
// and its build folder, so that a fresh clone tests on its own.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>

namespace tavik::testing {

// An input by set and file name, "example/example.tki" or "dune/dune.dic". The example set
// is the one users try the program with, in examples/; the other sets live in tests/data/.
inline std::string TestData(std::string_view rel) {
    constexpr std::string_view kExample = "example/";
    if (rel.substr(0, kExample.size()) == kExample)
        return std::string(TAVIK_SOURCE_DIR "/examples/").append(rel.substr(kExample.size()));
    return std::string(TAVIK_SOURCE_DIR "/tests/data/").append(rel);
}

// A folder for what a test leaves behind for a person to look at: $TAVIK_TEST_OUTPUT_DIR/NAME,
// by default test-output/NAME in the build folder. The caller creates it.
inline std::string TestOutputDir(std::string_view name) {
    const char* env = std::getenv("TAVIK_TEST_OUTPUT_DIR");
    std::string dir = env && *env ? env : TAVIK_BINARY_DIR "/test-output";
    return dir.append("/").append(name);
}

}  // namespace tavik::testing
