#include "ui/table_history.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QUndoStack>
#include <optional>
#include <utility>

#include "ui/busy_scope.h"
#include "ui/undo_commands.h"
#include "ui/window_services.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
// A command that takes longer than this is work worth a recovery file at once.
constexpr qint64 kLongCommandMs = 2000;
// From this many relevés on, a pass over the table takes long enough to be seen.
constexpr int kLargeTable = 20000;

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

// While the history runs a change: a change still at work after quietMs_ (or, on a table
// of kLargeTable relevés or more, any change that works in passes over the table) locks the
// window and shows the work message at its next report before or between two passes (a
// command already at work keeps its own message), and every report lets the window answer
// and repaint. A short change leaves the window as it was.
class TableHistory::PassWatch {
public:
    PassWatch(TableHistory& history, QString line1, QString line2)
        : history_(history), line1_(std::move(line1)), line2_(std::move(line2)),
          outer_(std::exchange(history.notifier_->betweenPasses, [this] { pass(); })) {
        clock_.start();
    }
    ~PassWatch() { history_.notifier_->betweenPasses = std::move(outer_); }
    PassWatch(const PassWatch&) = delete;
    PassWatch& operator=(const PassWatch&) = delete;

private:
    void pass() {
        if (progress_) {
            progress_->pump();
            return;
        }
        WindowServices& w = history_.window_;
        if (clock_.elapsed() < quietMs_ && w.workspace().table.ReleveCount() < kLargeTable) return;
        if (!w.isBusy()) {
            busy_.emplace(BusyScope::working(&w));
            w.workMessage()->showMessage(line1_, line2_);
        } else if (w.workMessage()->isHidden()) {
            w.workMessage()->showMessage(line1_, line2_);
        }
        progress_.emplace(w.workMessage(), false);
        progress_->pump(true);
    }

    TableHistory& history_;
    QString line1_, line2_;
    std::function<void()> outer_;
    QElapsedTimer clock_;
    std::optional<BusyScope> busy_;
    std::optional<WorkProgress> progress_;
};

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
    const PassWatch watch(*this, QCoreApplication::translate("TableHistory", "　%1　").arg(command->text()), QString());
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
    const PassWatch watch(*this, QCoreApplication::translate("TableHistory", "　元に戻しています　"),
                          stack_->undoText());
    stack_->undo();
}

void TableHistory::redo() {
    if (window_.isBusy() || !stack_->canRedo()) return;
    auto busy = BusyScope::cursorOnly(&window_);
    const PassWatch watch(*this, QCoreApplication::translate("TableHistory", "　やり直しています　"),
                          stack_->redoText());
    stack_->redo();
}

}  // namespace tavik::ui
