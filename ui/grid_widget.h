// The composition grid: a view of a tavik::Table that paints only the visible cells.
//
// The grid never changes the table. It asks for texts by (column, row) and for sizes with
// the table's convention (positive = pixels, 0 = only the grid line, -1 = hidden with its
// line); row and column offsets are cached on the table's LayoutVersion. Moves, presses and
// the current cell are reported by signals; the owner decides what they mean.
//
// Coordinates: cells are (column, row) from 0; positions of the mouse and rectangles of
// cells are in viewport coordinates. The first FixedCols() columns and FixedRows() rows do
// not scroll.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;

namespace tavik {
class Table;
}

namespace tavik::ui {

struct GridSpan;

// Colours of the grid and of its tints.
inline const QColor kNormalCellColor{255, 255, 255};
inline const QColor kFixedCellColor{255, 255, 230};
inline const QColor kTintClick{174, 255, 170};      // the row or column under a click
inline const QColor kTintFNRow{255, 255, 187};      // the "F＼N" row
inline const QColor kTintSearchHit{134, 255, 134};  // cells found by the search

class CompositionGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit CompositionGrid(QWidget* parent = nullptr);
    ~CompositionGrid() override;

    // ---- The table --------------------------------------------------------------------
    // The grid keeps the pointer; the table must outlive the grid or be replaced first.
    void setTable(const tavik::Table* table);
    // Call after changing the table (content, order, sizes or counts): recomputes what is
    // cached when the table's versions moved, fixes the scroll range and repaints. Painting
    // also checks the versions, so forgetting this costs only a stale scroll range.
    void onTableChanged();

    // The table font resolved from the table's FontName / FontSize (a size in points); the
    // cells show it at 96 dots per inch, the scale of the table's pixel sizes.
    QFont tableFont() const { return font_; }

    // ---- Options ------------------------------------------------------------------------
    // Range selection: a left drag over normal cells selects a rectangle of cells.
    void setRangeSelect(bool on);
    bool rangeSelect() const { return rangeSelect_; }
    // Row moving: a left drag from a fixed-column cell of a used species row to another
    // used species row reports rowMoved(from, to).
    void setRowMoving(bool on) { rowMoving_ = on; }
    bool rowMoving() const { return rowMoving_; }
    // Column moving: a left drag from a header cell (row <= FNRow) of a used relevé column
    // to another used relevé column reports columnMoved(from, to).
    void setColumnMoving(bool on) { colMoving_ = on; }
    bool columnMoving() const { return colMoving_; }

    // ---- Current cell and selection -----------------------------------------------------
    int currentColumn() const { return curCol_; }
    int currentRow() const { return curRow_; }
    // Sets the current cell (any cell of the grid; clamped to it) and emits
    // currentCellChanged when it changed. Without range selection the selection follows it.
    void setCurrentCell(int col, int row);
    void setCurrentRow(int row) { setCurrentCell(curCol_, row); }
    void setCurrentColumn(int col) { setCurrentCell(col, curRow_); }
    // The selected range of cells: left/top/right/bottom are columns and rows, inclusive
    // (QRect(QPoint(left, top), QPoint(right, bottom))). Without range selection it is the
    // current cell alone.
    QRect selectedRect() const;
    void setSelectedRect(const QRect& cells);

    // ---- Geometry -----------------------------------------------------------------------
    // The cell under a viewport position as (column, row); a component is -1 when nothing
    // of the grid lies there (past the last cell, or on a row / column that is hidden).
    QPoint cellAt(const QPoint& viewportPos) const;
    // The rectangle of a cell in viewport coordinates, without its grid line. A null QRect
    // when the cell is not on screen (hidden with -1, or scrolled away); a row of height 0
    // gives a rectangle of height 0 at the place of its grid line.
    QRect cellRect(int col, int row) const;

