#include "formats/zstd_sink.h"

#include <zstd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>
#include <thread>

#include "core/messages.h"
#include "formats/file_error.h"

namespace tavik {

namespace {
// Level 1 is zstd's fastest regular level; a table still shrinks to about 1 % of its size.
constexpr int kLevel = 1;
}  // namespace

struct ZstdSink::State {
    ZSTD_CCtx* c = nullptr;
    std::string buf;
};

ZstdSink::ZstdSink(ByteSink& out, std::string name, int workers)
    : s_(std::make_unique<State>()), out_(out), name_(std::move(name)) {
    s_->c = ZSTD_createCCtx();
    if (!s_->c) throw WriteError(name_, ENOMEM);
    ZSTD_CCtx_setParameter(s_->c, ZSTD_c_compressionLevel, kLevel);
    // Workers compress, by default one a core: this thread only makes the text and hands it
    // on (with a single worker a save took longer, the worker being the slower half). A
    // library built without threads refuses the parameter and compresses here instead.
    if (workers <= 0) workers = static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    ZSTD_CCtx_setParameter(s_->c, ZSTD_c_nbWorkers, workers);
    ZSTD_CCtx_setParameter(s_->c, ZSTD_c_checksumFlag, 1);
    s_->buf.resize(ZSTD_CStreamOutSize());
}

ZstdSink::~ZstdSink() { ZSTD_freeCCtx(s_->c); }

void ZstdSink::Compress(std::string_view bytes, int mode) {
    ZSTD_inBuffer in{bytes.data(), bytes.size(), 0};
    for (;;) {
        ZSTD_outBuffer out{s_->buf.data(), s_->buf.size(), 0};
        const std::size_t left = ZSTD_compressStream2(s_->c, &out, &in, static_cast<ZSTD_EndDirective>(mode));
        if (ZSTD_isError(left))
            throw WriteErrorBecause(name_, Arg(Tr("圧縮できません: %1"), {ZSTD_getErrorName(left)}));
        if (out.pos > 0) out_.Write(std::string_view(s_->buf.data(), out.pos));
        if (mode == ZSTD_e_continue ? in.pos == in.size : left == 0) return;
    }
}

void ZstdSink::Write(std::string_view bytes) {
    if (!bytes.empty()) Compress(bytes, ZSTD_e_continue);
}

void ZstdSink::Rewind() {
    ZSTD_CCtx_reset(s_->c, ZSTD_reset_session_only);
    out_.Rewind();
}

void ZstdSink::Finish() { Compress({}, ZSTD_e_end); }

}  // namespace tavik
