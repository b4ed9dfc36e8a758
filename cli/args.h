// Reading command-line arguments one by one, with usage errors that name the problem.
#pragma once

#include <string>

#include "cli/commands.h"

namespace tavik::cli {

class ArgReader {
public:
    explicit ArgReader(const Args& a) : a_(a) {}
    bool Done() const { return i_ >= a_.size(); }
    std::string Next() { return a_[i_++]; }
    // The next argument, which must not be an option.
    std::string Positional(const char* what) {
        if (Done() || (a_[i_].size() > 1 && a_[i_][0] == '-')) throw UsageError{std::string("missing ") + what};
        return a_[i_++];
    }
    // The value of option `opt`.
    std::string Value(const std::string& opt) {
        if (Done()) throw UsageError{opt + " needs a value"};
        return a_[i_++];
    }

private:
    const Args& a_;
    std::size_t i_ = 0;
};

// Parses FIRST-LAST (positive integers).
void ParseRange(const std::string& text, int& first, int& last);

}  // namespace tavik::cli
