// What the program sets up on the application before its first window: the language of its
// texts (Japanese, the source language, or English from the embedded translation, Qt's own
// dialogs in the same language), and a Japanese face for menus and dialogs so that kana and
// kanji never come from a fallback font.
#pragma once

#include "core/language.h"

class QApplication;

namespace tavik::ui {

// Chooses the language from the locale and the settings file the program starts with
// (ChooseProcessLanguage), then sets up as below.
void SetUpApplication(QApplication& app);

// Sets up in `language`: the process's interface language, the translators (removing those
// of an earlier call) and the face.
void SetUpApplication(QApplication& app, Language language);

}  // namespace tavik::ui
