// The composition grid: geometry with hidden and zero-size rows, fixed parts, drag-moving,
// range selection, painting and tints. Pictures for a look go to test-output/grid in the build
// folder (or $TAVIK_TEST_OUTPUT_DIR/grid).
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "core/table.h"
#include "print/table_font.h"
#include "tests/test_files.h"
#include "ui/grid_widget.h"
#include "ui/text_images.h"

using tavik::LayerCovers;
using tavik::Table;
using tavik::ui::CompositionGrid;

namespace {

// Items 1..3 enabled: header rows 1..3, FNRow 4; 6 species, 8 relevés.
void Fill(Table& t, int species = 6, int releves = 8) {
    for (int n = 1; n <= tavik::kItemCount; ++n) t.ItemBoxes[n].enabled = false;
    for (int n : {1, 2, 3}) t.ItemBoxes[n].enabled = t.ItemBoxes[n].checked = true;
    t.ClearTable();
    for (int p = 1; p <= species; ++p) t.AppendSpecies(p == 1 ? "ススキ" : "Species " + std::to_string(p));
    for (int q = 1; q <= releves; ++q) {
        t.AppendReleve();
        const int rk = t.ReleveKeyAt(q);
        t.SetHeaderText(rk, 2, q == 1 ? "長い地点名" : "R" + std::to_string(q));
        for (int p = 1; p <= species; ++p) {
            if ((p + q) % 3 == 0) continue;
            LayerCovers c{};
            c[(p * q) % 7] = static_cast<std::uint8_t>(10 * ((p + q) % 6));
            c[4] = static_cast<std::uint8_t>(p % 2 ? 1 : 6);
            t.SetCell(rk, t.SpeciesKeyAt(p), tavik::LayerCode(c), c);
        }
    }
    t.Recount();
}

// A channel multiplied by a tint, rounded as the raster engine does (within one step).
bool Near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 1 && std::abs(a.green() - b.green()) <= 1 &&
           std::abs(a.blue() - b.blue()) <= 1;
}

// The grid `w` x `h` on screen showing the table.
bool Show(CompositionGrid& g, const Table& t, int w, int h) {
    g.resize(w, h);
    g.setTable(&t);
    g.show();
    return QTest::qWaitForWindowExposed(&g);
}

QPoint Center(const QRect& r) { return QPoint(r.left() + r.width() / 2, r.top() + r.height() / 2); }

bool HasDarkPixel(const QImage& img, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 100) return true;
    return false;
}

QImage Render(CompositionGrid& g) {
    QImage img(g.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    g.paintTo(p, img.rect());
    return img;
}

QString ShotDir() { return QString::fromStdString(tavik::testing::TestOutputDir("grid")); }

bool SaveShot(const QImage& img, const QString& name) {
    return QDir().mkpath(ShotDir()) && img.save(QDir(ShotDir()).filePath(name));
}

}  // namespace

class TestGridWidget : public QObject {
    Q_OBJECT
private slots:
    void geometryFollowsSizesAndHiddenRows();
    void fixedPartDoesNotScroll();
    void layoutChangesAreSeen();
    void dragMovesRowsAndColumnsOnlyWithinUsed();
    void rangeSelectionFollowsTheDrag();
    void keyboardMovesCurrentCellAndKeepsItVisible();
    void paintsCellsTintsAndGlyphs();
    void numbersLineUpInAProportionalFont();
    void textImagesAreKeptAndTakeTheirLayoutWidth();
    void screenshot();
};

