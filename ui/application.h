// What the program sets up on the application before its first window: Qt's own dialogs
// in Japanese where the translations are installed, and a Japanese face for menus and
// dialogs so that kana and kanji never come from a fallback font.
#pragma once

class QApplication;

namespace tavik::ui {

void SetUpApplication(QApplication& app);

}  // namespace tavik::ui
