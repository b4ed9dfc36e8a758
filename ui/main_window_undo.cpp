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
#include "ui/recovery.h"
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

bool MainWindow::maySetTableAside() {
    if (!hasUnsavedChanges() || !ws_.settings.askToSave) return true;
    switch (dialogs_->askSaveChanges(this, QStringLiteral("変更を保存しますか？"))) {
        case UserDialogs::SaveChoice::Save:
            saveTable();
            // A save that was cancelled or failed keeps the table where it is.
            return !hasUnsavedChanges();
        case UserDialogs::SaveChoice::Discard:
            return true;
        case UserDialogs::SaveChoice::Cancel:
            break;
    }
    return false;
}

void MainWindow::tableSaved() {
    undoStack_->setClean();
    if (recovery_) recovery_->remove();
}

// ---- Recovery ------------------------------------------------------------------------------------

bool MainWindow::startUndoAndRecovery() {
    undoStack_->clear();
    undoStack_->setUndoLimit(ws_.settings.undoLimit);
    recovery_ = std::make_unique<RecoveryFile>(RecoveryFile::defaultFolder());
    recoveryTimer_ = new QTimer(this);
    connect(recoveryTimer_, &QTimer::timeout, this, &MainWindow::writeRecovery);
    setRecoveryInterval(ws_.settings.recoveryMinutes * 60 * 1000);
    // Every running program keeps a file of its own; only a folder that cannot be used
    // leaves this one without, which is said as soon as there is work to lose.
    const bool claimed = recovery_->claim();
    // Looked at once the command is over: loading passes through a changed state on its way.
    connect(undoStack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean || !recovery_ || recovery_->problem().isEmpty() || recoveryWarned_) return;
        QTimer::singleShot(0, this, [this] {
            if (hasUnsavedChanges()) warnRecoveryUnavailable(recovery_->problem());
        });
    });
    if (!claimed) return false;
    const QList<RecoveryFile::LeftBehind> files = recovery_->leftBehind();
    bool restored = false;
    // Newest first; once one is restored, the rest wait for the next start.
    for (const RecoveryFile::LeftBehind& f : files) {
        if (restored) break;
        restored = offerRecovery(f);
    }
    recovery_->releaseLeftBehind();
    return restored;
}

bool MainWindow::offerRecovery(const RecoveryFile::LeftBehind& f) {
    const QString when = QLocale(QLocale::Japanese).toString(f.writtenAt, QStringLiteral("yyyy年M月d日 H:mm"));
    const QString table = f.title.isEmpty() ? QStringLiteral("組成表") : QStringLiteral("組成表「%1」").arg(f.title);
    const QString question =
        QStringLiteral("前回は変更を保存しないまま終了しました。\n%1 に自動保存した%2を復元しますか？").arg(when, table);
    if (!dialogs_->askRestore(this, question)) {
        recovery_->setAside(f);
        return false;
    }
    try {
        auto busy = BusyScope::working(this, QStringLiteral("　組成表を読込中　"));
        Table previous = ws_.table;
        ws_.LoadTable(S(f.path));
        // The restored table holds work that was never saved: a step to undo.
        Table restored = std::exchange(ws_.table, std::move(previous));
        pushChange(QStringLiteral("組成表の復元"), std::make_unique<ReplaceTableChange>(std::move(restored)), true);
    } catch (const std::exception& e) {
        showError(QStringLiteral("自動保存した組成表を読込めません。"), e);
        recovery_->setAside(f);
        return false;
    }
    // From now on the restored table's file is this program's own.
    recovery_->adopt(f);
    showNote(QStringLiteral("自動保存した組成表を復元しました（まだ保存されていません）。"), 15000);
    return true;
}

QString MainWindow::recoveryPath() const { return recovery_ ? recovery_->path() : QString(); }

void MainWindow::setRecoveryInterval(int ms) {
    if (!recoveryTimer_) return;
    recoveryTimer_->stop();
    if (ms > 0) {
        recoveryTimer_->setInterval(ms);
        recoveryTimer_->start();
    }
}

void MainWindow::writeRecovery() {
    if (!recovery_ || busy_) return;
    if (!hasUnsavedChanges()) {
        recovery_->remove();
        return;
    }
    if (!recovery_->problem().isEmpty()) {
        warnRecoveryUnavailable(recovery_->problem());
        return;
    }
    try {
        recovery_->write(ws_);
    } catch (const std::exception& e) {
        // Said in a box once; then in passing: a box every few minutes would stop the work it
        // protects.
        if (!recoveryWarned_) warnRecoveryUnavailable(Q(e.what()));
        else showNote(QStringLiteral("自動保存できません：") + Q(e.what()), 15000);
    }
}

void MainWindow::warnRecoveryUnavailable(const QString& why) {
    if (recoveryWarned_) return;
    recoveryWarned_ = true;
    const QString where = QDir::toNativeSeparators(recovery_->path());
    showNote(QStringLiteral("自動保存できません：保存していない変更は %1 に残りません").arg(where), 120000);
    dialogs_->error(this, QStringLiteral("保存していない変更を自動保存できません。\n%1 に書き込めません（%2）。\n"
                                         "変更はこまめに保存してください。")
                              .arg(where, why));
}

}  // namespace tavik::ui
