// The recovery file: a program killed with unsaved changes leaves its table behind, and the
// next start offers it with its time; declined, it is kept aside; a second program running
// leaves the first one's file alone. Also the pictures of the Edit menu and of the offer.
//
// The killed program is this test program itself, started again with --crash-child: a
// window that loads a table, changes it, writes the recovery file often and waits to be
// killed.
#include <QAbstractButton>
#include <QLocale>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <thread>

#include "formats/byte_source.h"
#include "formats/saved_table.h"
#include "tools/synthetic_table.h"
#include "ui/file_controller.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/user_dialogs.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;

namespace {

QByteArray Saved(const Table& t) { return QByteArray::fromStdString(tavik::SavedTableBytes(t)); }

QString RecoveryDir(const QString& programDir) { return QDir(programDir).filePath(QStringLiteral("recovery")); }

// A window started in `programDir` whose dialogs answer the offer with `restore`.
Started StartAnswering(const QString& programDir, QList<bool> restore) {
    qputenv("TAVIK_RECOVERY_DIR", RecoveryDir(programDir).toUtf8());
    Started s;
    s.w = std::make_unique<MainWindow>();
    auto d = std::make_unique<ScriptedDialogs>();
    d->restoreAnswers = std::move(restore);
    s.dialogs = d.get();
    s.w->setDialogs(std::move(d));
    s.w->start({}, QDir(programDir).filePath(QStringLiteral("tavik")));
    return s;
}

// The child: loads the example table, sorts its relevés, says what it holds, and writes the
// recovery file every 50 ms until it is killed.
int RunCrashChild(const QString& dir) {
    auto s = StartWindow(dir);
    MainWindow& w = *s.w;
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.vtb"));
    w.openTable();
    w.ranges()->sortReleves();
    w.ranges()->panel()->setDescending(false);
    w.ranges()->applyRange();
    if (!w.hasUnsavedChanges()) return 3;
    QFile expected(QDir(dir).filePath(QStringLiteral("expected.vtb")));
    if (!expected.open(QIODevice::WriteOnly)) return 4;
    expected.write(Saved(w.workspace().table));
    expected.close();
    w.setRecoveryInterval(50);
    return QApplication::exec();
}

// What a file reads as, uncompressed on the way.
QByteArray UncompressedBytes(const QString& path) {
    const auto src = tavik::OpenByteSource(path.toStdString());
    QByteArray out;
    char buf[1 << 16];
    while (const std::size_t n = src->Read(buf, sizeof buf)) out.append(buf, static_cast<qsizetype>(n));
    return out;
}

}  // namespace

class TestWindowRecovery : public QObject {
    Q_OBJECT
private slots:
    void killedProgramLeavesItsTableToRestore();
    void declinedTableIsKeptAside();
    void secondProgramLeavesTheFileAlone();
    void everyFileLeftBehindIsOffered();
    void aFolderWhereNothingCanBeKeptIsSaidOnce();
    void aLargeTableIsWrittenOffTheWindowsThread();
    void pictures();
};

