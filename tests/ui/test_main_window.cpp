// The main window driven through its commands: start-up and the command line, the whole
// road from field data to a saved and reloaded table, editing with its cascades, hiding,
// the search, quitting, and bad input.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "scripted_dialogs.h"
#include "tests/core/test_helpers.h"
#include "ui/command_line.h"
#include "ui/grid_widget.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/version.h"
#include "ui/work_message.h"

using tavik::Table;
using tavik::testing::SharedData;
using tavik::testing::StartWindow;
using tavik::testing::Child;
using tavik::ui::MainWindow;
using tavik::ui::RangeMode;

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const char* const kOutputs[] = {"saveTable", "outputTable", "valueMatrix", "pcordCsv", "siteData"};

QAction* Action(const MainWindow& w, const char* name) {
    return w.findChild<QAction*>(QLatin1String(name));
}

// Every cell text of the used part of the grid except the key row and column.
QStringList UsedTexts(const Table& t) {
    QStringList out;
    for (int r = 1; r <= t.FNRow() + t.SpeciesCount(); ++r)
        for (int c = 1; c <= t.ReleveCount() + 3; ++c) out << Q(t.Text(c, r));
    return out;
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int RowOf(const Table& t, const std::string& name) {
    for (int p = 1; p <= t.SpeciesCount(); ++p)
        if (t.SpeciesName(t.SpeciesKeyAt(p)) == name) return t.FNRow() + p;
    return -1;
}

// Replaces the window's table by a small one: relevés {A,B}, {A,C}, {D}.
void SmallTable(MainWindow& w) {
    w.workspace().table = tavik::testing::MakeTable({{"A", "B"}, {"A", "C"}, {"D"}});
    w.showTableStatus();
}

}  // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void versionAndCommandLineRules();
    void startupDefaults();
    void menuCaptionsAndLaterCommands();
    void commandLineVariants();
    void wholeRoad();
    void deleteAndInsertWithCascades();
    void speedButtonsAndPressRules();
    void commandsOffTheUsedPartDoNothing();
    void draggingRowsAndColumns();
    void hidingRangesAndSiteRows();
    void searchHits();
    void quitWritesSettingsOnlyThere();
    void badInputLeavesTheTable();
    void manualAndAbout();
    void scanCanBeStoppedAndLocksTheWindow();
    void unreadableRelevesAreReported();
    void settingsFontAndEmbeddedItems();
};

void TestMainWindow::versionAndCommandLineRules() {
    using tavik::ui::ParseCommandLine;
    using tavik::ui::VersionText;
    QCOMPARE(VersionText(QStringLiteral("4.1.5.0")), QStringLiteral("4.15"));
    QCOMPARE(VersionText(QStringLiteral("10.2.13.7")), QStringLiteral("10.213"));
    QCOMPARE(VersionText(QStringLiteral("4.1.5")), QString());
    QCOMPARE(VersionText(QStringLiteral("4.x.5.0")), QString());
    QCOMPARE(tavik::ui::ProgramVersionText(), QStringLiteral("4.15"));

    const QString def = QStringLiteral("/opt/tavik.ini");
    auto r = ParseCommandLine({QStringLiteral("/d/Forest.INI")}, def);
    QCOMPARE(r.iniPath, QStringLiteral("/d/Forest.INI"));
    QVERIFY(r.tablePath.isEmpty());
    r = ParseCommandLine({QStringLiteral("t.Vtb"), QStringLiteral("x.ini")}, def);
    QCOMPARE(r.iniPath, def);
    QCOMPARE(r.tablePath, QStringLiteral("t.Vtb"));
    r = ParseCommandLine({QStringLiteral("a.csv"), QStringLiteral("b.vtb")}, def);
    QCOMPARE(r.iniPath, def);
    QVERIFY(r.tablePath.isEmpty());
    r = ParseCommandLine({QStringLiteral("dir.ini/table")}, def);
    QCOMPARE(r.iniPath, def);
}

void TestMainWindow::startupDefaults() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    QCOMPARE(w.windowTitle(), QStringLiteral(" Vegetation Table Processing Ver.4.15    "));
    QCOMPARE(t.FNRow(), 19);  // 18 header items
    int items = 0;
    for (int n = 1; n <= tavik::kItemCount; ++n) items += t.ItemBoxes[n].enabled ? 1 : 0;
    QCOMPARE(items, 18);
    QCOMPARE(t.ColCount(), 27);
    QCOMPARE(t.RowCount(), 159);
    QCOMPARE(Q(t.Text(2, 3)), QStringLiteral("調査地名"));
    QCOMPARE(Q(t.Text(3, 19)), QStringLiteral("F＼N"));
    QCOMPARE(w.statusText(1), QStringLiteral(" 測定数：0"));
    QCOMPARE(w.statusText(2), QStringLiteral(" 種数：0"));
    QCOMPARE(w.statusText(3), QStringLiteral(" 変換辞書：異名表.dic"));
    QCOMPARE(w.statusText(4), QStringLiteral(" ファイル："));
    for (const char* name : kOutputs) QVERIFY2(!Action(w, name)->isEnabled(), name);
    QCOMPARE(w.size(), QSize(724, 538));
    QCOMPARE(Q(w.workspace().iniFileName), QDir(tmp.path()).filePath(QStringLiteral("tavik.ini")));
    QVERIFY(w.rangeMode() == RangeMode::None);
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(s.dialogs->errors.isEmpty());
    // Nothing is written at start.
    QVERIFY(!QFile::exists(QDir(tmp.path()).filePath(QStringLiteral("tavik.ini"))));
}

