// The main window's menu bar in English or Spanish: game, level, options
// and details. Built once when the window is created.
#pragma once

#include <windows.h>

namespace zarvi {

// The menu bar in the language (0 Spanish, 1 English); levelMenu receives
// the level pop-up, whose items carry the radio mark.
HMENU buildMainMenu(int language, HMENU* levelMenu);

// Moves the level menu's radio mark to item 0, 1 or 2.
void markLevel(HMENU levelMenu, int item);

}  // namespace zarvi
