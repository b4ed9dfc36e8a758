#include "core/table.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace tavik {

const std::array<const char*, kItemCount + 1>& InitialItemCaptions() {
    static const std::array<const char*, kItemCount + 1> names = {
        "",
        "表の通し番号", "測定番号", "調査地名", "調査年月日", "調査地緯度（度分秒）",
        "調査地経度（度分秒）", "地理区画コード", "調査地標高(m)", "傾斜方位", "傾斜角度",
        "地形位置", "微地形", "表層地質", "土壌型", "調査面積（㎡）",
        "高 木 層高さ（m）", "亜高木層高さ（m）", "低木層１高さ（m）", "低木層２高さ（m）",
        "草本層１高さ（m）", "草本層２高さ（m）", "コ ケ 層高さ（m）", "高 木 層植被率（%）",
        "亜高木層植被率（%）", "低木層１植被率（%）", "低木層２植被率（%）",
        "草本層１植被率（%）", "草本層２植被率（%）", "コ ケ 層植被率（%）", "出現種数"};
    return names;
}

namespace {

// Versions never repeat, not even across tables, so a view that caches on (table, version)
// cannot mistake a new table for the one it saw.
std::uint64_t NextVersion() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

}  // namespace

Table::Table() {
    for (int n = 1; n <= kItemCount; ++n) ItemBoxes[n].caption = InitialItemCaptions()[n];
    InitTableModel();
    rowCount_ = maxSpecies_ + 32;
    fixed_.assign(static_cast<std::size_t>(fnRow_) + 1, {});
    ResetSizes();
}

void Table::InitTableModel() {
    maxReleve_ = 23;
    maxSpecies_ = 127;
    fnRow_ = 31;
    CodeK = 5;
    CodeD = 2;
    rel_.clear();
    sp_.clear();
    relKeyAt_.clear();
    relPosOf_.clear();
    spKeyAt_.clear();
    spPosOf_.clear();
    longTexts_.clear();
    ResizeReleves(maxReleve_);
    ResizeSpecies(maxSpecies_);
    std::fill(spFreq_.begin(), spFreq_.end(), 0);
    std::fill(relNumSp_.begin(), relNumSp_.end(), 0);
    speciesCount_ = 0;
    releveCount_ = 0;
    contentVersion_ = NextVersion();
}

void Table::ResizeReleves(int newMax) {
    const int old = static_cast<int>(rel_.size()) - 1;
    rel_.resize(static_cast<std::size_t>(newMax) + 1);
    relKeyAt_.resize(static_cast<std::size_t>(newMax) + 1);
    relPosOf_.resize(static_cast<std::size_t>(newMax) + 1);
    for (int q = old + 1; q <= newMax; ++q) relKeyAt_[q] = relPosOf_[q] = q;
    relNumSp_.resize(static_cast<std::size_t>(newMax) + 1, 0);
    maxReleve_ = newMax;
    colWidths_.resize(static_cast<std::size_t>(newMax) + 4, kDefaultSize);
    layoutVersion_ = NextVersion();
}

void Table::ResizeSpecies(int newMax) {
    const int old = static_cast<int>(sp_.size()) - 1;
    sp_.resize(static_cast<std::size_t>(newMax) + 1);
    spKeyAt_.resize(static_cast<std::size_t>(newMax) + 1);
    spPosOf_.resize(static_cast<std::size_t>(newMax) + 1);
    for (int p = old + 1; p <= newMax; ++p) spKeyAt_[p] = spPosOf_[p] = p;
    spFreq_.resize(static_cast<std::size_t>(newMax) + 1, 0);
    maxSpecies_ = newMax;
    layoutVersion_ = NextVersion();
}

int Table::SpeciesKeyOfRow(int row) const {
    const int p = row - fnRow_;
    if (p < 1 || p > maxSpecies_ || row >= rowCount_) return -1;
    return spKeyAt_[p];
}

int Table::ReleveKeyOfCol(int col) const {
    const int q = col - 3;
    if (q < 0 || q > maxReleve_) return -1;
    return relKeyAt_[q];
}

// ---- Cells ---------------------------------------------------------------------------

const Cell* Table::FindCell(int relKey, int spKey) const {
    const auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    auto it = std::lower_bound(v.begin(), v.end(), spKey,
                               [](const Cell& c, int k) { return c.species < k; });
    return (it != v.end() && it->species == spKey) ? &*it : nullptr;
}

