// Whole files in and out. Reading gives the bytes; writing never leaves a half-written
// file behind: the bytes go to a temporary file in the same folder, which is flushed to
// disk and only then renamed over the old one.
#pragma once

#include <string>
#include <string_view>

namespace tavik {

// The bytes of a file. Throws std::runtime_error "<path> を読み込めません" when it cannot
// be opened or read.
std::string ReadFileBytes(const std::string& path);

// Replaces (or creates) the file at `path` with `bytes`. A symbolic link is followed, and
// an existing file keeps its permissions. Throws std::runtime_error
// "<path> に書き込めません" on any failure; the old file is then untouched.
void WriteFileAtomic(const std::string& path, std::string_view bytes);

}  // namespace tavik
