// The recovery files: while the table holds changes not saved, the window writes it now and
// then to the user's data folder ($TAVIK_RECOVERY_DIR when set, for tests), so that a crash
// or a power cut loses at most a few minutes of work.
//
// Every running program keeps a file of its own, in a slot it holds a lock on: slot 0 is
// "recovery.vtb" with "recovery.lock", slot n "recovery-n.vtb" with "recovery-n.lock". A
// file whose lock is free was left by a program that did not end cleanly; at start every
// such file is offered, newest first. Beside each file its table's title is kept
// ("….title", UTF-8), so that the offer can name the table without reading it.
#pragma once

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <memory>
#include <vector>

namespace tavik {
class Table;
}

namespace tavik::ui {

class RecoveryFile {
public:
    // A file left behind by a program that did not end cleanly.
    struct LeftBehind {
        int slot = 0;
        QString path;
        QDateTime writtenAt;
        QString title;  // the table's title, empty when unknown
    };

    // The folder where the files live.
    static QString defaultFolder();
    explicit RecoveryFile(const QString& folder);
    ~RecoveryFile();

    // Takes the first free slot, and holds the locks of the other free slots that hold a
    // file until releaseLeftBehind(), so that no program starting meanwhile writes over
    // them. False when the folder cannot be used (no file is kept then).
    bool claim();
    bool claimed() const { return slot_ >= 0; }
    // Why no file can be kept here (a folder that cannot be made or written), or empty.
    QString problem() const { return problem_; }
    QString folder() const { return folder_; }

    // This program's file.
    QString path() const;
    QDateTime writtenAt() const;
    // The files left behind (this program's slot included), newest first.
    QList<LeftBehind> leftBehind() const;
    // A restored file becomes this program's own file.
    void adopt(const LeftBehind& f);
    // A file the user chose not to restore is kept once, beside, as "recovery-old.vtb"
    // ("recovery-n-old.vtb" for slot n).
    void setAside(const LeftBehind& f);
    // The offers are over: other programs may take the free slots again.
    void releaseLeftBehind();

    // Writes `table` as a saved table compressed with zstd, atomically, and its title
    // beside it. Throws on failure; the file written before stays then. Touches nothing
    // but the two files, so that it can run on a thread of its own with a copy of the
    // table.
    void write(const Table& table) const;
    // After a save or a clean quit.
    void remove();

private:
    static constexpr int kSlots = 64;
    QString fileOf(int slot, const QString& suffix) const;

    QString folder_;
    int slot_ = -1;
    std::unique_ptr<QLockFile> lock_;
    // Free slots with a file, locked while the offer lasts.
    std::vector<std::pair<int, std::unique_ptr<QLockFile>>> held_;
    QString problem_;
};

}  // namespace tavik::ui
