// The scan's conditions and the putting pass, on relevés held in memory.
#include <gtest/gtest.h>

#include "core/cover_number.h"
#include "core/retrieval.h"
#include "core/sorting.h"
#include "test_helpers.h"

namespace tavik {
namespace {

using testing::Covers;

struct MemReleve {
    std::vector<PlantEntry> plants;
    std::string mesh;
    bool readable = true;
    std::array<std::string, kItemCount + 1> items{};
};

class MemSource : public ReleveSource {
public:
    std::vector<MemReleve> releves;  // record i is releves[i - 1]
    int RecordCount() const override { return static_cast<int>(releves.size()); }
    bool ReadReleve(int i, PlantSet& set) override {
        current_ = &releves[static_cast<std::size_t>(i - 1)];
        set.entries.assign(1, PlantEntry{});
        for (const auto& p : current_->plants) set.entries.push_back(p);
        set.count = static_cast<int>(current_->plants.size());
        set.codeK = 5;
        set.codeD = 1;
        return current_->readable;
    }
    std::string ItemText(int n) const override {
        if (n == 7) return current_->mesh;
        return current_->items[static_cast<std::size_t>(n)];
    }

private:
    const MemReleve* current_ = nullptr;
};

// A source that says when its contents stay the same, so that a scan may keep what it read.
class KnownSource : public MemSource {
public:
    std::string identity = "v1";
    int reads = 0;
    bool ReadReleve(int i, PlantSet& set) override {
        ++reads;
        return MemSource::ReadReleve(i, set);
    }
    std::string Identity() const override { return identity; }
};

PlantEntry P(const std::string& name, LayerCovers c) { return PlantEntry{name, c}; }

const LayerCovers kPlus = Covers({0, 0, 0, 0, 1});
const LayerCovers kR = Covers({0, 0, 0, 0, 6});
const LayerCovers kTwo = Covers({0, 0, 0, 0, 20});
const LayerCovers kThreeT1 = Covers({30});
const LayerCovers kUnreadable = Covers({0, 0, 0, 0, 63});

// Five relevés: 1 {A+, B2}, 2 {A r, C3}, 3 {B+}, 4 {C 63}, 5 {A with no covers}.
MemSource FiveReleves() {
    MemSource s;
    s.releves = {
        {{P("A", kPlus), P("B", kTwo)}, "53394511"},
        {{P("A", kR), P("C", kThreeT1)}, "53394522"},
        {{P("B", kPlus)}, "54381234"},
        {{P("C", kUnreadable)}, "5339"},
        {{P("A", EmptyLayers)}, ""},
    };
    return s;
}

std::vector<int> Marked(const Retrieval& r) {
    std::vector<int> v;
    for (int i = 1; i <= r.RecordCount(); ++i)
        if (r.Marked(i)) v.push_back(i);
    return v;
}

std::vector<int> ScanWith(std::vector<SpeciesCondition> conds, std::string mesh = "",
                          const Dictionary& dict = Dictionary()) {
    MemSource s = FiveReleves();
    Retrieval r;
    r.Reset(s.RecordCount());
    ScanParams p;
    for (std::size_t i = 0; i < conds.size(); ++i) p.conditions[i] = conds[i];
    p.meshPrefix = mesh;
    r.Scan(s, dict, p);
    return Marked(r);
}

using V = std::vector<int>;
constexpr auto Or = Connective::Or;
constexpr auto And = Connective::And;
constexpr auto None = Connective::None;

TEST(RetrievalScan, EmptyConditionsMarkEveryReadableRecordUnlessFirstIsNone) {
    EXPECT_EQ(ScanWith({}), (V{1, 2, 3, 4, 5}));
    EXPECT_EQ(ScanWith({{"", 0, None}}), V{});
}

TEST(RetrievalScan, ConnectivesJoinConditionsLeftToRight) {
    EXPECT_EQ(ScanWith({{"A", 0, And}}), (V{1, 2, 5}));
    EXPECT_EQ(ScanWith({{"A", 0, None}}), (V{3, 4}));
    EXPECT_EQ(ScanWith({{"A", 0, And}, {"B", 0, And}}), V{1});
    EXPECT_EQ(ScanWith({{"A", 0, And}, {"C", 0, Or}}), (V{1, 2, 4, 5}));
    EXPECT_EQ(ScanWith({{"A", 0, And}, {"B", 0, None}}), (V{2, 5}));
    // Condition 1 empty: its "and" holds; condition 2 alone decides.
    EXPECT_EQ(ScanWith({{"", 0, And}, {"B", 0, And}}), (V{1, 3}));
    // An empty condition 2 ends the conditions: condition 3 is not looked at.
    EXPECT_EQ(ScanWith({{"A", 0, And}, {"", 0, And}, {"B", 0, And}}), (V{1, 2, 5}));
}

TEST(RetrievalScan, CoverClassesCountFromTheTens) {
    // Class "+" takes every entry of the species, even one without covers.
    EXPECT_EQ(ScanWith({{"A", 0, And}}), (V{1, 2, 5}));
    // Class 1 refuses "+" and "r"; the unreadable value 63 passes every class.
    EXPECT_EQ(ScanWith({{"A", 1, And}}), V{});
    EXPECT_EQ(ScanWith({{"B", 2, And}}), V{1});
    EXPECT_EQ(ScanWith({{"B", 3, And}}), V{});
    EXPECT_EQ(ScanWith({{"C", 5, And}}), V{4});
    EXPECT_EQ(ScanWith({{"C", 3, And}}), (V{2, 4}));
}

TEST(RetrievalScan, NamesCompareAsStandardNamesAndExactly) {
    Dictionary d;
    d.Add("A", "Std");
    EXPECT_EQ(ScanWith({{"Std", 0, And}}, "", d), (V{1, 2, 5}));
    // The entered name is neither mapped nor trimmed nor folded.
    EXPECT_EQ(ScanWith({{"A", 0, And}}, "", d), V{});
    EXPECT_EQ(ScanWith({{"a", 0, And}}), V{});
    EXPECT_EQ(ScanWith({{" A", 0, And}}), V{});
}

TEST(RetrievalScan, MeshPrefixMatchesOnlyAtTheStart) {
    EXPECT_EQ(ScanWith({}, "5339"), (V{1, 2, 4}));
    EXPECT_EQ(ScanWith({}, " 533945 "), (V{1, 2}));
    EXPECT_EQ(ScanWith({}, "3945"), V{});       // inside the code, not at its start
    EXPECT_EQ(ScanWith({}, "53391"), V{});      // longer than code 4
    EXPECT_EQ(ScanWith({}, "533945111"), V{});  // longer than every code
}

TEST(RetrievalScan, RangeUnreadableRecordsAndAdditionalScans) {
    MemSource s = FiveReleves();
    s.releves[1].readable = false;
    Retrieval r;
    r.Reset(s.RecordCount());
    ScanParams p;
    p.conditions[0] = {"B", 0, And};
    ScanResult res = r.Scan(s, Dictionary(), p);
    EXPECT_EQ(Marked(r), (V{1, 3}));
    EXPECT_EQ(res.hits, 2);
    EXPECT_EQ(res.skipped, V{2});

    // An additional scan over records 2..5 for C keeps 1 and 3 and counts them again where
    // they lie in the range.
    p.additional = true;
    p.first = 2;
    p.last = 5;
    p.conditions[0] = {"C", 0, Or};
    res = r.Scan(s, Dictionary(), p);
    EXPECT_EQ(Marked(r), (V{1, 3, 4}));
    EXPECT_EQ(res.hits, 4);  // 2 before, then 3 and 4 in the range
    EXPECT_EQ(res.examined, 4);

    // Condition 1 only ever marks (or, with "none", clears); "and" from condition 2 on
    // narrows the marks of earlier scans.
    p.first = 1;
    p.conditions[0] = {"C", 0, And};
    r.Scan(s, Dictionary(), p);
    EXPECT_EQ(Marked(r), (V{1, 3, 4}));
    p.conditions[0] = {"", 0, And};
    p.conditions[1] = {"B", 0, And};
    r.Scan(s, Dictionary(), p);
    EXPECT_EQ(Marked(r), (V{1, 3}));

    // A new scan starts from nothing; a range past the end is clipped.
    p.additional = false;
    p.first = 4;
    p.last = 99;
    p.conditions[0] = {};
    p.conditions[1] = {};
    res = r.Scan(s, Dictionary(), p);
    EXPECT_EQ(Marked(r), (V{4, 5}));
    EXPECT_EQ(res.hits, 2);
}

TEST(RetrievalScan, ClassOutsideTheListStopsBeforeAnythingChanges) {
    MemSource s = FiveReleves();
    Retrieval r;
    r.Reset(s.RecordCount());
    ScanParams p;
    r.Scan(s, Dictionary(), p);
    p.conditions[2].coverClass = 6;
    EXPECT_THROW(r.Scan(s, Dictionary(), p), std::invalid_argument);
    EXPECT_EQ(Marked(r), (V{1, 2, 3, 4, 5}));
}

class CancelAfter : public RetrievalProgress {
public:
    explicit CancelAfter(int n) : n_(n) {}
    bool Cancelled() override { return seen_ >= n_; }
    void OnRecord(int, int) override { ++seen_; }

private:
    int n_, seen_ = 0;
};

TEST(RetrievalScan, CancelStopsAtTheNextRecord) {
    MemSource s = FiveReleves();
    Retrieval r;
    r.Reset(s.RecordCount());
    CancelAfter cancel(2);
    const ScanResult res = r.Scan(s, Dictionary(), ScanParams(), &cancel);
    EXPECT_TRUE(res.cancelled);
    EXPECT_EQ(Marked(r), (V{1, 2}));
}

// ---- The putting pass ---------------------------------------------------------------------

Table EmptyTable() {
    Table t;
    testing::EnableDefaultItems(t);
    t.ClearTable();
    return t;
}

int RowOf(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return -1;
}

TEST(RetrievalPut, SynonymsMeetTheirStandardNameAndNewSpeciesAppend) {
    MemSource s;
    s.releves = {
        {{P("Fagus crenata", kThreeT1), P("Sasa", kPlus)}, ""},
        {{P("FAGUS", Covers({0, 23, 1, 6, 0, 12, 8})), P("Acer", kR)}, ""},
    };
    Dictionary d;
    d.Add("fagus", "Fagus crenata");
    Table t = EmptyTable();
    Retrieval r;
    r.Reset(s.RecordCount());
    r.Scan(s, d, ScanParams());
    const PutResult res = r.Put(t, s, d);
    EXPECT_EQ(res.put, 2);
    ASSERT_EQ(t.SpeciesCount(), 3);
    EXPECT_EQ(t.Text(2, t.FNRow() + 1), "Fagus crenata");
    EXPECT_EQ(t.Text(2, t.FNRow() + 2), "Sasa");
    EXPECT_EQ(t.Text(2, t.FNRow() + 3), "Acer");
    EXPECT_EQ(t.Text(4, t.FNRow() + 1), "3   ");
    EXPECT_EQ(t.Text(5, t.FNRow() + 1), " 2+e");
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(2), t.SpeciesKeyAt(1)), Covers({0, 23, 1, 6, 0, 12, 8}));
    EXPECT_EQ(t.Text(5, t.FNRow() + 3), "   r");
    // The recount ran: frequencies and species numbers.
    EXPECT_EQ(t.Text(3, t.FNRow() + 1), "   2");
    EXPECT_EQ(t.Text(4, t.FNRow()), "   2");
    EXPECT_EQ(t.Text(4, 1), "   1");
    EXPECT_EQ(t.ReleveRecord(t.ReleveKeyAt(1)), Covers({5, 1}));
}