Cell* Table::FindCell(int relKey, int spKey) {
    return const_cast<Cell*>(static_cast<const Table*>(this)->FindCell(relKey, spKey));
}

Cell& Table::GetOrAddCell(int relKey, int spKey) {
    auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    // Retrieval appends in rising key order most of the time.
    if (v.empty() || v.back().species < spKey) {
        v.push_back(Cell{});
        v.back().species = spKey;
        return v.back();
    }
    auto it = std::lower_bound(v.begin(), v.end(), spKey,
                               [](const Cell& c, int k) { return c.species < k; });
    if (it != v.end() && it->species == spKey) return *it;
    it = v.insert(it, Cell{});
    it->species = spKey;
    return *it;
}

void Table::StoreText(int relKey, Cell& c, const std::string& text) {
    if (c.len == kLongText) longTexts_.erase(LongKey(relKey, c.species));
    if (text.size() <= 4) {
        c.len = static_cast<std::uint8_t>(text.size());
        std::memcpy(c.text, text.data(), text.size());
    } else {
        c.len = kLongText;
        longTexts_[LongKey(relKey, c.species)] = text;
    }
}

std::string Table::CellTextOf(int relKey, const Cell& c) const {
    if (c.len == kLongText) {
        auto it = longTexts_.find(LongKey(relKey, c.species));
        return it == longTexts_.end() ? std::string() : it->second;
    }
    return std::string(c.text, c.len);
}

void Table::DropIfEmpty(int relKey, int spKey) {
    auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    auto it = std::lower_bound(v.begin(), v.end(), spKey,
                               [](const Cell& c, int k) { return c.species < k; });
    if (it != v.end() && it->species == spKey && it->len == 0 && it->covers.empty()) v.erase(it);
}

LayerCovers Table::Covers(int relKey, int spKey) const {
    if (spKey == 0) return rel_[static_cast<std::size_t>(relKey)].record;
    const Cell* c = FindCell(relKey, spKey);
    return c ? c->covers : EmptyLayers;
}

void Table::SetCovers(int relKey, int spKey, const LayerCovers& cv) {
    if (spKey == 0) {
        rel_[static_cast<std::size_t>(relKey)].record = cv;
        return;
    }
    if (cv.empty()) {
        if (Cell* c = FindCell(relKey, spKey)) c->covers = cv;
        DropIfEmpty(relKey, spKey);
    } else {
        GetOrAddCell(relKey, spKey).covers = cv;
    }
    contentVersion_ = NextVersion();
}

std::string Table::CellText(int relKey, int spKey) const {
    const Cell* c = FindCell(relKey, spKey);
    return c ? CellTextOf(relKey, *c) : std::string();
}

bool Table::CellEmpty(int relKey, int spKey) const {
    const Cell* c = FindCell(relKey, spKey);
    return !c || c->len == 0;
}

void Table::SetCellText(int relKey, int spKey, const std::string& text) {
    if (text.empty()) {
        if (Cell* c = FindCell(relKey, spKey)) StoreText(relKey, *c, text);
        DropIfEmpty(relKey, spKey);
    } else {
        StoreText(relKey, GetOrAddCell(relKey, spKey), text);
    }
    contentVersion_ = NextVersion();
}

void Table::SetCell(int relKey, int spKey, const std::string& text, const LayerCovers& cv) {
    Cell& c = GetOrAddCell(relKey, spKey);
    c.covers = cv;
    StoreText(relKey, c, text);
    DropIfEmpty(relKey, spKey);
    contentVersion_ = NextVersion();
}

void Table::SetCells(int relKey, std::vector<Cell>& cells) {
    auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    if (!v.empty()) {
        for (const Cell& c : cells)
            SetCell(relKey, c.species, std::string(c.text, c.len), c.covers);
        return;
    }
    // A new column: sort once, keep the last cell of each species, and size the storage
    // to what it holds.
    std::stable_sort(cells.begin(), cells.end(), [](const Cell& a, const Cell& b) { return a.species < b.species; });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i + 1 < cells.size() && cells[i + 1].species == cells[i].species) continue;
        if (cells[i].len == 0 && cells[i].covers.empty()) continue;
        cells[kept++] = cells[i];
    }
    v.assign(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(kept));
    contentVersion_ = NextVersion();
}

std::string Table::HeaderText(int relKey, int row) const {
    const auto& h = rel_[static_cast<std::size_t>(relKey)].head;
    return static_cast<std::size_t>(row) < h.size() ? h[static_cast<std::size_t>(row)] : std::string();
}

