#include "ui/recovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "formats/atomic_file.h"
#include "formats/workspace.h"
#include "ui/qt_text.h"

namespace tavik::ui {

namespace {
const QString kFileName = QStringLiteral("recovery.vtb");
const QString kOldName = QStringLiteral("recovery-old.vtb");
const QString kLockName = QStringLiteral("recovery.lock");
}  // namespace

QString RecoveryFile::defaultFolder() {
    const QString env = qEnvironmentVariable("TAVIK_RECOVERY_DIR");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

RecoveryFile::RecoveryFile(const QString& folder) : folder_(folder) {}

bool RecoveryFile::claim() {
    if (claimed_) return true;
    problem_.clear();
    if (folder_.isEmpty()) {
        problem_ = QStringLiteral("保存先のフォルダがわかりません");
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        problem_ = QStringLiteral("フォルダを作れません");
        return false;
    }
    // Temporaries of a save that was killed here go at start.
    RemoveStaleTemporaries(S(folder_));
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(kLockName));
    // A lock whose program is gone is taken over at once, whatever its age.
    claimed_ = lock_->tryLock(0);
    if (!claimed_ && lock_->error() != QLockFile::LockFailedError)
        problem_ = QStringLiteral("フォルダに書き込めません");
    return claimed_;
}

QString RecoveryFile::path() const { return QDir(folder_).filePath(kFileName); }

bool RecoveryFile::leftBehind() const { return claimed_ && QFileInfo(path()).isFile(); }

QDateTime RecoveryFile::writtenAt() const { return QFileInfo(path()).lastModified(); }

void RecoveryFile::write(const Workspace& ws) {
    if (!claimed_) return;
    ws.SaveTable(S(path()));
}

void RecoveryFile::remove() {
    if (claimed_) QFile::remove(path());
}

void RecoveryFile::setAside() {
    if (!claimed_) return;
    const QString old = QDir(folder_).filePath(kOldName);
    QFile::remove(old);
    QFile::rename(path(), old);
}

}  // namespace tavik::ui
