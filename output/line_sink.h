// Where the line layouts of the outputs go: a text file, a printer, a test's list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// Receives whole lines of UTF-8 text, without line ends. A line that is just the form-feed
// character "\f" asks for a new page.
class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void Line(std::string_view utf8) = 0;
};

inline constexpr std::string_view kFormFeed = "\f";

// Keeps the lines (tests, and layouts that are measured before they are written).
class LineList : public LineSink {
public:
    void Line(std::string_view utf8) override { lines.emplace_back(utf8); }
    std::vector<std::string> lines;
};

}  // namespace tavik
