#include "ui/grid_widget.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <unordered_map>

#include "core/table.h"
#include "ui/table_font.h"

namespace tavik::ui {

namespace {

const QColor kNormalLine{192, 192, 192};
const QColor kFixedLine{140, 140, 140};
const QColor kOutside{236, 236, 236};       // past the last row / column
const QColor kSelectionTint{186, 208, 255};  // the selected range, multiplied like a tint
const QColor kDropMark{200, 0, 0};

// Extent of a row or column on screen: its size plus its grid line, nothing when hidden.
inline int Extent(int size) { return size < 0 ? 0 : size + 1; }

// Half-width (1) or full-width (2) slot of a character, as the table's layouts count it.
inline int Slots(char32_t u) {
    if (u < 0x80) return 1;
    if (u >= 0xFF61 && u <= 0xFF9F) return 1;  // half-width katakana
    return 2;
}

// A pre-rendered text: drawing cached images is what keeps a full screen of cells cheap.
struct Sprite {
    QImage image;  // transparent, text in black
    int width = 0; // logical pixels
    int height = 0;
};

}  // namespace

struct VegGrid::Impl {
    // Offsets: xs[c] is the left edge of column c with every column laid end to end
    // (size plus grid line each), xs[ColCount] the total width; likewise ys for rows.
    std::vector<int> xs, ys;
    std::uint64_t layoutVersion = ~std::uint64_t{0};
    const Table* laidOut = nullptr;
    int cols = -1, rows = -1, fixedCols = 0, fixedRows = 0;
    std::string fontName;
    int fontSize = 0;
    QFont drawFont;  // the table font in pixels

    // Text sprites, keyed on the UTF-8 text.
    std::unordered_map<std::string, Sprite> sprites;
    std::size_t spriteBytes = 0;
    qreal spriteDpr = 0;
    int em = 12;          // the font's size in pixels
    qreal unit = 6;       // a half-width slot: half the size, as in the layouts' counting
    bool monospaced = true;
    qreal baseline = 11;  // in a sprite
    int textHeight = 15;  // of a sprite

    QTimer autoScroll;
    QPoint lastMouse;

    int FixedW() const { return xs.empty() ? 0 : xs[static_cast<std::size_t>(fixedCols)]; }
    int FixedH() const { return ys.empty() ? 0 : ys[static_cast<std::size_t>(fixedRows)]; }
    int TotalW() const { return xs.empty() ? 0 : xs.back(); }
    int TotalH() const { return ys.empty() ? 0 : ys.back(); }

    // The index i in [lo, hi) with v[i] <= a < v[i+1], or -1; hidden entries (no extent)
    // are never found.
    static int Find(const std::vector<int>& v, int lo, int hi, int a) {
        if (lo >= hi || a < v[static_cast<std::size_t>(lo)] || a >= v[static_cast<std::size_t>(hi)]) return -1;
        auto first = v.begin() + lo, last = v.begin() + hi + 1;
        auto it = std::upper_bound(first, last, a);
        return static_cast<int>(it - v.begin()) - 1;
    }

    void SetFont(const QFont& tableFont) {
        drawFont = GridDrawingFont(tableFont);
        const QFont& f = drawFont;
        QFontMetricsF fm(f);
        em = f.pixelSize() > 0 ? f.pixelSize() : static_cast<int>(std::lround(fm.height()));
        unit = em / 2.0;
        // Placed by the em box rather than by the font's ascent and descent, which some
        // CJK fonts make far taller than a row.
        baseline = std::round(0.86 * em) + 1;
        textHeight = em + 3;
        monospaced = true;
        for (QChar ch : QStringLiteral(" +rei.W(1")) {
            if (std::abs(fm.horizontalAdvance(ch) - unit) > 0.01) monospaced = false;
        }
        if (std::abs(fm.horizontalAdvance(QChar(0x7A2E)) - 2 * unit) > 0.01) monospaced = false;
        sprites.clear();
    }

