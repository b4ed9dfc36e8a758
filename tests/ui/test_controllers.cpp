// The controllers driven without the main window: a stand-in offers what a controller may
// ask of the window (ui/window_services.h) and keeps what it was asked to do, so that a
// controller's own promises are seen apart from the window's: how often it recounts, which
// steps it pushes, that the window is locked for long work and free again afterwards, and
// that nothing happens while the window is busy.
#include <QAction>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include "core/table_changes.h"
#include "ui/cell_editor.h"
#include "ui/editing_controller.h"
#include "ui/grid_widget.h"
#include "ui/output_controller.h"
#include "ui/output_panel.h"
#include "ui/panels.h"
#include "ui/range_controller.h"
#include "ui/table_history.h"
#include "ui/window_services.h"
#include "ui/work_message.h"
#include "window_fixture.h"

using namespace tavik;
using namespace tavik::testing;

namespace {

class StandInWindow : public ui::WindowServices {
public:
    QWidget host;
    Workspace ws;
    ScriptedDialogs answers;
    ui::WorkMessage* message = new ui::WorkMessage(&host);
    QUndoStack stack;
    bool busy = false;
    int lockings = 0, recounts = 0;
    QStringList pushed, notes, failures;

    Workspace& workspace() override { return ws; }
    ui::UserDialogs& dialogs() override { return answers; }
    QWidget* dialogParent() override { return &host; }
    QFont tableFont() const override { return QFont(); }
    QString tableFolder() const override { return {}; }
    QUndoStack* undoStack() const override { return const_cast<QUndoStack*>(&stack); }
    bool pushChange(const QString& name, std::unique_ptr<TableChange> change, bool) override {
        if (!change->Apply(ws.table)) return false;
        pushed << name;
        return true;
    }
    void beginStep(const QString&) override {}
    void endStep() override {}
    void recountFrequencies() override {
        ++recounts;
        pushChange(QStringLiteral("出現頻度の再計算"), std::make_unique<RecountChange>(), false);
    }
    void editTitle() override {}
    bool isBusy() const override { return busy; }
    void setBusy(bool locked) override {
        busy = locked;
        if (locked) ++lockings;
    }
    ui::WorkMessage* workMessage() const override { return message; }
    void refresh() override {}
    void showTableStatus() override {}
    void updateTicks() override {}
    void showNote(const QString& text, int) override { notes << text; }
    void showError(const QString& what, const std::exception& e) override {
        failures << what + QString::fromUtf8(e.what());
    }
    void writeRecoveryLater() override {}
};

}  // namespace

class TestControllers : public QObject {
    Q_OBJECT
private slots:
    void outputRecountsOnceAndTakesTheTitleAsItsOwnStep();
    void outputDoesNothingWhileTheWindowIsBusy();
    void rangeSortIsOneStepAndFreesTheWindow();
    void editingAsksAndRefuses();
    void historyKeepsStepsWhole();
    void historyWaitsWhileBusy();
};

void TestControllers::outputRecountsOnceAndTakesTheTitleAsItsOwnStep() {
    StandInWindow win;
    win.ws.table = MakeTable({{"A", "B"}, {"A", "C"}});
    ui::OutputController output(win, &win.host, nullptr);
    // Opening the panel reads the table and changes nothing.
    output.showTextOutput();
    QVERIFY(!output.panel()->isHidden());
    QCOMPARE(win.recounts, 0);
    // Cancelling keeps the choices and still changes nothing.
    output.cancelOutput();
    QCOMPARE(win.recounts, 0);
    QVERIFY(win.pushed.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.txt"));
    win.answers.files << path;
    output.showTextOutput();
    output.panel()->titleField()->setText(QStringLiteral("調査"));
    output.runOutput();
    QCOMPARE(win.recounts, 1);
    QCOMPARE(win.pushed, QStringList{QStringLiteral("表題の変更")});
    QCOMPARE(win.ws.table.TableTitle, std::string("調査"));
    QVERIFY(QFileInfo::exists(path));
    QVERIFY(win.failures.isEmpty());
    // The window was locked for the writing and is free again.
    QCOMPARE(win.lockings, 1);
    QVERIFY(!win.busy);

    // The same title again: the output runs, no new step.
    win.answers.files << dir.filePath(QStringLiteral("u.txt"));
    win.pushed.clear();
    output.showTextOutput();
    output.panel()->titleField()->setText(QStringLiteral("調査"));
    output.runOutput();
    QCOMPARE(win.recounts, 2);
    QVERIFY(win.pushed.isEmpty());
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("u.txt"))));
}