void TestGridWidget::geometryFollowsSizesAndHiddenRows() {
    Table t;
    Fill(t);
    QCOMPARE(t.FNRow(), 4);
    const int s1 = t.FNRow() + 1, s2 = s1 + 1, s3 = s1 + 2, s4 = s1 + 3;
    t.SetRowHeight(s2, -1);  // hidden with its line
    t.SetRowHeight(s3, 0);   // only its line
    t.SetColWidth(5, -1);
    CompositionGrid g;
    QVERIFY(Show(g, t, 800, 400));

    // Column 0 and row 0 are 1 pixel; every size is followed by a 1-pixel line.
    QCOMPARE(g.cellRect(0, 0), QRect(0, 0, 1, 1));
    QCOMPARE(g.cellRect(1, 1), QRect(2, 2, 28, 14));
    QCOMPARE(g.cellRect(2, 1), QRect(31, 2, 196, 14));
    QCOMPARE(g.cellRect(4, 4), QRect(257, 47, 28, 14));
    const QRect r1 = g.cellRect(4, s1);
    QCOMPARE(r1, QRect(257, 62, 28, 14));
    QVERIFY(g.cellRect(4, s2).isNull());
    QCOMPARE(g.cellRect(4, s3), QRect(257, 77, 28, 0));
    QCOMPARE(g.cellRect(4, s4).top(), 78);
    QVERIFY(g.cellRect(5, s1).isNull());
    QCOMPARE(g.cellRect(6, s1).left(), 286);

    // The cell under a point agrees with the rectangles; hidden rows and columns are
    // never found, and the line of a zero-height row belongs to that row.
    QCOMPARE(g.cellAt(QPoint(0, 0)), QPoint(0, 0));
    QCOMPARE(g.cellAt(Center(r1)), QPoint(4, s1));
    QCOMPARE(g.cellAt(QPoint(260, 76)), QPoint(4, s1));  // the bottom line of s1
    QCOMPARE(g.cellAt(QPoint(260, 77)), QPoint(4, s3));
    QCOMPARE(g.cellAt(QPoint(260, 78)), QPoint(4, s4));
    QCOMPARE(g.cellAt(QPoint(286, 70)), QPoint(6, s1));
    for (int y = 0; y < g.viewport()->height(); ++y) QVERIFY(g.cellAt(QPoint(300, y)).y() != s2);
    for (int x = 0; x < g.viewport()->width(); ++x) QVERIFY(g.cellAt(QPoint(x, 70)).x() != 5);
    // Past the last column and row there is no cell.
    Table small;
    Fill(small, 2, 2);
    CompositionGrid g2;
    QVERIFY(Show(g2, small, 3000, 3000));
    QCOMPARE(g2.cellAt(QPoint(2900, 10)).x(), -1);
    QCOMPARE(g2.cellAt(QPoint(10, 2900)).y(), -1);
}

void TestGridWidget::fixedPartDoesNotScroll() {
    Table t;
    Fill(t, 60, 60);
    CompositionGrid g;
    QVERIFY(Show(g, t, 600, 400));
    const QRect fixedHeader = g.cellRect(2, 2);
    const QRect fixedName = g.cellRect(2, 10);
    g.scrollTo(20, 30);
    QCOMPARE(g.leftColumn(), 20);
    QCOMPARE(g.topRow(), 30);
    QCOMPARE(g.cellRect(2, 2), fixedHeader);
    QCOMPARE(g.cellRect(20, 30).topLeft(), QPoint(257, 62));  // just past the fixed part
    QCOMPARE(g.cellRect(20, 2).left(), 257);                  // header of a scrolled column
    QCOMPARE(g.cellRect(2, 30).top(), 62);                    // name of a scrolled row
    // Scrolled away behind the fixed part: not on screen; points there find fixed cells.
    QVERIFY(g.cellRect(2, 10).isNull());
    QVERIFY(g.cellRect(10, 30).isNull());
    // Rows keep one height, so the row now at the old place of row 10 is 10 rows further.
    QCOMPARE(g.cellAt(Center(fixedName)), QPoint(2, 30 + 10 - (t.FNRow() + 1)));
    QCOMPARE(g.cellAt(Center(fixedHeader)), QPoint(2, 2));
    QCOMPARE(g.cellAt(QPoint(260, 65)), QPoint(20, 30));

    g.scrollToEnd();
    const QRect last = g.cellRect(t.ColCount() - 1, t.RowCount() - 1);
    QVERIFY(!last.isNull());
    QVERIFY(g.viewport()->rect().contains(last));
}

void TestGridWidget::layoutChangesAreSeen() {
    Table t;
    Fill(t);
    CompositionGrid g;
    QVERIFY(Show(g, t, 600, 300));
    const int s1 = t.FNRow() + 1;
    QCOMPARE(g.cellRect(4, s1 + 1).top(), 77);
    t.SetRowHeight(s1, 30);
    g.onTableChanged();
    QCOMPARE(g.cellRect(4, s1 + 1).top(), 93);
    // Even without the call, the offsets follow the table's layout version.
    t.SetRowHeight(s1, -1);
    QCOMPARE(g.cellRect(4, s1 + 1).top(), 62);
    QVERIFY(g.cellRect(4, s1).isNull());
}

