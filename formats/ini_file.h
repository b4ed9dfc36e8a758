// Profile files: "[Section]" lines followed by "Key=Value" lines. Section and key names
// compare without regard to ASCII letter case; of duplicate keys the first is read. Keys
// and values are trimmed of blanks. Lines that are neither (comments, say) are kept.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

class TextLineFile;

class IniDocument {
public:
    // From the lines of a decoded file.
    static IniDocument Parse(const std::vector<std::string>& lines);
    static IniDocument Parse(TextLineFile& lines);

    // The value of a key, or nullptr when the section or the key is absent.
    const std::string* Find(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key, const std::string& def) const;
    // A value that is not a decimal integer gives `def`.
    int ReadInteger(std::string_view section, std::string_view key, int def) const;
    // Any integer other than 0 is true; a value that is not an integer gives `def`.
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;

    struct Entry {
        std::string key, value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    // The text of the file after writing `known` into it: the lines before any section,
    // then each known section in order with its keys in order, each followed by whatever
    // else this document holds in that section; then the document's other sections as they
    // stand. Lines end in CR LF; a blank line separates sections. Zero bytes are left out.
    std::string Write(const std::vector<Section>& known) const;

private:
    struct Line {
        std::string raw;  // the line as it stood
        std::string key;  // empty for a line that is not "key=value"
        std::string value;
    };
    struct Block {
        std::string name;
        std::vector<Line> lines;
    };
    const Block* FindBlock(std::string_view name) const;
    // One more line of the file.
    void Add(const std::string& text);

    std::vector<std::string> preamble_;
    std::vector<Block> blocks_;
    long current_ = -1;  // the block lines go to while parsing, -1 before any section
};

// A settings file as a document: empty when there is no file; undecodable bytes become
// U+FFFD rather than failing. Throws std::runtime_error when the file exists but cannot be
// read.
IniDocument ReadIniDocument(const std::string& path);
// The same from bytes in memory.
IniDocument ParseIniBytes(std::string_view bytes, const std::string& fileName);

}  // namespace tavik
