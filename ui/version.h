// The version the caption and the about box show.
#pragma once

#include <QString>

namespace tavik::ui {

// "4.1.5.0" gives "4.15": major, a dot, then minor and release run together. Anything
// that is not four non-negative integers separated by dots gives an empty text.
QString VersionText(const QString& fileVersion);

// VersionText of this build's version.
QString ProgramVersionText();

}  // namespace tavik::ui
