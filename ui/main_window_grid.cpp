// The view of the table in the grid: its font and the data-check mode.
#include <QCoreApplication>

#include "core/hiding.h"
#include "print/table_font.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/panels.h"
#include "ui/qt_text.h"
#include "ui/undo_commands.h"
#include "ui/user_dialogs.h"

namespace tavik::ui {

void MainWindow::chooseTableFont() {
    if (busy_) return;
    QFont font = grid_->tableFont();
    if (dialogs_->getFont(this, font, QCoreApplication::translate("MainWindow", "表のフォント"))) {
        ws_.table.FontName = font.family().toStdString();
        ws_.table.FontSize = font.pointSize() > 0 ? font.pointSize() : 9;
    }
    ws_.table.LayOutHeaderRows();
    layoutRenewed();
    showTableStatus();
}

void MainWindow::chooseDataCheckMode() {
    keysShown_ = dialogs_->askYesNo(
        this, QCoreApplication::translate("MainWindow",
                                          "データ検査のため、内部データの参照を示す 行０、列０を表示しますか？"));
    ShowKeys(ws_.table, keysShown_);
    refresh();
}

}  // namespace tavik::ui
