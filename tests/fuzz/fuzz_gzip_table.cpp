// Compressed saved tables: any bytes after the gzip mark either load or give an error, as a
// file is read. An input without the mark is a table compressed here first, so that changes
// to a table's text also travel through the uncompressing reader.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/compressed_table_fuzz.h"

namespace {

std::string Gzip(std::string_view bytes) {
    z_stream z{};
    if (deflateInit2(&z, 1, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY) != Z_OK) std::abort();
    std::string out(deflateBound(&z, static_cast<uLong>(bytes.size())) + 32, '\0');
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    z.avail_in = static_cast<uInt>(bytes.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    if (deflate(&z, Z_FINISH) != Z_STREAM_END) std::abort();
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tavik::fuzz::ScratchFile scratch("tavik-fuzz-gzip-", ".vtb.gz");
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!(size >= 2 && data[0] == 0x1F && data[1] == 0x8B)) bytes = Gzip(bytes);
    return tavik::fuzz::CheckCompressedTable(scratch, bytes);
}