void TestMainWindow::menuCaptionsAndLaterCommands() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    QStringList menus;
    for (QAction* a : w.menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{QStringLiteral("ファイル(&F)"), QStringLiteral("表ツール(&T)"),
                                 QStringLiteral("編集・検索(&E)"), QStringLiteral("設定変更(&C)"),
                                 QStringLiteral("ヘルプ(&H)")}));
    // The file menu with its separators ("-").
    QStringList file;
    for (QAction* a : w.menuBar()->actions().front()->menu()->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(file, (QStringList{QStringLiteral("組成表を初期化する(&N)"), QStringLiteral("表にデータを加える(&A)"),
                                QStringLiteral("保存した表を読込む(&L)"), QStringLiteral("データファイルの指定(&F)"),
                                QStringLiteral("-"), QStringLiteral("現在の表を保存する(&S)"),
                                QStringLiteral("組成表として出力"), QStringLiteral("プリンターの設定(&T)"),
                                QStringLiteral("-"), QStringLiteral("数値表として出力する(&V)"),
                                QStringLiteral("PCord 用のCSV型出力(&C)"), QStringLiteral("分布データ等を出力(&D)"),
                                QStringLiteral("-"), QStringLiteral("終　　　　了(&Q)")}));
    QCOMPARE(w.actions().quit->statusTip(), QStringLiteral("プログラムを終了する"));
    QCOMPARE(w.actions().version->text(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報(&A)"));
    // Commands of later work are there and stay disabled, also once the table holds relevés.
    SmallTable(w);
    for (const char* name : {"textFile", "excelFile", "printTable", "printBrief", "printSetup",
                             "valueMatrix", "pcordCsv", "plotData", "gpsPot", "meshData",
                             "reciprocalAveraging", "makeConstancyTable", "showConstancyTable",
                             "changeItems"}) {
        QAction* a = Action(w, name);
        QVERIFY2(a, name);
        QVERIFY2(!a->isEnabled(), name);
    }
    QVERIFY(w.actions().saveTable->isEnabled());
    QVERIFY(w.actions().outputTable->isEnabled());
    QVERIFY(w.actions().siteData->isEnabled());
}

void TestMainWindow::commandLineVariants() {
    QTemporaryDir tmp;
    const QString dir = tmp.path();
    // A settings file in capitals: 22 header items, its window size.
    const QString ini = QDir(dir).filePath(QStringLiteral("Forest.INI"));
    QVERIFY(QFile::copy(SharedData(QStringLiteral("example/example.ini")), ini));
    {
        auto s = StartWindow(dir, {ini});
        QCOMPARE(Q(s.w->workspace().iniFileName), ini);
        QCOMPARE(s.w->workspace().table.FNRow(), 23);
        QCOMPARE(s.w->size(), QSize(800, 600));
        QCOMPARE(s.w->workspace().table.ReleveCount(), 0);
    }
    // A saved table, made here from the example data.
    const QString vtb = QDir(dir).filePath(QStringLiteral("tables/Forest.Vtb"));
    QDir(dir).mkpath(QStringLiteral("tables"));
    {
        auto s = StartWindow(dir);
        s.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
        s.w->chooseDataFile();
        s.w->showRetrievalPanel();
        s.w->scanFieldData(false);
        s.dialogs->texts << QStringLiteral("全域の森林");
        s.w->putIntoTable();
        QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
        s.dialogs->files << vtb;
        s.w->saveTable();
        QVERIFY(QFile::exists(vtb));
    }
    {
        auto s = StartWindow(dir, {vtb});
        QCOMPARE(Q(s.w->workspace().iniFileName), QDir(dir).filePath(QStringLiteral("tavik.ini")));
        QCOMPARE(s.w->workspace().table.ReleveCount(), 60);
        QVERIFY(s.w->windowTitle().endsWith(QStringLiteral("4.15    全域の森林")));
        QCOMPARE(s.w->statusText(1), QStringLiteral(" 測定数：60"));
        QCOMPARE(s.w->statusText(4), QStringLiteral(" ファイル：Forest.Vtb"));
        for (const char* name : {"saveTable", "outputTable", "siteData"})
            QVERIFY2(Action(*s.w, name)->isEnabled(), name);
    }
    // Anything else is ignored: empty table, the settings beside the program.
    {
        auto s = StartWindow(dir, {QStringLiteral("sites.csv"), vtb});
        QCOMPARE(s.w->workspace().table.ReleveCount(), 0);
        QCOMPARE(s.w->workspace().table.FNRow(), 19);
        QVERIFY(s.dialogs->errors.isEmpty());
    }
}

void TestMainWindow::wholeRoad() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;

    // Dictionary and data file.
    s.dialogs->files << SharedData(QStringLiteral("example/異名表.dic"));
    w.readDictionary();
    QCOMPARE(w.statusText(3), QStringLiteral(" 変換辞書：異名表.dic"));
    s.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    QCOMPARE(w.statusText(4), QStringLiteral(" ファイル：example.tki"));
    QCOMPARE(w.actions().chooseDataFile->text(), QStringLiteral("データファイルの変更"));
    QCOMPARE(w.workspace().releveRecordCount, 60);
    QCOMPARE(t.FNRow(), 31);  // the data file carries all thirty items

    // Two conditions: ブナ from class 1 and チシマザサ from class 1.
    w.showRetrievalPanel();
    auto* r = w.retrievalPanel();
    QVERIFY(r->isVisible());
    QCOMPARE(r->lastRecord(), 60);
    // The panel names the file as the status line does; the folder is in the hint.
    QCOMPARE(r->fileNameShown(), QStringLiteral("example.tki"));
    QCOMPARE(r->fileNameHint(), SharedData(QStringLiteral("example/example.tki")));
    r->setNames({QStringLiteral("ﾌﾞﾅ")});
    w.convertToStandardNames();
    QCOMPARE(r->names().front(), QStringLiteral("ブナ"));
    r->setCondition(0, QStringLiteral("ブナ"), 1, tavik::Connective::And);
    r->setCondition(1, QStringLiteral("チシマザサ"), 1, tavik::Connective::And);  // そして
    w.scanFieldData(false);
    const int hits = w.workspace().retrieval.HitCount();
    QCOMPARE(r->hitsText(), QString::number(hits));
    QCOMPARE(r->searchingText(), QStringLiteral("60"));

    // What the listing says: relevés holding both at class 1 or more.
    QSet<QString> expected;
    {
        QFile csv(SharedData(QStringLiteral("example/example_long.csv")));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QMap<QString, QSet<QString>> strong;
        csv.readLine();
        while (!csv.atEnd()) {
            const QStringList f = QString::fromUtf8(csv.readLine()).trimmed().split(QLatin1Char(','));
            if (f.size() < 4 || f[3].isEmpty() || f[3][0] < QLatin1Char('1') || f[3][0] > QLatin1Char('5'))
                continue;
            strong[f[0]] << Q(w.workspace().StandardName(f[1].toStdString()));
        }
        for (auto it = strong.begin(); it != strong.end(); ++it)
            if (it->contains(QStringLiteral("ブナ")) && it->contains(QStringLiteral("チシマザサ")))
                expected << it.key();
    }
    QVERIFY(!expected.isEmpty());
    QCOMPARE(hits, expected.size());

    s.dialogs->texts << QStringLiteral("ブナ－チシマザサ");
    w.putIntoTable();
    QVERIFY(!r->isVisible());
    QCOMPARE(t.ReleveCount(), hits);
    QCOMPARE(t.TableTitle, std::string("ブナ－チシマザサ"));
    QCOMPARE(s.dialogs->lastProposal, QStringLiteral("本州中部・北部の森林"));
    QVERIFY(w.windowTitle().endsWith(QStringLiteral("    ブナ－チシマザサ")));
    QCOMPARE(w.statusText(1), QStringLiteral(" 測定数：") + QString::number(hits));
    QCOMPARE(w.statusText(2), QStringLiteral(" 種数：") + QString::number(t.SpeciesCount()));
    QSet<QString> got;
    for (int q = 1; q <= t.ReleveCount(); ++q) got << Q(t.Text(q + 3, 2));
    QCOMPARE(got, expected);
    const int buna = RowOf(t, "ブナ"), sasa = RowOf(t, "チシマザサ");
    for (int q = 1; q <= t.ReleveCount(); ++q) {
        QVERIFY(!t.Text(q + 3, buna).empty());
        QVERIFY(!t.Text(q + 3, sasa).empty());
    }

    // Sort species by frequency, more first.
    w.sortSpecies();
    QVERIFY(w.rangePanel()->isVisible());
    QCOMPARE(w.rangePanel()->range().p2, t.SpeciesCount());
    w.applyRange();
    QVERIFY(!w.rangePanel()->isVisible());
    QVERIFY(w.rangeMode() == RangeMode::None);
    for (int p = 2; p <= t.SpeciesCount(); ++p)
        QVERIFY(t.SpFreq()[p] <= t.SpFreq()[p - 1]);
    QCOMPARE(Q(t.Text(1, t.FNRow() + 1)), QStringLiteral("   1"));

    // Save; a second save to the same name asks first, and Abort keeps the file.
    const QString path = QDir(tmp.path()).filePath(QStringLiteral("road.vtb"));
    s.dialogs->files << path;
    w.saveTable();
    QCOMPARE(s.dialogs->proposedSaveName, QStringLiteral("ブナ－チシマザサ.vtb"));
    const QByteArray saved = FileBytes(path);
    QVERIFY(!saved.isEmpty());
    QVERIFY(s.dialogs->questions.isEmpty());
    const QStringList before = UsedTexts(t);
    std::vector<tavik::LayerCovers> covers;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        for (int p = 1; p <= t.SpeciesCount(); ++p)
            covers.push_back(t.Covers(t.ReleveKeyAt(q), t.SpeciesKeyAt(p)));
    w.sortReleves();
    w.rangePanel()->setDescending(false);
    w.applyRange();
    s.dialogs->files << path;
    s.dialogs->answers << false;
    w.saveTable();
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("同名のファイルが存在します。書き換えますか？")});
    QCOMPARE(FileBytes(path), saved);

    // Clear, load, compare.
    w.clearTable();
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(t.ColCount(), 27);
    QCOMPARE(w.statusText(1), QStringLiteral(" 測定数：0"));
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