    const Sprite& SpriteFor(const std::string& text, qreal dpr) {
        const QFont& font = drawFont;
        if (dpr != spriteDpr) {
            sprites.clear();
            spriteBytes = 0;
            spriteDpr = dpr;
        }
        auto it = sprites.find(text);
        if (it != sprites.end()) return it->second;
        // Cell codes repeat; names and header values do not. Start afresh past 16 MB.
        if (spriteBytes > (16u << 20)) {
            sprites.clear();
            spriteBytes = 0;
        }

        const QString s = QString::fromStdString(text);
        const std::u32string u = s.toStdU32String();
        int nslots = 0;
        for (char32_t c : u) nslots += Slots(c);
        QFontMetricsF fm(font);
        const int w = static_cast<int>(std::ceil(std::max(nslots * unit, fm.horizontalAdvance(s)))) + 1;
        Sprite sp;
        sp.width = std::max(1, w);
        sp.height = std::max(1, textHeight);
        sp.image = QImage(static_cast<int>(std::ceil(sp.width * dpr)), static_cast<int>(std::ceil(sp.height * dpr)),
                          QImage::Format_ARGB32_Premultiplied);
        sp.image.setDevicePixelRatio(dpr);
        sp.image.fill(Qt::transparent);
        {
            QPainter p(&sp.image);
            p.setFont(font);
            p.setPen(Qt::black);
            // Numbers right-aligned in 4 and cell codes (one letter per layer group) must
            // line up from row to row: in a font that is not monospaced, such texts get
            // one slot per character. Longer texts (names, comments) read better as set.
            const bool columnar = u.size() <= 4 || (!u.empty() && u[0] == U' ');
            if (monospaced || !columnar) {
                p.drawText(QPointF(0, baseline), s);
            } else {
                qreal x = 0;
                for (char32_t c : u) {
                    const QString one = QString::fromUcs4(&c, 1);
                    const qreal slotW = Slots(c) * unit;
                    p.drawText(QPointF(x + (slotW - fm.horizontalAdvance(one)) / 2, baseline), one);
                    x += slotW;
                }
            }
        }
        spriteBytes += static_cast<std::size_t>(sp.image.sizeInBytes()) + text.size() + 64;
        return sprites.emplace(text, std::move(sp)).first->second;
    }
};

// ---- Construction and the table ---------------------------------------------------------

VegGrid::VegGrid(QWidget* parent) : QAbstractScrollArea(parent), d_(std::make_unique<Impl>()) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    font_ = ResolveTableFont("ＭＳ 明朝", 9);
    d_->SetFont(font_);
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
            if (p.x() < d_->FixedW()) dx = -1;
        }
        if (drag_ != DragKind::MoveCol) {
            if (p.y() >= vh) dy = 1;
            if (p.y() < d_->FixedH()) dy = -1;
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

VegGrid::~VegGrid() = default;

void VegGrid::setTable(const Table* table) {
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

void VegGrid::syncLayout() const {
    Impl& d = *d_;
    if (!table_) {
        d.xs.assign(1, 0);
        d.ys.assign(1, 0);
        d.cols = d.rows = d.fixedCols = d.fixedRows = 0;
        d.laidOut = nullptr;
        return;
    }
    const Table& t = *table_;
    if (t.FontName != d.fontName || t.FontSize != d.fontSize || d.laidOut != table_) {
        d.fontName = t.FontName;
        d.fontSize = t.FontSize;
        auto* self = const_cast<VegGrid*>(this);
        self->font_ = ResolveTableFont(t.FontName, t.FontSize);
        d.SetFont(font_);
    }
    if (d.laidOut == table_ && d.layoutVersion == t.LayoutVersion() && d.cols == t.ColCount() &&
        d.rows == t.RowCount() && d.fixedRows == std::min(t.FixedRows(), t.RowCount()))
        return;
    d.laidOut = table_;
    d.layoutVersion = t.LayoutVersion();
    d.cols = t.ColCount();
    d.rows = t.RowCount();
    d.fixedCols = std::clamp(t.FixedCols(), 0, d.cols);
    d.fixedRows = std::clamp(t.FixedRows(), 0, d.rows);
    d.xs.resize(static_cast<std::size_t>(d.cols) + 1);
    d.ys.resize(static_cast<std::size_t>(d.rows) + 1);
    d.xs[0] = 0;
    for (int c = 0; c < d.cols; ++c) d.xs[c + 1] = d.xs[c] + Extent(t.ColWidth(c));
    d.ys[0] = 0;
    for (int r = 0; r < d.rows; ++r) d.ys[r + 1] = d.ys[r] + Extent(t.RowHeight(r));
}

void VegGrid::onTableChanged() {
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

void VegGrid::updateScrollBars() {
    syncLayout();
    const Impl& d = *d_;
    const int vw = viewport()->width(), vh = viewport()->height();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const int scrollW = std::max(1, vw - d.FixedW());
    const int scrollH = std::max(1, vh - d.FixedH());
    h->setRange(0, std::max(0, d.TotalW() - vw));
    h->setPageStep(scrollW);
    h->setSingleStep(table_ ? std::max(1, table_->DefaultColWidth() + 1) : 20);
    v->setRange(0, std::max(0, d.TotalH() - vh));
    v->setPageStep(scrollH);
    v->setSingleStep(table_ ? std::max(1, table_->DefaultRowHeight() + 1) : 16);
}

int VegGrid::scrollX() const { return horizontalScrollBar()->value(); }
int VegGrid::scrollY() const { return verticalScrollBar()->value(); }

int VegGrid::spanX(int col) const {
    const Impl& d = *d_;
    return col < d.fixedCols ? d.xs[static_cast<std::size_t>(col)] : d.xs[static_cast<std::size_t>(col)] - scrollX();
}

int VegGrid::spanY(int row) const {
    const Impl& d = *d_;
    return row < d.fixedRows ? d.ys[static_cast<std::size_t>(row)] : d.ys[static_cast<std::size_t>(row)] - scrollY();
}

// ---- Options, current cell, selection ---------------------------------------------------

void VegGrid::setRangeSelect(bool on) {
    rangeSelect_ = on;
    if (!on) {
        anchorCol_ = curCol_;
        anchorRow_ = curRow_;
    }
    viewport()->update();
}

void VegGrid::setGridLines(bool fixedLines, bool normalLines) {
    fixedLines_ = fixedLines;
    normalLines_ = normalLines;
    viewport()->update();
}

void VegGrid::setCurrentCell(int col, int row) {
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

QRect VegGrid::selectedRect() const {
    if (!rangeSelect_) return QRect(QPoint(curCol_, curRow_), QPoint(curCol_, curRow_));
    return QRect(QPoint(std::min(anchorCol_, curCol_), std::min(anchorRow_, curRow_)),
                 QPoint(std::max(anchorCol_, curCol_), std::max(anchorRow_, curRow_)));
}

void VegGrid::setSelectedRect(const QRect& cells) {
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

QPoint VegGrid::cellAt(const QPoint& pos) const {
    syncLayout();
    const Impl& d = *d_;
    if (!table_ || pos.x() < 0 || pos.y() < 0) return QPoint(-1, -1);
    int col = -1, row = -1;
    if (pos.x() < d.FixedW())
        col = Impl::Find(d.xs, 0, d.fixedCols, pos.x());
    else
        col = Impl::Find(d.xs, d.fixedCols, d.cols, pos.x() + scrollX());
    if (pos.y() < d.FixedH())
        row = Impl::Find(d.ys, 0, d.fixedRows, pos.y());
    else
        row = Impl::Find(d.ys, d.fixedRows, d.rows, pos.y() + scrollY());
    return QPoint(col, row);
}

QRect VegGrid::cellRect(int col, int row) const {
    syncLayout();
    const Impl& d = *d_;
    if (!table_ || col < 0 || row < 0 || col >= d.cols || row >= d.rows) return QRect();
    const int w = table_->ColWidth(col), h = table_->RowHeight(row);
    if (w < 0 || h < 0) return QRect();
    const int x = spanX(col), y = spanY(row);
    // A scrolling cell is on screen when some of it (or of its grid line) shows past the
    // fixed part and inside the viewport.
    const int vw = viewport()->width(), vh = viewport()->height();
    if (col >= d.fixedCols && (x + w + 1 <= d.FixedW() || x >= vw)) return QRect();
    if (row >= d.fixedRows && (y + h + 1 <= d.FixedH() || y >= vh)) return QRect();
    return QRect(x, y, w, h);
}

// ---- Scrolling --------------------------------------------------------------------------

void VegGrid::scrollTo(int col, int row) {
    syncLayout();
    updateScrollBars();
    const Impl& d = *d_;
    if (col >= d.fixedCols && col < d.cols) horizontalScrollBar()->setValue(d.xs[col] - d.FixedW());
    if (row >= d.fixedRows && row < d.rows) verticalScrollBar()->setValue(d.ys[row] - d.FixedH());
}

void VegGrid::scrollToEnd() {
    updateScrollBars();
    horizontalScrollBar()->setValue(horizontalScrollBar()->maximum());
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void VegGrid::ensureVisible(int col, int row) {
    syncLayout();
    updateScrollBars();
    const Impl& d = *d_;
    const int vw = viewport()->width(), vh = viewport()->height();
    if (col >= d.fixedCols && col < d.cols) {
        QScrollBar* h = horizontalScrollBar();
        const int left = d.xs[col], right = d.xs[col + 1];
        int sx = h->value();
        if (right - sx > vw) sx = right - vw;
        if (left - sx < d.FixedW()) sx = left - d.FixedW();
        h->setValue(sx);
    }
    if (row >= d.fixedRows && row < d.rows) {
        QScrollBar* v = verticalScrollBar();
        const int top = d.ys[row], bottom = d.ys[row + 1];
        int sy = v->value();
        if (bottom - sy > vh) sy = bottom - vh;
        if (top - sy < d.FixedH()) sy = top - d.FixedH();
        v->setValue(sy);
    }
}

int VegGrid::leftColumn() const {
    syncLayout();
    const Impl& d = *d_;
    const int c = Impl::Find(d.xs, d.fixedCols, d.cols, d.FixedW() + scrollX());
    return c < 0 ? d.fixedCols : c;
}

int VegGrid::topRow() const {
    syncLayout();
    const Impl& d = *d_;
    const int r = Impl::Find(d.ys, d.fixedRows, d.rows, d.FixedH() + scrollY());
    return r < 0 ? d.fixedRows : r;
}

// ---- Tints and cursors ------------------------------------------------------------------

void VegGrid::tintRow(int row, const QColor& color) {
    tints_.push_back({Tint::Row, 0, row, color});
    viewport()->update();
}

void VegGrid::tintColumn(int col, const QColor& color) {
    tints_.push_back({Tint::Col, col, 0, color});
    viewport()->update();
}

void VegGrid::tintCell(int col, int row, const QColor& color) {
    tints_.push_back({Tint::Cell, col, row, color});
    viewport()->update();
}

void VegGrid::clearTints() {
    if (tints_.empty()) return;
    tints_.clear();
    viewport()->update();
}

void VegGrid::setFNRowTint(bool on) {
    fnRowTint_ = on;
    viewport()->update();
}

void VegGrid::setSearchHits(std::vector<QPoint> cells) {
    hits_ = std::move(cells);
    viewport()->update();
}

void VegGrid::setDragCursor() { viewport()->setCursor(Qt::DragMoveCursor); }
void VegGrid::setDefaultCursor() { viewport()->unsetCursor(); }

// ---- Painting ---------------------------------------------------------------------------

void VegGrid::paintTint(QPainter& p, const Tint& t, const QRect& area) {
    const Impl& d = *d_;
    const int vw = area.width(), vh = area.height();
    QRect r;
    switch (t.kind) {
        case Tint::Row: {
            if (t.row < 0 || t.row >= d.rows) return;
            const int h = table_->RowHeight(t.row);
            if (h <= 0) return;
            const int y = spanY(t.row);
            const int right = std::min(vw, spanX(d.cols - 1) + std::max(0, table_->ColWidth(d.cols - 1)));
            r = QRect(0, y, right, h);
            if (t.row >= d.fixedRows) r = r.intersected(QRect(0, d.FixedH(), vw, vh));
            break;
        }
        case Tint::Col: {
            if (t.col < 0 || t.col >= d.cols) return;
            const int w = table_->ColWidth(t.col);
            if (w <= 0) return;
            const int x = spanX(t.col);
            const int bottom = std::min(vh, spanY(d.rows - 1) + std::max(0, table_->RowHeight(d.rows - 1)));
            r = QRect(x, 0, w, bottom);
            if (t.col >= d.fixedCols) r = r.intersected(QRect(d.FixedW(), 0, vw, vh));
            break;
        }
        case Tint::Cell: {
            if (t.col < 0 || t.row < 0 || t.col >= d.cols || t.row >= d.rows) return;
            const int w = table_->ColWidth(t.col), h = table_->RowHeight(t.row);
            if (w <= 0 || h <= 0) return;
            r = QRect(spanX(t.col), spanY(t.row), w, h);
            QRect clip(0, 0, vw, vh);
            if (t.col >= d.fixedCols) clip.setLeft(d.FixedW());
            if (t.row >= d.fixedRows) clip.setTop(d.FixedH());
            r = r.intersected(clip);
            break;
        }
    }
    if (!r.isEmpty()) p.fillRect(r, t.color);
}

void VegGrid::paintTo(QPainter& p, const QRect& area) {
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
    const Table& t = *table_;
    const qreal dpr = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const int sx = scrollX(), sy = scrollY();
    const int fixedW = std::min(d.FixedW(), vw), fixedH = std::min(d.FixedH(), vh);

    // The visible columns and rows: index, screen position, size (0 = only the line).
    struct Span {
        int index, pos, size;
    };
    std::vector<Span> fixedCols, scrollCols, fixedRows, scrollRows;
    for (int c = 0; c < d.fixedCols && d.xs[c] < vw; ++c)
        if (const int w = t.ColWidth(c); w >= 0) fixedCols.push_back({c, d.xs[c], w});
    for (int c = std::max(d.fixedCols, Impl::Find(d.xs, d.fixedCols, d.cols, d.FixedW() + sx)); c >= 0 && c < d.cols;
         ++c) {
        const int x = d.xs[c] - sx;
        if (x >= vw) break;
        if (const int w = t.ColWidth(c); w >= 0) scrollCols.push_back({c, x, w});
    }
    for (int r = 0; r < d.fixedRows && d.ys[r] < vh; ++r)
        if (const int h = t.RowHeight(r); h >= 0) fixedRows.push_back({r, d.ys[r], h});
    for (int r = std::max(d.fixedRows, Impl::Find(d.ys, d.fixedRows, d.rows, d.FixedH() + sy)); r >= 0 && r < d.rows;
         ++r) {
        const int y = d.ys[r] - sy;
        if (y >= vh) break;
        if (const int h = t.RowHeight(r); h >= 0) scrollRows.push_back({r, y, h});
    }
    const bool anyScrollCols = Impl::Find(d.xs, d.fixedCols, d.cols, d.FixedW() + sx) >= 0;
    const bool anyScrollRows = Impl::Find(d.ys, d.fixedRows, d.rows, d.FixedH() + sy) >= 0;
    if (!anyScrollCols) scrollCols.clear();
    if (!anyScrollRows) scrollRows.clear();

    const int gridRight = std::min(vw, d.cols > d.fixedCols ? d.xs[d.cols] - sx : d.FixedW());
    const int gridBottom = std::min(vh, d.rows > d.fixedRows ? d.ys[d.rows] - sy : d.FixedH());

    auto paintRegion = [&](const std::vector<Span>& cols, const std::vector<Span>& rows, const QRect& clip,
                           bool fixed) {
        if (cols.empty() || rows.empty() || clip.isEmpty()) return;
        p.setClipRect(clip);
        const Span& lastC = cols.back();
        const Span& lastR = rows.back();
        const QRect body = QRect(QPoint(cols.front().pos, rows.front().pos),
                                 QPoint(lastC.pos + lastC.size, lastR.pos + lastR.size))
                               .intersected(clip);
        p.fillRect(body, fixed ? kFixedCellColor : kNormalCellColor);
        // Texts, from cached images, cut to the cell.
        std::string text;
        for (const Span& rs : rows) {
            if (rs.size < 4) continue;
            const int top = rs.pos + std::max(0, (rs.size - d.em) / 2 - 1);
            const int hAvail = rs.pos + rs.size - top;
            for (const Span& cs : cols) {
                if (cs.size < 4) continue;
                text = t.Text(cs.index, rs.index);
                if (text.empty()) continue;
                const Sprite& s = d.SpriteFor(text, dpr);
                const int left = cs.pos + 2;
                const int w = std::min(s.width, cs.pos + cs.size - left);
                const int h = std::min(s.height, hAvail);
                if (w <= 0 || h <= 0) continue;
                if (w == s.width && h == s.height)
                    p.drawImage(QPoint(left, top), s.image);
                else
                    p.drawImage(QRectF(left, top, w, h), s.image, QRectF(0, 0, w * dpr, h * dpr));
            }
        }
        // Grid lines: the right edge of every column and the bottom edge of every row.
        if (fixed ? fixedLines_ : normalLines_) {
            const QColor line = fixed ? kFixedLine : kNormalLine;
            const int y0 = rows.front().pos, y1 = lastR.pos + lastR.size + 1;
            const int x0 = cols.front().pos, x1 = lastC.pos + lastC.size + 1;
            for (const Span& cs : cols) p.fillRect(QRect(cs.pos + cs.size, y0, 1, y1 - y0), line);
            for (const Span& rs : rows) p.fillRect(QRect(x0, rs.pos + rs.size, x1 - x0, 1), line);
        }
    };

    paintRegion(scrollCols, scrollRows, QRect(QPoint(fixedW, fixedH), QPoint(gridRight - 1, gridBottom - 1)), false);
    paintRegion(scrollCols, fixedRows, QRect(QPoint(fixedW, 0), QPoint(gridRight - 1, fixedH - 1)), true);
    paintRegion(fixedCols, scrollRows, QRect(QPoint(0, fixedH), QPoint(fixedW - 1, gridBottom - 1)), true);
    paintRegion(fixedCols, fixedRows, QRect(0, 0, fixedW, fixedH), true);
    p.setClipRect(QRect(0, 0, vw, vh));

    // Tints multiply what is painted, so text under them stays readable.
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    if (rangeSelect_) {
        const QRect sel = selectedRect();
        if (sel.width() > 1 || sel.height() > 1) {
            // Corners may be scrolled away: span the selection by the offsets.
            const int x0 = spanX(sel.left()), y0 = spanY(sel.top());
            const int x1 = spanX(sel.right()) + std::max(0, t.ColWidth(sel.right()));
            const int y1 = spanY(sel.bottom()) + std::max(0, t.RowHeight(sel.bottom()));
            QRect clip(0, 0, vw, vh);
            if (sel.left() >= d.fixedCols) clip.setLeft(fixedW);
            if (sel.top() >= d.fixedRows) clip.setTop(fixedH);
            const QRect r = QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1)).intersected(clip);
            if (!r.isEmpty()) p.fillRect(r, kSelectionTint);
        }
    }
    if (fnRowTint_ && t.FNRow() > 0) paintTint(p, {Tint::Row, 0, t.FNRow(), kTintFNRow}, QRect(0, 0, vw, vh));
    for (const QPoint& h : hits_) paintTint(p, {Tint::Cell, h.x(), h.y(), kTintSearchHit}, QRect(0, 0, vw, vh));
    for (const Tint& tint : tints_) paintTint(p, tint, QRect(0, 0, vw, vh));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The current cell, when it is a normal one.
    if (curCol_ >= d.fixedCols && curRow_ >= d.fixedRows) {
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
            if (y >= fixedH - 1) p.fillRect(QRect(0, y - 1, gridRight, 3), kDropMark);
        } else {
            const int x = dragTo_ > dragFrom_ ? spanX(dragTo_) + std::max(0, t.ColWidth(dragTo_)) : spanX(dragTo_) - 1;
            if (x >= fixedW - 1) p.fillRect(QRect(x - 1, 0, 3, gridBottom), kDropMark);
        }
    }
    p.restore();
}

void VegGrid::paintEvent(QPaintEvent*) {
    const Impl& d = *d_;
    const auto before = std::make_tuple(d.layoutVersion, d.cols, d.rows);
    syncLayout();
    if (before != std::make_tuple(d.layoutVersion, d.cols, d.rows)) updateScrollBars();
    QPainter p(viewport());
    paintTo(p, viewport()->rect());
}

void VegGrid::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    updateScrollBars();
}

void VegGrid::scrollContentsBy(int, int) { viewport()->update(); }

// ---- Mouse ------------------------------------------------------------------------------

int VegGrid::dropRowAt(const QPoint& pos) const {
    const int row = cellAt(QPoint(std::max(0, pos.x()), pos.y())).y();
    return table_ && table_->IsUsedSpeciesRow(row) ? row : -1;
}

int VegGrid::dropColumnAt(const QPoint& pos) const {
    const int col = cellAt(QPoint(pos.x(), std::max(0, pos.y()))).x();
    return table_ && table_->IsUsedReleveCol(col) ? col : -1;
}

void VegGrid::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QPoint cell = cellAt(pos);
    emit mousePressed(e->button(), e->modifiers(), cell.x(), cell.y(), pos);
    if (!table_ || e->button() != Qt::LeftButton || cell.x() < 0 || cell.y() < 0) return;
    const Impl& d = *d_;
    const int col = cell.x(), row = cell.y();
    d_->lastMouse = pos;
    if (rowMoving_ && col < d.fixedCols && table_->IsUsedSpeciesRow(row)) {
        drag_ = DragKind::MoveRow;
        dragFrom_ = dragTo_ = row;
    } else if (colMoving_ && row <= table_->FNRow() && row < d.fixedRows && table_->IsUsedReleveCol(col)) {
        drag_ = DragKind::MoveCol;
        dragFrom_ = dragTo_ = col;
    } else if (col >= d.fixedCols && row >= d.fixedRows) {
        setCurrentCell(col, row);
        if (rangeSelect_) {
            drag_ = DragKind::Select;
            emit selectionChanged(selectedRect());
        }
    }
}

void VegGrid::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const QPoint cell = cellAt(pos);
    d_->lastMouse = pos;
    if (drag_ != DragKind::None && table_) {
        const Impl& d = *d_;
        const int vw = viewport()->width(), vh = viewport()->height();
        const bool outsideX = pos.x() >= vw || pos.x() < d.FixedW();
        const bool outsideY = pos.y() >= vh || pos.y() < d.FixedH();
        const bool outside = drag_ == DragKind::MoveRow   ? outsideY
                             : drag_ == DragKind::MoveCol ? outsideX
                                                          : outsideX || outsideY;
        if (outside && !d_->autoScroll.isActive()) d_->autoScroll.start();
        if (!outside) d_->autoScroll.stop();
        if (drag_ == DragKind::Select) {
            // The moving corner follows the pointer, kept to the normal cells.
            const int cx = std::clamp(pos.x(), d.FixedW(), std::max(d.FixedW(), vw - 1));
            const int cy = std::clamp(pos.y(), d.FixedH(), std::max(d.FixedH(), vh - 1));
            QPoint c = cellAt(QPoint(cx, cy));
            if (c.x() < 0) c.setX(cx >= d.FixedW() && pos.x() >= 0 ? d.cols - 1 : curCol_);
            if (c.y() < 0) c.setY(cy >= d.FixedH() && pos.y() >= 0 ? d.rows - 1 : curRow_);
            c.setX(std::max(c.x(), d.fixedCols));
            c.setY(std::max(c.y(), d.fixedRows));
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

void VegGrid::mouseReleaseEvent(QMouseEvent* e) {
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

void VegGrid::mouseDoubleClickEvent(QMouseEvent* e) {
    // Cells are not edited in place: a double click is a second press.
    mousePressEvent(e);
}

void VegGrid::wheelEvent(QWheelEvent* e) {
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

void VegGrid::keyPressEvent(QKeyEvent* e) {
    if (!table_) {
        QAbstractScrollArea::keyPressEvent(e);
        return;
    }
    syncLayout();
    const Impl& d = *d_;
    const Table& t = *table_;
    const int firstCol = d.fixedCols, lastCol = d.cols - 1;
    const int firstRow = d.fixedRows, lastRow = d.rows - 1;
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
    const int page = std::max(1, (viewport()->height() - d.FixedH()) / std::max(1, t.DefaultRowHeight() + 1));
    switch (e->key()) {
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
