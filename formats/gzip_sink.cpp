#include "formats/gzip_sink.h"

#include <zlib.h>

#include <cerrno>
#include <stdexcept>

#include "core/messages.h"
#include "formats/file_error.h"

namespace tavik {

struct GzipSink::State {
    z_stream z{};
    std::string buf;
};

GzipSink::GzipSink(ByteSink& out, std::string name) : s_(std::make_unique<State>()), out_(out), name_(std::move(name)) {
    s_->buf.resize(1 << 20);
    // The fastest level: a table's text is so repetitive that it still shrinks to a few percent.
    if (deflateInit2(&s_->z, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw WriteError(name_, ENOMEM);
}

GzipSink::~GzipSink() { deflateEnd(&s_->z); }

void GzipSink::Deflate(int flush) {
    z_stream& z = s_->z;
    for (;;) {
        z.next_out = reinterpret_cast<Bytef*>(s_->buf.data());
        z.avail_out = static_cast<uInt>(s_->buf.size());
        const int rc = deflate(&z, flush);
        if (rc == Z_STREAM_ERROR) throw WriteErrorBecause(name_, Tr("圧縮できません"));
        const std::size_t n = s_->buf.size() - z.avail_out;
        if (n > 0) out_.Write(std::string_view(s_->buf.data(), n));
        if (flush == Z_FINISH ? rc == Z_STREAM_END : (z.avail_in == 0 && z.avail_out != 0)) return;
    }
}

void GzipSink::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t n = std::min<std::size_t>(bytes.size(), 1u << 30);
        s_->z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        s_->z.avail_in = static_cast<uInt>(n);
        Deflate(Z_NO_FLUSH);
        bytes.remove_prefix(n);
    }
}

void GzipSink::Rewind() {
    deflateReset(&s_->z);
    out_.Rewind();
}

void GzipSink::Finish() {
    s_->z.next_in = nullptr;
    s_->z.avail_in = 0;
    Deflate(Z_FINISH);
}

}  // namespace tavik
