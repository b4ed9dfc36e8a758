#include "ui/file_controller.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>
#include <utility>

#include "ui/background_work.h"
#include "ui/busy_scope.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
// A title made into a file name: no folder separators.
QString TitleAsFileName(QString title) {
    for (QChar c : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')}) title.replace(c, QLatin1Char('_'));
    title = title.trimmed();
    return title.isEmpty() ? QCoreApplication::translate("FileController", "組成表") : title;
}
}  // namespace

FileController::FileController(MainWindow* window) : QObject(window), w_(window) {}

FileController::~FileController() {
    if (writer_.joinable()) writer_.join();
}

// ---- The table -----------------------------------------------------------------------------

void FileController::openTable() {
    MainWindow& w = *w_;
    if (w.busy_ || !maySetTableAside()) return;
    const QString path =
        w.askFileToOpen(QCoreApplication::translate("FileController", "組成表の読込"), 2, QStringLiteral("*.vtb"),
                        w.lastTableFolder_.isEmpty() ? Q(w.ws_.settings.directory) : w.lastTableFolder_);
    if (path.isEmpty()) {
        w.showTableStatus();
        return;
    }
    loadTable(path);
}

void FileController::loadTable(const QString& path) {
    MainWindow& w = *w_;
    if (w.busy_) return;
    const Settings before = w.ws_.settings;
    {
        auto busy = BusyScope::working(&w, QCoreApplication::translate("FileController", "　組成表を読込中　"));
        try {
            // Read aside on a thread of its own: the window keeps answering, and the stop
            // button ends the reading with the table as it was.
            LoadedTable loaded;
            const std::string file = S(path);
            const Workspace& ws = w.ws_;
            RunOffThread(w.message_, true, [&](Progress& progress) { loaded = ws.ReadTableFile(file, &progress); });
            w.message_->setLines(QCoreApplication::translate("FileController", "　組成表を読込中　"),
                                 QCoreApplication::translate("FileController", "表示を準備しています"));
            w.ws_.TakeLoadedSettings(loaded);
            w.lastTableFolder_ = QFileInfo(path).absolutePath();
            // Loading can be undone; the table loaded is the saved one.
            w.pushChange(QCoreApplication::translate("FileController", "保存した表の読込み"),
                         std::make_unique<ReplaceTableChange>(std::move(loaded.table)), true);
            tableSaved();
        } catch (const WorkStopped&) {
            busy.end();
            w.showNote(QCoreApplication::translate("FileController", "読込を中止しました：%1").arg(path), 8000);
            w.showTableStatus();
            return;
        } catch (const std::exception& e) {
            // Nothing was loaded: the table, its hidden rows and the view stay as they were.
            busy.end();
            w.showError(QCoreApplication::translate("FileController", "組成表を読込めません。"), e);
            w.showTableStatus();
            return;
        }
    }
    // A settings file beside the table may have given the window another place or size.
    const Settings& now = w.ws_.settings;
    if (now.left != before.left || now.top != before.top || now.width != before.width || now.height != before.height)
        w.applyWindowSettings();
    w.modelWasReset();
    w.layoutRenewed();
    w.showTableStatus();
    // The table is there; its companion settings file was not usable.
    if (!w.ws_.settingsProblem.empty()) {
        w.showNote(Q(w.ws_.settingsProblem), 15000);
        w.dialogs_->inform(&w, Q(w.ws_.settingsProblem));
    }
}