void TestMainWindow::deleteAndInsertWithCascades() {
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
    w.deleteRow();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この行を削除しますか？"));
    QCOMPARE(UsedTexts(t), start);

    // D was the only species of relevé 3: its column goes too.
    s.dialogs->answers << true;
    w.deleteRow();
    QCOMPARE(t.SpeciesCount(), 3);
    QCOMPARE(t.ReleveCount(), 2);
    QCOMPARE(w.statusText(1), QStringLiteral(" 測定数：2"));
    QCOMPARE(w.statusText(2), QStringLiteral(" 種数：3"));

    // An inserted empty row above A, then deleting relevé 1 removes B and the empty row.
    const int spareKey = t.SpeciesKeyAt(4);
    g->setCurrentCell(2, fn + 1);
    s.dialogs->answers << true;
    w.insertRow();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この上に行を挿入しますか？"));
    QCOMPARE(t.SpeciesCount(), 4);
    QCOMPARE(t.SpeciesKeyAt(1), spareKey);
    QCOMPARE(Q(t.Text(2, fn + 1)), QString());
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("A"));
    g->setCurrentCell(4, 2);
    s.dialogs->answers << true;
    w.deleteColumn();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この列を削除しますか？"));
    QCOMPARE(t.ReleveCount(), 1);
    QCOMPARE(t.SpeciesCount(), 2);
    QCOMPARE(Q(t.Text(2, fn + 1)), QStringLiteral("A"));
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("C"));

    // An inserted column left of the only relevé.
    g->setCurrentCell(4, 2);
    s.dialogs->answers << true;
    w.insertColumn();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この左に列を挿入しますか？"));
    QCOMPARE(t.ReleveCount(), 2);
    QVERIFY(t.Text(4, fn + 1).empty());
    QVERIFY(!t.Text(5, fn + 1).empty());

    // A comment replaces the name; cancelling the box keeps it.
    g->setCurrentCell(2, fn + 2);
    s.dialogs->texts << QString();
    w.writeComment();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("C"));
    QCOMPARE(s.dialogs->lastPrompt, QStringLiteral("C"));
    s.dialogs->texts << QStringLiteral("― 林縁の種 ―");
    w.writeComment();
    QCOMPARE(Q(t.Text(2, fn + 2)), QStringLiteral("― 林縁の種 ―"));
    QCOMPARE(Q(t.Text(3, fn + 2)), QStringLiteral("   1"));
}

