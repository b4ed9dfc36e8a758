// Editing in place through the window with real mouse and key events: the cell editor on
// names, header values and item names, the cover dialog, and the right-click button bars
// that open beside the pointer.
#include <QAbstractButton>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>
#include <QtTest>

#include "core/cp932_width.h"
#include "formats/saved_table.h"
#include "ui/application.h"
#include "ui/cell_editor.h"
#include "ui/cover_dialog.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;
using tavik::ui::CellEditor;
using tavik::ui::CoverDialog;
using tavik::ui::PopupButtonBar;

namespace {

// The small table with a site name in relevé 1 and the window shown at a usable size.
Started EditWindow(const QString& dir) {
    auto s = StartWindow(dir);
    s.w->resize(900, 700);
    SmallTable(*s.w);
    s.w->workspace().table.SetText(4, 2, "SITEA-01");
    s.w->showTableStatus();
    if (!QTest::qWaitForWindowExposed(s.w.get())) qFatal("window not exposed");
    s.w->activateWindow();
    return s;
}

void DoubleClick(tavik::ui::CompositionGrid* g, int col, int row) {
    const QPoint at = g->cellRect(col, row).center();
    QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
}

// Japanese text arrives as the input method commits it.
void Commit(QWidget* w, const QString& text) {
    QInputMethodEvent e;
    e.setCommitString(text);
    QApplication::sendEvent(w, &e);
}

// Every button of the bar lies away from the global point.
bool NoButtonAt(const PopupButtonBar* bar, const QPoint& global) {
    for (auto* b : bar->findChildren<QAbstractButton*>())
        if (b->rect().adjusted(-1, -1, 1, 1).contains(b->mapFromGlobal(global))) return false;
    return true;
}

}  // namespace

class TestWindowEditingInPlace : public QObject {
    Q_OBJECT
private slots:
    void namesAndHeaderValuesInTheEditor();
    void editorKeepsTheByteWidth();
    void coversInTheDialog();
    void rightClickBarsOpenBesideThePointer();
    // Pictures for a person to look at, into $TAVIK_SHOTS_DIR (skipped when it is not set).
    void pictures();
};

