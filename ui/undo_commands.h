// Undoable changes to the table in the window. Every change the user makes to the table is
// one command on the table's history (TableHistory, ui/table_history.h), which the Edit menu's
// "元に戻す" and "やり直し" walk. The change itself is a core object (core/table_changes.h)
// that keeps only what it overwrote; a command wraps one change, gives it the workspace's
// table, and announces through its TableChangeNotifier that the table changed.
//
//     window->pushChange(QStringLiteral("種名の編集"),
//                        std::make_unique<SpeciesNameChange>(key, name));   // applied at once
//
// - The name is the menu's caption after "元に戻す：" / "やり直し：".
// - A command acts when it is pushed (TableHistory::pushCommand applies it first): a change
//   whose first run finds nothing to do is dropped, the history (the steps to redo too)
//   stays as it was, and the push returns false.
// - After each apply and revert the notifier's tableChanged(newLayout) follows, and the
//   window refreshes the grid, the status line and the caption; with Refresh::Layout (a
//   command that puts another table in place) also the view state of a new table (no search
//   hits, nothing hidden).
// - Changes made together are one CompositeChange. A step whose parts come with questions
//   to the user between them goes between TableHistory::beginStep(name) and endStep().
#pragma once

#include <QObject>
#include <QUndoCommand>
#include <functional>
#include <memory>

#include "core/table_changes.h"

namespace tavik {
class Workspace;
}

namespace tavik::ui {

// Tells the window that a command applied or reverted its change, and (while a long change
// runs) that it is between two passes over the table.
class TableChangeNotifier : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // What runs between two passes of a long change (TableChange::SetBetweenPasses): set by
    // whoever runs commands for the time of their run, empty otherwise.
    std::function<void()> betweenPasses;
    void passDone() const {
        if (betweenPasses) betweenPasses();
    }

signals:
    // With `newLayout` another table took this one's place.
    void tableChanged(bool newLayout);
};

class TableCommand : public QUndoCommand {
public:
    enum class Refresh { Status, Layout };

    TableCommand(Workspace& ws, TableChangeNotifier& notifier, const QString& name, std::unique_ptr<TableChange> change,
                 Refresh refresh = Refresh::Status);

    void redo() final;
    void undo() final;
    // What TableHistory::pushCommand does first: applies the change before the command goes
    // on the stack, so that one that finds nothing to do leaves the history as it was (the
    // steps to redo included). False when it found nothing to do.
    bool applyFirst();
    TableChange& change() { return *change_; }

private:
    Workspace& ws_;
    TableChangeNotifier& notifier_;
    std::unique_ptr<TableChange> change_;
    Refresh refresh_;
    bool appliedFirst_ = false;
};

}  // namespace tavik::ui