void TestMainWindow::speedButtonsAndPressRules() {
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
    w.onGridPressed(Qt::RightButton, {}, 1, rowB, at);
    QVERIFY(w.rowButtons()->isVisible());
    QVERIFY(!w.columnButtons()->isVisible());
    QCOMPARE(g->currentRow(), rowB);
    w.onDeleteRowButton(Qt::LeftButton);
    QVERIFY(!w.rowButtons()->isVisible());
    QCOMPARE(t.SpeciesCount(), 4);
    QVERIFY(s.dialogs->questions.isEmpty());

    // Sliding onto 行を削除する and releasing the right button there deletes B.
    w.onGridPressed(Qt::RightButton, {}, 1, rowB, at);
    auto* del = w.rowButtons()->findChild<QAbstractButton*>(QStringLiteral("deleteRowButton"));
    QVERIFY(del);
    const QPoint over = g->viewport()->mapFromGlobal(del->mapToGlobal(del->rect().center()));
    s.dialogs->answers << true;
    w.onGridReleased(Qt::RightButton, {}, -1, -1, over);
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("この行を削除しますか？")});
    QCOMPARE(t.SpeciesCount(), 3);
    QCOMPARE(RowOf(t, "B"), -1);
    QVERIFY(!w.rowButtons()->isVisible());

    // The same with real mouse events: press on the row's fixed part, release over
    // 行を挿入する (the grid holds the mouse, so the release arrives at the grid).
    const int rowC = RowOf(t, "C");
    QTest::mousePress(g->viewport(), Qt::RightButton, {}, g->cellRect(1, rowC).center());
    QVERIFY(w.rowButtons()->isVisible());
    auto* ins = w.rowButtons()->findChild<QAbstractButton*>(QStringLiteral("insertRowButton"));
    s.dialogs->answers << true;
    QTest::mouseRelease(g->viewport(), Qt::RightButton, {},
                        g->viewport()->mapFromGlobal(ins->mapToGlobal(ins->rect().center())));
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("この上に行を挿入しますか？"));
    QCOMPARE(t.SpeciesCount(), 4);
    QCOMPARE(RowOf(t, "C"), rowC + 1);
    QVERIFY(!w.rowButtons()->isVisible());

    // Right press on a header cell of a relevé column: its buttons.
    w.onGridPressed(Qt::RightButton, {}, 5, 2, g->cellRect(5, 2).center());
    QVERIFY(w.columnButtons()->isVisible());
    QCOMPARE(g->currentColumn(), 5);
    w.onGridReleased(Qt::RightButton, {}, 5, 2, g->cellRect(5, 2).center());
    QVERIFY(!w.columnButtons()->isVisible());

    // No panel on the fixed part of a header row, nor on the F＼N row of a relevé column.
    w.onGridPressed(Qt::RightButton, {}, 2, 2, g->cellRect(2, 2).center());
    w.onGridPressed(Qt::RightButton, {}, 5, fn, g->cellRect(5, fn).center());
    QVERIFY(!w.rowButtons()->isVisible());
    QVERIFY(!w.columnButtons()->isVisible());
    w.onGridReleased(Qt::RightButton, {}, 5, fn, g->cellRect(5, fn).center());

    // A long header text shows in full while pressed and with Shift held; short ones do not.
    w.workspace().table.SetHeaderText(t.ReleveKeyAt(2), 3, "鳥海山北麓");
    w.onGridPressed(Qt::LeftButton, {}, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(w.cellTextPanel()->isVisible());
    QCOMPARE(w.cellTextPanel()->text(), QStringLiteral("鳥海山北麓"));
    w.onGridReleased(Qt::LeftButton, {}, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(!w.cellTextPanel()->isVisible());
    w.onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier, 5, 3, g->cellRect(5, 3).center());
    QVERIFY(w.cellTextPanel()->isVisible());
    w.onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier, 4, 1, g->cellRect(4, 1).center());
    QVERIFY(!w.cellTextPanel()->isVisible());
    w.onGridMouseMoved(Qt::NoButton, Qt::ShiftModifier | Qt::ControlModifier, 5, 3,
                        g->cellRect(5, 3).center());
    QVERIFY(!w.cellTextPanel()->isVisible());
}