void TestWindowEditingInPlace::namesAndHeaderValuesInTheEditor() {
    QTemporaryDir tmp;
    auto s = EditWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    auto* g = w.grid();
    CellEditor* ed = w.editing()->cellEditor();
    const int rowB = RowOf(t, "B");
    const std::string start = tavik::SavedTableBytes(t);
    QUndoStack* undo = w.undoStack();
    const int steps = undo->count();

    // A double click on the name opens the editor on the cell, in the table's font.
    DoubleClick(g, 2, rowB);
    QVERIFY(ed->isVisible());
    QCOMPARE(ed->geometry().topLeft(), g->cellRect(2, rowB).topLeft());
    QCOMPARE(ed->text(), QStringLiteral("B"));
    QCOMPARE(ed->font().family(), g->tableFont().family());
    Commit(ed, QStringLiteral("ミズナラ"));
    QTest::keyClick(ed, Qt::Key_Escape);
    QVERIFY(!ed->isVisible());
    QCOMPARE(Q(t.Text(2, rowB)), QStringLiteral("B"));
    QCOMPARE(undo->count(), steps);

    DoubleClick(g, 2, rowB);
    Commit(ed, QStringLiteral("ミズナラ"));
    QTest::keyClick(ed, Qt::Key_Return);
    QVERIFY(!ed->isVisible());
    QCOMPARE(Q(t.Text(2, rowB)), QStringLiteral("ミズナラ"));
    QVERIFY(g->hasFocus());
    QCOMPARE(Action(w, "undo")->text(), QStringLiteral("元に戻す：種名の編集"));

    // F2 on the current header cell; a number item is right-aligned in its four bytes.
    int altitudeRow = -1;
    for (int r = 1; r < t.FNRow(); ++r)
        if (t.Text(0, r) == "8") altitudeRow = r;
    QVERIFY(altitudeRow > 0);
    g->setCurrentCell(5, altitudeRow);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_F2);
    QVERIFY(ed->isVisible());
    QTest::keyClicks(ed, QStringLiteral("120"));
    QTest::keyClick(ed, Qt::Key_Enter);
    QCOMPARE(Q(t.Text(5, altitudeRow)), QStringLiteral(" 120"));

    // Leaving the editor commits.
    DoubleClick(g, 4, 2);
    QCOMPARE(ed->text(), QStringLiteral("SITEA-01"));
    QTest::keyClicks(ed, QStringLiteral("SITEB"));
    g->setFocus(Qt::MouseFocusReason);
    QVERIFY(!ed->isVisible());
    QCOMPARE(Q(t.Text(4, 2)), QStringLiteral("SITEB"));

    // Opening a menu while typing commits first, so the command finds the text.
    DoubleClick(g, 2, rowB);
    QTest::keyClicks(ed, QStringLiteral("Quercus"));
    emit w.menuBar()->findChild<QMenu*>()->aboutToShow();
    QVERIFY(!ed->isVisible());
    QCOMPARE(Q(t.Text(2, rowB)), QStringLiteral("Quercus"));
    w.history()->undo();

    // The item name of a header row, and its caption for the outputs.
    DoubleClick(g, 2, 2);
    Commit(ed, QStringLiteral("調査番号"));
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(Q(t.Text(2, 2)), QStringLiteral("調査番号"));
    QCOMPARE(Q(t.ItemBoxes[2].caption), QStringLiteral("調査番号"));

    // Keys, counts, sequence numbers, serial numbers and cell codes open nothing as text.
    const QStringList before = UsedTexts(t);
    for (const QPoint& c :
         {QPoint(1, rowB), QPoint(3, rowB), QPoint(4, 1), QPoint(4, t.FNRow()), QPoint(2, t.FNRow())}) {
        DoubleClick(g, c.x(), c.y());
        QVERIFY2(!ed->isVisible(), qPrintable(QStringLiteral("%1,%2").arg(c.x()).arg(c.y())));
        QVERIFY(!w.editing()->coverDialog());
    }
    QCOMPARE(UsedTexts(t), before);

    // Four edits, four steps: undone they give back the table byte for byte, redone the
    // edited one; committing the same text again is no step.
    QCOMPARE(undo->count(), steps + 4);
    const std::string edited = tavik::SavedTableBytes(t);
    DoubleClick(g, 2, rowB);
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(undo->count(), steps + 4);
    for (int i = 0; i < 4; ++i) w.history()->undo();
    QCOMPARE(tavik::SavedTableBytes(t), start);
    QCOMPARE(Q(t.ItemBoxes[2].caption), QStringLiteral("測定番号"));
    for (int i = 0; i < 4; ++i) w.history()->redo();
    QCOMPARE(tavik::SavedTableBytes(t), edited);

    // Closing the window while typing commits before the window asks about changes: with
    // the table as saved, the typed text alone makes it ask.
    undo->setClean();
    DoubleClick(g, 2, rowB);
    QTest::keyClicks(ed, QStringLiteral("Fagus"));
    s.dialogs->saveChoices << tavik::ui::UserDialogs::SaveChoice::Cancel;
    QCloseEvent close;
    QApplication::sendEvent(&w, &close);
    QCOMPARE(Q(t.Text(2, rowB)), QStringLiteral("Fagus"));
    QCOMPARE(s.dialogs->saveQuestions, QStringList{QStringLiteral("変更を保存しますか？")});
    QVERIFY(!close.isAccepted());
}

void TestWindowEditingInPlace::editorKeepsTheByteWidth() {
    QTemporaryDir tmp;
    auto s = EditWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    auto* g = w.grid();
    CellEditor* ed = w.editing()->cellEditor();
    const int rowA = RowOf(t, "A");

    // Fifteen full-width characters: the fifteenth is refused whole, and the user told.
    DoubleClick(g, 2, rowA);
    Commit(ed, QStringLiteral("コナラミズナラクヌギアベマキカ"));
    QCOMPARE(ed->text(), QStringLiteral("コナラミズナラクヌギアベマキ"));
    QVERIFY(w.statusLine()->noteText().contains(QStringLiteral("28")));
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(Q(t.Text(2, rowA)), QStringLiteral("コナラミズナラクヌギアベマキ"));

    // Typed in the middle: what fits goes in, the end of the name stays.
    DoubleClick(g, 2, rowA);
    ed->selectAll();
    QTest::keyClicks(ed, QStringLiteral("Quercus serrata"));
    ed->setCursorPosition(8);
    QTest::keyClicks(ed, QStringLiteral("mongolica var. crispula "));
    QCOMPARE(ed->text(), QStringLiteral("Quercus mongolica varserrata"));
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(tavik::Cp932Width(t.Text(2, rowA)), 28);

    // A text item holds eight bytes.
    DoubleClick(g, 4, 2);
    ed->selectAll();
    Commit(ed, QStringLiteral("三ツ峠山頂付近"));
    QCOMPARE(ed->text(), QStringLiteral("三ツ峠山"));
    QTest::keyClick(ed, Qt::Key_Return);
    QCOMPARE(Q(t.Text(4, 2)), QStringLiteral("三ツ峠山"));
}

