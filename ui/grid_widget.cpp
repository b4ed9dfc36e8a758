#include "ui/grid_widget.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <string>
#include <tuple>

#include "core/table.h"
#include "print/table_font.h"
#include "ui/grid_geometry.h"
#include "ui/text_images.h"

namespace tavik::ui {

namespace {

const QColor kNormalLine{192, 192, 192};
const QColor kFixedLine{140, 140, 140};
const QColor kOutside{236, 236, 236};        // past the last row / column
const QColor kSelectionTint{186, 208, 255};  // the selected range, multiplied like a tint
const QColor kDropMark{200, 0, 0};

}  // namespace

struct CompositionGrid::Impl {
    GridGeometry geo;
    std::uint64_t layoutVersion = ~std::uint64_t{0};
    const Table* laidOut = nullptr;
    std::string fontName;
    int fontSize = 0;
    TextImageCache texts;

    QTimer autoScroll;
    QPoint lastMouse;

    const GridAxis& cols() const { return geo.columns; }
    const GridAxis& rows() const { return geo.rows; }
};

// ---- Construction and the table ---------------------------------------------------------

CompositionGrid::CompositionGrid(QWidget* parent) : QAbstractScrollArea(parent), d_(std::make_unique<Impl>()) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    font_ = ResolveTableFont("ＭＳ 明朝", 9);  // data, not interface: a font family
    d_->texts.setFont(font_);
    d_->autoScroll.setInterval(40);
    connect(&d_->autoScroll, &QTimer::timeout, this, [this] {
        if (drag_ == DragKind::None) {
            d_->autoScroll.stop();
            return;
        }
        const QPoint p = d_->lastMouse;
        const int vw = viewport()->width(), vh = viewport()->height();
        int dx = 0, dy = 0;
        // A row being moved scrolls only up and down, a column only sideways.
        if (drag_ != DragKind::MoveRow) {
            if (p.x() >= vw) dx = 1;
            if (p.x() < d_->cols().fixedExtent()) dx = -1;
        }
        if (drag_ != DragKind::MoveCol) {
            if (p.y() >= vh) dy = 1;
            if (p.y() < d_->rows().fixedExtent()) dy = -1;
        }
        if (dx == 0 && dy == 0) return;
        const int stepX = table_ ? std::max(8, table_->DefaultColWidth()) : 16;
        const int stepY = table_ ? std::max(8, table_->DefaultRowHeight()) : 16;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + dx * stepX);
        verticalScrollBar()->setValue(verticalScrollBar()->value() + dy * stepY);
        QMouseEvent fake(QEvent::MouseMove, QPointF(p), viewport()->mapToGlobal(QPointF(p)), Qt::NoButton,
                         Qt::LeftButton, QGuiApplication::keyboardModifiers());
        mouseMoveEvent(&fake);
    });
}

CompositionGrid::~CompositionGrid() = default;

void CompositionGrid::setTable(const Table* table) {
    table_ = table;
    d_->laidOut = nullptr;
    drag_ = DragKind::None;
    tints_.clear();
    hits_.clear();
    curCol_ = curRow_ = anchorCol_ = anchorRow_ = 0;
    if (table_) {
        curCol_ = anchorCol_ = std::min(table_->FixedCols(), table_->ColCount() - 1);
        curRow_ = anchorRow_ = std::min(table_->FixedRows(), table_->RowCount() - 1);
    }
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    onTableChanged();
}

