// The main window from its start: the version, the defaults, the menus with the commands
// of later work, quitting, the manual and the about box, the settings, the table font and
// the embedded items.
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QtTest>

#include "ui/command_line.h"
#include "ui/version.h"
#include "ui/window_place.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;
using tavik::ui::RangeMode;

class TestWindowStart : public QObject {
    Q_OBJECT
private slots:
    void versionAndCommandLineRules();
    void startupDefaults();
    void menuCaptionsAndLaterCommands();
    void quitWritesSettingsOnlyThere();
    void manualAndAbout();
    void settingsFontAndEmbeddedItems();
    void settingsAndTableNamedAtStart();
    void windowPlaceComesBackIntoView();
};

void TestWindowStart::versionAndCommandLineRules() {
    using tavik::ui::ParseCommandLine;
    using tavik::ui::VersionText;
    QCOMPARE(VersionText(QStringLiteral("4.1.5.0")), QStringLiteral("4.15"));
    QCOMPARE(VersionText(QStringLiteral("10.2.13.7")), QStringLiteral("10.213"));
    QCOMPARE(VersionText(QStringLiteral("4.1.5")), QString());
    QCOMPARE(VersionText(QStringLiteral("4.x.5.0")), QString());
    QCOMPARE(tavik::ui::ProgramVersionText(), QStringLiteral("4.15"));

    const QString def = QStringLiteral("/opt/tavik.ini");
    auto r = ParseCommandLine({QStringLiteral("/d/Forest.INI")}, def);
    QCOMPARE(r.iniPath, QStringLiteral("/d/Forest.INI"));
    QVERIFY(r.tablePath.isEmpty());
    // Settings and a table, in either order: both are taken.
    r = ParseCommandLine({QStringLiteral("t.Vtb"), QStringLiteral("x.ini")}, def);
    QCOMPARE(r.iniPath, QStringLiteral("x.ini"));
    QCOMPARE(r.tablePath, QStringLiteral("t.Vtb"));
    QVERIFY(r.refused.isEmpty());
    r = ParseCommandLine({QStringLiteral("x.ini"), QStringLiteral("t.vtb.GZ")}, def);
    QCOMPARE(r.iniPath, QStringLiteral("x.ini"));
    QCOMPARE(r.tablePath, QStringLiteral("t.vtb.GZ"));
    // Anything else, and a second file of a kind, is refused rather than ignored.
    r = ParseCommandLine({QStringLiteral("a.csv"), QStringLiteral("b.vtb"), QStringLiteral("c.vtb.zst"),
                          QStringLiteral("y.ini"), QStringLiteral("z.ini")},
                         def);
    QCOMPARE(r.iniPath, QStringLiteral("y.ini"));
    QCOMPARE(r.tablePath, QStringLiteral("b.vtb"));
    QCOMPARE(r.refused, QStringList({QStringLiteral("a.csv"), QStringLiteral("c.vtb.zst"), QStringLiteral("z.ini")}));
    r = ParseCommandLine({QStringLiteral("dir.ini/table")}, def);
    QCOMPARE(r.iniPath, def);
    QCOMPARE(r.refused, QStringList({QStringLiteral("dir.ini/table")}));
    r = ParseCommandLine({QStringLiteral("/d/Beech.TKI")}, def);
    QCOMPARE(r.iniPath, def);
    QVERIFY(r.tablePath.isEmpty());
    QCOMPARE(r.dataPath, QStringLiteral("/d/Beech.TKI"));

    // A field-data index opened from the desktop is the current field data at once.
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path(), {TestDataFile(QStringLiteral("example/example.tki"))});
    QCOMPARE(Q(s.w->workspace().dataFileName), TestDataFile(QStringLiteral("example/example.tki")));
    QCOMPARE(s.w->workspace().table.ReleveCount(), 0);
}

void TestWindowStart::startupDefaults() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    QCOMPARE(w.windowTitle(), QStringLiteral(" Vegetation Table Processing Ver.4.15    "));
    QCOMPARE(t.FNRow(), 19);  // 18 header items
    int items = 0;
    for (int n = 1; n <= tavik::kItemCount; ++n) items += t.ItemBoxes[n].enabled ? 1 : 0;
    QCOMPARE(items, 18);
    QCOMPARE(t.ColCount(), 27);
    QCOMPARE(t.RowCount(), 159);
    QCOMPARE(Q(t.Text(2, 3)), QStringLiteral("調査地名"));
    QCOMPARE(Q(t.Text(3, 19)), QStringLiteral("F＼N"));
    QCOMPARE(w.statusLine()->panelText(1), QStringLiteral(" 測定数：0"));
    QCOMPARE(w.statusLine()->panelText(2), QStringLiteral(" 種数：0"));
    QCOMPARE(w.statusLine()->panelText(3), QStringLiteral(" 変換辞書：異名表.dic"));
    QCOMPARE(w.statusLine()->panelText(4), QStringLiteral(" ファイル："));
    for (const char* name : kOutputs) QVERIFY2(!Action(w, name)->isEnabled(), name);
    // Started for the first time, the window takes four fifths of the screen, centred.
    const QRect screen = w.screen()->availableGeometry();
    QCOMPARE(w.size(), QSize(qMax(screen.width() * 4 / 5, 320), qMax(screen.height() * 4 / 5, 240)));
    QCOMPARE(Q(w.workspace().iniFileName), QDir(tmp.path()).filePath(QStringLiteral("tavik.ini")));
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(s.dialogs->errors.isEmpty());
    // Nothing is written at start.
    QVERIFY(!QFile::exists(QDir(tmp.path()).filePath(QStringLiteral("tavik.ini"))));
}

