// The covers of one cell, layer by layer: for each of the seven layers a cover class and,
// where the class has one, a sociability, offered as lists of the valid choices only. The
// cell code the covers make is shown as it will stand in the grid.
#pragma once

#include <QDialog>

#include <array>

#include "core/covers.h"

class QComboBox;
class QLabel;

namespace tavik::ui {

class CoverDialog : public QDialog {
    Q_OBJECT
public:
    // `labels` are the seven layer labels (T1 … M); `what` names the species and relevé.
    CoverDialog(const LayerCovers& covers, const std::array<QString, kLayerCount>& labels, const QString& what,
                QWidget* parent);

    LayerCovers covers() const;
    void setCovers(const LayerCovers& covers);
    QComboBox* classBox(int layer) const { return class_[static_cast<std::size_t>(layer)]; }
    QComboBox* sociabilityBox(int layer) const { return soc_[static_cast<std::size_t>(layer)]; }
    QString cellCodeShown() const;

private:
    void fillSociability(int layer, int sociability);
    void onClassChosen(int layer);
    void showCode();

    std::array<QComboBox*, kLayerCount> class_{};
    std::array<QComboBox*, kLayerCount> soc_{};
    std::array<QLabel*, kLayerCount> notation_{};
    QLabel* code_ = nullptr;
};

}  // namespace tavik::ui
