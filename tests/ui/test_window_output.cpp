// The outputs through the window: the output panel in each mode, the files it writes
// against what the output library writes for the same choices, cancelling, the title,
// printing into a PDF file, the site exports, the font of printing and the configuration
// of the header items.
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <unistd.h>

#include "formats/saved_table.h"
#include "output/outputs.h"
#include "output/site_exports.h"
#include "print/table_font.h"
#include "tests/support/fault_inject.h"
#include "ui/output_panel.h"
#include "ui/user_dialogs.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using tavik::OutputMode;
using tavik::OutputOptions;
using tavik::Table;
using tavik::ui::OutputPanel;
using tavik::ui::S;
using namespace tavik::testing;

namespace {

// A window with the example table of 60 relevés (and its settings) loaded.
Started WithExampleTable(const QString& dir) {
    auto s = StartWindow(dir);
    s.w->loadTable(TestDataFile(QStringLiteral("example/example.vtb")));
    return s;
}

QByteArray Saved(const Table& t) { return QByteArray::fromStdString(tavik::SavedTableBytes(t)); }

void RightClick(QWidget* w) { QTest::mouseClick(w, Qt::RightButton, {}, QPoint(6, w->height() / 2)); }

template <class T>
T* PanelChild(const MainWindow& w, const char* name) {
    return Child<T>(w.output()->panel(), name);
}

// The entries of a zip file (an .xlsx) by name and content, leaving out the document
// properties that carry the time of writing. Empty when no python is there to read it.
QString ZipContents(const QString& path) {
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty()) return {};
    QProcess p;
    p.start(python, {QStringLiteral("-c"),
                     QStringLiteral("import sys,zipfile,hashlib\n"
                                    "z=zipfile.ZipFile(sys.argv[1])\n"
                                    "for n in sorted(z.namelist()):\n"
                                    "  if n!='docProps/core.xml': print(n, hashlib.sha1(z.read(n)).hexdigest())\n"),
                     path});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

class TestWindowOutput : public QObject {
    Q_OBJECT
private slots:
    void eachModeShowsItsControls();
    void filesEqualTheLibrarysFiles();
    void cancellingChangesNothing();
    void titleFromAnItemIsStoredOnOutput();
    void printingIntoAPdfFile();
    void aPdfTheDiskDidNotTakeKeepsTheOldFile();
    void printingCountsTheTableAsAStep();
    void siteExportsNeedTheirItems();
    void fontOfPrintingIsKept();
    void configurationLaysOutTheHeaderItems();
    void realPrintDialogsOffscreen();
    void screenshots();
};

void TestWindowOutput::eachModeShowsItsControls() {
    QTemporaryDir tmp;
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    OutputPanel* panel = w.output()->panel();
    const auto enabledBefore = t.ItemBoxes;
    const int steps = w.undoStack()->count();
    struct Mode {
        void (OutputController::*open)();
        OutputMode mode;
        const char* action;
    };
    const Mode modes[] = {{&OutputController::showTextOutput, OutputMode::Text, "textFile"},
                          {&OutputController::showSpreadsheetOutput, OutputMode::Spreadsheet, "excelFile"},
                          {&OutputController::showPrintOutput, OutputMode::Print, "printTable"},
                          {&OutputController::showSimplePrintOutput, OutputMode::SimplePrint, "printBrief"},
                          {&OutputController::showValueMatrixOutput, OutputMode::ValueMatrix, "valueMatrix"},
                          {&OutputController::showPCordOutput, OutputMode::PCordMatrix, "pcordCsv"}};
    for (const Mode& m : modes) {
        // Each command opens the panel from its menu item.
        Action(w, m.action)->trigger();
        QVERIFY2(panel->isVisible(), m.action);
        QVERIFY(panel->mode() == m.mode);
        QCOMPARE(PanelChild<QLabel>(w, "outputHeading")->text(), QString::fromUtf8(OutputModeHeading(m.mode)));
        const bool printing = m.mode == OutputMode::Print || m.mode == OutputMode::SimplePrint;
        const bool matrix = m.mode == OutputMode::ValueMatrix || m.mode == OutputMode::PCordMatrix;
        QCOMPARE(PanelChild<QFrame>(w, "outputFontPanel")->isVisible(), printing);
        QCOMPARE(PanelChild<QLabel>(w, "matrixNote")->isVisible(), matrix);
        QVERIFY(!PanelChild<QPushButton>(w, "editItemCaption")->isVisible());
        QCOMPARE(PanelChild<QPushButton>(w, "runOutput")->text(), QStringLiteral("出力する"));
        QCOMPARE(PanelChild<QCheckBox>(w, "frequencyBox")->isEnabled(), !matrix);
        QCOMPARE(PanelChild<QCheckBox>(w, "onceSpeciesBox")->isEnabled(), !matrix);
        QCOMPARE(PanelChild<QGroupBox>(w, "methodBox")->isEnabled(), matrix);
        QCOMPARE(PanelChild<QGroupBox>(w, "directionBox")->isEnabled(), m.mode == OutputMode::ValueMatrix);
        for (int n = 1; n <= tavik::kItemCount; ++n) {
            QCheckBox* box = panel->itemBox(n);
            const bool shown = t.HeaderRowOfItem(n) > 0;
            QCOMPARE(box->text(), Q(t.ItemBoxes[n].caption));
            QCOMPARE(box->isEnabled(), shown && !matrix);
            if (shown) QVERIFY(box->isChecked());
        }
        QCOMPARE(panel->titleField()->text(), Q(t.TableTitle));
        QCOMPARE(PanelChild<QSpinBox>(w, "lastSpecies")->maximum(), t.SpeciesCount());
        QCOMPARE(PanelChild<QSpinBox>(w, "lastReleve")->value(), t.ReleveCount());
        PanelChild<QSpinBox>(w, "lastReleve")->setValue(1000);
        QCOMPARE(PanelChild<QSpinBox>(w, "lastReleve")->value(), t.ReleveCount());
        w.output()->cancelOutput();
        QVERIFY(!panel->isVisible());
    }
    // Opening and closing the panel on a counted table is no step to undo.
    QCOMPARE(w.undoStack()->count(), steps);
    // Greying for the matrices left the table's items as they were.
    for (int n = 1; n <= tavik::kItemCount; ++n) QCOMPARE(t.ItemBoxes[n].enabled, enabledBefore[n].enabled);

    // Esc is 取止める.
    w.output()->showTextOutput();
    QTest::keyClick(PanelChild<QPushButton>(w, "runOutput"), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());

    // An item unticked is ticked again at the next opening.
    w.output()->showTextOutput();
    panel->itemBox(3)->setChecked(false);
    w.output()->cancelOutput();
    w.output()->showTextOutput();
    QVERIFY(panel->itemBox(3)->isChecked());
    // The extras keep their state between openings, and the settings file keeps them.
    PanelChild<QCheckBox>(w, "frequencyBox")->setChecked(!w.workspace().settings.frequency);
    const bool frequency = PanelChild<QCheckBox>(w, "frequencyBox")->isChecked();
    QCOMPARE(w.workspace().settings.frequency, frequency);  // also when quitting with the panel open
    w.output()->cancelOutput();
    QCOMPARE(w.workspace().settings.frequency, frequency);
    w.output()->showValueMatrixOutput();
    Child<QAbstractButton>(panel, "method4")->click();
    Child<QAbstractButton>(panel, "direction1")->click();
    w.output()->cancelOutput();
    QCOMPARE(w.workspace().settings.cvMethod, 4);
    QCOMPARE(w.workspace().settings.direction, 1);
    w.output()->showPCordOutput();
    QVERIFY(Child<QAbstractButton>(panel, "method4")->isChecked());
    w.output()->cancelOutput();

    // Without relevés the outputs are not offered.
    w.clearTable();
    for (const char* name : kOutputs) QVERIFY2(!Action(w, name)->isEnabled(), name);
    w.output()->showTextOutput();
    QVERIFY(!panel->isVisible());
}

void TestWindowOutput::filesEqualTheLibrarysFiles() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    OutputPanel* panel = w.output()->panel();
    const tavik::Settings settings = w.workspace().settings;

