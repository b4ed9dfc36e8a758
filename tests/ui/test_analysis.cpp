// Reciprocal averaging and the constancy table from the menus, and the second window's
// buttons: copy, print, text and CSV writing, CSV reading, text merging, font, closing and
// showing again. Pictures of the score table, the options panel and a constancy table go
// to $TAVIK_SHOTS_DIR when it is set.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QtTest>

#include "core/covers.h"
#include "formats/codec.h"
#include "named_releves.h"
#include "scripted_dialogs.h"
#include "ui/constancy_panel.h"
#include "ui/freq_grid.h"
#include "ui/freq_window.h"
#include "ui/grid_widget.h"
#include "ui/work_message.h"

using tavik::testing::Fill;
using tavik::testing::SpeciesOrder;
using tavik::testing::StartWindow;

namespace {

QString Cp932File(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    std::string utf8;
    if (!tavik::Cp932ToUtf8(f.readAll().toStdString(), utf8)) return {};
    return QString::fromStdString(utf8);
}

}  // namespace

class TestAnalysis : public QObject {
    Q_OBJECT
private slots:
    void init() { tavik::ui::WorkProgress::setPumpInterval(0); }
    void reciprocalAveragingShowsScoresAndReorders();
    void reciprocalAveragingRefusesEmptyColumns();
    void constancyTableFromThePanel();
    void windowFilesRoundTrip();
    void printingGoesThroughThePrintDialog();
    void moreThanThirtyGroupsLeaveTheWindow();
    void screenshots();
};

void TestAnalysis::reciprocalAveragingShowsScoresAndReorders() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, {{"s1", "s2"}, {"s2", "s3"}, {"s3", "s4"}, {"s4", "s1"}}, "環");
    w.showTableStatus();
    QVERIFY(w.actions().reciprocalAveraging->isEnabled());
    s.dialogs->answers = {false, true};  // presence only; reorder
    w.actions().reciprocalAveraging->trigger();
    QCOMPARE(s.dialogs->questions, QStringList({QStringLiteral("反復平均法の計算に、優占度を考慮しますか？"),
                                                QStringLiteral("組成表の並びを変えますか？")}));
    auto* f = w.analysis()->freqWindow();
    QVERIFY(f->isVisible());
    QCOMPARE(f->windowTitle(), QStringLiteral("Reciprocal Averaging Score"));
    QVERIFY(!f->constancyMode());
    QVERIFY(!f->button("writeCsvButton")->isVisible());
    QVERIFY(f->button("printButton")->isVisible());
    // The copy button puts the score table, in the old order, on the clipboard.
    f->button("copyButton")->click();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("　植物名\tスコア\t\t測定ＩＤ\tスコア\r\n"
                                                               "s1\t0.0\t\t\t0.0\r\n"
                                                               "s2\t50.0\t\t\t100.0\r\n"
                                                               "s3\t100.0\t\t\t100.0\r\n"
                                                               "s4\t50.0\t\t\t0.0\r\n"));
    QCOMPARE(w.actions().showConstancyTable->text(), QStringLiteral("スコア表を再表示する"));
    QCOMPARE(SpeciesOrder(w.workspace().table), (std::vector<std::string>{"s1", "s2", "s4", "s3"}));
    QCOMPARE(w.workspace().table.ReleveKeyAt(2), 4);
    QVERIFY(!w.workMessage()->isVisible());

    // Closing hides the window; the menu item shows it again with the same content.
    f->button("closeButton")->click();
    QVERIFY(!f->isVisible());
    w.actions().showConstancyTable->trigger();
    QVERIFY(f->isVisible());
    QCOMPARE(f->table().Text(1, 2), std::string("50.0"));

    // Answering No to the reorder leaves the table as it is.
    s.dialogs->answers = {true, false};
    w.actions().reciprocalAveraging->trigger();
    QCOMPARE(SpeciesOrder(w.workspace().table), (std::vector<std::string>{"s1", "s2", "s4", "s3"}));
}

void TestAnalysis::reciprocalAveragingRefusesEmptyColumns() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, {{"a", "b"}, {}, {"b", "c"}}, "区切り");
    w.showTableStatus();
    const auto before = SpeciesOrder(w.workspace().table);
    s.dialogs->answers = {true, true};
    w.analysis()->reciprocalAveraging();
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY2(s.dialogs->notices[0].contains(QStringLiteral("2 列目")), qPrintable(s.dialogs->notices[0]));
    QVERIFY(!w.analysis()->freqWindow()->isVisible());
    // Refused before anything is asked: neither the dominance nor the reorder question.
    QVERIFY(s.dialogs->questions.isEmpty());
    QCOMPARE(SpeciesOrder(w.workspace().table), before);
    QVERIFY(!w.workMessage()->isVisible());
}

