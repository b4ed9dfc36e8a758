// Making the panels that float over the grid and wiring their controls to the commands.
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/output_panel.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::buildPanels() {
    rowButtons_ = new PopupButtonBar(QStringLiteral("rowButtons"), central_);
    columnButtons_ = new PopupButtonBar(QStringLiteral("columnButtons"), central_);
    cellText_ = new CellTextPanel(central_);
    rangePanel_ = new RangePanel(central_);
    searchPanel_ = new SearchPanel(central_);
    retrievalPanel_ = new RetrievalPanel(central_);
    outputPanel_ = new OutputPanel(central_);
    message_ = new WorkMessage(central_);
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

    connect(rangePanel_, &RangePanel::applyRequested, this, &MainWindow::applyRange);
    connect(rangePanel_, &RangePanel::cancelRequested, this, &MainWindow::cancelRange);

    connect(searchPanel_, &SearchPanel::exactRequested, this, &MainWindow::onSearchExact);
    connect(searchPanel_, &SearchPanel::partialRequested, this, &MainWindow::onSearchPartial);
    connect(searchPanel_, &SearchPanel::cancelRequested, this, &MainWindow::closeSearchPanel);

    RetrievalPanel* r = retrievalPanel_;
    connect(r, &RetrievalPanel::scanRequested, this, &MainWindow::scanFieldData);
    connect(r, &RetrievalPanel::resetRequested, this, &MainWindow::resetRetrieval);
    connect(r, &RetrievalPanel::putIntoTableRequested, this, &MainWindow::putIntoTable);
    connect(r, &RetrievalPanel::closeRequested, this, &MainWindow::closeRetrievalPanel);
    connect(r, &RetrievalPanel::standardNamesRequested, this, &MainWindow::convertToStandardNames);
    connect(r, &RetrievalPanel::changeFileRequested, this, &MainWindow::changeDataFileFromPanel);

    connect(outputPanel_, &OutputPanel::outputRequested, this, &MainWindow::runOutput);
    connect(outputPanel_, &OutputPanel::cancelRequested, this, &MainWindow::cancelOutput);
    connect(outputPanel_, &OutputPanel::fontRequested, this, &MainWindow::chooseOutputFont);
    connect(outputPanel_, &OutputPanel::captionEdited, this, &MainWindow::editItemCaption);
    connect(outputPanel_, &OutputPanel::choicesChanged, this, &MainWindow::keepPanelChoices);
}

}  // namespace tavik::ui
