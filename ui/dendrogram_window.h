// The dendrogram of a classification in a window of its own: the tree drawn with QPainter,
// the relevés on the right, heights growing to the left, the line where the tree is cut into
// K groups, and each group in the tint the constancy window gives it.
#pragma once

#include <QWidget>
#include <vector>

#include "core/classification.h"

class QLabel;
class QScrollArea;

namespace tavik::ui {

class DendrogramView : public QWidget {
    Q_OBJECT
public:
    explicit DendrogramView(QWidget* parent = nullptr);
    void setTree(const Dendrogram& tree, const QStringList& labels);
    void setGroups(int k);
    int groups() const { return k_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    double xOf(double height) const;
    Dendrogram tree_;
    QStringList labels_;
    std::vector<int> group_;  // by row
    std::vector<int> rowOf_;  // leaf row -> line on screen
    int k_ = 1;
    int labelWidth_ = 80;
};

class DendrogramWindow : public QWidget {
    Q_OBJECT
public:
    explicit DendrogramWindow(QWidget* parent = nullptr);
    void setTree(const Dendrogram& tree, const QStringList& labels, const QString& caption);
    void setGroups(int k);
    DendrogramView* view() const { return view_; }

private:
    QLabel* caption_;
    QScrollArea* scroll_;
    DendrogramView* view_;
};

}  // namespace tavik::ui