void TestMainWindow::commandsOffTheUsedPartDoNothing() {
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
    for (QPoint cell : {QPoint(2, 3), QPoint(5, fn), QPoint(2, fn + 30), QPoint(2, 1),
                        QPoint(20, 2), QPoint(1, fn + 1)}) {
        g->setCurrentCell(cell.x(), cell.y());
        s.dialogs->answers << true << true << true << true;
        s.dialogs->texts << QStringLiteral("x");
        if (cell.y() <= fn || cell.y() > fn + t.SpeciesCount() + 1) {
            w.deleteRow();
            w.insertRow();
            w.writeComment();
        }
        if (cell.x() < 4 || cell.x() > t.ReleveCount() + 4) {
            w.deleteColumn();
            w.insertColumn();
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

void TestMainWindow::draggingRowsAndColumns() {
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

void TestMainWindow::hidingRangesAndSiteRows() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    std::vector<std::vector<std::string>> rel(6, {"a", "b", "c", "d", "e", "f"});
    w.workspace().table = tavik::testing::MakeTable(rel);
    w.showTableStatus();
    const Table& t = w.workspace().table;
    const int fn = t.FNRow(), h = t.DefaultRowHeight(), cw = t.DefaultColWidth();
    auto* g = w.grid();
    auto* panel = w.rangePanel();

    // The instruction, a drag over three rows of one column, the panel, 実行.
    w.toggleHiddenRanges();
    QVERIFY(w.rangeMode() == RangeMode::Hide);
    QVERIFY(w.actions().hideRanges->isChecked());
    QCOMPARE(w.workMessage()->line1(), QStringLiteral("行・列の範囲指定は、マウスの"));
    QCOMPARE(w.workMessage()->line2(), QStringLiteral("左ボタンを押しながらドラッグする"));
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 2, {});
    QVERIFY(g->rangeSelect());
    QVERIFY(!g->rowMoving());
    g->setSelectedRect(QRect(QPoint(5, fn + 2), QPoint(5, fn + 4)));
    w.onGridReleased(Qt::LeftButton, {}, 5, fn + 4, {});
    QVERIFY(panel->isVisible());
    QVERIFY(!w.workMessage()->isVisible());
    QCOMPARE(panel->title(), QStringLiteral("一時的に隠す範囲の指定"));
    QVERIFY(Child<QGroupBox>(panel, "sortOrder")->isHidden());
    QVERIFY(Child<QSpinBox>(panel, "firstReleve")->isHidden());
    QVERIFY(!Child<QSpinBox>(panel, "firstSpecies")->isHidden());
    QCOMPARE(panel->range().p1, 2);
    QCOMPARE(panel->range().p2, 4);
    w.applyRange();
    QCOMPARE(t.RowHeight(fn + 1), h);
    QCOMPARE(t.RowHeight(fn + 2), 1);
    QCOMPARE(t.RowHeight(fn + 3), -1);
    QCOMPARE(t.RowHeight(fn + 4), 0);
    for (int c = 4; c <= 9; ++c) QCOMPARE(t.ColWidth(c), cw);
    QVERIFY(w.rangeMode() == RangeMode::None);
    QVERIFY(w.actions().hideRanges->isChecked());
    // The tick shows everything again.
    w.toggleHiddenRanges();
    QVERIFY(!w.actions().hideRanges->isChecked());
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);

    // Columns over two rows: the columns go, the rows stay.
    w.toggleHiddenRanges();
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(8, fn + 2)));
    w.onGridReleased(Qt::LeftButton, {}, 8, fn + 2, {});
    w.applyRange();
    QCOMPARE(t.ColWidth(5), 1);
    QCOMPARE(t.ColWidth(6), -1);
    QCOMPARE(t.ColWidth(8), -1);
    QCOMPARE(t.ColWidth(9), cw);
    QCOMPARE(t.RowHeight(fn + 1), h);
    w.toggleHiddenRanges();
    QCOMPARE(t.ColWidth(6), cw);

    // A real drag over the grid, through the instruction lying over it.
    w.resize(900, 700);
    w.toggleHiddenRanges();
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
    w.toggleHiddenRanges();

    // 中止 changes nothing and gives the grid its moving back.
    w.toggleHiddenRanges();
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(8, fn + 5)));
    w.onGridReleased(Qt::LeftButton, {}, 8, fn + 5, {});
    w.cancelRange();
    QVERIFY(!panel->isVisible());
    QVERIFY(!w.actions().hideRanges->isChecked());
    QVERIFY(w.rangeMode() == RangeMode::None);
    QVERIFY(g->rowMoving());
    QVERIFY(!g->rangeSelect());
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    QVERIFY(g->rowMoving());

    // A block stays hidden, and ticked, when a sort panel opened meanwhile is cancelled;
    // Enter in the range panel runs 実行, Esc 中止.
    w.toggleHiddenRanges();
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    g->setSelectedRect(QRect(QPoint(5, fn + 1), QPoint(5, fn + 4)));
    w.onGridReleased(Qt::LeftButton, {}, 5, fn + 4, {});
    QTest::keyClick(Child<QSpinBox>(panel, "lastSpecies"), Qt::Key_Return);
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.RowHeight(fn + 2), -1);
    w.sortSpecies();
    QVERIFY(panel->isVisible());
    QTest::keyClick(Child<QSpinBox>(panel, "firstSpecies"), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.RowHeight(fn + 2), -1);
    QVERIFY(w.actions().hideRanges->isChecked());
    w.toggleHiddenRanges();
    for (int p = 1; p <= 6; ++p) QCOMPARE(t.RowHeight(fn + p), h);
    QVERIFY(!w.actions().hideRanges->isChecked());

    // Site rows: rows 3..FNRow-1 collapse; presses select ranges meanwhile.
    w.toggleSiteRows();
    QVERIFY(w.actions().hideSiteRows->isChecked());
    QVERIFY(w.rangeMode() == RangeMode::SiteRowsHidden);
    QCOMPARE(t.RowHeight(2), h);
    QCOMPARE(t.RowHeight(3), 0);
    QCOMPARE(t.RowHeight(fn - 1), -1);
    QCOMPARE(t.RowHeight(fn), h);
    w.onGridPressed(Qt::LeftButton, {}, 5, fn + 1, {});
    QVERIFY(g->rangeSelect());
    w.toggleSiteRows();
    QVERIFY(!w.actions().hideSiteRows->isChecked());
    QVERIFY(w.rangeMode() == RangeMode::None);
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