    // The same choices in the panel and in the options the command line would make.
    const auto choose = [&](OutputMode mode) {
        OutputOptions o = tavik::OutputOptionsFor(mode, w.workspace().table, settings);
        if (mode == OutputMode::Text || mode == OutputMode::Spreadsheet) {
            panel->itemBox(3)->setChecked(false);
            o.items[3] = false;
            PanelChild<QCheckBox>(w, "frequencyBox")->setChecked(true);
            PanelChild<QCheckBox>(w, "onceSpeciesBox")->setChecked(true);
            o.frequency = o.onceSpecies = true;
        } else {
            Child<QAbstractButton>(panel, "method2")->click();
            o.method = 2;
            if (mode == OutputMode::ValueMatrix) {
                Child<QAbstractButton>(panel, "direction1")->click();
                o.direction = 1;
            }
        }
        PanelChild<QSpinBox>(w, "firstSpecies")->setValue(3);
        PanelChild<QSpinBox>(w, "lastSpecies")->setValue(40);
        PanelChild<QSpinBox>(w, "firstReleve")->setValue(5);
        PanelChild<QSpinBox>(w, "lastReleve")->setValue(50);
        o.speciesFrom = 3;
        o.speciesTo = 40;
        o.releveFrom = 5;
        o.releveTo = 50;
        return o;
    };
    struct Case {
        void (OutputController::*open)();
        OutputMode mode;
        const char* name;
    };
    const Case cases[] = {{&OutputController::showTextOutput, OutputMode::Text, "t.txt"},
                          {&OutputController::showSpreadsheetOutput, OutputMode::Spreadsheet, "t.xlsx"},
                          {&OutputController::showValueMatrixOutput, OutputMode::ValueMatrix, "t-vm.csv"},
                          {&OutputController::showPCordOutput, OutputMode::PCordMatrix, "t-pcm.csv"}};
    for (const Case& c : cases) {
        (w.output()->*c.open)();
        const OutputOptions o = choose(c.mode);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        const QString ref = dir.filePath(QStringLiteral("ref_") + QString::fromLatin1(c.name));
        s.dialogs->files << path;
        w.output()->runOutput();
        QVERIFY2(s.dialogs->errors.isEmpty(), qPrintable(s.dialogs->errors.join('\n')));
        Table copy = w.workspace().table;
        tavik::WriteOutputFile(copy, o, S(ref));
        if (c.mode == OutputMode::Spreadsheet) {
            const QString mine = ZipContents(path);
            if (!mine.isEmpty()) QCOMPARE(mine, ZipContents(ref));
            else QVERIFY(QFileInfo(path).size() > 0);
        } else {
            QVERIFY2(!FileBytes(path).isEmpty(), c.name);
            QCOMPARE(FileBytes(path), FileBytes(ref));
        }
        // The prompt offers the title with the kind's suffix.
        QCOMPARE(s.dialogs->proposedSaveName,
                 Q(tavik::SuggestedOutputName(w.workspace().table.TableTitle, *tavik::FileKindOf(c.mode))));
    }
    // The PCord species list goes beside its matrix.
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("t-pcm.lst"))));
    QCOMPARE(FileBytes(dir.filePath(QStringLiteral("t-pcm.lst"))),
             FileBytes(dir.filePath(QStringLiteral("ref_t-pcm.lst"))));

    // The site exports write what the library writes, without the panel.
    const QString plot = dir.filePath(QStringLiteral("t-plot.csv"));
    s.dialogs->files << plot;
    w.output()->exportSiteData();
    tavik::WriteSiteData(w.workspace().table, S(dir.filePath(QStringLiteral("ref-plot.csv"))));
    QCOMPARE(FileBytes(plot), FileBytes(dir.filePath(QStringLiteral("ref-plot.csv"))));
    const QString pot = dir.filePath(QStringLiteral("t.pot"));
    s.dialogs->files << pot;
    Action(w, "gpsPot")->trigger();
    QCOMPARE(FileBytes(pot), QByteArray::fromStdString(tavik::GpsPoints(w.workspace().table)));
    const QString grd = dir.filePath(QStringLiteral("t.grd"));
    s.dialogs->files << grd;
    Action(w, "meshData")->trigger();
    tavik::WriteMeshData(w.workspace().table, S(dir.filePath(QStringLiteral("ref.grd"))));
    QCOMPARE(FileBytes(grd), FileBytes(dir.filePath(QStringLiteral("ref.grd"))));
    // The site exports replace their file without asking; the matrices ask first.
    s.dialogs->files << grd;
    w.output()->exportMeshData();
    QVERIFY(s.dialogs->questions.isEmpty());
    w.output()->showValueMatrixOutput();
    s.dialogs->files << dir.filePath(QStringLiteral("t-vm.csv"));
    s.dialogs->answers << true;
    w.output()->runOutput();
    QCOMPARE(s.dialogs->questions, QStringList{Q(tavik::kOverwriteQuestion)});
    QVERIFY(s.dialogs->errors.isEmpty());
}

