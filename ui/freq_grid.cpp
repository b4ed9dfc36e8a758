#include "ui/freq_grid.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

#include "core/freq_table.h"
#include "core/table_fidelity.h"
#include "ui/qt_text.h"

namespace tavik::ui {

namespace {
constexpr int kLine = 1;        // grid line width
constexpr int kTextIndent = 2;  // text starts this far into its cell
constexpr int kResizeGrip = 3;  // pixels either side of a column edge that resize it
const QColor kLineColor{160, 176, 176};
const QColor kSelectedColor{0, 120, 215};
const QColor kBlockLineColor{60, 60, 60};
}  // namespace

QColor GroupTint(int g) {
    // The tints the files use too.
    return QColor(static_cast<QRgb>(GroupTintRgb(g)));
}

FreqGrid::FreqGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
}

void FreqGrid::setTable(tavik::FreqTable* table) {
    table_ = table;
    selection_ = QRect();
    tableChanged();
}

void FreqGrid::tableChanged() {
    if (table_) {
        // A selection past the table's new edges goes.
        if (selection_.isValid() &&
            (selection_.right() >= table_->ColCount() || selection_.bottom() >= table_->RowCount()))
            selection_ = QRect();
    }
    updateScrollBars();
    viewport()->update();
}

void FreqGrid::setGridFont(const QFont& font) {
    font_ = font;
    viewport()->update();
}

int FreqGrid::rowHeight() const { return table_ ? std::max(table_->defaultRowHeight, 0) : 15; }

int FreqGrid::topRow() const { return table_ ? table_->fixedRows + verticalScrollBar()->value() : 0; }
int FreqGrid::leftColumn() const { return table_ ? table_->fixedCols + horizontalScrollBar()->value() : 0; }

int FreqGrid::colLeft(int col) const {
    if (!table_) return -1;
    int x = 0;
    for (int c = 0; c < table_->fixedCols; ++c) {
        if (c == col) return x;
        x += table_->ColWidth(c) + kLine;
    }
    if (col < leftColumn()) return -1;
    for (int c = leftColumn(); c < col; ++c) {
        x += table_->ColWidth(c) + kLine;
        if (x > viewport()->width()) return -1;
    }
    return x;
}

int FreqGrid::rowTop(int row) const {
    if (!table_) return -1;
    const int pitch = rowHeight() + kLine;
    if (row < table_->fixedRows) return row * pitch;
    if (row < topRow()) return -1;
    return (table_->fixedRows + row - topRow()) * pitch;
}

QRect FreqGrid::cellRect(int col, int row) const {
    if (!table_ || col < 0 || row < 0 || col >= table_->ColCount() || row >= table_->RowCount()) return {};
    const int x = colLeft(col), y = rowTop(row);
    if (x < 0 || y < 0 || x > viewport()->width() || y > viewport()->height()) return {};
    return QRect(x, y, table_->ColWidth(col), rowHeight());
}

QPoint FreqGrid::cellAt(const QPoint& p) const {
    if (!table_ || p.x() < 0 || p.y() < 0) return {-1, -1};
    const int pitch = rowHeight() + kLine;
    int row = p.y() / pitch;
    if (row >= table_->fixedRows) row = topRow() + (row - table_->fixedRows);
    if (row >= table_->RowCount()) return {-1, -1};
    int x = 0, col = -1;
    for (int c = 0; c < table_->fixedCols && col < 0; ++c) {
        x += table_->ColWidth(c) + kLine;
        if (p.x() < x) col = c;
    }
    for (int c = leftColumn(); c < table_->ColCount() && col < 0; ++c) {
        x += table_->ColWidth(c) + kLine;
        if (p.x() < x) col = c;
    }
    if (col < 0) return {-1, -1};
    return {col, row};
}

void FreqGrid::updateScrollBars() {
    if (!table_) {
        verticalScrollBar()->setRange(0, 0);
        horizontalScrollBar()->setRange(0, 0);
        return;
    }
    const int pitch = rowHeight() + kLine;
    const int fixedH = table_->fixedRows * pitch;
    const int rowsFit = std::max(1, (viewport()->height() - fixedH) / std::max(pitch, 1));
    const int scrollRows = table_->RowCount() - table_->fixedRows;
    verticalScrollBar()->setRange(0, std::max(0, scrollRows - rowsFit));
    verticalScrollBar()->setPageStep(rowsFit);
    int fixedW = 0;
    for (int c = 0; c < table_->fixedCols; ++c) fixedW += table_->ColWidth(c) + kLine;
    // How many of the last columns fit beside the fixed ones.
    int room = viewport()->width() - fixedW, fit = 0;
    for (int c = table_->ColCount() - 1; c >= table_->fixedCols; --c) {
        room -= table_->ColWidth(c) + kLine;
        if (room < 0) break;
        ++fit;
    }
    const int scrollCols = table_->ColCount() - table_->fixedCols;
    horizontalScrollBar()->setRange(0, std::max(0, scrollCols - std::max(fit, 1)));
    horizontalScrollBar()->setPageStep(std::max(fit, 1));
}

void FreqGrid::scrollToCell(int col, int row) {
    if (!table_) return;
    if (row >= table_->fixedRows) verticalScrollBar()->setValue(row - table_->fixedRows);
    if (col >= table_->fixedCols) horizontalScrollBar()->setValue(col - table_->fixedCols);
}

void FreqGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void FreqGrid::scrollContentsBy(int, int) { viewport()->update(); }