TEST(RetrievalPut, ZeroCoverSpeciesOpenNoRowAndTheColumnKeepsItsHeader) {
    MemSource s;
    MemReleve empty{{P("A", EmptyLayers), P("B", EmptyLayers)}, "53394511"};
    empty.items[2] = "Z-01";
    empty.items[8] = "12";
    s.releves = {empty};
    Table t = EmptyTable();
    Retrieval r;
    r.Reset(1);
    r.Scan(s, Dictionary(), ScanParams());
    r.Put(t, s, Dictionary());
    EXPECT_EQ(t.ReleveCount(), 1);
    EXPECT_EQ(t.SpeciesCount(), 0);
    EXPECT_EQ(t.Text(4, 2), "Z-01");  // item 2 as text
    EXPECT_EQ(t.Text(4, 4), "  12");  // item 8, after items 1, 2, 3: right-aligned in four
    EXPECT_EQ(t.Text(4, 1), "");      // no species: no serial number
}

TEST(RetrievalPut, ASpareColumnThatHoldsSomethingKeepsWhatTheRelevéLeaves) {
    // Spare columns are blank as growing and deleting leave them; one that holds a cell and
    // a header text anyway gets the relevé put over them, not in their place.
    Table t = testing::MakeTable({{"X"}});
    const int spare = t.ReleveKeyAt(2);
    const int keyX = t.SpeciesKeyAt(1);
    t.SetCell(spare, keyX, " 1 ", kTwo);
    t.SetHeaderText(spare, 2, "typed");
    t.SetHeaderText(spare, 3, "stays?");
    MemSource s;
    MemReleve rel{{P("Y", kPlus)}, ""};
    rel.items[2] = "R-9";
    s.releves = {rel};
    Retrieval r;
    r.Reset(1);
    r.Scan(s, Dictionary(), ScanParams());
    r.Put(t, s, Dictionary());
    ASSERT_EQ(t.ReleveKeyAt(2), spare);
    EXPECT_EQ(t.Covers(spare, keyX), kTwo);
    EXPECT_EQ(t.Covers(spare, t.SpeciesKeyAt(2)), kPlus);
    EXPECT_EQ(t.HeaderText(spare, 2), "R-9");
    EXPECT_EQ(t.HeaderText(spare, 3), "");  // item 3 is a header row: the relevé's empty value
}

