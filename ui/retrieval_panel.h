// Panel_AddReleve: the conditions of a retrieval (five species with their lowest cover
// class and connective, a mesh-code prefix, a record range), the counters of the table and
// of the scan, and the buttons. Controls only; the main window runs the commands.
#pragma once

#include <QFrame>
#include <array>

#include "core/retrieval.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tavik::ui {

class RetrievalPanel : public QFrame {
    Q_OBJECT
public:
    explicit RetrievalPanel(QWidget* parent);
    void Place();

    // The conditions as the scan takes them (names as typed, unchanged).
    ScanParams Conditions(bool additional) const;
    // Empties the names and the mesh prefix and sets every class to "+".
    void ClearConditions();
    // The counters: the table's relevés and species, the record examined, the hits.
    void SetTableCounts(int releves, int species);
    void SetSearching(int record);
    void SetHits(int hits);
    // The data file: its name without the folder (shortened in the middle when it does not
    // fit), the whole path as the hint.
    void SetFileName(const QString& path);
    QString FileName() const { return fileName_; }

    std::array<QLineEdit*, kConditionCount> EditName{};
    std::array<QComboBox*, kConditionCount> EditCov{};
    std::array<QButtonGroup*, kConditionCount> RG_Retr{};
    QLineEdit* EditGrid;
    QSpinBox* RtN1;
    QSpinBox* RtN2;
    QLabel* Label_fileName;
    QLabel* LabRelN;
    QLabel* LabSpN;
    QLabel* LabSerachN;
    QLabel* LabFitN;
    QPushButton* BtnRetrNew;
    QPushButton* BtnRetrAdd;
    QPushButton* BtnRetrReset;
    QPushButton* BtnToTable;
    QPushButton* BtnRetrQuit;
    QPushButton* BtnSynToCom;
    QPushButton* BtnChgFile;

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void ElideFileName();
    QString fileName_;
};

}  // namespace tavik::ui
