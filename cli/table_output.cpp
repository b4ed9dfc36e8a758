#include "cli/table_output.h"

#include <iostream>

#include "cli/args.h"
#include "cli/messages.h"

namespace tavik::cli {

void SaveTableFromCli(const Workspace& ws, const std::string& path, bool force) {
    SaveReport report;
    try {
        report = ws.SaveTable(path, nullptr,
                              force ? AtomicFile::ReadOnlyTarget::Replace : AtomicFile::ReadOnlyTarget::Refuse);
    } catch (const ReadOnlyFileError& e) {
        throw std::runtime_error(Arg(Tr("%1（置き換えるには --force）"), {e.what()}));
    }
    if (const std::string notice = Utf8NoticeMessage(path, report); !notice.empty())
        std::cerr << "tavik-cli: " << Printable(notice) << "\n";
}

void LoadTableFromCli(Workspace& ws, const std::string& path) {
    ws.LoadTable(path);
    if (!ws.settingsProblem.empty()) std::cerr << "tavik-cli: " << Printable(ws.settingsProblem) << "\n";
}

}  // namespace tavik::cli