TEST(RetrievalPut, ExistingRowsAreFoundAfterSortingAndCoversFollowKeys) {
    Table t = testing::MakeTable({{"X", "Y"}, {"Y"}});
    SortSpecies(t, 1, t.SpeciesCount(), true);  // Y (2) before X (1)
    ASSERT_EQ(t.Text(2, t.FNRow() + 1), "Y");
    MemSource s;
    s.releves = {{{P("X", kTwo), P("Z", kPlus)}, ""}};
    Retrieval r;
    r.Reset(1);
    r.Scan(s, Dictionary(), ScanParams());
    r.Put(t, s, Dictionary());
    const int col = 3 + t.ReleveCount();
    EXPECT_EQ(t.Text(col, RowOf(t, "X")), "   2");
    EXPECT_EQ(RowOf(t, "Z"), t.FNRow() + 3);
    const int keyX = t.SpeciesKeyAt(RowOf(t, "X") - t.FNRow());
    EXPECT_EQ(t.Covers(t.ReleveKeyAt(t.ReleveCount()), keyX), kTwo);
}

TEST(RetrievalPut, TheFirstRowOfANameWinsAndTheLaterEntryOverwrites) {
    Table t = testing::MakeTable({{"X"}});
    t.AppendSpecies("X");  // a second row of the same name
    MemSource s;
    s.releves = {{{P("X", kTwo), P("x-syn", kPlus)}, ""}};
    Dictionary d;
    d.Add("x-syn", "X");
    Retrieval r;
    r.Reset(1);
    r.Scan(s, d, ScanParams());
    r.Put(t, s, d);
    EXPECT_EQ(t.Text(5, t.FNRow() + 1), "   +");
    EXPECT_EQ(t.Text(5, t.FNRow() + 2), "");
}

