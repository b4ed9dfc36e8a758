// What the fuzz targets of compressed saved tables share: a file of their own to write each
// input to, and the check that the bytes either load or give an error naming the file, and
// that what loads saves and loads again to the same table.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>

#include "formats/byte_source.h"
#include "formats/saved_table.h"

namespace tavik::fuzz {

struct ScratchFile {
    ScratchFile(const std::string& name, const std::string& extension)
        : path((std::filesystem::temp_directory_path() / (name + std::to_string(::getpid()) + extension)).string()) {}
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
    const std::string path;
};

inline int CheckCompressedTable(const ScratchFile& scratch, const std::string& bytes) {
    std::ofstream(scratch.path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Table t;
    try {
        const std::unique_ptr<ByteSource> src = OpenByteSource(scratch.path);
        ReadSavedTable(*src, scratch.path, t);
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).rfind(scratch.path, 0) != 0) std::abort();  // names the file
        return 0;
    }
    // What loads saves, and the saved bytes load to the same table.
    const std::string saved = SavedTableBytes(t);
    Table again;
    ParseSavedTable(saved, "again.vtb", again);
    if (SavedTableBytes(again) != saved) std::abort();
    return 0;
}

}  // namespace tavik::fuzz
