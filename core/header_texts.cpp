#include "core/header_texts.h"

#include <cstdint>
#include <cstring>

namespace tavik {

namespace {
constexpr unsigned char kLong = 255;

std::string LengthBytes(std::size_t n) {
    if (n < kLong) return std::string(1, static_cast<char>(n));
    std::string s(5, static_cast<char>(kLong));
    const auto v = static_cast<std::uint32_t>(n);
    std::memcpy(s.data() + 1, &v, 4);
    return s;
}
}  // namespace

std::size_t HeaderTexts::Length(std::size_t at) const {
    const auto b = static_cast<unsigned char>(bytes_[at]);
    if (b < kLong) return b;
    std::uint32_t v = 0;
    std::memcpy(&v, bytes_.data() + at + 1, 4);
    return v;
}

// The position after the row that starts at `at`.
std::size_t HeaderTexts::Skip(std::size_t at) const {
    const std::size_t n = Length(at);
    return at + (static_cast<unsigned char>(bytes_[at]) < kLong ? 1 : 5) + n;
}

std::string_view HeaderTexts::Get(int row) const {
    std::size_t at = 0;
    for (int r = 0; r < row; ++r) {
        if (at >= bytes_.size()) return {};
        at = Skip(at);
    }
    if (at >= bytes_.size()) return {};
    const std::size_t head = static_cast<unsigned char>(bytes_[at]) < kLong ? 1 : 5;
    return std::string_view(bytes_).substr(at + head, Length(at));
}

void HeaderTexts::Set(int row, std::string_view text) {
    std::size_t at = 0;
    int r = 0;
    for (; r < row && at < bytes_.size(); ++r) at = Skip(at);
    if (at >= bytes_.size()) {
        if (text.empty()) return;  // rows past the last one are empty already
        bytes_.append(static_cast<std::size_t>(row - r), '\0');
        bytes_ += LengthBytes(text.size());
        bytes_.append(text);
        return;
    }
    const std::size_t end = Skip(at);
    bytes_.replace(at, end - at, LengthBytes(text.size()).append(text));
}

}  // namespace tavik
