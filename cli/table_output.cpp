#include "cli/table_output.h"

#include <iostream>

namespace tavik::cli {

void SaveTableFromCli(const Workspace& ws, const std::string& path, bool force) {
    SaveReport report;
    try {
        report = ws.SaveTable(path, nullptr,
                              force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(std::string(e.what()) + "（置き換えるには --force）");
    }
    if (const std::string notice = Utf8NoticeMessage(path, report); !notice.empty())
        std::cerr << "tavik-cli: " << notice << "\n";
}

}  // namespace tavik::cli
