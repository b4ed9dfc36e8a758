// The commands that meet files: clearing, loading and saving the table, choosing the field
// data, the synonym dictionary and the settings file, the title, the manual and the version.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/language.h"
#include "formats/fielddata.h"
#include "ui/about_box.h"
#include "ui/file_controller.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/undo_commands.h"
#include "ui/qt_text.h"
#include "ui/busy_scope.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/work_message.h"

namespace tavik::ui {


// ---- The table -----------------------------------------------------------------------------

void MainWindow::clearTable() {
    if (busy_ || !maySetTableAside()) return;
    {
        auto busy = BusyScope::working(this, QStringLiteral("　組成表を白紙化しています　"));
        // The table as it was stays with the command, to come back on undo.
        Table cleared = ws_.table;
        cleared.ClearTable();
        // A new table starts without the old one's title: the next retrieval proposes its own.
        cleared.TableTitle.clear();
        pushChange(QStringLiteral("組成表の初期化"), std::make_unique<ReplaceTableChange>(std::move(cleared)), true);
    }
    showTableStatus();
}

void MainWindow::recountFrequencies() {
    {
        auto busy = BusyScope::cursorOnly(this);
        // A table that was counted does not change: no step to undo.
        pushChange(QStringLiteral("出現頻度の再計算"), std::make_unique<RecountChange>());
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

// ---- Field data --------------------------------------------------------------------------------

void MainWindow::chooseDataFile() {
    const QString path = askFileToOpen(QStringLiteral("データファイルの指定・変更"), 1, QStringLiteral("*.tki"),
                                       Q(ws_.settings.directory));
    if (path.isEmpty()) {
        showTableStatus();
        return;
    }
    setDataFile(path);
}

void MainWindow::setDataFile(const QString& path) {
    if (busy_) return;
    const bool wasEmpty = ws_.table.ReleveCount() == 0;
    try {
        auto busy = BusyScope::cursorOnly(this);
        ws_.SetDataFile(S(path));
    } catch (const std::exception& e) {
        showError(QString(), e);
        showTableStatus();
        return;
    }
    ws_.settings.directory = S(QFileInfo(path).absolutePath());
    if (ws_.settings.useDataItem) {
        if (wasEmpty) emptyTableLaidOutAnew();
        layoutRenewed();
    }
    retrieval_->panel()->setRecordMaximum(ws_.releveRecordCount);
    actions_.chooseDataFile->setText(QStringLiteral("データファイルの変更"));
    showTableStatus();
    if (!ws_.dataFileProblem.empty()) showNote(Q(ws_.dataFileProblem), 15000);
}

// ---- Dictionary and settings ---------------------------------------------------------------------

void MainWindow::readDictionary() {
    const QString path = askFileToOpen(QStringLiteral("異名辞書の読込み"), 4, QStringLiteral("*.dic"),
                                       Q(ws_.settings.directory));
    if (!path.isEmpty()) {
        ws_.dictFileName = S(path);
        try {
            if (!ws_.SetDictionary(S(path))) ws_.dictFileName.clear();
        } catch (const std::exception& e) {
            ws_.dictFileName.clear();
            showError(QStringLiteral("異名辞書を読込めません。"), e);
        }
    }
    showTableStatus();
}

void MainWindow::readSettingsFile() {
    const QString path = askFileToOpen(QStringLiteral("設定ファイル読込み"), 5, QStringLiteral("*.ini"),
                                       Q(ws_.settings.directory));
    if (path.isEmpty()) {
        showTableStatus();
        return;
    }
    const bool wasEmpty = ws_.table.ReleveCount() == 0;
    ws_.settings.useDataItem = false;
    ws_.iniFileName = S(path);
    try {
        ws_.ReadIniFile(S(path));
    } catch (const std::exception& e) {
        showError(QStringLiteral("設定ファイルを読込めません。"), e);
    }
    applyWindowSettings();
    if (wasEmpty) emptyTableLaidOutAnew();
    layoutRenewed();
    showTableStatus();
}

void MainWindow::toggleEmbeddedItems() {
    if (!dialogs_->askYesNo(this, QStringLiteral("見出し項目をデータファイルと一致させますか？"))) {
        ws_.settings.useDataItem = false;
        updateTicks();
        return;
    }
    ws_.settings.useDataItem = true;
    try {
        ws_.ReadDataHeader();
    } catch (const std::exception& e) {
        showError(QString(), e);
    }
    const bool empty = ws_.table.ReleveCount() == 0;
    ws_.table.LayOutHeaderRows();
    if (empty) emptyTableLaidOutAnew();
    layoutRenewed();
    showTableStatus();
}

// ---- Title, manual, version ---------------------------------------------------------------------

void MainWindow::editTitle() {
    QString text = Q(ws_.ProposedTitle());
    if (dialogs_->getText(this, QStringLiteral("　表の見出しを編修する"), QString(), text) &&
        S(text) != ws_.table.TableTitle) {
        pushChange(QStringLiteral("組成表の標題の編集"), std::make_unique<TitleChange>(S(text)));
    }
    showTableStatus();
}

// Where the installed manual lies, from the folder of the installed program.
#ifndef TAVIK_MANUAL_FROM_BIN
#define TAVIK_MANUAL_FROM_BIN "../share/doc/tavik/manual"
#endif

QString MainWindow::manualPath() const {
    // The manual in the interface's language: the English one in en/ of the manual's folder,
    // or the Japanese one where there is none.
    QStringList pages{QStringLiteral("index.html")};
    if (InterfaceLanguage() == Language::English) pages.prepend(QStringLiteral("en/index.html"));
    QStringList folders;
    const QString env = qEnvironmentVariable("TAVIK_MANUAL_DIR");
    if (!env.isEmpty()) folders << env;
    const QString appDir = QCoreApplication::applicationDirPath();
    folders << QDir(appDir).filePath(QStringLiteral("manual")) << QDir(appDir).filePath(QStringLiteral("docs/manual"))
            << QDir(appDir).filePath(QStringLiteral(TAVIK_MANUAL_FROM_BIN));
#ifdef TAVIK_MANUAL_DIR
    folders << QStringLiteral(TAVIK_MANUAL_DIR);
#endif
    // The first folder that holds a manual gives it.
    for (const QString& folder : folders)
        for (const QString& page : pages) {
            const QString c = QDir(folder).filePath(page);
            if (QFileInfo(c).isFile()) return QDir::cleanPath(QFileInfo(c).absoluteFilePath());
        }
    return {};
}

void MainWindow::openManual() {
    const QString path = manualPath();
    if (path.isEmpty()) {
        dialogs_->inform(this, QStringLiteral("使用説明書が見つかりません。"));
        return;
    }
    if (!dialogs_->openInBrowser(path)) {
        dialogs_->inform(this, QStringLiteral("使用説明書を開くブラウザーが見つかりません。使用説明書はここにあります：\n") + QDir::toNativeSeparators(path));
        return;
    }
    // The browser may still fail on its own: the path stays in sight.
    showNote(QStringLiteral("使用説明書：") + path, 10000);
}

void MainWindow::showAbout() {
    AboutBox box(ProgramVersionText(), this);
    dialogs_->showModal(&box);
}

}  // namespace tavik::ui
