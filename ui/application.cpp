#include "ui/application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavik::ui {

void SetUpApplication(QApplication& app) {
    QApplication::setApplicationName(QStringLiteral("TAVIK"));
    // The installed menu entry's name: desktops match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavik.Tavik"));
    // The translator lives as long as the application.
    auto* qtJapanese = new QTranslator(&app);
    if (qtJapanese->load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(qtJapanese);
    else
        delete qtJapanese;

    for (const char* family : {"Noto Sans CJK JP", "IPAPGothic", "IPAGothic"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont f(QString::fromLatin1(family));
            f.setPointSizeF(QApplication::font().pointSizeF());
            QApplication::setFont(f);
            break;
        }
    }
}

}  // namespace tavik::ui
