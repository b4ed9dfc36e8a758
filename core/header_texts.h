// The header texts of one relevé (grid rows 1..FNRow) in one buffer. A table of 100,000
// relevés keeps a dozen short texts for each; a string object per text would take more
// memory than the relevé's cells.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavik {

class HeaderTexts {
public:
    // The text of `row`; empty when none was set.
    std::string_view Get(int row) const;
    void Set(int row, std::string_view text);
    void Clear() {
        bytes_.clear();
        bytes_.shrink_to_fit();
    }

private:
    // Each row from row 0 on: its length (one byte below 255; 255 and four bytes beyond),
    // then its bytes. Rows past the last one set are empty.
    std::size_t Skip(std::size_t at) const;
    std::size_t Length(std::size_t at) const;
    std::string bytes_;
};

}  // namespace tavik
