// The table search: the search panel, the hits and their release.
#include "core/search.h"
#include "ui/grid_widget.h"
#include "ui/main_window.h"
#include "ui/main_window_busy.h"
#include "ui/panels.h"

namespace tavik::ui {

void MainWindow::showSearchPanel() { searchPanel_->open(); }

void MainWindow::onSearchExact() { search(true); }

void MainWindow::onSearchPartial() { search(false); }

void MainWindow::search(bool exact) {
    const QString typed = searchPanel_->takeText();
    searchPanel_->hide();
    bool moreHits = false;
    {
        auto busy = BusyScope::cursorOnly(this);
        const auto hits = SearchTable(ws_.table, typed.toStdString(), exact, &moreHits);
        std::vector<QPoint> cells;
        cells.reserve(hits.size());
        for (const CellPos& h : hits) cells.emplace_back(h.col, h.row);
        grid_->setSearchHits(std::move(cells));
        if (!hits.empty()) grid_->ensureVisible(hits.front().col, hits.front().row);
    }
    grid_->viewport()->update();
    const QString shown = typed.trimmed();
    if (shown.isEmpty()) return;
    const int found = static_cast<int>(grid_->searchHits().size());
    showNote(found == 0 ? QStringLiteral("「%1」は見つかりません").arg(shown)
                        : (moreHits ? QStringLiteral("「%1」：%2 か所以上") : QStringLiteral("「%1」：%2 か所")).arg(shown).arg(found),
             6000);
}

void MainWindow::closeSearchPanel() { searchPanel_->hide(); }

void MainWindow::resetSearch() {
    grid_->setSearchHits({});
    grid_->viewport()->update();
}

}  // namespace tavik::ui
