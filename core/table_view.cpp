// The table as the grid shows it: the texts of every grid cell (keys, header rows, species
// texts, cells by position) and the rows' and columns' sizes in pixels.
#include <algorithm>
#include <cstdio>
#include <string_view>

#include "core/table.h"

namespace tavik {

void Table::IndexHeaderItems() {
    itemOfRow_.assign(static_cast<std::size_t>(std::max(fnRow_, 0)) + 1, 0);
    rowOfItem_.fill(0);
    for (int row = fnRow_ - 1; row >= 1; --row) {
        long long n = 0;
        if (static_cast<std::size_t>(row) >= fixed_.size() ||
            !ParseInteger(fixed_[static_cast<std::size_t>(row)][0], n) || n < 1 || n > kItemCount)
            continue;
        itemOfRow_[static_cast<std::size_t>(row)] = static_cast<int>(n);
        rowOfItem_[static_cast<std::size_t>(n)] = row;  // the first row of an item wins
    }
}

std::string& Table::FixedCell(int col, int row) {
    if (static_cast<std::size_t>(row) >= fixed_.size()) fixed_.resize(static_cast<std::size_t>(row) + 1);
    return fixed_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

std::string Table::Text(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) return {};
    if (row == 0) {
        if (col >= 3) return std::to_string(releves_.KeyAt(RelevePosOfColumn(col)));
        return fixed_.empty() ? std::string() : fixed_[0][static_cast<std::size_t>(col)];
    }
    if (row <= fnRow_) {
        if (col <= 3)
            return static_cast<std::size_t>(row) < fixed_.size()
                       ? fixed_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)]
                       : std::string();
        return HeaderText(releves_.KeyAt(RelevePosOfColumn(col)), row);
    }
    const int p = row - fnRow_;
    if (p > MaxSpecies()) {
        auto it = extra_.find(LongKey(col, row));
        return it == extra_.end() ? std::string() : it->second;
    }
    const int key = species_.KeyAt(p);
    switch (col) {
        case 0: return std::to_string(key);
        case 1: return sp_[static_cast<std::size_t>(key)].seq;
        case 2: return sp_[static_cast<std::size_t>(key)].name;
        case 3: return sp_[static_cast<std::size_t>(key)].freq;
        default: return CellText(releves_.KeyAt(RelevePosOfColumn(col)), key);
    }
}

void Table::SetText(int col, int row, const std::string& text) {
    if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) return;
    if (row == 0) {
        if (col < 3) FixedCell(col, 0) = text;
        return;
    }
    contentVersion_ = NextVersion();
    if (row <= fnRow_) {
        if (col == 0) {
            FixedCell(col, row) = text;
            IndexHeaderItems();
        } else if (col <= 3) {
            FixedCell(col, row) = text;
        } else SetHeaderText(releves_.KeyAt(RelevePosOfColumn(col)), row, text);
        return;
    }
    const int p = row - fnRow_;
    if (p > MaxSpecies()) {
        if (text.empty()) extra_.erase(LongKey(col, row));
        else extra_[LongKey(col, row)] = text;
        return;
    }
    const int key = species_.KeyAt(p);
    switch (col) {
        case 0: return;
        case 1: sp_[static_cast<std::size_t>(key)].seq = text; return;
        case 2: sp_[static_cast<std::size_t>(key)].name = text; return;
        case 3: sp_[static_cast<std::size_t>(key)].freq = text; return;
        default: SetCellText(releves_.KeyAt(RelevePosOfColumn(col)), key, text);
    }
}

int Table::DefaultColWidth() const { return static_cast<int>(RoundHalfEven(FontSize * 4 * 0.778)); }
int Table::DefaultRowHeight() const { return static_cast<int>(RoundHalfEven(FontSize * 1.333 + 2)); }

