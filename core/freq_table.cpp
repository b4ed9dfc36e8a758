#include "core/freq_table.h"

#include <algorithm>

#include "core/covers.h"

namespace tavik {

void FreqTable::Resize(int cols, int rows) {
    cols = std::max(cols, 1);
    rows = std::max(rows, 1);
    if (cols == cols_ && rows == rows_) return;
    std::vector<std::string> cells(static_cast<std::size_t>(cols) * static_cast<std::size_t>(rows));
    const int keepCols = std::min(cols, cols_), keepRows = std::min(rows, rows_);
    for (int r = 0; r < keepRows; ++r)
        for (int c = 0; c < keepCols; ++c)
            cells[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
                std::move(cells_[Index(c, r)]);
    cells_ = std::move(cells);
    cols_ = cols;
    rows_ = rows;
    if (static_cast<int>(colWidths.size()) > cols_) colWidths.resize(static_cast<std::size_t>(cols_));
}

void FreqTable::Clear() {
    for (auto& s : cells_) s.clear();
}

void FreqTable::MoveRow(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= rows_ || to >= rows_) return;
    const auto row = [&](int r) { return cells_.begin() + static_cast<std::ptrdiff_t>(Index(0, r)); };
    if (from < to) std::rotate(row(from), row(from + 1), row(to + 1));
    else std::rotate(row(to), row(from), row(from + 1));
}

void FreqTable::MoveColumn(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= cols_ || to >= cols_) return;
    for (int r = 0; r < rows_; ++r) {
        const auto at = [&](int c) { return cells_.begin() + static_cast<std::ptrdiff_t>(Index(c, r)); };
        if (from < to) std::rotate(at(from), at(from + 1), at(to + 1));
        else std::rotate(at(to), at(from), at(from + 1));
    }
    // The width travels with its column.
    if (static_cast<int>(colWidths.size()) < cols_) colWidths.resize(static_cast<std::size_t>(cols_), kDefault);
    const auto w = [&](int c) { return colWidths.begin() + c; };
    if (from < to) std::rotate(w(from), w(from + 1), w(to + 1));
    else std::rotate(w(to), w(from), w(from + 1));
}

int FreqTable::ColWidth(int col) const {
    if (col >= 0 && col < static_cast<int>(colWidths.size()) && colWidths[static_cast<std::size_t>(col)] != kDefault)
        return colWidths[static_cast<std::size_t>(col)];
    return defaultColWidth;
}

void FreqTable::SetColWidth(int col, int w) {
    if (col < 0 || col >= cols_) return;
    if (static_cast<int>(colWidths.size()) <= col) colWidths.resize(static_cast<std::size_t>(col) + 1, kDefault);
    colWidths[static_cast<std::size_t>(col)] = w;
}

int FreqRowHeight(int pointSize) { return static_cast<int>(RoundHalfEven(pointSize * 1.333)) + 2; }

}  // namespace tavik
