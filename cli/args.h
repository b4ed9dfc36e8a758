// Reading command-line arguments one by one, with usage errors that name the problem.
#pragma once

#include <string>
#include <vector>

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

// An input of the command: what the usage calls it, and its path (empty when not given).
struct NamedInput {
    const char* what;
    std::string path;
};
// Refuses, before anything is written, an output that is one of the command's inputs.
void CheckOutputIsNotInput(const std::string& out, const std::vector<NamedInput>& inputs);
// Refuses a settings file that was named but is not there (a typing error would otherwise
// run on the defaults without a word).
void CheckSettingsFileExists(const std::string& ini);

}  // namespace tavik::cli
