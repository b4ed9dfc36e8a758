#include "formats/language_setting.h"

#include <exception>
#include <filesystem>
#include <stdexcept>

#include "formats/atomic_file.h"
#include "formats/codec.h"
#include "formats/file_error.h"
#include "formats/ini_file.h"

namespace tavik {

namespace {
constexpr const char* kSection = "Interface";
constexpr const char* kKey = "Language";
}  // namespace

std::string ReadLanguageSetting(const std::string& iniPath) {
    if (iniPath.empty()) return "system";
    try {
        return ReadIniDocument(iniPath).ReadString(kSection, kKey, "system");
    } catch (const std::exception&) {
        return "system";
    }
}

void WriteLanguageSetting(const std::string& iniPath, const std::string& value) {
    namespace fs = std::filesystem;
    IniDocument existing;
    try {
        existing = ReadIniDocument(iniPath);
    } catch (const std::exception&) {
        throw WriteError(iniPath, 0);
    }
    std::error_code ec;
    const fs::path folder = fs::path(iniPath).parent_path();
    if (!folder.empty() && !fs::exists(folder, ec)) fs::create_directories(folder, ec);
    WriteFileAtomic(iniPath, EncodeTextFile(existing.Write({{kSection, {{kKey, value}}}})));
}

Language ChooseProcessLanguage(const std::string& iniPath) {
    return ChooseLanguage(ProcessLocaleEnvironment(), ReadLanguageSetting(iniPath));
}

}  // namespace tavik