void TestWindowRecovery::killedProgramLeavesItsTableToRestore() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    const QString recovery = QDir(RecoveryDir(tmp.path())).filePath(QStringLiteral("recovery.vtb"));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--crash-child"), tmp.path()});
    QVERIFY(child.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recovery) && QFile::exists(dir.filePath(QStringLiteral("expected.vtb"))),
                             30000);
    QTest::qWait(200);
    QCOMPARE(child.state(), QProcess::Running);
    child.kill();
    QVERIFY(child.waitForFinished());
    const QByteArray expected = FileBytes(dir.filePath(QStringLiteral("expected.vtb")));
    QVERIFY(!expected.isEmpty());
    // The recovery file is compressed; what it holds is the table as saved.
    QCOMPARE(FileBytes(recovery).left(4), QByteArray("\x28\xB5\x2F\xFD"));
    QCOMPARE(UncompressedBytes(recovery), expected);

    // The next start offers it, naming when it was written; restored, it is unsaved work.
    const QString when =
        QLocale(QLocale::Japanese).toString(QFileInfo(recovery).lastModified(), QStringLiteral("yyyy年M月d日 H:mm"));
    auto s = StartAnswering(tmp.path(), {true});
    MainWindow& w = *s.w;
    QCOMPARE(s.dialogs->restoreQuestions.size(), 1);
    QVERIFY2(s.dialogs->restoreQuestions[0].contains(when), qPrintable(s.dialogs->restoreQuestions[0]));
    QCOMPARE(Saved(w.workspace().table), expected);
    QVERIFY(w.hasUnsavedChanges());
    QCOMPARE(w.actions().undo->text(), QStringLiteral("元に戻す：組成表の復元"));
    QVERIFY(w.windowTitle().startsWith(QLatin1Char('*')));

    // Saved, the recovery file goes; a clean quit leaves none either.
    const QString path = dir.filePath(QStringLiteral("restored.vtb"));
    s.dialogs->files << path;
    w.saveTable();
    QVERIFY(!QFile::exists(recovery));
    QCOMPARE(FileBytes(path), expected);
    w.writeRecovery();
    w.files()->waitForRecovery();
    QVERIFY(!QFile::exists(recovery));
    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    w.writeRecovery();
    w.files()->waitForRecovery();
    QVERIFY(QFile::exists(recovery));
    s.dialogs->saveChoices << tavik::ui::UserDialogs::SaveChoice::Discard;
    QVERIFY(w.close());
    QVERIFY(!QFile::exists(recovery));
}

// The recovery folder cannot be made (a file stands in its place, as a read-only mount or a
// full disk would also stop it): the user is told once, with the place, when there is work to
// lose.
void TestWindowRecovery::aFolderWhereNothingCanBeKeptIsSaidOnce() {
    QTemporaryDir tmp;
    QFile blocker(RecoveryDir(tmp.path()));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto s = StartAnswering(tmp.path(), {});
    MainWindow& w = *s.w;
    QVERIFY(s.dialogs->errors.isEmpty());  // nothing to lose yet
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.vtb"));
    w.openTable();
    QCoreApplication::processEvents();
    QVERIFY(s.dialogs->errors.isEmpty());
    w.ranges()->sortReleves();
    w.ranges()->applyRange();
    QVERIFY(w.hasUnsavedChanges());
    const QString where = QDir(RecoveryDir(tmp.path())).filePath(QStringLiteral("recovery.vtb"));
    QTRY_COMPARE(s.dialogs->errors.size(), 1);
    QVERIFY2(s.dialogs->errors.front().contains(where), qPrintable(s.dialogs->errors.front()));
    QVERIFY2(w.statusLine()->noteText().contains(QStringLiteral("自動保存できません")) &&
                 w.statusLine()->noteText().contains(where),
             qPrintable(w.statusLine()->noteText()));
    // Once: not again at the next write, nor after the next change.
    w.writeRecovery();
    w.files()->waitForRecovery();
    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    w.writeRecovery();
    w.files()->waitForRecovery();
    QCoreApplication::processEvents();
    QCOMPARE(s.dialogs->errors.size(), 1);
    s.dialogs->saveChoices << tavik::ui::UserDialogs::SaveChoice::Discard;
    QVERIFY(w.close());
}

