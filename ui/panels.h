// The small panels that float over the grid: the row and column pop-up buttons, the
// long-text panel, the range panel and the search panel. They hold controls only; the main
// window connects them to its commands.
#pragma once

#include <QFrame>
#include <QToolButton>

#include "core/hiding.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tavik::ui {

// Makes a frame one of the raised panels that float over the grid, named and hidden.
void MakeFloatingPanel(QFrame* frame, const QString& name);
// A panel's push button, named, that Enter elsewhere in the panel does not press.
QPushButton* MakePanelButton(QWidget* parent, const char* name, const QString& caption);

// A flat button that reports the release of any mouse button over it. The user presses the
// right button on the grid, slides onto the button and releases there.
class PopupButton : public QToolButton {
    Q_OBJECT
public:
    PopupButton(const QString& name, const QString& caption, QWidget* parent);

signals:
    void releasedWith(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A row of pop-up buttons on a small raised panel.
class PopupButtonBar : public QFrame {
    Q_OBJECT
public:
    PopupButtonBar(const QString& name, QWidget* parent);
    PopupButton* addButton(const QString& name, const QString& caption);
    // The button under a global position, or null.
    PopupButton* buttonAt(const QPoint& globalPos) const;
    // Shows the bar near `pointer` (parent coordinates) but never over it, so that a press
    // there is not already on a button: above the pointer, to its right (or its left when
    // `leftFirst`), else below, else beside it; always inside the parent.
    void showBeside(const QPoint& pointer, bool leftFirst);

private:
    QList<PopupButton*> buttons_;
};

// The full text of a cell too long for its column.
class CellTextPanel : public QFrame {
    Q_OBJECT
public:
    explicit CellTextPanel(QWidget* parent);
    // Shows the text with the panel's right edge at x and its top at y (parent coordinates).
    void showText(const QString& text, int rightX, int topY);
    QString text() const;

private:
    QLabel* label_;
};

// The range panel: the species rows (first..last) and relevé columns (first..last) to sort
// or to hide, the sort direction, and the buttons 実行 and 中止.
class RangePanel : public QFrame {
    Q_OBJECT
public:
    explicit RangePanel(QWidget* parent);
    void place();

    // Sorting species rows (or relevé columns): the whole used axis is proposed, the other
    // axis is not asked, the direction is.
    void openForSpeciesSort(int speciesCount);
    void openForReleveSort(int releveCount);
    // Hiding: the block chosen on the grid, bounded by the counts of the table. An axis
    // whose first and last are the same is not asked, nor is the direction.
    void openForHiding(const TableRange& range, int releveCount, int speciesCount);

    // The range as the user left it: relevés q1..q2, species p1..p2.
    TableRange range() const;
    bool descending() const;
    void setDescending(bool on);
    QString title() const;

signals:
    void applyRequested();
    void cancelRequested();

protected:
    // Enter runs 実行 (or the button that has the focus), Esc runs 中止.
    void keyPressEvent(QKeyEvent* e) override;

private:
    void open(const QString& title, bool askSpecies, bool askReleves, bool askOrder);

    QLabel* title_;
    QLabel* speciesCaption_;
    QLabel* speciesArrow_;
    QLabel* releveCaption_;
    QLabel* releveArrow_;
    QSpinBox* firstSpecies_;
    QSpinBox* lastSpecies_;
    QSpinBox* firstReleve_;
    QSpinBox* lastReleve_;
    QGroupBox* orderBox_;
    QRadioButton* descending_;
    QRadioButton* ascending_;
    QPushButton* apply_;
    QPushButton* cancel_;
};

// The search panel: the text to search, with the earlier texts in the drop-down list.
class SearchPanel : public QFrame {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent);
    void place();

    // Shows the panel with the text field focused and its text selected.
    void open();
    // The text as typed; it goes into the list (a repeated one too) and stays shown.
    QString takeText();

signals:
    // 完全一致; 部分一致 and Enter in the text field; 中止 and Esc.
    void exactRequested();
    void partialRequested();
    void cancelRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    // Esc on the panel's buttons cancels as in the text field.
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLabel* prompt_;
    QComboBox* text_;
};

}  // namespace tavik::ui
