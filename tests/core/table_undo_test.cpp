// Taking changes back: every change, reverted with what it kept, leaves the table exactly as
// before (its saved text and every grid text, spare lines, counts and codes included), and
// applied again, exactly as after.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/reciprocal_averaging.h"
#include "core/sorting.h"
#include "core/table.h"
#include "core/table_changes.h"
#include "formats/saved_table.h"
#include "test_helpers.h"

namespace tavik {
namespace {

using testing::Covers;
using testing::MakeTable;

// Everything a user or a file could see of the table, spare lines and keys included.
std::string Fingerprint(const Table& t) {
    std::string s = SavedTableBytes(t);
    s += "|" + std::to_string(t.MaxSpecies()) + "x" + std::to_string(t.MaxReleve()) + "|" +
         std::to_string(t.RowCount()) + "|K" + std::to_string(t.CodeK) + "D" + std::to_string(t.CodeD);
    for (int r = 0; r < t.RowCount(); ++r)
        for (int c = 0; c < t.ColCount(); ++c) s += t.Text(c, r) + "\t";
    // The counts of the last recount, where they mean something: at the used positions.
    for (int p = 1; p <= t.SpeciesCount(); ++p) s += std::to_string(t.SpFreq()[static_cast<std::size_t>(p)]) + ",";
    s += "|";
    for (int q = 1; q <= t.ReleveCount(); ++q) s += std::to_string(t.RelNumSp()[static_cast<std::size_t>(q)]) + ",";
    for (int q = 0; q <= t.MaxReleve(); ++q)
        for (int p = 0; p <= t.MaxSpecies(); ++p) {
            const LayerCovers c = t.Covers(t.ReleveKeyAt(q), t.SpeciesKeyAt(p));
            if (!c.empty()) s += std::to_string(q) + ":" + std::to_string(p) + "=" + LayerCode(c) + ";";
        }
    return s;
}

// Where two fingerprints part, with a little of each, instead of the whole texts.
::testing::AssertionResult Same(const std::string& a, const std::string& b) {
    if (a == b) return ::testing::AssertionSuccess();
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    const std::size_t from = i > 60 ? i - 60 : 0;
    return ::testing::AssertionFailure() << "differ at " << i << ": ..." << a.substr(from, 120) << "\n vs ..."
                                         << b.substr(from, 120);
}

// Applies a change, reverts it, applies it again and reverts it again, checking the table
// after each step, as the undo history walks it.
void ExpectReversible(Table& t, TableChange& change) {
    const std::string before = Fingerprint(t);
    ASSERT_TRUE(change.Apply(t));
    const std::string after = Fingerprint(t);
    ASSERT_NE(after, before);
    change.Revert(t);
    EXPECT_TRUE(Same(Fingerprint(t), before));
    change.Apply(t);
    EXPECT_TRUE(Same(Fingerprint(t), after));
    change.Revert(t);
    EXPECT_TRUE(Same(Fingerprint(t), before));
}

void ExpectReversible(Table& t, std::unique_ptr<TableChange> change) { ExpectReversible(t, *change); }

// A first run that finds nothing to do says so and leaves the table as it was.
void ExpectNothingToDo(Table& t, TableChange&& change) {
    const std::string before = Fingerprint(t);
    EXPECT_FALSE(change.Apply(t));
    EXPECT_TRUE(Same(Fingerprint(t), before));
}

int RowOf(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return 0;
}

// Five relevés, a long cell text, covers on a relevé record, a comment row, and keys that
// no longer equal positions.
Table Sample() {
    Table t = MakeTable({{"a", "b"}, {"b", "c", "d"}, {"a", "e"}, {"c"}, {"b", "d", "f"}});
    t.SetCell(t.ReleveKeyAt(2), t.SpeciesKeyAt(2), "a long cell text", Covers({10, 0, 20}));
    t.SetReleveRecord(t.ReleveKeyAt(3), Covers({5, 2}));
    t.InsertRow(t.FNRow() + 3);
    t.SetComment(t.FNRow() + 3, "comment row");
    SortSpecies(t, 1, t.SpeciesCount(), true);
    SortReleves(t, 1, t.ReleveCount(), true);
    return t;
}

TEST(TableUndo, CountMemoIsEmptyOnACountedTableAndChangesNothing) {
    Table t = Sample();
    const std::string before = Fingerprint(t);
    EXPECT_TRUE(t.MemoSpeciesCounts().empty());
    EXPECT_TRUE(t.MemoReleveCounts().empty());
    EXPECT_TRUE(Same(Fingerprint(t), before));

    // A drag leaves the counts as they were until the next recount: the memo keeps them.
    t.MoveRow(t.FNRow() + 1, t.FNRow() + 4);
    t.MoveColumn(4, 6);
    const std::string moved = Fingerprint(t);
    const CountMemo species = t.MemoSpeciesCounts();
    const CountMemo releves = t.MemoReleveCounts();
    EXPECT_FALSE(species.empty());
    EXPECT_FALSE(releves.empty());
    EXPECT_TRUE(Same(Fingerprint(t), moved));
    t.Recount();
    EXPECT_NE(Fingerprint(t), moved);
    t.RestoreSpeciesCounts(species);
    t.RestoreReleveCounts(releves);
    EXPECT_TRUE(Same(Fingerprint(t), moved));
}

TEST(TableUndo, ReordersGoBackByTheirInverse) {
    for (bool counted : {true, false}) {
        Table t = Sample();
        // Uncounted: the texts a sort's recount overwrites are not what a recount writes.
        if (!counted) t.MoveRow(t.FNRow() + 2, t.FNRow() + 5);
        ExpectReversible(t, SortChange(Axis::Species, 2, 6, false));
        ExpectReversible(t, SortChange(Axis::Releves, 1, t.ReleveCount(), false));
    }
    EXPECT_EQ(InverseOrder(3, {5, 3, 4}), (std::vector<int>{4, 5, 3}));
}

TEST(TableUndo, AReorderThatMovesNothingIsNoChangeUnlessItsRecountIs) {
    Table t = Sample();  // counted, both axes sorted descending
    ExpectNothingToDo(t, std::move(*SortChange(Axis::Species, 1, t.SpeciesCount(), true)));
    ExpectNothingToDo(t, std::move(*SortChange(Axis::Releves, 1, t.ReleveCount(), true)));
    ExpectNothingToDo(t, std::move(*SortChange(Axis::Releves, 2, 2, false)));
    ExpectNothingToDo(t, ReorderChange(true, true, [](Table&) -> Reordering { return {{1, {1, 2, 3}}, {}}; }));

    // A relevé emptied without a recount: the order by the counts shown stays, but the
    // recount writes new counts, and that is a change to take back.
    int p = t.SpeciesCount();
    while (t.Text(4, t.FNRow() + p).empty()) --p;  // the last species of the first relevé
    t.SetCell(t.ReleveKeyAt(1), t.SpeciesKeyAt(p), "", {});
    ExpectReversible(t, SortChange(Axis::Species, 1, t.SpeciesCount(), true));
}

TEST(TableUndo, ReciprocalAveragingReorderGoesBack) {
    Table t = MakeTable({{"a", "b"}, {"b", "c"}, {"c", "d"}, {"d", "e"}, {"a", "e", "f"}});
    const RaResult scores = ReciprocalAveraging(t, false);
    ReorderChange reorder(true, true, [&](Table& table) -> Reordering {
        RaOrder o = ApplyRaOrder(table, scores);
        return {{1, std::move(o.species)}, {1, std::move(o.releves)}};
    });
    ExpectReversible(t, reorder);
}

TEST(TableUndo, MovesAndRecountsGoBackTogether) {
    Table t = Sample();
    const int fn = t.FNRow();
    ExpectReversible(t, std::make_unique<MoveLineChange>(Axis::Species, fn + 1, fn + 4));
    ExpectReversible(t, std::make_unique<MoveLineChange>(Axis::Releves, 4, 6));
    // A drag onto a spare line is no move.
    ExpectNothingToDo(t, MoveLineChange(Axis::Species, fn + 1, fn + t.SpeciesCount() + 1));

    // A counted table needs no recount; an uncounted one gets it, and gets its texts back.
    ExpectNothingToDo(t, RecountChange());
    t.MoveRow(fn + 1, fn + 4);
    t.MoveColumn(4, 6);
    ExpectReversible(t, std::make_unique<RecountChange>());

    // Parts that find nothing to do drop out of a composite; none at all leaves it empty.
    CompositeChange step;
    step.Add(std::make_unique<RecountChange>());
    step.Add(std::make_unique<TitleChange>(t.TableTitle));
    step.Add(std::make_unique<SpeciesNameChange>(t.SpeciesKeyAt(2), "renamed"));
    ExpectReversible(t, step);
    CompositeChange idle;
    idle.Add(std::make_unique<TitleChange>(t.TableTitle));
    ExpectNothingToDo(t, std::move(idle));
}

TEST(TableUndo, DeletionsComeBackWithTheirCascades) {
    Table t = Sample();
    const int fn = t.FNRow();
    // Species "c" occurs in relevés 2 and 4, and relevé 4 holds only it: deleting its row
    // drops that relevé too.
    const int rowC = RowOf(t, "c");
    ASSERT_GT(rowC, 0);
    const int releveCount = t.ReleveCount();
    DeleteLineChange deleteC(Axis::Species, rowC);
    ASSERT_TRUE(deleteC.Apply(t));
    EXPECT_EQ(t.ReleveCount(), releveCount - 1);
    deleteC.Revert(t);
    EXPECT_EQ(t.ReleveCount(), releveCount);
    ExpectReversible(t, std::make_unique<DeleteLineChange>(Axis::Species, rowC));

    // Every column (one holds the long text and takes species rows and the comment row
    // with it), then every row.
    for (int col = 4; col < 4 + t.ReleveCount(); ++col)
        ExpectReversible(t, std::make_unique<DeleteLineChange>(Axis::Releves, col));
    for (int row = fn + 1; row <= fn + t.SpeciesCount(); ++row)
        ExpectReversible(t, std::make_unique<DeleteLineChange>(Axis::Species, row));
    // Nothing to delete changes nothing.
    ExpectNothingToDo(t, DeleteLineChange(Axis::Species, fn));
    ExpectNothingToDo(t, DeleteLineChange(Axis::Releves, 4 + t.ReleveCount()));
}

TEST(TableUndo, InsertionsGoBackIncludingTheirGrowth) {
    Table t = Sample();
    const int fn = t.FNRow();
    ExpectReversible(t, std::make_unique<InsertLineChange>(Axis::Species, fn + 2));
    ExpectReversible(t, std::make_unique<InsertLineChange>(Axis::Releves, 5));
    ExpectNothingToDo(t, InsertLineChange(Axis::Releves, 3));

    // Full to the capacity: the insertion grows the table, and undoing gives the growth back.
    while (t.ReleveCount() < t.MaxReleve()) ASSERT_TRUE(t.InsertColumn(4));
    while (t.SpeciesCount() < t.MaxSpecies()) ASSERT_TRUE(t.InsertRow(fn + 1));
    const int maxReleve = t.MaxReleve(), maxSpecies = t.MaxSpecies();
    InsertLineChange column(Axis::Releves, 6), row(Axis::Species, fn + 3);
    ASSERT_TRUE(column.Apply(t));
    EXPECT_GT(t.MaxReleve(), maxReleve);
    column.Revert(t);
    EXPECT_EQ(t.MaxReleve(), maxReleve);
    ExpectReversible(t, column);
    ASSERT_TRUE(row.Apply(t));
    EXPECT_GT(t.MaxSpecies(), maxSpecies);
    row.Revert(t);
    EXPECT_EQ(t.MaxSpecies(), maxSpecies);
    ExpectReversible(t, row);
}

// Puts `count` relevés in as a retrieval does: new species rows, cells, the recount.
void PutReleves(Table& t, int count) {
    for (int i = 0; i < count; ++i) {
        const int q = t.AppendReleve();
        ASSERT_GT(q, 0);
        const int p = t.AppendSpecies("new " + std::to_string(i));
        for (int k : {p, 1 + i % 3}) {
            const LayerCovers c = Covers({0, 0, 0, 0, 20});
            t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(k), LayerCode(c), c);
        }
    }
    t.Recount();
}

TEST(TableUndo, AppendsGoBackAndComeAgainThroughGrowthWithTheirCodes) {
    Table t = Sample();
    // A spare relevé that a deletion left with content of its own (its number).
    t.DeleteColumnCommand(5);
    const int r0 = t.ReleveCount(), k0 = t.CodeK, d0 = t.CodeD;
    // Enough relevés and species to grow both capacities; the codes of the data come in.
    int runs = 0;
    AppendChange append([&](Table& table) {
        ++runs;
        PutReleves(table, 30);
        return CodeDigits{7, 1};
    });
    ExpectReversible(t, append);
    EXPECT_EQ(runs, 1);  // redone from what it kept, not put in again
    EXPECT_EQ(t.ReleveCount(), r0);
    EXPECT_EQ(t.CodeK, k0);
    EXPECT_EQ(t.CodeD, d0);
    append.Apply(t);
    EXPECT_EQ(t.ReleveCount(), r0 + 30);
    EXPECT_EQ(t.CodeK, 7);
    EXPECT_EQ(t.CodeD, 1);

    // Codes the retrieval did not read stay as they are; nothing put in is nothing to do.
    ExpectNothingToDo(t, AppendChange([](Table&) { return CodeDigits{}; }));
    ExpectNothingToDo(t, AppendChange([&](Table& table) { return CodeDigits{table.CodeK, table.CodeD}; }));
}

TEST(TableUndo, AnAppendThatFailsHalfWayKeepsItsErrorAndGoesBack) {
    Table t = Sample();
    const std::string before = Fingerprint(t);
    AppendChange append([](Table& table) -> CodeDigits {
        PutReleves(table, 2);
        throw std::runtime_error("data.tkd: record 3 unreadable");
    });
    ASSERT_TRUE(append.Apply(t));
    ASSERT_TRUE(append.Error());
    EXPECT_THROW(std::rethrow_exception(append.Error()), std::runtime_error);
    EXPECT_EQ(t.ReleveCount(), 5 + 2);
    append.Revert(t);
    EXPECT_TRUE(Same(Fingerprint(t), before));
}

TEST(TableUndo, WholeTablesSwapAndNamesAndTitlesGoBack) {
    Table t = Sample();
    Table cleared = t;
    cleared.ClearTable();
    ExpectReversible(t, std::make_unique<ReplaceTableChange>(std::move(cleared)));
    ExpectReversible(t, std::make_unique<TitleChange>("新しい表題"));
    ExpectNothingToDo(t, TitleChange(t.TableTitle));
    const int key = t.SpeciesKeyAt(3);
    ExpectReversible(t, std::make_unique<SpeciesNameChange>(key, "改名"));
    ExpectNothingToDo(t, SpeciesNameChange(key, t.SpeciesName(key)));
}

}  // namespace
}  // namespace tavik
