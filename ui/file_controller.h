// Loading and saving the table in the window, and the recovery file. Reading and writing a
// table run on a thread of their own while the window keeps answering, with their progress
// in the work message and its stop button; the recovery file is written on a thread of its
// own from a copy of the table, so that the window never waits for it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "ui/recovery.h"

class QTimer;

namespace tavik::ui {

class MainWindow;

class FileController : public QObject {
    Q_OBJECT
public:
    explicit FileController(MainWindow* window);
    ~FileController() override;

    // ---- The table ---------------------------------------------------------------------
    // 保存した表を読込む: asks for a file, then loads it.
    void openTable();
    // Loads a saved table as one step to undo; the table loaded is the saved one.
    void loadTable(const QString& path);
    // 組成表を保存する: asks for a name, then saves.
    void saveTable();
    // Before the table is cleared, replaced or closed: asks to save unsaved changes. False
    // when the user cancelled (or the save did not happen).
    bool maySetTableAside();
    // The table as it is now is the saved one: no recovery file is needed.
    void tableSaved();

    // ---- The recovery file -------------------------------------------------------------
    // At start: claims this program's file, starts the timer and offers the files left
    // behind. True when one was restored.
    bool startRecovery();
    QString recoveryPath() const;
    void setRecoveryInterval(int ms);
    // Writes the recovery file while there are unsaved changes (on a thread of its own;
    // skipped while the previous write runs), removes it otherwise.
    void writeRecovery();
    // A clean quit: waits for a write under way, then removes the file.
    void quitting();

    // For tests and benchmarks: whether a write runs, how many were skipped because one
    // ran, the thread the last one ran on, how long the window took to copy the table for
    // the last one, and a wait for the write under way.
    bool recoveryWriting() const { return writer_.joinable(); }
    int recoveryWritesSkipped() const { return skipped_; }
    std::thread::id lastRecoveryThread() const { return lastThread_; }
    qint64 lastSnapshotMs() const { return snapshotMs_; }
    void waitForRecovery();

signals:
    // A recovery write has ended (`failure` empty when it succeeded).
    void recoveryWritten(const QString& failure);

private:
    bool offerRecovery(const RecoveryFile::LeftBehind& f);
    // Says once, in the status line and a message, that unsaved work is not being kept in
    // the recovery file, where it would be and why.
    void warnRecoveryUnavailable(const QString& why);
    void recoveryWriteEnded(const QString& failure);
    void removeRecovery();

    MainWindow* w_;
    std::unique_ptr<RecoveryFile> recovery_;
    QTimer* recoveryTimer_ = nullptr;
    bool recoveryWarned_ = false;
    std::thread writer_;
    bool removeWhenWritten_ = false;
    int skipped_ = 0;
    std::thread::id lastThread_;
    qint64 snapshotMs_ = 0;
};

}  // namespace tavik::ui