void FileController::saveTable() {
    MainWindow& w = *w_;
    if (w.busy_ || w.ws_.table.ReleveCount() <= 0) return;
    const QString folder = w.lastTableFolder_.isEmpty() ? Q(w.ws_.settings.directory) : w.lastTableFolder_;
    const QString path = w.dialogs_->saveFile(&w, QCoreApplication::translate("FileController", "組成表の保存"), 1,
                                              TitleAsFileName(Q(w.ws_.table.TableTitle)) + QStringLiteral(".vtb"),
                                              folder, QStringLiteral("vtb"));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        !w.dialogs_->askYesAbort(
            &w, QCoreApplication::translate("FileController", "同名のファイルが存在します。書き換えますか？")))
        return;
    // A read-only file is one the user meant to keep: replace it only when asked again.
    if (IsReadOnlyFile(S(path)) &&
        !w.dialogs_->askYesNo(&w,
                              QCoreApplication::translate("FileController", "%1 は読み取り専用です。置き換えますか？")
                                  .arg(QFileInfo(path).fileName())))
        return;
    auto busy = BusyScope::working(&w, QCoreApplication::translate("FileController", "　組成表を保存中　"));
    SaveReport report;
    try {
        // Written on a thread of its own while the window answers; the window takes no
        // input meanwhile, so the table stays as it is. A stopped save leaves the file as
        // it was: the new one was still a temporary.
        const std::string file = S(path);
        const Workspace& ws = w.ws_;
        RunOffThread(w.message_, true, [&](Progress& progress) {
            report = ws.SaveTable(file, &progress, AtomicFile::ReadOnlyTarget::Replace);
        });
        w.lastTableFolder_ = QFileInfo(path).absolutePath();
        // The status line names the file the table now is.
        w.openDialogName_ = path;
        tableSaved();
    } catch (const WorkStopped&) {
        busy.end();
        w.showNote(
            QCoreApplication::translate("FileController", "保存を中止しました（ファイルは元のままです）：%1").arg(path),
            8000);
        return;
    } catch (const std::exception& e) {
        busy.end();
        w.showError(QCoreApplication::translate("FileController", "組成表を保存できません。"), e);
        return;
    }
    busy.end();
    const std::string notice = Utf8NoticeMessage(S(path), report);
    if (!notice.empty()) w.showNote(Q(notice), 15000);
    else w.showNote(QCoreApplication::translate("FileController", "保存しました：%1").arg(path), 5000);
    w.showTableStatus();
}

bool FileController::maySetTableAside() {
    MainWindow& w = *w_;
    if (!w.hasUnsavedChanges() || !w.ws_.settings.askToSave) return true;
    switch (w.dialogs_->askSaveChanges(&w, QCoreApplication::translate("FileController", "変更を保存しますか？"))) {
        case UserDialogs::SaveChoice::Save:
            saveTable();
            // A save that was cancelled or failed keeps the table where it is.
            return !w.hasUnsavedChanges();
        case UserDialogs::SaveChoice::Discard: return true;
        case UserDialogs::SaveChoice::Cancel: break;
    }
    return false;
}

void FileController::tableSaved() {
    w_->undoStack()->setClean();
    removeRecovery();
}

// ---- The recovery file ----------------------------------------------------------------------

