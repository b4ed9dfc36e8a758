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
    if (!shades_.empty()) {
        std::vector<std::uint8_t> shades(cells.size(), 0);
        for (int r = 0; r < keepRows; ++r)
            for (int c = 0; c < keepCols; ++c)
                shades[static_cast<std::size_t>(r) * static_cast<std::size_t>(cols) + static_cast<std::size_t>(c)] =
                    shades_[Index(c, r)];
        shades_ = std::move(shades);
    }
    if (!rowRanks_.empty()) {
        rowBlocks_.resize(static_cast<std::size_t>(rows), -1);
        rowRanks_.resize(static_cast<std::size_t>(rows), -1);
    }
    cells_ = std::move(cells);
    cols_ = cols;
    rows_ = rows;
    if (static_cast<int>(colWidths.size()) > cols_) colWidths.resize(static_cast<std::size_t>(cols_));
}

void FreqTable::Clear() {
    for (auto& s : cells_) s.clear();
    shades_.clear();
    rowBlocks_.clear();
    rowRanks_.clear();
}

void FreqTable::SetShade(int col, int row, int shade) {
    if (col < 0 || row < 0 || col >= cols_ || row >= rows_) return;
    if (shades_.empty()) {
        if (shade == 0) return;
        shades_.assign(cells_.size(), 0);
    }
    shades_[Index(col, row)] = static_cast<std::uint8_t>(std::clamp(shade, 0, 255));
}

void FreqTable::SetRowBlock(int row, int block, int rank) {
    if (row < 0 || row >= rows_) return;
    if (rowRanks_.empty()) {
        rowBlocks_.assign(static_cast<std::size_t>(rows_), -1);
        rowRanks_.assign(static_cast<std::size_t>(rows_), -1);
    }
    rowBlocks_[static_cast<std::size_t>(row)] = block;
    rowRanks_[static_cast<std::size_t>(row)] = rank;
    rowsInBlockOrder_ = false;
}

bool FreqTable::SortRowsByBlocks() {
    if (rowRanks_.empty()) return false;
    const int first = std::min(fixedRows, rows_);
    std::vector<int> order;
    for (int r = first; r < rows_; ++r) order.push_back(r);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ra = rowRanks_[static_cast<std::size_t>(a)], rb = rowRanks_[static_cast<std::size_t>(b)];
        if ((ra < 0) != (rb < 0)) return rb < 0;
        return ra < rb;
    });
    const auto permute = [&](auto& v, std::size_t width) {
        auto old = v;
        for (std::size_t i = 0; i < order.size(); ++i)
            for (std::size_t k = 0; k < width; ++k)
                v[(static_cast<std::size_t>(first) + i) * width + k] =
                    std::move(old[static_cast<std::size_t>(order[i]) * width + k]);
    };
    permute(cells_, static_cast<std::size_t>(cols_));
    if (!shades_.empty()) permute(shades_, static_cast<std::size_t>(cols_));
    permute(rowBlocks_, 1);
    permute(rowRanks_, 1);
    rowsInBlockOrder_ = true;
    return true;
}

void FreqTable::MoveRow(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= rows_ || to >= rows_) return;
    const auto move = [&](auto& v, std::size_t width) {
        const auto row = [&](int r) {
            return v.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(r) * width);
        };
        if (from < to) std::rotate(row(from), row(from + 1), row(to + 1));
        else std::rotate(row(to), row(from), row(from + 1));
    };
    move(cells_, static_cast<std::size_t>(cols_));
    if (!shades_.empty()) move(shades_, static_cast<std::size_t>(cols_));
    if (!rowRanks_.empty()) {
        move(rowBlocks_, 1);
        move(rowRanks_, 1);
    }
}

void FreqTable::MoveColumn(int from, int to) {
    if (from == to || from < 0 || to < 0 || from >= cols_ || to >= cols_) return;
    for (int r = 0; r < rows_; ++r) {
        const auto move = [&](auto& v) {
            const auto at = [&](int c) { return v.begin() + static_cast<std::ptrdiff_t>(Index(c, r)); };
            if (from < to) std::rotate(at(from), at(from + 1), at(to + 1));
            else std::rotate(at(to), at(from), at(from + 1));
        };
        move(cells_);
        if (!shades_.empty()) move(shades_);
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