void CompositionGrid::syncLayout() const {
    Impl& d = *d_;
    if (!table_) {
        d.geo.columns.clear();
        d.geo.rows.clear();
        d.laidOut = nullptr;
        return;
    }
    const Table& t = *table_;
    if (t.FontName != d.fontName || t.FontSize != d.fontSize || d.laidOut != table_) {
        d.fontName = t.FontName;
        d.fontSize = t.FontSize;
        auto* self = const_cast<CompositionGrid*>(this);
        self->font_ = ResolveTableFont(t.FontName, t.FontSize);
        d.texts.setFont(font_);
    }
    if (d.laidOut == table_ && d.layoutVersion == t.LayoutVersion() && d.cols().count() == t.ColCount() &&
        d.rows().count() == t.RowCount() && d.rows().fixed() == std::min(t.FixedRows(), t.RowCount()))
        return;
    d.laidOut = table_;
    d.layoutVersion = t.LayoutVersion();
    d.geo.columns.layOut(t.ColCount(), t.FixedCols(), [&t](int c) { return t.ShownColWidth(c); });
    d.geo.rows.layOut(t.RowCount(), t.FixedRows(), [&t](int r) { return t.RowHeight(r); });
}

void CompositionGrid::onTableChanged() {
    syncLayout();
    if (table_) {
        const int c = std::clamp(curCol_, 0, std::max(0, table_->ColCount() - 1));
        const int r = std::clamp(curRow_, 0, std::max(0, table_->RowCount() - 1));
        anchorCol_ = std::clamp(anchorCol_, 0, std::max(0, table_->ColCount() - 1));
        anchorRow_ = std::clamp(anchorRow_, 0, std::max(0, table_->RowCount() - 1));
        if (c != curCol_ || r != curRow_) {
            curCol_ = c;
            curRow_ = r;
            emit currentCellChanged(c, r);
        }
    }
    updateScrollBars();
    viewport()->update();
}

void CompositionGrid::updateScrollBars() {
    syncLayout();
    const Impl& d = *d_;
    const int vw = viewport()->width(), vh = viewport()->height();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const int scrollW = std::max(1, vw - d.cols().fixedExtent());
    const int scrollH = std::max(1, vh - d.rows().fixedExtent());
    h->setRange(0, d.cols().maxScroll(vw));
    h->setPageStep(scrollW);
    h->setSingleStep(table_ ? std::max(1, table_->DefaultColWidth() + 1) : 20);
    v->setRange(0, d.rows().maxScroll(vh));
    v->setPageStep(scrollH);
    v->setSingleStep(table_ ? std::max(1, table_->DefaultRowHeight() + 1) : 16);
}

int CompositionGrid::scrollX() const { return horizontalScrollBar()->value(); }
int CompositionGrid::scrollY() const { return verticalScrollBar()->value(); }

int CompositionGrid::spanX(int col) const { return d_->cols().position(col, scrollX()); }
int CompositionGrid::spanY(int row) const { return d_->rows().position(row, scrollY()); }

// ---- Options, current cell, selection ---------------------------------------------------

void CompositionGrid::setRangeSelect(bool on) {
    rangeSelect_ = on;
    if (!on) {
        anchorCol_ = curCol_;
        anchorRow_ = curRow_;
    }
    viewport()->update();
}

void CompositionGrid::setCurrentCell(int col, int row) {
    if (table_) {
        col = std::clamp(col, 0, std::max(0, table_->ColCount() - 1));
        row = std::clamp(row, 0, std::max(0, table_->RowCount() - 1));
    }
    anchorCol_ = col;
    anchorRow_ = row;
    const bool changed = col != curCol_ || row != curRow_;
    curCol_ = col;
    curRow_ = row;
    viewport()->update();
    if (changed) emit currentCellChanged(col, row);
}

QRect CompositionGrid::selectedRect() const {
    if (!rangeSelect_) return QRect(QPoint(curCol_, curRow_), QPoint(curCol_, curRow_));
    return QRect(QPoint(std::min(anchorCol_, curCol_), std::min(anchorRow_, curRow_)),
                 QPoint(std::max(anchorCol_, curCol_), std::max(anchorRow_, curRow_)));
}