void TestAnalysis::constancyTableFromThePanel() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, {{"a", "b"}, {"a"}, {}, {"b", "c"}, {"c"}, {"a", "c"}}, "表");
    w.showTableStatus();
    w.actions().makeConstancyTable->trigger();
    auto* panel = w.analysis()->constancyPanel();
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->releveCountText(), QStringLiteral("5"));
    QCOMPARE(panel->groupCountText(), QStringLiteral("2"));
    QCOMPARE(panel->findChild<QLineEdit*>(QStringLiteral("constancyTitle"))->text(), QStringLiteral("表常在度表"));
    // Cancel hides it, nothing else.
    panel->findChild<QAbstractButton*>(QStringLiteral("cancelConstancy"))->click();
    QVERIFY(!panel->isVisible());
    QVERIFY(!w.analysis()->freqWindow()->isVisible());

    w.actions().makeConstancyTable->trigger();
    panel->findChild<QRadioButton*>(QStringLiteral("constancyKind2"))->setChecked(true);
    panel->findChild<QAbstractButton*>(QStringLiteral("outputConstancy"))->click();
    QVERIFY(!panel->isVisible());
    auto* f = w.analysis()->freqWindow();
    QVERIFY(f->isVisible());
    QVERIFY(f->constancyMode());
    QVERIFY(f->button("writeCsvButton")->isVisible());
    QCOMPARE(f->windowTitle(), QStringLiteral("表常在度表"));
    f->copyToClipboard();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("　群落区分\tA\tB\r\n　測定数\t2\t3\r\n　平均種数\t1.5\t1.7\r\n"
                            "a\t２\t１\r\nb\t１\t１\r\nc\t・\t３\r\n"));
    QCOMPARE(w.actions().showConstancyTable->text(), QStringLiteral("常在度表を再表示する"));
    // The choice stays for the next time.
    w.actions().makeConstancyTable->trigger();
    QVERIFY(panel->findChild<QRadioButton*>(QStringLiteral("constancyKind2"))->isChecked());
}

void TestAnalysis::windowFilesRoundTrip() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, {{"a", "b"}, {"a"}, {}, {"b", "c"}}, "表");
    w.showTableStatus();
    w.analysis()->showConstancyPanel();
    w.analysis()->makeConstancyTable();
    auto* f = w.analysis()->freqWindow();
    const QString shown = f->clipboardText();

    // Text and CSV writing; an existing file is replaced only after Yes.
    const QString txt = tmp.filePath(QStringLiteral("c.txt")), csv = tmp.filePath(QStringLiteral("c.csv"));
    s.dialogs->files = {txt, csv};
    f->button("writeTextButton")->click();
    f->button("writeCsvButton")->click();
    QCOMPARE(s.dialogs->proposedSaveName, QStringLiteral("表常在度表.csv"));
    QVERIFY(Cp932File(txt).startsWith(QStringLiteral("#T\r\n")));
    QVERIFY(Cp932File(txt).contains(
        QStringLiteral("#S\r\n　群落区分,A\r\n　測定数,2\r\n　平均種数,1.5\r\na,２ 1\r\nb,１ 1\r\n#E\r\n")));
    QCOMPARE(Cp932File(csv).section(QStringLiteral("\r\n"), 0, 1), QStringLiteral("表常在度表\r\n　群落区分,A,B"));
    s.dialogs->files = {csv};
    s.dialogs->answers = {false};  // Abort
    const QFileInfo old(csv);
    const QDateTime written = old.lastModified();
    QFile::remove(txt);
    s.dialogs->files << txt;  // and a text file where none is: no question
    f->button("writeCsvButton")->click();
    f->button("writeTextButton")->click();
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("同名のファイルが存在します。書き換えますか？")});
    QCOMPARE(QFileInfo(csv).lastModified(), written);
    QVERIFY(QFile::exists(txt));

    // A CSV that is not a table: a message with the file and line, the window unchanged.
    const QString bad = tmp.filePath(QStringLiteral("bad.csv"));
    {
        QFile b(bad);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write("only a title\r\n");
    }
    s.dialogs->files = {bad};
    f->button("readCsvButton")->click();
    QCOMPARE(s.dialogs->errors.size(), 1);
    QVERIFY(s.dialogs->errors[0].contains(QStringLiteral("bad.csv の 2 行目")));
    QCOMPARE(f->clipboardText(), shown);

    // Reading the CSV back gives the same table; merging the text file adds its groups.
    s.dialogs->files = {csv};
    f->button("readCsvButton")->click();
    QCOMPARE(f->clipboardText(), shown);
    QCOMPARE(f->windowTitle(), QStringLiteral("表常在度表"));
    s.dialogs->files = {txt};
    f->button("readTextButton")->click();
    QCOMPARE(f->table().ColCount(), 5);
    QCOMPARE(f->table().Text(3, 0), std::string("A"));
    QCOMPARE(f->table().Text(4, 5), std::string("１ 1"));
    QCOMPARE(f->table().Text(3, 5), std::string(""));  // "・" cells come back empty

    // The font: rows follow its size, columns the widest text of the first species row.
    s.dialogs->fontAnswer = QFont(f->tableFont().family(), 18);
    f->button("fontButton")->click();
    QCOMPARE(f->table().defaultRowHeight, 26);
    QCOMPARE(f->table().ColWidth(0), 360);
    QVERIFY(f->table().defaultColWidth > 7);
}

