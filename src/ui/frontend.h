// The front end's state in one place: what the user sees and may do now
// (side, board orientation, selection, game over, engine thinking) and the
// handles the window keeps for the whole run. Start-up resets it; the
// window procedure, the game commands and the drawing read and write it.
#pragma once

#include <windows.h>

#include "board/types.h"
#include "game/cable.h"

namespace zarvi {

constexpr int squareSize = 60;  // edge of a board square in pixels
constexpr int boardCells = 8;
constexpr int levelCount = 3;

struct FrontEnd {
    int userSide = white;
    int boardFlipped = 0;      // 1: black at the bottom
    int clickCount = 0;        // 1 while a from-square is selected
    int selectedSquare = 0;
    int targetSquare = 0;
    int selectionX = 0;        // the selected cell's top-left pixel
    int selectionY = 0;
    int showSelection = 0;
    int gameOver = 0;          // clicks and switching sides wait for a new game or a retract
    int engineThinking = 0;    // clicks, commands and closing are dropped

    cable* game = nullptr;
    HINSTANCE instance = nullptr;
    HWND mainWindow = nullptr;
    HWND statusBar = nullptr;
    HMENU levelMenu = nullptr;
    // [piece colour][dark square][piece type]; type 0 (white) holds the
    // empty squares.
    HBITMAP squareImages[2][2][king + 1] = {};
};

extern FrontEnd frontEnd;

// The start values of the board state; the game, the handles and the
// flags gameOver and engineThinking are left alone.
void resetBoardState();

}  // namespace zarvi