void TestWindowStart::menuCaptionsAndLaterCommands() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("表ツール(&T)"),
                                 QStringLiteral("編集・検索(&E)"), QStringLiteral("設定変更(&C)"),
                                 QStringLiteral("ヘルプ(&H)")}));
    // The file menu with its separators ("-").
    QStringList file;
    for (QAction* a : w.menuBar()->actions().front()->menu()->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(file, (QStringList{QStringLiteral("組成表を初期化する(&N)"), QStringLiteral("表にデータを加える(&A)"),
                                QStringLiteral("保存した表を読込む(&L)"), QStringLiteral("データファイルの指定(&F)"),
                                QStringLiteral("-"), QStringLiteral("現在の表を保存する(&S)"),
                                QStringLiteral("組成表として出力"), QStringLiteral("プリンターの設定(&T)"),
                                QStringLiteral("-"), QStringLiteral("数値表として出力する(&V)"),
                                QStringLiteral("PCord 用のCSV型出力(&C)"), QStringLiteral("分布データ等を出力(&D)"),
                                QStringLiteral("-"), QStringLiteral("終　　　　了(&Q)")}));
    QCOMPARE(w.actions().quit->statusTip(), QStringLiteral("プログラムを終了する"));
    QCOMPARE(w.actions().version->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    // The outputs wait for relevés; the printer setup and the configuration do not.
    QVERIFY(w.actions().printSetup->isEnabled());
    QVERIFY(w.actions().changeItems->isEnabled());
    SmallTable(w);
    for (const char* name : {"textFile", "excelFile", "printTable", "printBrief", "printSetup", "valueMatrix",
                             "pcordCsv", "plotData", "gpsPot", "meshData", "changeItems"}) {
        QAction* a = Action(w, name);
        QVERIFY2(a, name);
        QVERIFY2(a->isEnabled(), name);
    }
    QVERIFY(w.actions().saveTable->isEnabled());
    QVERIFY(w.actions().outputTable->isEnabled());
    QVERIFY(w.actions().siteData->isEnabled());
    QVERIFY(w.actions().reciprocalAveraging->isEnabled());
    QVERIFY(w.actions().makeConstancyTable->isEnabled());
    QVERIFY(w.actions().showConstancyTable->isEnabled());
}

void TestWindowStart::quitWritesSettingsOnlyThere() {
    QTemporaryDir tmp;
    const QString ini = QDir(tmp.path()).filePath(QStringLiteral("tavik.ini"));
    {
        auto s = StartWindow(tmp.path());
        s.w->show();
        s.w->resize(760, 560);
        s.w->close();  // not by Quit: nothing written
        QVERIFY(!QFile::exists(ini));
    }
    {
        auto s = StartWindow(tmp.path());
        s.w->show();
        s.w->resize(760, 560);
        s.w->quit();
        QVERIFY(!s.w->isVisible());
        QVERIFY(QFile::exists(ini));
        QVERIFY(s.dialogs->errors.isEmpty());
    }
    {
        auto s = StartWindow(tmp.path());
        QCOMPARE(s.w->size(), QSize(760, 560));
        // A settings file that cannot be written: a message, and the window stays.
        QFile blocker(QDir(tmp.path()).filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        s.w->workspace().iniFileName = QDir(tmp.path()).filePath(QStringLiteral("file/sub/tavik.ini")).toStdString();
        s.w->show();
        s.w->quit();
        QVERIFY(s.w->isVisible());
        QCOMPARE(s.dialogs->errors.size(), 1);
        QVERIFY(s.dialogs->errors.front().contains(QStringLiteral("書き込めません")));
    }
}

void TestWindowStart::manualAndAbout() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.size(), 1);
    QVERIFY(s.dialogs->openedInBrowser.front().endsWith(QStringLiteral("manual/index.html")));
    // No browser: the manual's path in a message instead of nothing at all.
    s.dialogs->browserStarts = false;
    s.w->openManual();
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->notices.front().endsWith(QStringLiteral("manual/index.html")));
    // Without a display the real dialogs do not pretend to have started one.
    QVERIFY(!tavik::ui::UserDialogs().openInBrowser(s.dialogs->openedInBrowser.front()));
    s.w->showAbout();
    QCOMPARE(s.dialogs->modalShown, 1);

    // Installed, the manual lies in share/doc/tavik/ beside bin/ and comes before the one
    // of the checkout.
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString share = QDir::cleanPath(programDir.absoluteFilePath(QStringLiteral("../share")));
    QVERIFY2(!QFileInfo::exists(share), qPrintable(share));
    const auto removeShare = qScopeGuard([&] { QDir(share).removeRecursively(); });
    const QString installed = share + QStringLiteral("/doc/tavik/manual/index.html");
    QVERIFY(QDir().mkpath(QFileInfo(installed).path()));
    QFile page(installed);
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.close();
    s.dialogs->browserStarts = true;
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.back(), installed);
}