void TestAnalysis::printingGoesThroughThePrintDialog() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    Fill(w.workspace().table, {{"ブナ", "ササ"}, {"ブナ"}}, "印刷");
    w.showTableStatus();
    w.analysis()->showConstancyPanel();
    w.analysis()->makeConstancyTable();
    auto* f = w.analysis()->freqWindow();
    const QString pdf = tmp.filePath(QStringLiteral("p.pdf"));
    f->button("printButton")->click();  // cancelled: nothing printed
    QVERIFY(!QFile::exists(pdf));
    s.dialogs->printPdf = pdf;
    f->button("printButton")->click();
    QVERIFY(QFile::exists(pdf));
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext is not installed");
    QProcess p;
    p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    QVERIFY(p.waitForFinished(20000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("印刷常在度表")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("ブナ")) && text.contains(QStringLiteral("２ 1")), qPrintable(text));
}

void TestAnalysis::moreThanThirtyGroupsLeaveTheWindow() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    std::vector<std::vector<std::string>> rels;
    for (int g = 0; g < 31; ++g) {
        if (g > 0) rels.push_back({});
        rels.push_back({"a"});
    }
    Fill(w.workspace().table, rels, "多");
    w.showTableStatus();
    w.analysis()->showConstancyPanel();
    QCOMPARE(w.analysis()->constancyPanel()->groupCountText(), QStringLiteral("31"));
    w.analysis()->makeConstancyTable();
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->notices[0].contains(QStringLiteral("31")));
    QVERIFY(!w.analysis()->freqWindow()->isVisible());
    QCOMPARE(w.analysis()->freqWindow()->windowTitle(), QStringLiteral("常在度表"));
}

void TestAnalysis::screenshots() {
    const QString dir = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir);
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    auto& w = *s.w;
    w.loadTable(QStringLiteral(TAVIK_SOURCE_DIR "/examples/example.vtb"));
    // The example records one species only as "(": it weighs nothing. Record it as "+".
    tavik::Table& t = w.workspace().table;
    for (int q = 1; q <= t.ReleveCount(); ++q)
        for (const tavik::Cell& c : t.CellsOf(t.ReleveKeyAt(q)))
            if (t.SpeciesName(c.species) == "ギンリョウソウ") {
                tavik::LayerCovers plus;
                plus[4] = 1;
                t.SetCovers(t.ReleveKeyAt(q), c.species, plus);
            }
    w.resize(1100, 720);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    auto* f = w.analysis()->freqWindow();
    s.dialogs->answers = {true, false};
    w.analysis()->reciprocalAveraging();
    QVERIFY(QTest::qWaitForWindowExposed(f));
    QCoreApplication::processEvents();
    QVERIFY(f->grab().save(QDir(dir).filePath(QStringLiteral("analysis_1_scores.png"))));
    w.analysis()->showConstancyPanel();
    QCoreApplication::processEvents();
    QVERIFY(w.grab().save(QDir(dir).filePath(QStringLiteral("analysis_2_constancy_panel.png"))));
    w.analysis()->makeConstancyTable();
    QCoreApplication::processEvents();
    QVERIFY(f->grab().save(QDir(dir).filePath(QStringLiteral("analysis_3_constancy_table.png"))));
    // Groups: empty columns after every tenth relevé.
    for (int q : {51, 41, 31, 21, 11}) t.InsertColumn(q + 3);
    t.Recount();
    w.showTableStatus();
    w.analysis()->showConstancyPanel();
    w.analysis()->constancyPanel()->setKind(tavik::ConstancyKind::ClassesTenWithCover);
    w.analysis()->makeConstancyTable();
    QCoreApplication::processEvents();
    QVERIFY(f->grab().save(QDir(dir).filePath(QStringLiteral("analysis_4_constancy_groups.png"))));
}

QTEST_MAIN(TestAnalysis)
#include "test_analysis.moc"
