#include "formats/file_bytes.h"

#include <algorithm>
#include <stdexcept>

#include "formats/input_file.h"

namespace tavik {

std::string ReadFileBytes(const std::string& path, std::uint64_t limit) {
    InputFile in(path);
    if (in.Size() > limit) throw std::runtime_error(TooLargeMessage(path, limit));
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(in.Size()));
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            // The file may have grown since it was opened: read on, within the bound.
            if (bytes.size() >= limit) {
                char probe;
                if (in.Read(&probe, 1) == 0) break;
                throw std::runtime_error(TooLargeMessage(path, limit));
            }
            bytes.resize(std::min<std::uint64_t>(limit, bytes.size() + (1 << 16)));
        }
        const std::size_t n = in.Read(bytes.data() + got, bytes.size() - got);
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return bytes;
}

}  // namespace tavik
