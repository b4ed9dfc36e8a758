// The commands that meet files: clearing, loading and saving the table, choosing the field
// data, the synonym dictionary and the settings file, the title, the manual and the version.
#include <QAction>
#include <QApplication>
#include <QSpinBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

#include "formats/fielddata.h"
#include "ui/about_box.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "ui/version.h"
#include "ui/work_message.h"

namespace tavik::ui {

namespace {
QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QString& s) { return s.toStdString(); }

// A title made into a file name: no folder separators.
QString TitleAsFileName(QString title) {
    for (QChar c : {QLatin1Char('/'), QLatin1Char('\\'), QLatin1Char(':')}) title.replace(c, QLatin1Char('_'));
    title = title.trimmed();
    return title.isEmpty() ? QStringLiteral("組成表") : title;
}
}  // namespace

// ---- The table -----------------------------------------------------------------------------

void MainWindow::ClearTable() {
    if (busy_) return;
    ShowWorkMess(QStringLiteral("　組成表を白紙化しています　"), QString());
    ws_.table.ClearTable();
    ModelWasReset();
    LayoutRenewed();
    CloseWorkMess();
    ShowTableStatus();
}

void MainWindow::Item_FrequencyClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ws_.table.Recount();
    QApplication::restoreOverrideCursor();
    Refresh();
}

void MainWindow::Item_LoadTableClick() {
    openDialogName_ = QStringLiteral("*.vtb");
    const QString path = dialogs_->OpenFile(this, QStringLiteral("組成表の読込"), 2, openDialogName_,
                                            lastTableFolder_.isEmpty() ? Q(ws_.settings.directory)
                                                                       : lastTableFolder_);
    if (path.isEmpty()) {
        ShowTableStatus();
        return;
    }
    openDialogName_ = path;
    LoadTable(path);
}

void MainWindow::LoadTable(const QString& path) {
    if (busy_) return;
    const Settings before = ws_.settings;
    {
        Busy busy(this);
        ShowWorkMess(QStringLiteral("　組成表を読込中　"), QString());
        WorkProgress progress(message_, false);
        try {
            ws_.LoadTable(S(path), &progress);
            lastTableFolder_ = QFileInfo(path).absolutePath();
        } catch (const std::exception& e) {
            CloseWorkMess();
            ShowError(QStringLiteral("組成表を読込めません。"), e);
        }
        CloseWorkMess();
    }
    // A settings file beside the table may have given the window another place or size.
    const Settings& now = ws_.settings;
    if (now.left != before.left || now.top != before.top || now.width != before.width ||
        now.height != before.height)
        ApplyWindowSettings();
    ModelWasReset();
    LayoutRenewed();
    ShowTableStatus();
}

void MainWindow::Item_SaveTableClick() {
    if (busy_ || ws_.table.ReleveCount() <= 0) return;
    const QString folder = lastTableFolder_.isEmpty() ? Q(ws_.settings.directory) : lastTableFolder_;
    const QString path = dialogs_->SaveFile(this, QStringLiteral("組成表の保存"), 1,
                                            TitleAsFileName(Q(ws_.table.TableTitle)) +
                                                QStringLiteral(".vtb"),
                                            folder, QStringLiteral("vtb"));
    if (path.isEmpty()) return;
    if (QFileInfo::exists(path) &&
        !dialogs_->AskYesAbort(this, QStringLiteral("同名のファイルが存在します。書き換えますか？")))
        return;
    Busy busy(this);
    ShowWorkMess(QStringLiteral("　組成表を保存中　"), QString());
    WorkProgress progress(message_, false);
    try {
        ws_.SaveTable(S(path), &progress);
        lastTableFolder_ = QFileInfo(path).absolutePath();
    } catch (const std::exception& e) {
        CloseWorkMess();
        ShowError(QStringLiteral("組成表を保存できません。"), e);
        return;
    }
    CloseWorkMess();
    Note(QStringLiteral("保存しました：") + path, 5000);
}

// ---- Field data --------------------------------------------------------------------------------

void MainWindow::Item_FileChgClick() {
    openDialogName_ = QStringLiteral("*.tki");
    const QString path = dialogs_->OpenFile(this, QStringLiteral("データファイルの指定・変更"), 1,
                                            openDialogName_, Q(ws_.settings.directory));
    if (path.isEmpty()) {
        ShowTableStatus();
        return;
    }
    openDialogName_ = path;
    SetDataFile(path);
}

