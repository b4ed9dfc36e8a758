#include "ui/user_dialogs.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

#include "core/messages.h"
#include "output/options.h"

namespace tavik::ui {

const QStringList& OpenFilters() {
    static const QStringList f = {
        QCoreApplication::translate("UserDialogs", "植生データファイル (*.tki)"),
        QCoreApplication::translate("UserDialogs", "植生組成表ファイル (*.vtb *.VTB *.vtb.gz *.vtb.zst)"),
        QCoreApplication::translate("UserDialogs", "ＣＳＶデータファイル (*.csv)"),
        QCoreApplication::translate("UserDialogs", "異名辞書ファイル (*.dic)"),
        QCoreApplication::translate("UserDialogs", "設定ファイル (*.ini)"),
    };
    return f;
}

const QStringList& SaveFilters() {
    // The outputs' filters as the output library numbers them; the saved table may also be
    // written compressed.
    static const QStringList f = [] {
        QStringList list;
        for (const FileFilter& filter : SaveDialogFilters()) list << QString::fromUtf8(Tr(filter.description));

        list[0] = QCoreApplication::translate("UserDialogs", "組成表で保存 (*.vtb *.vtb.gz)");
        list << QCoreApplication::translate("UserDialogs", "圧縮した組成表 (*.vtb.zst)");
        return list;
    }();
    return f;
}

namespace {

QString FilterAt(const QStringList& list, int index) {
    return (index >= 1 && index <= list.size()) ? list[index - 1] : QString();
}

}  // namespace

QString WithFilterSuffix(const QString& path, const QString& filter) {
    // A filter of one two-part pattern ("*.vtb.zst") completes a name given with the first
    // part only ("t.vtb", or "t" that took the default suffix): the file is what was chosen.
    const qsizetype open = filter.lastIndexOf(QLatin1Char('(')), close = filter.lastIndexOf(QLatin1Char(')'));
    if (open < 0 || close < open) return path;
    const QString pattern = filter.mid(open + 1, close - open - 1).trimmed();
    if (!pattern.startsWith(QLatin1String("*.")) || pattern.contains(QLatin1Char(' ')) ||
        pattern.count(QLatin1Char('.')) != 2)
        return path;
    const QString suffix = pattern.mid(1);                                    // ".vtb.zst"
    const QString first = suffix.left(suffix.lastIndexOf(QLatin1Char('.')));  // ".vtb"
    if (path.endsWith(suffix, Qt::CaseInsensitive)) return path;
    if (path.endsWith(first, Qt::CaseInsensitive)) return path + suffix.mid(first.size());
    return path;
}

namespace {

QString StartPath(const QString& fileName, const QString& dir) {
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) return fileName;
    return QDir(dir).filePath(fileName);
}

int Ask(QWidget* parent, const QString& text, QMessageBox::StandardButton no, const QString& noText) {
    QMessageBox box(QMessageBox::Question, QCoreApplication::translate("UserDialogs", "確認"), text,
                    QMessageBox::Yes | no, parent);
    box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("UserDialogs", "はい(&Y)"));
    box.button(no)->setText(noText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(no);
    return box.exec();
}

}  // namespace

QString UserDialogs::openFile(QWidget* parent, const QString& title, int filterIndex, const QString& fileName,
                              const QString& dir) {
    return openFileFiltered(parent, title, OpenFilters(), filterIndex, fileName, dir);
}

QString UserDialogs::saveFile(QWidget* parent, const QString& title, int filterIndex, const QString& fileName,
                              const QString& dir, const QString& defaultSuffix) {
    return saveFileFiltered(parent, title, SaveFilters(), filterIndex, fileName, dir, defaultSuffix);
}

QString UserDialogs::openFileFiltered(QWidget* parent, const QString& title, const QStringList& filters,
                                      int filterIndex, const QString& fileName, const QString& dir) {
    QFileDialog dlg(parent, title);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(FilterAt(filters, filterIndex));
    if (QFileInfo(dir).isDir()) dlg.setDirectory(dir);
    if (!fileName.contains(QLatin1Char('*'))) dlg.selectFile(fileName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().front();
}

QString UserDialogs::saveFileFiltered(QWidget* parent, const QString& title, const QStringList& filters,
                                      int filterIndex, const QString& fileName, const QString& dir,
                                      const QString& defaultSuffix) {
    QFileDialog dlg(parent, title);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    // The program asks its own question before overwriting.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.setNameFilters(filters);
    dlg.selectNameFilter(FilterAt(filters, filterIndex));
    dlg.setDefaultSuffix(defaultSuffix);
    if (QFileInfo(dir).isDir()) dlg.setDirectory(dir);
    dlg.selectFile(StartPath(fileName, dir));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return WithFilterSuffix(dlg.selectedFiles().front(), dlg.selectedNameFilter());
}

bool UserDialogs::choosePrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dlg(&printer, parent);
    return dlg.exec() == QDialog::Accepted;
}

