// Undo and redo in the window: every change to the table taken back and done again gives
// the exact table (its saved text byte for byte), the Edit menu's captions and enabling,
// and redo lost to a new change.
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "formats/saved_table.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;

namespace {

QByteArray Saved(const Table& t) { return QByteArray::fromStdString(tavik::SavedTableBytes(t)); }

// Relevés of uneven size, so that both sorts change the order.
void UnevenTable(MainWindow& w) {
    w.workspace().table = MakeTable({{"A"}, {"A", "B", "C"}, {"C", "B"}, {"D", "C", "E", "A"}});
    w.showTableStatus();
}

}  // namespace

class TestWindowUndo : public QObject {
    Q_OBJECT
private slots:
    void sortsUndoAndRedoWithMenuCaptions();
    void everyChangeComesBackExactly();
    void unsavedChangesAreAskedAbout();
    void historyKeepsTheStepsOfTheSettings();
    void diagnosticReorderIsOneStep();
    void emptyTableLaidOutAnewEndsTheHistory();
};

void TestWindowUndo::sortsUndoAndRedoWithMenuCaptions() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    UnevenTable(w);
    const Table& t = w.workspace().table;
    QAction* undo = w.actions().undo;
    QAction* redo = w.actions().redo;
    QCOMPARE(undo->text(), QStringLiteral("元に戻す"));
    QCOMPARE(redo->text(), QStringLiteral("やり直し"));
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    QCOMPARE(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                                     QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));

    const QByteArray start = Saved(t);
    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    const QByteArray speciesSorted = Saved(t);
    QVERIFY(speciesSorted != start);
    QCOMPARE(undo->text(), QStringLiteral("元に戻す：植物を頻度順で並び替え"));
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QVERIFY(w.windowTitle().startsWith(QLatin1Char('*')));

    w.ranges()->sortReleves();
    w.ranges()->applyRange();
    const QByteArray bothSorted = Saved(t);
    QVERIFY(bothSorted != speciesSorted);
    QCOMPARE(undo->text(), QStringLiteral("元に戻す：測定を種数順で並び替え"));

    undo->trigger();
    QCOMPARE(Saved(t), speciesSorted);
    QCOMPARE(redo->text(), QStringLiteral("やり直し：測定を種数順で並び替え"));
    undo->trigger();
    QCOMPARE(Saved(t), start);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("元に戻す"));
    // Back where it started, the table holds no change.
    QVERIFY(!w.windowTitle().startsWith(QLatin1Char('*')));
    redo->trigger();
    redo->trigger();
    QCOMPARE(Saved(t), bothSorted);
    QVERIFY(!redo->isEnabled());

    // A move that finds nothing to move is no change: what could be done again stays.
    undo->trigger();
    QVERIFY(redo->isEnabled());
    w.editing()->onRowMoved(t.FNRow() + 1, t.FNRow() + 100);
    QVERIFY(redo->isEnabled());
    QCOMPARE(w.undoStack()->count(), 2);

    // A new change drops it.
    w.ranges()->sortSpecies();
    w.ranges()->panel()->setDescending(false);
    w.ranges()->applyRange();
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("やり直し"));
    QCOMPARE(w.undoStack()->count(), 2);
}

