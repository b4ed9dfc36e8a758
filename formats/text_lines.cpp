#include "formats/text_lines.h"

#include <cstring>
#include <stdexcept>

namespace tavik {

std::vector<std::string_view> SplitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        // Find the LF first (fast), then look for a CR before it.
        const char* lf = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* stop = lf ? lf : end;
        const char* cr = static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(stop - p)));
        if (cr) {
            lines.emplace_back(p, static_cast<std::size_t>(cr - p));
            p = (cr + 1 == lf) ? lf + 1 : cr + 1;
        } else {
            lines.emplace_back(p, static_cast<std::size_t>(stop - p));
            p = stop + 1;
        }
    }
    return lines;
}

std::string_view StripBom(std::string_view bytes) {
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

TextEncoding DetectEncoding(std::string_view bytes) {
    if (StripBom(bytes).size() != bytes.size()) return TextEncoding::Utf8;
    return (!IsAscii(bytes) && IsValidUtf8(bytes)) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string BadEncodingMessage(const std::string& fileName, std::size_t line) {
    return fileName + " の " + std::to_string(line) + " 行目: 文字コードが CP932 でも UTF-8 でもありません";
}

bool LooksUtf16(std::string_view bytes) {
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        return true;
    // Without a mark: Latin text in UTF-16 has a zero byte beside every letter.
    return bytes.substr(0, 4096).find('\0') != std::string_view::npos;
}

std::vector<std::string> DecodeTextLines(std::string_view bytes, const std::string& fileName,
                                         bool lenient) {
    if (LooksUtf16(bytes))
        throw std::runtime_error(fileName + " は UTF-16 で書かれています（CP932 か UTF-8 で保存してください）");
    const TextEncoding enc = DetectEncoding(bytes);
    const std::vector<std::string_view> raw = SplitLines(StripBom(bytes));
    std::vector<std::string> lines(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        bool ok;
        if (enc == TextEncoding::Utf8) {
            ok = IsValidUtf8(raw[i]);
            if (ok) lines[i].assign(raw[i]);
        } else {
            ok = Cp932ToUtf8(raw[i], lines[i]);
        }
        if (ok) continue;
        if (!lenient) throw std::runtime_error(BadEncodingMessage(fileName, i + 1));
        lines[i] = Cp932ToUtf8Lenient(raw[i]);
    }
    return lines;
}

}  // namespace tavik