void TestGridWidget::dragMovesRowsAndColumnsOnlyWithinUsed() {
    Table t;
    Fill(t, 6, 8);
    CompositionGrid g;
    QVERIFY(Show(g, t, 700, 400));
    QWidget* vp = g.viewport();
    QSignalSpy rows(&g, &CompositionGrid::rowMoved);
    QSignalSpy cols(&g, &CompositionGrid::columnMoved);
    const int fn = t.FNRow();
    auto drag = [&](QPoint from, QPoint to) {
        QTest::mousePress(vp, Qt::LeftButton, {}, from);
        QTest::mouseMove(vp, (from + to) / 2);
        QTest::mouseMove(vp, to);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, to);
    };

    // A species row, taken by its name, dropped on another used row.
    drag(Center(g.cellRect(2, fn + 2)), Center(g.cellRect(1, fn + 5)));
    QCOMPARE(rows.count(), 1);
    QCOMPARE(rows.at(0).at(0).toInt(), fn + 2);
    QCOMPARE(rows.at(0).at(1).toInt(), fn + 5);
    // The drop is by row whatever the column under the pointer.
    drag(Center(g.cellRect(3, fn + 6)), Center(g.cellRect(6, fn + 1)));
    QCOMPARE(rows.count(), 2);
    QCOMPARE(rows.at(1).at(1).toInt(), fn + 1);
    // Refused: onto a spare row, onto a header row, from a spare row, onto itself.
    drag(Center(g.cellRect(2, fn + 2)), Center(g.cellRect(2, fn + 8)));
    drag(Center(g.cellRect(2, fn + 2)), Center(g.cellRect(2, 2)));
    drag(Center(g.cellRect(2, fn + 8)), Center(g.cellRect(2, fn + 3)));
    drag(Center(g.cellRect(2, fn + 3)), Center(g.cellRect(2, fn + 3)));
    QCOMPARE(rows.count(), 2);
    QCOMPARE(cols.count(), 0);

    // A relevé column, taken by a header cell (the F＼N row included).
    drag(Center(g.cellRect(5, 2)), Center(g.cellRect(9, fn + 3)));
    drag(Center(g.cellRect(9, fn)), Center(g.cellRect(4, 1)));
    QCOMPARE(cols.count(), 2);
    QCOMPARE(cols.at(0).at(0).toInt(), 5);
    QCOMPARE(cols.at(0).at(1).toInt(), 9);
    QCOMPARE(cols.at(1).at(0).toInt(), 9);
    QCOMPARE(cols.at(1).at(1).toInt(), 4);
    // Refused: onto a spare column, onto the frequency column, from a spare column.
    drag(Center(g.cellRect(5, 2)), Center(g.cellRect(12, 2)));
    drag(Center(g.cellRect(5, 2)), Center(g.cellRect(3, 2)));
    drag(Center(g.cellRect(12, 2)), Center(g.cellRect(5, 2)));
    QCOMPARE(cols.count(), 2);

    // With moving off, the same drags report nothing.
    g.setRowMoving(false);
    g.setColumnMoving(false);
    drag(Center(g.cellRect(2, fn + 2)), Center(g.cellRect(2, fn + 5)));
    drag(Center(g.cellRect(5, 2)), Center(g.cellRect(9, 2)));
    QCOMPARE(rows.count(), 2);
    QCOMPARE(cols.count(), 2);

    // The owner applies a move; the grid shows the new order.
    g.setRowMoving(true);
    QObject::connect(&g, &CompositionGrid::rowMoved, &g, [&](int from, int to) {
        t.MoveRow(from, to);
        g.onTableChanged();
    });
    const std::string name = t.Text(2, fn + 1);
    drag(Center(g.cellRect(2, fn + 1)), Center(g.cellRect(2, fn + 4)));
    QCOMPARE(t.Text(2, fn + 4), name);
}

