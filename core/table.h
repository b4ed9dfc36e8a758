// The composition table: relevé columns and species rows on keys and positions.
//
// Content lives under keys. A relevé key owns its header values and its cells; a species
// key owns its name, sequence number and frequency texts; the pair (relevé key, species key)
// owns one cell's text and its seven cover values. What the user sees is two permutations
// (position -> relevé key, position -> species key). Moving, sorting, inserting and deleting
// permute keys and never copy cell content; the grid texts are a view computed from this.
//
// Grid coordinates are (column, row) from 0. Relevé position q is grid column
// ReleveColumn(q) (q = 0 is the frequency column, key 0); species position p is grid row
// FNRow + p.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/covers.h"
#include "core/header_texts.h"
#include "core/table_axis.h"

namespace tavik {

inline constexpr int kItemCount = 30;

// One header item: its name, whether it has a header row, whether it is chosen for output.
struct ItemBox {
    std::string caption;
    bool enabled = false;
    bool checked = false;
};

// The names of the thirty item boxes before any settings are applied.
const std::array<const char*, kItemCount + 1>& InitialItemCaptions();

// A cell of one relevé: the species key, its covers and its text. Texts of up to four bytes
// (every cell code) are kept inline; longer texts live in the table's overflow map.
struct Cell {
    std::int32_t species = 0;
    LayerCovers covers{};
    std::uint8_t len = 0;  // 0..4 inline; kLongText: see the overflow map
    char text[4] = {0, 0, 0, 0};
};
inline constexpr std::uint8_t kLongText = 0xFF;
inline constexpr int kDefaultSize = -1000000;

// Which lines of the table something acts on: species rows or relevé columns.
enum class Axis { Species, Releves };

// The permutation that undoes Table::PermuteSpecies / PermuteReleves(first, order).
std::vector<int> InverseOrder(int first, const std::vector<int>& order);

// ---- What undoable changes keep (see "Reversing changes" below) -------------------------

// What a recount wrote that a fresh recount would not write again: (key, text) for a
// species' sequence number or frequency (slot 0 / 1) or a relevé's number or count of
// species (header row 1 / FNRow), and (position, count) for the positional counts.
struct CountMemo {
    struct Text {
        int key = 0;
        int slot = 0;
        std::string text;
        std::int32_t whole = 0;  // the number behind the text (see Table::ShownText)
    };
    std::vector<Text> texts;
    std::vector<std::pair<int, std::int32_t>> occurrences;
    bool empty() const { return texts.empty() && occurrences.empty(); }
};

// All a species key owns: its texts and its cells in every relevé (longer texts beside).
struct SpeciesContent {
    int key = 0;
    std::string seq, name, freq;
    std::int32_t seqWhole = 0, freqWhole = 0;
    std::vector<std::pair<int, Cell>> cells;  // (relevé key, cell)
    std::vector<std::string> longTexts;       // for the cells with kLongText, in order
};

// All a relevé key owns: its cells, header texts and record.
struct ReleveContent {
    int key = 0;
    std::vector<Cell> cells;
    std::vector<std::string> longTexts;  // for the cells with kLongText, in order
    HeaderTexts head;
    LayerCovers record{};
    std::int32_t numberWhole = 0, countWhole = 0;
};

// The capacities and the grid's size (growth adds keys; giving it back drops them).
struct TableShape {
    int maxSpecies = 0, maxReleve = 0, rowCount = 0;
    std::size_t rowSizes = 0, colSizes = 0;
    std::unordered_map<std::uint64_t, std::string> extra;
};

// What a deletion with its cascades took out: (position, content), positions ascending.
struct RemovedLines {
    std::vector<std::pair<int, SpeciesContent>> species;
    std::vector<std::pair<int, ReleveContent>> releves;
    Axis axis = Axis::Species;  // what was deleted (a column's cascade takes species rows)
};

// One inserted row or column: where, and what its key held as a spare before.
struct InsertedLine {
    Axis axis = Axis::Species;
    int pos = 0;
    TableShape shape;
    SpeciesContent spareSpecies;
    ReleveContent spareReleve;
};

// The used counts, the shape, the content of the lines from given positions on and the
// recount memos: the state an append changed.
struct TableTail {
    int speciesCount = 0, releveCount = 0;
    TableShape shape;
    int speciesFrom = 1, relevesFrom = 1;
    std::vector<SpeciesContent> species;
    std::vector<ReleveContent> releves;
    CountMemo speciesCounts, releveCounts;
};

class Table {
public:
    Table();

