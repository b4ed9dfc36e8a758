// Settings reader: any bytes parse or are refused with a message that names the file (UTF-16
// text); the known keys written into a document read back as written, and starting from the
// file lays out a table, on the defaults when it is refused.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "formats/ini_file.h"
#include "formats/workspace.h"

namespace {

// The file the workspace starts from, one per process, removed at exit.
struct ScratchFile {
    const std::string path =
        (std::filesystem::temp_directory_path() / ("tavik-fuzz-settings-" + std::to_string(::getpid()) + ".ini"))
            .string();
    ~ScratchFile() {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }
};

const std::string& ScratchPath() {
    static const ScratchFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    tavik::IniDocument doc;
    bool refused = false;
    try {
        doc = tavik::ParseIniBytes(bytes, "fuzz.ini");
    } catch (const std::runtime_error& e) {
        if (std::string(e.what()).rfind("fuzz.ini ", 0) != 0) std::abort();
        refused = true;
    }
    doc.ReadInteger("Table", "FontSize", 9);

    const std::vector<tavik::IniDocument::Section> known = {{"Table", {{"FontSize", "10"}, {"Title", "t=1"}}},
                                                            {"WinSize", {{"Top", "-5"}}}};
    const tavik::IniDocument written = tavik::ParseIniBytes(doc.Write(known), "written.ini");
    if (written.ReadInteger("Table", "FontSize", 0) != 10 || written.ReadString("Table", "Title", "") != "t=1" ||
        written.ReadInteger("WinSize", "Top", 0) != -5)
        std::abort();

    // The dictionary a settings file names could be any file on the machine: not here.
    if (doc.Find("Files", "SynDict")) return 0;
    std::ofstream(ScratchPath(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    tavik::Workspace ws;
    try {
        ws.Start(ScratchPath());
        if (refused) std::abort();  // the file read from disk is the same bytes
    } catch (const std::runtime_error& e) {
        if (!refused || std::string(e.what()).rfind(ScratchPath() + " ", 0) != 0) std::abort();
    }
    if (ws.table.FNRow() < 2 || ws.table.FNRow() > 31 || ws.table.Text(0, 1) != "1") std::abort();
    return 0;
}
