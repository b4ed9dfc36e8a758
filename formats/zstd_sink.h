// Compressing on the way to a file with zstd: a ByteSink that compresses what it is given into
// another sink as one zstd frame, so that `zstd -d` gives back exactly the bytes written. The
// level is a fast one and the work is shared with a second thread where the library can: a
// table's cover block is mostly runs of '0', which zstd stores in a few bytes each.
#pragma once

#include <memory>
#include <string>

#include "formats/byte_sink.h"

namespace tavik {

class ZstdSink : public ByteSink {
public:
    // `name` is the file named in messages. `workers`: threads that compress, 0 for one a
    // core (a file written while the user waits), 1 to leave a core free (work beside the
    // window).
    ZstdSink(ByteSink& out, std::string name, int workers = 0);
    ~ZstdSink() override;
    ZstdSink(const ZstdSink&) = delete;
    ZstdSink& operator=(const ZstdSink&) = delete;

    void Write(std::string_view bytes) override;
    void Rewind() override;
    // Ends the frame; call before committing the file below.
    void Finish();

private:
    void Compress(std::string_view bytes, int mode);
    struct State;
    std::unique_ptr<State> s_;
    ByteSink& out_;
    std::string name_;
};

}  // namespace tavik
