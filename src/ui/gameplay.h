// The game as the window drives it: a new game, the user's move with the
// engine's reply and the end-of-game announcements, switching sides and
// retracting. Called from the window's clicks and commands; each runs to
// the end inside that call, the engine's search included.
#pragma once

#include "game/ending.h"

namespace zarvi {

// The starting position with the user playing white from the bottom.
void startNewGame();

// The user's move from the selected to the target square (a pawn reaching
// the last rank becomes a queen), then the end-of-game tests around the
// engine's reply. A refused move only clears the selection.
void playUserMove();

// The user takes the other side and the engine moves for the side the
// user had; no end-of-game test follows.
void switchSides();

// Takes back the last move pair (or the user's move that ended the game)
// and leaves the game-over state.
void retractMove();

// The system-modal message box of an ending, in the current language.
void announceEnding(Ending ending);

}  // namespace zarvi
