// Editing the table through the window: deleting and inserting rows and columns with
// their cascades, the pop-up buttons and the rules of presses on the grid, commands off the
// used part, and dragging rows and columns.
#include <QAbstractButton>
#include <QtTest>

#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;

class TestWindowEditing : public QObject {
    Q_OBJECT
private slots:
    void deleteAndInsertWithCascades();
    void speedButtonsAndPressRules();
    void commandsOffTheUsedPartDoNothing();
    void draggingRowsAndColumns();
};

void TestWindowEditing::deleteAndInsertWithCascades() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    const int fn = t.FNRow();
    auto* g = w.grid();

    // Declining changes nothing.
    const QStringList start = UsedTexts(t);
    g->setCurrentCell(2, RowOf(t, "D"));
    s.dialogs->answers << false;
    w.editing()->deleteRow();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この行を削除しますか？\n種名：D"));
    QCOMPARE(UsedTexts(t), start);

    // D was the only species of relevé 3: its column goes too.
    s.dialogs->answers << true;
    w.editing()->deleteRow();
    QCOMPARE(t.SpeciesCount(), 3);
    QCOMPARE(t.ReleveCount(), 2);
    QCOMPARE(w.statusLine()->panelText(1), QStringLiteral(" 測定数：2"));
    QCOMPARE(w.statusLine()->panelText(2), QStringLiteral(" 種数：3"));

    // An inserted empty row above A, then deleting relevé 1 removes B and the empty row.
    const int spareKey = t.SpeciesKeyAt(4);
    g->setCurrentCell(2, fn + 1);
    s.dialogs->answers << true;
    w.editing()->insertRow();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この上に行を挿入しますか？"));
    QCOMPARE(t.SpeciesCount(), 4);
    QCOMPARE(t.SpeciesKeyAt(1), spareKey);
    QCOMPARE(Q(t.Text(2, fn + 1)), QString());
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("A"));
    g->setCurrentCell(4, 2);
    s.dialogs->answers << true;
    w.editing()->deleteColumn();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この列を削除しますか？\n測定：1 列目"));
    QCOMPARE(t.ReleveCount(), 1);
    QCOMPARE(t.SpeciesCount(), 2);
    QCOMPARE(Q(t.Text(2, fn + 1)), QStringLiteral("A"));
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("C"));

    // An inserted column left of the only relevé.
    g->setCurrentCell(4, 2);
    s.dialogs->answers << true;
    w.editing()->insertColumn();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この左に列を挿入しますか？"));
    QCOMPARE(t.ReleveCount(), 2);
    QVERIFY(t.Text(4, fn + 1).empty());
    QVERIFY(!t.Text(5, fn + 1).empty());

    // A comment replaces the name; cancelling the box keeps it.
    g->setCurrentCell(2, fn + 2);
    s.dialogs->texts << QString();
    w.editing()->writeComment();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("C"));
    QCOMPARE(s.dialogs->lastPrompt, QStringLiteral("C"));
    s.dialogs->texts << QStringLiteral("― 林縁の種 ―");
    w.editing()->writeComment();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("― 林縁の種 ―"));
    QCOMPARE(Q(t.Text(3, fn + 2)), QStringLiteral("   1"));
}

