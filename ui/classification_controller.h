// Classification in the window: the panel 表ツール → クラスター分析で群に分ける, the dendrogram
// window, and the groups put into the table as one step to undo, from the cut of the tree
// or from a membership file (群を読み込む); 群を書き出す writes the table's current groups.
#pragma once

#include <QObject>
#include <optional>

#include "core/classification.h"

namespace tavik::ui {

class ClassificationPanel;
class DendrogramWindow;
class WindowServices;

class ClassificationController : public QObject {
    Q_OBJECT
public:
    ClassificationController(WindowServices& window, QWidget* panelParent, QObject* parent);
    ClassificationPanel* panel() const { return panel_; }
    DendrogramWindow* dendrogramWindow() const { return dendrogram_; }
    // Keeps the floating panel in its corner when the grid area changes size.
    void placePanel();

public slots:
    void openPanel();
    void compute();
    void placeGroups();
    void readGroups();
    void writeGroups();
    void closePanel();

private:
    void showGroups(int k);
    // Puts `groups` into the table as one step named `name` (with the recount before it).
    bool pushPlacement(const QString& name, const ReleveGroups& groups, int* leftOver);
    WindowServices& window_;
    ClassificationPanel* panel_;
    DendrogramWindow* dendrogram_;
    std::optional<Classification> result_;
    ClusterOptions computedWith_;
    QString lastFolder_;
};

}  // namespace tavik::ui
