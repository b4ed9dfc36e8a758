// The window in each language: the embedded English translation is found and installed, the
// texts follow it (the menus, the undo captions, the status line, the grid's buttons, the
// window's questions and errors), Qt's own dialogs speak the same language, and 使用法 opens
// the manual of the interface's language. Japanese again gives the source texts.
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "formats/language_setting.h"
#include "formats/workspace.h"
#include "named_releves.h"
#include "print/printer_device.h"
#include "scripted_dialogs.h"
#include "ui/about_box.h"
#include "ui/application.h"
#include "ui/panels.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Language;
using tavik::testing::StartWindow;

namespace {

// The Japanese script: kana, kanji and full-width forms.
const QRegularExpression kJapanese(QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

// Every item of a menu and its submenus, with its hint, but the language menu's: those are
// written in both languages at once.
void CollectItems(const QMenu* menu, QStringList& texts) {
    for (const QAction* a : menu->actions()) {
        if (a->isSeparator() || a->objectName() == QLatin1String("languageMenu")) continue;
        texts << a->text();
        if (!a->statusTip().isEmpty()) texts << a->statusTip();
        if (a->menu()) CollectItems(a->menu(), texts);
    }
}

QString StatusPanel(const tavik::ui::MainWindow& w, int i) {
    return w.findChild<QLabel*>(QStringLiteral("statusPanel%1").arg(i))->text();
}

}  // namespace

class TestLanguage : public QObject {
    Q_OBJECT
private slots:
    void textsFollowTheLanguage();
    void menusFollowTheLanguage();
    void windowTextsFollowTheLanguage();
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

void TestLanguage::menusFollowTheLanguage() {
    for (const bool english : {true, false}) {
        tavik::ui::SetUpApplication(*qApp, english ? Language::English : Language::Japanese);
        QTemporaryDir tmp;
        auto s = StartWindow(tmp.path());
        QStringList titles, items;
        for (const QAction* a : s.w->menuBar()->actions()) {
            titles << a->text();
            CollectItems(a->menu(), items);
        }
        const QStringList expected =
            english
                ? QStringList{QStringLiteral("&File"), QStringLiteral("&Table tools"),
                              QStringLiteral("&Edit and search"), QStringLiteral("&Settings"), QStringLiteral("&Help")}
                : QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("表ツール(&T)"),
                              QStringLiteral("編集・検索(&E)"), QStringLiteral("設定変更(&C)"),
                              QStringLiteral("ヘルプ(&H)")};
        QCOMPARE(titles, expected);
        QVERIFY(items.size() > 50);
        // English: not a Japanese character left. Japanese: every text is still the source,
        // and none took an English translation by mistake.
        for (const QString& item : items) {
            QVERIFY2(!item.isEmpty(), qPrintable(items.join(u'|')));
            QVERIFY2(item.contains(kJapanese) != english, qPrintable(item));
        }
        // The language menu is written in both languages whatever the interface's.
        QCOMPARE(s.w->findChild<QAction*>(QStringLiteral("languageMenu"))->text(), QStringLiteral("Language / 言語"));
    }
}

void TestLanguage::windowTextsFollowTheLanguage() {
    for (const bool english : {true, false}) {
        const auto say = [english](const char* en, const char* ja) {
            return english ? QString::fromUtf8(en) : QString::fromUtf8(ja);
        };
        tavik::ui::SetUpApplication(*qApp, english ? Language::English : Language::Japanese);
        QTemporaryDir tmp;
        auto s = StartWindow(tmp.path());
        tavik::testing::SmallTable(*s.w);
        QCOMPARE(StatusPanel(*s.w, 1), say(" Relevés: 3", " 測定数：3"));
        QCOMPARE(StatusPanel(*s.w, 2), say(" Species: 4", " 種数：4"));
        // No dictionary named: the settings file's mark of it is shown in the interface's language.
        s.w->workspace().dictFileName = tavik::Workspace::kNoFileName;
        s.w->showTableStatus();
        QCOMPARE(StatusPanel(*s.w, 3), say(" Dictionary: not given", " 変換辞書：未指定"));
        // An undo caption names its step in the language of the moment it is shown.
        auto* undo = s.w->findChild<QAction*>(QStringLiteral("undo"));
        QCOMPARE(undo->text(), say("Undo", "元に戻す"));
        s.dialogs->texts << QStringLiteral("T");
        s.w->editTitle();
        QCOMPARE(undo->text(), say("Undo: Edit the title", "元に戻す：組成表の標題の編集"));
        QCOMPARE(s.w->findChild<QAction*>(QStringLiteral("redo"))->text(), say("Redo", "やり直し"));
        // The grid's buttons, a question and an error box of the window.
        QCOMPARE(s.w->findChild<tavik::ui::PopupButton*>(QStringLiteral("commentButton"))->text(),
                 say("Write a row comment", "行コメント記入"));
        s.dialogs->answers << false;
        s.w->chooseDataCheckMode();
        QCOMPARE(s.dialogs->questions.back(),
                 say("For a data check, show row 0 and column 0 with the internal keys?",
                     "データ検査のため、内部データの参照を示す 行０、列０を表示しますか？"));
        s.w->loadTable(QDir(tmp.path()).filePath(QStringLiteral("missing.vtb")));
        QVERIFY2(!s.dialogs->errors.isEmpty() && s.dialogs->errors.back().startsWith(say(
                                                     "Cannot read the composition table.", "組成表を読込めません。")),
                 qPrintable(s.dialogs->errors.join(u'|')));
        // A count of separators widens its panel rather than being cut off.
        tavik::testing::Fill(s.w->workspace().table, {{"A", "B"}, {}, {"A", "C"}});
        s.w->showTableStatus();
        const auto* releves = s.w->findChild<QLabel*>(QStringLiteral("statusPanel1"));
        QCOMPARE(releves->text(), say(" Relevés: 2, separators: 1", " 測定数：2（区切り 1）"));
        QVERIFY(releves->width() >= releves->sizeHint().width());
        // The printer device's check of a PDF file.
        const QString pdf = QDir(tmp.path()).filePath(QStringLiteral("p.pdf"));
        QFile(pdf).open(QIODevice::WriteOnly);
        try {
            tavik::ui::CheckPdfComplete(pdf.toStdString(), "p.pdf");
            QFAIL("an empty PDF passed");
        } catch (const std::runtime_error& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     say("Cannot write p.pdf (the PDF is empty)", "p.pdf に書き込めません（PDF が空です）"));
        }
    }
}

void TestLanguage::manualInTheInterfaceLanguage() {
    QTemporaryDir manual;
    QVERIFY(QDir().mkpath(manual.filePath(QStringLiteral("en"))));
    for (const QString& page : {QStringLiteral("index.html"), QStringLiteral("en/index.html")}) {
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