    // ---- Model state -------------------------------------------------------------------
    int MaxSpecies() const { return species_.Capacity(); }
    int MaxReleve() const { return releves_.Capacity(); }
    int FNRow() const { return fnRow_; }  // the F＼N row: the last header row, above the species
    int SpeciesCount() const { return species_.Count(); }
    int ReleveCount() const { return releves_.Count(); }
    int CodeK = 5;  // the "K=" code of the field data last read; each relevé keeps its own
    int CodeD = 2;  // the "D=" code: how covers are written, 1 class only, 2 class.sociability
    std::string TableTitle;
    std::string FontName = "ＭＳ 明朝";  // data, not interface
    int FontSize = 9;

    std::array<ItemBox, kItemCount + 1> ItemBoxes;  // entries 1..30

    // Positional counts, valid after a recount; entry 0 unused. SpFreq: the relevés each
    // species occurs in; RelNumSp: the species in each relevé.
    const std::vector<std::int32_t>& SpFreq() const { return species_.Occurrences(); }
    const std::vector<std::int32_t>& RelNumSp() const { return releves_.Occurrences(); }
    // Counts the occurrences as they are now, by position (entry 0 unused): the species rows
    // with a non-empty cell in each used relevé column, and the relevé columns with a
    // non-empty cell in each used species row. Either output may be null.
    void CountOccurrences(std::vector<int>* perReleve, std::vector<int>* perSpecies) const;

    // Resets capacities, counters and every cover; does not lay out the grid.
    void InitTableModel();

    // ---- Keys and positions --------------------------------------------------------------
    // The grid column of relevé position q (position 0, the frequency column, is column 3),
    // and the position of a grid column.
    static constexpr int ReleveColumn(int q) { return q + 3; }
    static constexpr int RelevePosOfColumn(int col) { return col - 3; }
    int ReleveKeyAt(int q) const { return releves_.KeyAt(q); }
    int SpeciesKeyAt(int p) const { return species_.KeyAt(p); }
    int RelevePosOf(int key) const { return releves_.PosOf(key); }
    int SpeciesPosOf(int key) const { return species_.PosOf(key); }
    // Grid helpers: -1 when the row / column carries no species / relevé key.
    int SpeciesKeyOfRow(int row) const;
    int ReleveKeyOfCol(int col) const;
    bool IsUsedSpeciesRow(int row) const { return species_.IsUsed(row - fnRow_); }
    bool IsUsedReleveCol(int col) const { return releves_.IsUsed(RelevePosOfColumn(col)); }
    // Where an empty row / column can go: above a used species row or the first spare one,
    // left of a used relevé column or the first spare one.
    bool IsInsertableRow(int row) const { return row > fnRow_ && row <= fnRow_ + SpeciesCount() + 1; }
    bool IsInsertableCol(int col) const { return col >= ReleveColumn(1) && col <= ReleveColumn(ReleveCount() + 1); }

