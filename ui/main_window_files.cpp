// The commands that meet files: clearing, loading and saving the table, choosing the field
// data, the synonym dictionary and the settings file, the title, the manual and the version.
#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "core/language.h"
#include "formats/fielddata.h"
#include "ui/about_box.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/undo_commands.h"
#include "ui/qt_text.h"
#include "ui/main_window_busy.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
// A title made into a file name: no folder separators.
QString TitleAsFileName(QString title) {
    for (QChar c : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')}) title.replace(c, QLatin1Char('_'));
    title = title.trimmed();
    return title.isEmpty() ? QStringLiteral("組成表") : title;
}
}  // namespace

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

void MainWindow::openTable() {
    if (busy_ || !maySetTableAside()) return;
    const QString path = askFileToOpen(QStringLiteral("組成表の読込"), 2, QStringLiteral("*.vtb"),
                                       lastTableFolder_.isEmpty() ? Q(ws_.settings.directory)
                                                                  : lastTableFolder_);
    if (path.isEmpty()) {
        showTableStatus();
        return;
    }
    loadTable(path);
}

void MainWindow::loadTable(const QString& path) {
    if (busy_) return;
    const Settings before = ws_.settings;
    {
        auto busy = BusyScope::working(this, QStringLiteral("　組成表を読込中　"));
        // The window keeps answering while a large table is read, and the stop button ends
        // the reading with the table as it was.
        WorkProgress progress(message_, true);
        try {
            Table previous = ws_.table;
            ws_.LoadTable(S(path), &progress);
            lastTableFolder_ = QFileInfo(path).absolutePath();
            // Loading can be undone; the table loaded is the saved one.
            Table loaded = std::exchange(ws_.table, std::move(previous));
            pushChange(QStringLiteral("保存した表の読込み"), std::make_unique<ReplaceTableChange>(std::move(loaded)), true);
            tableSaved();
        } catch (const WorkStopped&) {
            busy.end();
            showNote(QStringLiteral("読込を中止しました：") + path, 8000);
            showTableStatus();
            return;
        } catch (const std::exception& e) {
            // Nothing was loaded: the table, its hidden rows and the view stay as they were.
            busy.end();
            showError(QStringLiteral("組成表を読込めません。"), e);
            showTableStatus();
            return;
        }
    }
    // A settings file beside the table may have given the window another place or size.
    const Settings& now = ws_.settings;
    if (now.left != before.left || now.top != before.top || now.width != before.width ||
        now.height != before.height)
        applyWindowSettings();
    modelWasReset();
    layoutRenewed();
    showTableStatus();
    // The table is there; its companion settings file was not usable.
    if (!ws_.settingsProblem.empty()) {
        showNote(Q(ws_.settingsProblem), 15000);
        dialogs_->inform(this, Q(ws_.settingsProblem));
    }
}

void MainWindow::saveTable() {
    if (busy_ || ws_.table.ReleveCount() <= 0) return;
    const QString folder = lastTableFolder_.isEmpty() ? Q(ws_.settings.directory) : lastTableFolder_;
    const QString path = dialogs_->saveFile(this, QStringLiteral("組成表の保存"), 1,
                                            TitleAsFileName(Q(ws_.table.TableTitle)) +
                                                QStringLiteral(".vtb"),
                                            folder, QStringLiteral("vtb"));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        !dialogs_->askYesAbort(this, QStringLiteral("同名のファイルが存在します。書き換えますか？")))
        return;
    // A read-only file is one the user meant to keep: replace it only when asked again.
    if (IsReadOnlyFile(S(path)) &&
        !dialogs_->askYesNo(this, QFileInfo(path).fileName() + QStringLiteral(" は読み取り専用です。置き換えますか？")))
        return;
    auto busy = BusyScope::working(this, QStringLiteral("　組成表を保存中　"));
    // A stopped save leaves the file as it was: the new one was still a temporary.
    WorkProgress progress(message_, true);
    SaveReport report;
    try {
        report = ws_.SaveTable(S(path), &progress, AtomicFile::ReadOnlyTarget::Replace);
        lastTableFolder_ = QFileInfo(path).absolutePath();
        // The status line names the file the table now is.
        openDialogName_ = path;
        tableSaved();
    } catch (const WorkStopped&) {
        busy.end();
        showNote(QStringLiteral("保存を中止しました（ファイルは元のままです）：") + path, 8000);
        return;
    } catch (const std::exception& e) {
        busy.end();
        showError(QStringLiteral("組成表を保存できません。"), e);
        return;
    }
    busy.end();
    const std::string notice = Utf8NoticeMessage(S(path), report);
    if (!notice.empty()) showNote(Q(notice), 15000);
    else showNote(QStringLiteral("保存しました：") + path, 5000);
    showTableStatus();
}

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
