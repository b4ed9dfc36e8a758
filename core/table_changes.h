// The undoable changes of the table. Each change is an object that makes itself (Apply) and
// takes itself back (Revert), keeping only what it overwrote: a reorder its permutations, a
// deletion the content it removed, a recount the texts it replaced. Only replacing the
// whole table (clearing, loading, a new layout of the header items) keeps a whole table.
//
// Apply runs first when the change is made, then at each redo; Revert at each undo. Each
// finds the table exactly as the other left it, so positions and keys taken at the first
// run stay valid. A first Apply that finds nothing to do returns false and leaves the
// table as it was. Neither asks anything nor throws: whoever makes a change checks first.
// The window wraps each change in a command of its undo history; the command line applies
// them once.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/cover_edit.h"
#include "core/sorting.h"
#include "core/table.h"
#include "core/text_edit.h"

namespace tavik {

class TableChange {
public:
    virtual ~TableChange() = default;
    // Makes the change; false (the table as it was) when the first run found nothing to do.
    virtual bool Apply(Table& t) = 0;
    virtual void Revert(Table& t) = 0;
    // Called by a long run before its first pass over the whole table (a recount, a memo of
    // the counts) and between its passes, with the table whole and consistent: whoever runs
    // the change may let a window answer there. Set once, before the first run.
    virtual void SetBetweenPasses(std::function<void()> betweenPasses) { betweenPasses_ = std::move(betweenPasses); }

protected:
    void BetweenPasses() const {
        if (betweenPasses_) betweenPasses_();
    }

private:
    std::function<void()> betweenPasses_;
};

// Several changes as one: applied in order, reverted in reverse order. Nothing to do when
// none of them has anything to do; the ones that had nothing to do are dropped.
class CompositeChange : public TableChange {
public:
    void Add(std::unique_ptr<TableChange> change) { parts_.push_back(std::move(change)); }
    bool Apply(Table& t) override;
    void Revert(Table& t) override;
    void SetBetweenPasses(std::function<void()> betweenPasses) override;

private:
    std::vector<std::unique_ptr<TableChange>> parts_;
    bool firstRun_ = true;
};

// The permutations a reorder applied (empty orders: that axis did not move).
struct Reordering {
    SortOrder species, releves;
};

// A reorder of species rows and/or relevé columns with the recounts that follow it: the
// sorts, the reciprocal-averaging reorder, the reorder by diagnostic species. The first run
// does the work through `first`, which returns the permutations it applied; later runs
// apply them again. Reverting applies their inverses and gives back the counts. A first
// run that moved nothing on a table that was counted has nothing to do.
class ReorderChange : public TableChange {
public:
    ReorderChange(bool countsSpecies, bool countsReleves, std::function<Reordering(Table&)> first);
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    bool countsSpecies_, countsReleves_;
    std::function<Reordering(Table&)> first_;
    Reordering applied_;
    CountMemo speciesCounts_, releveCounts_;
};

// Stable sorts of a range of positions by the counts (frequency of the species, number of
// species of the relevés), with the recount of their axis.
std::unique_ptr<ReorderChange> SortChange(Axis axis, int first, int last, bool descending,
                                          Progress* progress = nullptr);

// A drag of one used species row or relevé column (grid row / column) onto another.
class MoveLineChange : public TableChange {
public:
    MoveLineChange(Axis axis, int from, int to) : axis_(axis), from_(from), to_(to) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    Axis axis_;
    int from_, to_;
    bool firstRun_ = true;
    CountMemo counts_;
};

// Deleting a species row or relevé column (grid row / column) with its cascades.
class DeleteLineChange : public TableChange {
public:
    DeleteLineChange(Axis axis, int gridIndex) : axis_(axis), index_(gridIndex) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    Axis axis_;
    int index_;
    bool firstRun_ = true;
    RemovedLines removed_;
    CountMemo speciesCounts_, releveCounts_;
};

// Inserting an empty species row above a grid row / relevé column left of a grid column.
class InsertLineChange : public TableChange {
public:
    InsertLineChange(Axis axis, int gridIndex) : axis_(axis), index_(gridIndex) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    Axis axis_;
    int index_;
    bool firstRun_ = true;
    InsertedLine inserted_;
    CountMemo counts_;
};

// The recount of both axes; nothing to do on a table that was counted.
class RecountChange : public TableChange {
public:
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    bool firstRun_ = true;
    CountMemo species_, releves_;
};

// The field data's K and D codes that a retrieval read last; -1 where it read none.
struct CodeDigits {
    int k = -1, d = -1;
};

// Relevés put into the table from the field data: appended columns and species rows, the
// recount, and the table's K and D codes as the retrieval found them. The first run puts
// them in through `put`, which returns the codes it read. A put that fails half-way keeps
// what it put in (undoing takes it out) and its error for the caller (Error()).
class AppendChange : public TableChange {
public:
    explicit AppendChange(std::function<CodeDigits(Table&)> put) : put_(std::move(put)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;
    // What the first run's `put` threw, or null.
    std::exception_ptr Error() const { return error_; }

private:
    std::function<CodeDigits(Table&)> put_;
    std::exception_ptr error_;
    TableTail before_, after_;
    CodeDigits digitsBefore_, digitsAfter_;
};

// Another whole table in place of this one (clearing, loading, the header items laid out
// anew): the change keeps the other table and swaps.
class ReplaceTableChange : public TableChange {
public:
    explicit ReplaceTableChange(Table other) : other_(std::move(other)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override { std::swap(t, other_); }

private:
    Table other_;
};

// A text typed over a cell (species name, comment row, header value, item name).
class TextEditChange : public TableChange {
public:
    explicit TextEditChange(TextEdit edit) : edit_(std::move(edit)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    TextEdit edit_;
    bool firstRun_ = true;
};

// The covers and the code of one cell; the occurrence counts follow, and go back with it.
class CoverEditChange : public TableChange {
public:
    explicit CoverEditChange(CoverEdit edit) : edit_(std::move(edit)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override;

private:
    CoverEdit edit_;
    bool firstRun_ = true;
    CountMemo speciesCounts_, releveCounts_;
};

// The name of a species row or comment row, by its species key.
class SpeciesNameChange : public TableChange {
public:
    SpeciesNameChange(int key, std::string name) : key_(key), name_(std::move(name)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override { t.SetSpeciesName(key_, old_); }

private:
    int key_;
    std::string name_, old_;
};

// The table's title.
class TitleChange : public TableChange {
public:
    explicit TitleChange(std::string title) : title_(std::move(title)) {}
    bool Apply(Table& t) override;
    void Revert(Table& t) override { t.TableTitle = old_; }

private:
    std::string title_, old_;
};

}  // namespace tavik
