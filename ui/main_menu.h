// The main menu's construction: the File, Table tools, Edit, Settings and Help menus with
// every command's caption, name, hint and shortcut. What a command does is connected by
// the window that owns the menu bar.
#pragma once

#include "ui/menu_actions.h"

class QMenuBar;
class QObject;

namespace tavik::ui {

// Fills `bar` with the menus; the actions belong to `owner`.
MenuActions BuildMainMenu(QMenuBar* bar, QObject* owner);

}  // namespace tavik::ui