void TestWindowOutput::cancellingChangesNothing() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const std::string title = w.workspace().table.TableTitle;
    const QString path = dir.filePath(QStringLiteral("out.txt"));

    // 取止める with an edited title.
    w.output()->showTextOutput();
    w.output()->panel()->titleField()->setText(QStringLiteral("別の表題"));
    w.output()->cancelOutput();
    QCOMPARE(w.workspace().table.TableTitle, title);

    // The file prompt cancelled: no file, the title as it was.
    w.output()->showTextOutput();
    w.output()->panel()->titleField()->setText(QStringLiteral("別の表題"));
    w.output()->runOutput();
    QCOMPARE(s.dialogs->proposedSaveName, QStringLiteral("別の表題.txt"));
    QCOMPARE(w.workspace().table.TableTitle, title);
    QVERIFY(dir.entryList(QDir::Files).isEmpty());

    // Abort at the overwrite question leaves the old file and the title.
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    w.output()->showTextOutput();
    w.output()->panel()->titleField()->setText(QStringLiteral("別の表題"));
    s.dialogs->files << path;
    s.dialogs->answers << false;
    w.output()->runOutput();
    QCOMPARE(FileBytes(path), QByteArray("old"));
    QCOMPARE(w.workspace().table.TableTitle, title);

    // A read-only file is replaced only when the user says so.
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    w.output()->showTextOutput();
    s.dialogs->files << path;
    s.dialogs->answers << true << false;
    w.output()->runOutput();
    QCOMPARE(s.dialogs->questions.last(), QStringLiteral("out.txt は読み取り専用です。置き換えますか？"));
    QCOMPARE(FileBytes(path), QByteArray("old"));
    w.output()->showTextOutput();
    s.dialogs->files << path;
    s.dialogs->answers << true << true;
    w.output()->runOutput();
    QVERIFY(FileBytes(path).size() > 100);
    QVERIFY(s.dialogs->errors.isEmpty());

    // The print dialog cancelled: nothing printed, the title as it was.
    w.output()->showPrintOutput();
    w.output()->panel()->titleField()->setText(QStringLiteral("印刷の表題"));
    w.output()->runOutput();
    QCOMPARE(w.workspace().table.TableTitle, title);

    // A folder that cannot be written: a message naming the file, and no file left.
    const QString locked = dir.filePath(QStringLiteral("locked"));
    QVERIFY(dir.mkdir(QStringLiteral("locked")));
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    w.output()->showTextOutput();
    s.dialogs->files << QDir(locked).filePath(QStringLiteral("x.txt"));
    w.output()->runOutput();
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (::geteuid() != 0) {  // root writes anywhere
        QCOMPARE(s.dialogs->errors.size(), 1);
        QVERIFY(s.dialogs->errors.front().contains(QStringLiteral("x.txt")));
        QVERIFY(QDir(locked).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
    QVERIFY(!w.workMessage()->isVisible());
}

void TestWindowOutput::titleFromAnItemIsStoredOnOutput() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const std::string loaded = w.workspace().table.TableTitle;
    w.output()->showTextOutput();
    QCheckBox* site = w.output()->panel()->itemBox(3);
    const bool ticked = site->isChecked();
    RightClick(site);
    QCOMPARE(site->isChecked(), ticked);  // the right button does not tick
    QCOMPARE(w.output()->panel()->titleField()->text(), site->text());
    QCOMPARE(w.output()->panel()->editedItem(), 3);
    s.dialogs->files << dir.filePath(QStringLiteral("site.txt"));
    w.output()->runOutput();
    QCOMPARE(Q(w.workspace().table.TableTitle), site->text());
    QCOMPARE(s.dialogs->proposedSaveName, site->text() + QStringLiteral(".txt"));
    QVERIFY(w.windowTitle().endsWith(site->text()));
    // The title field's text is what the settings file keeps as the title.
    QCOMPARE(Q(w.workspace().settings.title), site->text());
    // The new title is a step to undo.
    w.history()->undo();
    QCOMPARE(w.workspace().table.TableTitle, loaded);
    w.history()->redo();
    QCOMPARE(Q(w.workspace().table.TableTitle), site->text());
    QVERIFY(FileBytes(dir.filePath(QStringLiteral("site.txt"))).size() > 0);
    // A title with a character that CP932 lacks: the file is UTF-8, and the user is told.
    w.output()->showTextOutput();
    w.output()->panel()->titleField()->setText(QStringLiteral("森林🌲"));
    const QString utf8 = dir.filePath(QStringLiteral("utf8.txt"));
    s.dialogs->files << utf8;
    w.output()->runOutput();
    QVERIFY(FileBytes(utf8).startsWith("\xEF\xBB\xBF"));
    QCOMPARE(s.dialogs->notices.size(), 1);
    QVERIFY(s.dialogs->notices.front().contains(QStringLiteral("UTF-8")));
}

