#include "ui/recovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "formats/atomic_file.h"
#include "formats/saved_table.h"
#include "formats/workspace.h"
#include "formats/zstd_sink.h"
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
    if (folder_.isEmpty() || !QDir().mkpath(folder_)) return false;
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(kLockName));
    // A lock whose program is gone is taken over at once, whatever its age.
    claimed_ = lock_->tryLock(0);
    return claimed_;
}

QString RecoveryFile::path() const { return QDir(folder_).filePath(kFileName); }

bool RecoveryFile::leftBehind() const { return claimed_ && QFileInfo(path()).isFile(); }

QDateTime RecoveryFile::writtenAt() const { return QFileInfo(path()).lastModified(); }

void RecoveryFile::write(const Workspace& ws) {
    if (!claimed_) return;
    // Compressed with zstd: a large table's file is a hundredth of its plain size and is
    // written several times faster. Readers know it by its first bytes, whatever its name.
    const std::string target = S(path());
    AtomicFile file(target);
    ZstdSink zst(file, target);
    WriteSavedTable(ws.table, zst);
    zst.Finish();
    file.Commit();
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
