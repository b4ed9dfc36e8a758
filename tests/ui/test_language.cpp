// The window in each language: the embedded English translation is found and installed, the
// texts wrapped so far follow it, Qt's own dialogs speak the same language, and 使用法 opens
// the manual of the interface's language. Japanese again gives the source texts.
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "formats/language_setting.h"
#include "formats/workspace.h"
#include "scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/application.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"

using tavik::Language;
using tavik::testing::StartWindow;

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void textsFollowTheLanguage();
    void manualInTheInterfaceLanguage();
    void languageMenuWritesTheSettingForTheNextStart();
    void cleanup() { tavik::ui::SetUpApplication(*qApp, Language::Japanese); }
};

void TestLanguage::textsFollowTheLanguage() {
    QVERIFY(QFile::exists(QStringLiteral(":/i18n/tavik_en.qm")));
    QWidget parent;
    for (const bool english : {true, false, true}) {
        tavik::ui::SetUpApplication(*qApp, english ? Language::English : Language::Japanese);
        QCOMPARE(tavik::InterfaceLanguage(), english ? Language::English : Language::Japanese);
        tavik::ui::AboutBox box(QStringLiteral("4.15"), &parent);
        QCOMPARE(box.windowTitle(), english ? QStringLiteral("About TAVIK") : QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
        tavik::ui::WorkMessage work(&parent);
        QCOMPARE(work.cancelButton()->text(), english ? QStringLiteral("Stop") : QStringLiteral("中止"));
        QCOMPARE(QCoreApplication::translate("UserDialogs", "はい(&Y)"),
                 english ? QStringLiteral("&Yes") : QStringLiteral("はい(&Y)"));
        // Qt's own texts (its standard buttons) in the same language: English is Qt's source.
        const QString qtCancel = QCoreApplication::translate("QPlatformTheme", "Cancel");
        if (english) QCOMPARE(qtCancel, QStringLiteral("Cancel"));
    }
    // One translator of ours at a time, however often the language is set.
    QCOMPARE(qApp->findChildren<QTranslator*>(QStringLiteral("tavik-translator")).size(), qsizetype(1));
}

void TestLanguage::manualInTheInterfaceLanguage() {
    QTemporaryDir manual;
    QVERIFY(QDir().mkpath(manual.filePath(QStringLiteral("en"))));
    for (const QString page : {QStringLiteral("index.html"), QStringLiteral("en/index.html")}) {
        QFile f(manual.filePath(page));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    qputenv("TAVIK_MANUAL_DIR", manual.path().toUtf8());
    const auto unset = qScopeGuard([] { qunsetenv("TAVIK_MANUAL_DIR"); });
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    tavik::ui::SetUpApplication(*qApp, Language::English);
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.back(), QDir::cleanPath(manual.filePath(QStringLiteral("en/index.html"))));
    tavik::ui::SetUpApplication(*qApp, Language::Japanese);
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.back(), QDir::cleanPath(manual.filePath(QStringLiteral("index.html"))));
    // A manual folder without the English one still opens the Japanese one.
    QVERIFY(QFile::remove(manual.filePath(QStringLiteral("en/index.html"))));
    tavik::ui::SetUpApplication(*qApp, Language::English);
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.back(), QDir::cleanPath(manual.filePath(QStringLiteral("index.html"))));
}

void TestLanguage::languageMenuWritesTheSettingForTheNextStart() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    // The settings file the program starts with, the one its language is read from.
    const std::string ini = tavik::DefaultIniPath(QDir(tmp.path()).filePath(QStringLiteral("tavik")).toStdString());
    auto* menu = s.w->findChild<QAction*>(QStringLiteral("languageMenu"))->menu();
    QVERIFY(menu);
    const auto ticked = [&] {
        emit menu->aboutToShow();
        for (QAction* a : menu->actions())
            if (a->isChecked()) return a->objectName();
        return QString();
    };
    QCOMPARE(ticked(), QStringLiteral("language_system"));
    s.w->findChild<QAction*>(QStringLiteral("language_en"))->trigger();
    QCOMPARE(tavik::ReadLanguageSetting(ini), std::string("en"));
    QCOMPARE(ticked(), QStringLiteral("language_en"));
    // Said, and only at the next start: the window goes on in the language it has.
    QCOMPARE(s.dialogs->notices.size(), qsizetype(1));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("next start")));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("次の起動")));
    QCOMPARE(tavik::InterfaceLanguage(), Language::Japanese);
    // The window's own settings, written at the end, keep the choice.
    s.w->workspace().WriteIniFile(ini);
    QCOMPARE(tavik::ReadLanguageSetting(ini), std::string("en"));
    s.w->findChild<QAction*>(QStringLiteral("language_system"))->trigger();
    QCOMPARE(tavik::ReadLanguageSetting(ini), std::string("system"));
    QCOMPARE(ticked(), QStringLiteral("language_system"));
}

QTEST_MAIN(TestLanguage)
#include "test_language.moc"
