// The table search: the search panel, the hits and their release.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "core/search.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/panels.h"

namespace tavik::ui {

void MainWindow::Item_SearchClick() {
    searchPanel_->QueryLabel->setText(QStringLiteral("検索する文字列"));
    searchPanel_->Place();
    searchPanel_->show();
    searchPanel_->raise();
    searchPanel_->QueryBox->setFocus();
    searchPanel_->QueryBox->lineEdit()->selectAll();
}

void MainWindow::QueryBtn1Click(bool exact) {
    QComboBox* box = searchPanel_->QueryBox;
    const QString typed = box->currentText();
    // Every search goes into the list, a repeated one too.
    box->addItem(typed);
    box->setCurrentIndex(box->count() - 1);
    searchPanel_->hide();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto hits = SearchTable(ws_.table, typed.toStdString(), exact);
    std::vector<QPoint> cells;
    cells.reserve(hits.size());
    for (const CellPos& h : hits) cells.emplace_back(h.col, h.row);
    grid_->SetSearchHits(std::move(cells));
    if (!hits.empty()) grid_->EnsureVisible(hits.front().col, hits.front().row);
    QApplication::restoreOverrideCursor();
    grid_->viewport()->update();
    if (!QStringView(typed).trimmed().isEmpty())
        Note(hits.empty() ? QStringLiteral("「%1」は見つかりません").arg(typed.trimmed())
                          : QStringLiteral("「%1」：%2 か所").arg(typed.trimmed()).arg(hits.size()),
             6000);
}

void MainWindow::QueryCancelBtnClick() { searchPanel_->hide(); }

void MainWindow::Item_ResetSearchClick() {
    grid_->SetSearchHits({});
    grid_->viewport()->update();
}

}  // namespace tavik::ui
