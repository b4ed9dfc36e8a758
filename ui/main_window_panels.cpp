// Making the panels that float over the grid and the controllers that own the others, and
// wiring them to the commands and the history.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QUndoStack>

#include "ui/analysis_controller.h"
#include "ui/cell_editor.h"
#include "ui/classification_controller.h"
#include "ui/editing_controller.h"
#include "ui/freq_window.h"
#include "ui/grid_pointer.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/panels.h"
#include "ui/retrieval_controller.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::buildPanels() {
    pointer_ = new GridPointer(ws_.table, grid_, central_, this);
    ranges_ = new RangeController(*this, grid_, central_, this);
    // The search panel is the editing controller's. While a block is being chosen for
    // hiding, presses on the grid belong to that, not to editing.
    editing_ = new EditingController(
        *this, grid_, pointer_->cellTextPanel(), central_, [this] { return ranges_->mode() == RangeMode::Hide; }, this);
    retrieval_ = new RetrievalController(*this, central_, this);
    connect(retrieval_, &RetrievalController::dataFileChangeRequested, this, [this] {
        chooseDataFile();
        retrieval_->showRetrievalPanel();
    });
    output_ = new OutputController(*this, central_, this);
    message_ = new WorkMessage(central_);

    // The pointer over the grid: a press ends a range being chosen for hiding, the
    // pop-up buttons' edits are the editing controller's.
    GridPointer* p = pointer_;
    connect(grid_, &CompositionGrid::mousePressed, p, &GridPointer::onGridPressed);
    connect(grid_, &CompositionGrid::mouseMoved, p, &GridPointer::onGridMouseMoved);
    connect(grid_, &CompositionGrid::mouseReleased, p, &GridPointer::onGridReleased);
    connect(p, &GridPointer::pressed, ranges_, &RangeController::setGridForMode);
    connect(p, &GridPointer::leftReleased, ranges_, &RangeController::onGridLeftReleased);
    connect(p, &GridPointer::insertRowChosen, editing_, &EditingController::insertRow);
    connect(p, &GridPointer::deleteRowChosen, editing_, &EditingController::deleteRow);
    connect(p, &GridPointer::commentChosen, editing_, &EditingController::writeComment);
    connect(p, &GridPointer::insertColumnChosen, editing_, &EditingController::insertColumn);
    connect(p, &GridPointer::deleteColumnChosen, editing_, &EditingController::deleteColumn);
}

void MainWindow::buildControllers() {
    const MenuActions& m = actions_;
    analysis_ = new AnalysisController(*this, central_, this, this);
    AnalysisController* a = analysis_;
    connect(m.reciprocalAveraging, &QAction::triggered, a, &AnalysisController::reciprocalAveraging);
    connect(m.makeConstancyTable, &QAction::triggered, a, &AnalysisController::showConstancyPanel);
    connect(m.showConstancyTable, &QAction::triggered, a, &AnalysisController::showFreqWindow);
    connect(m.sortByDiagnosticBlocks, &QAction::triggered, a, &AnalysisController::sortByDiagnosticBlocks);
    connect(a, &AnalysisController::tableShown, m.showConstancyTable, &QAction::setText);
    connect(output_, &OutputController::utf8FilesChosen, analysis_->freqWindow(), &FreqWindow::setUtf8Files);
    classification_ = new ClassificationController(*this, central_, this);
    connect(m.classify, &QAction::triggered, classification_, &ClassificationController::openPanel);
    connect(m.readGroups, &QAction::triggered, classification_, &ClassificationController::readGroups);
    connect(m.writeGroups, &QAction::triggered, classification_, &ClassificationController::writeGroups);

    EditingController* e = editing_;
    connect(m.deleteRow, &QAction::triggered, e, &EditingController::deleteRow);
    connect(m.deleteColumn, &QAction::triggered, e, &EditingController::deleteColumn);
    connect(m.insertRow, &QAction::triggered, e, &EditingController::insertRow);
    connect(m.writeComment, &QAction::triggered, e, &EditingController::writeComment);
    connect(m.insertColumn, &QAction::triggered, e, &EditingController::insertColumn);
    // A menu opened while typing: the text is committed first, so that the command chosen
    // (a save, a sort) finds it in the table, as in a spreadsheet.
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, e->cellEditor(), &CellEditor::commit);
}

void MainWindow::connectHistory() {
    connect(history_, &TableHistory::tableChanged, this, &MainWindow::tableCommandDone);
    history_->driveActions(actions_.undo, actions_.redo);
    // Search hits are marks on positions: any step done, undone or redone may move the rows
    // and columns under them, so they go rather than mark another species.
    connect(undoStack(), &QUndoStack::indexChanged, this, [this] {
        if (!grid_->searchHits().empty()) editing_->resetSearch();
    });
    // The caption's asterisk follows the saved state.
    connect(undoStack(), &QUndoStack::cleanChanged, this, [this] { showTableStatus(); });
}

}  // namespace tavik::ui