    // ---- Cells by key ------------------------------------------------------------------
    LayerCovers Covers(int relKey, int spKey) const;
    void SetCovers(int relKey, int spKey, const LayerCovers& c);
    std::string CellText(int relKey, int spKey) const;
    bool CellEmpty(int relKey, int spKey) const;  // empty text
    void SetCellText(int relKey, int spKey, const std::string& text);
    // Sets text and covers at once (what putting a relevé into the table does).
    void SetCell(int relKey, int spKey, const std::string& text, const LayerCovers& c);
    // Sets many cells of one relevé at once, as SetCell would one after the other (a later
    // cell of the same species wins). Texts are those held in the cells (at most four
    // bytes). The range is reordered.
    void SetCells(int relKey, Cell* first, Cell* last);
    // The compact cells of one relevé, ordered by species key. Text through CellTextOf.
    const std::vector<Cell>& CellsOf(int relKey) const { return rel_[static_cast<std::size_t>(relKey)].cells; }
    std::string CellTextOf(int relKey, const Cell& c) const;
    // The relevé's own record: byte 0 CodeK, byte 1 CodeD when it entered the table.
    LayerCovers ReleveRecord(int relKey) const { return rel_[static_cast<std::size_t>(relKey)].record; }
    void SetReleveRecord(int relKey, const LayerCovers& c) { rel_[static_cast<std::size_t>(relKey)].record = c; }

    // Species texts by key (column 1 sequence number, 2 name, 3 frequency).
    const std::string& SpeciesName(int spKey) const { return sp_[static_cast<std::size_t>(spKey)].name; }
    void SetSpeciesName(int spKey, std::string name) {
        sp_[static_cast<std::size_t>(spKey)].name = std::move(name);
        contentVersion_ = NextVersion();
    }
    // The header rows and their items: each header row 1..FNRow-1 carries its item's number
    // (1..30) in column 0. HeaderRowOfItem gives the first row of an item, 0 when the table
    // has none; ItemOfHeaderRow the item of a row, 0 for none.
    int HeaderRowOfItem(int item) const {
        return item >= 1 && item <= kItemCount ? rowOfItem_[static_cast<std::size_t>(item)] : 0;
    }
    int ItemOfHeaderRow(int row) const {
        return row >= 1 && row < fnRow_ && static_cast<std::size_t>(row) < itemOfRow_.size()
                   ? itemOfRow_[static_cast<std::size_t>(row)]
                   : 0;
    }
    // Header text of a relevé in grid row 1..FNRow.
    std::string HeaderText(int relKey, int row) const;
    void SetHeaderText(int relKey, int row, const std::string& text);

    // ---- Grid view ----------------------------------------------------------------------
    int RowCount() const { return rowCount_; }
    int ColCount() const { return ReleveColumn(MaxReleve()) + 1; }
    int FixedRows() const { return fixedRows_; }
    int FixedCols() const { return 4; }
    std::string Text(int col, int row) const;
    // Writes a cell as editing or loading does. Key cells (row 0 of relevé columns, column 0
    // of keyed species rows) are not written: keys are integers by construction.
    void SetText(int col, int row, const std::string& text);

    // Sizes: positive = pixels, 0 = only the grid line, -1 = hidden with its line.
    int DefaultColWidth() const;
    int DefaultRowHeight() const;
    int ColWidth(int col) const;
    int RowHeight(int row) const;
    // What the grid shows: the text, except that a number the table wrote itself (a
    // species' sequence number or frequency, a relevé's number or count of species) shows
    // whole where its text, as saved files hold it, keeps only the first four digits
    // ("6973" for 69,731). A text edited since shows as it is. Files and outputs use Text().
    std::string ShownText(int col, int row) const;
    // The width the grid gives a column: ColWidth(), widened for the whole numbers it shows.
    int ShownColWidth(int col) const;
    void SetColWidth(int col, int w);
    void SetRowHeight(int row, int h);
    void ResetSizes();
    // Bumped whenever row or column sizes or counts change (views cache their offsets on it).
    std::uint64_t LayoutVersion() const { return layoutVersion_; }
    // Bumped on every change of content or order.
    std::uint64_t ContentVersion() const { return contentVersion_; }

