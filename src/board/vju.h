// The user-move checker: is the move the user clicked legal in the game's
// position? Written directly against the rules of chess, piece by piece,
// ending in the full legality test; the game asks it before every user
// move and reads its promotion flag to ask for the new piece.
#pragma once

#include "board/posicion.h"

namespace zarvi {

struct vju {
    // Set when an accepted move is a pawn leaving its seventh rank; the
    // game clears it when it starts the promotion.
    int promotion = 0;
};

// 1 if side may play from -> to (two real squares) on board, else 0.
// Leaves the board's flags and evasionMode at 1, as the search expects.
int checkUserMove(vju& checker, posicion& board, int from, int to, int side);

// The rules themselves; the caller has prepared en passant and the full
// legality test.
int checkUserMoveRules(vju& checker, posicion& board, int from, int to, int side);

}  // namespace zarvi
