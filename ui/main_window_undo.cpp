// Undo and redo: the window's command stack, the Edit menu's two items, and what follows a
// command applied or reverted; the question before unsaved changes go, and the recovery
// file.
#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLocale>
#include <QMenu>
#include <QTimer>
#include <QUndoStack>
#include <utility>

#include "ui/editing_controller.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/qt_text.h"
#include "ui/file_controller.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

namespace {
const QString kUndoCaption = QStringLiteral("元に戻す");
const QString kRedoCaption = QStringLiteral("やり直し");
// A command that takes longer than this is work worth a recovery file at once.
constexpr qint64 kLongCommandMs = 2000;

// "元に戻す：行の削除", or the bare caption when there is nothing to take back.
QString StepCaption(const QString& caption, const QString& name) {
    return name.isEmpty() ? caption : caption + QStringLiteral("：") + name;
}
}  // namespace

void MainWindow::buildUndo(QMenu* editMenu) {
    undoStack_ = new QUndoStack(this);
    undoStack_->setObjectName(QStringLiteral("undoStack"));
    undoStack_->setUndoLimit(100);
    tableChanges_ = new TableChangeNotifier(this);
    connect(tableChanges_, &TableChangeNotifier::tableChanged, this, &MainWindow::tableCommandDone);

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
    // Search hits are marks on positions: any step done, undone or redone may move the rows
    // and columns under them, so they go rather than mark another species.
    connect(undoStack_, &QUndoStack::indexChanged, this, [this] {
        if (!grid_->searchHits().empty()) editing_->resetSearch();
    });
    // The caption's asterisk follows the saved state.
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this] { showTableStatus(); });
}

bool MainWindow::pushCommand(TableCommand* raw) {
    // Owned here until the stack takes it: a change that refuses by throwing leaves nothing.
    std::unique_ptr<TableCommand> command(raw);
    QElapsedTimer clock;
    clock.start();
    if (!command->applyFirst()) return false;
    if (stepPending_) {
        undoStack_->beginMacro(stepName_);
        stepPending_ = false;
        stepOpen_ = true;
    }
    undoStack_->push(command.release());
    // Written once the command's work scope has ended.
    if (clock.elapsed() > kLongCommandMs) QTimer::singleShot(0, this, &MainWindow::writeRecovery);
    return true;
}

bool MainWindow::pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout) {
    return pushCommand(new TableCommand(ws_, *tableChanges_, name, std::move(change),
                                        newLayout ? TableCommand::Refresh::Layout : TableCommand::Refresh::Status));
}

void MainWindow::beginStep(const QString& name) {
    // A step inside another one belongs to the outer step.
    if (stepDepth_++ > 0) return;
    stepName_ = name;
    stepPending_ = true;
    stepOpen_ = false;
}

void MainWindow::endStep() {
    if (stepDepth_ == 0 || --stepDepth_ > 0) return;
    if (stepOpen_) undoStack_->endMacro();
    stepPending_ = stepOpen_ = false;
}

void MainWindow::tableCommandDone(bool layout) {
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

void MainWindow::emptyTableLaidOutAnew() {
    modelWasReset();
    undoStack_->clear();
}

// ---- Unsaved changes -------------------------------------------------------------------------

bool MainWindow::hasUnsavedChanges() const {
    return undoStack_ && !undoStack_->isClean() && ws_.table.ReleveCount() > 0;
}

bool MainWindow::maySetTableAside() { return files_->maySetTableAside(); }

void MainWindow::tableSaved() { files_->tableSaved(); }

// ---- Recovery (ui/file_controller.cpp) --------------------------------------------------------------

bool MainWindow::startUndoAndRecovery() {
    undoStack_->clear();
    undoStack_->setUndoLimit(ws_.settings.undoLimit);
    return files_->startRecovery();
}

QString MainWindow::recoveryPath() const { return files_->recoveryPath(); }

void MainWindow::setRecoveryInterval(int ms) { files_->setRecoveryInterval(ms); }

void MainWindow::writeRecovery() { files_->writeRecovery(); }

}  // namespace tavik::ui
