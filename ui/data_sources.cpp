// The files the table is read with: the field data, the synonym dictionary, the settings
// file, and the header items taken from the field data.
#include "ui/data_sources.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>

#include "ui/busy_scope.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/retrieval_controller.h"
#include "ui/retrieval_panel.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

DataSources::DataSources(MainWindow* window) : QObject(window), w_(window) {}

// ---- Field data --------------------------------------------------------------------------------

void DataSources::chooseDataFile() {
    Workspace& ws = w_->ws_;
    const QString path = w_->askFileToOpen(QCoreApplication::translate("DataSources", "データファイルの指定・変更"), 1,
                                           QStringLiteral("*.tki"), Q(ws.settings.directory));
    if (path.isEmpty()) {
        w_->showTableStatus();
        return;
    }
    setDataFile(path);
}

void DataSources::setDataFile(const QString& path) {
    Workspace& ws = w_->ws_;
    if (w_->busy_) return;
    const bool wasEmpty = ws.table.ReleveCount() == 0;
    try {
        auto busy = BusyScope::cursorOnly(w_);
        ws.SetDataFile(S(path));
    } catch (const std::exception& e) {
        w_->showError(QString(), e);
        w_->showTableStatus();
        return;
    }
    ws.settings.directory = S(QFileInfo(path).absolutePath());
    if (ws.settings.useDataItem) {
        if (wasEmpty) w_->emptyTableLaidOutAnew();
        w_->layoutRenewed();
    }
    w_->retrieval_->panel()->setRecordMaximum(ws.releveRecordCount);
    w_->actions_.chooseDataFile->setText(QCoreApplication::translate("DataSources", "データファイルの変更"));
    w_->showTableStatus();
    if (!ws.dataFileProblem.empty()) w_->showNote(Q(ws.dataFileProblem), 15000);
}

// ---- Dictionary and settings ---------------------------------------------------------------------

void DataSources::readDictionary() {
    Workspace& ws = w_->ws_;
    const QString path = w_->askFileToOpen(QCoreApplication::translate("DataSources", "異名辞書の読込み"), 4,
                                           QStringLiteral("*.dic"), Q(ws.settings.directory));
    if (!path.isEmpty()) {
        ws.dictFileName = S(path);
        try {
            if (!ws.SetDictionary(S(path))) ws.dictFileName.clear();
        } catch (const std::exception& e) {
            ws.dictFileName.clear();
            w_->showError(QCoreApplication::translate("DataSources", "異名辞書を読込めません。"), e);
        }
    }
    w_->showTableStatus();
}

void DataSources::readSettingsFile() {
    Workspace& ws = w_->ws_;
    const QString path = w_->askFileToOpen(QCoreApplication::translate("DataSources", "設定ファイル読込み"), 5,
                                           QStringLiteral("*.ini"), Q(ws.settings.directory));
    if (path.isEmpty()) {
        w_->showTableStatus();
        return;
    }
    const bool wasEmpty = ws.table.ReleveCount() == 0;
    ws.settings.useDataItem = false;
    ws.iniFileName = S(path);
    try {
        ws.ReadIniFile(S(path));
    } catch (const std::exception& e) {
        w_->showError(QCoreApplication::translate("DataSources", "設定ファイルを読込めません。"), e);
    }
    w_->applyWindowSettings();
    if (wasEmpty) w_->emptyTableLaidOutAnew();
    w_->layoutRenewed();
    w_->showTableStatus();
}

void DataSources::toggleEmbeddedItems() {
    Workspace& ws = w_->ws_;
    if (!w_->dialogs_->askYesNo(
            w_, QCoreApplication::translate("DataSources", "見出し項目をデータファイルと一致させますか？"))) {
        ws.settings.useDataItem = false;
        w_->updateTicks();
        return;
    }
    ws.settings.useDataItem = true;
    try {
        ws.ReadDataHeader();
    } catch (const std::exception& e) {
        w_->showError(QString(), e);
    }
    const bool empty = ws.table.ReleveCount() == 0;
    ws.table.LayOutHeaderRows();
    if (empty) w_->emptyTableLaidOutAnew();
    w_->layoutRenewed();
    w_->showTableStatus();
}

}  // namespace tavik::ui