// One change after another through the window, each taken back and done again; a save and
// a load of the saved table come in between.
void TestWindowUndo::everyChangeComesBackExactly() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    QUndoStack* stack = w.undoStack();
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();

    QList<QByteArray> states{Saved(t)};
    QStringList names;
    auto step = [&](const QString& name, const std::function<void()>& run, bool changes = true) {
        const int before = stack->count();
        run();
        QCOMPARE(stack->count(), before + 1);
        QCOMPARE(stack->undoText(), name);
        names << name;
        states << Saved(t);
        if (changes) QVERIFY2(states.last() != states[states.size() - 2], qPrintable(name));
    };
    auto retrieve = [&](const QString& species, const QString& title) {
        w.retrieval()->showRetrievalPanel();
        w.retrieval()->panel()->clearConditions();
        w.retrieval()->panel()->setCondition(0, species, 1, tavik::Connective::And);
        w.retrieval()->scanFieldData(false);
        s.dialogs->texts << title;
        w.retrieval()->putIntoTable();
    };
    const int fn = t.FNRow();

    // A retrieval that puts nothing in, its title box cancelled, is no step.
    retrieve(QStringLiteral("存在しない種"), QString());
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(stack->count(), 0);
    QVERIFY(stack->isClean());

    step(QStringLiteral("表にデータを加える"), [&] { retrieve(QStringLiteral("ブナ"), QStringLiteral("ブナ林")); });
    QVERIFY(t.ReleveCount() > 5);
    // Long work, unsaved: the recovery file is written once the window is free.
    QTRY_VERIFY(QFile::exists(w.recoveryPath()));
    // More relevés into a table that has some, growing it past its spare columns.
    step(QStringLiteral("表にデータを加える"), [&] { retrieve(QStringLiteral("ミズナラ"), QStringLiteral("ブナ林")); });
    step(QStringLiteral("植物を頻度順で並び替え"), [&] {
        w.ranges()->sortSpecies();
        w.ranges()->applyRange();
    });
    step(QStringLiteral("測定を種数順で並び替え"), [&] {
        w.ranges()->sortReleves();
        w.ranges()->panel()->setDescending(false);
        w.ranges()->applyRange();
    });
    step(QStringLiteral("反復平均法で行列並び替え"), [&] {
        s.dialogs->answers << false << true;
        w.analysis()->reciprocalAveraging();
    });
    step(QStringLiteral("行の移動"), [&] { w.editing()->onRowMoved(fn + 1, fn + 6); });
    step(QStringLiteral("列の移動"), [&] { w.editing()->onColumnMoved(4, 9); });
    step(QStringLiteral("行の削除"), [&] {
        w.grid()->setCurrentCell(2, fn + 3);
        s.dialogs->answers << true;
        w.editing()->deleteRow();
    });
    step(QStringLiteral("列の削除"), [&] {
        w.grid()->setCurrentCell(6, 2);
        s.dialogs->answers << true;
        w.editing()->deleteColumn();
    });
    step(QStringLiteral("行の挿入"), [&] {
        w.grid()->setCurrentCell(2, fn + 2);
        s.dialogs->answers << true;
        w.editing()->insertRow();
    });
    step(QStringLiteral("コメントの書込み"), [&] {
        s.dialogs->texts << QStringLiteral("― 林床の種 ―");
        w.editing()->writeComment();
    });
    step(QStringLiteral("列の挿入"), [&] {
        w.grid()->setCurrentCell(5, 2);
        s.dialogs->answers << true;
        w.editing()->insertColumn();
    });
    step(QStringLiteral("組成表の標題の編集"), [&] {
        s.dialogs->texts << QStringLiteral("ブナ－ミズナラ林");
        w.editTitle();
    });

    // Saved and loaded again: the loaded table is the saved one, and a step of its own.
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("saved.vtb"));
    s.dialogs->files << path;
    w.saveTable();
    QVERIFY(stack->isClean());
    QCOMPARE(FileBytes(path), states.last());
    QTRY_VERIFY(!QFile::exists(w.recoveryPath()));
    step(
        QStringLiteral("保存した表の読込み"),
        [&] {
            s.dialogs->files << path;
            w.openTable();
        },
        false);
    QVERIFY(stack->isClean());
    step(QStringLiteral("組成表の初期化"), [&] { w.clearTable(); });
    QCOMPARE(t.ReleveCount(), 0);

    // Back to the start one step at a time, and forward again.
    for (int i = names.size(); i > 0; --i) {
        QCOMPARE(w.actions().undo->text(), QStringLiteral("元に戻す：") + names[i - 1]);
        w.history()->undo();
        QVERIFY2(Saved(t) == states[i - 1], qPrintable(QStringLiteral("undo ") + names[i - 1]));
    }
    QVERIFY(!stack->canUndo());
    for (int i = 0; i < names.size(); ++i) {
        QCOMPARE(w.actions().redo->text(), QStringLiteral("やり直し：") + names[i]);
        w.history()->redo();
        QVERIFY2(Saved(t) == states[i + 1], qPrintable(QStringLiteral("redo ") + names[i]));
    }
    // The loaded table was the saved one: undoing the clearing brings back a table that
    // needs no saving.
    w.history()->undo();
    QVERIFY(stack->isClean());
    QVERIFY(!w.hasUnsavedChanges());
}

