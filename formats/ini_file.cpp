#include "formats/ini_file.h"

#include <charconv>
#include <filesystem>

#include "formats/file_bytes.h"
#include "formats/text_lines.h"

namespace tavik {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
        if (x != y) return false;
    }
    return true;
}

// "[name]" -> name; false for any other line.
bool SectionName(std::string_view line, std::string& name) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return false;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return false;
    name.assign(Trim(line.substr(1, close - 1)));
    return true;
}

// A value written on one line: line breaks would start new lines of the file.
std::string OneLine(const std::string& v) {
    std::string s = v;
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

}  // namespace

IniDocument IniDocument::Parse(const std::vector<std::string>& lines) {
    IniDocument doc;
    for (const std::string& text : lines) doc.Add(text);
    return doc;
}

IniDocument IniDocument::Parse(TextLineFile& lines) {
    IniDocument doc;
    std::string text;
    while (lines.Next(text)) doc.Add(text);
    return doc;
}

void IniDocument::Add(const std::string& text) {
    if (Trim(text).empty()) return;
    std::string name;
    if (SectionName(text, name)) {
        current_ = -1;
        for (std::size_t b = 0; b < blocks_.size(); ++b)
            if (SameName(blocks_[b].name, name)) current_ = static_cast<long>(b);
        if (current_ < 0) {
            blocks_.push_back({name, {}});
            current_ = static_cast<long>(blocks_.size()) - 1;
        }
        return;
    }
    Line line{text, {}, {}};
    const std::size_t eq = text.find('=');
    if (eq != std::string::npos && !Trim(std::string_view(text).substr(0, eq)).empty()) {
        line.key.assign(Trim(std::string_view(text).substr(0, eq)));
        line.value.assign(Trim(std::string_view(text).substr(eq + 1)));
    }
    if (current_ >= 0) blocks_[static_cast<std::size_t>(current_)].lines.push_back(std::move(line));
    else preamble_.push_back(text);
}

const IniDocument::Block* IniDocument::FindBlock(std::string_view name) const {
    for (const Block& b : blocks_)
        if (SameName(b.name, name)) return &b;
    return nullptr;
}

const std::string* IniDocument::Find(std::string_view section, std::string_view key) const {
    const Block* b = FindBlock(section);
    if (!b) return nullptr;
    for (const Line& l : b->lines)
        if (!l.key.empty() && SameName(l.key, key)) return &l.value;
    return nullptr;
}

std::string IniDocument::ReadString(std::string_view section, std::string_view key, const std::string& def) const {
    const std::string* v = Find(section, key);
    return v ? *v : def;
}

int IniDocument::ReadInteger(std::string_view section, std::string_view key, int def) const {
    const std::string* v = Find(section, key);
    if (!v || v->empty()) return def;
    const char* first = v->data();
    const char* last = first + v->size();
    if (*first == '+') ++first;
    int n = 0;
    auto [end, ec] = std::from_chars(first, last, n);
    return (ec == std::errc() && end == last && first != last) ? n : def;
}

bool IniDocument::ReadBool(std::string_view section, std::string_view key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

std::string IniDocument::Write(const std::vector<Section>& known) const {
    std::string out;
    // A zero byte has no place in a text file: written back, a run of them can make the file
    // read as UTF-16 and every setting in it lost, so it is dropped.
    const auto line = [&out](std::string_view s) {
        for (const char c : s)
            if (c != '\0') out += c;
        out += "\r\n";
    };
    for (const std::string& l : preamble_) line(l);
    const auto separate = [&out, &line] {
        if (!out.empty()) line("");
    };
    for (const Section& s : known) {
        separate();
        line("[" + s.name + "]");
        for (const Entry& e : s.entries) line(e.key + "=" + OneLine(e.value));
        if (const Block* b = FindBlock(s.name)) {
            for (const Line& l : b->lines) {
                bool isKnown = false;
                for (const Entry& e : s.entries) isKnown = isKnown || (!l.key.empty() && SameName(l.key, e.key));
                if (!isKnown) line(l.raw);
            }
        }
    }
    for (const Block& b : blocks_) {
        bool isKnown = false;
        for (const Section& s : known) isKnown = isKnown || SameName(s.name, b.name);
        if (isKnown) continue;
        separate();
        line("[" + b.name + "]");
        for (const Line& l : b.lines) line(l.raw);
    }
    return out;
}

IniDocument ParseIniBytes(std::string_view bytes, const std::string& fileName) {
    TextLineFile lines(bytes, fileName, /*lenient=*/true);
    return IniDocument::Parse(lines);
}

IniDocument ReadIniDocument(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !std::filesystem::exists(path, ec) || std::filesystem::is_directory(path, ec)) return {};
    TextLineFile lines(path, /*lenient=*/true);
    return IniDocument::Parse(lines);
}

}  // namespace tavik
