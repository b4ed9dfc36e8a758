// Settings reader: any bytes parse; the known keys written into the document read back as
// written, and applying the file lays out a table.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "formats/ini_file.h"
#include "formats/workspace.h"

namespace {

const std::string& ScratchFile() {
    static const std::string path = "/tmp/tavik-fuzz-settings-" + std::to_string(::getpid()) + ".ini";
    return path;
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
    std::ofstream(ScratchFile(), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    tavik::Workspace ws;
    ws.Start(ScratchFile());
    if (ws.table.FNRow() < 2 || ws.table.FNRow() > 31 || ws.table.Text(0, 1) != "1") std::abort();
    return 0;
}
