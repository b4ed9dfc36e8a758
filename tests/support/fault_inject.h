// Control of the injected I/O errors (see fault_inject.cpp) from a test program.
#pragma once

#include <stdlib.h>

#include <string>

extern "C" long tavik_fault_hits();

namespace tavik::testing {

// Arms a fault for the scope: "write:1:ENOSPC:t.vtb" makes the first and every later write
// to a file whose path holds "t.vtb" fail with ENOSPC.
class InjectedFault {
public:
    explicit InjectedFault(const std::string& fault) { ::setenv("TAVIK_FAULT", fault.c_str(), 1); }
    ~InjectedFault() { ::unsetenv("TAVIK_FAULT"); }
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;
    // How many calls failed so far.
    long Hits() const { return tavik_fault_hits(); }
};

}  // namespace tavik::testing