void TestWindowOutput::printingIntoAPdfFile() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    for (bool simple : {false, true}) {
        const QString pdf = dir.filePath(simple ? QStringLiteral("simple.pdf") : QStringLiteral("full.pdf"));
        if (simple) Action(w, "printBrief")->trigger();
        else Action(w, "printTable")->trigger();
        w.output()->panel()->titleField()->setText(QStringLiteral("印刷テスト"));
        s.dialogs->printPdf = pdf;
        w.output()->runOutput();
        QVERIFY2(s.dialogs->errors.isEmpty(), qPrintable(s.dialogs->errors.join('\n')));
        QCOMPARE(w.workspace().table.TableTitle, std::string("印刷テスト"));
        QVERIFY(FileBytes(pdf).startsWith("%PDF"));
        // No temporary is left beside it.
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".pdf")).size(), simple ? 2 : 1);
        if (pdftotext.isEmpty()) continue;
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
        QVERIFY(p.waitForFinished(30000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(text.contains(QStringLiteral("印刷テスト")), qPrintable(text.left(400)));
        const Table& t = w.workspace().table;
        const QString species = Q(t.SpeciesName(t.SpeciesKeyAt(1))).trimmed();
        QVERIFY2(text.contains(species), qPrintable(species));
    }
    // A font too large for the page: a message, and no file is left.
    w.workspace().settings.outputFontName = "IPAMincho";
    w.workspace().settings.outputFontSize = 200;
    const QString narrow = dir.filePath(QStringLiteral("narrow.pdf"));
    s.dialogs->printPdf = narrow;
    w.output()->showPrintOutput();
    w.output()->runOutput();
    QCOMPARE(s.dialogs->errors.size(), 1);
    QVERIFY(s.dialogs->errors.front().startsWith(QStringLiteral("用紙の幅に表が入りません。")));
    QVERIFY(!QFile::exists(narrow));
    QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).size(), 2);
    QVERIFY(!w.workMessage()->isVisible());
    QVERIFY(w.menuBar()->isEnabled());

    // The printer setup runs its dialog on the window's printer, with or without a table.
    w.output()->setUpPrinter();
    QCOMPARE(s.dialogs->printerSetups, 1);
    w.clearTable();
    QVERIFY(w.actions().printSetup->isEnabled());
    w.actions().printSetup->trigger();
    QCOMPARE(s.dialogs->printerSetups, 2);
}

