// The road from field data to a saved and reloaded table: retrieval with conditions,
// sorting, saving and loading; a scan that is stopped, and relevés that cannot be read.
#include <QFile>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::Table;
using namespace tavik::testing;
using tavik::ui::RangeMode;

class TestWindowRetrieval : public QObject {
    Q_OBJECT
private slots:
    void wholeRoad();
    void scanCanBeStoppedAndLocksTheWindow();
    void unreadableRelevesAreReported();
    void codesOfTheDataComeWithThePutStep();
};

void TestWindowRetrieval::wholeRoad() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;

    // Dictionary and data file.
    s.dialogs->files << TestDataFile(QStringLiteral("example/異名表.dic"));
    w.readDictionary();
    QCOMPARE(w.statusLine()->panelText(3), QStringLiteral(" 変換辞書：異名表.dic"));
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    QCOMPARE(w.statusLine()->panelText(4), QStringLiteral(" ファイル：example.tki"));
    QCOMPARE(w.actions().chooseDataFile->text(), QStringLiteral("データファイルの変更"));
    QCOMPARE(w.workspace().releveRecordCount, 60);
    QCOMPARE(t.FNRow(), 31);  // the data file carries all thirty items

    // Two conditions: ブナ from class 1 and チシマザサ from class 1.
    w.retrieval()->showRetrievalPanel();
    auto* r = w.retrieval()->panel();
    QVERIFY(r->isVisible());
    QCOMPARE(r->lastRecord(), 60);
    // The panel names the file as the status line does; the folder is in the hint.
    QCOMPARE(r->fileNameShown(), QStringLiteral("example.tki"));
    QCOMPARE(r->fileNameHint(), TestDataFile(QStringLiteral("example/example.tki")));
    r->setNames({QStringLiteral("ﾌﾞﾅ")});
    w.retrieval()->convertToStandardNames();
    QCOMPARE(r->names().front(), QStringLiteral("ブナ"));
    r->setCondition(0, QStringLiteral("ブナ"), 1, tavik::Connective::And);
    r->setCondition(1, QStringLiteral("チシマザサ"), 1, tavik::Connective::And);  // そして
    w.retrieval()->scanFieldData(false);
    const int hits = w.workspace().retrieval.HitCount();
    QCOMPARE(r->hitsText(), QString::number(hits));
    QCOMPARE(r->searchingText(), QStringLiteral("60"));

    // What the listing says: relevés holding both at class 1 or more.
    QSet<QString> expected;
    {
        QFile csv(TestDataFile(QStringLiteral("example/example_long.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QMap<QString, QSet<QString>> strong;
        csv.readLine();
        while (!csv.atEnd()) {
            const QStringList f = QString::fromUtf8(csv.readLine()).trimmed().split(QLatin1Char(','));
            if (f.size() < 4 || f[3].isEmpty() || f[3][0] < QLatin1Char('1') || f[3][0] > QLatin1Char('5')) continue;
            strong[f[0]] << Q(w.workspace().StandardName(f[1].toStdString()));
        }
        for (auto it = strong.begin(); it != strong.end(); ++it)
            if (it->contains(QStringLiteral("ブナ")) && it->contains(QStringLiteral("チシマザサ")))
                expected << it.key();
    }
    QVERIFY(!expected.isEmpty());
    QCOMPARE(hits, expected.size());

    s.dialogs->texts << QStringLiteral("ブナ－チシマザサ");
    w.retrieval()->putIntoTable();
    QVERIFY(!r->isVisible());
    QCOMPARE(t.ReleveCount(), hits);
    QCOMPARE(t.TableTitle, std::string("ブナ－チシマザサ"));
    QCOMPARE(s.dialogs->lastProposal, QStringLiteral("本州中部・北部の森林"));
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("    ブナ－チシマザサ")));
    QCOMPARE(w.statusLine()->panelText(1), QStringLiteral(" 測定数：") + QString::number(hits));
    QCOMPARE(w.statusLine()->panelText(2), QStringLiteral(" 種数：") + QString::number(t.SpeciesCount()));
    QSet<QString> got;
    for (int q = 1; q <= t.ReleveCount(); ++q) got << Q(t.Text(q + 3, 2));
    QCOMPARE(got, expected);
    const int buna = RowOf(t, "ブナ"), sasa = RowOf(t, "チシマザサ");
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        QVERIFY(!t.Text(q + 3, buna).empty());
        QVERIFY(!t.Text(q + 3, sasa).empty());
    }

    // Sort species by frequency, more first.
    w.ranges()->sortSpecies();
    QVERIFY(w.ranges()->panel()->isVisible());
    QCOMPARE(w.ranges()->panel()->range().p2, t.SpeciesCount());
    w.ranges()->applyRange();
    QVERIFY(!w.ranges()->panel()->isVisible());
    QVERIFY(w.ranges()->mode() == RangeMode::None);
    for (int p = 2; p <= t.SpeciesCount(); ++p) QVERIFY(t.SpFreq()[p] <= t.SpFreq()[p - 1]);
    QCOMPARE(Q(t.Text(1, t.FNRow() + 1)), QStringLiteral("   1"));

    // Save; a second save to the same name asks first, and Abort keeps the file.
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("road.vtb"));
    s.dialogs->files << path;
    w.saveTable();
    QCOMPARE(s.dialogs->proposedSaveName, QStringLiteral("ブナ－チシマザサ.vtb"));
    QCOMPARE(w.statusLine()->panelText(4), QStringLiteral(" ファイル：road.vtb"));
    const QByteArray saved = FileBytes(path);
    QVERIFY(!saved.isEmpty());
    QVERIFY(s.dialogs->questions.isEmpty());
    const QStringList before = UsedTexts(t);
    std::vector<tavik::LayerCovers> covers;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        for (int p = 1; p <= t.SpeciesCount(); ++p) covers.push_back(t.Covers(t.ReleveKeyAt(q), t.SpeciesKeyAt(p)));
    w.ranges()->sortReleves();
    w.ranges()->panel()->setDescending(false);
    w.ranges()->applyRange();
    s.dialogs->files << path;
    s.dialogs->answers << false;
    w.saveTable();
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("同名のファイルが存在します。書き換えますか？")});
    QCOMPARE(FileBytes(path), saved);

    // Clear, load, compare.
    w.clearTable();
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(t.ColCount(), 27);
    // The next retrieval proposes the data file's name, not the cleared table's title.
    QVERIFY(t.TableTitle.empty());
    QCOMPARE(Q(w.workspace().ProposedTitle()), QStringLiteral("example"));
    QCOMPARE(w.statusLine()->panelText(1), QStringLiteral(" 測定数：0"));
    QVERIFY(!w.actions().saveTable->isEnabled());
    s.dialogs->files << path;
    w.openTable();
    QVERIFY(s.dialogs->errors.isEmpty());
    QCOMPARE(t.ReleveCount(), hits);
    QCOMPARE(UsedTexts(t), before);
    std::size_t i = 0;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        for (int p = 1; p <= t.SpeciesCount(); ++p)
            QVERIFY(t.Covers(t.ReleveKeyAt(q), t.SpeciesKeyAt(p)) == covers[i++]);
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("ブナ－チシマザサ")));
}