void CompositionGrid::setSelectedRect(const QRect& cells) {
    const QRect r = cells.normalized();
    setCurrentCell(r.right(), r.bottom());
    anchorCol_ = r.left();
    anchorRow_ = r.top();
    if (table_) {
        anchorCol_ = std::clamp(anchorCol_, 0, std::max(0, table_->ColCount() - 1));
        anchorRow_ = std::clamp(anchorRow_, 0, std::max(0, table_->RowCount() - 1));
    }
    emit selectionChanged(selectedRect());
}

// ---- Geometry ---------------------------------------------------------------------------

QPoint CompositionGrid::cellAt(const QPoint& pos) const {
    syncLayout();
    const Impl& d = *d_;
    if (!table_ || pos.x() < 0 || pos.y() < 0) return QPoint(-1, -1);
    return QPoint(d.cols().at(pos.x(), scrollX()), d.rows().at(pos.y(), scrollY()));
}

QRect CompositionGrid::cellRect(int col, int row) const {
    syncLayout();
    const Impl& d = *d_;
    if (!table_ || col < 0 || row < 0 || col >= d.cols().count() || row >= d.rows().count()) return QRect();
    const int w = d.cols().size(col), h = table_->RowHeight(row);
    if (w < 0 || h < 0) return QRect();
    const int x = spanX(col), y = spanY(row);
    // A scrolling cell is on screen when some of it (or of its grid line) shows past the
    // fixed part and inside the viewport.
    const int vw = viewport()->width(), vh = viewport()->height();
    if (col >= d.cols().fixed() && (x + w + 1 <= d.cols().fixedExtent() || x >= vw)) return QRect();
    if (row >= d.rows().fixed() && (y + h + 1 <= d.rows().fixedExtent() || y >= vh)) return QRect();
    return QRect(x, y, w, h);
}

// ---- Scrolling --------------------------------------------------------------------------

void CompositionGrid::scrollTo(int col, int row) {
    syncLayout();
    updateScrollBars();
    const Impl& d = *d_;
    if (col >= d.cols().fixed() && col < d.cols().count())
        horizontalScrollBar()->setValue(d.cols().offset(col) - d.cols().fixedExtent());
    if (row >= d.rows().fixed() && row < d.rows().count())
        verticalScrollBar()->setValue(d.rows().offset(row) - d.rows().fixedExtent());
}