// Qt's PDF writer does not say when the disk refuses its bytes: the file is checked before it
// replaces the old one.
void TestWindowOutput::aPdfTheDiskDidNotTakeKeepsTheOldFile() {
    QTemporaryDir tmp;
    const QDir dir(tmp.path());
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const QString pdf = dir.filePath(QStringLiteral("full.pdf"));
    QFile old(pdf);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("%PDF-1.4 old\n");
    old.close();
    for (const char* fault : {"write:1:ENOSPC:full.pdf"}) {
        s.dialogs->errors.clear();
        Action(w, "printTable")->trigger();
        s.dialogs->printPdf = pdf;
        {
            tavik::testing::InjectedFault f(fault);
            w.output()->runOutput();
            QVERIFY2(f.Hits() > 0, fault);
        }
        QCOMPARE(s.dialogs->errors.size(), 1);
        QVERIFY2(s.dialogs->errors.front().contains(QStringLiteral("full.pdf に書き込めません")),
                 qPrintable(s.dialogs->errors.front()));
        QCOMPARE(FileBytes(pdf), QByteArray("%PDF-1.4 old\n"));
        QCOMPARE(dir.entryList(QDir::Files | QDir::Hidden).filter(QStringLiteral(".pdf")).size(), 1);
    }
}

// Printing reads the counts. A row moved while the panel is open is not counted yet: the
// recount before printing is a step of its own, and undoing it gives the table back exactly.
void TestWindowOutput::printingCountsTheTableAsAStep() {
    QTemporaryDir tmp;
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const Table& t = w.workspace().table;
    w.output()->showPrintOutput();
    w.workspace().table.MoveRow(t.FNRow() + 1, t.FNRow() + 3);
    const QByteArray before = Saved(t);
    const int steps = w.undoStack()->count();
    s.dialogs->printPdf = QDir(tmp.path()).filePath(QStringLiteral("counted.pdf"));
    w.output()->runOutput();
    QVERIFY2(s.dialogs->errors.isEmpty(), qPrintable(s.dialogs->errors.join('\n')));
    QVERIFY(FileBytes(s.dialogs->printPdf).startsWith("%PDF"));
    QVERIFY(Saved(t) != before);
    QCOMPARE(w.undoStack()->count(), steps + 1);
    w.history()->undo();
    QCOMPARE(Saved(t), before);
}

