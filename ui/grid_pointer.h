// The pointer over the composition grid: a long cell's full text while the left button is
// held (or the pointer moves with Shift), the tint of the row or column pressed, and the
// pop-up buttons a right press opens beside a row's name or a relevé's header. The buttons
// only say which edit was chosen; the edits are the editing controller's.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace tavik {
class Table;
}

namespace tavik::ui {

class CellTextPanel;
class CompositionGrid;
class PopupButtonBar;

class GridPointer : public QObject {
    Q_OBJECT
public:
    // The panels float over `panelParent`, which holds the grid.
    GridPointer(const Table& table, CompositionGrid* grid, QWidget* panelParent, QObject* parent);
    PopupButtonBar* rowButtons() const { return rowButtons_; }
    PopupButtonBar* columnButtons() const { return columnButtons_; }
    CellTextPanel* cellTextPanel() const { return cellText_; }

public slots:
    // The grid's mouse; positions are the grid viewport's.
    void onGridPressed(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row, QPoint pos);
    void onGridMouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods, int col, int row, QPoint pos);
    void onGridReleased(Qt::MouseButton button, Qt::KeyboardModifiers mods, int col, int row, QPoint pos);
    // The pop-up buttons, on release of a mouse button over them: a right button chooses.
    void onInsertRowButton(Qt::MouseButton button);
    void onDeleteRowButton(Qt::MouseButton button);
    void onCommentButton(Qt::MouseButton button);
    void onInsertColumnButton(Qt::MouseButton button);
    void onDeleteColumnButton(Qt::MouseButton button);

signals:
    // Any press on the grid, before it is handled.
    void pressed();
    // The left button released on the grid, not over a pop-up button (a drag may have
    // selected a range).
    void leftReleased();
    // An edit chosen with the pop-up buttons, for the current row or column.
    void insertRowChosen();
    void deleteRowChosen();
    void commentChosen();
    void insertColumnChosen();
    void deleteColumnChosen();

private:
    void addButtons();

    const Table& table_;
    CompositionGrid* grid_;
    QWidget* panelParent_;
    PopupButtonBar* rowButtons_;
    PopupButtonBar* columnButtons_;
    CellTextPanel* cellText_;
    QPoint rightPressAt_{-10000, -10000};  // where the last right press on the grid was
};

}  // namespace tavik::ui
