// What long operations report while they run: two short lines, called coarsely
// (per relevé or per iteration, never per cell).
#pragma once

#include <stdexcept>
#include <string>

namespace tavik {

class Progress {
public:
    virtual ~Progress() = default;
    virtual void Show(const std::string& line1, const std::string& line2) = 0;
    // Asked now and then by long loops; true stops the work at the next safe point.
    virtual bool Cancelled() { return false; }
};

// Thrown by work that the user stopped (Progress::Cancelled): nothing it would have changed
// is changed, and there is nothing to report as an error.
class WorkStopped : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A Progress that shows nothing.
class NoProgress : public Progress {
public:
    void Show(const std::string&, const std::string&) override {}
};

}  // namespace tavik