void TestWindowOutput::siteExportsNeedTheirItems() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    // The default layout has no row for item 7 (the grid-mesh code): the mesh data cannot go
    // out, the site data can.
    SmallTable(w);
    QVERIFY(w.workspace().table.HeaderRowOfItem(7) == 0);
    w.output()->exportMeshData();
    QCOMPARE(s.dialogs->notices, QStringList{QStringLiteral("必要なデータが表にありません")});
    w.output()->exportGpsPoints();
    QCOMPARE(s.dialogs->notices.size(), 2);
    QVERIFY(s.dialogs->titles.isEmpty());  // no file prompt
    const QString plot = QDir(tmp.path()).filePath(QStringLiteral("s-plot.csv"));
    s.dialogs->files << plot;
    w.output()->exportSiteData();
    QVERIFY(QFile::exists(plot));
}

void TestWindowOutput::fontOfPrintingIsKept() {
    QTemporaryDir tmp;
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    tavik::Workspace& ws = w.workspace();
    // No font of its own yet: printing follows the table font.
    QVERIFY(ws.settings.outputFontName.empty());
    w.output()->showPrintOutput();
    // The panel names the font printing really uses, not one that is not installed.
    QCOMPARE(PanelChild<QLabel>(w, "outputFontName")->text(), tavik::ui::ResolveFontFamily(Q(ws.table.FontName)));
    QCOMPARE(PanelChild<QLabel>(w, "outputFontSize")->text(), QString::number(ws.table.FontSize));
    // Cancelling the font dialog keeps it.
    PanelChild<QPushButton>(w, "changeOutputFont")->click();
    QVERIFY(ws.settings.outputFontName.empty());
    QCOMPARE(s.dialogs->titles.last(), QStringLiteral("印刷のフォント"));
    // A chosen font is shown, stays when the table font changes, and goes into the settings.
    s.dialogs->fontAnswer = QFont(QStringLiteral("IPAGothic"), 7);
    PanelChild<QPushButton>(w, "changeOutputFont")->click();
    QCOMPARE(ws.settings.outputFontSize, 7);
    QCOMPARE(PanelChild<QLabel>(w, "outputFontSize")->text(), QStringLiteral("7"));
    const QString family = PanelChild<QLabel>(w, "outputFontName")->text();
    QCOMPARE(Q(ws.settings.outputFontName), family);
    ws.table.FontSize = 14;
    w.output()->cancelOutput();
    w.output()->showSimplePrintOutput();
    QCOMPARE(PanelChild<QLabel>(w, "outputFontSize")->text(), QStringLiteral("7"));
    w.output()->cancelOutput();
    const QString ini = QDir(tmp.path()).filePath(QStringLiteral("kept.ini"));
    ws.WriteIniFile(S(ini));
    tavik::Workspace again;
    again.Start(S(ini));
    QCOMPARE(Q(again.settings.outputFontName), family);
    QCOMPARE(again.settings.outputFontSize, 7);
}

