#include "formats/byte_source.h"

#include <zlib.h>
#include <zstd.h>
#include <zstd_errors.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/messages.h"
#include "formats/file_error.h"
#include "formats/input_file.h"

namespace tavik {

namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr std::size_t kTakeBytes = 256 << 10;

std::runtime_error LineTooLong(const std::string& file, std::size_t line, std::size_t maxLine) {
    return std::runtime_error(
        Arg(Tr("%1: 行が長すぎます（%2 MB まで）"), {FileLine(file, line), std::to_string(maxLine >> 20)}));
}

class PlainSource : public ByteSource {
public:
    explicit PlainSource(std::unique_ptr<InputFile> f) : f_(std::move(f)) {}
    std::size_t Read(char* buf, std::size_t n) override { return f_->Read(buf, n); }
    std::uint64_t MaxBytes() const override { return f_->Size(); }

private:
    std::unique_ptr<InputFile> f_;
};

// gzip as gunzip reads it: one member after another to the end of the file.
class GzipSource : public ByteSource {
public:
    // `head`: the bytes already read from the start of the file.
    GzipSource(std::unique_ptr<InputFile> f, std::string head) : f_(std::move(f)), in_(std::move(head)) {
        avail_ = in_.size();
        in_.resize(kChunk);
        z_.zalloc = Z_NULL;
        z_.zfree = Z_NULL;
        z_.opaque = Z_NULL;
        if (inflateInit2(&z_, 15 + 16) != Z_OK) throw ReadError(f_->Path(), ENOMEM);
    }
    ~GzipSource() override { inflateEnd(&z_); }

    std::size_t Read(char* buf, std::size_t n) override {
        if (done_) return 0;
        z_.next_out = reinterpret_cast<Bytef*>(buf);
        z_.avail_out = static_cast<uInt>(std::min<std::size_t>(n, 1u << 30));
        while (z_.avail_out == static_cast<uInt>(std::min<std::size_t>(n, 1u << 30))) {
            if (z_.avail_in == 0) {
                if (avail_ == 0) avail_ = f_->Read(in_.data(), in_.size());
                if (avail_ == 0) {
                    if (started_) Corrupt(Tr("途中で終わっています"));
                    done_ = true;
                    break;
                }
                z_.next_in = reinterpret_cast<Bytef*>(in_.data());
                z_.avail_in = static_cast<uInt>(avail_);
                avail_ = 0;
            }
            started_ = true;
            const int rc = inflate(&z_, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                started_ = false;
                inflateReset(&z_);  // another member may follow
            } else if (rc != Z_OK && rc != Z_BUF_ERROR) {
                Corrupt(Tr("gzip の中身が壊れています"));
            }
        }
        return static_cast<std::size_t>(z_.next_out - reinterpret_cast<Bytef*>(buf));
    }
    // Deflate cannot expand more than about 1032 to 1.
    std::uint64_t MaxBytes() const override { return f_->Size() * 1032 + 1024; }

private:
    [[noreturn]] void Corrupt(const char* why) { throw ReadErrorBecause(f_->Path(), why); }
    std::unique_ptr<InputFile> f_;
    std::string in_;
    std::size_t avail_ = 0;
    z_stream z_{};
    bool started_ = false, done_ = false;
};

// zstd as `zstd -d` reads it: one frame after another (skippable ones passed over) to the end
// of the file. Every frame this program writes carries a checksum, which the library checks.
class ZstdSource : public ByteSource {
public:
    // `head`: the bytes already read from the start of the file.
    ZstdSource(std::unique_ptr<InputFile> f, std::string head) : f_(std::move(f)), buf_(std::move(head)) {
        const std::size_t got = buf_.size();
        buf_.resize(std::max<std::size_t>(ZSTD_DStreamInSize(), kChunk));
        in_ = {buf_.data(), got, 0};
        d_ = ZSTD_createDCtx();
        if (!d_) throw ReadError(f_->Path(), ENOMEM);
        // A frame may ask for a window of at most 128 MB; a larger one is refused as damaged
        // rather than allocated.
        ZSTD_DCtx_setParameter(d_, ZSTD_d_windowLogMax, 27);
    }
    ~ZstdSource() override { ZSTD_freeDCtx(d_); }