TEST(RetrievalPut, CapacitiesGrowPast127SpeciesAnd23Releves) {
    MemSource s;
    for (int q = 0; q < 30; ++q) {
        MemReleve rel;
        for (int k = 0; k < 10; ++k) rel.plants.push_back(P("sp" + std::to_string(q * 5 + k), kPlus));
        s.releves.push_back(rel);
    }
    Table t = EmptyTable();
    Retrieval r;
    r.Reset(s.RecordCount());
    r.Scan(s, Dictionary(), ScanParams());
    const PutResult res = r.Put(t, s, Dictionary());
    EXPECT_EQ(res.put, 30);
    EXPECT_EQ(t.ReleveCount(), 30);
    EXPECT_EQ(t.MaxReleve(), 31);
    EXPECT_EQ(t.ColCount(), 35);
    EXPECT_EQ(t.SpeciesCount(), 29 * 5 + 10);  // 155
    EXPECT_EQ(t.MaxSpecies(), 159);
    EXPECT_EQ(t.RowCount(), 159 + t.FNRow() + 1);
    EXPECT_EQ(t.Text(2, t.FNRow() + 128), "sp127");
    EXPECT_EQ(t.Text(3, t.FNRow() + 128), "   2");  // sp127 in relevés 25 and 26
    EXPECT_EQ(t.Text(3 + 25, t.FNRow() + 128), "   +");
    EXPECT_EQ(t.Text(3 + 26, t.FNRow() + 128), "   +");
}

TEST(RetrievalPut, UnreadableMarkedRecordsAreReportedNotPut) {
    MemSource s = FiveReleves();
    Table t = EmptyTable();
    Retrieval r;
    r.Reset(s.RecordCount());
    r.Scan(s, Dictionary(), ScanParams());
    s.releves[2].readable = false;  // the file changed between the passes
    const PutResult res = r.Put(t, s, Dictionary());
    EXPECT_EQ(res.put, 4);
    EXPECT_EQ(res.skipped, V{3});
}