void TestGridWidget::rangeSelectionFollowsTheDrag() {
    Table t;
    Fill(t, 20, 20);
    CompositionGrid g;
    QVERIFY(Show(g, t, 700, 400));
    QWidget* vp = g.viewport();
    const int fn = t.FNRow();

    // Without range selection the selection is the current cell.
    QTest::mouseClick(vp, Qt::LeftButton, {}, Center(g.cellRect(6, fn + 3)));
    QCOMPARE(g.currentColumn(), 6);
    QCOMPARE(g.currentRow(), fn + 3);
    QCOMPARE(g.selectedRect(), QRect(QPoint(6, fn + 3), QPoint(6, fn + 3)));

    // The owner turns range selection on while handling the press; the same drag selects.
    QObject::connect(&g, &CompositionGrid::mousePressed, &g,
                     [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int, QPoint) {
                         g.setRangeSelect(true);
                         g.setRowMoving(false);
                         g.setColumnMoving(false);
                     });
    QRect atRelease;
    QObject::connect(&g, &CompositionGrid::mouseReleased, &g,
                     [&](Qt::MouseButton, Qt::KeyboardModifiers, int, int, QPoint) { atRelease = g.selectedRect(); });
    QTest::mousePress(vp, Qt::LeftButton, {}, Center(g.cellRect(7, fn + 5)));
    QTest::mouseMove(vp, Center(g.cellRect(8, fn + 6)));
    QTest::mouseMove(vp, Center(g.cellRect(5, fn + 2)));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, Center(g.cellRect(5, fn + 2)));
    QCOMPARE(g.selectedRect(), QRect(QPoint(5, fn + 2), QPoint(7, fn + 5)));
    QCOMPARE(atRelease, g.selectedRect());

    // Dragged over the fixed part, the range stops at the first normal row and column.
    QTest::mousePress(vp, Qt::LeftButton, {}, Center(g.cellRect(6, fn + 4)));
    QTest::mouseMove(vp, Center(g.cellRect(2, 2)));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, Center(g.cellRect(2, 2)));
    QCOMPARE(g.selectedRect(), QRect(QPoint(4, fn + 1), QPoint(6, fn + 4)));

    // A drag within one column selects that column alone.
    QTest::mousePress(vp, Qt::LeftButton, {}, Center(g.cellRect(9, fn + 1)));
    QTest::mouseMove(vp, Center(g.cellRect(9, fn + 3)));
    QTest::mouseRelease(vp, Qt::LeftButton, {}, Center(g.cellRect(9, fn + 3)));
    QCOMPARE(g.selectedRect(), QRect(QPoint(9, fn + 1), QPoint(9, fn + 3)));

    // Turning range selection off leaves the current cell as the selection.
    g.setRangeSelect(false);
    QCOMPARE(g.selectedRect(), QRect(QPoint(9, fn + 3), QPoint(9, fn + 3)));
}