void TestMainWindow::searchHits() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    w.workspace().table = tavik::testing::MakeTable({{"ブナ", "イヌブナ", "ミズナラ"}, {"ブナ"}});
    w.workspace().table.SetHeaderText(w.workspace().table.ReleveKeyAt(2), 3, "ブナ平");
    w.showTableStatus();
    const int fn = w.workspace().table.FNRow();
    auto* p = w.searchPanel();
    auto* g = w.grid();

    w.showSearchPanel();
    QVERIFY(p->isVisible());
    QCOMPARE(Child<QLabel>(p, "searchPrompt")->text(), QStringLiteral("検索する文字列"));
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral(" ブナ "));
    w.onSearchPartial();
    QVERIFY(!p->isVisible());
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 1}, {2, fn + 2}, {5, 3}}));
    QCOMPARE(Child<QComboBox>(p, "searchText")->count(), 1);
    QCOMPARE(Child<QComboBox>(p, "searchText")->itemText(0), QStringLiteral(" ブナ "));

    w.showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ブナ"));
    w.onSearchExact();
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 1}}));

    // Enter searches partially; Esc only closes and keeps the hits.
    w.showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ナラ"));
    QTest::keyClick(Child<QComboBox>(p, "searchText")->lineEdit(), Qt::Key_Return);
    QCOMPARE(g->searchHits(), (std::vector<QPoint>{{2, fn + 3}}));
    QCOMPARE(Child<QComboBox>(p, "searchText")->count(), 3);
    w.showSearchPanel();
    QTest::keyClick(Child<QComboBox>(p, "searchText")->lineEdit(), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
    QCOMPARE(g->searchHits().size(), std::size_t(1));

    // A blank search clears the hits, so does the release.
    w.showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("   "));
    w.onSearchPartial();
    QVERIFY(g->searchHits().empty());
    w.showSearchPanel();
    Child<QComboBox>(p, "searchText")->setEditText(QStringLiteral("ブナ"));
    w.onSearchPartial();
    QVERIFY(!g->searchHits().empty());
    // Esc on a button of the panel cancels, the hits stay.
    w.showSearchPanel();
    QTest::keyClick(Child<QPushButton>(p, "searchPartial"), Qt::Key_Escape);
    QVERIFY(!p->isVisible());
    QVERIFY(!g->searchHits().empty());
    w.resetSearch();
    QVERIFY(g->searchHits().empty());
    // Clearing the table forgets hits too.
    w.onSearchPartial();
    w.clearTable();
    QVERIFY(g->searchHits().empty());
}

