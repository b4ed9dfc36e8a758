#include "core/table.h"

#include "core/cell_order.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <utility>

namespace tavik {

const std::array<const char*, kItemCount + 1>& InitialItemCaptions() {
    // data, not interface
    static const std::array<const char*, kItemCount + 1> names = {"",
                                                                  "表の通し番号",
                                                                  "測定番号",
                                                                  "調査地名",
                                                                  "調査年月日",
                                                                  "調査地緯度（度分秒）",
                                                                  "調査地経度（度分秒）",
                                                                  "地理区画コード",
                                                                  "調査地標高(m)",
                                                                  "傾斜方位",
                                                                  "傾斜角度",
                                                                  "地形位置",
                                                                  "微地形",
                                                                  "表層地質",
                                                                  "土壌型",
                                                                  "調査面積（㎡）",
                                                                  "高 木 層高さ（m）",
                                                                  "亜高木層高さ（m）",
                                                                  "低木層１高さ（m）",
                                                                  "低木層２高さ（m）",
                                                                  "草本層１高さ（m）",
                                                                  "草本層２高さ（m）",
                                                                  "コ ケ 層高さ（m）",
                                                                  "高 木 層植被率（%）",
                                                                  "亜高木層植被率（%）",
                                                                  "低木層１植被率（%）",
                                                                  "低木層２植被率（%）",
                                                                  "草本層１植被率（%）",
                                                                  "草本層２植被率（%）",
                                                                  "コ ケ 層植被率（%）",
                                                                  "出現種数"};
    return names;
}

// Versions never repeat, not even across tables, so a view that caches on (table, version)
// cannot mistake a new table for the one it saw.
std::uint64_t Table::NextVersion() {
    static std::atomic<std::uint64_t> counter{0};
    return ++counter;
}

Table::Table() {
    for (std::size_t n = 1; n <= kItemCount; ++n) ItemBoxes[n].caption = InitialItemCaptions()[n];
    InitTableModel();
    rowCount_ = MaxSpecies() + 32;
    fixed_.assign(static_cast<std::size_t>(fnRow_) + 1, {});
    IndexHeaderItems();
    ResetSizes();
}

void Table::InitTableModel() {
    fnRow_ = 31;
    CodeK = 5;
    CodeD = 2;
    rel_.clear();
    sp_.clear();
    releves_.Clear();
    species_.Clear();
    longTexts_.clear();
    GrowReleves(23);
    GrowSpecies(127);
    IndexHeaderItems();
    contentVersion_ = NextVersion();
}

// The content vectors grow first: the capacity the axis reports never exceeds them, even
// when memory runs out half-way.
void Table::GrowReleves(int capacity) {
    rel_.resize(static_cast<std::size_t>(capacity) + 1);
    colWidths_.resize(static_cast<std::size_t>(capacity) + 4, kDefaultSize);
    releves_.Grow(capacity);
    layoutVersion_ = NextVersion();
}

void Table::GrowSpecies(int capacity) {
    sp_.resize(static_cast<std::size_t>(capacity) + 1);
    species_.Grow(capacity);
    layoutVersion_ = NextVersion();
}

int Table::SpeciesKeyOfRow(int row) const {
    const int p = row - fnRow_;
    if (p < 1 || p > MaxSpecies() || row >= rowCount_) return -1;
    return species_.KeyAt(p);
}

int Table::ReleveKeyOfCol(int col) const {
    const int q = RelevePosOfColumn(col);
    if (q < 0 || q > MaxReleve()) return -1;
    return releves_.KeyAt(q);
}

// ---- Cells ---------------------------------------------------------------------------

const Cell* Table::FindCell(int relKey, int spKey) const {
    const auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    auto it = std::lower_bound(v.begin(), v.end(), spKey, [](const Cell& c, int k) { return c.species < k; });
    return (it != v.end() && it->species == spKey) ? &*it : nullptr;
}

Cell* Table::FindCell(int relKey, int spKey) {
    return const_cast<Cell*>(static_cast<const Table*>(this)->FindCell(relKey, spKey));
}

Cell& Table::GetOrAddCell(int relKey, int spKey) {
    auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    // Grow by half rather than double: a relevé's cells are many small vectors whose slack
    // adds up across a large table.
    if (v.size() == v.capacity()) v.reserve(v.size() + v.size() / 2 + 2);
    // Loading and retrieval append in rising key order most of the time.
    if (v.empty() || v.back().species < spKey) {
        v.push_back(Cell{});
        v.back().species = spKey;
        return v.back();
    }
    auto it = std::lower_bound(v.begin(), v.end(), spKey, [](const Cell& c, int k) { return c.species < k; });
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
    auto it = std::lower_bound(v.begin(), v.end(), spKey, [](const Cell& c, int k) { return c.species < k; });
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

void Table::SetCells(int relKey, Cell* first, Cell* last) {
    auto& v = rel_[static_cast<std::size_t>(relKey)].cells;
    if (!v.empty()) {
        for (const Cell* c = first; c != last; ++c)
            SetCell(relKey, c->species, std::string(c->text, c->len), c->covers);
        return;
    }
    // A new column: its storage sized to what it holds.
    v.assign(first, OrderCells(first, last));
    contentVersion_ = NextVersion();
}

// An insertion sort: the cells of a relevé are few.
Cell* OrderCells(Cell* first, Cell* last) {
    for (Cell* i = first; i != last; ++i) {
        const Cell c = *i;
        Cell* j = i;
        for (; j != first && (j - 1)->species > c.species; --j) *j = *(j - 1);
        *j = c;
    }
    Cell* out = first;
    for (Cell* i = first; i != last; ++i) {
        if (i + 1 != last && (i + 1)->species == i->species) continue;
        if (i->len == 0 && i->covers.empty()) continue;
        *out++ = *i;
    }
    return out;
}

std::string Table::HeaderText(int relKey, int row) const {
    return std::string(rel_[static_cast<std::size_t>(relKey)].head.Get(row));
}

void Table::SetHeaderText(int relKey, int row, const std::string& text) {
    rel_[static_cast<std::size_t>(relKey)].head.Set(row, text);
    contentVersion_ = NextVersion();
}

void Table::ClearReleveContent(int relKey) {
    auto& r = rel_[static_cast<std::size_t>(relKey)];
    for (const Cell& c : r.cells)
        if (c.len == kLongText) longTexts_.erase(LongKey(relKey, c.species));
    r.cells.clear();
    r.cells.shrink_to_fit();
    r.head.Clear();
    r.record = EmptyLayers;
    r.numberWhole = r.countWhole = 0;
    contentVersion_ = NextVersion();
}

void Table::ClearSpeciesContent(int spKey) {
    sp_[static_cast<std::size_t>(spKey)] = Species{};
    for (int r = 0; r <= MaxReleve(); ++r) {
        Cell* c = FindCell(r, spKey);
        if (!c) continue;
        StoreText(r, *c, std::string());
        c->covers = EmptyLayers;
        DropIfEmpty(r, spKey);
    }
    contentVersion_ = NextVersion();
}

// ---- Growth, layout, recount ---------------------------------------------------------------

void Table::ClearTable() {
    extra_.clear();
    for (auto& row : fixed_) row = {};
    InitTableModel();
    rowCount_ = MaxSpecies() + 32;
    for (int q = 1; q <= MaxReleve(); ++q) {
        SetHeaderText(q, 1, MakeNumber4(q));
        rel_[static_cast<std::size_t>(q)].numberWhole = q;
        NoteWholeNumber(q);
    }
    FixedCell(3, 1).clear();
    LayOutHeaderRows();
}

void Table::LayOutHeaderRows() {
    if (ReleveCount() > 0) {
        for (std::size_t n = 1; n <= kItemCount; ++n) ItemBoxes[n].enabled = ItemBoxes[n].checked = false;
        for (int r = 1; r <= fnRow_ - 1; ++r) {
            const int n = ItemOfHeaderRow(r);
            if (n == 0) continue;
            FixedCell(2, r) = ItemBoxes[static_cast<std::size_t>(n)].caption;
            ItemBoxes[static_cast<std::size_t>(n)].enabled = ItemBoxes[static_cast<std::size_t>(n)].checked = true;
        }
    } else {
        int r = 1;
        std::vector<std::array<std::string, 4>> fixed(1);
        if (!fixed_.empty()) fixed[0] = fixed_[0];
        for (int n = 1; n <= kItemCount; ++n) {
            if (!ItemBoxes[static_cast<std::size_t>(n)].enabled) continue;
            std::array<std::string, 4> line;
            line[0] = std::to_string(n);
            line[2] = ItemBoxes[static_cast<std::size_t>(n)].caption;
            if (static_cast<std::size_t>(r) < fixed_.size()) {
                line[1] = fixed_[static_cast<std::size_t>(r)][1];
                line[3] = fixed_[static_cast<std::size_t>(r)][3];
            }
            fixed.push_back(std::move(line));
            ++r;
        }
        fnRow_ = r;
        std::array<std::string, 4> fn;
        fn[2] = "（現実の種数）";  // data, not interface
        fn[3] = "F＼N";            // data, not interface

        fixed.push_back(std::move(fn));
        fixed_ = std::move(fixed);
        IndexHeaderItems();
        species_.ClearOccurrences();
        for (int p = 1; p <= MaxSpecies(); ++p) {
            Species& s = sp_[static_cast<std::size_t>(species_.KeyAt(p))];
            s.seq = MakeNumber4(p);
            s.seqWhole = p;
            NoteWholeNumber(p);
        }
        // Every species position stays on the grid whatever the number of header rows.
        rowCount_ = std::max(rowCount_, MaxSpecies() + fnRow_ + 1);
    }
    fixedRows_ = fnRow_ + 1;
    ResetSizes();
    contentVersion_ = NextVersion();
}

// Growing renumbers every position from n on and empties those that existed: the spare
// rows and columns past the used ones start blank, whatever an earlier use left there.
bool Table::GrowRelevesTo(int n) {
    try {
        const int old = MaxReleve();
        if (const int capacity = releves_.CapacityFor(n, 8); capacity != old) GrowReleves(capacity);
        for (int q = std::max(n, 1); q <= MaxReleve(); ++q) {
            const int key = releves_.KeyAt(q);
            releves_.SetOccurrences(q, 0);
            if (q <= old) ClearReleveContent(key);
            SetHeaderText(key, 1, MakeNumber4(q));
            rel_[static_cast<std::size_t>(key)].numberWhole = q;
            NoteWholeNumber(q);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    contentVersion_ = NextVersion();
    return true;
}

bool Table::GrowSpeciesTo(int n) {
    try {
        const int old = MaxSpecies();
        if (const int capacity = species_.CapacityFor(n, 16); capacity != old) GrowSpecies(capacity);
        rowCount_ = MaxSpecies() + fnRow_ + 1;
        rowHeights_.resize(static_cast<std::size_t>(rowCount_), kDefaultSize);
        extra_.clear();
        for (int p = std::max(n, 1); p <= MaxSpecies(); ++p) {
            const int key = species_.KeyAt(p);
            species_.SetOccurrences(p, 0);
            if (p <= old) ClearSpeciesContent(key);
            sp_[static_cast<std::size_t>(key)].seq = MakeNumber4(p);
            sp_[static_cast<std::size_t>(key)].seqWhole = p;
            NoteWholeNumber(p);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    contentVersion_ = NextVersion();
    return true;
}

// What an occurrence is, for every count of the table: a cell with text (a blank code
// counts too) of a used species row in the relevé of key `relKey`. Calls visit(p) with
// the species position of each.
template <class Visit>
void Table::ForEachOccurrenceOfKey(int relKey, Visit visit) const {
    const int species = SpeciesCount();
    for (const Cell& c : rel_[static_cast<std::size_t>(relKey)].cells) {
        if (c.len == 0) continue;
        const int p = species_.PosOf(c.species);
        if (p >= 1 && p <= species) visit(p);
    }
}

void Table::CountOccurrences(std::vector<int>* perReleve, std::vector<int>* perSpecies) const {
    if (perReleve) perReleve->assign(static_cast<std::size_t>(ReleveCount()) + 1, 0);
    if (perSpecies) perSpecies->assign(static_cast<std::size_t>(SpeciesCount()) + 1, 0);
    // The relevés are read by key, in the order their cells lie in memory, not in the order
    // on screen: after a reorder of 100,000 relevés that order jumps about the memory on
    // every column, and the counts do not depend on it.
    const int R = ReleveCount();
    for (int key = 1; key <= MaxReleve(); ++key) {
        const int q = releves_.PosOf(key);
        if (q < 1 || q > R) continue;
        int n = 0;
        if (perSpecies)
            ForEachOccurrenceOfKey(key, [&](int p) {
                ++n;
                ++(*perSpecies)[static_cast<std::size_t>(p)];
            });
        else ForEachOccurrenceOfKey(key, [&](int) { ++n; });
        if (perReleve) (*perReleve)[static_cast<std::size_t>(q)] = n;
    }
}

std::string Table::CountText(std::int32_t n) { return n > 0 ? MakeNumber4(n) : std::string(); }

std::vector<Table::FreshNumbers> Table::FreshReleveNumbers() const {
    std::vector<int> count;
    CountOccurrences(&count, nullptr);
    std::vector<FreshNumbers> fresh(count.size());
    std::int32_t k = 0;
    for (std::size_t q = 1; q < count.size(); ++q) fresh[q] = {count[q], count[q] > 0 ? ++k : 0};
    return fresh;
}

namespace {

// How many digits the grid shows of a number beyond the four the text keeps (0 for none).
int WideDigits(std::int32_t n) {
    int digits = 0;
    for (; n > 9999; n /= 10) ++digits;
    return digits;
}

}  // namespace

// Both recounts number the positions that have any occurrence 1, 2, 3 ... in order and
// write each count beside its number.
void Table::RecountReleves() {
    if (ReleveCount() <= 0) return;
    // The layout is renewed only when a column's width follows: when a number shown whole
    // gains or loses a digit there, as seldom happens.
    wideNumbers_ = false;
    const std::vector<FreshNumbers> fresh = FreshReleveNumbers();
    for (int q = 1; q <= ReleveCount(); ++q) {
        const auto [n, number] = fresh[static_cast<std::size_t>(q)];
        releves_.SetOccurrences(q, n);
        const int key = releves_.KeyAt(q);
        Releve& r = rel_[static_cast<std::size_t>(key)];
        if (WideDigits(r.numberWhole) != WideDigits(number) || WideDigits(r.countWhole) != WideDigits(n))
            wideNumbers_ = true;
        r.numberWhole = number;
        r.countWhole = n;
        SetHeaderText(key, 1, CountText(number));
        SetHeaderText(key, fnRow_, CountText(n));
    }
    RenewLayoutForWideNumbers(false);
    contentVersion_ = NextVersion();
}

void Table::RecountSpecies() {
    if (SpeciesCount() <= 0) return;
    std::vector<int> count;
    CountOccurrences(nullptr, &count);
    wideNumbers_ = false;  // as in RecountReleves
    int k = 0;
    for (int p = 1; p <= SpeciesCount(); ++p) {
        const int n = count[static_cast<std::size_t>(p)];
        species_.SetOccurrences(p, n);
        Species& s = sp_[static_cast<std::size_t>(species_.KeyAt(p))];
        const std::int32_t number = n > 0 ? ++k : 0;
        if (WideDigits(s.seqWhole) != WideDigits(number) || WideDigits(s.freqWhole) != WideDigits(n))
            wideNumbers_ = true;
        s.seqWhole = number;
        s.freqWhole = n;
        s.seq = CountText(number);
        s.freq = CountText(n);
    }
    RenewLayoutForWideNumbers(false);
    contentVersion_ = NextVersion();
}

void Table::ResetForLoad(int species, int releves, int fnRow) {
    rel_.clear();
    sp_.clear();
    releves_.Clear();
    species_.Clear();
    longTexts_.clear();
    extra_.clear();
    colWidths_.clear();
    GrowReleves(releves);
    GrowSpecies(species);
    species_.SetCount(species);
    releves_.SetCount(releves);
    fnRow_ = fnRow;
    CodeD = 2;
    rowCount_ = MaxSpecies() + fnRow_ + 1;
    fixedRows_ = fnRow_ + 1;
    fixed_.assign(static_cast<std::size_t>(fnRow_) + 1, {});
    IndexHeaderItems();
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

bool Table::DeleteRow(int row) {
    if (!IsUsedSpeciesRow(row)) return false;
    ClearSpeciesContent(species_.Remove(row - fnRow_));
    return true;
}

bool Table::DeleteColumn(int col) {
    if (!IsUsedReleveCol(col)) return false;
    ClearReleveContent(releves_.Remove(RelevePosOfColumn(col)));
    return true;
}

void Table::ClearSpeciesContents(const std::vector<int>& keys) {
    if (keys.empty()) return;
    std::vector<char> gone(static_cast<std::size_t>(MaxSpecies()) + 1, 0);
    for (int k : keys) {
        gone[static_cast<std::size_t>(k)] = 1;
        sp_[static_cast<std::size_t>(k)] = Species{};
    }
    for (int r = 0; r <= MaxReleve(); ++r) {
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
    RecountSpecies();
    RecountReleves();
    for (int key : releves_.CloseUp([&](int q) { return RelNumSp()[static_cast<std::size_t>(q)] == 0; }))
        ClearReleveContent(key);
    return true;
}

bool Table::DeleteColumnCommand(int col) {
    if (!DeleteColumn(col)) return false;
    RecountReleves();
    RecountSpecies();
    ClearSpeciesContents(species_.CloseUp([&](int p) { return SpFreq()[static_cast<std::size_t>(p)] == 0; }));
    return true;
}

bool Table::InsertRow(int row) {
    if (!IsInsertableRow(row)) return false;
    const int s = SpeciesCount() + 1;
    if (MaxSpecies() < s && !GrowSpeciesTo(s)) return false;
    ClearSpeciesContent(species_.InsertSpare(row - fnRow_));
    RecountSpecies();
    return true;
}

bool Table::InsertColumn(int col) {
    if (!IsInsertableCol(col)) return false;
    const int r = ReleveCount() + 1;
    if (MaxReleve() < r && !GrowRelevesTo(r)) return false;
    ClearReleveContent(releves_.InsertSpare(RelevePosOfColumn(col)));
    RecountReleves();
    return true;
}

bool Table::SetComment(int row, const std::string& text) {
    if (!IsUsedSpeciesRow(row)) return false;
    sp_[static_cast<std::size_t>(species_.KeyAt(row - fnRow_))].name = text;
    contentVersion_ = NextVersion();
    return true;
}

bool Table::MoveRow(int from, int to) {
    if (!IsUsedSpeciesRow(from) || !IsUsedSpeciesRow(to)) return false;
    species_.Move(from - fnRow_, to - fnRow_);
    contentVersion_ = NextVersion();
    return true;
}

bool Table::MoveColumn(int from, int to) {
    if (!IsUsedReleveCol(from) || !IsUsedReleveCol(to)) return false;
    releves_.Move(RelevePosOfColumn(from), RelevePosOfColumn(to));
    contentVersion_ = NextVersion();
    return true;
}

void Table::PermuteSpecies(int first, const std::vector<int>& order) {
    species_.Permute(first, order);
    contentVersion_ = NextVersion();
}

void Table::PermuteReleves(int first, const std::vector<int>& order) {
    releves_.Permute(first, order);
    contentVersion_ = NextVersion();
}

int Table::AppendSpecies(const std::string& name) {
    const int p = SpeciesCount() + 1;
    if (p > MaxSpecies() && !GrowSpeciesTo(p)) return 0;
    sp_[static_cast<std::size_t>(species_.KeyAt(p))].name = name;
    species_.SetCount(p);
    contentVersion_ = NextVersion();
    return p;
}

int Table::AppendReleve() {
    const int q = ReleveCount() + 1;
    if (q > MaxReleve() && !GrowRelevesTo(q)) return 0;
    releves_.SetCount(q);
    contentVersion_ = NextVersion();
    return q;
}

}  // namespace tavik