void TestWindowOutput::configurationLaysOutTheHeaderItems() {
    QTemporaryDir tmp;
    auto s = StartWindow(tmp.path());
    MainWindow& w = *s.w;
    SmallTable(w);
    Table& t = w.workspace().table;
    OutputPanel* panel = w.output()->panel();
    const int fnBefore = t.FNRow();

    // With relevés the user is asked first; No leaves everything.
    s.dialogs->answers << false;
    Action(w, "changeItems")->trigger();
    QCOMPARE(s.dialogs->questions, QStringList{QStringLiteral("表が初期化されます、続けますか？")});
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.ReleveCount(), 3);

    s.dialogs->answers << true;
    w.output()->changeHeaderItems();
    QVERIFY(panel->isVisible());
    QVERIFY(panel->mode() == OutputMode::ItemConfiguration);
    QVERIFY(!w.actions().useEmbeddedItems->isChecked());
    QCOMPARE(PanelChild<QLabel>(w, "outputHeading")->text(), QStringLiteral("項目組込は左、名称修正は右クリック"));
    QCOMPARE(PanelChild<QPushButton>(w, "runOutput")->text(), QStringLiteral("設定する"));
    QVERIFY(PanelChild<QPushButton>(w, "editItemCaption")->isVisible());
    QVERIFY(!PanelChild<QFrame>(w, "outputFontPanel")->isVisible());
    QVERIFY(panel->titleField()->text().isEmpty());
    // What only outputs use is hidden while items are configured.
    QVERIFY(!PanelChild<QCheckBox>(w, "frequencyBox")->isVisible());
    QVERIFY(!PanelChild<QGroupBox>(w, "methodBox")->isVisible());
    QVERIFY(!PanelChild<QGroupBox>(w, "directionBox")->isVisible());
    QCOMPARE(panel->palette().color(QPalette::Window), QColor(255, 255, 176));
    for (int n = 1; n <= tavik::kItemCount; ++n) QVERIFY(panel->itemBox(n)->isEnabled());

    // Cancelling drops the ticks: the items stay as the table has them.
    // `spare` is an item the table has no row for.
    int spare = 1;
    while (spare <= tavik::kItemCount && t.ItemBoxes[spare].enabled) ++spare;
    QVERIFY(spare <= tavik::kItemCount);
    panel->itemBox(spare)->setChecked(true);
    w.output()->cancelOutput();
    QVERIFY(!t.ItemBoxes[spare].enabled);
    QVERIFY(!t.ItemBoxes[spare].checked);
    QCOMPARE(t.ReleveCount(), 3);

    // Renaming: a right-click takes the name, 修正 writes the corrected one back.
    s.dialogs->answers << true;
    w.output()->changeHeaderItems();
    QVERIFY(!panel->itemBox(spare)->isChecked());
    const std::string originalCaption = t.ItemBoxes[spare].caption;
    RightClick(panel->itemBox(spare));
    QCOMPARE(panel->titleField()->text(), Q(t.ItemBoxes[spare].caption));
    panel->titleField()->setText(QStringLiteral("地形"));
    PanelChild<QPushButton>(w, "editItemCaption")->click();
    QCOMPARE(panel->itemBox(spare)->text(), QStringLiteral("地形"));
    QCOMPARE(t.ItemBoxes[spare].caption, std::string("地形"));
    // A left press forgets the item: 修正 then changes nothing.
    QTest::mouseClick(panel->itemBox(spare), Qt::LeftButton, {}, QPoint(6, panel->itemBox(spare)->height() / 2));
    QVERIFY(panel->itemBox(spare)->isChecked());
    QCOMPARE(panel->editedItem(), 0);
    panel->titleField()->setText(QStringLiteral("別名"));
    PanelChild<QPushButton>(w, "editItemCaption")->click();
    QCOMPARE(t.ItemBoxes[spare].caption, std::string("地形"));
    // Item 3 leaves, the spare item comes in; the table is laid out anew, empty.
    panel->itemBox(3)->setChecked(false);
    PanelChild<QPushButton>(w, "runOutput")->click();
    QVERIFY(!panel->isVisible());
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(t.FNRow(), fnBefore);
    QCOMPARE(t.HeaderRowOfItem(3), 0);
    const int rowSpare = t.HeaderRowOfItem(spare);
    QVERIFY(rowSpare > 0);
    QCOMPARE(Q(t.Text(2, rowSpare)), QStringLiteral("地形"));
    QVERIFY(t.ItemBoxes[spare].enabled && !t.ItemBoxes[3].enabled);
    QCOMPARE(w.statusLine()->panelText(1), QStringLiteral(" 測定数：0"));
    // The configuration is one step to undo: the relevés and the items come back.
    QVERIFY(w.actions().undo->isEnabled());
    w.history()->undo();
    QCOMPARE(t.ReleveCount(), 3);
    QVERIFY(t.HeaderRowOfItem(3) > 0);
    QCOMPARE(t.HeaderRowOfItem(spare), 0);
    QCOMPARE(t.FNRow(), fnBefore);
    // The corrected name went with the step: what the outputs read is the name as it was.
    QCOMPARE(t.ItemBoxes[spare].caption, originalCaption);
    w.output()->showTextOutput();
    QCOMPARE(panel->itemBox(spare)->text(), Q(originalCaption));
    w.output()->cancelOutput();
    w.history()->redo();
    QCOMPARE(t.ReleveCount(), 0);
    QCOMPARE(Q(t.Text(2, t.HeaderRowOfItem(spare))), QStringLiteral("地形"));
    // Item 1 keeps its row even when unticked.
    w.output()->changeHeaderItems();
    panel->itemBox(1)->setChecked(false);
    w.output()->runOutput();
    QCOMPARE(t.HeaderRowOfItem(1), 1);
}

