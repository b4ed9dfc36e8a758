// The commands that meet files: clearing, loading and saving the table (ui/file_controller.cpp),
// choosing the field data, the synonym dictionary and the settings file (ui/data_sources.cpp),
// the title, the manual and the version.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/language.h"
#include "formats/fielddata.h"
#include "ui/about_box.h"
#include "ui/busy_scope.h"
#include "ui/data_sources.h"
#include "ui/file_controller.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/manual.h"
#include "ui/qt_text.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/work_message.h"

namespace tavik::ui {

// ---- The table -----------------------------------------------------------------------------

void MainWindow::clearTable() {
    if (busy_ || !maySetTableAside()) return;
    {
        auto busy = BusyScope::working(this, QCoreApplication::translate("MainWindow", "　組成表を白紙化しています　"));
        // The table as it was stays with the command, to come back on undo.
        Table cleared = ws_.table;
        cleared.ClearTable();
        // A new table starts without the old one's title: the next retrieval proposes its own.
        cleared.TableTitle.clear();
        pushChange(QCoreApplication::translate("MainWindow", "組成表の初期化"),
                   std::make_unique<ReplaceTableChange>(std::move(cleared)), true);
    }
    showTableStatus();
}

void MainWindow::recountFrequencies() {
    {
        auto busy = BusyScope::cursorOnly(this);
        // A table that was counted does not change: no step to undo.
        pushChange(QCoreApplication::translate("MainWindow", "出現頻度の再計算"), std::make_unique<RecountChange>());
    }
    refresh();
}

// Loading and saving live in the file controller (ui/file_controller.cpp).
void MainWindow::openTable() { files_->openTable(); }
void MainWindow::loadTable(const QString& path) { files_->loadTable(path); }
void MainWindow::saveTable() { files_->saveTable(); }

QString MainWindow::askFileToOpen(const QString& title, int filterIndex, const QString& pattern,
                                  const QString& folder) {
    openDialogName_ = pattern;
    const QString path = dialogs_->openFile(this, title, filterIndex, pattern, folder);
    if (!path.isEmpty()) openDialogName_ = path;
    return path;
}

// ---- Field data, dictionary and settings (ui/data_sources.cpp) ----------------------------------

void MainWindow::chooseDataFile() { sources_->chooseDataFile(); }
void MainWindow::setDataFile(const QString& path) { sources_->setDataFile(path); }
void MainWindow::readDictionary() { sources_->readDictionary(); }
void MainWindow::readSettingsFile() { sources_->readSettingsFile(); }
void MainWindow::toggleEmbeddedItems() { sources_->toggleEmbeddedItems(); }

// ---- Title, manual, version ---------------------------------------------------------------------

void MainWindow::editTitle() {
    QString text = Q(ws_.ProposedTitle());
    if (dialogs_->getText(this, QCoreApplication::translate("MainWindow", "　表の見出しを編修する"), QString(), text) &&
        S(text) != ws_.table.TableTitle) {
        pushChange(QCoreApplication::translate("MainWindow", "組成表の標題の編集"),
                   std::make_unique<TitleChange>(S(text)));
    }
    showTableStatus();
}

QString MainWindow::manualPath() const { return ManualPath(); }

void MainWindow::openManual() {
    const QString path = OpenManual(this, *dialogs_);
    // The browser may still fail on its own: the path stays in sight.
    if (!path.isEmpty()) showNote(QCoreApplication::translate("MainWindow", "使用説明書：%1").arg(path), 10000);
}

void MainWindow::showAbout() {
    AboutBox box(ProgramVersionText(), this);
    dialogs_->showModal(&box);
}

}  // namespace tavik::ui
