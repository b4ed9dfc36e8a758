// The retrieval panel: the conditions of a retrieval (five species with their lowest cover
// class and connective, a mesh-code prefix, a record range), the counters of the table and
// of the scan, and the buttons. Controls only; the main window runs the commands.
#pragma once

#include <QFrame>
#include <QStringList>
#include <array>

#include "core/retrieval.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLayout;
class QVBoxLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tavik::ui {

class RetrievalPanel : public QFrame {
    Q_OBJECT
public:
    explicit RetrievalPanel(QWidget* parent);
    void place();

    // The conditions as the scan takes them (names as typed, unchanged).
    ScanParams conditions(bool additional) const;
    // One condition: its species name, lowest cover class (0 = "+", 1..5) and connective.
    void setCondition(int index, const QString& name, int coverClass, Connective connective);
    // Empties the names and the mesh prefix and sets every class to "+".
    void clearConditions();
    // The species names of the conditions as typed, and the same replaced.
    QStringList names() const;
    void setNames(const QStringList& names);
    void setMeshPrefix(const QString& prefix);
    // The record range offered: 1..count, all of it chosen. A new data file only widens or
    // narrows the last record's bound.
    void setRecordCount(int count);
    void setRecordMaximum(int count);
    int lastRecord() const;
    // The counters: the table's relevés and species, the record examined, the hits.
    void setTableCounts(int releves, int species);
    void setSearching(int record);
    void setHits(int hits);
    // The scan was stopped: said beside the record it reached.
    void markStopped();
    QString searchingText() const;
    QString hitsText() const;
    // The data file: its name without the folder (shortened in the middle when it does not
    // fit), the whole path as the hint.
    void setFileName(const QString& path);
    QString fileNameShown() const;
    QString fileNameHint() const;
    // Where typing starts: the mesh prefix when the panel opens, the first name after a reset.
    void focusMeshPrefix();
    void focusFirstName();

signals:
    void scanRequested(bool additional);
    void resetRequested();
    void putIntoTableRequested();
    void closeRequested();
    void standardNamesRequested();
    void changeFileRequested();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    // The parts of the panel, top to bottom: the data file, the five conditions, the mesh
    // prefix and record range, the counters, the two rows of buttons.
    QLayout* createFileRow();
    QWidget* createConditionGroup();
    QLayout* createRangeGroup();
    QLayout* createCounterGroup();
    void addButtonRows(QVBoxLayout* top);

    void elideFileName();

    std::array<QLineEdit*, kConditionCount> names_{};
    std::array<QComboBox*, kConditionCount> classes_{};
    std::array<QButtonGroup*, kConditionCount> connectives_{};
    QLineEdit* meshPrefix_;
    QSpinBox* firstRecord_;
    QSpinBox* lastRecord_;
    QLabel* fileNameLabel_;
    QLabel* releveCount_;
    QLabel* speciesCount_;
    QLabel* searching_;
    QLabel* hits_;
    QString fileName_;
};

}  // namespace tavik::ui
