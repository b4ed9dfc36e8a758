// The classification panel that floats over the grid: the data (cover method, square root),
// the distance, the linkage and its β, 計算する; then the number of groups K with the count of
// faithful species beside each K, the order inside the groups, and 群を表に入れる / 閉じる.
#pragma once

#include <QFrame>
#include <QSpinBox>
#include <map>

#include "core/classification.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace tavik::ui {

// A spin box for K that shows the faithful species of each K beside it: "4（忠実な種 12）".
class GroupCountBox : public QSpinBox {
    Q_OBJECT
public:
    explicit GroupCountBox(QWidget* parent);
    void setCounts(std::map<int, int> counts);

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;

private:
    std::map<int, int> counts_;
};

class ClassificationPanel : public QFrame {
    Q_OBJECT
public:
    explicit ClassificationPanel(QWidget* parent);
    void place();
    void open();

    ClusterOptions options() const;
    void setOptions(const ClusterOptions& o);
    int groups() const;
    void setGroups(int k);
    bool orderByScore() const;
    // After a computation: the relevés classified, the scan of K and the K it proposes.
    void showResult(int releves, const std::vector<KScanLine>& scan, int proposedK);
    // Before a computation, or after the table changed: K cannot be chosen yet.
    void clearResult();
    QString scanText() const;

signals:
    void computeRequested();
    void placeRequested();
    void closeRequested();
    void groupsChanged(int k);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    // The parts of the panel: the data's transformation, the distance and linkage, the
    // number of groups with the scan of K.
    QGroupBox* createDataGroup();
    QGroupBox* createMethodGroup();
    QGroupBox* createGroupCountGroup();

    QComboBox* method_;
    QCheckBox* sqrt_;
    QComboBox* distance_;
    QComboBox* linkage_;
    QDoubleSpinBox* beta_;
    QPushButton* compute_;
    QLabel* releves_;
    GroupCountBox* k_;
    QLabel* scan_;
    QCheckBox* byScore_;
    QPushButton* place_;
    QPushButton* close_;
};

}  // namespace tavik::ui
