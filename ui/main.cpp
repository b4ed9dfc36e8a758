// tavik: the desktop program.
#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <cstdio>

#include "ui/main_window.h"

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAVIK"));

    // Qt's own dialogs (files, fonts) speak Japanese where the translations are installed.
    QTranslator qtJapanese;
    if (qtJapanese.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJapanese);

    // A Japanese face for menus and dialogs, so kana and kanji never come from a fallback.
    for (const char* family : {"Noto Sans CJK JP", "IPAPGothic", "IPAGothic"}) {
        if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
            QFont f(QString::fromLatin1(family));
            f.setPointSizeF(QApplication::font().pointSizeF());
            QApplication::setFont(f);
            break;
        }
    }

    tavik::ui::MainWindow w;
    w.Start(QApplication::arguments().mid(1), QApplication::applicationFilePath());
    w.show();

    // Start-up measurement: leave as soon as the window (and a table named on the command
    // line) has been painted once.
    if (qEnvironmentVariableIntValue("TAVIK_EXIT_AFTER_SHOW") == 1) {
        QTimer::singleShot(0, &app, [&] {
            w.repaint();
            std::fprintf(stderr, "tavik: window shown after %lld ms\n",
                         static_cast<long long>(sinceStart.elapsed()));
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
