// The window and its files: a settings file or a saved table named on the command line,
// and bad input of every kind that leaves the table as it was.
#include <QDateTime>
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include "formats/saved_table.h"

#include "ui/grid_widget.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Table;
using tavik::ui::WorkProgress;
using namespace tavik::testing;

class TestWindowFiles : public QObject {
    Q_OBJECT
private slots:
    void commandLineVariants();
    void badInputLeavesTheTable();
    void failedCommandsGiveTheWindowBack();
    void failedLoadKeepsTheView();
    void savingOverAReadOnlyFileAsks();
    void startRemovesStaleTemporaries();
    void stoppedLoadAndSaveChangeNothing();
};

void TestWindowFiles::commandLineVariants() {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    // A settings file in capitals: 22 header items, its window size.
    const QString ini = QDir(dir).filePath(QStringLiteral("Forest.INI"));
    QVERIFY(QFile::copy(TestDataFile(QStringLiteral("example/example.ini")), ini));
    {
        auto s = StartWindow(dir, {ini});
        QCOMPARE(Q(s.w->workspace().iniFileName), ini);
        QCOMPARE(s.w->workspace().table.FNRow(), 23);
        QCOMPARE(s.w->size(), QSize(800, 600));
        QCOMPARE(s.w->workspace().table.ReleveCount(), 0);
    }
    // A saved table, made here from the example data.
    const QString vtb = QDir(dir).filePath(QStringLiteral("tables/Forest.Vtb"));
    QDir(dir).mkpath(QStringLiteral("tables"));
    {
        auto s = StartWindow(dir);
        s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
        s.w->chooseDataFile();
        s.w->retrieval()->showRetrievalPanel();
        s.w->retrieval()->scanFieldData(false);
        s.dialogs->texts << QStringLiteral("全域の森林");
        s.w->retrieval()->putIntoTable();
        QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
        s.dialogs->files << vtb;
        s.w->saveTable();
        QVERIFY(QFile::exists(vtb));
    }
    {
        auto s = StartWindow(dir, {vtb});
        QCOMPARE(Q(s.w->workspace().iniFileName), QDir(dir).filePath(QStringLiteral("tavik.ini")));
        QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
        QVERIFY(s.w->windowTitle().endsWith(QStringLiteral("4.15    全域の森林")));
        QCOMPARE(s.w->statusLine()->panelText(1), QStringLiteral(" 測定数：60"));
        QCOMPARE(s.w->statusLine()->panelText(4), QStringLiteral(" ファイル：Forest.Vtb"));
        for (const char* name : {"saveTable", "outputTable", "siteData"})
            QVERIFY2(Action(*s.w, name)->isEnabled(), name);
    }
    // The window shows itself before it reads the table; a compressed copy of any name too.
    const QString zst = QDir(dir).filePath(QStringLiteral("tables/Forest.vtb.zst"));
    {
        auto s = StartWindow(dir, {vtb});
        s.dialogs->files << zst;
        s.w->saveTable();
        QCOMPARE(FileBytes(zst).left(4), QByteArray("\x28\xB5\x2F\xFD"));
    }
    const QString renamed = QDir(dir).filePath(QStringLiteral("tables/Copy.vtb"));
    QVERIFY(QFile::rename(zst, renamed));
    {
        MainWindow w;
        w.start({renamed}, QDir(dir).filePath(QStringLiteral("tavik")));
        QVERIFY(w.startTablePending());
        QCOMPARE(w.workspace().table.ReleveCount(), 0);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!w.startTablePending());
        QCOMPARE(w.workspace().table.ReleveCount(), 60);
        QCOMPARE(w.statusLine()->panelText(4), QStringLiteral(" ファイル：Copy.vtb"));
    }
    // Anything else is refused with a word; the table is still opened.
    {
        auto s = StartWindow(dir, {QStringLiteral("sites.csv"), vtb});
        QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
        QVERIFY(s.dialogs->errors.isEmpty());
        QCOMPARE(s.dialogs->notices.size(), 1);
        QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("sites.csv")));
    }
}