void FreqGrid::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    if (!table_) return;
    p.setFont(font_);
    const int h = rowHeight(), W = viewport()->width(), H = viewport()->height();
    std::vector<int> cols;
    for (int c = 0; c < table_->fixedCols; ++c) cols.push_back(c);
    {
        int x = 0;
        for (int c : cols) x += table_->ColWidth(c) + kLine;
        for (int c = leftColumn(); c < table_->ColCount() && x <= W; ++c) {
            cols.push_back(c);
            x += table_->ColWidth(c) + kLine;
        }
    }
    std::vector<int> rows;
    for (int r = 0; r < std::min(table_->fixedRows, table_->RowCount()); ++r) rows.push_back(r);
    for (int r = topRow(), y = table_->fixedRows * (h + kLine); r < table_->RowCount() && y <= H; ++r, y += h + kLine)
        rows.push_back(r);

    const QColor text = palette().color(QPalette::Text);
    int y = 0;
    for (int r : rows) {
        int x = 0;
        for (int c : cols) {
            const int w = table_->ColWidth(c);
            const bool fixed = r < table_->fixedRows || c < table_->fixedCols;
            const bool selected = !fixed && selection_.isValid() && selection_.contains(c, r);
            const QRect cell(x, y, w, h);
            p.fillRect(cell, selected ? kSelectedColor : fixed ? kFreqFixedColor : kFreqCellColor);
            if (const int shade = table_->Shade(c, r); shade > 0 && !selected) {
                p.setCompositionMode(QPainter::CompositionMode_Multiply);
                p.fillRect(cell, GroupTint(shade));
                p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            }
            p.setPen(kLineColor);
            p.drawLine(x + w, y, x + w, y + h);
            // Where one diagnostic block ends and the next begins (rows next to each other in
            // the order of the blocks), a dark rule as in a printed synoptic table.
            const int next = r + 1 < table_->RowCount() ? r + 1 : -1;
            const bool blockEnd = next > 0 && table_->RowsInBlockOrder() && table_->RowRank(r) >= 0 &&
                                  table_->RowRank(next) == table_->RowRank(r) + 1 &&
                                  table_->RowBlock(next) != table_->RowBlock(r);
            if (blockEnd) p.setPen(kBlockLineColor);
            p.drawLine(x, y + h, x + w, y + h);
            const std::string& s = table_->Text(c, r);
            if (!s.empty() && w > kTextIndent) {
                p.setPen(selected ? QColor(Qt::white) : text);
                p.drawText(cell.adjusted(kTextIndent, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                           Q(s));
            }
            x += w + kLine;
        }
        y += h + kLine;
    }
}

int FreqGrid::resizeEdgeAt(const QPoint& p) const {
    if (!table_ || p.y() >= table_->fixedRows * (rowHeight() + kLine)) return -1;
    for (int c = 0; c < table_->ColCount(); ++c) {
        const int x = colLeft(c);
        if (x < 0) continue;
        const int edge = x + table_->ColWidth(c);
        if (std::abs(p.x() - edge) <= kResizeGrip) return c;
    }
    return -1;
}

void FreqGrid::mousePressEvent(QMouseEvent* e) {
    if (!table_ || e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    const int edge = resizeEdgeAt(pos);
    if (edge >= 0) {
        drag_ = Drag::Resize;
        dragFrom_ = edge;
        dragStartX_ = pos.x();
        dragStartWidth_ = table_->ColWidth(edge);
        return;
    }
    const QPoint cell = cellAt(pos);
    if (cell.x() < 0) return;
    const bool inFixedCol = cell.x() < table_->fixedCols, inFixedRow = cell.y() < table_->fixedRows;
    if (inFixedCol && !inFixedRow) {
        drag_ = Drag::MoveRow;
        dragFrom_ = cell.y();
        viewport()->setCursor(Qt::SizeVerCursor);
    } else if (inFixedRow && !inFixedCol) {
        drag_ = Drag::MoveCol;
        dragFrom_ = cell.x();
        viewport()->setCursor(Qt::SizeHorCursor);
    } else if (!inFixedRow && !inFixedCol) {
        drag_ = Drag::Select;
        anchor_ = cell;
        selection_ = QRect(cell, cell);
        viewport()->update();
    }
}

void FreqGrid::mouseMoveEvent(QMouseEvent* e) {
    if (!table_) return;
    const QPoint pos = e->position().toPoint();
    if (drag_ == Drag::None) {
        viewport()->setCursor(resizeEdgeAt(pos) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
        return;
    }
    if (drag_ == Drag::Resize) {
        table_->SetColWidth(dragFrom_, std::max(0, dragStartWidth_ + pos.x() - dragStartX_));
        updateScrollBars();
        viewport()->update();
    } else if (drag_ == Drag::Select) {
        const QPoint cell = cellAt(pos);
        if (cell.x() >= table_->fixedCols && cell.y() >= table_->fixedRows) {
            selection_ = QRect(QPoint(std::min(anchor_.x(), cell.x()), std::min(anchor_.y(), cell.y())),
                               QPoint(std::max(anchor_.x(), cell.x()), std::max(anchor_.y(), cell.y())));
            viewport()->update();
        }
    }
}

void FreqGrid::mouseReleaseEvent(QMouseEvent* e) {
    if (!table_) return;
    const Drag drag = drag_;
    drag_ = Drag::None;
    viewport()->setCursor(Qt::ArrowCursor);
    const QPoint cell = cellAt(e->position().toPoint());
    if (drag == Drag::MoveRow && cell.y() >= table_->fixedRows && cell.y() != dragFrom_) {
        table_->MoveRow(dragFrom_, cell.y());
        viewport()->update();
        emit rowMoved(dragFrom_, cell.y());
    } else if (drag == Drag::MoveCol && cell.x() >= table_->fixedCols && cell.x() != dragFrom_) {
        table_->MoveColumn(dragFrom_, cell.x());
        viewport()->update();
        emit columnMoved(dragFrom_, cell.x());
    }
}

}  // namespace tavik::ui
