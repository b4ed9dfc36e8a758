#include "cli/fidelity_flags.h"

#include <cstdlib>

namespace tavik::cli {

namespace {

double ParseNumber(const std::string& opt, const std::string& text) {
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(v == v)) throw UsageError{opt + " takes a number, not " + text};
    return v;
}

}  // namespace

bool ReadFidelityFlag(const std::string& a, ArgReader& in, FidelityOptions& options) {
    if (a == "--no-equalize") {
        in.Flag(a);
        options.equalize = false;
    } else if (a == "--threshold") {
        options.threshold = ParseNumber(a, in.Value(a));
        if (options.threshold < 0 || options.threshold > 100)
            throw UsageError{"--threshold takes phi x 100, from 0 to 100"};
    } else if (a == "--alpha") {
        const std::string v = in.Value(a);
        if (v == "none") options.alpha.reset();
        else {
            options.alpha = ParseNumber(a, v);
            if (*options.alpha <= 0 || *options.alpha > 1)
                throw UsageError{"--alpha takes a level above 0 and at most 1, or none"};
        }
    } else {
        return false;
    }
    return true;
}

}  // namespace tavik::cli
