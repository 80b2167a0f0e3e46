// The main window: its class, its creation and mainWindowProc, the one
// place where the user's actions enter the program. The procedure is a flat
// table of one handler per message; everything else goes to the default.
#pragma once

#include <windows.h>

#include "ui/frontend.h"

namespace zarvi {

constexpr const char* windowClassName = "juegozarvi";
constexpr const char* windowTitle = "Zarvi...";
constexpr const char* iconName = "MIICONO";
// The outer size that holds the 8 x 8 board, the menu and the status bar.
constexpr int windowWidth = boardCells * squareSize + 13;
constexpr int windowHeight = boardCells * squareSize + 71;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the window class with the program's icon; false on failure.
bool registerMainWindowClass(HINSTANCE instance);

// Creates the main window (its menu, status bar and square images come
// with it); nullptr on failure.
HWND createMainWindow(HINSTANCE instance);

}  // namespace zarvi
