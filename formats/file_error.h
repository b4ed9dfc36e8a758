// Messages for failed file operations: they name the user's file and give the system's
// reason ("<file> に書き込めません（容量不足）"), in the language the program speaks.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavik {

// The system's reason for an errno value.
std::string SystemReason(int err);

// `what` with the path put at its %1, followed by "（<reason>）" unless err is 0. `what` is an
// already translated text.
std::runtime_error FileError(const std::string& path, const std::string& what, int err);

// "<file> の N 行目": the place of a line of a file, for the start of a message.
std::string FileLine(const std::string& file, std::uint64_t line);

// "<message>（<reason>）": a failure with its cause in brackets.
std::string WithReason(const std::string& message, const std::string& reason);

// "<file> に書き込めません" / "<file> を読み込めません", with the system's reason unless err is 0.
std::runtime_error WriteError(const std::string& path, int err);
std::runtime_error ReadError(const std::string& path, int err);
// The same with a reason in words, for a failure that has no errno (a compressor's, say).
std::runtime_error WriteErrorBecause(const std::string& path, const std::string& reason);
std::runtime_error ReadErrorBecause(const std::string& path, const std::string& reason);

}  // namespace tavik
