// Undoable changes to the table. Every change the user makes to the table is one command
// on the window's undo stack (MainWindow::undoStack()), which the Edit menu's "元に戻す" and
// "やり直し" walk. The table core keeps what a command needs to reverse itself (Table's
// "Reversing changes"): a command stores only what its change overwrote, never the table.
//
// How to write one:
//
//     class RenameCommand : public TableCommand {
//     public:
//         RenameCommand(MainWindow* w, int key, std::string name)
//             : TableCommand(w, QStringLiteral("種名の編集")), key_(key), new_(std::move(name)) {}
//     protected:
//         void apply() override {                 // the change; also its first run
//             old_ = table().SpeciesName(key_);
//             table().SetSpeciesName(key_, new_);
//         }
//         void revert() override { table().SetSpeciesName(key_, old_); }
//     private:
//         int key_;
//         std::string new_, old_;
//     };
//
//     window->pushCommand(new RenameCommand(window, key, name));   // runs apply() at once
//
// - The name is the menu's caption after "元に戻す：" / "やり直し：".
// - apply() runs when the command is pushed and at each redo; revert() at each undo. Each
//   finds the table exactly as the other left it, so positions and keys taken at the first
//   run stay valid. Neither may ask the user anything or throw: ask and check before
//   pushing.
// - A first apply() that finds nothing to do calls setObsolete(true): the command is then
//   dropped, the history (the steps to redo too) stays as it was, and pushCommand()
//   returns false.
// - After apply() and revert() the window refreshes by itself: the grid, the status line and
//   the caption (Refresh::Status), or, for a command that puts another table in place, also
//   the view state of a new table (Refresh::Layout: no search hits, nothing hidden).
// - For a small change, FunctionCommand takes the two halves as functions.
// - Several pushes that the user sees as one step go between undoStack()->beginMacro(name)
//   and endMacro().
#pragma once

#include <QUndoCommand>
#include <functional>
#include <string>

#include "core/sorting.h"
#include "core/table.h"

namespace tavik::ui {

class MainWindow;

class TableCommand : public QUndoCommand {
public:
    enum class Refresh { Status, Layout };

    TableCommand(MainWindow* window, const QString& name, Refresh refresh = Refresh::Status);

    void redo() final;
    void undo() final;
    // What MainWindow::pushCommand does first: applies the command before it goes on the
    // stack, so that one that finds nothing to do leaves the history as it was (the steps
    // to redo included). False when it found nothing to do.
    bool applyFirst();

protected:
    virtual void apply() = 0;
    virtual void revert() = 0;
    Table& table();
    MainWindow* window() const { return window_; }
    // True during the first apply() (the change is being made, not repeated).
    bool firstRun() const { return firstRun_; }

private:
    MainWindow* window_;
    Refresh refresh_;
    bool firstRun_ = true;
    bool appliedFirst_ = false;
};

// A command from two functions (a text edit: set the new text / set the old one).
class FunctionCommand : public TableCommand {
public:
    FunctionCommand(MainWindow* window, const QString& name, std::function<void(Table&)> apply,
                    std::function<void(Table&)> revert, Refresh refresh = Refresh::Status);

protected:
    void apply() override { apply_(table()); }
    void revert() override { revert_(table()); }

private:
    std::function<void(Table&)> apply_, revert_;
};

// A reorder of species rows and/or relevé columns, with the recounts that follow it: the
// sorts, the reciprocal-averaging reorder and the reorder by diagnostic blocks. The first
// run does the work through `first`, which returns the permutations it applied; later runs
// apply them again. Undoing applies their inverses and gives back the counts.
class ReorderCommand : public TableCommand {
public:
    struct Applied {
        SortOrder species, releves;
    };
    ReorderCommand(MainWindow* window, const QString& name, bool countsSpecies, bool countsReleves,
                   std::function<Applied(Table&)> first);

protected:
    void apply() override;
    void revert() override;

private:
    bool countsSpecies_, countsReleves_;
    std::function<Applied(Table&)> first_;
    Applied applied_;
    CountMemo speciesCounts_, releveCounts_;
};

// A drag of one species row or relevé column to another used position.
class MoveLineCommand : public TableCommand {
public:
    MoveLineCommand(MainWindow* window, bool species, int from, int to);

protected:
    void apply() override;
    void revert() override;

private:
    bool species_;
    int from_, to_;
    CountMemo counts_;
};

// Deleting a species row or a relevé column with its cascades.
class DeleteLineCommand : public TableCommand {
public:
    DeleteLineCommand(MainWindow* window, bool species, int gridIndex);

protected:
    void apply() override;
    void revert() override;

private:
    bool species_;
    int index_;
    RemovedLines removed_;
    CountMemo speciesCounts_, releveCounts_;
};

// Inserting an empty species row or relevé column.
class InsertLineCommand : public TableCommand {
public:
    InsertLineCommand(MainWindow* window, bool species, int gridIndex);

protected:
    void apply() override;
    void revert() override;

private:
    bool species_;
    int index_;
    InsertedLine inserted_;
    CountMemo counts_;
};

// The recount of both dimensions (pushed only when it changes something).
class RecountCommand : public TableCommand {
public:
    RecountCommand(MainWindow* window, CountMemo species, CountMemo releves);

protected:
    void apply() override { table().Recount(); }
    void revert() override;

private:
    CountMemo species_, releves_;
};

// Relevés put into the table from the field data: appended columns and species rows. The
// window captures the spare lines before the retrieval (Table::CopyTail) and pushes this
// after it, done.
class AppendCommand : public TableCommand {
public:
    AppendCommand(MainWindow* window, TableTail before);

protected:
    void apply() override;
    void revert() override;

private:
    TableTail before_, after_;
};

// Another whole table in place of this one (clearing, loading): the command keeps the
// other table and swaps. Pushed after the change was made.
class SwapTableCommand : public TableCommand {
public:
    SwapTableCommand(MainWindow* window, const QString& name, Table other);

protected:
    void apply() override;
    void revert() override { swap(); }

private:
    void swap();
    Table other_;
};

}  // namespace tavik::ui