// The file is written from a copy of the table on a thread of its own: the window's event
// loop keeps answering meanwhile, a write asked while one runs is skipped, and what the file
// holds is the table as it was when the write was asked, whatever happened to it since.
void TestWindowRecovery::aLargeTableIsWrittenOffTheWindowsThread() {
    QTemporaryDir tmp;
    auto s = StartAnswering(tmp.path(), {});
    MainWindow& w = *s.w;
    tavik::tools::FillSyntheticTable(w.workspace().table, {6000, 900, 24, 1});
    w.workspace().table.Recount();
    w.ranges()->sortReleves();
    w.ranges()->applyRange();
    QVERIFY(w.hasUnsavedChanges());
    const QByteArray expected = Saved(w.workspace().table);
    auto* files = w.files();
    int ticks = 0;
    QTimer probe;
    probe.setInterval(0);
    connect(&probe, &QTimer::timeout, [&] { ++ticks; });
    QSignalSpy written(files, &tavik::ui::FileController::recoveryWritten);

    w.writeRecovery();
    QVERIFY(files->recoveryWriting());
    w.writeRecovery();  // the first one still runs
    QCOMPARE(files->recoveryWritesSkipped(), 1);
    w.workspace().table.TableTitle = "later";
    probe.start();
    QVERIFY(written.wait(60000));
    probe.stop();
    QCOMPARE(written.size(), 1);
    QCOMPARE(written.front().front().toString(), QString());
    QVERIFY(ticks > 0);
    QVERIFY(files->lastRecoveryThread() != std::this_thread::get_id());
    QVERIFY(!files->recoveryWriting());
    QCOMPARE(UncompressedBytes(w.recoveryPath()), expected);

    // Saved meanwhile: the file the write leaves goes too.
    w.writeRecovery();
    QVERIFY(files->recoveryWriting());
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("saved.vtb.zst"));
    s.dialogs->files << path;
    w.saveTable();
    QVERIFY(!w.hasUnsavedChanges());
    QTRY_VERIFY(!files->recoveryWriting());
    QCoreApplication::processEvents();
    QVERIFY(!QFile::exists(w.recoveryPath()));
    QVERIFY(w.close());
}

void TestWindowRecovery::declinedTableIsKeptAside() {
    QTemporaryDir tmp;
    const QDir rec(RecoveryDir(tmp.path()));
    QVERIFY(QDir().mkpath(rec.path()));
    QVERIFY(
        QFile::copy(TestDataFile(QStringLiteral("example/example.vtb")), rec.filePath(QStringLiteral("recovery.vtb"))));
    auto s = StartAnswering(tmp.path(), {false});
    QCOMPARE(s.dialogs->restoreQuestions.size(), 1);
    QCOMPARE(s.w->workspace().table.ReleveCount(), 0);
    QVERIFY(!QFile::exists(rec.filePath(QStringLiteral("recovery.vtb"))));
    QCOMPARE(FileBytes(rec.filePath(QStringLiteral("recovery-old.vtb"))),
             FileBytes(TestDataFile(QStringLiteral("example/example.vtb"))));
    QVERIFY(!s.w->undoStack()->canUndo());
}

void TestWindowRecovery::secondProgramLeavesTheFileAlone() {
    QTemporaryDir tmp;
    const QDir rec(RecoveryDir(tmp.path()));
    QVERIFY(QDir().mkpath(rec.path()));
    // A running program holds the lock and has written its file.
    QLockFile running(rec.filePath(QStringLiteral("recovery.lock")));
    QVERIFY(running.tryLock(0));
    QVERIFY(
        QFile::copy(TestDataFile(QStringLiteral("example/example.vtb")), rec.filePath(QStringLiteral("recovery.vtb"))));
    auto s = StartAnswering(tmp.path(), {true});
    MainWindow& w = *s.w;
    QVERIFY(s.dialogs->restoreQuestions.isEmpty());
    // Both sorts below move something (a sort that moves nothing is no change to keep).
    w.workspace().table = MakeTable({{"C"}, {"A", "B"}, {"B"}});
    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    w.writeRecovery();
    w.files()->waitForRecovery();
    QCOMPARE(FileBytes(rec.filePath(QStringLiteral("recovery.vtb"))),
             FileBytes(TestDataFile(QStringLiteral("example/example.vtb"))));
    // The second program keeps its own file, in the next slot, even after the first quit.
    const QString own = rec.filePath(QStringLiteral("recovery-1.vtb"));
    QCOMPARE(w.recoveryPath(), own);
    QCOMPARE(UncompressedBytes(own), Saved(w.workspace().table));
    running.unlock();
    w.ranges()->sortReleves();
    w.ranges()->applyRange();
    w.writeRecovery();
    w.files()->waitForRecovery();
    QCOMPARE(UncompressedBytes(own), Saved(w.workspace().table));
    s.dialogs->saveChoices << tavik::ui::UserDialogs::SaveChoice::Discard;
    QVERIFY(w.close());
    QVERIFY(QFile::exists(rec.filePath(QStringLiteral("recovery.vtb"))));
    QVERIFY(!QFile::exists(own));
}

