// The table font: the font named in the table, or the nearest installed Mincho.
#pragma once

#include <QFont>
#include <QString>

#include <string>

namespace tavik::ui {

// The installed family that stands for `name`: the family itself when it is installed,
// otherwise (for Mincho names such as "ＭＳ 明朝", and for any name not installed) the first
// installed of IPAMincho, IPAexMincho, Noto Serif CJK JP; the name itself as a last resort.
QString ResolveFontFamily(const QString& name);

// The font for the grid: the resolved family at `pointSize` points (9 when not positive).
QFont ResolveTableFont(const std::string& name, int pointSize);

// The same font sized in pixels at 96 dots per inch, as the grid draws it: row heights and
// column widths are pixel counts on that scale, whatever the screen reports.
QFont GridDrawingFont(const QFont& tableFont);

}  // namespace tavik::ui