// Both front ends tell the user the same words about relevés left out of a pass.
TEST(RetrievalPut, MessagesAboutLeftOutRecords) {
    EXPECT_EQ(SkippedRecordsMessage({}), "");
    EXPECT_EQ(SkippedRecordsMessage({20, 19, 20}), "読み取れない測定 2 件をとばしました: 19, 20");
    EXPECT_EQ(NotPlacedRecordsMessage({}), "");
    EXPECT_EQ(NotPlacedRecordsMessage({7, 9}), "表が大きくなれず組み込めなかった測定 2 件: 7, 9");
    std::vector<int> many(25);
    for (int i = 0; i < 25; ++i) many[static_cast<std::size_t>(i)] = i + 1;
    const std::string msg = NotPlacedRecordsMessage(many);
    EXPECT_NE(msg.find("25 件: 1, 2,"), std::string::npos);
    EXPECT_TRUE(msg.ends_with(", 19, 20, ...")) << msg;
}

// Everything a column shows: header values, cells and covers.
std::vector<std::string> Columns(const Table& t) {
    std::vector<std::string> v;
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        const int rk = t.ReleveKeyAt(q);
        std::string col;
        for (int row = 1; row <= t.FNRow(); ++row) col += t.HeaderText(rk, row) + "|";
        for (int p = 1; p <= t.SpeciesCount(); ++p) {
            const int sk = t.SpeciesKeyAt(p);
            const LayerCovers c = t.Covers(rk, sk);
            col += t.SpeciesName(sk) + "=" + t.CellText(rk, sk) + std::string(c.v.begin(), c.v.end()) + ";";
        }
        v.push_back(col);
    }
    return v;
}

TEST(RetrievalPut, MarkedRelevesAreReadOnceWhileTheSourceStaysTheSame) {
    KnownSource s;
    static_cast<MemSource&>(s) = FiveReleves();
    for (auto& rel : s.releves) rel.items[2] = "N";
    Retrieval r;
    r.Reset(s.RecordCount());
    ScanParams p;
    p.conditions[0] = {"A", 0, And};  // records 1, 2, 5
    r.Scan(s, Dictionary(), p);
    EXPECT_EQ(r.KeptCount(), 3);
    // The species come from the scan: a change that the source does not own up to is not
    // seen, and only the header values are read again.
    s.releves[0].plants[1] = P("changed", kPlus);
    s.reads = 0;
    Table t = EmptyTable();
    const PutResult res = r.Put(t, s, Dictionary());
    EXPECT_EQ(res.put, 3);
    EXPECT_EQ(RowOf(t, "changed"), -1);
    EXPECT_NE(RowOf(t, "B"), -1);
    EXPECT_EQ(t.Text(4, 2), "N");

    // Once the source says it changed, everything is read again.
    s.identity = "v2";
    Table t2 = EmptyTable();
    r.Put(t2, s, Dictionary());
    EXPECT_NE(RowOf(t2, "changed"), -1);

    // A new scan forgets what the last one kept.
    p.conditions[0] = {"B", 0, And};
    r.Scan(s, Dictionary(), p);
    EXPECT_EQ(r.KeptCount(), 1);  // record 3; record 1 holds "changed" now
}

TEST(RetrievalPut, WhateverTheBudgetKeepsTheTableComesOutTheSame) {
    // Thirty relevés, ten species each.
    KnownSource s;
    for (int q = 0; q < 30; ++q) {
        MemReleve rel;
        for (int k = 0; k < 10; ++k)
            rel.plants.push_back(P("sp" + std::to_string((q * 7 + k * 3) % 40), Covers({k % 3, 0, 0, 0, 20})));
        rel.items[2] = "R" + std::to_string(q);
        rel.items[8] = std::to_string(q * 3);
        s.releves.push_back(rel);
    }
    std::vector<std::string> reference;
    for (std::size_t budget : {std::size_t{0}, std::size_t{600}, std::size_t{1} << 20}) {
        Retrieval r;
        r.SetKeepBudget(budget);
        r.Reset(s.RecordCount());
        ScanParams p;
        p.conditions[0] = {"sp3", 0, Or};
        p.conditions[1] = {"sp5", 0, Or};
        r.Scan(s, Dictionary(), p);
        if (budget == 0) {
            EXPECT_EQ(r.KeptCount(), 0);
        } else if (budget == 600) {
            EXPECT_GT(r.KeptCount(), 0);
            EXPECT_LT(r.KeptCount(), r.HitCount());
        } else {
            EXPECT_EQ(r.KeptCount(), r.HitCount());
        }
        Table t = EmptyTable();
        r.Put(t, s, Dictionary());
        if (reference.empty()) reference = Columns(t);
        else EXPECT_EQ(Columns(t), reference) << budget;
    }
    EXPECT_FALSE(reference.empty());
}

}  // namespace
}  // namespace tavik
