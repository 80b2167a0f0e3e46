// Drawing the board: 64 square images stretched into their cells from the
// game's position, then the grid and the selection frame, with the status
// text copied into the status bar. Every redraw paints the whole board;
// painting and every game action in the window procedure come here.
#pragma once

#include <windows.h>

namespace zarvi {

// Loads the 26 square images by name; deleteSquareImages releases them.
void loadSquareImages(HINSTANCE instance);
void deleteSquareImages();

// Paints the board onto dc, a context of the main window.
void drawBoard(HDC dc);
void drawGridAndSelection(HDC dc);

// A redraw outside painting: on a context of the main window from GetDC.
void redraw();

}  // namespace zarvi