    // ---- Growth, layout, recount --------------------------------------------------------
    // An empty table with the header rows of the enabled items.
    void ClearTable();
    // With relevés: the item boxes follow the header rows (their item numbers in column 0).
    // Without: the header rows are laid out anew from the enabled item boxes.
    void LayOutHeaderRows();
    // Makes room for relevé position q / species position p (growing in steps of 8 / 16) and
    // empties the positions from there on; false when memory runs out.
    bool GrowRelevesTo(int q);
    bool GrowSpeciesTo(int p);
    // Number the relevés / species that have occurrences 1, 2, 3 ... and write each one's
    // count beside its number.
    void RecountReleves();
    void RecountSpecies();
    void Recount() {
        RecountReleves();
        RecountSpecies();
    }

    // Makes the table exactly S species, R relevés and FNRow f, keys equal to positions,
    // everything empty (the first step of loading a saved table).
    void ResetForLoad(int species, int releves, int fnRow);

    // ---- Editing ------------------------------------------------------------------------
    // Each returns false and changes nothing when the row/column is not a used one.
    bool DeleteRow(int row);
    bool DeleteColumn(int col);
    // The delete commands with their cascades (relevés left without species, species and
    // comment rows left without occurrences disappear).
    bool DeleteRowCommand(int row);
    bool DeleteColumnCommand(int col);
    // Insert an empty row above `row` (a used species row or the first spare row) / an empty
    // column left of `col` (a used relevé column or the first spare one).
    bool InsertRow(int row);
    bool InsertColumn(int col);
    bool SetComment(int row, const std::string& text);
    // Moves one used species row / relevé column to another used position (a drag).
    bool MoveRow(int from, int to);
    bool MoveColumn(int from, int to);
    // Applies a permutation of the positions first..last: order[i] is the position (in
    // first..last) whose key goes to position first + i.
    void PermuteSpecies(int first, const std::vector<int>& order);
    void PermuteReleves(int first, const std::vector<int>& order);

    // Appends a new species row (the next position) named `name`; grows when needed.
    // Returns the new position, or 0 when growing failed.
    int AppendSpecies(const std::string& name);
    // Appends a new relevé column; returns its position or 0.
    int AppendReleve();

    // ---- Reversing changes (table_undo.cpp) ---------------------------------------------
    // What an undoable change keeps to take itself back: never a copy of the table, only
    // what the change overwrote. Each Restore expects the table exactly as the change left
    // it (the undo history guarantees that order).

    // The texts and counts a recount of one dimension writes, kept as their differences
    // from what a fresh recount writes: empty when the table was counted, as it nearly
    // always is. Memo* leaves the table as it was; Restore* recounts and puts the
    // differences back.
    CountMemo MemoSpeciesCounts();
    CountMemo MemoReleveCounts();
    void RestoreSpeciesCounts(const CountMemo& memo);
    void RestoreReleveCounts(const CountMemo& memo);

    // Everything a species key or a relevé key owns, to be put back under the same key.
    SpeciesContent CopySpecies(int spKey) const;
    ReleveContent CopyReleve(int relKey) const;
    // Replaces the key's whole content with `c` (cells the key holds now go).
    void PutSpecies(const SpeciesContent& c);
    void PutReleve(const ReleveContent& c);

    // The capacities and the grid's size, so that growth can be given back.
    TableShape Shape() const;
    void RestoreShape(const TableShape& shape);

    // Deletion and insertion that report what they did (see the types above).
    bool DeleteRowCommand(int row, RemovedLines* removed);
    bool DeleteColumnCommand(int col, RemovedLines* removed);
    // Brings removed lines back at their former positions with their content.
    void PutBack(const RemovedLines& removed);
    // An insertion that fails (no memory to grow) leaves the table as it was.
    bool InsertRow(int row, InsertedLine* inserted);
    bool InsertColumn(int col, InsertedLine* inserted);
    // Takes an inserted line out again and gives back what it replaced.
    void TakeBack(const InsertedLine& inserted);