void TestWindowRetrieval::scanCanBeStoppedAndLocksTheWindow() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    s.dialogs->files << TestDataFile(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    w.retrieval()->showRetrievalPanel();
    tavik::ui::WorkProgress::setPumpInterval(0);
    bool lockedWhileRunning = false;
    QTimer::singleShot(0, &w, [&] {
        lockedWhileRunning =
            !w.menuBar()->isEnabled() && !w.grid()->isEnabled() &&
            !w.retrieval()->panel()->findChild<QPushButton*>(QStringLiteral("putIntoTable"))->isEnabled() &&
            w.workMessage()->cancelButton()->isVisible();
        w.workMessage()->cancelButton()->click();
    });
    w.retrieval()->scanFieldData(false);
    tavik::ui::WorkProgress::setPumpInterval(40);
    QVERIFY(lockedWhileRunning);
    QVERIFY(w.retrieval()->panel()->searchingText().endsWith(QStringLiteral("中止")));
    QVERIFY(w.workspace().retrieval.HitCount() < 60);
    QVERIFY(w.menuBar()->isEnabled());
    QVERIFY(w.grid()->isEnabled());
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(!w.workMessage()->cancelButton()->isVisible());
    // The next scan runs to the end.
    w.retrieval()->scanFieldData(false);
    QCOMPARE(w.workspace().retrieval.HitCount(), 60);
    QCOMPARE(w.retrieval()->panel()->searchingText(), QStringLiteral("60"));
}

void TestWindowRetrieval::unreadableRelevesAreReported() {
    // The dune pair with its data file cut after record 23: relevés 19 and 20 lose their
    // species records and cannot be read.
    QTemporaryDir tmp;
    const QString tki = QDir(tmp.path()).filePath(QStringLiteral("cut.tki"));
    QVERIFY(QFile::copy(TestDataFile(QStringLiteral("dune/dune.tki")), tki));
    QFile tkd(TestDataFile(QStringLiteral("dune/dune.tkd")));
    QVERIFY(tkd.open(QIODevice::ReadOnly));
    QFile cut(QDir(tmp.path()).filePath(QStringLiteral("cut.tkd")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(tkd.read(12000));
    cut.close();

    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    s.dialogs->files << tki;
    w.chooseDataFile();
    w.retrieval()->showRetrievalPanel();
    w.retrieval()->scanFieldData(false);
    QCOMPARE(w.workspace().retrieval.HitCount(), 18);
    QCOMPARE(s.dialogs->notices.size(), 1);
    QCOMPARE(s.dialogs->notices.last(), QStringLiteral("読み取れない測定 2 件をとばしました: 19, 20"));
    // Putting reads only the marked relevés, all readable: nothing more to report.
    s.dialogs->texts << QStringLiteral("Dune");
    w.retrieval()->putIntoTable();
    QCOMPARE(w.workspace().table.ReleveCount(), 18);
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->errors.isEmpty());
}

// The scan leaves the table alone; the K and D codes the retrieval read come into the table
// with the relevés, as one step to undo.
void TestWindowRetrieval::codesOfTheDataComeWithThePutStep() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    Table& t = w.workspace().table;
    s.dialogs->files << TestDataFile(QStringLiteral("dune/dune.tki"));
    w.chooseDataFile();
    t.CodeK = 3;
    t.CodeD = 2;
    w.retrieval()->showRetrievalPanel();
    w.retrieval()->scanFieldData(false);
    QCOMPARE(t.CodeD, 2);
    QCOMPARE(t.CodeK, 3);
    const int steps = w.undoStack()->count();
    s.dialogs->texts << QStringLiteral("Dune");
    w.retrieval()->putIntoTable();
    QCOMPARE(w.undoStack()->count(), steps + 1);
    QCOMPARE(t.CodeK, 5);
    QCOMPARE(t.CodeD, 1);
    w.history()->undo();
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(t.CodeK, 3);
    QCOMPARE(t.CodeD, 2);
    w.history()->redo();
    QCOMPARE(t.CodeK, 5);
    QCOMPARE(t.CodeD, 1);
}

QTEST_MAIN(TestWindowRetrieval)
#include "test_window_retrieval.moc"
