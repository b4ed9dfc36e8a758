// Reading command-line arguments one by one, with usage errors that name the problem.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"
#include "formats/codec.h"

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
    // The value of option `opt`, which may be given once, unless `repeatable`. A value that
    // looks like an option ("-o --ascending") is a usage error.
    std::string Value(const std::string& opt, bool repeatable = false) {
        Once(opt, repeatable);
        if (Done()) throw UsageError{opt + " needs a value"};
        const std::string& v = a_[i_];
        if (v.size() > 1 && v[0] == '-' && !(v[1] >= '0' && v[1] <= '9'))
            throw UsageError{opt + " needs a value, not the option " + v};
        return a_[i_++];
    }
    // A flag, which may be given once.
    bool Flag(const std::string& opt) {
        Once(opt, false);
        return true;
    }

private:
    void Once(const std::string& opt, bool repeatable) {
        if (repeatable) return;
        for (const std::string& s : seen_)
            if (s == opt) throw UsageError{opt + " is given twice"};
        seen_.push_back(opt);
    }
    const Args& a_;
    std::size_t i_ = 0;
    std::vector<std::string> seen_;
};

// --encoding cp932|utf-8 of the text and CSV outputs.
inline TextEncoding ParseEncoding(const std::string& text) {
    if (text == "cp932") return TextEncoding::Cp932;
    if (text == "utf-8" || text == "utf8") return TextEncoding::Utf8;
    throw UsageError{"--encoding is cp932 or utf-8, not " + text};
}

// Parses FIRST-LAST: positive integers, FIRST not after LAST; `opt` names the argument in
// the usage error.
void ParseRange(const std::string& opt, const std::string& text, int& first, int& last);

// A file the command reads or writes: what the usage calls it, and its path (empty when not
// given).
struct NamedFile {
    std::string what;
    std::string path;
};
using NamedInput = NamedFile;

// Refuses, before anything is written, an output that is one of the command's inputs or
// another of its outputs (exit 2). Files are compared by identity: device and inode for a
// file that is there (links and other spellings of its path included), the path resolved
// through its folder and links for one that is not there yet.
void CheckOutputs(const std::vector<NamedFile>& outputs, const std::vector<NamedFile>& inputs);
inline void CheckOutputIsNotInput(const std::string& out, const std::vector<NamedFile>& inputs) {
    CheckOutputs({{"-o", out}}, inputs);
}
// The inputs every command on a saved table has: the table, the settings named by --ini and
// the table's companion settings file.
std::vector<NamedFile> TableInputs(const std::string& table, const std::string& ini);

// A message as it may go to a terminal: control characters (C0, DEL and the C1 range) are
// written as "\xNN" (a line end as a blank), so that a name in a file cannot move the
// cursor, change colours or end the line.
std::string Printable(std::string_view message);

// Refuses a settings file that was named but is not there (a typing error would otherwise
// run on the defaults without a word).
void CheckSettingsFileExists(const std::string& ini);

}  // namespace tavik::cli
