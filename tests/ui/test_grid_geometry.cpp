// Where the grid's rows and columns lie, without a widget: offsets with hidden and
// line-only entries, the fixed part, lookups by position under scrolling, and the scroll
// that brings an entry into view.
#include <QtTest>

#include <vector>

#include "ui/grid_geometry.h"

using tavik::ui::GridAxis;

namespace {

GridAxis Axis(const std::vector<int>& sizes, int fixed) {
    GridAxis a;
    a.layOut(static_cast<int>(sizes.size()), fixed, [&](int i) { return sizes[static_cast<std::size_t>(i)]; });
    return a;
}

}  // namespace

class TestGridGeometry : public QObject {
    Q_OBJECT
private slots:
    void offsetsCountTheGridLineAndSkipHiddenEntries();
    void lookupsByPositionInTheFixedAndScrolledParts();
    void firstShownEntryUnderScrolling();
    void scrollThatShowsAnEntry();
    void entriesShownInAViewport();
    void emptyAndOutOfRangeAxes();
};

void TestGridGeometry::offsetsCountTheGridLineAndSkipHiddenEntries() {
    // A 20-pixel entry, a hidden one, a line-only one, then 30 and 10; two fixed.
    const GridAxis a = Axis({20, -1, 0, 30, 10}, 2);
    QCOMPARE(a.count(), 5);
    QCOMPARE(a.fixed(), 2);
    const std::vector<int> expected = {0, 21, 21, 22, 53, 64};
    for (int i = 0; i <= 5; ++i) QCOMPARE(a.offset(i), expected[static_cast<std::size_t>(i)]);
    QCOMPARE(a.fixedExtent(), 21);
    QCOMPARE(a.total(), 64);
    // Fixed entries stay where they are; the others move with the scroll.
    QCOMPARE(a.position(0, 15), 0);
    QCOMPARE(a.position(3, 15), 22 - 15);
    QCOMPARE(a.maxScroll(40), 24);
    QCOMPARE(a.maxScroll(100), 0);
}

void TestGridGeometry::lookupsByPositionInTheFixedAndScrolledParts() {
    const GridAxis a = Axis({20, -1, 0, 30, 10}, 2);
    QCOMPARE(a.at(-1, 0), -1);
    QCOMPARE(a.at(0, 0), 0);
    QCOMPARE(a.at(20, 0), 0);  // the grid line belongs to its entry
    // The hidden entry is never found: the line-only entry takes its one pixel.
    QCOMPARE(a.at(21, 0), 2);
    QCOMPARE(a.at(22, 0), 3);
    QCOMPARE(a.at(63, 0), 4);
    QCOMPARE(a.at(64, 0), -1);  // past the last entry
    // Over the fixed part the fixed entry wins, whatever the scroll.
    QCOMPARE(a.at(5, 40), 0);
    // Scrolled by 31, the viewport's position 21 shows offset 52: the end of entry 3.
    QCOMPARE(a.at(21, 31), 3);
    QCOMPARE(a.at(22, 31), 4);
    QCOMPARE(a.at(33, 31), -1);
}

void TestGridGeometry::firstShownEntryUnderScrolling() {
    const GridAxis a = Axis({20, -1, 0, 30, 10}, 2);
    QCOMPARE(a.firstShown(0), 2);
    QCOMPARE(a.firstShown(1), 3);
    QCOMPARE(a.firstShown(31), 3);
    QCOMPARE(a.firstShown(32), 4);
    QCOMPARE(a.firstShown(43), -1);  // scrolled past everything
    // A hidden first scrolling entry is passed over.
    const GridAxis b = Axis({10, -1, 10}, 1);
    QCOMPARE(b.firstShown(0), 2);
}

void TestGridGeometry::scrollThatShowsAnEntry() {
    // One fixed entry of 10, then four of 20: offsets 0, 11, 32, 53, 74, 95.
    const GridAxis a = Axis({10, 20, 20, 20, 20}, 1);
    // A viewport of 50 shows 39 pixels past the fixed part.
    QCOMPARE(a.scrollToShow(1, 0, 50), 0);   // already shown
    QCOMPARE(a.scrollToShow(3, 0, 50), 24);  // its end (74) comes to the viewport's end
    // An entry scrolled under the fixed part comes back to just after it.
    QCOMPARE(a.scrollToShow(1, 30, 50), 0);
    QCOMPARE(a.scrollToShow(2, 30, 50), 21);
    // Too long for the viewport: its start wins.
    QCOMPARE(a.scrollToShow(4, 0, 25), 63);
    // Fixed entries and entries out of range leave the scroll alone.
    QCOMPARE(a.scrollToShow(0, 17, 50), 17);
    QCOMPARE(a.scrollToShow(5, 17, 50), 17);
    QCOMPARE(a.scrollToShow(-1, 17, 50), 17);
}

// Index, position and size of each shown entry, as "i@pos+size".
QStringList Spans(const std::vector<tavik::ui::GridSpan>& spans) {
    QStringList out;
    for (const auto& s : spans) out << QStringLiteral("%1@%2+%3").arg(s.index).arg(s.pos).arg(s.size);
    return out;
}

void TestGridGeometry::entriesShownInAViewport() {
    // Offsets 0, 21, 21, 22, 53, 64, 75: a hidden fixed entry, a line-only one, then 30, 10, 10.
    const GridAxis a = Axis({20, -1, 0, 30, 10, 10}, 2);
    std::vector<tavik::ui::GridSpan> fixed, scrolling;
    a.shown(0, 60, fixed, scrolling);
    QCOMPARE(Spans(fixed), QStringList{QStringLiteral("0@0+20")});
    QCOMPARE(Spans(scrolling),
             (QStringList{QStringLiteral("2@21+0"), QStringLiteral("3@22+30"), QStringLiteral("4@53+10")}));
    // Scrolled by 35, entry 3 lies wholly under the fixed part and entry 4 begins there.
    a.shown(35, 60, fixed, scrolling);
    QCOMPARE(Spans(scrolling), (QStringList{QStringLiteral("4@18+10"), QStringLiteral("5@29+10")}));
    // A viewport shorter than the fixed part shows only what fits of it.
    a.shown(0, 10, fixed, scrolling);
    QCOMPARE(Spans(fixed), QStringList{QStringLiteral("0@0+20")});
    QCOMPARE(Spans(scrolling), QStringList{});
    // Scrolled past the end: the fixed part alone.
    a.shown(500, 60, fixed, scrolling);
    QCOMPARE(fixed.size(), std::size_t{1});
    QVERIFY(scrolling.empty());
}

void TestGridGeometry::emptyAndOutOfRangeAxes() {
    GridAxis a;
    QCOMPARE(a.count(), 0);
    QCOMPARE(a.total(), 0);
    QCOMPARE(a.at(0, 0), -1);
    QCOMPARE(a.firstShown(0), -1);
    // More fixed entries than entries: all are fixed, nothing scrolls.
    a = Axis({5, 5}, 4);
    QCOMPARE(a.fixed(), 2);
    QCOMPARE(a.fixedExtent(), a.total());
    QCOMPARE(a.firstShown(0), -1);
    QCOMPARE(a.at(7, 100), 1);
    a.clear();
    QCOMPARE(a.count(), 0);
    QCOMPARE(a.at(0, 0), -1);
}

QTEST_APPLESS_MAIN(TestGridGeometry)
#include "test_grid_geometry.moc"