void TestWindowFiles::badInputLeavesTheTable() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    const QStringList start = UsedTexts(t);

    // A damaged saved table: a message naming the file; the table stays.
    const QString bad = QDir(tmp.path()).filePath(QStringLiteral("壊れた表.vtb"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("title\r\n3 x 19\r\n");
    }
    s.dialogs->files << bad;
    w.openTable();
    QCOMPARE(s.dialogs->errors.size(), 1);
    QVERIFY2(s.dialogs->errors.front().contains(QStringLiteral("壊れた表.vtb")), qPrintable(s.dialogs->errors.front()));
    QCOMPARE(UsedTexts(t), start);
    QCOMPARE(t.ReleveCount(), 3);
    QVERIFY(!w.workMessage()->isVisible());

    // A field-data file that is not there: the message of the reader; nothing changes.
    const std::string before = w.workspace().dataFileName;
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("nothing.tki"));
    w.chooseDataFile();
    QCOMPARE(s.dialogs->errors.size(), 2);
    QVERIFY(s.dialogs->errors.last().contains(QStringLiteral("正しいファイルが指定されていません")));
    QCOMPARE(w.workspace().dataFileName, before);
    QCOMPARE(UsedTexts(t), start);
    // Scanning without a usable file says so too and marks nothing.
    w.retrieval()->showRetrievalPanel();
    w.retrieval()->scanFieldData(false);
    QCOMPARE(s.dialogs->errors.size(), 3);
    QCOMPARE(w.workspace().retrieval.HitCount(), 0);
    w.retrieval()->closeRetrievalPanel();

    // A dictionary that is not there: no dictionary shown.
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("none.dic"));
    w.readDictionary();
    QCOMPARE(w.statusLine()->panelText(3), QStringLiteral(" 変換辞書："));
    QCOMPARE(UsedTexts(t), start);
}

void TestWindowFiles::failedCommandsGiveTheWindowBack() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const QString bad = QDir(tmp.path()).filePath(QStringLiteral("bad.vtb"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("title\r\n3 x 19\r\n");
    }
    // The error box stands alone: no wait cursor of the command, no work message, the
    // window no longer locked. A cursor set by someone else stays set.
    QStringList seen;
    s.dialogs->onError = [&] {
        const QCursor* c = QApplication::overrideCursor();
        seen << QStringLiteral("%1 %2 %3")
                    .arg(c ? int(c->shape()) : -1)
                    .arg(w.workMessage()->isVisible())
                    .arg(w.menuBar()->isEnabled());
    };
    QApplication::setOverrideCursor(Qt::PointingHandCursor);
    const QString outside = QStringLiteral("%1 0 1").arg(int(Qt::PointingHandCursor));

    s.dialogs->files << bad;
    w.openTable();
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("no/such/folder/t.vtb"));
    w.saveTable();
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("nothing.tki"));
    w.chooseDataFile();
    w.retrieval()->showRetrievalPanel();
    w.retrieval()->scanFieldData(false);
    QCOMPARE(seen, (QStringList{outside, outside, outside, outside}));

    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(w.menuBar()->isEnabled());
    QVERIFY(w.grid()->isEnabled());
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(!w.statusLine()->noteText().startsWith(QStringLiteral("保存しました")));
}

void TestWindowFiles::failedLoadKeepsTheView() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    w.ranges()->toggleSiteRows();
    QVERIFY(w.actions().hideSiteRows->isChecked());
    const int hidden = t.RowHeight(3);
    const QString bad = QDir(tmp.path()).filePath(QStringLiteral("bad.vtb"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("title\r\n3 x 19\r\n");
    }
    s.dialogs->files << bad;
    w.openTable();
    QCOMPARE(s.dialogs->errors.size(), 1);
    // The tick, the range mode and the hidden rows still agree: the next click shows them.
    QVERIFY(w.actions().hideSiteRows->isChecked());
    QVERIFY(w.ranges()->mode() == tavik::ui::RangeMode::SiteRowsHidden);
    QCOMPARE(t.RowHeight(3), hidden);
    w.ranges()->toggleSiteRows();
    QVERIFY(!w.actions().hideSiteRows->isChecked());
    QVERIFY(t.RowHeight(3) > 0);
}

void TestWindowFiles::savingOverAReadOnlyFileAsks() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("ro.vtb"));
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    const auto content = [&] {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    // Overwrite: yes; read-only: no. Nothing changes.
    s.dialogs->files << path;
    s.dialogs->answers << true << false;
    w.saveTable();
    QCOMPARE(s.dialogs->questions.size(), 2);
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("ro.vtb は読み取り専用です。置き換えますか？"));
    QCOMPARE(content(), QByteArray("keep"));
    // Yes twice: replaced, still read-only.
    s.dialogs->files << path;
    s.dialogs->answers << true << true;
    w.saveTable();
    QVERIFY(content() != QByteArray("keep"));
    QVERIFY(!(QFile::permissions(path) & QFile::WriteOwner));
    QVERIFY(s.dialogs->errors.isEmpty());

    // A text without a CP932 form: the file is UTF-8 and the status line says so.
    w.workspace().table.TableTitle = "表😀";
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("u.vtb"));
    w.saveTable();
    QVERIFY2(w.statusLine()->noteText().contains(QStringLiteral("UTF-8")) &&
                 w.statusLine()->noteText().contains(QStringLiteral("表😀")),
             qPrintable(w.statusLine()->noteText()));
}

