// Making the panels that float over the grid and wiring their controls to the commands.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/panels.h"
#include "ui/retrieval_panel.h"
#include "ui/work_message.h"

namespace tavik::ui {

void MainWindow::BuildPanels() {
    rowButtons_ = new SpeedPanel(QStringLiteral("Panel_forRow"), central_);
    colButtons_ = new SpeedPanel(QStringLiteral("Panel_forCol"), central_);
    showCell_ = new CellTextPanel(central_);
    rangePanel_ = new RangePanel(central_);
    searchPanel_ = new SearchPanel(central_);
    retrPanel_ = new RetrievalPanel(central_);
    message_ = new WorkMessage(central_);
}

void MainWindow::ConnectPanels() {
    auto speed = [this](SpeedPanel* panel, const char* name, const QString& caption,
                        void (MainWindow::*slot)(Qt::MouseButton), const QString& hint = {}) {
        SpeedButton* b = panel->AddButton(QString::fromLatin1(name), caption);
        if (!hint.isEmpty()) b->setToolTip(hint);
        connect(b, &SpeedButton::releasedWith, this, slot);
    };
    speed(rowButtons_, "Btn_InsRow", QStringLiteral("行を挿入する"), &MainWindow::Btn_InsRowMouseUp);
    speed(rowButtons_, "Btn_DelRow", QStringLiteral("行を削除する"), &MainWindow::Btn_DelRowMouseUp);
    speed(rowButtons_, "Btn_Remark", QStringLiteral("行コメント記入"), &MainWindow::Btn_RemarkMouseUp,
          QStringLiteral("コメント記入"));
    speed(colButtons_, "Btn_InsCol", QStringLiteral("列を挿入する"), &MainWindow::Btn_InsColMouseUp);
    speed(colButtons_, "Btn_DelCol", QStringLiteral("列を削除する"), &MainWindow::Btn_DelColMouseUp);

    connect(rangePanel_->BtnSortGo, &QPushButton::clicked, this, &MainWindow::BtnSortGoClick);
    connect(rangePanel_->BtnSortStp, &QPushButton::clicked, this, &MainWindow::BtnSortStpClick);

    connect(searchPanel_->QueryBtn1, &QPushButton::clicked, this, [this] { QueryBtn1Click(true); });
    connect(searchPanel_->QueryBtn2, &QPushButton::clicked, this, [this] { QueryBtn1Click(false); });
    connect(searchPanel_, &SearchPanel::enterPressed, this, [this] { QueryBtn1Click(false); });
    connect(searchPanel_, &SearchPanel::escapePressed, this, &MainWindow::QueryCancelBtnClick);
    connect(searchPanel_->QueryCancelBtn, &QPushButton::clicked, this,
            &MainWindow::QueryCancelBtnClick);

    RetrievalPanel* r = retrPanel_;
    connect(r->BtnRetrNew, &QPushButton::clicked, this, [this] { BtnRetrNewClick(false); });
    connect(r->BtnRetrAdd, &QPushButton::clicked, this, [this] { BtnRetrNewClick(true); });
    connect(r->BtnRetrReset, &QPushButton::clicked, this, &MainWindow::BtnRetrResetClick);
    connect(r->BtnToTable, &QPushButton::clicked, this, &MainWindow::BtnToTableClick);
    connect(r->BtnRetrQuit, &QPushButton::clicked, this, &MainWindow::BtnRetrQuitClick);
    connect(r->BtnSynToCom, &QPushButton::clicked, this, &MainWindow::BtnSynToComClick);
    connect(r->BtnChgFile, &QPushButton::clicked, this, &MainWindow::BtnChgFileClick);
}

}  // namespace tavik::ui
