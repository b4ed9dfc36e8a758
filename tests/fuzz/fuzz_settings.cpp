// Settings reader: any bytes parse; the known keys written into the document read back as
// written, and applying the file lays out a table.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "formats/ini_file.h"
#include "formats/workspace.h"

namespace {

// The file the workspace starts from, one per process, removed at exit.
struct ScratchFile {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("tavik-fuzz-settings-" + std::to_string(::getpid()) + ".ini"))
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
    const tavik::IniDocument doc = tavik::ParseIniBytes(bytes, "fuzz.ini");
    doc.ReadInteger("Table", "FontSize", 9);

    const std::vector<tavik::IniDocument::Section> known = {
        {"Table", {{"FontSize", "10"}, {"Title", "t=1"}}}, {"WinSize", {{"Top", "-5"}}}};
    const tavik::IniDocument written = tavik::ParseIniBytes(doc.Write(known), "written.ini");
    if (written.ReadInteger("Table", "FontSize", 0) != 10 || written.ReadString("Table", "Title", "") != "t=1" ||
        written.ReadInteger("WinSize", "Top", 0) != -5)
        std::abort();

    // The dictionary a settings file names could be any file on the machine: not here.
    if (doc.Find("Files", "SynDict")) return 0;
    std::ofstream(ScratchPath(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    tavik::Workspace ws;
    ws.Start(ScratchPath());
    if (ws.table.FNRow() < 2 || ws.table.FNRow() > 31 || ws.table.Text(0, 1) != "1") std::abort();
    return 0;
}