void TestWindowEditing::speedButtonsAndPressRules() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.resize(900, 700);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    SmallTable(w);
    const Table& t = w.workspace().table;
    const int fn = t.FNRow();
    auto* g = w.grid();
    const int rowB = RowOf(t, "B");
    const QPoint at = g->cellRect(1, rowB).center();

    // Right press on the fixed part of a species row: its buttons; a left release over a
    // button only hides them.
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 1, rowB, at);
    QVERIFY(w.gridPointer()->rowButtons()->isVisible());
    QVERIFY(!w.gridPointer()->columnButtons()->isVisible());
    QCOMPARE(g->currentRow(), rowB);
    w.gridPointer()->onDeleteRowButton(Qt::LeftButton);
    QVERIFY(!w.gridPointer()->rowButtons()->isVisible());
    QCOMPARE(t.SpeciesCount(), 4);
    QVERIFY(s.dialogs->questions.isEmpty());

    // Sliding onto 行を削除する and releasing the right button there deletes B.
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 1, rowB, at);
    auto* del = w.gridPointer()->rowButtons()->findChild<QAbstractButton*>(QStringLiteral("deleteRowButton"));
    QVERIFY(del);
    const QPoint over = g->viewport()->mapFromGlobal(del->mapToGlobal(del->rect().center()));
    s.dialogs->answers << true;
    w.gridPointer()->onGridReleased(Qt::RightButton, {}, -1, -1, over);
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("この行を削除しますか？\n種名：B")});
    QCOMPARE(t.SpeciesCount(), 3);
    QCOMPARE(RowOf(t, "B"), -1);
    QVERIFY(!w.gridPointer()->rowButtons()->isVisible());

    // The same with real mouse events: press on the row's fixed part, release over
    // 行を挿入する (the grid holds the mouse, so the release arrives at the grid).
    const int rowC = RowOf(t, "C");
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, g->cellRect(1, rowC).center());
    QVERIFY(w.gridPointer()->rowButtons()->isVisible());
    auto* ins = w.gridPointer()->rowButtons()->findChild<QAbstractButton*>(QStringLiteral("insertRowButton"));
    s.dialogs->answers << true;
    QTest::mouseRelease(g->viewport(), Qt::RightButton, {},
                        g->viewport()->mapFromGlobal(ins->mapToGlobal(ins->rect().center())));
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この上に行を挿入しますか？"));
    QCOMPARE(t.SpeciesCount(), 4);
    QCOMPARE(RowOf(t, "C"), rowC + 1);
    QVERIFY(!w.gridPointer()->rowButtons()->isVisible());

    // Right press on a header cell of a relevé column: its buttons.
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 5, 2, g->cellRect(5, 2).center());
    QVERIFY(w.gridPointer()->columnButtons()->isVisible());
    QCOMPARE(g->currentColumn(), 5);
    w.gridPointer()->onGridReleased(Qt::RightButton, {}, 5, 2, g->cellRect(5, 2).center());
    QVERIFY(!w.gridPointer()->columnButtons()->isVisible());

    // No panel on the fixed part of a header row, nor on the F＼N row of a relevé column.
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 2, 2, g->cellRect(2, 2).center());
    w.gridPointer()->onGridPressed(Qt::RightButton, {}, 5, fn, g->cellRect(5, fn).center());
    QVERIFY(!w.gridPointer()->rowButtons()->isVisible());
    QVERIFY(!w.gridPointer()->columnButtons()->isVisible());
    w.gridPointer()->onGridReleased(Qt::RightButton, {}, 5, fn, g->cellRect(5, fn).center());

    // A long header text shows in full while pressed and with Shift held; short ones do not.
    w.workspace().table.SetHeaderText(t.ReleveKeyAt(2), 3, "鳥海山北麓");
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(w.gridPointer()->cellTextPanel()->isVisible());
    QCOMPARE(w.gridPointer()->cellTextPanel()->text(), QStringLiteral("鳥海山北麓"));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(!w.gridPointer()->cellTextPanel()->isVisible());
    w.gridPointer()->onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(w.gridPointer()->cellTextPanel()->isVisible());
    w.gridPointer()->onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier, 4, 1, g->cellRect(4, 1).center());
    QVERIFY(!w.gridPointer()->cellTextPanel()->isVisible());
    w.gridPointer()->onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier | Qt::ControlModifier, 5, 3,
                                      g->cellRect(5, 3).center());
    QVERIFY(!w.gridPointer()->cellTextPanel()->isVisible());
}

void TestWindowEditing::commandsOffTheUsedPartDoNothing() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    const int fn = t.FNRow();
    auto* g = w.grid();
    const QStringList start = UsedTexts(t);
    const std::vector<int> keys = {t.SpeciesKeyAt(1), t.SpeciesKeyAt(4), t.ReleveKeyAt(1)};
    // A header row, the F＼N row, a spare row far below, the fixed columns, a spare column.
    for (QPoint cell :
         {QPoint(2, 3), QPoint(5, fn), QPoint(2, fn + 30), QPoint(2, 1), QPoint(20, 2), QPoint(1, fn + 1)}) {
        g->setCurrentCell(cell.x(), cell.y());
        s.dialogs->answers << true << true << true << true;
        s.dialogs->texts << QStringLiteral("x");
        if (cell.y() <= fn || cell.y() > fn + t.SpeciesCount() + 1) {
            w.editing()->deleteRow();
            w.editing()->insertRow();
            w.editing()->writeComment();
        }
        if (cell.x() < 4 || cell.x() > t.ReleveCount() + 4) {
            w.editing()->deleteColumn();
            w.editing()->insertColumn();
        }
        s.dialogs->answers.clear();
        s.dialogs->texts.clear();
    }
    QVERIFY(s.dialogs->questions.isEmpty());
    QCOMPARE(UsedTexts(t), start);
    QCOMPARE(t.SpeciesKeyAt(1), keys[0]);
    QCOMPARE(t.SpeciesKeyAt(4), keys[1]);
    QCOMPARE(t.ReleveKeyAt(1), keys[2]);
}

void TestWindowEditing::draggingRowsAndColumns() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    const int fn = t.FNRow();
    const int keyD = t.SpeciesKeyAt(4);
    emit w.grid()->rowMoved(fn + 4, fn + 1);
    QCOMPARE(t.SpeciesKeyAt(1), keyD);
    QCOMPARE(Q(t.Text(2, fn + 1)), QStringLiteral("D"));
    QCOMPARE(Q(t.Text(1, fn + 1)), QStringLiteral("   1"));  // renumbered in the new order
    const int key3 = t.ReleveKeyAt(3);
    emit w.grid()->columnMoved(6, 4);
    QCOMPARE(t.ReleveKeyAt(1), key3);
    QCOMPARE(Q(t.Text(4, 1)), QStringLiteral("   1"));
    QVERIFY(!t.Text(4, fn + 1).empty());  // D's cell moved with its relevé
}

QTEST_MAIN(TestWindowEditing)
#include "test_window_editing.moc"
