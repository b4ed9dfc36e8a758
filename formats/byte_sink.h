// Where written bytes go: a file being written, a filter in front of one (compression), or
// a string in memory.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Write(std::string_view bytes) = 0;
    // Forgets everything written so far and starts the output again from nothing (a file
    // found halfway to need another encoding is written again).
    virtual void Rewind() = 0;
};

class StringSink : public ByteSink {
public:
    explicit StringSink(std::string& out) : out_(out) {}
    void Write(std::string_view bytes) override { out_ += bytes; }
    void Rewind() override { out_.clear(); }

private:
    std::string& out_;
};

}  // namespace tavik
