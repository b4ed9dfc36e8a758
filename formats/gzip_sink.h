// Compressing on the way to a file: a ByteSink that deflates what it is given into another
// sink in the gzip format, so that gunzip gives back exactly the bytes written.
#pragma once

#include <memory>
#include <string>

#include "formats/byte_sink.h"

namespace tavik {

class GzipSink : public ByteSink {
public:
    // `name` is the file named in messages.
    GzipSink(ByteSink& out, std::string name);
    ~GzipSink() override;
    GzipSink(const GzipSink&) = delete;
    GzipSink& operator=(const GzipSink&) = delete;

    void Write(std::string_view bytes) override;
    void Rewind() override;
    // Ends the gzip stream; call before committing the file below.
    void Finish();

private:
    void Deflate(int flush);
    struct State;
    std::unique_ptr<State> s_;
    ByteSink& out_;
    std::string name_;
};

}  // namespace tavik
