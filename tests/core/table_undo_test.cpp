// Taking changes back: every change, reversed with what it kept, leaves the table exactly as
// before (its saved text and every grid text, spare lines and counts included), and
// repeated, exactly as after.
#include <gtest/gtest.h>

#include "core/reciprocal_averaging.h"
#include "core/sorting.h"
#include "core/table.h"
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
         std::to_string(t.RowCount());
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

// Does, undoes and does again, checking the table after each.
template <class Do, class Undo>
void ExpectReversible(Table& t, Do apply, Undo revert) {
    const std::string before = Fingerprint(t);
    apply();
    const std::string after = Fingerprint(t);
    ASSERT_NE(after, before);
    revert();
    EXPECT_TRUE(Same(Fingerprint(t), before));
    apply();
    EXPECT_TRUE(Same(Fingerprint(t), after));
    revert();
    EXPECT_TRUE(Same(Fingerprint(t), before));
}

// Five relevés, a long cell text, covers on a relevé record, a comment row, and keys that
// no longer equal positions.
Table Sample() {
    Table t = MakeTable({{"a", "b"}, {"b", "c", "d"}, {"a", "e"}, {"c"}, {"b", "d", "f"}});
    t.SetCell(t.ReleveKeyAt(2), t.SpeciesKeyAt(2), "a long cell text", Covers({10, 0, 20}));
    t.SetReleveRecord(t.ReleveKeyAt(3), Covers({5, 2}));
    t.InsertRow(t.FNRow() + 3);
    t.SetComment(t.FNRow() + 3, "comment row");
    SortPlants(t, 1, t.SpeciesCount(), true);
    SortReleve(t, 1, t.ReleveCount(), true);
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
        CountMemo memo;
        SortOrder applied;
        ExpectReversible(
            t,
            [&] {
                memo = t.MemoSpeciesCounts();
                applied = SortPlants(t, 2, 6, false);
            },
            [&] {
                t.PermuteSpecies(applied.first, InverseOrder(applied.first, applied.order));
                t.RestoreSpeciesCounts(memo);
            });
        ExpectReversible(
            t,
            [&] {
                memo = t.MemoReleveCounts();
                applied = SortReleve(t, 1, t.ReleveCount(), false);
            },
            [&] {
                t.PermuteReleves(applied.first, InverseOrder(applied.first, applied.order));
                t.RestoreReleveCounts(memo);
            });
    }
    EXPECT_EQ(InverseOrder(3, {5, 3, 4}), (std::vector<int>{4, 5, 3}));
}

TEST(TableUndo, DeletionsComeBackWithTheirCascades) {
    Table t = Sample();
    const int fn = t.FNRow();
    // Species "c" alone in relevé 4 ("c" occurs in relevés 2 and 4): deleting its row drops
    // the relevé that held only it.
    int rowC = 0;
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == "c") rowC = fn + p;
    ASSERT_GT(rowC, 0);
    RemovedLines removed;
    CountMemo species, releves;
    auto countsBefore = [&] {
        species = t.MemoSpeciesCounts();
        releves = t.MemoReleveCounts();
    };
    auto putBack = [&] {
        t.PutBack(removed);
        t.RestoreSpeciesCounts(species);
        t.RestoreReleveCounts(releves);
    };
    const int releveCount = t.ReleveCount();
    ExpectReversible(t, [&] {
        countsBefore();
        ASSERT_TRUE(t.DeleteRowCommand(rowC, &removed));
        EXPECT_EQ(t.ReleveCount(), releveCount - 1);
        EXPECT_EQ(removed.releves.size(), 1u);
    }, putBack);

    // The relevé with the long text and the species found only there (d's column holds
    // b, c, d and the long text): its cascade takes species rows and the comment row.
    for (int col = 4; col < 4 + t.ReleveCount(); ++col)
        ExpectReversible(t, [&] {
            countsBefore();
            ASSERT_TRUE(t.DeleteColumnCommand(col, &removed));
        }, putBack);
    for (int row = fn + 1; row <= fn + t.SpeciesCount(); ++row)
        ExpectReversible(t, [&] {
            countsBefore();
            ASSERT_TRUE(t.DeleteRowCommand(row, &removed));
        }, putBack);
    // Nothing to delete changes nothing.
    EXPECT_FALSE(t.DeleteRowCommand(fn, &removed));
}

