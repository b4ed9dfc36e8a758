#include "ui/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>

#include "core/table.h"
#include "formats/atomic_file.h"
#include "formats/saved_table.h"
#include "formats/zstd_sink.h"
#include "ui/qt_text.h"

namespace tavik::ui {

QString RecoveryFile::defaultFolder() {
    const QString env = qEnvironmentVariable("TAVIK_RECOVERY_DIR");
    if (!env.isEmpty()) return env;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

RecoveryFile::RecoveryFile(const QString& folder) : folder_(folder) {}

RecoveryFile::~RecoveryFile() = default;

QString RecoveryFile::fileOf(int slot, const QString& suffix) const {
    const QString stem = slot == 0 ? QStringLiteral("recovery") : QStringLiteral("recovery-%1").arg(slot);
    return QDir(folder_).filePath(stem + suffix);
}

bool RecoveryFile::claim() {
    if (claimed()) return true;
    problem_.clear();
    if (folder_.isEmpty()) {
        problem_ = QCoreApplication::translate("RecoveryFile", "保存先のフォルダがわかりません");
        return false;
    }
    if (!QDir().mkpath(folder_)) {
        problem_ = QCoreApplication::translate("RecoveryFile", "フォルダを作れません");
        return false;
    }
    // Temporaries of a save that was killed here go at start.
    RemoveStaleTemporaries(S(folder_));
    for (int slot = 0; slot < kSlots; ++slot) {
        auto lock = std::make_unique<QLockFile>(fileOf(slot, QStringLiteral(".lock")));
        const bool mine = slot_ < 0;
        // Only a slot that is free, or holds a file to offer, is worth its lock.
        if (!mine && !QFileInfo(fileOf(slot, QStringLiteral(".vtb"))).isFile()) continue;
        // A lock whose program is gone is taken over at once, whatever its age.
        if (!lock->tryLock(0)) {
            // Held by another program: the next slot. Not to be made at all: no slot will be.
            if (lock->error() == QLockFile::LockFailedError) continue;
            if (mine) problem_ = QCoreApplication::translate("RecoveryFile", "フォルダに書き込めません");
            break;
        }
        if (mine) {
            slot_ = slot;
            lock_ = std::move(lock);
        } else {
            held_.emplace_back(slot, std::move(lock));
        }
    }
    return claimed();
}

QString RecoveryFile::path() const { return fileOf(std::max(slot_, 0), QStringLiteral(".vtb")); }

QDateTime RecoveryFile::writtenAt() const { return QFileInfo(path()).lastModified(); }

QList<RecoveryFile::LeftBehind> RecoveryFile::leftBehind() const {
    QList<LeftBehind> files;
    if (!claimed()) return files;
    std::vector<int> held{slot_};
    for (const auto& h : held_) held.push_back(h.first);
    for (int slot : held) {
        const QFileInfo info(fileOf(slot, QStringLiteral(".vtb")));
        if (!info.isFile()) continue;
        LeftBehind f{slot, info.filePath(), info.lastModified(), {}};
        QFile title(fileOf(slot, QStringLiteral(".title")));
        if (title.open(QIODevice::ReadOnly)) f.title = QString::fromUtf8(title.read(4096)).trimmed();
        files.append(f);
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const LeftBehind& a, const LeftBehind& b) { return a.writtenAt > b.writtenAt; });
    return files;
}

void RecoveryFile::adopt(const LeftBehind& f) {
    if (!claimed() || f.slot == slot_) return;
    for (const QString& suffix : {QStringLiteral(".vtb"), QStringLiteral(".title")}) {
        QFile::remove(fileOf(slot_, suffix));
        QFile::rename(fileOf(f.slot, suffix), fileOf(slot_, suffix));
    }
}

void RecoveryFile::setAside(const LeftBehind& f) {
    if (!claimed()) return;
    const QString old = fileOf(f.slot, QStringLiteral("-old.vtb"));
    QFile::remove(old);
    QFile::rename(fileOf(f.slot, QStringLiteral(".vtb")), old);
    QFile::remove(fileOf(f.slot, QStringLiteral(".title")));
}

void RecoveryFile::releaseLeftBehind() { held_.clear(); }

void RecoveryFile::write(const Table& table) const {
    if (!claimed()) return;
    // Compressed with zstd: a large table's file is a hundredth of its plain size and is
    // written several times faster. Readers know it by its first bytes, whatever its name.
    const std::string target = S(path());
    AtomicFile file(target);
    ZstdSink zst(file, target, 1);  // one worker: the other core stays with the window
    WriteSavedTable(table, zst);
    zst.Finish();
    file.Commit();
    // The title only helps the offer: a title that cannot be written leaves the table.
    QSaveFile title(fileOf(slot_, QStringLiteral(".title")));
    if (title.open(QIODevice::WriteOnly)) {
        title.write(QByteArray::fromStdString(table.TableTitle));
        title.commit();
    }
}

void RecoveryFile::remove() {
    if (!claimed()) return;
    QFile::remove(path());
    QFile::remove(fileOf(slot_, QStringLiteral(".title")));
}

}  // namespace tavik::ui