void Table::SetHeaderText(int relKey, int row, std::string text) {
    auto& h = rel_[static_cast<std::size_t>(relKey)].head;
    if (static_cast<std::size_t>(row) >= h.size()) {
        if (text.empty()) return;
        h.resize(static_cast<std::size_t>(std::max(row, fnRow_)) + 1);
    }
    h[static_cast<std::size_t>(row)] = std::move(text);
    contentVersion_ = NextVersion();
}

void Table::ClearReleveContent(int relKey) {
    auto& r = rel_[static_cast<std::size_t>(relKey)];
    for (const Cell& c : r.cells)
        if (c.len == kLongText) longTexts_.erase(LongKey(relKey, c.species));
    r.cells.clear();
    r.cells.shrink_to_fit();
    r.head.clear();
    r.record = EmptyLayers;
    contentVersion_ = NextVersion();
}

void Table::ClearSpeciesContent(int spKey) {
    sp_[static_cast<std::size_t>(spKey)] = Species{};
    for (int r = 0; r <= maxReleve_; ++r) {
        Cell* c = FindCell(r, spKey);
        if (!c) continue;
        StoreText(r, *c, std::string());
        c->covers = EmptyLayers;
        DropIfEmpty(r, spKey);
    }
    contentVersion_ = NextVersion();
}

// ---- Grid view -------------------------------------------------------------------------

std::string& Table::FixedCell(int col, int row) {
    if (static_cast<std::size_t>(row) >= fixed_.size()) fixed_.resize(static_cast<std::size_t>(row) + 1);
    return fixed_[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
}

std::string Table::Text(int col, int row) const {
    if (col < 0 || row < 0 || col >= ColCount() || row >= rowCount_) return {};
    if (row == 0) {
        if (col >= 3) return std::to_string(relKeyAt_[col - 3]);
        return fixed_.empty() ? std::string() : fixed_[0][col];
    }
    if (row <= fnRow_) {
        if (col <= 3)
            return static_cast<std::size_t>(row) < fixed_.size() ? fixed_[row][col] : std::string();
        return HeaderText(relKeyAt_[col - 3], row);
    }
    const int p = row - fnRow_;
    if (p > maxSpecies_) {
        auto it = extra_.find(LongKey(col, row));
        return it == extra_.end() ? std::string() : it->second;
    }
    const int key = spKeyAt_[p];
    switch (col) {
        case 0: return std::to_string(key);
        case 1: return sp_[key].seq;
        case 2: return sp_[key].name;
        case 3: return sp_[key].freq;
        default: return CellText(relKeyAt_[col - 3], key);
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
        if (col <= 3) FixedCell(col, row) = text;
        else SetHeaderText(relKeyAt_[col - 3], row, text);
        return;
    }
    const int p = row - fnRow_;
    if (p > maxSpecies_) {
        if (text.empty()) extra_.erase(LongKey(col, row));
        else extra_[LongKey(col, row)] = text;
        return;
    }
    const int key = spKeyAt_[p];
    switch (col) {
        case 0: return;
        case 1: sp_[key].seq = text; return;
        case 2: sp_[key].name = text; return;
        case 3: sp_[key].freq = text; return;
        default: SetCellText(relKeyAt_[col - 3], key, text);
    }
}

void Table::ClearTextRow(int row) {
    for (int c = 0; c < ColCount(); ++c) SetText(c, row, std::string());
}

int Table::DefaultColWidth() const { return static_cast<int>(RoundHalfEven(FontSize * 4 * 0.778)); }
int Table::DefaultRowHeight() const { return static_cast<int>(RoundHalfEven(FontSize * 1.333 + 2)); }

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
    if (static_cast<std::size_t>(col) >= colWidths_.size()) colWidths_.resize(col + 1, kDefaultSize);
    colWidths_[static_cast<std::size_t>(col)] = w;
    layoutVersion_ = NextVersion();
}

