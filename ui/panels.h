// The small panels that float over the grid: the row and column speed buttons, the
// long-text panel, the range panel and the search panel. They hold controls only; the main
// window connects them to its commands.
#pragma once

#include <QFrame>
#include <QToolButton>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace tavik::ui {

// A flat button that reports the release of any mouse button over it. The user presses the
// right button on the grid, slides onto the button and releases there.
class SpeedButton : public QToolButton {
    Q_OBJECT
public:
    SpeedButton(const QString& name, const QString& caption, QWidget* parent);

signals:
    void releasedWith(Qt::MouseButton button);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
};

// A row of speed buttons on a small raised panel.
class SpeedPanel : public QFrame {
    Q_OBJECT
public:
    SpeedPanel(const QString& name, QWidget* parent);
    SpeedButton* AddButton(const QString& name, const QString& caption);
    // The button under a global position, or null.
    SpeedButton* ButtonAt(const QPoint& globalPos) const;
    void ShowAt(const QPoint& topLeft);

private:
    QList<SpeedButton*> buttons_;
};

// Panel_ShowCell: the full text of a cell too long for its column.
class CellTextPanel : public QFrame {
    Q_OBJECT
public:
    explicit CellTextPanel(QWidget* parent);
    // Shows the text with the panel's right edge at x and its top at y (parent coordinates).
    void ShowText(const QString& text, int rightX, int topY);
    QString Text() const;

private:
    QLabel* label_;
};

// PanelofSortRange: the range of species rows (SS1..SS2) and relevé columns (SN1..SN2) to
// sort or to hide, the sort direction, and the buttons 実行 and 中止.
class RangePanel : public QFrame {
    Q_OBJECT
public:
    explicit RangePanel(QWidget* parent);
    void Place();

    QLabel* Label13;
    QLabel* Label11;
    QLabel* Label4;
    QLabel* speciesCaption;
    QLabel* releveCaption;
    QSpinBox* SS1;
    QSpinBox* SS2;
    QSpinBox* SN1;
    QSpinBox* SN2;
    QGroupBox* GBox1;
    QRadioButton* RB_des;
    QRadioButton* RB_asc;
    QPushButton* BtnSortGo;
    QPushButton* BtnSortStp;

protected:
    // Enter runs 実行 (or the button that has the focus), Esc runs 中止.
    void keyPressEvent(QKeyEvent* e) override;
};

// QueryPanel: the text to search, with the earlier texts in the drop-down list.
class SearchPanel : public QFrame {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent);
    void Place();

    QLabel* QueryLabel;
    QComboBox* QueryBox;
    QPushButton* QueryBtn1;
    QPushButton* QueryBtn2;
    QPushButton* QueryCancelBtn;

signals:
    // Enter in the text field (a partial search) and Esc (cancel).
    void enterPressed();
    void escapePressed();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    // Esc on the panel's buttons cancels as in the text field.
    void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace tavik::ui