void TestWindowOutput::realPrintDialogsOffscreen() {
    // Without any printer installed the print dialog still offers a PDF file, and the
    // printer setup opens and closes: the window's own dialogs, answered by a timer.
    QTemporaryDir tmp;
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    const QString pdf = QDir(tmp.path()).filePath(QStringLiteral("dialog.pdf"));
    const auto answer = [](bool accept) {
        QTimer::singleShot(300, [accept] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                if (accept) d->accept();
                else d->reject();
            }
        });
    };
    w.setDialogs(std::make_unique<tavik::ui::UserDialogs>());
    answer(false);
    w.output()->setUpPrinter();
    w.output()->printer().setOutputFileName(pdf);
    answer(true);
    w.output()->setUpPrinter();
    // Cancelled: nothing printed.
    w.output()->showPrintOutput();
    answer(false);
    w.output()->runOutput();
    QVERIFY(!QFile::exists(pdf));
    // Accepted: into the PDF file named in the dialog.
    w.output()->showSimplePrintOutput();
    answer(true);
    w.output()->runOutput();
    QVERIFY(FileBytes(pdf).startsWith("%PDF"));

    // The file prompt: the spreadsheet's filter chosen, the title with ".xlsx" proposed, in
    // the folder of the last print; accepted as proposed.
    QString filter, proposed, xlsx;
    QTimer::singleShot(300, [&] {
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            filter = d->selectedNameFilter();
            if (auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) proposed = name->text();
            xlsx = d->directory().filePath(proposed);
            QMetaObject::invokeMethod(d, "accept");
        }
    });
    w.output()->showSpreadsheetOutput();
    w.output()->runOutput();
    QCOMPARE(filter, QStringLiteral("エクセル・ファイル(*.xlsx)"));
    QCOMPARE(proposed, Q(w.workspace().table.TableTitle) + QStringLiteral(".xlsx"));
    QCOMPARE(QFileInfo(xlsx).absolutePath(), QFileInfo(pdf).absolutePath());
    QVERIFY(FileBytes(xlsx).startsWith("PK"));
}

void TestWindowOutput::screenshots() {
    const QString dir = qEnvironmentVariable("TAVIK_SHOTS_DIR");
    if (dir.isEmpty()) QSKIP("TAVIK_SHOTS_DIR is not set");
    QDir().mkpath(dir);
    QTemporaryDir tmp;
    auto s = WithExampleTable(tmp.path());
    MainWindow& w = *s.w;
    w.resize(724, 538);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const auto shot = [&](const QString& name) {
        QCoreApplication::processEvents();
        QVERIFY(w.grab().save(QDir(dir).filePath(name)));
    };
    const std::pair<void (OutputController::*)(), const char*> modes[] = {
        {&OutputController::showTextOutput, "output_0_text.png"},
        {&OutputController::showSpreadsheetOutput, "output_1_spreadsheet.png"},
        {&OutputController::showPrintOutput, "output_2_print.png"},
        {&OutputController::showSimplePrintOutput, "output_3_simple_print.png"},
        {&OutputController::showValueMatrixOutput, "output_4_value_matrix.png"},
        {&OutputController::showPCordOutput, "output_5_pcord.png"}};
    for (const auto& [open, name] : modes) {
        (w.output()->*open)();
        shot(QString::fromLatin1(name));
        w.output()->cancelOutput();
    }
    s.dialogs->answers << true;
    w.output()->changeHeaderItems();
    shot(QStringLiteral("output_6_configuration.png"));
    w.output()->cancelOutput();
    // A window smaller than the panel.
    w.resize(560, 420);
    w.output()->showTextOutput();
    shot(QStringLiteral("output_9_small_window.png"));
    w.output()->cancelOutput();
    w.resize(724, 538);
    // The print dialog and the printer setup as they come without a printer.
    const auto grabDialog = [&](const QString& name) {
        QTimer::singleShot(400, [=] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                d->grab().save(QDir(dir).filePath(name));
                d->reject();
            }
        });
    };
    w.setDialogs(std::make_unique<tavik::ui::UserDialogs>());
    w.output()->showPrintOutput();
    grabDialog(QStringLiteral("output_7_print_dialog.png"));
    w.output()->runOutput();
    grabDialog(QStringLiteral("output_8_printer_setup.png"));
    w.output()->setUpPrinter();
}

QTEST_MAIN(TestWindowOutput)
#include "test_window_output.moc"
