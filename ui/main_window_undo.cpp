// What follows a step applied or reverted, the question before unsaved changes go, and the
// recovery file.
#include <QDir>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>
#include <utility>

#include "ui/main_window.h"
#include "ui/busy_scope.h"
#include "ui/qt_text.h"
#include "ui/recovery.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

bool MainWindow::pushChange(const QString& name, std::unique_ptr<TableChange> change, bool newLayout) {
    return history_->pushChange(name, std::move(change), newLayout);
}

void MainWindow::tableCommandDone(bool layout) {
    if (layout) {
        modelWasReset();
        layoutRenewed();
    }
    showTableStatus();
}

void MainWindow::emptyTableLaidOutAnew() {
    modelWasReset();
    undoStack_->clear();
}

// ---- Unsaved changes -------------------------------------------------------------------------

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