void Table::SetRowHeight(int row, int h) {
    if (row < 0 || row >= rowCount_) return;
    if (static_cast<std::size_t>(row) >= rowHeights_.size()) rowHeights_.resize(row + 1, kDefaultSize);
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

// ---- Growth, layout, recount ---------------------------------------------------------------

void Table::ClearTable() {
    speciesCount_ = 0;
    releveCount_ = 0;
    extra_.clear();
    for (auto& row : fixed_) row = {};
    InitTableModel();
    rowCount_ = maxSpecies_ + 32;
    for (int q = 0; q <= maxReleve_; ++q) {
        relNumSp_[q] = 0;
        if (q > 0) SetHeaderText(q, 1, MakeNumber4(q));
    }
    FixedCell(3, 1).clear();
    ReNewTable();
}

void Table::ReNewTable() {
    if (releveCount_ > 0) {
        for (int n = 1; n <= kItemCount; ++n) ItemBoxes[n].enabled = ItemBoxes[n].checked = false;
        for (int r = 1; r <= fnRow_ - 1; ++r) {
            long long n = 0;
            if (!ParseInteger(FixedCell(0, r), n) || n < 1 || n > kItemCount) continue;
            FixedCell(2, r) = ItemBoxes[n].caption;
            ItemBoxes[n].enabled = ItemBoxes[n].checked = true;
        }
    } else {
        int r = 1;
        std::vector<std::array<std::string, 4>> fixed(1);
        if (!fixed_.empty()) fixed[0] = fixed_[0];
        for (int n = 1; n <= kItemCount; ++n) {
            if (!ItemBoxes[n].enabled) continue;
            std::array<std::string, 4> line;
            line[0] = std::to_string(n);
            line[2] = ItemBoxes[n].caption;
            if (static_cast<std::size_t>(r) < fixed_.size()) {
                line[1] = fixed_[r][1];
                line[3] = fixed_[r][3];
            }
            fixed.push_back(std::move(line));
            ++r;
        }
        fnRow_ = r;
        std::array<std::string, 4> fn;
        fn[2] = "（現実の種数）";
        fn[3] = "F＼N";
        fixed.push_back(std::move(fn));
        fixed_ = std::move(fixed);
        for (int p = 1; p <= maxSpecies_; ++p) {
            spFreq_[p] = 0;
            sp_[spKeyAt_[p]].seq = MakeNumber4(p);
        }
        // Every species position stays on the grid whatever the number of header rows.
        rowCount_ = std::max(rowCount_, maxSpecies_ + fnRow_ + 1);
    }
    fixedRows_ = fnRow_ + 1;
    ResetSizes();
    contentVersion_ = NextVersion();
}

bool Table::AddCol(int n) {
    try {
        int m = maxReleve_;
        while (m < n) m += 8;
        const int old = maxReleve_;
        if (m != old) ResizeReleves(m);
        for (int q = std::max(n, 1); q <= maxReleve_; ++q) {
            relNumSp_[q] = 0;
            if (q <= old) ClearReleveContent(relKeyAt_[q]);
            SetHeaderText(relKeyAt_[q], 1, MakeNumber4(q));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    contentVersion_ = NextVersion();
    return true;
}

bool Table::AddRow(int n) {
    try {
        int m = maxSpecies_;
        while (m < n) m += 16;
        const int old = maxSpecies_;
        if (m != old) ResizeSpecies(m);
        rowCount_ = maxSpecies_ + fnRow_ + 1;
        rowHeights_.resize(static_cast<std::size_t>(rowCount_), kDefaultSize);
        extra_.clear();
        for (int p = std::max(n, 1); p <= maxSpecies_; ++p) {
            spFreq_[p] = 0;
            if (p <= old) ClearSpeciesContent(spKeyAt_[p]);
            sp_[spKeyAt_[p]].seq = MakeNumber4(p);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    contentVersion_ = NextVersion();
    return true;
}

void Table::Check_TableNumber() {
    if (releveCount_ <= 0) return;
    int k = 0;
    for (int q = 1; q <= releveCount_; ++q) {
        const int key = relKeyAt_[q];
        int n = 0;
        for (const Cell& c : rel_[key].cells) {
            if (c.len == 0) continue;
            const int p = spPosOf_[c.species];
            if (p >= 1 && p <= speciesCount_) ++n;
        }
        relNumSp_[q] = static_cast<std::uint16_t>(std::min(n, 65535));
        if (n > 0) {
            SetHeaderText(key, 1, MakeNumber4(++k));
            SetHeaderText(key, fnRow_, MakeNumber4(relNumSp_[q]));
        } else {
            SetHeaderText(key, 1, std::string());
            SetHeaderText(key, fnRow_, std::string());
        }
    }
    contentVersion_ = NextVersion();
}

void Table::Check_SpeciesNumber() {
    if (speciesCount_ <= 0) return;
    std::vector<int> count(static_cast<std::size_t>(speciesCount_) + 1);
    for (int q = 1; q <= releveCount_; ++q) {
        for (const Cell& c : rel_[relKeyAt_[q]].cells) {
            if (c.len == 0) continue;
            const int p = spPosOf_[c.species];
            if (p >= 1 && p <= speciesCount_) ++count[p];
        }
    }
    int k = 0;
    for (int p = 1; p <= speciesCount_; ++p) {
        spFreq_[p] = static_cast<std::uint16_t>(std::min(count[p], 65535));
        Species& s = sp_[spKeyAt_[p]];
        if (count[p] > 0) {
            s.seq = MakeNumber4(++k);
            s.freq = MakeNumber4(count[p]);
        } else {
            s.seq.clear();
            s.freq.clear();
        }
    }
    contentVersion_ = NextVersion();
}

void Table::ResetForLoad(int species, int releves, int fnRow) {
    rel_.clear();
    sp_.clear();
    relKeyAt_.clear();
    relPosOf_.clear();
    spKeyAt_.clear();
    spPosOf_.clear();
    spFreq_.clear();
    relNumSp_.clear();
    longTexts_.clear();
    extra_.clear();
    colWidths_.clear();
    ResizeReleves(releves);
    ResizeSpecies(species);
    speciesCount_ = species;
    releveCount_ = releves;
    fnRow_ = fnRow;
    CodeD = 2;
    rowCount_ = maxSpecies_ + fnRow_ + 1;
    fixedRows_ = fnRow_ + 1;
    fixed_.assign(static_cast<std::size_t>(fnRow_) + 1, {});
    rowHeights_.resize(static_cast<std::size_t>(rowCount_), kDefaultSize);
    colWidths_.resize(static_cast<std::size_t>(ColCount()), kDefaultSize);
    if (colWidths_.size() > 2) {
        colWidths_[0] = 1;
        colWidths_[2] = 7 * DefaultColWidth();
    }
    layoutVersion_ = NextVersion();
    contentVersion_ = NextVersion();
}

// ---- Editing ---------------------------------------------------------------------------

namespace {
// Moves the key at position `from` to position `to`, shifting the keys between.
void RotateKeys(std::vector<int>& keyAt, std::vector<int>& posOf, int from, int to) {
    if (from < to)
        std::rotate(keyAt.begin() + from, keyAt.begin() + from + 1, keyAt.begin() + to + 1);
    else if (to < from)
        std::rotate(keyAt.begin() + to, keyAt.begin() + from, keyAt.begin() + from + 1);
    for (int i = std::min(from, to); i <= std::max(from, to); ++i) posOf[keyAt[i]] = i;
}
}  // namespace

bool Table::DeleteRow(int row) {
    if (!IsUsedSpeciesRow(row)) return false;
    const int p = row - fnRow_;
    const int key = spKeyAt_[p];
    RotateKeys(spKeyAt_, spPosOf_, p, speciesCount_);
    ClearSpeciesContent(key);
    --speciesCount_;
    return true;
}

bool Table::DeleteColum(int col) {
    if (!IsUsedReleveCol(col)) return false;
    const int q = col - 3;
    const int key = relKeyAt_[q];
    RotateKeys(relKeyAt_, relPosOf_, q, releveCount_);
    ClearReleveContent(key);
    --releveCount_;
    return true;
}

namespace {
// Closes up the used positions 1..count without the dropped ones, in one pass. The dropped
// keys follow the kept ones as the first spare positions, in their former order: the same
// arrangement as deleting them one at a time from the last up. Returns the dropped keys.
template <class Drop>
std::vector<int> CloseUp(std::vector<int>& keyAt, std::vector<int>& posOf, int& count, Drop drop) {
    std::vector<int> gone;
    int to = 1;
    for (int p = 1; p <= count; ++p) {
        if (drop(p)) gone.push_back(keyAt[p]);
        else keyAt[to++] = keyAt[p];
    }
    count = to - 1;
    for (int k : gone) keyAt[to++] = k;
    for (int p = 1; p < to; ++p) posOf[keyAt[p]] = p;
    return gone;
}
}  // namespace

void Table::ClearSpeciesContents(const std::vector<int>& keys) {
    if (keys.empty()) return;
    std::vector<char> gone(static_cast<std::size_t>(maxSpecies_) + 1, 0);
    for (int k : keys) {
        gone[static_cast<std::size_t>(k)] = 1;
        sp_[static_cast<std::size_t>(k)] = Species{};
    }
    for (int r = 0; r <= maxReleve_; ++r) {
        auto& cells = rel_[static_cast<std::size_t>(r)].cells;
        std::size_t to = 0;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const Cell& c = cells[i];
            if (gone[static_cast<std::size_t>(c.species)]) {
                if (c.len == kLongText) longTexts_.erase(LongKey(r, c.species));
                continue;
            }
            if (to != i) cells[to] = c;
            ++to;
        }
        cells.resize(to);
    }
    contentVersion_ = NextVersion();
}

// The cascades run in one pass each, so that a command that empties thousands of rows or
// columns of a large table costs no more than a recount.
bool Table::DeleteRowCommand(int row) {
    if (!DeleteRow(row)) return false;
    Check_SpeciesNumber();
    Check_TableNumber();
    const auto gone = CloseUp(relKeyAt_, relPosOf_, releveCount_,
                              [&](int q) { return relNumSp_[static_cast<std::size_t>(q)] == 0; });
    for (int key : gone) ClearReleveContent(key);
    return true;
}

bool Table::DeleteColumnCommand(int col) {
    if (!DeleteColum(col)) return false;
    Check_TableNumber();
    Check_SpeciesNumber();
    ClearSpeciesContents(CloseUp(spKeyAt_, spPosOf_, speciesCount_,
                                 [&](int p) { return spFreq_[static_cast<std::size_t>(p)] == 0; }));
    return true;
}

bool Table::InsertRow(int row) {
    if (!IsInsertableRow(row)) return false;
    const int p = row - fnRow_;
    const int s = speciesCount_ + 1;
    if (maxSpecies_ < s && !AddRow(s)) return false;
    speciesCount_ = s;
    const int key = spKeyAt_[s];
    RotateKeys(spKeyAt_, spPosOf_, s, p);
    ClearSpeciesContent(key);
    Check_SpeciesNumber();
    return true;
}

bool Table::InsertColumn(int col) {
    if (!IsInsertableCol(col)) return false;
    const int q = col - 3;
    const int r = releveCount_ + 1;
    if (maxReleve_ < r && !AddCol(r)) return false;
    releveCount_ = r;
    const int key = relKeyAt_[r];
    RotateKeys(relKeyAt_, relPosOf_, r, q);
    ClearReleveContent(key);
    Check_TableNumber();
    return true;
}

bool Table::SetComment(int row, const std::string& text) {
    if (!IsUsedSpeciesRow(row)) return false;
    sp_[spKeyAt_[row - fnRow_]].name = text;
    contentVersion_ = NextVersion();
    return true;
}

bool Table::MoveRow(int from, int to) {
    if (!IsUsedSpeciesRow(from) || !IsUsedSpeciesRow(to)) return false;
    RotateKeys(spKeyAt_, spPosOf_, from - fnRow_, to - fnRow_);
    contentVersion_ = NextVersion();
    return true;
}

bool Table::MoveColumn(int from, int to) {
    if (!IsUsedReleveCol(from) || !IsUsedReleveCol(to)) return false;
    RotateKeys(relKeyAt_, relPosOf_, from - 3, to - 3);
    contentVersion_ = NextVersion();
    return true;
}

void Table::PermuteSpecies(int first, const std::vector<int>& order) {
    std::vector<int> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) keys[i] = spKeyAt_[order[i]];
    for (std::size_t i = 0; i < order.size(); ++i) {
        spKeyAt_[first + i] = keys[i];
        spPosOf_[keys[i]] = first + static_cast<int>(i);
    }
    contentVersion_ = NextVersion();
}

void Table::PermuteReleves(int first, const std::vector<int>& order) {
    std::vector<int> keys(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) keys[i] = relKeyAt_[order[i]];
    for (std::size_t i = 0; i < order.size(); ++i) {
        relKeyAt_[first + i] = keys[i];
        relPosOf_[keys[i]] = first + static_cast<int>(i);
    }
    contentVersion_ = NextVersion();
}

int Table::AppendSpecies(const std::string& name) {
    const int p = speciesCount_ + 1;
    if (p > maxSpecies_ && !AddRow(p)) return 0;
    sp_[spKeyAt_[p]].name = name;
    speciesCount_ = p;
    contentVersion_ = NextVersion();
    return p;
}

void Table::Touch() { contentVersion_ = NextVersion(); }

int Table::AppendReleve() {
    const int q = releveCount_ + 1;
    if (q > maxReleve_ && !AddCol(q)) return 0;
    releveCount_ = q;
    contentVersion_ = NextVersion();
    return q;
}

}  // namespace tavik