bool FileController::startRecovery() {
    MainWindow& w = *w_;
    recovery_ = std::make_unique<RecoveryFile>(RecoveryFile::defaultFolder());
    recoveryTimer_ = new QTimer(this);
    connect(recoveryTimer_, &QTimer::timeout, this, &FileController::writeRecovery);
    setRecoveryInterval(w.ws_.settings.recoveryMinutes * 60 * 1000);
    // Every running program keeps a file of its own; only a folder that cannot be used
    // leaves this one without, which is said as soon as there is work to lose.
    const bool claimed = recovery_->claim();
    // Looked at once the command is over: loading passes through a changed state on its way.
    connect(w.undoStack(), &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean || !recovery_ || recovery_->problem().isEmpty() || recoveryWarned_) return;
        QTimer::singleShot(0, this, [this] {
            if (w_->hasUnsavedChanges()) warnRecoveryUnavailable(recovery_->problem());
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

bool FileController::offerRecovery(const RecoveryFile::LeftBehind& f) {
    MainWindow& w = *w_;
    const QString when = QLocale(QLocale::Japanese)
                             .toString(f.writtenAt, QCoreApplication::translate("FileController", "yyyy年M月d日 H:mm"));
    const QString table =
        f.title.isEmpty() ? QCoreApplication::translate("FileController", "組成表", "the table restored, in a question")
                          : QCoreApplication::translate("FileController", "組成表「%1」").arg(f.title);
    const QString question =
        QCoreApplication::translate("FileController",
                                    "前回は変更を保存しないまま終了しました。\n%1 に自動保存した%2を復元しますか？")
            .arg(when, table);
    if (!w.dialogs_->askRestore(&w, question)) {
        recovery_->setAside(f);
        return false;
    }
    try {
        auto busy = BusyScope::working(&w, QCoreApplication::translate("FileController", "　組成表を読込中　"));
        LoadedTable loaded;
        const std::string file = S(f.path);
        const Workspace& ws = w.ws_;
        RunOffThread(w.message_, false, [&](Progress& progress) { loaded = ws.ReadTableFile(file, &progress); });
        w.ws_.TakeLoadedSettings(loaded);
        // The restored table holds work that was never saved: a step to undo.
        w.pushChange(QCoreApplication::translate("FileController", "組成表の復元"),
                     std::make_unique<ReplaceTableChange>(std::move(loaded.table)), true);
    } catch (const std::exception& e) {
        w.showError(QCoreApplication::translate("FileController", "自動保存した組成表を読込めません。"), e);
        recovery_->setAside(f);
        return false;
    }
    // From now on the restored table's file is this program's own.
    recovery_->adopt(f);
    w.showNote(
        QCoreApplication::translate("FileController", "自動保存した組成表を復元しました（まだ保存されていません）。"),
        15000);
    return true;
}

QString FileController::recoveryPath() const { return recovery_ ? recovery_->path() : QString(); }

void FileController::setRecoveryInterval(int ms) {
    if (!recoveryTimer_) return;
    recoveryTimer_->stop();
    if (ms > 0) {
        recoveryTimer_->setInterval(ms);
        recoveryTimer_->start();
    }
}

void FileController::writeRecovery() {
    MainWindow& w = *w_;
    if (!recovery_ || w.busy_) return;
    if (!w.hasUnsavedChanges()) {
        removeRecovery();
        return;
    }
    if (!recovery_->problem().isEmpty()) {
        warnRecoveryUnavailable(recovery_->problem());
        return;
    }
    // One write at a time: the next turn of the timer (or the next long command) writes
    // the table as it is then.
    if (writer_.joinable()) {
        ++skipped_;
        return;
    }
    removeWhenWritten_ = false;
    // The window pays only for the copy; the writing and compressing, and giving the copy
    // back, happen on the writer's thread.
    QElapsedTimer clock;
    clock.start();
    auto snapshot = std::make_shared<const Table>(w.ws_.table);
    snapshotMs_ = clock.elapsed();
    const RecoveryFile* file = recovery_.get();
    writer_ = std::thread([this, file, snapshot = std::move(snapshot)]() mutable {
        QString failure;
        try {
            file->write(*snapshot);
        } catch (const std::exception& e) {
            failure = Q(e.what());
            if (failure.isEmpty()) failure = QCoreApplication::translate("FileController", "書き込めません");
        }
        snapshot.reset();
        const std::thread::id id = std::this_thread::get_id();
        QMetaObject::invokeMethod(
            this,
            [this, failure, id] {
                lastThread_ = id;
                recoveryWriteEnded(failure);
            },
            Qt::QueuedConnection);
    });
}

void FileController::recoveryWriteEnded(const QString& failure) {
    if (writer_.joinable()) writer_.join();
    if (removeWhenWritten_) {
        // The table was saved (or cleared) while the copy was being written: the file the
        // write left is no longer needed.
        removeWhenWritten_ = false;
        if (recovery_) recovery_->remove();
    } else if (!failure.isEmpty()) {
        // A failed write leaves the file written before. Said in a box once; then in
        // passing: a box every few minutes would stop the work it protects.
        if (!recoveryWarned_) warnRecoveryUnavailable(failure);
        else w_->showNote(QCoreApplication::translate("FileController", "自動保存できません：%1").arg(failure), 15000);
    }
    emit recoveryWritten(failure);
}

void FileController::waitForRecovery() {
    if (!writer_.joinable()) return;
    writer_.join();
    // The writer's report is queued; it finds the thread joined.
    QCoreApplication::sendPostedEvents(this);
}

void FileController::removeRecovery() {
    if (!recovery_) return;
    if (writer_.joinable()) removeWhenWritten_ = true;
    recovery_->remove();
}

void FileController::quitting() {
    if (recoveryTimer_) recoveryTimer_->stop();
    if (writer_.joinable()) writer_.join();
    removeWhenWritten_ = false;
    if (recovery_) recovery_->remove();
}

void FileController::warnRecoveryUnavailable(const QString& why) {
    MainWindow& w = *w_;
    if (recoveryWarned_) return;
    recoveryWarned_ = true;
    const QString where = QDir::toNativeSeparators(recovery_->path());
    w.showNote(QCoreApplication::translate("FileController", "自動保存できません：保存していない変更は %1 に残りません")
                   .arg(where),
               120000);
    w.dialogs_->error(
        &w, QCoreApplication::translate("FileController",
                                        "保存していない変更を自動保存できません。\n%1 に書き込めません（%2）。\n"
                                        "変更はこまめに保存してください。")
                .arg(where, why));
}

}  // namespace tavik::ui