void CompositionGrid::scrollToEnd() {
    updateScrollBars();
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void CompositionGrid::ensureVisible(int col, int row) {
    syncLayout();
    updateScrollBars();
    const Impl& d = *d_;
    horizontalScrollBar()->setValue(d.cols().scrollToShow(col, scrollX(), viewport()->width()));
    verticalScrollBar()->setValue(d.rows().scrollToShow(row, scrollY(), viewport()->height()));
}

int CompositionGrid::leftColumn() const {
    syncLayout();
    const Impl& d = *d_;
    const int c = d.cols().firstShown(scrollX());
    return c < 0 ? d.cols().fixed() : c;
}

int CompositionGrid::topRow() const {
    syncLayout();
    const Impl& d = *d_;
    const int r = d.rows().firstShown(scrollY());
    return r < 0 ? d.rows().fixed() : r;
}

// ---- Tints and cursors ------------------------------------------------------------------

void CompositionGrid::tintRow(int row, const QColor& color) {
    tints_.push_back({Tint::Row, 0, row, color});
    viewport()->update();
}

void CompositionGrid::tintColumn(int col, const QColor& color) {
    tints_.push_back({Tint::Col, col, 0, color});
    viewport()->update();
}

void CompositionGrid::clearTints() {
    if (tints_.empty()) return;
    tints_.clear();
    viewport()->update();
}

void CompositionGrid::setFNRowTint(bool on) {
    fnRowTint_ = on;
    viewport()->update();
}

void CompositionGrid::setSearchHits(std::vector<QPoint> cells) {
    hits_ = std::move(cells);
    viewport()->update();
}

void CompositionGrid::setDragCursor() { viewport()->setCursor(Qt::DragMoveCursor); }
void CompositionGrid::setDefaultCursor() { viewport()->unsetCursor(); }

// ---- Painting ---------------------------------------------------------------------------

void CompositionGrid::paintTint(QPainter& p, const Tint& t, const QRect& area) {
    const Impl& d = *d_;
    const int vw = area.width(), vh = area.height();
    QRect r;
    switch (t.kind) {
        case Tint::Row: {
            if (t.row < 0 || t.row >= d.rows().count()) return;
            const int h = table_->RowHeight(t.row);
            if (h <= 0) return;
            const int y = spanY(t.row);
            const int right =
                std::min(vw, spanX(d.cols().count() - 1) + std::max(0, d.cols().size(d.cols().count() - 1)));
            r = QRect(0, y, right, h);
            if (t.row >= d.rows().fixed()) r = r.intersected(QRect(0, d.rows().fixedExtent(), vw, vh));
            break;
        }
        case Tint::Col: {
            if (t.col < 0 || t.col >= d.cols().count()) return;
            const int w = d.cols().size(t.col);
            if (w <= 0) return;
            const int x = spanX(t.col);
            const int bottom =
                std::min(vh, spanY(d.rows().count() - 1) + std::max(0, table_->RowHeight(d.rows().count() - 1)));
            r = QRect(x, 0, w, bottom);
            if (t.col >= d.cols().fixed()) r = r.intersected(QRect(d.cols().fixedExtent(), 0, vw, vh));
            break;
        }
        case Tint::Cell: {
            if (t.col < 0 || t.row < 0 || t.col >= d.cols().count() || t.row >= d.rows().count()) return;
            const int w = d.cols().size(t.col), h = table_->RowHeight(t.row);
            if (w <= 0 || h <= 0) return;
            r = QRect(spanX(t.col), spanY(t.row), w, h);
            QRect clip(0, 0, vw, vh);
            if (t.col >= d.cols().fixed()) clip.setLeft(d.cols().fixedExtent());
            if (t.row >= d.rows().fixed()) clip.setTop(d.rows().fixedExtent());
            r = r.intersected(clip);
            break;
        }
    }
    if (!r.isEmpty()) p.fillRect(r, t.color);
}

// What one painting of the viewport measures once: the size painted, the fixed part's
// extent, where the grid ends, the device's pixel ratio.
struct CompositionGrid::PaintArea {
    int vw, vh, fixedW, fixedH, gridRight, gridBottom;
    qreal dpr;
};

void CompositionGrid::paintTo(QPainter& p, const QRect& area) {
    syncLayout();
    Impl& d = *d_;
    p.save();
    p.translate(area.topLeft());
    const int vw = area.width(), vh = area.height();
    p.setClipRect(QRect(0, 0, vw, vh));
    p.fillRect(QRect(0, 0, vw, vh), kOutside);
    if (!table_) {
        p.restore();
        return;
    }
    const int sx = scrollX(), sy = scrollY();
    PaintArea a{vw,
                vh,
                std::min(d.cols().fixedExtent(), vw),
                std::min(d.rows().fixedExtent(), vh),
                0,
                0,
                p.device() ? p.device()->devicePixelRatioF() : 1.0};

    // The visible columns and rows: index, screen position, size (0 = only the line).
    std::vector<GridSpan> fixedCols, scrollCols, fixedRows, scrollRows;
    d.cols().shown(sx, vw, fixedCols, scrollCols);
    d.rows().shown(sy, vh, fixedRows, scrollRows);

    a.gridRight = std::min(vw, d.cols().count() > d.cols().fixed() ? d.cols().total() - sx : d.cols().fixedExtent());
    a.gridBottom = std::min(vh, d.rows().count() > d.rows().fixed() ? d.rows().total() - sy : d.rows().fixedExtent());
    const int fixedW = a.fixedW, fixedH = a.fixedH, gridRight = a.gridRight, gridBottom = a.gridBottom;

    paintCells(p, scrollCols, scrollRows, QRect(QPoint(fixedW, fixedH), QPoint(gridRight - 1, gridBottom - 1)), false,
               a.dpr);
    paintCells(p, scrollCols, fixedRows, QRect(QPoint(fixedW, 0), QPoint(gridRight - 1, fixedH - 1)), true, a.dpr);
    paintCells(p, fixedCols, scrollRows, QRect(QPoint(0, fixedH), QPoint(fixedW - 1, gridBottom - 1)), true, a.dpr);
    paintCells(p, fixedCols, fixedRows, QRect(0, 0, fixedW, fixedH), true, a.dpr);
    p.setClipRect(QRect(0, 0, vw, vh));

    paintTints(p, a);
    paintMarks(p, a);
    p.restore();
}

void CompositionGrid::paintCells(QPainter& p, const std::vector<GridSpan>& cols, const std::vector<GridSpan>& rows,
                                 const QRect& clip, bool fixed, qreal dpr) {
    using Span = GridSpan;
    const Table& t = *table_;
    Impl& d = *d_;
    if (cols.empty() || rows.empty() || clip.isEmpty()) return;
    p.setClipRect(clip);
    const Span& lastC = cols.back();
    const Span& lastR = rows.back();
    const QRect body =
        QRect(QPoint(cols.front().pos, rows.front().pos), QPoint(lastC.pos + lastC.size, lastR.pos + lastR.size))
            .intersected(clip);
    p.fillRect(body, fixed ? kFixedCellColor : kNormalCellColor);
    // Texts, from cached images, cut to the cell.
    std::string text;
    for (const Span& rs : rows) {
        if (rs.size < 4) continue;
        const int top = rs.pos + std::max(0, (rs.size - d.texts.em()) / 2 - 1);
        const int hAvail = rs.pos + rs.size - top;
        for (const Span& cs : cols) {
            if (cs.size < 4) continue;
            text = t.ShownText(cs.index, rs.index);
            if (text.empty()) continue;
            const TextImage& s = d.texts.imageFor(text, dpr);
            const int left = cs.pos + 2;
            const int w = std::min(s.width, cs.pos + cs.size - left);
            const int h = std::min(s.height, hAvail);
            if (w <= 0 || h <= 0) continue;
            if (w == s.width && h == s.height) p.drawImage(QPoint(left, top), s.image);
            else p.drawImage(QRectF(left, top, w, h), s.image, QRectF(0, 0, w * dpr, h * dpr));
        }
    }
    // Grid lines: the right edge of every column and the bottom edge of every row.
    const QColor line = fixed ? kFixedLine : kNormalLine;
    const int y0 = rows.front().pos, y1 = lastR.pos + lastR.size + 1;
    const int x0 = cols.front().pos, x1 = lastC.pos + lastC.size + 1;
    for (const Span& cs : cols) p.fillRect(QRect(cs.pos + cs.size, y0, 1, y1 - y0), line);
    for (const Span& rs : rows) p.fillRect(QRect(x0, rs.pos + rs.size, x1 - x0, 1), line);
}

void CompositionGrid::paintTints(QPainter& p, const PaintArea& a) {
    const Table& t = *table_;
    const Impl& d = *d_;
    const int vw = a.vw, vh = a.vh;
    // Tints multiply what is painted, so text under them stays readable.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    if (rangeSelect_) {
        const QRect sel = selectedRect();
        if (sel.width() > 1 || sel.height() > 1) {
            // Corners may be scrolled away: span the selection by the offsets.
            const int x0 = spanX(sel.left()), y0 = spanY(sel.top());
            const int x1 = spanX(sel.right()) + std::max(0, d.cols().size(sel.right()));
            const int y1 = spanY(sel.bottom()) + std::max(0, t.RowHeight(sel.bottom()));
            QRect clip(0, 0, vw, vh);
            if (sel.left() >= d.cols().fixed()) clip.setLeft(a.fixedW);
            if (sel.top() >= d.rows().fixed()) clip.setTop(a.fixedH);
            const QRect r = QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)).intersected(clip);
            if (!r.isEmpty()) p.fillRect(r, kSelectionTint);
        }
    }
    if (fnRowTint_ && t.FNRow() > 0) paintTint(p, {Tint::Row, 0, t.FNRow(), kTintFNRow}, QRect(0, 0, vw, vh));
    for (const QPoint& h : hits_) paintTint(p, {Tint::Cell, h.x(), h.y(), kTintSearchHit}, QRect(0, 0, vw, vh));
    for (const Tint& tint : tints_) paintTint(p, tint, QRect(0, 0, vw, vh));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void CompositionGrid::paintMarks(QPainter& p, const PaintArea& a) {
    const Table& t = *table_;
    const Impl& d = *d_;
    const int vw = a.vw, vh = a.vh, fixedW = a.fixedW, fixedH = a.fixedH;
    // The current cell, when it is a normal one.
    if (curCol_ >= d.cols().fixed() && curRow_ >= d.rows().fixed()) {
        const QRect c = cellRect(curCol_, curRow_);
        if (c.width() > 2 && c.height() > 2) {
            p.setClipRect(QRect(QPoint(fixedW, fixedH), QPoint(vw - 1, vh - 1)));
            QPen pen(QColor(0, 0, 0));
            pen.setStyle(hasFocus() ? Qt::SolidLine : Qt::DotLine);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
            p.drawRect(c.adjusted(0, 0, -1, -1));
        }
    }

    // Where a dragged row or column would land.
    if ((drag_ == DragKind::MoveRow || drag_ == DragKind::MoveCol) && dragTo_ >= 0 && dragTo_ != dragFrom_) {
        p.setClipRect(QRect(0, 0, vw, vh));
        if (drag_ == DragKind::MoveRow) {
            const int y = dragTo_ > dragFrom_ ? spanY(dragTo_) + std::max(0, t.RowHeight(dragTo_)) : spanY(dragTo_) - 1;
            if (y >= fixedH - 1) p.fillRect(QRect(0, y - 1, a.gridRight, 3), kDropMark);
        } else {
            const int x =
                dragTo_ > dragFrom_ ? spanX(dragTo_) + std::max(0, d.cols().size(dragTo_)) : spanX(dragTo_) - 1;
            if (x >= fixedW - 1) p.fillRect(QRect(x - 1, 0, 3, a.gridBottom), kDropMark);
        }
    }
}

