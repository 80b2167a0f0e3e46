// Making and taking back moves. makeMove updates every view of a position
// incrementally and records what cannot be recomputed in the board's own
// undo stack; unmakeMove is its exact inverse. Neither
// checks its input: moves come from the legality tests or the generators.
#pragma once

#include "board/posicion.h"

namespace zarvi {

// to is a square, or a promotion code for a pawn leaving its seventh rank;
// castling is the king's two-square move.
void makeMove(posicion& board, int from, int to, int side);
// Arguments as given to the matching makeMove, destination first.
void unmakeMove(posicion& board, int to, int from, int side);

}  // namespace zarvi
