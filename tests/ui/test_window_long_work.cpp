// Long commands on a large table: each shows the work message while it runs and lets the
// event loop turn (a probe timer notes what it sees each time it runs), keeps the window
// locked meanwhile, and leaves the table exactly as it should, its undo and redo included.
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <functional>

#include "core/constancy.h"
#include "formats/saved_table.h"
#include "tools/synthetic_table.h"
#include "ui/constancy_panel.h"
#include "ui/freq_window.h"
#include "ui/panels.h"
#include "ui/range_controller.h"
#include "ui/table_history.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;

namespace {

QByteArray Saved(const Table& t) { return QByteArray::fromStdString(tavik::SavedTableBytes(t)); }

std::vector<int> ReleveKeys(const Table& t) {
    std::vector<int> keys;
    for (int q = 1; q <= t.ReleveCount(); ++q) keys.push_back(t.ReleveKeyAt(q));
    return keys;
}

// What the probe saw of one command: the work message's lines (or "-" when none showed) at
// each turn of the event loop while the window was locked, and whether an undo asked for
// meanwhile was refused.
struct Seen {
    QStringList lines;
    bool undoRefused = true;
};

}  // namespace

class TestWindowLongWork : public QObject {
    Q_OBJECT
private slots:
    void init() {
        // Every report of the work turns the event loop, and a change shows its message at
        // once, so that a table a test can afford shows what a large one does.
        tavik::ui::WorkProgress::setPumpInterval(0);
        tavik::ui::TableHistory::setQuietMs(0);
    }
    void cleanup() {
        tavik::ui::WorkProgress::setPumpInterval(40);
        tavik::ui::TableHistory::setQuietMs(40);
    }
    void sortsAndTheirUndoShowTheirWork();
    void reorderByScoresShowsItsWorkAndComesBackExactly();
    void constancyIsCountedBesideTheWindow();
};

namespace {

// Runs `command` with a probe that notes, at each turn of the event loop while the window is
// locked, the work message's lines, and tries an undo the first time.
Seen Watch(MainWindow& w, const std::function<void()>& command) {
    Seen seen;
    const int steps = w.undoStack()->count();
    const int index = w.undoStack()->index();
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!w.isBusy()) return;
        const auto* m = w.workMessage();
        seen.lines << (m->isVisible() ? (m->line1().trimmed() + QLatin1Char('/') + m->line2().trimmed())
                                      : QStringLiteral("-"));
        if (seen.lines.size() == 1) {
            w.history()->undo();
            seen.undoRefused = w.undoStack()->count() == steps && w.undoStack()->index() == index;
        }
    });
    probe.start();
    command();
    probe.stop();
    return seen;
}

// A step the probe's undo would take back if the window let it.
void SortSpecies(MainWindow& w) {
    w.ranges()->sortSpecies();
    w.ranges()->panel()->setDescending(true);
    w.ranges()->applyRange();
    QCOMPARE(w.undoStack()->count(), 1);
}

void SortReleves(MainWindow& w) {
    w.ranges()->sortReleves();
    w.ranges()->panel()->setDescending(true);
    w.ranges()->applyRange();
}

}  // namespace

void TestWindowLongWork::sortsAndTheirUndoShowTheirWork() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    tavik::tools::FillSyntheticTable(w.workspace().table, {6000, 900, 24, 1});
    w.workspace().table.Recount();
    w.showTableStatus();
    SortSpecies(w);
    const Table& t = w.workspace().table;
    const QByteArray start = Saved(t);
    const std::vector<int> startKeys = ReleveKeys(t);

    Seen seen = Watch(w, [&] { SortReleves(w); });
    QVERIFY(!seen.lines.isEmpty());
    QVERIFY2(!seen.lines.contains(QStringLiteral("-")), qPrintable(seen.lines.join(QLatin1Char(' '))));
    QVERIFY(seen.lines.front().startsWith(QStringLiteral("測定を並べ替えています")));
    QVERIFY(seen.undoRefused);
    QVERIFY(!w.isBusy());
    QVERIFY(!w.workMessage()->isVisible());
    const QByteArray sorted = Saved(t);
    QVERIFY(sorted != start);
    QCOMPARE(w.undoStack()->count(), 2);

    seen = Watch(w, [&] { w.history()->undo(); });
    QVERIFY(!seen.lines.isEmpty());
    QCOMPARE(seen.lines.front(), QStringLiteral("元に戻しています/測定を種数順で並び替え"));
    QVERIFY(!w.isBusy());
    QVERIFY(!w.workMessage()->isVisible());
    QCOMPARE(ReleveKeys(t), startKeys);
    QVERIFY(Saved(t) == start);

    seen = Watch(w, [&] { w.history()->redo(); });
    QCOMPARE(seen.lines.value(0), QStringLiteral("やり直しています/測定を種数順で並び替え"));
    QVERIFY(Saved(t) == sorted);

    // Sorted again in the same order, nothing moves: no step, and the step before stays the
    // one to undo.
    SortReleves(w);
    QCOMPARE(w.undoStack()->count(), 2);
    QCOMPARE(w.undoStack()->index(), 2);
    QVERIFY(Saved(t) == sorted);
    w.history()->undo();
    QVERIFY(Saved(t) == start);
}