void CompositionGrid::paintEvent(QPaintEvent*) {
    const Impl& d = *d_;
    const auto before = std::make_tuple(d.layoutVersion, d.cols().count(), d.rows().count());
    syncLayout();
    if (before != std::make_tuple(d.layoutVersion, d.cols().count(), d.rows().count())) updateScrollBars();
    QPainter p(viewport());
    paintTo(p, viewport()->rect());
}

void CompositionGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void CompositionGrid::scrollContentsBy(int, int) { viewport()->update(); }

// ---- Mouse ------------------------------------------------------------------------------

int CompositionGrid::dropRowAt(const QPoint& pos) const {
    const int row = cellAt(QPoint(std::max(0, pos.x()), pos.y())).y();
    return table_ && table_->IsUsedSpeciesRow(row) ? row : -1;
}

int CompositionGrid::dropColumnAt(const QPoint& pos) const {
    const int col = cellAt(QPoint(pos.x(), std::max(0, pos.y()))).x();
    return table_ && table_->IsUsedReleveCol(col) ? col : -1;
}

void CompositionGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QPoint cell = cellAt(pos);
    emit mousePressed(e->button(), e->modifiers(), cell.x(), cell.y(), pos);
    if (!table_ || e->button() != Qt::LeftButton || cell.x() < 0 || cell.y() < 0) return;
    const Impl& d = *d_;
    const int col = cell.x(), row = cell.y();
    d_->lastMouse = pos;
    if (rowMoving_ && col < d.cols().fixed() && table_->IsUsedSpeciesRow(row)) {
        drag_ = DragKind::MoveRow;
        dragFrom_ = dragTo_ = row;
    } else if (colMoving_ && row <= table_->FNRow() && row < d.rows().fixed() && table_->IsUsedReleveCol(col)) {
        drag_ = DragKind::MoveCol;
        dragFrom_ = dragTo_ = col;
    } else if (col >= d.cols().fixed() && row >= d.rows().fixed()) {
        setCurrentCell(col, row);
        if (rangeSelect_) {
            drag_ = DragKind::Select;
            emit selectionChanged(selectedRect());
        }
    }
}

void CompositionGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QPoint cell = cellAt(pos);
    d_->lastMouse = pos;
    if (drag_ != DragKind::None && table_) {
        const Impl& d = *d_;
        const int vw = viewport()->width(), vh = viewport()->height();
        const bool outsideX = pos.x() >= vw || pos.x() < d.cols().fixedExtent();
        const bool outsideY = pos.y() >= vh || pos.y() < d.rows().fixedExtent();
        const bool outside = drag_ == DragKind::MoveRow   ? outsideY
                             : drag_ == DragKind::MoveCol ? outsideX
                                                          : outsideX || outsideY;
        if (outside && !d_->autoScroll.isActive()) d_->autoScroll.start();
        if (!outside) d_->autoScroll.stop();
        if (drag_ == DragKind::Select) {
            // The moving corner follows the pointer, kept to the normal cells.
            const int cx = std::clamp(pos.x(), d.cols().fixedExtent(), std::max(d.cols().fixedExtent(), vw - 1));
            const int cy = std::clamp(pos.y(), d.rows().fixedExtent(), std::max(d.rows().fixedExtent(), vh - 1));
            QPoint c = cellAt(QPoint(cx, cy));
            if (c.x() < 0) c.setX(cx >= d.cols().fixedExtent() && pos.x() >= 0 ? d.cols().count() - 1 : curCol_);
            if (c.y() < 0) c.setY(cy >= d.rows().fixedExtent() && pos.y() >= 0 ? d.rows().count() - 1 : curRow_);
            c.setX(std::max(c.x(), d.cols().fixed()));
            c.setY(std::max(c.y(), d.rows().fixed()));
            if (c.x() != curCol_ || c.y() != curRow_) {
                curCol_ = c.x();
                curRow_ = c.y();
                viewport()->update();
                emit currentCellChanged(curCol_, curRow_);
                emit selectionChanged(selectedRect());
            }
        } else if (drag_ == DragKind::MoveRow) {
            const int to = dropRowAt(pos);
            if (to != dragTo_) {
                dragTo_ = to;
                viewport()->update();
            }
        } else if (drag_ == DragKind::MoveCol) {
            const int to = dropColumnAt(pos);
            if (to != dragTo_) {
                dragTo_ = to;
                viewport()->update();
            }
        }
    }
    emit mouseMoved(e->buttons(), e->modifiers(), cell.x(), cell.y(), pos);
}

