// Messages for failed file operations: they name the user's file and give the system's
// reason in Japanese ("<file> に書き込めません（容量不足）").
#pragma once

#include <stdexcept>
#include <string>

namespace tavik {

// The system's reason for an errno value, in Japanese.
std::string SystemReason(int err);

// "<path> <what>（<reason>）", or without the reason when err is 0.
std::runtime_error FileError(const std::string& path, const std::string& what, int err);

inline std::runtime_error WriteError(const std::string& path, int err) {
    return FileError(path, "に書き込めません", err);
}
inline std::runtime_error ReadError(const std::string& path, int err) {
    return FileError(path, "を読み込めません", err);
}

}  // namespace tavik
