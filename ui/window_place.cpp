#include "ui/window_place.h"

#include <QWidget>

#include "formats/workspace.h"

namespace tavik::ui {

QRect WindowPlace(const Settings& s, const QRect& a) {
    QRect r(s.left, s.top, qMax(s.width, 320), qMax(s.height, 240));
    if (!a.isValid()) return r;
    if (!s.windowPlaced) {
        r.setSize(QSize(qMax(a.width() * 4 / 5, 320), qMax(a.height() * 4 / 5, 240)));
        r.moveCenter(a.center());
    }
    r.setWidth(qMin(r.width(), a.width()));
    r.setHeight(qMin(r.height(), a.height()));
    if (!a.intersects(r.adjusted(0, 0, -40, -40))) r.moveTopLeft(a.topLeft() + QPoint(40, 40));
    return r;
}

void KeepWindowPlace(const QWidget& window, Settings& s) {
    const QRect g =
        (window.isMaximized() || window.isFullScreen()) ? window.normalGeometry() : QRect(window.pos(), window.size());
    s.left = g.x();
    s.top = g.y();
    s.width = g.width();
    s.height = g.height();
    s.windowPlaced = true;
}

}  // namespace tavik::ui