void CompositionGrid::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    d_->autoScroll.stop();
    if (e->button() == Qt::LeftButton && drag_ != DragKind::None) {
        const DragKind kind = drag_;
        const int from = dragFrom_;
        drag_ = DragKind::None;
        if (kind == DragKind::MoveRow) {
            const int to = dropRowAt(pos);
            if (to >= 0 && to != from) emit rowMoved(from, to);
        } else if (kind == DragKind::MoveCol) {
            const int to = dropColumnAt(pos);
            if (to >= 0 && to != from) emit columnMoved(from, to);
        }
        dragFrom_ = dragTo_ = -1;
        viewport()->update();
    }
    const QPoint cell = cellAt(pos);
    emit mouseReleased(e->button(), e->modifiers(), cell.x(), cell.y(), pos);
}

void CompositionGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    // A double click is a second press (a drag may start from it), and asks for an edit.
    mousePressEvent(e);
    const QPoint cell = cellAt(e->position().toPoint());
    if (table_ && e->button() == Qt::LeftButton && cell.x() >= 0 && cell.y() >= 0)
        emit editRequested(cell.x(), cell.y());
}

void CompositionGrid::wheelEvent(QWheelEvent* e) {
    QPoint delta = e->pixelDelta();
    if (delta.isNull()) {
        const QPoint steps = e->angleDelta();
        const int rowStep = table_ ? table_->DefaultRowHeight() + 1 : 16;
        const int colStep = table_ ? table_->DefaultColWidth() + 1 : 20;
        delta = QPoint(steps.x() * 3 * colStep / 120, steps.y() * 3 * rowStep / 120);
    }
    if (e->modifiers() & Qt::ShiftModifier) delta = QPoint(delta.y() != 0 ? delta.y() : delta.x(), 0);
    if (delta.x() != 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - delta.x());
    if (delta.y() != 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - delta.y());
    e->accept();
}

