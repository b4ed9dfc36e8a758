// Where the main window stands: its place and size kept in the settings, brought back into
// view on the screens there are now.
#pragma once

#include <QRect>

class QWidget;

namespace tavik {
struct Settings;
}

namespace tavik::ui {

// The window's frame from the settings on a screen whose free area is `available` (invalid
// when there is no screen): at least 320×240 and no larger than the screen; when no place
// was kept yet (the first start), four fifths of the screen in its middle; a place off the
// screen comes back near its top left corner.
QRect WindowPlace(const Settings& s, const QRect& available);
// Keeps `window`'s place in the settings: its normal place when it is maximised or full
// screen.
void KeepWindowPlace(const QWidget& window, Settings& s);

}  // namespace tavik::ui
