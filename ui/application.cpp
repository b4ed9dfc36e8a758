#include "ui/application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "formats/language_setting.h"
#include "formats/workspace.h"

namespace tavik::ui {

void SetUpApplication(QApplication& app) {
    const std::string ini = DefaultIniPath(QApplication::applicationFilePath().toStdString());
    SetUpApplication(app, ChooseProcessLanguage(ini));
}

void SetUpApplication(QApplication& app, Language language) {
    QApplication::setApplicationName(QStringLiteral("TAVIK"));
    // The installed menu entry's name: desktops match the window to its entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tavik.Tavik"));

    SetInterfaceLanguage(language);
    // The translators live as long as the application; a second call replaces them.
    for (QTranslator* old : app.findChildren<QTranslator*>(QStringLiteral("tavik-translator"))) {
        QApplication::removeTranslator(old);
        delete old;
    }
    const auto install = [&app](auto&& load) {
        auto* translator = new QTranslator(&app);
        translator->setObjectName(QStringLiteral("tavik-translator"));
        if (load(*translator)) QApplication::installTranslator(translator);
        else delete translator;
    };
    if (language == Language::English) {
        // Qt's own texts are English already; ours come from the embedded translation.
        install([](QTranslator& t) { return t.load(QStringLiteral(":/i18n/tavik_en.qm")); });
    } else {
        install([](QTranslator& t) {
            return t.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        });
    }

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