void TestControllers::outputDoesNothingWhileTheWindowIsBusy() {
    StandInWindow win;
    win.ws.table = MakeTable({{"A"}});
    ui::OutputController output(win, &win.host, nullptr);
    win.busy = true;
    output.showTextOutput();
    QVERIFY(output.panel()->isHidden());
    output.exportSiteData();
    output.changeHeaderItems();
    QVERIFY(output.panel()->isHidden());
    QVERIFY(win.answers.questions.isEmpty());
    QVERIFY(win.answers.titles.isEmpty());
    QCOMPARE(win.lockings, 0);
}

void TestControllers::rangeSortIsOneStepAndFreesTheWindow() {
    StandInWindow win;
    // B once, A twice: the sort by frequency puts A first.
    win.ws.table = MakeTable({{"B"}, {"A", "C"}, {"A"}});
    ui::CompositionGrid grid(&win.host);
    grid.setTable(&win.ws.table);
    ui::RangeController ranges(win, &grid, &win.host, nullptr);
    ranges.sortSpecies();
    QCOMPARE(ranges.mode(), ui::RangeMode::SortSpecies);
    QVERIFY(!ranges.panel()->isHidden());
    ranges.applyRange();
    QCOMPARE(win.pushed, QStringList{QStringLiteral("植物を頻度順で並び替え")});
    QCOMPARE(win.ws.table.SpeciesName(win.ws.table.SpeciesKeyAt(1)), std::string("A"));
    QCOMPARE(ranges.mode(), ui::RangeMode::None);
    QCOMPARE(win.lockings, 1);
    QVERIFY(!win.busy);
    // Declined: no step, and the grid moves rows again.
    ranges.sortReleves();
    QCOMPARE(ranges.mode(), ui::RangeMode::SortReleves);
    ranges.cancelRange();
    QCOMPARE(win.pushed.size(), 1);
    QCOMPARE(ranges.mode(), ui::RangeMode::None);

    // Hiding the site rows and showing them again: the ticks follow, and presses on the
    // grid choose ranges only while a block to hide is being chosen.
    ranges.toggleSiteRows();
    QVERIFY(ranges.siteRowsHidden());
    ranges.toggleHiddenRanges();
    QCOMPARE(ranges.mode(), ui::RangeMode::Hide);
    ranges.cancelRange();
    QCOMPARE(ranges.mode(), ui::RangeMode::SiteRowsHidden);
    QVERIFY(!ranges.rangesHidden());
    ranges.reset();
    QVERIFY(!ranges.siteRowsHidden());
    QCOMPARE(ranges.mode(), ui::RangeMode::None);
}