void TestMainWindow::quitWritesSettingsOnlyThere() {
    QTemporaryDir tmp;
    const QString ini = QDir(tmp.path()).filePath(QStringLiteral("tavik.ini"));
    {
        auto s = StartWindow(tmp.path());
        s.w->show();
        s.w->resize(760, 560);
        s.w->close();  // not by Quit: nothing written
        QVERIFY(!QFile::exists(ini));
    }
    {
        auto s = StartWindow(tmp.path());
        s.w->show();
        s.w->resize(760, 560);
        s.w->quit();
        QVERIFY(!s.w->isVisible());
        QVERIFY(QFile::exists(ini));
        QVERIFY(s.dialogs->errors.isEmpty());
    }
    {
        auto s = StartWindow(tmp.path());
        QCOMPARE(s.w->size(), QSize(760, 560));
        // A settings file that cannot be written: a message, and the window stays.
        QFile blocker(QDir(tmp.path()).filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        s.w->workspace().iniFileName = QDir(tmp.path()).filePath(QStringLiteral("file/sub/tavik.ini")).toStdString();
        s.w->show();
        s.w->quit();
        QVERIFY(s.w->isVisible());
        QCOMPARE(s.dialogs->errors.size(), 1);
        QVERIFY(s.dialogs->errors.front().contains(QStringLiteral("書き込めません")));
    }
}

void TestMainWindow::badInputLeavesTheTable() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    const Table& t = w.workspace().table;
    const QStringList start = UsedTexts(t);

    // A damaged saved table: a message naming the file; the table stays.
    const QString bad = QDir(tmp.path()).filePath(QStringLiteral("壊れた表.vtb"));
    {
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("title\r\n3 x 19\r\n");
    }
    s.dialogs->files << bad;
    w.openTable();
    QCOMPARE(s.dialogs->errors.size(), 1);
    QVERIFY2(s.dialogs->errors.front().contains(QStringLiteral("壊れた表.vtb")),
             qPrintable(s.dialogs->errors.front()));
    QCOMPARE(UsedTexts(t), start);
    QCOMPARE(t.ReleveCount(), 3);
    QVERIFY(!w.workMessage()->isVisible());

    // A field-data file that is not there: the message of the reader; nothing changes.
    const std::string before = w.workspace().dataFileName;
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("nothing.tki"));
    w.chooseDataFile();
    QCOMPARE(s.dialogs->errors.size(), 2);
    QVERIFY(s.dialogs->errors.last().contains(QStringLiteral("正しいファイルが指定されていません")));
    QCOMPARE(w.workspace().dataFileName, before);
    QCOMPARE(UsedTexts(t), start);
    // Scanning without a usable file says so too and marks nothing.
    w.showRetrievalPanel();
    w.scanFieldData(false);
    QCOMPARE(s.dialogs->errors.size(), 3);
    QCOMPARE(w.workspace().retrieval.HitCount(), 0);
    w.closeRetrievalPanel();

    // A dictionary that is not there: no dictionary shown.
    s.dialogs->files << QDir(tmp.path()).filePath(QStringLiteral("none.dic"));
    w.readDictionary();
    QCOMPARE(w.statusText(3), QStringLiteral(" 変換辞書："));
    QCOMPARE(UsedTexts(t), start);
}