void TestWindowLongWork::reorderByScoresShowsItsWorkAndComesBackExactly() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    tavik::tools::FillSyntheticTable(w.workspace().table, {3000, 600, 24, 1});
    w.workspace().table.Recount();
    w.showTableStatus();
    SortSpecies(w);
    const Table& t = w.workspace().table;
    const QByteArray start = Saved(t);
    const std::vector<int> startKeys = ReleveKeys(t);

    s.dialogs->answers << false << true;  // presence only; reorder
    const Seen seen = Watch(w, [&] { w.analysis()->reciprocalAveraging(); });
    // The check of the table before the question, the averaging and the reorder each show
    // their message; the window never turned locked without one.
    QVERIFY2(!seen.lines.contains(QStringLiteral("-")), qPrintable(seen.lines.join(QLatin1Char(' '))));
    QVERIFY(seen.lines.front().startsWith(QStringLiteral("反復平均法 準備中")));
    QVERIFY(seen.lines.contains(QStringLiteral("反復平均法 並び替え/組成表に反映しています")));
    QVERIFY(seen.lines.contains(QStringLiteral("反復平均法 測定の並び替え/")));
    QVERIFY(seen.undoRefused);
    QCOMPARE(w.undoStack()->undoText(), QStringLiteral("反復平均法で行列並び替え"));
    const QByteArray reordered = Saved(t);
    const std::vector<int> reorderedKeys = ReleveKeys(t);
    QVERIFY(reorderedKeys != startKeys);

    w.history()->undo();
    QCOMPARE(ReleveKeys(t), startKeys);
    QVERIFY(Saved(t) == start);
    w.history()->redo();
    QCOMPARE(ReleveKeys(t), reorderedKeys);
    QVERIFY(Saved(t) == reordered);
}

void TestWindowLongWork::constancyIsCountedBesideTheWindow() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    tavik::tools::FillSyntheticTable(w.workspace().table, {6000, 900, 24, 1});
    w.showTableStatus();
    SortSpecies(w);
    // A column moved without the recount: the panel's recount is a step of its own.
    w.workspace().table.MoveColumn(4, 9);
    const Table& t = w.workspace().table;

    Seen seen = Watch(w, [&] { w.analysis()->showConstancyPanel(); });
    QVERIFY(!seen.lines.isEmpty());
    QVERIFY2(!seen.lines.contains(QStringLiteral("-")), qPrintable(seen.lines.join(QLatin1Char(' '))));
    QCOMPARE(seen.lines.front(), QStringLiteral("常在度表 準備中/"));
    QVERIFY(seen.undoRefused);
    QCOMPARE(w.undoStack()->undoText(), QStringLiteral("出現頻度の再計算"));
    QVERIFY(w.analysis()->constancyPanel()->isVisible());

    seen = Watch(w, [&] { w.analysis()->makeConstancyTable(); });
    QVERIFY(!seen.lines.isEmpty());
    QVERIFY2(!seen.lines.contains(QStringLiteral("-")), qPrintable(seen.lines.join(QLatin1Char(' '))));
    // What the window shows is what the table gives, made on the window's own thread.
    const tavik::FreqTable expected = tavik::MakeConstancyTable(t, w.analysis()->constancyPanel()->options());
    const tavik::FreqTable& shown = w.analysis()->freqWindow()->table();
    QCOMPARE(shown.ColCount(), expected.ColCount());
    QCOMPARE(shown.RowCount(), expected.RowCount());
    for (int r = 0; r < expected.RowCount(); ++r)
        for (int c = 0; c < expected.ColCount(); ++c) QCOMPARE(shown.Text(c, r), expected.Text(c, r));
}

QTEST_MAIN(TestWindowLongWork)
#include "test_window_long_work.moc"
