// The recovery file: while the table holds changes not saved, the window writes it now and
// then to the user's data folder ($TAVIK_RECOVERY_DIR when set, for tests), so that a crash
// or a power cut loses at most a few minutes of work. A lock beside it tells a running
// program's file from one a crashed program left behind: only the program that holds the
// lock writes, and a file whose lock is free is offered at the next start.
#pragma once

#include <QDateTime>
#include <QLockFile>
#include <QString>
#include <memory>

namespace tavik {
class Workspace;
}

namespace tavik::ui {

class RecoveryFile {
public:
    // The folder where the file lives.
    static QString defaultFolder();
    explicit RecoveryFile(const QString& folder);

    // Takes the lock; false when another running program holds it (this one then never
    // writes, so that the two do not overwrite each other's work).
    bool claim();
    bool claimed() const { return claimed_; }
    // Why no file can be kept here (a folder that cannot be made or written), or empty: also
    // empty when another program holds the lock, for that one keeps the work.
    QString problem() const { return problem_; }
    QString folder() const { return folder_; }

    QString path() const;
    // A file from a program that ended without a clean quit.
    bool leftBehind() const;
    QDateTime writtenAt() const;

    // Writes the workspace's table as a saved table, atomically. Throws on failure.
    void write(const Workspace& ws);
    // After a save or a clean quit.
    void remove();
    // A file the user chose not to restore is kept once, beside, as "recovery-old.vtb".
    void setAside();

private:
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    bool claimed_ = false;
    QString problem_;
};

}  // namespace tavik::ui
