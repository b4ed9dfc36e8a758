// Undo and redo: the window's command stack, the Edit menu's two items, and what follows a
// command applied or reverted.
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QUndoStack>

#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/undo_commands.h"

namespace tavik::ui {

namespace {
const QString kUndoCaption = QStringLiteral("元に戻す");
const QString kRedoCaption = QStringLiteral("やり直し");

// "元に戻す：行の削除", or the bare caption when there is nothing to take back.
QString StepCaption(const QString& caption, const QString& name) {
    return name.isEmpty() ? caption : caption + QStringLiteral("：") + name;
}
}  // namespace

void MainWindow::buildUndo(QMenu* editMenu) {
    undoStack_ = new QUndoStack(this);
    undoStack_->setObjectName(QStringLiteral("undoStack"));
    undoStack_->setUndoLimit(100);

    actions_.undo = new QAction(kUndoCaption, this);
    actions_.undo->setObjectName(QStringLiteral("undo"));
    actions_.undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actions_.redo = new QAction(kRedoCaption, this);
    actions_.redo->setObjectName(QStringLiteral("redo"));
    actions_.redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {actions_.undo, actions_.redo}) {
        a->setShortcutContext(Qt::WindowShortcut);
        a->setEnabled(false);
        editMenu->addAction(a);
    }
    connect(actions_.undo, &QAction::triggered, this, &MainWindow::undo);
    connect(actions_.redo, &QAction::triggered, this, &MainWindow::redo);
    connect(undoStack_, &QUndoStack::canUndoChanged, actions_.undo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::canRedoChanged, actions_.redo, &QAction::setEnabled);
    connect(undoStack_, &QUndoStack::undoTextChanged, this,
            [this](const QString& name) { actions_.undo->setText(StepCaption(kUndoCaption, name)); });
    connect(undoStack_, &QUndoStack::redoTextChanged, this,
            [this](const QString& name) { actions_.redo->setText(StepCaption(kRedoCaption, name)); });
    // The caption's asterisk follows the saved state.
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this] { showTableStatus(); });
}

bool MainWindow::pushCommand(TableCommand* command) {
    commandApplied_ = false;
    undoStack_->push(command);
    return commandApplied_;
}

void MainWindow::tableCommandDone(bool layout) {
    commandApplied_ = true;
    if (layout) {
        modelWasReset();
        layoutRenewed();
    }
    showTableStatus();
}

void MainWindow::undo() {
    if (busy_ || !undoStack_->canUndo()) return;
    auto busy = BusyScope::cursorOnly(this);
    undoStack_->undo();
}

void MainWindow::redo() {
    if (busy_ || !undoStack_->canRedo()) return;
    auto busy = BusyScope::cursorOnly(this);
    undoStack_->redo();
}

}  // namespace tavik::ui