    // ---- Scrolling ----------------------------------------------------------------------
    // Makes (col, row) the first scrolling column / row shown (clamped to the scroll range).
    void scrollTo(int col, int row);
    // Scrolls to the far right and bottom.
    void scrollToEnd();
    // Scrolls just enough to show the cell entirely (fixed cells are always shown).
    void ensureVisible(int col, int row);
    // The first scrolling column / row shown (at least partly).
    int leftColumn() const;
    int topRow() const;

    // ---- Tints (multiply mode: the text under them stays readable) ----------------------
    // Transient tints last until clearTints(). A row tint runs from column 0 to the last
    // column (or the viewport's right edge), a column tint from row 0 to the last row (or
    // the viewport's bottom edge).
    void tintRow(int row, const QColor& color);
    void tintColumn(int col, const QColor& color);
    void clearTints();
    // Persistent tints: the "F＼N" row (the table's FNRow) in pale yellow, on by default,
    // and the cells of search hits in light green, given as QPoint(column, row).
    void setFNRowTint(bool on);
    void setSearchHits(std::vector<QPoint> cells);
    const std::vector<QPoint>& searchHits() const { return hits_; }

    // ---- Cursors ------------------------------------------------------------------------
    void setDragCursor();
    void setDefaultCursor();

    // ---- Rendering ----------------------------------------------------------------------
    // Renders the grid at the current scroll position as it shows in a viewport of the
    // size of `area` (whose top-left is the viewport's top-left) onto any paint device.
    void paintTo(QPainter& painter, const QRect& area);

signals:
    // Emitted before the grid acts on the press, so the owner may change the options
    // (range selection, moving) for the very press it is handling.
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row, QPoint viewportPos);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int col, int row, QPoint viewportPos);
    // Emitted after the grid finished a drag-move or a range selection.
    void mouseReleased(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row, QPoint viewportPos);
    void currentCellChanged(int col, int row);
    void selectionChanged(QRect cells);
    // A dragged species row / relevé column was dropped: grid row / column indices. The
    // owner moves it in the table (Table::MoveRow / MoveColumn) and calls onTableChanged().
    void rowMoved(int from, int to);
    void columnMoved(int from, int to);
    // The user asks to edit a cell: a left double click on it, or F2 / Enter on the current
    // cell. The owner decides whether and how the cell is edited.
    void editRequested(int col, int row);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    struct Impl;
    struct Tint {
        enum Kind { Row, Col, Cell } kind;
        int col, row;
        QColor color;
    };
    enum class DragKind { None, Select, MoveRow, MoveCol };

    void syncLayout() const;
    void updateScrollBars();
    int scrollX() const;
    int scrollY() const;
    int spanX(int col) const;  // viewport x of the left edge of a column (scrolled)
    int spanY(int row) const;
    void paintTint(QPainter& p, const Tint& t, const QRect& area);
    // The parts of one painting: the cells and lines of one region (fixed or scrolling),
    // the tints over them, and the current cell and the drop mark on top.
    struct PaintArea;
    void paintCells(QPainter& p, const std::vector<GridSpan>& cols, const std::vector<GridSpan>& rows,
                    const QRect& clip, bool fixed, qreal dpr);
    void paintTints(QPainter& p, const PaintArea& a);
    void paintMarks(QPainter& p, const PaintArea& a);
    int dropRowAt(const QPoint& pos) const;
    int dropColumnAt(const QPoint& pos) const;

    const tavik::Table* table_ = nullptr;
    std::unique_ptr<Impl> d_;
    QFont font_;

    bool rangeSelect_ = false, rowMoving_ = true, colMoving_ = true;
    int curCol_ = 0, curRow_ = 0;
    int anchorCol_ = 0, anchorRow_ = 0;  // the other corner of the selected range

    std::vector<Tint> tints_;
    std::vector<QPoint> hits_;
    bool fnRowTint_ = true;

    DragKind drag_ = DragKind::None;
    int dragFrom_ = -1, dragTo_ = -1;
};

}  // namespace tavik::ui
