#include "ui/table_history.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUndoStack>
#include <utility>

#include "ui/busy_scope.h"
#include "ui/undo_commands.h"
#include "ui/window_services.h"

namespace tavik::ui {

namespace {
// A command that takes longer than this is work worth a recovery file at once.
constexpr qint64 kLongCommandMs = 2000;

// "元に戻す：行の削除", or the bare caption when there is nothing to take back. Looked up
// each time: the captions follow the interface's language.
QString UndoCaption(const QString& name) {
    return name.isEmpty() ? QCoreApplication::translate("TableHistory", "元に戻す")
                          : QCoreApplication::translate("TableHistory", "元に戻す：%1").arg(name);
}

QString RedoCaption(const QString& name) {
    return name.isEmpty() ? QCoreApplication::translate("TableHistory", "やり直し")
                          : QCoreApplication::translate("TableHistory", "やり直し：%1").arg(name);
}
}  // namespace

TableHistory::TableHistory(WindowServices& window, QObject* parent)
    : QObject(parent), window_(window), stack_(new QUndoStack(this)), notifier_(new TableChangeNotifier(this)) {
    stack_->setObjectName(QStringLiteral("undoStack"));
    stack_->setUndoLimit(100);
    connect(notifier_, &TableChangeNotifier::tableChanged, this, &TableHistory::tableChanged);
}

void TableHistory::driveActions(QAction* undo, QAction* redo) {
    undo->setText(UndoCaption(QString()));
    redo->setText(RedoCaption(QString()));
    connect(undo, &QAction::triggered, this, &TableHistory::undo);
    connect(redo, &QAction::triggered, this, &TableHistory::redo);
    connect(stack_, &QUndoStack::canUndoChanged, undo, &QAction::setEnabled);
    connect(stack_, &QUndoStack::canRedoChanged, redo, &QAction::setEnabled);
    connect(stack_, &QUndoStack::undoTextChanged, undo,
            [undo](const QString& name) { undo->setText(UndoCaption(name)); });
    connect(stack_, &QUndoStack::redoTextChanged, redo,
            [redo](const QString& name) { redo->setText(RedoCaption(name)); });
}

bool TableHistory::pushCommand(TableCommand* raw) {
    // Owned here until the stack takes it: a change that refuses by throwing leaves nothing.
    std::unique_ptr<TableCommand> command(raw);
    QElapsedTimer clock;
    clock.start();
    if (!command->applyFirst()) return false;
    if (stepPending_) {
        stack_->beginMacro(stepName_);
        stepPending_ = false;
        stepOpen_ = true;
    }
    stack_->push(command.release());
    // Written once the command's work scope has ended.
    if (clock.elapsed() > kLongCommandMs) window_.writeRecoveryLater();
    return true;
}

bool TableHistory::pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout) {
    return pushCommand(new TableCommand(window_.workspace(), *notifier_, name, std::move(change),
                                        newLayout ? TableCommand::Refresh::Layout : TableCommand::Refresh::Status));
}

void TableHistory::beginStep(const QString& name) {
    if (stepDepth_++ > 0) return;
    stepName_ = name;
    stepPending_ = true;
    stepOpen_ = false;
}

void TableHistory::endStep() {
    if (stepDepth_ == 0 || --stepDepth_ > 0) return;
    if (stepOpen_) stack_->endMacro();
    stepPending_ = stepOpen_ = false;
}

bool TableHistory::hasUnsavedChanges() const {
    return !stack_->isClean() && window_.workspace().table.ReleveCount() > 0;
}

void TableHistory::undo() {
    if (window_.isBusy() || !stack_->canUndo()) return;
    auto busy = BusyScope::cursorOnly(&window_);
    stack_->undo();
}

void TableHistory::redo() {
    if (window_.isBusy() || !stack_->canRedo()) return;
    auto busy = BusyScope::cursorOnly(&window_);
    stack_->redo();
}

}  // namespace tavik::ui
