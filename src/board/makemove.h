// Making and taking back moves. makeMove updates every view of a position
// incrementally and records what cannot be recomputed in a global undo
// stack shared by all boards; unmakeMove is its exact inverse. Neither
// checks its input: moves come from the legality tests or the generators.
#pragma once

#include "board/posicion.h"

namespace zarvi {

// 36 slots, of which makeMove uses 0..34: game moves, never taken back,
// may wrap freely; the search resets undoPly at its root and nests far less.
constexpr int undoSlots = 36;
constexpr int undoWrap = 34;

extern int undoCaptured[undoSlots];     // captured type; 0 also for en passant
extern int undoPromotionTo[undoSlots];  // real destination of a promotion
extern int undoEpSquare[undoSlots];
extern int undoHalfmove[undoSlots];
extern int undoLostLong[undoSlots][2];
extern int undoLostShort[undoSlots][2];
extern int undoPly;

// to is a square, or a promotion code for a pawn leaving its seventh rank;
// castling is the king's two-square move.
void makeMove(posicion& board, int from, int to, int side);
// Arguments as given to the matching makeMove, destination first.
void unmakeMove(posicion& board, int to, int from, int side);

}  // namespace zarvi