void TestGridWidget::keyboardMovesCurrentCellAndKeepsItVisible() {
    Table t;
    Fill(t, 200, 300);
    const int fn = t.FNRow();
    t.SetRowHeight(fn + 2, -1);
    CompositionGrid g;
    QVERIFY(Show(g, t, 600, 400));
    g.setCurrentCell(4, fn + 1);
    QSignalSpy moved(&g, &CompositionGrid::currentCellChanged);
    QTest::keyClick(&g, Qt::Key_Down);
    QCOMPARE(g.currentRow(), fn + 3);  // the hidden row is stepped over
    QTest::keyClick(&g, Qt::Key_End);
    QCOMPARE(g.currentColumn(), t.ColCount() - 1);
    QVERIFY(g.viewport()->rect().contains(g.cellRect(g.currentColumn(), g.currentRow())));
    QTest::keyClick(&g, Qt::Key_PageDown);
    QVERIFY(g.currentRow() > fn + 3 + 5);
    QVERIFY(g.viewport()->rect().contains(g.cellRect(g.currentColumn(), g.currentRow())));
    QTest::keyClick(&g, Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(g.currentColumn(), 4);
    QCOMPARE(g.currentRow(), fn + 1);
    QCOMPARE(g.horizontalScrollBar()->value(), 0);
    QCOMPARE(g.verticalScrollBar()->value(), 0);
    QCOMPARE(moved.count(), 4);
    // The fixed part is never entered from the keyboard.
    QTest::keyClick(&g, Qt::Key_Up);
    QTest::keyClick(&g, Qt::Key_Left);
    QCOMPARE(g.currentColumn(), 4);
    QCOMPARE(g.currentRow(), fn + 1);
}

void TestGridWidget::paintsCellsTintsAndGlyphs() {
    Table t;
    Fill(t);
    CompositionGrid g;
    QVERIFY(Show(g, t, 700, 300));
    const int fn = t.FNRow();
    QImage img = Render(g);
    auto at = [&](const QImage& im, int col, int row) {
        const QRect r = g.cellRect(col, row);
        return QColor(im.pixel(r.right(), r.bottom()));
    };
    QVERIFY(Near(at(img, 4, fn + 10), QColor(255, 255, 255)));
    QVERIFY(Near(at(img, 1, 2), QColor(255, 255, 230)));
    // The F＼N row multiplies its pale yellow over the fixed colour.
    QVERIFY(Near(at(img, 1, fn), QColor(255, 255, 230 * 187 / 255)));
    // Texts are drawn, and text under a tint stays dark.
    const QRect name = g.cellRect(2, fn + 1);
    QVERIFY(HasDarkPixel(img, name));
    g.tintRow(fn + 1, tavik::ui::kTintClick);
    g.tintColumn(6, tavik::ui::kTintClick);
    g.setSearchHits({QPoint(2, fn + 3)});
    img = Render(g);
    QVERIFY(HasDarkPixel(img, name));
    QVERIFY(Near(at(img, 8, fn + 1), QColor(174, 255, 170)));  // the row, past the text
    QVERIFY(Near(at(img, 6, fn + 10), QColor(174, 255, 170)));
    QVERIFY(Near(at(img, 6, fn + 1), QColor(174 * 174 / 255, 255, 170 * 170 / 255)));  // both tints
    QVERIFY(Near(at(img, 2, fn + 3), QColor(134, 255, 134 * 230 / 255)));
    QVERIFY(Near(at(img, 6, 2), QColor(174, 255, 230 * 170 / 255)));
    g.clearTints();
    img = Render(g);
    QVERIFY(Near(at(img, 8, fn + 1), QColor(255, 255, 255)));
    QVERIFY(Near(at(img, 2, fn + 3), QColor(134, 255, 134 * 230 / 255)));  // hits stay until replaced
    g.setSearchHits({});
    g.setFNRowTint(false);
    img = Render(g);
    QVERIFY(Near(at(img, 2, fn + 3), QColor(255, 255, 230)));
    QVERIFY(Near(at(img, 1, fn), QColor(255, 255, 230)));

    // Japanese renders in real glyphs of an installed Mincho.
    const QFont f = g.tableFont();
    QCOMPARE(f.pointSize(), 9);
    QCOMPARE(tavik::ui::GridDrawingFont(f).pixelSize(), 12);
    QVERIFY(QFontDatabase::families().contains(QFontInfo(f).family()));
    QVERIFY(QFontMetrics(f).inFont(QChar(0x30B9)));  // ス
    QVERIFY(QFontMetrics(f).inFont(QChar(0x7A2E)));  // 種
}

void TestGridWidget::numbersLineUpInAProportionalFont() {
    if (!QFontDatabase::families().contains(QStringLiteral("Noto Serif CJK JP")))
        QSKIP("Noto Serif CJK JP is not installed");
    Table t;
    t.FontName = "Noto Serif CJK JP";
    Fill(t, 2, 4);
    // Right-aligned in 4: the last digit must end at the same place in every cell.
    const char* const texts[] = {"   1", "1111", "  71", " 4 1"};
    for (int q = 1; q <= 4; ++q) t.SetHeaderText(t.ReleveKeyAt(q), 3, texts[q - 1]);
    CompositionGrid g;
    QVERIFY(Show(g, t, 600, 200));
    const QImage img = Render(g);
    auto rightmostInk = [&](int col) {
        const QRect r = g.cellRect(col, 3);
        for (int x = r.right(); x >= r.left(); --x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(img.pixel(x, y)) < 160) return x - r.left();
        return -1;
    };
    const int first = rightmostInk(4);
    QVERIFY(first > 0);
    for (int c = 5; c <= 7; ++c) QCOMPARE(rightmostInk(c), first);
}

void TestGridWidget::screenshot() {
    Table t;
    Fill(t, 8, 10);
    const int fn = t.FNRow();
    t.SetHeaderText(t.ReleveKeyAt(3), 3, tavik::MakeNumber4(123));
    t.SetHeaderText(t.ReleveKeyAt(4), 3, tavik::MakeNumber4(5));
    CompositionGrid g;
    QVERIFY(Show(g, t, 640, 280));
    g.tintRow(fn + 2, tavik::ui::kTintClick);
    g.setSearchHits({QPoint(2, fn + 4), QPoint(5, 2)});
    g.setCurrentCell(6, fn + 5);
    const QImage shot = Render(g);
    // Pictures an earlier run left must not pass for this run's.
    QVERIFY(QDir(ShotDir()).removeRecursively());
    const QString small = QDir(ShotDir()).filePath(QStringLiteral("grid_small.png"));
    QVERIFY(SaveShot(shot, QStringLiteral("grid_small.png")));
    QVERIFY(SaveShot(shot.copy(0, 0, 420, 130).scaled(1260, 390), QStringLiteral("grid_small_zoom.png")));
    QVERIFY(SaveShot(g.grab().toImage(), QStringLiteral("grid_small_grab.png")));
    QImage back(small);
    QCOMPARE(back.size(), shot.size());

    // A hidden block of rows (1-pixel strip, hidden rows, a zero row) and of columns, a
    // range being selected, and then a row being dragged.
    t.SetRowHeight(fn + 2, 1);
    t.SetRowHeight(fn + 3, -1);
    t.SetRowHeight(fn + 4, 0);
    t.SetColWidth(6, 1);
    t.SetColWidth(7, -1);
    t.SetColWidth(8, -1);
    g.clearTints();
    g.onTableChanged();
    g.setRangeSelect(true);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, Center(g.cellRect(9, fn + 5)));
    QTest::mouseMove(g.viewport(), Center(g.cellRect(11, fn + 7)));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, Center(g.cellRect(11, fn + 7)));
    SaveShot(Render(g).copy(0, 0, 480, 200).scaled(960, 400), QStringLiteral("grid_hidden_select.png"));
    g.setRangeSelect(false);
    QTest::mousePress(g.viewport(), Qt::LeftButton, {}, Center(g.cellRect(2, fn + 7)));
    QTest::mouseMove(g.viewport(), Center(g.cellRect(2, fn + 5)));
    SaveShot(Render(g).copy(0, 0, 480, 200).scaled(960, 400), QStringLiteral("grid_drag_row.png"));
    QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, Center(g.cellRect(2, fn + 5)));
}