// ---- Keyboard ---------------------------------------------------------------------------

void CompositionGrid::keyPressEvent(QKeyEvent* e) {
    if (!table_) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    syncLayout();
    const Impl& d = *d_;
    const Table& t = *table_;
    const int firstCol = d.cols().fixed(), lastCol = d.cols().count() - 1;
    const int firstRow = d.rows().fixed(), lastRow = d.rows().count() - 1;
    if (firstCol > lastCol || firstRow > lastRow) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    auto stepCol = [&](int c, int dir) {
        for (int n = c + dir; n >= firstCol && n <= lastCol; n += dir)
            if (t.ColWidth(n) >= 0) return n;
        return c;
    };
    auto stepRow = [&](int r, int dir) {
        for (int n = r + dir; n >= firstRow && n <= lastRow; n += dir)
            if (t.RowHeight(n) >= 0) return n;
        return r;
    };
    int col = std::clamp(curCol_, firstCol, lastCol), row = std::clamp(curRow_, firstRow, lastRow);
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    const int page =
        std::max(1, (viewport()->height() - d.rows().fixedExtent()) / std::max(1, t.DefaultRowHeight() + 1));
    switch (e->key()) {
        case Qt::Key_F2:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (e->modifiers() & ~Qt::KeypadModifier) {
                QAbstractScrollArea::keyPressEvent(e);
                return;
            }
            emit editRequested(curCol_, curRow_);
            e->accept();
            return;
        case Qt::Key_Left: col = stepCol(col, -1); break;
        case Qt::Key_Right: col = stepCol(col, +1); break;
        case Qt::Key_Up: row = stepRow(row, -1); break;
        case Qt::Key_Down: row = stepRow(row, +1); break;
        case Qt::Key_PageUp:
            for (int i = 0; i < page; ++i) row = stepRow(row, -1);
            break;
        case Qt::Key_PageDown:
            for (int i = 0; i < page; ++i) row = stepRow(row, +1);
            break;
        case Qt::Key_Home:
            col = stepCol(firstCol - 1, +1);
            if (ctrl) row = stepRow(firstRow - 1, +1);
            break;
        case Qt::Key_End:
            col = stepCol(lastCol + 1, -1);
            if (ctrl) row = stepRow(lastRow + 1, -1);
            break;
        default: QAbstractScrollArea::keyPressEvent(e); return;
    }
    if (rangeSelect_ && (e->modifiers() & Qt::ShiftModifier)) {
        const bool changed = col != curCol_ || row != curRow_;
        curCol_ = col;
        curRow_ = row;
        viewport()->update();
        if (changed) {
            emit currentCellChanged(col, row);
            emit selectionChanged(selectedRect());
        }
    } else {
        setCurrentCell(col, row);
    }
    ensureVisible(col, row);
    e->accept();
}

}  // namespace tavik::ui
