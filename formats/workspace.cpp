// PLACEHOLDER so that everything links until the real implementation lands: replace this
// whole file.
#include "formats/workspace.h"

#include <stdexcept>

namespace tavik {
struct Workspace::IniMemory {};
Workspace::Workspace() = default;
void Workspace::Start(const std::string&) {}
void Workspace::ReadIniFile(const std::string&) {}
void Workspace::WriteIniFile(const std::string&) const { throw std::runtime_error("not yet"); }
bool Workspace::SetDictionary(const std::string&) { return false; }
void Workspace::SaveTable(const std::string&, Progress*) const { throw std::runtime_error("not yet"); }
void Workspace::LoadTable(const std::string&, Progress*) { throw std::runtime_error("not yet"); }
std::string DefaultIniPath(const std::string& p) { return p + ".ini"; }
}  // namespace tavik