void TestControllers::editingAsksAndRefuses() {
    StandInWindow win;
    win.ws.table = MakeTable({{"A", "B"}, {"A"}});
    ui::CompositionGrid grid(&win.host);
    grid.setTable(&win.ws.table);
    grid.resize(800, 600);
    win.host.resize(800, 600);
    win.host.show();
    ui::CellTextPanel cellText(&win.host);
    bool hiding = false;
    ui::EditingController editing(
        win, &grid, &cellText, &win.host, [&] { return hiding; }, nullptr);
    Table& t = win.ws.table;
    const int rowA = RowOf(t, "A");

    // Declined: nothing; agreed: one step, and the species is gone.
    grid.setCurrentCell(2, rowA);
    win.answers.answers << false << true;
    editing.deleteRow();
    QVERIFY(win.pushed.isEmpty());
    editing.deleteRow();
    QCOMPARE(win.pushed, QStringList{QStringLiteral("行の削除")});
    QCOMPARE(t.SpeciesCount(), 1);
    QCOMPARE(RowOf(t, "A"), -1);

    // Not on a species row: refused without a question.
    grid.setCurrentCell(2, 1);
    editing.deleteRow();
    QCOMPARE(win.answers.questions.size(), 2);
    QCOMPARE(win.notes.size(), 1);

    // A name is edited in place, except while the window is busy or a block to hide is
    // being chosen.
    const int rowB = RowOf(t, "B");
    win.busy = true;
    editing.editCell(2, rowB);
    QVERIFY(!editing.cellEditor()->isEditing());
    win.busy = false;
    hiding = true;
    editing.editCell(2, rowB);
    QVERIFY(!editing.cellEditor()->isEditing());
    hiding = false;
    editing.editCell(2, rowB);
    QVERIFY(editing.cellEditor()->isEditing());
}

void TestControllers::historyKeepsStepsWhole() {
    StandInWindow win;
    win.ws.table = MakeTable({{"A"}});
    ui::TableHistory history(win, nullptr);
    QAction undo(nullptr), redo(nullptr);
    history.driveActions(&undo, &redo);
    int changes = 0;
    QObject::connect(&history, &ui::TableHistory::tableChanged, [&] { ++changes; });
    auto title = [](const char* text) { return std::make_unique<TitleChange>(text); };
    QUndoStack& stack = *history.stack();
    std::string& kept = win.ws.table.TableTitle;

    // A step in which nothing changed leaves no trace.
    history.beginStep(QStringLiteral("空"));
    QVERIFY(!history.pushChange(QStringLiteral("同じ標題"), title("")));
    history.endStep();
    QCOMPARE(stack.count(), 0);
    QVERIFY(!history.hasUnsavedChanges());

    // A step begun inside another belongs to the outer one: one undo takes both back.
    history.beginStep(QStringLiteral("外"));
    QVERIFY(history.pushChange(QStringLiteral("一"), title("一")));
    history.beginStep(QStringLiteral("内"));
    QVERIFY(history.pushChange(QStringLiteral("二"), title("二")));
    history.endStep();
    history.endStep();
    QCOMPARE(stack.count(), 1);
    QCOMPARE(undo.text(), QStringLiteral("元に戻す：外"));
    QVERIFY(history.hasUnsavedChanges());
    history.undo();
    QCOMPARE(kept, std::string());
    QCOMPARE(undo.text(), QStringLiteral("元に戻す"));
    QVERIFY(!undo.isEnabled());
    QCOMPARE(redo.text(), QStringLiteral("やり直し：外"));
    QVERIFY(!history.hasUnsavedChanges());

    // A change that finds nothing to do keeps the step to redo; one that does replaces it.
    QVERIFY(!history.pushChange(QStringLiteral("同じ標題"), title("")));
    QVERIFY(stack.canRedo());
    history.redo();
    QCOMPARE(kept, std::string("二"));
    QVERIFY(history.pushChange(QStringLiteral("三"), title("三")));
    QVERIFY(!stack.canRedo());
    QCOMPARE(stack.count(), 2);
    QVERIFY(changes >= 5);

    // A table without relevés holds nothing to lose.
    win.ws.table = Table();
    QVERIFY(!history.hasUnsavedChanges());
}

void TestControllers::historyWaitsWhileBusy() {
    StandInWindow win;
    win.ws.table = MakeTable({{"A"}});
    ui::TableHistory history(win, nullptr);
    QVERIFY(history.pushChange(QStringLiteral("一"), std::make_unique<TitleChange>("一")));
    win.busy = true;
    history.undo();
    QCOMPARE(win.ws.table.TableTitle, std::string("一"));
    win.busy = false;
    history.undo();
    QCOMPARE(win.ws.table.TableTitle, std::string());
    win.busy = true;
    history.redo();
    QCOMPARE(win.ws.table.TableTitle, std::string());
}

QTEST_MAIN(TestControllers)
#include "test_controllers.moc"
