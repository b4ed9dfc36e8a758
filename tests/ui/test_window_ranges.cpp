// Ranges chosen on the grid: hiding blocks of rows and columns, the range panel's keys,
// and hiding the site rows.
#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;
using tavik::ui::RangeMode;

class TestWindowRanges : public QObject {
    Q_OBJECT
private slots:
    void hidingRangesAndSiteRows();
};

void TestWindowRanges::hidingRangesAndSiteRows() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    std::vector<std::vector<std::string>> rel(6, {"a", "b", "c", "d", "e", "f"});
    w.workspace().table = tavik::testing::MakeTable(rel);
    w.showTableStatus();
    const Table& t = w.workspace().table;
    const int fn = t.FNRow(), h = t.DefaultRowHeight(), cw = t.DefaultColWidth();
    auto* g = w.grid();
    auto* panel = w.ranges()->panel();

    // The instruction, a drag over three rows of one column, the panel, 実行.
    w.ranges()->toggleHiddenRanges();
    QVERIFY(w.ranges()->mode() == RangeMode::Hide);
    QVERIFY(w.actions().hideRanges->isChecked());
    QCOMPARE(w.workMessage()->line1(), QStringLiteral("行・列の範囲指定は、マウスの"));
    QCOMPARE(w.workMessage()->line2(), QStringLiteral("左ボタンを押しながらドラッグする"));
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 2, {});
    QVERIFY(g->rangeSelect());
    QVERIFY(!g->rowMoving());
    g->setSelectedRect(QRect(QPoint(5, fn + 2), QPoint(5, fn + 4)));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 5, fn + 4, {});
    QVERIFY(panel->isVisible());
    QVERIFY(!w.workMessage()->isVisible());
    QCOMPARE(panel->title(), QStringLiteral("一時的に隠す範囲の指定"));
    QVERIFY(Child<QGroupBox>(panel, "sortOrder")->isHidden());
    QVERIFY(Child<QSpinBox>(panel, "firstReleve")->isHidden());
    QVERIFY(!Child<QSpinBox>(panel, "firstSpecies")->isHidden());
    QCOMPARE(panel->range().p1, 2);
    QCOMPARE(panel->range().p2, 4);
    w.ranges()->applyRange();
    QCOMPARE(t.RowHeight(fn + 1), h);
    QCOMPARE(t.RowHeight(fn + 2), 1);
    QCOMPARE(t.RowHeight(fn + 3), -1);
    QCOMPARE(t.RowHeight(fn + 4), 0);
    for (int c = 4; c <= 9; ++c) QCOMPARE(t.ColWidth(c), cw);
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    QVERIFY(w.actions().hideRanges->isChecked());
    // The tick shows everything again.
    w.ranges()->toggleHiddenRanges();
    QVERIFY(!w.actions().hideRanges->isChecked());
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);

    // Columns over two rows: the columns go, the rows stay.
    w.ranges()->toggleHiddenRanges();
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(8, fn + 2)));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 8, fn + 2, {});
    w.ranges()->applyRange();
    QCOMPARE(t.ColWidth(5), 1);
    QCOMPARE(t.ColWidth(6), -1);
    QCOMPARE(t.ColWidth(8), -1);
    QCOMPARE(t.ColWidth(9), cw);
    QCOMPARE(t.RowHeight(fn + 1), h);
    w.ranges()->toggleHiddenRanges();
    QCOMPARE(t.ColWidth(6), cw);

    // A real drag over the grid, through the instruction lying over it.
    w.resize(900, 700);
    w.ranges()->toggleHiddenRanges();
    QTest::mousePress(g->viewport(), Qt::LeftButton, {}, g->cellRect(6, fn + 1).center());
    QTest::mouseMove(g->viewport(), g->cellRect(6, fn + 3).center());
    QTest::mouseMove(g->viewport(), g->cellRect(6, fn + 5).center());
    QTest::mouseRelease(g->viewport(), Qt::LeftButton, {}, g->cellRect(6, fn + 5).center());
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->range().p1, 1);
    QCOMPARE(panel->range().p2, 5);
    QVERIFY(Child<QSpinBox>(panel, "firstReleve")->isHidden());
    QTest::mouseClick(Child<QPushButton>(panel, "applyRange"), Qt::LeftButton);
    QCOMPARE(t.RowHeight(fn + 1), 1);
    QCOMPARE(t.RowHeight(fn + 3), -1);
    QCOMPARE(t.RowHeight(fn + 5), 0);
    w.ranges()->toggleHiddenRanges();

    // 中止 changes nothing and gives the grid its moving back.
    w.ranges()->toggleHiddenRanges();
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(8, fn + 5)));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 8, fn + 5, {});
    w.ranges()->cancelRange();
    QVERIFY(!panel->isVisible());
    QVERIFY(!w.actions().hideRanges->isChecked());
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    QVERIFY(g->rowMoving());
    QVERIFY(!g->rangeSelect());
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    QVERIFY(g->rowMoving());

    // A block stays hidden, and ticked, when a sort panel opened meanwhile is cancelled;
    // Enter in the range panel runs 実行, Esc 中止.
    w.ranges()->toggleHiddenRanges();
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(5, fn + 4)));
    w.gridPointer()->onGridReleased(Qt::LeftButton, {}, 5, fn + 4, {});
    QTest::keyClick(Child<QSpinBox>(panel, "lastSpecies"), Qt::Key_Return);
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.RowHeight(fn + 2), -1);
    w.ranges()->sortSpecies();
    QVERIFY(panel->isVisible());
    QTest::keyClick(Child<QSpinBox>(panel, "firstSpecies"), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.RowHeight(fn + 2), -1);
    QVERIFY(w.actions().hideRanges->isChecked());
    w.ranges()->toggleHiddenRanges();
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);
    QVERIFY(!w.actions().hideRanges->isChecked());

    // Site rows: rows 3..FNRow-1 collapse; presses select ranges meanwhile.
    w.ranges()->toggleSiteRows();
    QVERIFY(w.actions().hideSiteRows->isChecked());
    QVERIFY(w.ranges()->mode() == RangeMode::SiteRowsHidden);
    QCOMPARE(t.RowHeight(2), h);
    QCOMPARE(t.RowHeight(3), 0);
    QCOMPARE(t.RowHeight(fn - 1), -1);
    QCOMPARE(t.RowHeight(fn), h);
    w.gridPointer()->onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    QVERIFY(g->rangeSelect());
    w.ranges()->toggleSiteRows();
    QVERIFY(!w.actions().hideSiteRows->isChecked());
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    for (int r = 1; r <= fn; ++r) QCOMPARE(t.RowHeight(r), h);

    // Data-check mode.
    s.dialogs->answers << true << false;
    w.chooseDataCheckMode();
    QCOMPARE(t.RowHeight(0), 16);
    QCOMPARE(t.ColWidth(0), 28);
    w.chooseDataCheckMode();
    QCOMPARE(t.RowHeight(0), 1);
    QCOMPARE(t.ColWidth(0), 1);
}

QTEST_MAIN(TestWindowRanges)
#include "test_window_ranges.moc"