std::int32_t Table::WholeNumberAt(int col, int row) const {
    if (col < 0 || row <= 0 || col >= ColCount() || row >= rowCount_) return 0;
    if (row <= fnRow_) {
        if (col < 4) return 0;
        const Releve& r = rel_[static_cast<std::size_t>(releves_.KeyAt(RelevePosOfColumn(col)))];
        // The count of species is written after the number when both share a row.
        return row == fnRow_ ? r.countWhole : row == 1 ? r.numberWhole : 0;
    }
    const int p = row - fnRow_;
    if (p > MaxSpecies() || (col != 1 && col != 3)) return 0;
    const Species& s = sp_[static_cast<std::size_t>(species_.KeyAt(p))];
    return col == 1 ? s.seqWhole : s.freqWhole;
}

namespace {

// Whether `text` is what the table writes for `n` in four characters, n having more digits.
bool CutFrom(std::string_view text, std::int32_t n) {
    if (n <= 9999 || text.size() != 4) return false;
    char digits[16];
    const int len = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(n));
    return len > 4 && std::string_view(digits, 4) == text;
}

}  // namespace

std::string Table::ShownText(int col, int row) const {
    std::string text = Text(col, row);
    const std::int32_t n = WholeNumberAt(col, row);
    if (CutFrom(text, n)) return std::to_string(n);
    return text;
}

int Table::ShownColWidth(int col) const {
    const int w = ColWidth(col);
    if (w <= 0) return w;
    std::int32_t widest = 0;
    if (col == 1 || col == 3) {
        for (int p = 1; p <= SpeciesCount(); ++p) {
            const Species& s = sp_[static_cast<std::size_t>(species_.KeyAt(p))];
            const std::int32_t n = col == 1 ? s.seqWhole : s.freqWhole;
            if (n > widest && CutFrom(col == 1 ? s.seq : s.freq, n)) widest = n;
        }
    } else if (col >= 4) {
        // The texts are looked at in place: the layout asks this of every column.
        for (int row : {1, fnRow_}) {
            const std::int32_t n = WholeNumberAt(col, row);
            if (n > widest &&
                CutFrom(rel_[static_cast<std::size_t>(releves_.KeyAt(RelevePosOfColumn(col)))].head.Get(row), n))
                widest = n;
        }
    }
    if (widest == 0) return w;
    // The default width holds four digits; each further digit adds a quarter of it.
    const int digits = static_cast<int>(std::to_string(widest).size());
    return std::max(w, (DefaultColWidth() * digits + 3) / 4 + 1);
}

int Table::ColWidth(int col) const {
    if (col < 0 || static_cast<std::size_t>(col) >= colWidths_.size()) return DefaultColWidth();
    const int w = colWidths_[static_cast<std::size_t>(col)];
    return w == kDefaultSize ? DefaultColWidth() : w;
}

int Table::RowHeight(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rowHeights_.size()) return DefaultRowHeight();
    const int h = rowHeights_[static_cast<std::size_t>(row)];
    return h == kDefaultSize ? DefaultRowHeight() : h;
}

void Table::SetColWidth(int col, int w) {
    if (col < 0 || col >= ColCount()) return;
    if (static_cast<std::size_t>(col) >= colWidths_.size())
        colWidths_.resize(static_cast<std::size_t>(col) + 1, kDefaultSize);
    colWidths_[static_cast<std::size_t>(col)] = w;
    layoutVersion_ = NextVersion();
}

void Table::SetRowHeight(int row, int h) {
    if (row < 0 || row >= rowCount_) return;
    if (static_cast<std::size_t>(row) >= rowHeights_.size())
        rowHeights_.resize(static_cast<std::size_t>(row) + 1, kDefaultSize);
    rowHeights_[static_cast<std::size_t>(row)] = h;
    layoutVersion_ = NextVersion();
}

void Table::ResetSizes() {
    colWidths_.assign(static_cast<std::size_t>(ColCount()), kDefaultSize);
    rowHeights_.assign(static_cast<std::size_t>(rowCount_), kDefaultSize);
    colWidths_[0] = 1;
    colWidths_[2] = 7 * DefaultColWidth();
    rowHeights_[0] = 1;
    layoutVersion_ = NextVersion();
}

}  // namespace tavik
