// The table of texts that the second window shows: a constancy table, a score table, or
// what was read from a file. Cells are addressed (column, row) from 0, as in the window's
// grid. It knows nothing of the composition table; the analyses fill it and the window
// only shows, moves and writes its texts.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tavik {

class FreqTable {
public:
    FreqTable() { Resize(5, 5); }

    int ColCount() const { return cols_; }
    int RowCount() const { return rows_; }
    // Keeps the texts that stay inside; new cells are empty. Both counts are at least 1.
    void Resize(int cols, int rows);
    void SetColCount(int cols) { Resize(cols, rows_); }
    void SetRowCount(int rows) { Resize(cols_, rows); }
    void Clear();  // every cell empty, sizes kept

    const std::string& Text(int col, int row) const { return cells_[Index(col, row)]; }
    void SetText(int col, int row, std::string text) { cells_[Index(col, row)] = std::move(text); }

    // Moves one row / column to another place, the others closing up (the user's drag).
    // Shades and row blocks travel with their cells.
    void MoveRow(int from, int to);
    void MoveColumn(int from, int to);

    // What a fidelity adds to a constancy table. A cell's shade is 0 or the number (1..) of
    // the group whose tint it takes: the cells of diagnostic species and the group labels.
    int Shade(int col, int row) const { return shades_.empty() ? 0 : shades_[Index(col, row)]; }
    void SetShade(int col, int row, int shade);
    // Per row: the group whose diagnostic block holds it (-1: the rest), and its place in
    // the order of the blocks (-1: not a species row of such a table).
    int RowBlock(int row) const { return rowBlocks_.empty() ? -1 : rowBlocks_[static_cast<std::size_t>(row)]; }
    int RowRank(int row) const { return rowRanks_.empty() ? -1 : rowRanks_[static_cast<std::size_t>(row)]; }
    void SetRowBlock(int row, int block, int rank);
    bool HasRowBlocks() const { return !rowRanks_.empty(); }
    // Puts the rows below the fixed ones in the order of their places in the blocks (rows
    // without a place after them, in their order). Returns false when there are no blocks.
    bool SortRowsByBlocks();
    // True once the rows were put in the order of the blocks: only then do the rules
    // between blocks mean something.
    bool RowsInBlockOrder() const { return rowsInBlockOrder_; }

    // What the window was given to show it: fixed rows and columns that do not scroll,
    // sizes in pixels (a column width of kDefault takes the default width).
    static constexpr int kDefault = -1;
    int fixedRows = 1;
    int fixedCols = 0;
    int defaultColWidth = 40;
    int defaultRowHeight = 15;
    std::vector<int> colWidths;  // per column; shorter than ColCount means default
    int ColWidth(int col) const;
    void SetColWidth(int col, int w);

    // The width of a printed cell in CP932 bytes; 0 takes the rule by column widths.
    int printCellWidth = 0;

    // The window's caption, which is also the title in every file written from the table.
    std::string caption = "常在度表";  // data, not interface

private:
    std::size_t Index(int col, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(cols_) + static_cast<std::size_t>(col);
    }
    int cols_ = 0, rows_ = 0;
    std::vector<std::string> cells_;         // row by row
    std::vector<std::uint8_t> shades_;       // as the cells; empty while nothing is shaded
    std::vector<int> rowBlocks_, rowRanks_;  // per row; empty while there are no blocks
    bool rowsInBlockOrder_ = false;
};

// The size rule of the second window for a table font of S points: a row is S × 1.333
// rounded (halves to even) plus 2 pixels high.
int FreqRowHeight(int pointSize);

}  // namespace tavik
