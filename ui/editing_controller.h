// Editing the table from the grid: deleting and inserting rows and columns, comment rows,
// moving rows and columns by dragging, and editing cells in place (names, header values
// and item names in the line editor over the cell, a species' covers in one relevé in the
// cover dialog). Each committed edit is one step on the undo stack. The search of the
// table (the search panel and the hits it marks) belongs here too, as in the menu.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>

#include "formats/workspace.h"

namespace tavik::ui {

class CellEditor;
class CellTextPanel;
class CompositionGrid;
class CoverDialog;
class SearchPanel;
class WindowServices;

class EditingController : public QObject {
    Q_OBJECT
public:
    // `pressesTaken` is true while presses on the grid belong to something else (a block
    // being chosen for hiding): no cell is edited then. `cellText` is the panel that shows
    // a long cell's text; it goes when an edit opens. The search panel floats over
    // `panelParent`.
    EditingController(WindowServices& window, CompositionGrid* grid, CellTextPanel* cellText, QWidget* panelParent,
                      std::function<bool()> pressesTaken, QObject* parent);
    SearchPanel* searchPanel() const { return searchPanel_; }
    // The editor over a cell and the cover dialog while it is open (else null).
    CellEditor* cellEditor() const { return cellEditor_; }
    CoverDialog* coverDialog() const;
    // How a question names the relevé of a column ("3 列目（M12）") and the species of a row
    // (its name, or 空白行 for an inserted empty row).
    QString releveCaption(int col) const;
    QString speciesCaption(int row) const;

public slots:
    // The current row or column of the grid, after the user agreed.
    void deleteRow();
    void deleteColumn();
    void insertRow();
    void insertColumn();
    void writeComment();
    // A row or column dragged to another position.
    void onRowMoved(int from, int to);
    void onColumnMoved(int from, int to);
    // Editing a cell in place: a name, a header value or an item name in the cell editor, a
    // species' covers in a relevé in the cover dialog; any other cell is not edited.
    void editCell(int col, int row);
    void onCellEdited(int col, int row, const QString& text);
    // The search: its panel, its two ways of matching, and the hits let go.
    void showSearchPanel();
    void onSearchExact();
    void onSearchPartial();
    void closeSearchPanel();
    void resetSearch();

private:
    enum class GridLine { Row, Column };
    void search(bool exact);
    void notOnThisRow(const QString& what);
    // An edit of the current row (or column): refused with a beep and `refusal` in the
    // status line when it does not apply there, else asked. True when the user agreed.
    bool confirmEdit(GridLine line, int index, bool applies, const QString& refusal, const QString& question);

    WindowServices& window_;
    Workspace& ws_;
    CompositionGrid* grid_;
    CellTextPanel* cellText_;
    std::function<bool()> pressesTaken_;
    CellEditor* cellEditor_;
    SearchPanel* searchPanel_;
    QPointer<CoverDialog> coverDialog_;
    std::uint64_t editVersion_ = 0;  // the table's content when the open edit began
};

}  // namespace tavik::ui
