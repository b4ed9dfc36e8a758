#include "output/output_file.h"

#include <cstdint>
#include <cstring>
#include <unordered_map>

#include "core/messages.h"

namespace tavik {

std::string Utf8OutputNotice(const std::string& path, const OutputReport& report) {
    if (!report.utf8 || report.asked) return {};
    return Arg(Tr("%1 は UTF-8 で書きました（CP932 で書けない文字があります）"), {path});
}

bool AppendCp932(std::string& out, std::string_view utf8) {
    thread_local std::unordered_map<std::string, std::string> cache;
    std::size_t i = 0;
    std::string piece;
    while (i < utf8.size()) {
        std::size_t j = i;
        // ASCII runs (most of every line) are copied as they are, eight bytes at a time.
        while (j + 8 <= utf8.size()) {
            std::uint64_t w;
            std::memcpy(&w, utf8.data() + j, 8);
            if (w & 0x8080808080808080ULL) break;
            j += 8;
        }
        while (j < utf8.size() && static_cast<unsigned char>(utf8[j]) < 0x80) ++j;
        out.append(utf8.data() + i, j - i);
        if (j == utf8.size()) break;
        std::size_t k = j;
        while (k < utf8.size() && static_cast<unsigned char>(utf8[k]) >= 0x80) ++k;
        const std::string run(utf8.substr(j, k - j));
        auto it = cache.find(run);
        if (it == cache.end()) {
            if (!Utf8ToCp932(run, piece)) return false;
            if (cache.size() > 100000) cache.clear();
            it = cache.emplace(run, piece).first;
        }
        out += it->second;
        i = k;
    }
    return true;
}

TextFileSink::TextFileSink(ByteSink& file, TextEncoding encoding) : file_(file), encoding_(encoding) {
    if (encoding_ == TextEncoding::Utf8) file_.Write("\xEF\xBB\xBF");
}

void TextFileSink::Append(std::string_view utf8) {
    out_.clear();
    if (encoding_ == TextEncoding::Utf8) {
        out_.assign(utf8);
    } else if (!AppendCp932(out_, utf8)) {
        throw NotCp932{};
    }
}

void TextFileSink::Line(std::string_view utf8) {
    Append(utf8);
    out_ += "\r\n";
    file_.Write(out_);
}

void TextFileSink::Text(std::string_view utf8) {
    Append(utf8);
    file_.Write(out_);
}

}  // namespace tavik
