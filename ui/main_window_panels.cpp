// Making the panels that float over the grid, the controllers that own the others, and
// wiring their controls to the commands.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "ui/analysis_controller.h"
#include "ui/cell_editor.h"
#include "ui/classification_controller.h"
#include "ui/editing_controller.h"
#include "ui/freq_window.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/output_controller.h"
#include "ui/panels.h"
#include "ui/retrieval_controller.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::buildPanels() {
    rowButtons_ = new PopupButtonBar(QStringLiteral("rowButtons"), central_);
    columnButtons_ = new PopupButtonBar(QStringLiteral("columnButtons"), central_);
    cellText_ = new CellTextPanel(central_);
    ranges_ = new RangeController(*this, grid_, central_, this);
    // The search panel is the editing controller's. While a block is being chosen for
    // hiding, presses on the grid belong to that, not to editing.
    editing_ = new EditingController(*this, grid_, cellText_, central_,
                                     [this] { return ranges_->mode() == RangeMode::Hide; }, this);
    retrieval_ = new RetrievalController(*this, central_, this);
    connect(retrieval_, &RetrievalController::dataFileChangeRequested, this, [this] {
        chooseDataFile();
        retrieval_->showRetrievalPanel();
    });
    output_ = new OutputController(*this, central_, this);
    message_ = new WorkMessage(central_);
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

void MainWindow::connectPanels() {
    auto speed = [this](PopupButtonBar* panel, const char* name, const QString& caption,
                        void (MainWindow::*slot)(Qt::MouseButton), const QString& hint = {}) {
        PopupButton* b = panel->addButton(QString::fromLatin1(name), caption);
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &PopupButton::releasedWith, this, slot);
    };
    speed(rowButtons_, "insertRowButton", QStringLiteral("行を挿入する"), &MainWindow::onInsertRowButton);
    speed(rowButtons_, "deleteRowButton", QStringLiteral("行を削除する"), &MainWindow::onDeleteRowButton);
    speed(rowButtons_, "commentButton", QStringLiteral("行コメント記入"), &MainWindow::onCommentButton,
          QStringLiteral("コメント記入"));
    speed(columnButtons_, "insertColumnButton", QStringLiteral("列を挿入する"),
          &MainWindow::onInsertColumnButton);
    speed(columnButtons_, "deleteColumnButton", QStringLiteral("列を削除する"),
          &MainWindow::onDeleteColumnButton);
}

}  // namespace tavik::ui
