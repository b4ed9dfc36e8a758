// The user's manual: where it lies, in the interface's language, and opening it.
#pragma once

#include <QString>

class QWidget;

namespace tavik::ui {

class UserDialogs;

// The manual's page in the interface's language (the Japanese one where there is no other),
// from $TAVIK_MANUAL_DIR, beside the program, in the source tree, or where it is installed;
// empty when none is found.
QString ManualPath();

// Opens the manual in a browser. Says so in a box when there is no manual or no browser;
// returns the page opened (empty when it did not open).
QString OpenManual(QWidget* parent, UserDialogs& dialogs);

}  // namespace tavik::ui
