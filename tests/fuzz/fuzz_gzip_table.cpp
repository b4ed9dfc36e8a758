// Compressed saved tables: any bytes after the gzip mark either load or give an error, as a
// file is read. An input without the mark is a table compressed here first, so that changes
// to a table's text also travel through the uncompressing reader.
#include <unistd.h>
#include <zlib.h>

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
        (std::filesystem::temp_directory_path() / ("tavik-fuzz-gzip-" + std::to_string(::getpid()) + ".vtb.gz"))
            .string();
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

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
    static const ScratchFile scratch;
    std::string bytes(reinterpret_cast<const char*>(data), size);
    if (size < 2 || data[0] != 0x1F || data[1] != 0x8B) bytes = Gzip(bytes);
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