void TestWindowRecovery::everyFileLeftBehindIsOffered() {
    QTemporaryDir tmp;
    const QDir rec(RecoveryDir(tmp.path()));
    QVERIFY(QDir().mkpath(rec.path()));
    // Two programs ended without a clean quit: slot 0 an hour ago, slot 3 a minute ago.
    const auto leave = [&](const QString& stem, const QByteArray& table, const QString& title, int secondsAgo) {
        QFile f(rec.filePath(stem + QStringLiteral(".vtb")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(table);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-secondsAgo), QFileDevice::FileModificationTime);
        f.close();
        QFile t(rec.filePath(stem + QStringLiteral(".title")));
        QVERIFY(t.open(QIODevice::WriteOnly));
        t.write(title.toUtf8());
    };
    const QByteArray older = FileBytes(TestDataFile(QStringLiteral("example/example.vtb")));
    const QByteArray newer = Saved(MakeTable({{"A"}, {"A", "B"}}));
    leave(QStringLiteral("recovery"), older, QStringLiteral("ブナ林"), 3600);
    leave(QStringLiteral("recovery-3"), newer, QStringLiteral("砂丘"), 60);
    // Declining the newer one brings the older one's offer, which is taken.
    auto s = StartAnswering(tmp.path(), {false, true});
    MainWindow& w = *s.w;
    QCOMPARE(s.dialogs->restoreQuestions.size(), 2);
    QVERIFY2(s.dialogs->restoreQuestions[0].contains(QStringLiteral("「砂丘」")),
             qPrintable(s.dialogs->restoreQuestions[0]));
    QVERIFY2(s.dialogs->restoreQuestions[1].contains(QStringLiteral("「ブナ林」")),
             qPrintable(s.dialogs->restoreQuestions[1]));
    QCOMPARE(w.workspace().table.ReleveCount(), 60);
    QCOMPARE(FileBytes(rec.filePath(QStringLiteral("recovery-3-old.vtb"))), newer);
    // The restored table's file is now this program's own.
    QCOMPARE(FileBytes(w.recoveryPath()), older);
    s.dialogs->saveChoices << tavik::ui::UserDialogs::SaveChoice::Discard;
    QVERIFY(w.close());
    QVERIFY(!QFile::exists(rec.filePath(QStringLiteral("recovery.vtb"))));
}

// Written to $TAVIK_SHOTS_DIR when set: the Edit menu with the undo captions, and the
// question at start.
void TestWindowRecovery::pictures() {
    const QString shots = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (shots.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(shots);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.resize(900, 600);
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.vtb"));
    w.openTable();
    w.grid()->setCurrentCell(2, w.workspace().table.FNRow() + 4);
    s.dialogs->answers << true;
    w.editing()->deleteRow();
    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    w.history()->undo();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QMenu* edit = nullptr;
    for (QAction* a : w.menuBar()->actions())
        if (a->text() == QStringLiteral("編集・検索(&E)")) edit = a->menu();
    QVERIFY(edit);
    edit->popup(w.mapToGlobal(QPoint(120, 20)));
    QTest::qWait(100);
    QVERIFY(edit->grab().save(QDir(shots).filePath(QStringLiteral("undo_edit_menu.png"))));
    QVERIFY(w.grab().save(QDir(shots).filePath(QStringLiteral("undo_window.png"))));
    edit->hide();

    // The real question box, grabbed while it waits and then declined.
    tavik::ui::UserDialogs real;
    bool grabbed = false;
    QTimer::singleShot(300, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        grabbed = box->grab().save(QDir(shots).filePath(QStringLiteral("recovery_question.png")));
        for (QAbstractButton* b : box->buttons())
            if (b->text().startsWith(QStringLiteral("復元しない"))) b->click();
    });
    const QString when =
        QLocale(QLocale::Japanese).toString(QDateTime::currentDateTime(), QStringLiteral("yyyy年M月d日 H:mm"));
    QVERIFY(!real.askRestore(
        &w,
        QStringLiteral("前回は変更を保存しないまま終了しました。\n%1 に自動保存した組成表を復元しますか？").arg(when)));
    QVERIFY(grabbed);
}

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--crash-child") return RunCrashChild(QString::fromLocal8Bit(argv[2]));
    TestWindowRecovery test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "test_window_recovery.moc"
