// Fidelity in the constancy table: the panel's choices, phi in the cells, the shading of
// diagnostic species, the block sort of the second window and the reorder of the
// composition table. A picture of a synoptic table in blocks goes to $TAVIK_SHOTS_DIR when
// it is set.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "core/covers.h"
#include "named_releves.h"
#include "scripted_dialogs.h"
#include "ui/constancy_panel.h"
#include "ui/freq_grid.h"
#include "ui/freq_window.h"

using tavik::testing::Fill;
using tavik::testing::SpeciesOrder;
using tavik::testing::StartWindow;

namespace {

// c everywhere, b only in group A, a only in group B, d once in each.
const std::vector<std::vector<std::string>> kTwoGroups = {{"c", "b"}, {"c", "b"}, {"c", "b", "d"}, {"c", "b"}, {},
                                                          {"a", "c"}, {"a", "c"}, {"a", "c", "d"}, {"a", "c"}};

}  // namespace

class TestFidelity : public QObject {
    Q_OBJECT
private slots:
    void panelChoicesGiveTheOptions();
    void synopticTableFromThePanel();
    void compositionTableInDiagnosticBlocks();
    void screenshot();
};

void TestFidelity::panelChoicesGiveTheOptions() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto* panel = s.w->analysis()->constancyPanel();
    // Off by default; equalized, 30 and 0.05 when turned on.
    QVERIFY(!panel->showFidelity());
    tavik::FidelityOptions o = panel->fidelityOptions();
    QVERIFY(o.equalize);
    QCOMPARE(o.threshold, 30.0);
    QVERIFY(o.alpha && *o.alpha == 0.05);
    panel->findChild<QCheckBox*>(QStringLiteral("equalizeGroups"))->setChecked(false);
    panel->findChild<QSpinBox*>(QStringLiteral("fidelityThreshold"))->setValue(50);
    auto* alpha = panel->findChild<QComboBox*>(QStringLiteral("fidelityAlpha"));
    QCOMPARE(alpha->itemText(alpha->count() - 1), QStringLiteral("なし"));
    alpha->setCurrentIndex(alpha->count() - 1);
    o = panel->fidelityOptions();
    QVERIFY(!o.equalize);
    QCOMPARE(o.threshold, 50.0);
    QVERIFY(!o.alpha);
    alpha->setCurrentIndex(1);
    QVERIFY(panel->fidelityOptions().alpha && *panel->fidelityOptions().alpha == 0.01);
}

void TestFidelity::synopticTableFromThePanel() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, kTwoGroups);
    w.showTableStatus();
    w.actions().makeConstancyTable->trigger();
    auto* panel = w.analysis()->constancyPanel();
    panel->setKind(tavik::ConstancyKind::ClassesFive);
    panel->findChild<QCheckBox*>(QStringLiteral("showFidelity"))->setChecked(true);
    panel->findChild<QAbstractButton*>(QStringLiteral("outputConstancy"))->click();
    auto* f = w.analysis()->freqWindow();
    QVERIFY(f->isVisible());
    // Groups of four show counts; phi follows the bar where the species occurs.
    QCOMPARE(f->clipboardText(),
             QStringLiteral("　群落区分\tA\tB\r\n　測定数\t4\t4\r\n　平均種数\t2.2\t2.2\r\n"
                            "c\t４\t４\r\nb\t４ │100\t・\r\nd\t１ │  0\t１ │  0\r\na\t・\t４ │100\r\n"));
    const tavik::FreqTable& t = f->table();
    QCOMPARE(t.Shade(1, 4), 1);  // b in A
    QCOMPARE(t.Shade(2, 6), 2);  // a in B
    QCOMPARE(t.Shade(1, 5), 0);
    // Blocks: b (A), a (B), then c and d by frequency.
    QVERIFY(f->button("blockSortButton")->isEnabled());
    f->button("blockSortButton")->click();
    QCOMPARE(f->clipboardText().section(QStringLiteral("\r\n"), 3, 6),
             QStringLiteral("b\t４ │100\t・\r\na\t・\t４ │100\r\nc\t４\t４\r\nd\t１ │  0\t１ │  0"));
    QCOMPARE(f->table().Shade(2, 4), 2);
    // Without the choice the table is as it always was, and has no blocks to sort by.
    w.analysis()->showConstancyPanel();
    panel->setShowFidelity(false);
    w.analysis()->makeConstancyTable();
    QVERIFY(!f->button("blockSortButton")->isEnabled());
    QVERIFY(!f->clipboardText().contains(QStringLiteral("│")));
}

void TestFidelity::compositionTableInDiagnosticBlocks() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, kTwoGroups);
    w.showTableStatus();
    QCOMPARE(SpeciesOrder(w.workspace().table), (std::vector<std::string>{"c", "b", "d", "a"}));
    w.actions().sortByDiagnosticBlocks->trigger();
    QCOMPARE(SpeciesOrder(w.workspace().table), (std::vector<std::string>{"b", "a", "c", "d"}));
    // Cells went with their rows: b is in the first relevé, a is not.
    const tavik::Table& t = w.workspace().table;
    QVERIFY(!t.CellEmpty(t.ReleveKeyAt(1), t.SpeciesKeyAt(1)));
    QVERIFY(t.CellEmpty(t.ReleveKeyAt(1), t.SpeciesKeyAt(2)));
    // A table of one group is refused with a message; nothing moves.
    Fill(w.workspace().table, {{"c", "b"}, {"a"}});
    w.showTableStatus();
    s.dialogs->notices.clear();
    w.actions().sortByDiagnosticBlocks->trigger();
    QCOMPARE(SpeciesOrder(w.workspace().table), (std::vector<std::string>{"c", "b", "a"}));
    QCOMPARE(s.dialogs->notices.size(), qsizetype(1));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("空白列")));
}

void TestFidelity::screenshot() {
    const QString dir = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.loadTable(QStringLiteral(TAVIK_SOURCE_DIR "/tests/data/example_groups.vtb"));
    w.resize(1100, 720);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.analysis()->showConstancyPanel();
    w.analysis()->constancyPanel()->setShowFidelity(true);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("fidelity_1_panel.png"))));
    w.analysis()->makeConstancyTable();
    auto* f = w.analysis()->freqWindow();
    f->resize(760, 720);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->button("blockSortButton")->click();
    QCoreApplication::processEvents();
    QVERIFY(f->grab().save(QDir(dir).filePath(QStringLiteral("fidelity_2_synoptic_blocks.png"))));
    w.analysis()->sortByDiagnosticBlocks();
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("fidelity_3_table_in_blocks.png"))));
}

QTEST_MAIN(TestFidelity)
#include "test_fidelity.moc"