void TestWindowEditingInPlace::coversInTheDialog() {
    QTemporaryDir tmp;
    auto s = EditWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    auto* g = w.grid();
    const int rowB = RowOf(t, "B"), rowD = RowOf(t, "D");
    const std::string start = tavik::SavedTableBytes(t);

    // B is not in relevé 3: the dialog opens with every layer absent; cancelling keeps it so.
    DoubleClick(g, 6, rowB);
    CoverDialog* d = w.editing()->coverDialog();
    QVERIFY(d);
    for (int i = 0; i < tavik::kLayerCount; ++i) QCOMPARE(d->classBox(i)->currentText(), QStringLiteral("なし"));
    QVERIFY(!d->sociabilityBox(0)->isEnabled());
    QTest::mouseClick(d->findChild<QAbstractButton*>(QStringLiteral("coverCancel")), Qt::LeftButton);
    QTRY_VERIFY(!w.editing()->coverDialog());
    QCOMPARE(tavik::SavedTableBytes(t), start);

    // The heading names the species and the relevé, by its column and its relevé number.
    DoubleClick(g, 4, rowB);
    d = w.editing()->coverDialog();
    QVERIFY(d);
    QCOMPARE(Child<QLabel>(d, "coverHeading")->text(), QStringLiteral("種名：B\n測定：1 列目（SITEA-01）"));
    d->reject();
    QTRY_VERIFY(!w.editing()->coverDialog());

    // T2 class 2 sociability 3, S1 "+" (sociability 1 at least), M "e": " 2+e".
    DoubleClick(g, 6, rowB);
    d = w.editing()->coverDialog();
    QVERIFY(d);
    auto choose = [&](QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box->setCurrentIndex(i);
        emit box->activated(i);
    };
    choose(d->classBox(1), QStringLiteral("2"));
    QCOMPARE(d->sociabilityBox(1)->count(), 6);
    choose(d->sociabilityBox(1), QStringLiteral("3"));
    choose(d->classBox(2), QStringLiteral("+"));
    QCOMPARE(d->sociabilityBox(2)->itemText(0), QStringLiteral("1"));
    choose(d->classBox(6), QStringLiteral("e"));
    QVERIFY(!d->sociabilityBox(6)->isEnabled());
    QCOMPARE(d->cellCodeShown(), QStringLiteral("「 2+e」"));
    QTest::mouseClick(d->findChild<QAbstractButton*>(QStringLiteral("coverOk")), Qt::LeftButton);
    QTRY_VERIFY(!w.editing()->coverDialog());
    const int relKey = t.ReleveKeyOfCol(6), spKey = t.SpeciesKeyOfRow(rowB);
    QCOMPARE(Q(t.Text(6, rowB)), QStringLiteral(" 2+e"));
    QCOMPARE(t.Covers(relKey, spKey), Covers({0, 23, 1, 0, 0, 0, 8}));
    // The counts follow: B is now in two relevés, relevé 3 holds two species.
    QCOMPARE(Q(t.Text(3, rowB)), QStringLiteral("   2"));
    QCOMPARE(Q(t.Text(6, t.FNRow())), QStringLiteral("   2"));

    // Every layer absent: D leaves relevé 3 and the cell is empty text again.
    g->setCurrentCell(6, rowD);
    g->setFocus();
    QTest::keyClick(g, Qt::Key_Return);
    d = w.editing()->coverDialog();
    QVERIFY(d);
    choose(d->classBox(4), QStringLiteral("なし"));
    QCOMPARE(d->cellCodeShown(), QStringLiteral("（なし）"));
    d->accept();
    QTRY_VERIFY(!w.editing()->coverDialog());
    QVERIFY(t.Text(6, rowD).empty());
    QVERIFY(t.Covers(t.ReleveKeyOfCol(6), t.SpeciesKeyOfRow(rowD)).empty());
    QCOMPARE(Q(t.Text(3, rowD)), QString());

    // Both edits undone: the covers, codes and counts as they were, byte for byte.
    QCOMPARE(Action(w, "undo")->text(), QStringLiteral("元に戻す：被度の編集"));
    const std::string edited = tavik::SavedTableBytes(t);
    w.history()->undo();
    w.history()->undo();
    QCOMPARE(tavik::SavedTableBytes(t), start);
    w.history()->redo();
    w.history()->redo();
    QCOMPARE(tavik::SavedTableBytes(t), edited);
}

