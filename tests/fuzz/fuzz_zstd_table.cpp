// Saved tables compressed with zstd: any bytes after the zstd mark either load or give an
// error naming the file, as a .vtb.zst is read. An input without the mark is a table
// compressed here first, so that changes to a table's text also travel through the
// uncompressing reader.
#include <zstd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/fuzz/compressed_table_fuzz.h"

namespace {

std::string Zstd(std::string_view bytes) {
    std::string out(ZSTD_compressBound(bytes.size()), '\0');
    const std::size_t n = ZSTD_compress(out.data(), out.size(), bytes.data(), bytes.size(), 1);
    if (ZSTD_isError(n)) std::abort();
    out.resize(n);
    return out;
}

bool HasZstdMark(const std::uint8_t* data, std::size_t size) {
    return size >= 4 && data[0] == 0x28 && data[1] == 0xB5 && data[2] == 0x2F && data[3] == 0xFD;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const tavik::fuzz::ScratchFile scratch("tavik-fuzz-zstd-", ".vtb.zst");
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!(HasZstdMark(data, size))) bytes = Zstd(bytes);
    return tavik::fuzz::CheckCompressedTable(scratch, bytes);
}
