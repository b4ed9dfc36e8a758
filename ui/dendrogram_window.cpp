#include "ui/dendrogram_window.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/freq_grid.h"

namespace tavik::ui {

namespace {
constexpr int kLine = 16;  // pixels per relevé
constexpr int kMargin = 12;
constexpr int kTreeWidth = 520;  // from the root to the leaves
constexpr int kAxis = 28;        // the height scale below the tree
}  // namespace

DendrogramView::DendrogramView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("dendrogramView"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void DendrogramView::setTree(const Dendrogram& tree, const QStringList& labels) {
    tree_ = tree;
    labels_ = labels;
    rowOf_.assign(static_cast<std::size_t>(tree.Leaves()), 0);
    for (std::size_t i = 0; i < tree.LeafOrder().size(); ++i)
        rowOf_[static_cast<std::size_t>(tree.LeafOrder()[i])] = static_cast<int>(i);
    const QFontMetrics fm(font());
    labelWidth_ = 40;
    for (const QString& l : labels_) labelWidth_ = std::max(labelWidth_, fm.horizontalAdvance(l) + 12);
    setGroups(k_);
    resize(sizeHint());
    updateGeometry();
}

void DendrogramView::setGroups(int k) {
    k_ = std::max(1, std::min(k, std::max(1, tree_.Leaves())));
    group_ = tree_.Leaves() > 0 ? tree_.Cut(k_) : std::vector<int>{};
    update();
}

QSize DendrogramView::sizeHint() const {
    return {kMargin * 2 + kTreeWidth + labelWidth_, kMargin * 2 + kLine * std::max(1, tree_.Leaves()) + kAxis};
}

double DendrogramView::xOf(double height) const {
    const int n = tree_.Leaves();
    const double top = n >= 2 ? tree_.Merges().back().height : 1.0;
    const double scale = top > 0 ? kTreeWidth / (top * 1.05) : 0;
    return kMargin + kTreeWidth - height * scale;
}

void DendrogramView::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    p.fillRect(e->rect(), Qt::white);
    const int n = tree_.Leaves();
    if (n == 0) return;
    const auto yOfLine = [](int line) { return kMargin + kLine * line + kLine / 2.0; };
    const int leafX = kMargin + kTreeWidth;
    const int nodes = 2 * n - 1;
    // Per node: its y (the middle of its children), and its group when the whole subtree is
    // in one group (-1 for the branches above the cut).
    std::vector<double> y(static_cast<std::size_t>(nodes));
    std::vector<int> g(static_cast<std::size_t>(nodes));
    for (int i = 0; i < n; ++i) {
        y[static_cast<std::size_t>(i)] = yOfLine(rowOf_[static_cast<std::size_t>(i)]);
        g[static_cast<std::size_t>(i)] = group_[static_cast<std::size_t>(i)];
    }
    for (int m = 0; m + 1 < n; ++m) {
        const ClusterMerge& c = tree_.Merges()[static_cast<std::size_t>(m)];
        const auto node = static_cast<std::size_t>(n + m);
        y[node] = (y[static_cast<std::size_t>(c.left)] + y[static_cast<std::size_t>(c.right)]) / 2;
        const int gl = g[static_cast<std::size_t>(c.left)], gr = g[static_cast<std::size_t>(c.right)];
        g[node] = gl == gr ? gl : -1;
    }
    // The groups' bands behind their leaves and labels.
    const std::vector<int>& order = tree_.LeafOrder();
    for (int line = 0; line < n;) {
        const int grp = group_[static_cast<std::size_t>(order[static_cast<std::size_t>(line)])];
        int end = line;
        while (end < n && group_[static_cast<std::size_t>(order[static_cast<std::size_t>(end)])] == grp) ++end;
        QColor tint = GroupTint(grp + 1);
        p.fillRect(QRectF(xOf(tree_.CutHeight(k_)), kMargin + kLine * line,
                          leafX + labelWidth_ - xOf(tree_.CutHeight(k_)), kLine * (end - line)),
                   tint);
        line = end;
    }
    // The branches: a vertical joining the two children at the merge's height, and each
    // child's horizontal from its own height.
    const auto heightOf = [&](int node) {
        return node < n ? 0.0 : tree_.Merges()[static_cast<std::size_t>(node - n)].height;
    };
    for (int m = 0; m + 1 < n; ++m) {
        const ClusterMerge& c = tree_.Merges()[static_cast<std::size_t>(m)];
        const int node = n + m;
        const QColor colour = g[static_cast<std::size_t>(node)] >= 0
                                  ? GroupTint(g[static_cast<std::size_t>(node)] + 1).darker(220)
                                  : QColor(40, 40, 40);
        p.setPen(QPen(colour, 1.2));
        const double x = xOf(c.height);
        p.drawLine(QPointF(x, y[static_cast<std::size_t>(c.left)]), QPointF(x, y[static_cast<std::size_t>(c.right)]));
        for (int child : {c.left, c.right}) {
            const QColor cc = g[static_cast<std::size_t>(child)] >= 0
                                  ? GroupTint(g[static_cast<std::size_t>(child)] + 1).darker(220)
                                  : QColor(40, 40, 40);
            p.setPen(QPen(cc, 1.2));
            p.drawLine(QPointF(x, y[static_cast<std::size_t>(child)]),
                       QPointF(xOf(heightOf(child)), y[static_cast<std::size_t>(child)]));
        }
    }
    // The labels.
    p.setPen(Qt::black);
    for (int i = 0; i < n; ++i) {
        const int line = rowOf_[static_cast<std::size_t>(i)];
        p.drawText(QRectF(leafX + 6, kMargin + kLine * line, labelWidth_ - 6, kLine), Qt::AlignVCenter | Qt::AlignLeft,
                   i < labels_.size() ? labels_[i] : QString());
    }
    // The cut line and the scale of heights.
    const double cutX = xOf(tree_.CutHeight(k_));
    p.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    p.drawLine(QPointF(cutX, kMargin - 4), QPointF(cutX, kMargin + kLine * n + 4));
    const double axisY = kMargin + kLine * n + 8;
    p.setPen(QColor(90, 90, 90));
    p.drawLine(QPointF(xOf(0), axisY), QPointF(kMargin, axisY));
    const double top = n >= 2 ? tree_.Merges().back().height : 0;
    for (int i = 0; i <= 4; ++i) {
        const double h = top * i / 4;
        const double x = xOf(h);
        p.drawLine(QPointF(x, axisY), QPointF(x, axisY + 4));
        p.drawText(QRectF(x - 40, axisY + 4, 80, 16), Qt::AlignHCenter | Qt::AlignTop, QString::number(h, 'g', 3));
    }
}

DendrogramWindow::DendrogramWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("dendrogramWindow"));
    setWindowTitle(QCoreApplication::translate("DendrogramWindow", "樹形図"));
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("dendrogramCaption"));
    scroll_ = new QScrollArea(this);
    view_ = new DendrogramView;
    scroll_->setWidget(view_);
    scroll_->setWidgetResizable(false);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    lay->addWidget(caption_);
    lay->addWidget(scroll_);
    resize(760, 600);
}

void DendrogramWindow::setTree(const Dendrogram& tree, const QStringList& labels, const QString& caption) {
    caption_->setText(caption);
    view_->setTree(tree, labels);
}

void DendrogramWindow::setGroups(int k) { view_->setGroups(k); }

}  // namespace tavik::ui
