// The pictures of the manuals, at the window's default size, in the language asked for:
// the tutorial's road from the example field data to a synoptic table with diagnostic
// species, a spreadsheet and a printout, then a picture per further section. Written to
// $TAVIK_SHOTS_DIR in the language $TAVIK_SHOTS_LANGUAGE (ja or en); skipped when the folder
// is not set. scripts/manual-pictures.sh makes both manuals' pictures with it. For looking at
// the window at another size, $TAVIK_SHOTS_SIZE ("1024x768") replaces the default size.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QToolButton>
#include <QtTest>

#include "scripted_dialogs.h"
#include "ui/analysis_controller.h"
#include "ui/application.h"
#include "ui/classification_controller.h"
#include "ui/classification_panel.h"
#include "ui/constancy_panel.h"
#include "ui/dendrogram_window.h"
#include "ui/freq_window.h"
#include "ui/output_controller.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"

using tavik::testing::StartWindow;
using tavik::testing::TestDataFile;

class TestManualPictures : public QObject {
    Q_OBJECT
private slots:
    void tutorial();

private:
    void shot(QWidget* w, const QString& name) {
        QCoreApplication::processEvents();
        QTest::qWait(50);
        QVERIFY(w->grab().save(QDir(dir_).filePath(name)));
    }
    QString dir_;
};

void TestManualPictures::tutorial() {
    dir_ = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir_.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir_);
    const bool english = qEnvironmentVariable("TAVIK_SHOTS_LANGUAGE") == QStringLiteral("en");
    tavik::ui::SetUpApplication(*qApp, english ? tavik::Language::English : tavik::Language::Japanese);
    // The size of a first start ([WinSize] of a new settings file), unless another is asked for.
    QSize size(724, 538);
    const QStringList asked = qEnvironmentVariable("TAVIK_SHOTS_SIZE").split(QLatin1Char('x'));
    if (asked.size() == 2 && asked[0].toInt() > 0 && asked[1].toInt() > 0) size = {asked[0].toInt(), asked[1].toInt()};

    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    shot(&w, QStringLiteral("tutorial_01_start.png"));

    // Field data: the bundled example; every relevé with beech or with Veitch's fir.
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    w.retrieval()->showRetrievalPanel();
    auto* r = w.retrieval()->panel();
    r->setCondition(0, QStringLiteral("ブナ"), 0, tavik::Connective::And);
    r->setCondition(1, QStringLiteral("シラビソ"), 0, tavik::Connective::Or);
    w.retrieval()->scanFieldData(false);
    shot(&w, QStringLiteral("tutorial_02_retrieval.png"));
    s.dialogs->texts << QStringLiteral("ブナ林とシラビソ林");
    w.retrieval()->putIntoTable();
    shot(&w, QStringLiteral("tutorial_03_table.png"));

    // Groups by cluster analysis: the panel, the tree, the table in groups.
    w.actions().classify->trigger();
    auto* panel = w.classification()->panel();
    shot(&w, QStringLiteral("tutorial_04_classification_panel.png"));
    panel->findChild<QAbstractButton*>(QStringLiteral("computeClusters"))->click();
    auto* tree = w.classification()->dendrogramWindow();
    QVERIFY(tree->isVisible());
    panel->findChild<QSpinBox*>(QStringLiteral("clusterGroups"))->setValue(3);
    tree->resize(size);
    shot(tree, QStringLiteral("tutorial_05_dendrogram.png"));
    panel->findChild<QAbstractButton*>(QStringLiteral("placeGroups"))->click();
    tree->hide();
    shot(&w, QStringLiteral("tutorial_06_groups.png"));

    // The synoptic table: constancy with fidelity, diagnostic species in blocks.
    w.analysis()->showConstancyPanel();
    w.analysis()->constancyPanel()->setShowFidelity(true);
    shot(&w, QStringLiteral("tutorial_07_constancy_panel.png"));
    w.analysis()->makeConstancyTable();
    auto* f = w.analysis()->freqWindow();
    f->resize(size);
    QVERIFY(QTest::qWaitForWindowExposed(f));
    f->button("blockSortButton")->click();
    shot(f, QStringLiteral("tutorial_08_synoptic_table.png"));
    f->hide();
    w.analysis()->sortByDiagnosticBlocks();
    shot(&w, QStringLiteral("tutorial_09_table_in_blocks.png"));

    // The spreadsheet and the printout.
    w.output()->showSpreadsheetOutput();
    shot(&w, QStringLiteral("tutorial_10_spreadsheet.png"));
    w.output()->cancelOutput();
    w.output()->showPrintOutput();
    shot(&w, QStringLiteral("tutorial_11_print.png"));
    w.output()->cancelOutput();

    // The menus, for the sections that name their items.
    int m = 0;
    for (QAction* top : w.menuBar()->actions()) {
        QMenu* menu = top->menu();
        menu->popup(w.mapToGlobal(w.menuBar()->actionGeometry(top).bottomLeft()));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        shot(menu, QStringLiteral("menu_%1.png").arg(++m));
        menu->hide();
    }
}

QTEST_MAIN(TestManualPictures)
#include "test_manual_pictures.moc"