bool UserDialogs::setUpPrinter(QWidget* parent, QPrinter& printer) {
    if (printer.outputFormat() == QPrinter::NativeFormat) {
        QPageSetupDialog dlg(&printer, parent);
        return dlg.exec() == QDialog::Accepted;
    }
    // Without an installed printer the page setup has nothing to set up: the print dialog's
    // page settings serve for the PDF file instead.
    QPrintDialog dlg(&printer, parent);
    dlg.setWindowTitle(QCoreApplication::translate("UserDialogs", "プリンターの設定"));
    return dlg.exec() == QDialog::Accepted;
}

bool UserDialogs::askYesNo(QWidget* parent, const QString& text) {
    return Ask(parent, text, QMessageBox::No, QCoreApplication::translate("UserDialogs", "いいえ(&N)")) ==
           QMessageBox::Yes;
}

UserDialogs::SaveChoice UserDialogs::askSaveChanges(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("TAVIK"), text, QMessageBox::NoButton, parent);
    QAbstractButton* save =
        box.addButton(QCoreApplication::translate("UserDialogs", "保存(&S)"), QMessageBox::AcceptRole);
    QAbstractButton* discard =
        box.addButton(QCoreApplication::translate("UserDialogs", "保存しない(&N)"), QMessageBox::DestructiveRole);
    QAbstractButton* cancel =
        box.addButton(QCoreApplication::translate("UserDialogs", "キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(qobject_cast<QPushButton*>(save));
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return SaveChoice::Save;
    if (box.clickedButton() == discard) return SaveChoice::Discard;
    return SaveChoice::Cancel;
}

bool UserDialogs::askRestore(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("TAVIK"), text, QMessageBox::NoButton, parent);
    QAbstractButton* restore =
        box.addButton(QCoreApplication::translate("UserDialogs", "復元する(&R)"), QMessageBox::AcceptRole);
    box.addButton(QCoreApplication::translate("UserDialogs", "復元しない(&N)"), QMessageBox::RejectRole);
    box.setDefaultButton(qobject_cast<QPushButton*>(restore));
    box.exec();
    return box.clickedButton() == restore;
}

bool UserDialogs::askYesAbort(QWidget* parent, const QString& text) {
    return Ask(parent, text, QMessageBox::Abort, QCoreApplication::translate("UserDialogs", "中止(&A)")) ==
           QMessageBox::Yes;
}

void UserDialogs::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("TAVIK"), text, QMessageBox::Ok, parent);
    box.exec();
}

void UserDialogs::error(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Critical, QCoreApplication::translate("UserDialogs", "エラー"), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

bool UserDialogs::getText(QWidget* parent, const QString& caption, const QString& prompt, QString& text) {
    QInputDialog dlg(parent);
    dlg.setWindowTitle(caption);
    dlg.setLabelText(prompt);
    dlg.setTextValue(text);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QCoreApplication::translate("UserDialogs", "キャンセル"));
    dlg.resize(qMax(dlg.sizeHint().width(), 420), dlg.sizeHint().height());
    if (dlg.exec() != QDialog::Accepted) return false;
    text = dlg.textValue();
    return true;
}

bool UserDialogs::getFont(QWidget* parent, QFont& font, const QString& title) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, font, parent, title);
    if (ok) font = f;
    return ok;
}

void UserDialogs::showModal(QWidget* dialog) {
    if (auto* d = qobject_cast<QDialog*>(dialog)) d->exec();
}

namespace {
// Whether the desktop has a program for HTML files: a default for text/html, or one of the
// browsers Debian's alternatives name.
bool HasHtmlViewer() {
    for (const char* name : {"x-www-browser", "firefox", "firefox-esr", "chromium"})
        if (!QStandardPaths::findExecutable(QLatin1String(name)).isEmpty()) return true;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/html")});
    if (!query.waitForFinished(2000)) {
        query.kill();
        return false;
    }
    return query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}
}  // namespace

bool UserDialogs::openInBrowser(const QString& path) {
    // Qt reports success once xdg-open has started, even when it then finds no browser: ask
    // only when one can be shown at all.
    const bool display = qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
    const bool launcher =
        !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() || qEnvironmentVariableIsSet("BROWSER");
    if (!display || !launcher || QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    // xdg-open starts and then finds no program for HTML without a word: look first.
    if (!qEnvironmentVariableIsSet("BROWSER") && !HasHtmlViewer()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace tavik::ui