// "組成表を初期化する", "保存した表を読込む", "終了" and closing the window ask first; each answer
// does what it says.
void TestWindowUndo::unsavedChangesAreAskedAbout() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    const QString example = TestDataFile(QStringLiteral("example/example.vtb"));
    s.dialogs->files << example;
    w.openTable();
    QVERIFY(s.dialogs->saveQuestions.isEmpty());  // nothing to lose yet
    QVERIFY(!w.windowTitle().startsWith(QLatin1Char('*')));
    const QByteArray loaded = Saved(t);

    // Nothing changed: no question.
    w.clearTable();
    QVERIFY(s.dialogs->saveQuestions.isEmpty());
    w.history()->undo();
    QCOMPARE(Saved(t), loaded);

    w.ranges()->sortSpecies();
    w.ranges()->applyRange();
    QVERIFY(w.windowTitle().startsWith(QLatin1Char('*')));
    const QByteArray changed = Saved(t);

    // キャンセル: everything stays.
    using Choice = tavik::ui::UserDialogs::SaveChoice;
    s.dialogs->saveChoices << Choice::Cancel;
    w.clearTable();
    QCOMPARE(s.dialogs->saveQuestions, QStringList{QStringLiteral("変更を保存しますか？")});
    QCOMPARE(Saved(t), changed);
    s.dialogs->saveChoices << Choice::Cancel;
    s.dialogs->files << example;
    w.openTable();
    QCOMPARE(Saved(t), changed);
    QCOMPARE(s.dialogs->files.size(), 1);  // not even asked for the file
    s.dialogs->files.clear();
    s.dialogs->saveChoices << Choice::Cancel;
    w.quit();
    QVERIFY(w.isVisible());
    s.dialogs->saveChoices << Choice::Cancel;
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());

    // 保存 whose file box is cancelled: nothing happens either.
    s.dialogs->saveChoices << Choice::Save;
    w.clearTable();
    QCOMPARE(Saved(t), changed);

    // 保存しない: cleared; undo brings the changes back, still unsaved.
    s.dialogs->saveChoices << Choice::Discard;
    w.clearTable();
    QCOMPARE(t.ReleveCount(), 0);
    w.history()->undo();
    QCOMPARE(Saved(t), changed);
    QVERIFY(w.hasUnsavedChanges());

    // 保存: the table is saved, then cleared.
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("kept.vtb"));
    s.dialogs->saveChoices << Choice::Save;
    s.dialogs->files << path;
    w.clearTable();
    QCOMPARE(FileBytes(path), changed);
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(s.dialogs->saveQuestions.size(), 7);

    // Undone, the clearing gives back the table just saved: nothing to save.
    w.history()->undo();
    QVERIFY(!w.hasUnsavedChanges());
    QVERIFY(!w.windowTitle().startsWith(QLatin1Char('*')));

    // Turned off in the settings: no question, as before the question existed.
    w.ranges()->sortSpecies();
    w.ranges()->panel()->setDescending(false);
    w.ranges()->applyRange();
    QVERIFY(w.hasUnsavedChanges());
    w.workspace().settings.askToSave = false;
    w.clearTable();
    QCOMPARE(s.dialogs->saveQuestions.size(), 7);
    QCOMPARE(t.ReleveCount(), 0);

    // Closing with changes, answered 保存しない, closes.
    w.workspace().settings.askToSave = true;
    w.history()->undo();
    s.dialogs->saveChoices << Choice::Discard;
    QVERIFY(w.close());
    QCOMPARE(s.dialogs->saveQuestions.size(), 8);
}

void TestWindowUndo::historyKeepsTheStepsOfTheSettings() {
    QTemporaryDir tmp;
    const QString ini = QDir(tmp.path()).filePath(QStringLiteral("tavik.ini"));
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Edit]\r\nUndoLimit=3\r\n");
    }
    auto s = StartWindow(tmp.path(), {ini});
    MainWindow& w = *s.w;
    QCOMPARE(w.undoStack()->undoLimit(), 3);
    UnevenTable(w);
    for (int i = 0; i < 5; ++i) {
        w.ranges()->sortSpecies();
        w.ranges()->panel()->setDescending(i % 2 == 0);
        w.ranges()->applyRange();
    }
    QCOMPARE(w.undoStack()->count(), 3);
    // The oldest steps are gone: the table can no longer come back to where it was.
    for (int i = 0; i < 3; ++i) w.history()->undo();
    QVERIFY(!w.undoStack()->canUndo());
    QVERIFY(w.hasUnsavedChanges());
}

// The recount before the reorder by diagnostic blocks and the reorder are one step.
void TestWindowUndo::diagnosticReorderIsOneStep() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    w.loadTable(QStringLiteral(TAVIK_SOURCE_DIR "/tests/data/example_groups.vtb"));
    // Moved by hand and not yet counted again: the reorder recounts first.
    w.workspace().table.MoveRow(t.FNRow() + 1, t.FNRow() + 3);
    const QByteArray before = Saved(t);
    const int steps = w.undoStack()->count();
    w.analysis()->sortByDiagnosticBlocks();
    QCOMPARE(w.undoStack()->count(), steps + 1);
    QCOMPARE(w.actions().undo->text(), QStringLiteral("元に戻す：診断種の順に組成表を並べ替える"));
    const QByteArray after = Saved(t);
    QVERIFY(after != before);
    w.history()->undo();
    QCOMPARE(Saved(t), before);
    w.history()->redo();
    QCOMPARE(Saved(t), after);
}

// An empty table follows a settings file by being laid out anew, with the keys and header
// rows of a fresh table: the steps kept before cannot be taken back on it.
void TestWindowUndo::emptyTableLaidOutAnewEndsTheHistory() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    // More species than a fresh table has room for: their keys lie past its capacity.
    std::vector<std::string> names;
    for (int i = 1; i <= 200; ++i) names.push_back("S" + std::to_string(i));
    w.workspace().table = MakeTable({names});
    w.showTableStatus();
    const Table& t = w.workspace().table;
    w.grid()->setCurrentCell(4, 2);
    s.dialogs->answers << true;
    w.editing()->deleteColumn();
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(t.SpeciesCount(), 0);
    QVERIFY(w.actions().undo->isEnabled());

    const QString ini = QDir(tmp.path()).filePath(QStringLiteral("other.ini"));
    {
        QFile f(ini);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Edit]\r\nUndoLimit=50\r\n");
    }
    s.dialogs->files << ini;
    w.readSettingsFile();
    QVERIFY(!w.actions().undo->isEnabled());
    QVERIFY(!w.actions().redo->isEnabled());
    const QByteArray laidOut = Saved(t);
    w.history()->undo();
    QCOMPARE(Saved(t), laidOut);
    QCOMPARE(t.ReleveCount(), 0);
}

QTEST_MAIN(TestWindowUndo)
#include "test_window_undo.moc"
