// The constancy options panel that floats over the grid: the counts of relevés and groups,
// the title, what the cells show, what absent species show, and 取止める / 出力する.
#pragma once

#include <QFrame>

#include "core/constancy.h"
#include "core/fidelity.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QSpinBox;
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
    // The fidelity: whether the cells show phi, and how it is computed and judged (also what
    // the reorder of the composition table by diagnostic blocks uses).
    bool showFidelity() const;
    FidelityOptions fidelityOptions() const;
    void setShowFidelity(bool on);
    void setFidelityOptions(const FidelityOptions& o);
    QString releveCountText() const;
    QString groupCountText() const;

signals:
    void outputRequested();
    void cancelRequested();

protected:
    // Enter outputs, Esc cancels.
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The choices of the panel: the kind of table, the absent cells, the fidelity.
    QGroupBox* createKindGroup();
    QGroupBox* createCellGroup();
    QGroupBox* createFidelityGroup();

    QLabel* releves_;
    QLabel* groups_;
    QLineEdit* title_;
    QButtonGroup* kind_;
    QButtonGroup* cell_;
    QCheckBox* fidelity_;
    QCheckBox* equalize_;
    QSpinBox* threshold_;
    QComboBox* alpha_;
    QPushButton* output_;
    QPushButton* cancel_;
};

}  // namespace tavik::ui
