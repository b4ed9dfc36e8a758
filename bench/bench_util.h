// Timing and memory helpers shared by the benchmarks.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace tavik::bench {

// Median of `runs` timings of f(), in milliseconds.
template <class F>
double MedianMs(int runs, F&& f) {
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        auto a = std::chrono::steady_clock::now();
        f();
        auto b = std::chrono::steady_clock::now();
        t.push_back(std::chrono::duration<double, std::milli>(b - a).count());
    }
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// Resident memory of this process in MB (from /proc/self/status).
inline double RssMb(const char* field = "VmRSS:") {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(std::string(field).size())) / 1024.0;
    return 0;
}

inline void Row(const char* what, double value, const char* unit, double target = 0) {
    if (target > 0)
        std::printf("%-58s %10.2f %-5s (target <= %g, %.0f%% of it)\n", what, value, unit, target,
                    100.0 * value / target);
    else std::printf("%-58s %10.2f %s\n", what, value, unit);
}

}  // namespace tavik::bench
