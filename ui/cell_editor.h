// The line editor that opens over a cell of the grid: a species name, a header value or a
// header item's name. It keeps the text within its width in CP932 bytes as the user types
// (a character that would pass the width is refused whole) and reports the outcome once:
// Enter commits, Esc cancels, and leaving the editor (a click elsewhere, Tab) commits, as
// in a spreadsheet. Switching to another window or an input method's candidate list does
// not end the edit.
#pragma once

#include <QLineEdit>

namespace tavik::ui {

class CellEditor : public QLineEdit {
    Q_OBJECT
public:
    explicit CellEditor(QWidget* parent);

    // Opens over `rect` (in the parent's coordinates) with `text`, limited to `maxWidth`
    // CP932 bytes (0: no limit); the cell (col, row) is reported back with the outcome.
    void open(const QRect& rect, const QFont& font, const QString& text, int maxWidth, int col, int row);
    bool isEditing() const { return editing_; }
    int column() const { return col_; }
    int row() const { return row_; }
    int maxWidth() const { return maxWidth_; }

    // Ends the edit as Enter / Esc would (nothing when not editing).
    void commit();
    void cancel();

signals:
    void committed(int col, int row, const QString& text);
    void cancelled(int col, int row);
    // Typed text went past the width and was refused.
    void widthExceeded(int maxWidth);

protected:
    // Closing the window commits first, so the question about unsaved changes knows of it.
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    void keepWithinWidth(const QString& typed);
    void finish();

    bool editing_ = false;
    int maxWidth_ = 0, col_ = -1, row_ = -1;
    QString accepted_;  // the last text within the width
};

}  // namespace tavik::ui
