// CSV as spreadsheets and R write it: comma, semicolon or tab between the cells (found from
// the heading line), UTF-8 with or without a BOM or CP932 (found from the bytes), cells in
// double quotes that may hold the separator, doubled quotes and line ends.
#pragma once

#include <array>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "formats/codec.h"

namespace tavik {

class CsvReader {
public:
    // Reads and decodes a whole file. Throws std::runtime_error naming the file (and the
    // line, for bytes that are neither UTF-8 nor CP932) when it cannot be read.
    explicit CsvReader(const std::string& path);
    // The same over bytes already read; `name` is the file's name in messages.
    CsvReader(std::string bytes, std::string name);

    // The next record into `cells`, which stay valid until the next call; false at the end.
    // Records whose cells are all blank are skipped. A quote left open at the end of the file
    // throws, naming the line where its record began.
    bool Next(std::vector<std::string_view>& cells);
    // The line (from 1) where the record last returned began.
    std::size_t Line() const { return recordLine_; }
    // "NAME の N 行目", the place of the record last returned.
    std::string Where() const;

    const std::string& Name() const { return name_; }
    char Delimiter() const { return delimiter_; }
    TextEncoding Encoding() const { return encoding_; }
    // How the separator is called in messages: "コンマ", "セミコロン", "タブ".
    std::string DelimiterName() const;

private:
    void Decode(std::string bytes);
    std::string& PoolString();

    std::string name_;
    std::string text_;  // UTF-8
    std::size_t pos_ = 0;
    std::size_t line_ = 1, recordLine_ = 0;
    char delimiter_ = ',';
    std::array<bool, 256> special_{};  // the characters that end an unquoted stretch of a cell
    TextEncoding encoding_ = TextEncoding::Cp932;
    std::deque<std::string> pool_;  // unquoted texts of quoted cells; stable addresses
    std::size_t poolUsed_ = 0;
};

// Whether every cell is empty after blanks are trimmed.
bool AllBlank(const std::vector<std::string_view>& cells);

}  // namespace tavik
