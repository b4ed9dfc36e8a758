// What follows a step applied or reverted, the question before unsaved changes go, and the
// recovery file.
#include <QDir>
#include <QLocale>
#include <QTimer>
#include <QUndoStack>
#include <utility>

#include "ui/busy_scope.h"
#include "ui/file_controller.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
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
    undoStack()->clear();
}

// ---- Unsaved changes -------------------------------------------------------------------------

bool MainWindow::maySetTableAside() { return files_->maySetTableAside(); }

void MainWindow::tableSaved() { files_->tableSaved(); }

// ---- Recovery (ui/file_controller.cpp) --------------------------------------------------------------

bool MainWindow::startUndoAndRecovery() {
    undoStack()->clear();
    undoStack()->setUndoLimit(ws_.settings.undoLimit);
    return files_->startRecovery();
}

QString MainWindow::recoveryPath() const { return files_->recoveryPath(); }

void MainWindow::setRecoveryInterval(int ms) { files_->setRecoveryInterval(ms); }

void MainWindow::writeRecovery() { files_->writeRecovery(); }

}  // namespace tavik::ui