    // The used lines from given positions on, with their content and the counts: what an
    // append (retrieval into the table) added, or the spare lines it is about to reuse.
    TableTail CopyTail(int speciesFrom, int speciesTo, int relevesFrom, int relevesTo);
    void RestoreTail(const TableTail& tail);

private:
    static std::uint64_t NextVersion();
    // Beside each number the table writes in four characters, the number itself (0 when
    // none was written): what ShownText shows while the text is still that number's.
    struct Species {
        std::string seq, name, freq;
        std::int32_t seqWhole = 0, freqWhole = 0;
    };
    struct Releve {
        std::vector<Cell> cells;       // by species key
        HeaderTexts head;              // grid rows 1..FNRow
        LayerCovers record{};          // species key 0
        std::int32_t numberWhole = 0;  // header row 1
        std::int32_t countWhole = 0;   // row FNRow
    };
    // What a recount of the relevés finds at each position 1..ReleveCount() (index 0
    // unused): the count of species, and the running number (0 for a relevé without any).
    struct FreshNumbers {
        std::int32_t count = 0, number = 0;
    };
    std::vector<FreshNumbers> FreshReleveNumbers() const;
    // What a recount writes for a count or a number: four characters, or nothing for none.
    static std::string CountText(std::int32_t n);
    // The whole number behind the text of a cell, 0 when there is none.
    std::int32_t WholeNumberAt(int col, int row) const;
    // Notes that numbers over four digits were written: the widths of the columns that show
    // them may change, so the layout is renewed.
    void NoteWholeNumber(std::int32_t n) {
        if (n > 9999) wideNumbers_ = true;
    }
    void RenewLayoutForWideNumbers(bool before) {
        if (before || wideNumbers_) layoutVersion_ = NextVersion();
    }

    Cell* FindCell(int relKey, int spKey);
    const Cell* FindCell(int relKey, int spKey) const;
    Cell& GetOrAddCell(int relKey, int spKey);
    void StoreText(int relKey, Cell& c, const std::string& text);
    void DropIfEmpty(int relKey, int spKey);
    void ClearReleveContent(int relKey);
    void ClearSpeciesContent(int spKey);
    void ClearSpeciesContents(const std::vector<int>& spKeys);
    std::vector<SpeciesContent> CopySpeciesMany(const std::vector<int>& spKeys) const;
    // Visits the position of every species that occurs in the relevé of key `relKey`.
    template <class Visit>
    void ForEachOccurrenceOfKey(int relKey, Visit visit) const;
    void GrowReleves(int capacity);
    void GrowSpecies(int capacity);
    std::string& FixedCell(int col, int row);
    void IndexHeaderItems();
    static std::uint64_t LongKey(int relKey, int spKey) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(relKey)) << 32) |
               static_cast<std::uint32_t>(spKey);
    }

    int fnRow_ = 31;
    int rowCount_ = 0, fixedRows_ = 32;

    TableAxis species_, releves_;
    std::vector<Releve> rel_;  // by relevé key
    std::vector<Species> sp_;  // by species key
    std::unordered_map<std::uint64_t, std::string> longTexts_;
    // Columns 0..3 of rows 0..FNRow.
    std::vector<std::array<std::string, 4>> fixed_;
    // The item numbers of column 0, read once when written (IndexHeaderItems).
    std::vector<int> itemOfRow_;
    std::array<int, kItemCount + 1> rowOfItem_{};
    // Cells past the keyed rows (rows of a cleared grid beyond the species capacity).
    std::unordered_map<std::uint64_t, std::string> extra_;

    std::vector<int> rowHeights_, colWidths_;  // kDefaultSize: the default size
    std::uint64_t layoutVersion_ = 0, contentVersion_ = 0;
    bool wideNumbers_ = false;  // some number written had more than four digits
};

}  // namespace tavik
