// Saved tables compressed with zstd: any bytes after the zstd mark either load or give an
// error naming the file, as a .vtb.zst is read. An input without the mark is a table
// compressed here first, so that changes to a table's text also travel through the
// uncompressing reader.
#include <unistd.h>
#include <zstd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "formats/byte_source.h"
#include "formats/saved_table.h"

namespace {

struct ScratchFile {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tavik-fuzz-zstd-" + std::to_string(::getpid()) + ".vtb.zst"))
            .string();
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

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
    static const ScratchFile scratch;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (!HasZstdMark(data, size)) bytes = Zstd(bytes);
    std::ofstream(scratch.path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    tavik::Table t;
    try {
        const std::unique_ptr<tavik::ByteSource> src = tavik::OpenByteSource(scratch.path);
        tavik::ReadSavedTable(*src, scratch.path, t);
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).rfind(scratch.path, 0) != 0) std::abort();  // names the file
        return 0;
    }
    // What loads saves, and the saved bytes load to the same table.
    const std::string saved = tavik::SavedTableBytes(t);
    tavik::Table again;
    tavik::ParseSavedTable(saved, "again.vtb", again);
    if (tavik::SavedTableBytes(again) != saved) std::abort();
    return 0;
}