void TestMainWindow::manualAndAbout() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    s.w->openManual();
    QCOMPARE(s.dialogs->openedInBrowser.size(), 1);
    QVERIFY(s.dialogs->openedInBrowser.front().endsWith(QStringLiteral("manual/index.html")));
    s.w->showAbout();
    QCOMPARE(s.dialogs->modalShown, 1);
}

void TestMainWindow::scanCanBeStoppedAndLocksTheWindow() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    s.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    w.showRetrievalPanel();
    tavik::ui::WorkProgress::setPumpInterval(0);
    bool lockedWhileRunning = false;
    QTimer::singleShot(0, &w, [&] {
        lockedWhileRunning = !w.menuBar()->isEnabled() && !w.grid()->isEnabled() &&
                             !w.retrievalPanel()->findChild<QPushButton*>(QStringLiteral("putIntoTable"))->isEnabled() &&
                             w.workMessage()->cancelButton()->isVisible();
        w.workMessage()->cancelButton()->click();
    });
    w.scanFieldData(false);
    tavik::ui::WorkProgress::setPumpInterval(40);
    QVERIFY(lockedWhileRunning);
    QVERIFY(w.retrievalPanel()->searchingText().endsWith(QStringLiteral("中止")));
    QVERIFY(w.workspace().retrieval.HitCount() < 60);
    QVERIFY(w.menuBar()->isEnabled());
    QVERIFY(w.grid()->isEnabled());
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(!w.workMessage()->cancelButton()->isVisible());
    // The next scan runs to the end.
    w.scanFieldData(false);
    QCOMPARE(w.workspace().retrieval.HitCount(), 60);
    QCOMPARE(w.retrievalPanel()->searchingText(), QStringLiteral("60"));
}

void TestMainWindow::unreadableRelevesAreReported() {
    // The dune pair with its data file cut after record 23: relevés 19 and 20 lose their
    // species records and cannot be read.
    QTemporaryDir tmp;
    const QString tki = QDir(tmp.path()).filePath(QStringLiteral("cut.tki"));
    QVERIFY(QFile::copy(SharedData(QStringLiteral("dune/dune.tki")), tki));
    QFile tkd(SharedData(QStringLiteral("dune/dune.tkd")));
    QVERIFY(tkd.open(QIODevice::ReadOnly));
    QFile cut(QDir(tmp.path()).filePath(QStringLiteral("cut.tkd")));
    QVERIFY(cut.open(QIODevice::WriteOnly));
    cut.write(tkd.read(12000));
    cut.close();

    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    s.dialogs->files << tki;
    w.chooseDataFile();
    w.showRetrievalPanel();
    w.scanFieldData(false);
    QCOMPARE(w.workspace().retrieval.HitCount(), 18);
    QCOMPARE(s.dialogs->notices.size(), 1);
    QCOMPARE(s.dialogs->notices.last(), QStringLiteral("読み取れない測定 2 件をとばしました: 19, 20"));
    // Putting reads only the marked relevés, all readable: nothing more to report.
    s.dialogs->texts << QStringLiteral("Dune");
    w.putIntoTable();
    QCOMPARE(w.workspace().table.ReleveCount(), 18);
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->errors.isEmpty());
}

void TestMainWindow::settingsFontAndEmbeddedItems() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    // Another settings file: its items and its choice about the embedded items.
    s.dialogs->files << SharedData(QStringLiteral("example/example.ini"));
    w.readSettingsFile();
    QCOMPARE(t.FNRow(), 23);
    QCOMPARE(Q(w.workspace().iniFileName), SharedData(QStringLiteral("example/example.ini")));
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    // Declining the embedded items unticks them: choosing data keeps the settings' layout.
    s.dialogs->answers << false << true;
    w.toggleEmbeddedItems();
    QVERIFY(!w.actions().useEmbeddedItems->isChecked());
    s.dialogs->files << SharedData(QStringLiteral("example/example.tki"));
    w.chooseDataFile();
    QCOMPARE(t.FNRow(), 23);
    // Agreeing lays the table out from the data file's header.
    w.toggleEmbeddedItems();
    QVERIFY(w.actions().useEmbeddedItems->isChecked());
    QCOMPARE(t.FNRow(), 31);
    QCOMPARE(Q(t.Text(2, 5)), QStringLiteral("緯度（度分秒）"));

    // The table font: a new size, the grid laid out anew (nothing stays hidden).
    w.toggleSiteRows();
    QFont f(QStringLiteral("IPAMincho"));
    f.setPointSize(12);
    s.dialogs->fontAnswer = f;
    w.chooseTableFont();
    QCOMPARE(t.FontSize, 12);
    QCOMPARE(t.RowHeight(5), t.DefaultRowHeight());
    QVERIFY(!w.actions().hideSiteRows->isChecked());
    QVERIFY(w.rangeMode() == RangeMode::None);
    // Cancelling the font dialog keeps the font.
    s.dialogs->fontAnswer.reset();
    w.chooseTableFont();
    QCOMPARE(t.FontSize, 12);
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
