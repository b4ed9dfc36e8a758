// The constancy options panel that floats over the grid: the counts of relevés and groups,
// the title, what the cells show, what absent species show, and 取止める / 出力する.
#pragma once

#include <QFrame>

#include "core/constancy.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tavik::ui {

class ConstancyPanel : public QFrame {
    Q_OBJECT
public:
    explicit ConstancyPanel(QWidget* parent);
    void place();

    // Shows the panel with the counts of the table and the proposed title. The choices of
    // the frequency and cell groups stay as the user last left them.
    void open(const ConstancyCounts& counts, const QString& title);
    ConstancyOptions options() const;
    void setKind(ConstancyKind kind);
    void setBlankAbsent(bool blank);
    QString releveCountText() const;
    QString groupCountText() const;

signals:
    void outputRequested();
    void cancelRequested();

protected:
    // Enter outputs, Esc cancels.
    void keyPressEvent(QKeyEvent* e) override;

private:
    QLabel* releves_;
    QLabel* groups_;
    QLineEdit* title_;
    QButtonGroup* kind_;
    QButtonGroup* cell_;
    QPushButton* output_;
    QPushButton* cancel_;
};

}  // namespace tavik::ui
