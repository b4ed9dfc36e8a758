// Whole files in and out. Reading gives the bytes of a regular file up to a bound; writing
// goes through AtomicFile and never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/atomic_file.h"

namespace tavik {

// Far above any settings file, dictionary or CSV a user keeps, far below what would exhaust
// memory.
inline constexpr std::uint64_t kTextFileLimit = 512ull * 1024 * 1024;

// The bytes of a regular file. Throws std::runtime_error naming the file when it cannot be
// opened or read ("<path> を読み込めません（…）"), is not a regular file, or is larger
// than `limit`.
std::string ReadFileBytes(const std::string& path, std::uint64_t limit = kTextFileLimit);

// True when both paths name the same existing file (links and different spellings of one
// path included).
bool SameFile(const std::string& a, const std::string& b);

// `path` when a file exists there; otherwise a file in the same folder whose name differs
// only in ASCII letter case; otherwise empty.
std::string FindFileAnyCase(const std::string& path);

}  // namespace tavik