void TestWindowEditingInPlace::rightClickBarsOpenBesideThePointer() {
    QTemporaryDir tmp;
    auto s = EditWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    auto* g = w.grid();
    auto* vp = g->viewport();
    QWidget* area = w.gridPointer()->rowButtons()->parentWidget();

    // Presses on species rows and relevé headers, in the middle and at the window's edges
    // (the first row under the header, the last column, the bottom of the viewport).
    const int rowA = RowOf(t, "A");
    const int lastCol = t.ReleveCount() + 3;
    const QRect first = g->cellRect(1, rowA);
    struct Press {
        QPoint at;
        PopupButtonBar* bar;
    };
    const QList<Press> presses = {
        {first.center(), w.gridPointer()->rowButtons()},
        {QPoint(first.left() + 1, first.top() + 1), w.gridPointer()->rowButtons()},
        {g->cellRect(2, RowOf(t, "D")).center(), w.gridPointer()->rowButtons()},
        {g->cellRect(lastCol, 2).center(), w.gridPointer()->columnButtons()},
        {QPoint(g->cellRect(4, 1).left() + 1, g->cellRect(4, 1).top() + 1), w.gridPointer()->columnButtons()},
    };
    for (const Press& p : presses) {
        QTest::mousePress(vp, Qt::RightButton, {}, p.at);
        QVERIFY(p.bar->isVisible());
        const QPoint global = vp->mapToGlobal(p.at);
        QVERIFY2(NoButtonAt(p.bar, global), qPrintable(QStringLiteral("%1,%2").arg(p.at.x()).arg(p.at.y())));
        QVERIFY(area->rect().contains(p.bar->geometry()));
        // Released where it was pressed: the bar closes and nothing is asked.
        QTest::mouseRelease(vp, Qt::RightButton, {}, p.at);
        QVERIFY(!p.bar->isVisible());
    }
    QVERIFY(s.dialogs->questions.isEmpty());

    // A table that runs past the viewport: presses at its right and bottom edges.
    std::vector<std::string> names;
    for (int i = 1; i <= 60; ++i) names.push_back("S" + std::to_string(i));
    w.workspace().table = MakeTable(std::vector<std::vector<std::string>>(40, names));
    w.showTableStatus();
    QTest::qWait(20);
    const int vw = vp->width(), vh = vp->height();
    const QList<Press> edges = {
        {QPoint(vw - 2, g->cellRect(4, 2).center().y()), w.gridPointer()->columnButtons()},
        {QPoint(g->cellRect(1, t.FNRow() + 1).center().x(), vh - 2), w.gridPointer()->rowButtons()},
        {QPoint(vw - 2, g->cellRect(4, t.FNRow() - 1).bottom() - 1), w.gridPointer()->columnButtons()},
    };
    for (const Press& p : edges) {
        const QPoint cell = g->cellAt(p.at);
        QVERIFY(cell.x() >= 0 && cell.y() >= 0);
        QTest::mousePress(vp, Qt::RightButton, {}, p.at);
        QVERIFY(p.bar->isVisible());
        QVERIFY(NoButtonAt(p.bar, vp->mapToGlobal(p.at)));
        QVERIFY(area->rect().contains(p.bar->geometry()));
        QTest::mouseRelease(vp, Qt::RightButton, {}, p.at);
        QVERIFY(!p.bar->isVisible());
    }
    QVERIFY(s.dialogs->questions.isEmpty());

    // An open editor travels with its cell as the grid scrolls, and commits when its cell
    // scrolls out of view.
    const int row5 = t.FNRow() + 5;
    g->scrollTo(4, t.FNRow() + 1);
    DoubleClick(g, 2, row5);
    CellEditor* ed = w.editing()->cellEditor();
    QVERIFY(ed->isVisible());
    QTest::keyClicks(ed, QStringLiteral("Carex"));
    g->scrollTo(4, t.FNRow() + 2);
    QCOMPARE(ed->geometry().topLeft(), g->cellRect(2, row5).topLeft());
    QVERIFY(ed->isVisible());
    g->scrollTo(4, t.FNRow() + 10);
    QVERIFY(!ed->isVisible());
    QCOMPARE(Q(t.Text(2, row5)), QStringLiteral("Carex"));
    g->scrollTo(4, t.FNRow() + 1);

    // Sliding onto 列を削除する and releasing there runs it.
    const QPoint head = g->cellRect(5, 2).center();
    QTest::mousePress(vp, Qt::RightButton, {}, head);
    auto* del = w.gridPointer()->columnButtons()->findChild<QAbstractButton*>(QStringLiteral("deleteColumnButton"));
    QVERIFY(del);
    const QPoint onButton = vp->mapFromGlobal(del->mapToGlobal(del->rect().center()));
    QTest::mouseMove(vp, (head + onButton) / 2);
    QTest::mouseMove(vp, onButton);
    s.dialogs->answers << false;
    QTest::mouseRelease(vp, Qt::RightButton, {}, onButton);
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("この列を削除しますか？\n測定：2 列目")});
    QVERIFY(!w.gridPointer()->columnButtons()->isVisible());
    QCOMPARE(t.ReleveCount(), 40);
}