// A save killed mid-write leaves `.NAME.tavik-XXXXXX`; the next start removes ours that are
// older than a day from the folders it works in, and leaves fresh ones and other files alone.
void TestWindowFiles::startRemovesStaleTemporaries() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    QDir(tmp.path()).mkpath(QStringLiteral("tables"));
    const QString vtb = dir.filePath(QStringLiteral("tables/森林.vtb"));
    QVERIFY(QFile::copy(TestDataFile(QStringLiteral("example/example.vtb")), vtb));
    auto plant = [](const QString& path, bool old) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("half a table");
        f.flush();  // the write would otherwise stamp the file after its back-dating
        if (old) QVERIFY(f.setFileTime(QDateTime::currentDateTime().addDays(-2), QFileDevice::FileModificationTime));
    };
    const QString staleBesideTable = dir.filePath(QStringLiteral("tables/.森林.vtb.tavik-Ab12Cd"));
    const QString staleBesideSettings = dir.filePath(QStringLiteral(".tavik.ini.tavik-Zz99Yy"));
    const QString fresh = dir.filePath(QStringLiteral("tables/.other.vtb.tavik-Qq11Ww"));
    const QString notOurs = dir.filePath(QStringLiteral("tables/.notes.old"));
    plant(staleBesideTable, true);
    plant(staleBesideSettings, true);
    plant(fresh, false);
    plant(notOurs, true);
    // A save in progress holds the lock on its temporary: that one stays.
    const int writer = ::open(QFile::encodeName(fresh).constData(), O_RDWR);
    QVERIFY(writer >= 0 && ::flock(writer, LOCK_EX) == 0);

    auto s = StartWindow(tmp.path(), {vtb});
    QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
    QVERIFY(!QFile::exists(staleBesideTable));
    QVERIFY(!QFile::exists(staleBesideSettings));
    QVERIFY(QFile::exists(fresh));
    QVERIFY(QFile::exists(notOurs));
    ::close(writer);
}

// The stop button of the work message ends a save with the old file in place and a load with
// the table as it was, and gives the window back.
void TestWindowFiles::stoppedLoadAndSaveChangeNothing() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("t.vtb.zst"));
    s.dialogs->files << path;
    w.saveTable();
    const QByteArray old = FileBytes(path);
    QVERIFY(!old.isEmpty());
    WorkProgress::setPumpInterval(0);
    // Presses the stop button as soon as it shows.
    const auto pressStop = [&] {
        auto* timer = new QTimer(&w);
        QObject::connect(timer, &QTimer::timeout, &w, [&w, timer] {
            auto* stop = Child<QPushButton>(&w, "workStopButton");
            if (!stop->isVisible()) return;
            stop->click();
            timer->deleteLater();
        });
        timer->start(0);
    };

    w.workspace().table.TableTitle = "変えた表";
    pressStop();
    s.dialogs->files << path;
    s.dialogs->answers << true;  // overwrite
    w.saveTable();
    QCOMPARE(FileBytes(path), old);
    QVERIFY2(w.statusLine()->noteText().startsWith(QStringLiteral("保存を中止しました")),
             qPrintable(w.statusLine()->noteText()));
    QCOMPARE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("t.vtb.zst")});

    const std::string before = tavik::SavedTableBytes(w.workspace().table);
    pressStop();
    w.loadTable(path);
    QVERIFY(tavik::SavedTableBytes(w.workspace().table) == before);
    QVERIFY2(w.statusLine()->noteText().startsWith(QStringLiteral("読込を中止しました")),
             qPrintable(w.statusLine()->noteText()));
    QVERIFY(s.dialogs->errors.isEmpty());
    QVERIFY(w.menuBar()->isEnabled());
    WorkProgress::setPumpInterval(40);
    // Not stopped, the load goes through.
    w.loadTable(path);
    QCOMPARE(w.workspace().table.TableTitle, std::string());
    QCOMPARE(w.workspace().table.ReleveCount(), 3);
}

QTEST_MAIN(TestWindowFiles)
#include "test_window_files.moc"
