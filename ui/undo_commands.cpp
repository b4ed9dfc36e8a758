#include "ui/undo_commands.h"

#include "formats/workspace.h"

namespace tavik::ui {

TableCommand::TableCommand(Workspace& ws, TableChangeNotifier& notifier, const QString& name,
                           std::unique_ptr<TableChange> change, Refresh refresh)
    : QUndoCommand(name), ws_(ws), notifier_(notifier), change_(std::move(change)), refresh_(refresh) {
    change_->SetBetweenPasses([n = &notifier_] { n->passDone(); });
}

bool TableCommand::applyFirst() {
    if (!change_->Apply(ws_.table)) {
        setObsolete(true);
        return false;
    }
    appliedFirst_ = true;
    notifier_.passDone();
    emit notifier_.tableChanged(refresh_ == Refresh::Layout);
    return true;
}

void TableCommand::redo() {
    // Pushed after applyFirst(): the stack's first redo finds the work done.
    if (appliedFirst_) {
        appliedFirst_ = false;
        return;
    }
    change_->Apply(ws_.table);
    notifier_.passDone();
    emit notifier_.tableChanged(refresh_ == Refresh::Layout);
}

void TableCommand::undo() {
    change_->Revert(ws_.table);
    notifier_.passDone();
    emit notifier_.tableChanged(refresh_ == Refresh::Layout);
}

}  // namespace tavik::ui