void TestWindowEditingInPlace::pictures() {
    const QString dir = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir);
    // In English with $TAVIK_SHOTS_LANGUAGE=en; Japanese again for whatever runs after.
    if (qEnvironmentVariable("TAVIK_SHOTS_LANGUAGE") == QLatin1String("en"))
        tavik::ui::SetUpApplication(*qApp, tavik::Language::English);
    const auto japanese = qScopeGuard([] { tavik::ui::SetUpApplication(*qApp, tavik::Language::Japanese); });
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.resize(1100, 720);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.loadTable(TestDataFile(QStringLiteral("example/example.vtb")));
    const Table& t = w.workspace().table;
    auto* g = w.grid();
    auto shot = [&](QWidget* what, const char* name) {
        QCoreApplication::processEvents();
        QVERIFY(what->grab().save(QDir(dir).filePath(QLatin1String(name))));
    };

    DoubleClick(g, 2, t.FNRow() + 3);
    QVERIFY(w.editing()->cellEditor()->isVisible());
    Commit(w.editing()->cellEditor(), QStringLiteral("コナラミズナラクヌギアベマキカシワ"));
    shot(&w, "edit_01_species_name.png");
    QTest::keyClick(w.editing()->cellEditor(), Qt::Key_Escape);

    DoubleClick(g, 5, 3);
    QVERIFY(w.editing()->cellEditor()->isVisible());
    shot(&w, "edit_02_header_value.png");
    QTest::keyClick(w.editing()->cellEditor(), Qt::Key_Escape);

    int row = -1, col = -1;
    for (int r = t.FNRow() + 1; r <= t.FNRow() + t.SpeciesCount() && row < 0; ++r)
        for (int c = 4; c <= t.ReleveCount() + 3 && row < 0; ++c)
            if (t.Text(c, r).find_first_not_of(' ') != std::string::npos && t.Text(c, r) != "    ") {
                const auto cv = t.Covers(t.ReleveKeyOfCol(c), t.SpeciesKeyOfRow(r));
                int layers = 0;
                for (int i = 0; i < tavik::kLayerCount; ++i) layers += cv[i] != 0;
                if (layers >= 2) row = r, col = c;
            }
    QVERIFY(row > 0);
    g->ensureVisible(col, row);
    DoubleClick(g, col, row);
    CoverDialog* d = w.editing()->coverDialog();
    QVERIFY(d);
    shot(d, "edit_03_cover_dialog.png");
    shot(&w, "edit_04_cover_dialog_window.png");
    d->reject();
    QTRY_VERIFY(!w.editing()->coverDialog());

    const QPoint at = g->cellRect(1, t.FNRow() + 2).center();
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, at);
    shot(&w, "edit_05_row_buttons.png");
    QTest::mouseRelease(g->viewport(), Qt::RightButton, {}, at);
    const QPoint head = g->cellRect(6, 3).center();
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, head);
    shot(&w, "edit_06_column_buttons.png");
    QTest::mouseRelease(g->viewport(), Qt::RightButton, {}, head);
}

QTEST_MAIN(TestWindowEditingInPlace)
#include "test_window_editing_inplace.moc"