void MainWindow::SetDataFile(const QString& path) {
    if (busy_) return;
    const bool wasEmpty = ws_.table.ReleveCount() == 0;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        ws_.SetDataFile(S(path));
        QApplication::restoreOverrideCursor();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
        ShowTableStatus();
        return;
    }
    ws_.settings.directory = S(QFileInfo(path).absolutePath());
    if (ws_.settings.useDataItem) {
        if (wasEmpty) ModelWasReset();
        LayoutRenewed();
    }
    retrPanel_->RtN2->setMaximum(ws_.releveRecordCount);
    Item(QStringLiteral("Item_FileChg"))->setText(QStringLiteral("データファイルの変更"));
    ShowTableStatus();
}

// ---- Dictionary and settings ---------------------------------------------------------------------

void MainWindow::Item_CheckNameClick() {
    openDialogName_ = QStringLiteral("*.dic");
    const QString path = dialogs_->OpenFile(this, QStringLiteral("異名辞書の読込み"), 4,
                                            openDialogName_, Q(ws_.settings.directory));
    if (!path.isEmpty()) {
        openDialogName_ = path;
        ws_.dictFileName = S(path);
        try {
            if (!ws_.SetDictionary(S(path))) ws_.dictFileName.clear();
        } catch (const std::exception& e) {
            ws_.dictFileName.clear();
            ShowError(QStringLiteral("異名辞書を読込めません。"), e);
        }
    }
    ShowTableStatus();
}

void MainWindow::Item_ReadINIClick() {
    openDialogName_ = QStringLiteral("*.ini");
    const QString path = dialogs_->OpenFile(this, QStringLiteral("設定ファイル読込み"), 5,
                                            openDialogName_, Q(ws_.settings.directory));
    if (path.isEmpty()) {
        ShowTableStatus();
        return;
    }
    openDialogName_ = path;
    const bool wasEmpty = ws_.table.ReleveCount() == 0;
    ws_.settings.useDataItem = false;
    ws_.iniFileName = S(path);
    try {
        ws_.ReadIniFile(S(path));
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("設定ファイルを読込めません。"), e);
    }
    ApplyWindowSettings();
    if (wasEmpty) ModelWasReset();
    LayoutRenewed();
    ShowTableStatus();
}

void MainWindow::Item_UseFIClick() {
    if (!dialogs_->AskYesNo(this, QStringLiteral("見出し項目をデータファイルと一致させますか？"))) {
        ws_.settings.useDataItem = false;
        SetTicks();
        return;
    }
    ws_.settings.useDataItem = true;
    try {
        ws_.ReadDataHeader();
    } catch (const std::exception& e) {
        ShowError(QString(), e);
    }
    const bool empty = ws_.table.ReleveCount() == 0;
    ws_.table.ReNewTable();
    if (empty) ModelWasReset();
    LayoutRenewed();
    ShowTableStatus();
}

// ---- Title, manual, version ---------------------------------------------------------------------

void MainWindow::Item_EditTitleClick() {
    QString text = Q(ws_.ProposedTitle());
    if (dialogs_->GetText(this, QStringLiteral("　表の見出しを編修する"), QString(), text))
        ws_.table.TableTitle = S(text);
    ShowTableStatus();
}

QString MainWindow::ManualPath() const {
    QStringList candidates;
    const QString env = qEnvironmentVariable("TAVIK_MANUAL_DIR");
    if (!env.isEmpty()) candidates << QDir(env).filePath(QStringLiteral("index.html"));
    const QString appDir = QCoreApplication::applicationDirPath();
    candidates << QDir(appDir).filePath(QStringLiteral("manual/index.html"))
               << QDir(appDir).filePath(QStringLiteral("docs/manual/index.html"))
               << QDir(appDir).filePath(QStringLiteral("../share/tavik/manual/index.html"));
#ifdef TAVIK_MANUAL_DIR
    candidates << QDir(QStringLiteral(TAVIK_MANUAL_DIR)).filePath(QStringLiteral("index.html"));
#endif
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).absoluteFilePath();
    return {};
}

void MainWindow::Item_ManualClick() {
    const QString path = ManualPath();
    if (path.isEmpty()) {
        dialogs_->Inform(this, QStringLiteral("使用説明書が見つかりません。"));
        return;
    }
    if (!dialogs_->OpenInBrowser(path))
        dialogs_->Inform(this, QStringLiteral("使用説明書を開けません：\n") + path);
}

void MainWindow::Item_VersionClick() {
    AboutBox box(ProgramVersionText(), this);
    dialogs_->ShowModal(&box);
}

}  // namespace tavik::ui