    std::size_t Read(char* buf, std::size_t n) override {
        ZSTD_outBuffer out{buf, n, 0};
        while (!done_ && out.pos < out.size) {
            if (in_.pos == in_.size && !eof_) {
                in_ = {buf_.data(), f_->Read(buf_.data(), buf_.size()), 0};
                eof_ = in_.size == 0;
            }
            const bool atEnd = eof_ && in_.pos == in_.size;
            if (atEnd && pending_ == 0) {  // the last frame ended with the file
                done_ = true;
                break;
            }
            const std::size_t before = out.pos;
            pending_ = ZSTD_decompressStream(d_, &out, &in_);
            if (ZSTD_isError(pending_))
                Corrupt(ZSTD_getErrorCode(pending_) == ZSTD_error_checksum_wrong ? Tr("zstd の検査値が合いません")
                                                                                 : Tr("zstd の中身が壊れています"));
            // At the end of the file the decoder only gives what it still holds; when that is
            // nothing, the frame was cut short.
            if (atEnd && out.pos == before) Corrupt(Tr("途中で終わっています"));
        }
        return out.pos;
    }
    // A zstd block of one repeated byte expands about 32,000 to 1.
    std::uint64_t MaxBytes() const override { return f_->Size() * 32768 + (1 << 20); }

private:
    [[noreturn]] void Corrupt(const char* why) { throw ReadErrorBecause(f_->Path(), why); }
    std::unique_ptr<InputFile> f_;
    std::string buf_;
    ZSTD_inBuffer in_{};
    ZSTD_DCtx* d_ = nullptr;
    std::size_t pending_ = 1;  // what the decoder said last: 0 when a frame has just ended
    bool eof_ = false, done_ = false;
};

// Reads a source ahead on a thread of its own: while the caller works on one block, the next
// few are read (and uncompressed) on the other core. An error of the source comes to the
// caller in its place, after the bytes read before it.
class ReadAhead : public ByteSource {
public:
    explicit ReadAhead(std::unique_ptr<ByteSource> src) : src_(std::move(src)) {
        for (Block& b : blocks_) b.bytes.resize(kBlockBytes);
        thread_ = std::thread([this] { Produce(); });
    }
    ~ReadAhead() override {
        {
            std::lock_guard<std::mutex> lock(m_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }

    std::size_t Read(char* buf, std::size_t n) override {
        if (at_ == size_ && !NextBlock()) return 0;
        const std::size_t k = std::min(n, size_ - at_);
        std::memcpy(buf, cur_ + at_, k);
        at_ += k;
        return k;
    }
    std::uint64_t MaxBytes() const override { return src_->MaxBytes(); }

private:
    static constexpr std::size_t kBlocks = 4, kBlockBytes = 256 << 10;
    struct Block {
        std::string bytes;
        std::size_t size = 0;
        std::exception_ptr error;
    };

    void Produce() {
        for (;;) {
            std::unique_lock<std::mutex> lock(m_);
            cv_.wait(lock, [&] { return stop_ || filled_ < kBlocks; });
            if (stop_) return;
            Block& b = blocks_[tail_];
            lock.unlock();
            b.size = 0;
            try {
                b.size = src_->Read(b.bytes.data(), b.bytes.size());
            } catch (...) {
                b.error = std::current_exception();
            }
            lock.lock();
            tail_ = (tail_ + 1) % kBlocks;
            ++filled_;
            cv_.notify_all();
            if (b.size == 0 || b.error) return;  // the end, or the source failed
        }
    }

    // The next block for the caller; false at the end.
    bool NextBlock() {
        std::unique_lock<std::mutex> lock(m_);
        if (holding_) {  // the block read out goes back to the reader
            head_ = (head_ + 1) % kBlocks;
            --filled_;
            holding_ = false;
            cv_.notify_all();
        }
        if (ended_) return false;
        cv_.wait(lock, [&] { return filled_ > 0; });
        const Block& b = blocks_[head_];
        if (b.error) std::rethrow_exception(b.error);  // kept: asked again, it fails again
        holding_ = true;
        ended_ = b.size == 0;
        cur_ = b.bytes.data();
        size_ = b.size;
        at_ = 0;
        return !ended_;
    }

    std::unique_ptr<ByteSource> src_;
    std::array<Block, kBlocks> blocks_;
    std::mutex m_;
    std::condition_variable cv_;
    std::size_t head_ = 0, tail_ = 0, filled_ = 0;  // filled_: blocks read and not given back
    bool stop_ = false, holding_ = false, ended_ = false;
    const char* cur_ = nullptr;
    std::size_t size_ = 0, at_ = 0;
    std::thread thread_;
};

}  // namespace

bool IsZstdName(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return ext == ".zst";
}

bool IsCompressedName(const std::string& path) { return IsGzipName(path) || IsZstdName(path); }

bool IsGzipName(const std::string& path) {
    if (path.size() < 3) return false;
    const std::string ext = path.substr(path.size() - 3);
    return ext[0] == '.' && (ext[1] == 'g' || ext[1] == 'G') && (ext[2] == 'z' || ext[2] == 'Z');
}

std::unique_ptr<ByteSource> OpenByteSource(const std::string& path) {
    auto f = std::make_unique<InputFile>(path);
    // Compressed files are known by their first bytes, whatever their names.
    char head[4] = {0, 0, 0, 0};
    std::size_t got = 0;
    while (got < 4) {
        const std::size_t n = f->Read(head + got, 4 - got);
        if (n == 0) break;
        got += n;
    }
    const auto* h = reinterpret_cast<const unsigned char*>(head);
    if (got >= 2 && h[0] == 0x1F && h[1] == 0x8B)
        return std::make_unique<ReadAhead>(std::make_unique<GzipSource>(std::move(f), std::string(head, got)));
    if (got == 4 && h[0] == 0x28 && h[1] == 0xB5 && h[2] == 0x2F && h[3] == 0xFD)
        return std::make_unique<ReadAhead>(std::make_unique<ZstdSource>(std::move(f), std::string(head, got)));
    // Plain: give back the bytes looked at.
    class Rewound : public ByteSource {
    public:
        Rewound(std::unique_ptr<ByteSource> s, std::string head) : s_(std::move(s)), head_(std::move(head)) {}
        std::size_t Read(char* buf, std::size_t n) override {
            if (at_ < head_.size()) {
                const std::size_t k = std::min(n, head_.size() - at_);
                std::memcpy(buf, head_.data() + at_, k);
                at_ += k;
                return k;
            }
            return s_->Read(buf, n);
        }
        std::uint64_t MaxBytes() const override { return s_->MaxBytes(); }

    private:
        std::unique_ptr<ByteSource> s_;
        std::string head_;
        std::size_t at_ = 0;
    };
    return std::make_unique<Rewound>(std::make_unique<PlainSource>(std::move(f)), std::string(head, got));
}

LineReader::LineReader(ByteSource& src, std::string fileName, std::size_t maxLine)
    : src_(src), file_(std::move(fileName)), max_(maxLine) {
    // A small file gets a small buffer; it grows when a line needs it.
    const std::uint64_t fits = std::max<std::uint64_t>(src.MaxBytes() + 2, 64);
    buf_.resize(static_cast<std::size_t>(std::min<std::uint64_t>(fits, std::min<std::size_t>(kChunk, maxLine + 2))));
}

bool LineReader::Fill() {
    if (pos_ > 0) {  // keep the line begun, at the front
        std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
        end_ -= pos_;
        scan_ -= pos_;
        pos_ = 0;
    }
    if (end_ == buf_.size()) {
        if (buf_.size() >= max_ + 2) throw LineTooLong(file_, line_ + 1, max_);
        buf_.resize(std::min<std::size_t>(buf_.size() * 2, max_ + 2));
    }
    const std::size_t n = src_.Read(buf_.data() + end_, buf_.size() - end_);
    if (n == 0) {
        eof_ = true;
        return false;
    }
    end_ += n;
    total_ += n;
    return true;
}

bool LineReader::Next(std::string_view& line) {
    for (;;) {
        const char* b = buf_.data();
        const char* lf = static_cast<const char*>(std::memchr(b + scan_, '\n', end_ - scan_));
        const char* stop = lf ? lf : b + end_;
        const char* cr =
            static_cast<const char*>(std::memchr(b + scan_, '\r', static_cast<std::size_t>(stop - (b + scan_))));
        if (cr && cr + 1 == b + end_ && !eof_) {  // is an LF next? read on to see
            scan_ = static_cast<std::size_t>(cr - b);
            Fill();
            continue;
        }
        if (cr || lf) {
            const char* e = cr ? cr : lf;
            if (static_cast<std::size_t>(e - (b + pos_)) > max_) throw LineTooLong(file_, line_ + 1, max_);
            line = std::string_view(b + pos_, static_cast<std::size_t>(e - (b + pos_)));
            std::size_t next = static_cast<std::size_t>(e - b) + 1;
            ending_ = cr ? "\r" : "\n";
            if (cr && next < end_ && b[next] == '\n') {
                ++next;
                ending_ = "\r\n";
            }
            pos_ = scan_ = next;
            ++line_;
            return true;
        }
        scan_ = end_;
        if (!eof_ && Fill()) continue;
        if (pos_ == end_) return false;
        line = std::string_view(buf_.data() + pos_, end_ - pos_);
        ending_ = {};
        pos_ = scan_ = end_;
        ++line_;
        return true;
    }
}

void LineReader::TooLong(std::size_t index) const { throw LineTooLong(file_, index + 1, max_); }

std::string_view LineReader::Take() {
    if (pos_ < end_) {
        const std::string_view rest(buf_.data() + pos_, end_ - pos_);
        pos_ = scan_ = end_;
        return rest;
    }
    pos_ = scan_ = end_ = 0;
    if (eof_) return {};
    // A few hundred KB at a time: read while they are still in the cache.
    const std::size_t n = src_.Read(buf_.data(), std::min<std::size_t>(buf_.size(), kTakeBytes));
    if (n == 0) {
        eof_ = true;
        return {};
    }
    total_ += n;
    pos_ = scan_ = end_ = n;
    return {buf_.data(), n};
}

void LineReader::GiveBack(std::size_t n) { pos_ = scan_ = pos_ - n; }

}  // namespace tavik