void TestGridWidget::textImagesAreKeptAndTakeTheirLayoutWidth() {
    tavik::ui::TextImageCache cache;
    cache.setFont(tavik::ui::ResolveTableFont("ＭＳ 明朝", 9));
    const int em = cache.em();
    QCOMPARE(em, 12);  // 9 points at 96 dots per inch
    // At least half an em per CP932 byte: a full-width name never runs into its neighbour.
    const auto& name = cache.imageFor("ススキ", 1.0);
    QVERIFY(name.width >= 3 * em);
    const auto& code = cache.imageFor("ｽｽｷ+", 1.0);
    QVERIFY(code.width >= 2 * em);
    QCOMPARE(code.height, em + 3);
    QCOMPARE(cache.size(), std::size_t{2});
    // The same text again is the same image; another pixel ratio starts afresh.
    const uchar* bits = cache.imageFor("ススキ", 1.0).image.constBits();
    QCOMPARE(cache.imageFor("ススキ", 1.0).image.constBits(), bits);
    QCOMPARE(cache.size(), std::size_t{2});
    const auto& sharp = cache.imageFor("ススキ", 2.0);
    QCOMPARE(cache.size(), std::size_t{1});
    QCOMPARE(sharp.image.width(), 2 * sharp.width);
    // A new font empties the cache.
    cache.setFont(tavik::ui::ResolveTableFont("ＭＳ 明朝", 12));
    QCOMPARE(cache.size(), std::size_t{0});
    QCOMPARE(cache.em(), 16);
}

QTEST_MAIN(TestGridWidget)
#include "test_grid_widget.moc"