void TestWindowStart::settingsFontAndEmbeddedItems() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    // Another settings file: its items and its choice about the embedded items.
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.ini"));
    w.readSettingsFile();
    QCOMPARE(t.FNRow(), 23);
    QCOMPARE(Q(w.workspace().iniFileName), TestDataFile(QStringLiteral("example/example.ini")));
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    // Declining the embedded items unticks them: choosing data keeps the settings' layout.
    s.dialogs->answers << false << true;
    w.toggleEmbeddedItems();
    QVERIFY(!w.actions().useEmbeddedItems->isChecked());
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    QCOMPARE(t.FNRow(), 23);
    // Agreeing lays the table out from the data file's header.
    w.toggleEmbeddedItems();
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    QCOMPARE(t.FNRow(), 31);
    QCOMPARE(Q(t.Text(2, 5)), QStringLiteral("緯度（度分秒）"));

    // The table font: a new size, the grid laid out anew (nothing stays hidden).
    w.ranges()->toggleSiteRows();
    QFont f(QStringLiteral("IPAMincho"));
    f.setPointSize(12);
    s.dialogs->fontAnswer = f;
    w.chooseTableFont();
    QCOMPARE(t.FontSize, 12);
    QCOMPARE(t.RowHeight(5), t.DefaultRowHeight());
    QVERIFY(!w.actions().hideSiteRows->isChecked());
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    // Cancelling the font dialog keeps the font.
    s.dialogs->fontAnswer.reset();
    w.chooseTableFont();
    QCOMPARE(t.FontSize, 12);
}

void TestWindowStart::settingsAndTableNamedAtStart() {
    QTemporaryDir tmp;
    const QString ini = TestDataFile(QStringLiteral("example/example.ini"));
    const QString table = TestDataFile(QStringLiteral("example/example.vtb"));
    auto s = StartWindow(tmp.path(), {table, ini, QStringLiteral("notes.txt")});
    MainWindow& w = *s.w;
    // The settings named second are used, and the table named first is open.
    QCOMPARE(Q(w.workspace().iniFileName), ini);
    QCOMPARE(w.workspace().table.ReleveCount(), 60);
    // What the program cannot use is said, not ignored.
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("notes.txt")));
}

void TestWindowStart::windowPlaceComesBackIntoView() {
    using tavik::ui::WindowPlace;
    const QRect screen(0, 0, 1000, 800);
    tavik::Settings s;
    s.windowPlaced = true;
    s.left = 100, s.top = 50, s.width = 600, s.height = 400;
    // Kept as it was while it is on the screen.
    QCOMPARE(WindowPlace(s, screen), QRect(100, 50, 600, 400));
    // Never smaller than 320×240, never larger than the screen.
    s.width = 10, s.height = 10;
    QCOMPARE(WindowPlace(s, screen), QRect(100, 50, 320, 240));
    s.width = 3000, s.height = 2000;
    QCOMPARE(WindowPlace(s, screen).size(), QSize(1000, 800));
    // A place on a screen that is gone comes back near the top left corner; so does one
    // with no more than its right 40 pixels on the screen.
    s.left = 2000, s.top = 1500, s.width = 600, s.height = 400;
    QCOMPARE(WindowPlace(s, screen), QRect(40, 40, 600, 400));
    s.left = -560, s.top = 0;
    QCOMPARE(WindowPlace(s, screen), QRect(40, 40, 600, 400));
    s.left = -559;
    QCOMPARE(WindowPlace(s, screen), QRect(-559, 0, 600, 400));
    // Not placed yet: four fifths of the screen, in its middle.
    s.windowPlaced = false;
    QCOMPARE(WindowPlace(s, screen), QRect(100, 80, 800, 640));
    // No screen at all: the place as kept.
    s.windowPlaced = true;
    s.left = -5000;
    QCOMPARE(WindowPlace(s, QRect()), QRect(-5000, 0, 600, 400));
}

QTEST_MAIN(TestWindowStart)
#include "test_window_start.moc"
