// Classification in the window: the panel computes the tree and the scan of K, the
// dendrogram follows K, the groups go into the table as one step to undo, and membership
// files come in and go out. Pictures of the dendrogram of the example table in four groups
// and of the constancy table that follows go to $TAVIK_SHOTS_DIR when it is set.
#include <QAbstractButton>
#include <QApplication>
#include <QUndoStack>
#include <QtTest>

#include "core/classification.h"
#include "core/constancy.h"
#include "formats/saved_table.h"
#include "named_releves.h"
#include "scripted_dialogs.h"
#include "ui/classification_controller.h"
#include "ui/classification_panel.h"
#include "ui/constancy_panel.h"
#include "ui/dendrogram_window.h"
#include "ui/freq_window.h"

using tavik::testing::Fill;
using tavik::testing::StartWindow;

namespace {

// Three kinds of relevé, five of each, interleaved x y z x y z ...: each kind has two species
// of its own, c is everywhere. A species in all five of a group of 5 out of 15 has Fisher's
// p = 1/C(15,5) = 0.0003, faithful; in five of a group of 10, p = C(10,5)/C(15,5) = 0.08.
std::vector<std::vector<std::string>> Kinds() {
    std::vector<std::vector<std::string>> r;
    for (int i = 0; i < 5; ++i)
        for (const char* k : {"x", "y", "z"}) r.push_back({std::string(k) + "1", std::string(k) + "2", "c"});
    return r;
}
const std::vector<std::vector<std::string>> kKinds = Kinds();

QString FirstSpecies(const tavik::Table& t, int q) {
    // The kind is told by the species that is not everywhere.
    for (const tavik::Cell& c : t.CellsOf(t.ReleveKeyAt(q)))
        if (t.SpeciesName(c.species) != "c") return QString::fromStdString(t.SpeciesName(c.species)).left(1);
    return QStringLiteral("|");
}

QString Layout(const tavik::Table& t) {
    QString s;
    for (int q = 1; q <= t.ReleveCount(); ++q) s += FirstSpecies(t, q);
    return s;
}

}  // namespace

class TestClassification : public QObject {
    Q_OBJECT
private slots:
    void groupsFromTheTreeAreOneStep();
    void membershipFilesInAndOut();
    void screenshots();
};

void TestClassification::groupsFromTheTreeAreOneStep() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, kKinds);
    w.showTableStatus();
    const std::string before = tavik::SavedTableBytes(w.workspace().table);
    QCOMPARE(Layout(w.workspace().table), QStringLiteral("xyzxyzxyzxyzxyz"));

    w.actions().classify->trigger();
    auto* panel = w.classification()->panel();
    QVERIFY(panel->isVisible());
    panel->findChild<QAbstractButton*>(QStringLiteral("placeGroups"))->click();  // nothing computed yet
    QCOMPARE(w.undoStack()->count(), 0);
    panel->findChild<QAbstractButton*>(QStringLiteral("computeClusters"))->click();
    QVERIFY(w.classification()->dendrogramWindow()->isVisible());
    // Three kinds: K = 3 has all six species of their own faithful and is proposed.
    QCOMPARE(panel->groups(), 3);
    QCOMPARE(w.classification()->dendrogramWindow()->view()->groups(), 3);
    QVERIFY(panel->scanText().contains(QStringLiteral(" 3　    6 ←")));
    panel->setGroups(2);
    QCOMPARE(w.classification()->dendrogramWindow()->view()->groups(), 2);
    panel->setGroups(3);
    panel->findChild<QAbstractButton*>(QStringLiteral("placeGroups"))->click();
    QCOMPARE(Layout(w.workspace().table), QStringLiteral("xxxxx|yyyyy|zzzzz"));
    QCOMPARE(tavik::ConstancyGroups(w.workspace().table).size(), std::size_t(3));
    QCOMPARE(w.undoStack()->count(), 1);
    QCOMPARE(w.undoStack()->undoText(), QStringLiteral("クラスター分析で群に分ける"));
    w.history()->undo();
    QCOMPARE(tavik::SavedTableBytes(w.workspace().table), before);
    w.history()->redo();
    QCOMPARE(Layout(w.workspace().table), QStringLiteral("xxxxx|yyyyy|zzzzz"));

    // Too few relevés: a message, nothing changes.
    Fill(w.workspace().table, {{"a"}});
    w.showTableStatus();
    s.dialogs->notices.clear();
    panel->findChild<QAbstractButton*>(QStringLiteral("computeClusters"))->click();
    QCOMPARE(s.dialogs->notices.size(), qsizetype(1));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("2 個以上")));
}

