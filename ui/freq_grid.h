// The grid of the second window: a view of a FreqTable that paints only the visible cells.
// Fixed rows and columns stay in place while the rest scrolls cell by cell. The user may
// widen columns (dragging a column's right edge in a fixed row), move rows (dragging from
// the fixed column) and columns (dragging from a fixed row) among the non-fixed ones, and
// select a range of cells; cells are never edited.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QFont>
#include <QRect>

#include <vector>

namespace tavik {
class FreqTable;
}

namespace tavik::ui {

inline const QColor kFreqCellColor{240, 255, 255};
inline const QColor kFreqFixedColor{230, 255, 255};

class FreqGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit FreqGrid(QWidget* parent = nullptr);

    // The grid keeps the pointer; call tableChanged() after changing the table.
    void setTable(tavik::FreqTable* table);
    void tableChanged();

    // The font of the cells (sizes of the table are pixels at 96 dots per inch).
    void setGridFont(const QFont& font);
    QFont gridFont() const { return font_; }

    // The selected block (columns left..right, rows top..bottom), or an empty rectangle.
    QRect selection() const { return selection_; }
    // The first non-fixed row / column shown.
    int topRow() const;
    int leftColumn() const;
    void scrollToCell(int col, int row);
    // The cell under a viewport point, or (-1, -1).
    QPoint cellAt(const QPoint& p) const;
    // The rectangle of a cell in viewport coordinates (empty when not visible).
    QRect cellRect(int col, int row) const;

signals:
    void rowMoved(int from, int to);
    void columnMoved(int from, int to);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    enum class Drag { None, Select, Resize, MoveRow, MoveCol };
    void updateScrollBars();
    int rowHeight() const;
    // Left edges of the shown columns in viewport pixels (fixed ones, then from leftColumn).
    int colLeft(int col) const;
    int rowTop(int row) const;
    int resizeEdgeAt(const QPoint& p) const;  // the column whose right edge is near p, or -1

    tavik::FreqTable* table_ = nullptr;
    QFont font_;
    QRect selection_;
    Drag drag_ = Drag::None;
    int dragFrom_ = -1, dragStartX_ = 0, dragStartWidth_ = 0;
    QPoint anchor_;
};

}  // namespace tavik::ui
