// The user's manual: where it lies, in the interface's language, and opening it.
#include "ui/manual.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "core/language.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

// Where the installed manual lies, from the folder of the installed program.
#ifndef TAVIK_MANUAL_FROM_BIN
#define TAVIK_MANUAL_FROM_BIN "../share/doc/tavik/manual"
#endif

QString ManualPath() {
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

QString OpenManual(QWidget* parent, UserDialogs& dialogs) {
    const QString path = ManualPath();
    if (path.isEmpty()) {
        dialogs.inform(parent, QCoreApplication::translate("Manual", "使用説明書が見つかりません。"));
        return {};
    }
    if (!dialogs.openInBrowser(path)) {
        dialogs.inform(parent,
                       QCoreApplication::translate(
                           "Manual", "使用説明書を開くブラウザーが見つかりません。使用説明書はここにあります：\n%1")
                           .arg(QDir::toNativeSeparators(path)));
        return {};
    }
    return path;
}

}  // namespace tavik::ui