void TestClassification::membershipFilesInAndOut() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, kKinds);
    tavik::Table& t = w.workspace().table;
    for (int q = 1; q <= t.ReleveCount(); ++q) t.SetHeaderText(t.ReleveKeyAt(q), 2, "R" + std::to_string(q));
    w.showTableStatus();
    // z first, then x; the y relevés are not listed and go last.
    const QString in = tmp.filePath(QStringLiteral("in.csv"));
    {
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(
            "\"\",\"releve\",\"group\"\n\"1\",\"R3\",2\n\"2\",\"R1\",1\n\"3\",\"R6\",2\n\"4\",\"R4\",1\n"
            "\"5\",\"R9\",2\n\"6\",\"R12\",2\n\"7\",\"R7\",1\n\"8\",\"R10\",1\n"
            "\"9\",\"R15\",2\n\"10\",\"R13\",1\n");
    }
    s.dialogs->files << in;
    w.actions().readGroups->trigger();
    QCOMPARE(Layout(t), QStringLiteral("zzzzz|xxxxx|yyyyy"));
    QCOMPARE(s.dialogs->notices.size(), qsizetype(1));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("5 個")));
    // Written back: position, number, group.
    const QString out = tmp.filePath(QStringLiteral("out.csv"));
    s.dialogs->files << out;
    w.actions().writeGroups->trigger();
    QFile f(out);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(text.startsWith("position,releve,group\r\n1,R3,1\r\n"));
    QVERIFY(text.endsWith("17,R14,3\r\n"));
    // An unknown number: named, nothing changes.
    {
        QFile g(in);
        QVERIFY(g.open(QIODevice::WriteOnly));
        g.write("releve,group\nR1,a\nR77,b\n");
    }
    s.dialogs->notices.clear();
    s.dialogs->files << in;
    const int steps = w.undoStack()->count();
    w.actions().readGroups->trigger();
    QCOMPARE(w.undoStack()->count(), steps);
    QCOMPARE(s.dialogs->notices.size(), qsizetype(1));
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("表にない測定番号: R77")));
}

void TestClassification::screenshots() {
    const QString dir = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.loadTable(QStringLiteral(TAVIK_SOURCE_DIR "/examples/example.vtb"));
    w.resize(1100, 760);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.actions().classify->trigger();
    auto* panel = w.classification()->panel();
    panel->findChild<QAbstractButton*>(QStringLiteral("computeClusters"))->click();
    panel->setGroups(4);
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("classification_1_panel.png"))));
    auto* d = w.classification()->dendrogramWindow();
    d->resize(820, 1000);
    QVERIFY(QTest::qWaitForWindowExposed(d));
    QVERIFY(d->grab().save(QDir(dir).filePath(QStringLiteral("classification_2_dendrogram.png"))));
    QVERIFY(d->view()->grab().save(QDir(dir).filePath(QStringLiteral("classification_3_dendrogram_whole.png"))));
    panel->findChild<QAbstractButton*>(QStringLiteral("placeGroups"))->click();
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("classification_4_table.png"))));
    w.analysis()->showConstancyPanel();
    w.analysis()->constancyPanel()->setShowFidelity(true);
    w.analysis()->makeConstancyTable();
    auto* f = w.analysis()->freqWindow();
    f->resize(760, 720);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCoreApplication::processEvents();
    QVERIFY(f->grab().save(QDir(dir).filePath(QStringLiteral("classification_5_constancy.png"))));
}

QTEST_MAIN(TestClassification)
#include "test_classification.moc"