TEST(TableUndo, InsertionsGoBackIncludingTheirGrowth) {
    Table t = Sample();
    InsertedLine inserted;
    CountMemo memo;
    const int fn = t.FNRow();
    ExpectReversible(t, [&] {
        memo = t.MemoSpeciesCounts();
        ASSERT_TRUE(t.InsertRow(fn + 2, &inserted));
    }, [&] {
        t.TakeBack(inserted);
        t.RestoreSpeciesCounts(memo);
    });
    ExpectReversible(t, [&] {
        memo = t.MemoReleveCounts();
        ASSERT_TRUE(t.InsertColumn(5, &inserted));
    }, [&] {
        t.TakeBack(inserted);
        t.RestoreReleveCounts(memo);
    });

    // Full to the capacity: the insertion grows the table, and undoing gives the growth back.
    while (t.ReleveCount() < t.MaxReleve()) ASSERT_TRUE(t.InsertColumn(4));
    while (t.SpeciesCount() < t.MaxSpecies()) ASSERT_TRUE(t.InsertRow(fn + 1));
    const int maxReleve = t.MaxReleve(), maxSpecies = t.MaxSpecies();
    ExpectReversible(t, [&] {
        memo = t.MemoReleveCounts();
        ASSERT_TRUE(t.InsertColumn(6, &inserted));
        EXPECT_GT(t.MaxReleve(), maxReleve);
    }, [&] {
        t.TakeBack(inserted);
        t.RestoreReleveCounts(memo);
    });
    ExpectReversible(t, [&] {
        memo = t.MemoSpeciesCounts();
        ASSERT_TRUE(t.InsertRow(fn + 3, &inserted));
        EXPECT_GT(t.MaxSpecies(), maxSpecies);
    }, [&] {
        t.TakeBack(inserted);
        t.RestoreSpeciesCounts(memo);
    });
}

TEST(TableUndo, AppendsGoBackAndComeAgainThroughGrowth) {
    Table t = Sample();
    // A spare relevé that a deletion left with content of its own (its number).
    t.DeleteColumnCommand(5);
    const int s0 = t.SpeciesCount(), r0 = t.ReleveCount();
    TableTail before, after;
    ExpectReversible(t, [&] {
        if (after.speciesCount == 0) {
            before = t.CopyTail(s0 + 1, t.MaxSpecies(), r0 + 1, t.MaxReleve());
            // Enough relevés and species to grow both capacities, as a retrieval does.
            for (int i = 0; i < 30; ++i) {
                const int q = t.AppendReleve();
                ASSERT_GT(q, 0);
                const int p = t.AppendSpecies("new " + std::to_string(i));
                for (int k : {p, 1 + i % 3}) {
                    const LayerCovers c = Covers({0, 0, 0, 0, 20});
                    t.SetCell(t.ReleveKeyAt(q), t.SpeciesKeyAt(k), LayerCode(c), c);
                }
            }
            t.Recount();
        } else {
            t.RestoreTail(after);
        }
    }, [&] {
        after = t.CopyTail(s0 + 1, t.SpeciesCount(), r0 + 1, t.ReleveCount());
        t.RestoreTail(before);
    });
}

TEST(TableUndo, ReciprocalAveragingReorderGoesBack) {
    Table t = MakeTable({{"a", "b"}, {"b", "c"}, {"c", "d"}, {"d", "e"}, {"a", "e", "f"}});
    const RaResult scores = ReciprocalAveraging(t, false);
    CountMemo species, releves;
    RaOrder order;
    ExpectReversible(t, [&] {
        species = t.MemoSpeciesCounts();
        releves = t.MemoReleveCounts();
        order = ApplyRaOrder(t, scores);
    }, [&] {
        t.PermuteReleves(1, InverseOrder(1, order.releves));
        t.PermuteSpecies(1, InverseOrder(1, order.species));
        t.RestoreSpeciesCounts(species);
        t.RestoreReleveCounts(releves);
    });
}

}  // namespace
}  // namespace tavik
