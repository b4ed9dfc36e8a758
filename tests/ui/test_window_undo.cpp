// Undo and redo in the window: every change to the table taken back and done again gives
// the exact table (its saved text byte for byte), the Edit menu's captions and enabling,
// and redo lost to a new change.
#include <QUndoStack>
#include <QtTest>

#include "formats/saved_table.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
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
    w.sortSpecies();
    w.applyRange();
    const QByteArray speciesSorted = Saved(t);
    QVERIFY(speciesSorted != start);
    QCOMPARE(undo->text(), QStringLiteral("元に戻す：植物を頻度順で並び替え"));
    QVERIFY(undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QVERIFY(w.windowTitle().startsWith(QLatin1Char('*')));

    w.sortReleves();
    w.applyRange();
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

    // A new change drops what could be done again.
    undo->trigger();
    QVERIFY(redo->isEnabled());
    w.sortSpecies();
    w.rangePanel()->setDescending(false);
    w.applyRange();
    QVERIFY(!redo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("やり直し"));
    QCOMPARE(w.undoStack()->count(), 2);
}

QTEST_MAIN(TestWindowUndo)
#include "test_window_undo.moc"
