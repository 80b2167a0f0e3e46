// Chess knowledge that acts on the search rather than on the score:
// probeEndgame recognises drawn endings with few pawns and positions the
// side to move cannot lose (the node search asks it), and depthCapOf
// limits the iterations in trivial pawnless endings (the root search).
#pragma once

#include "board/posicion.h"

namespace zarvi {

constexpr int endgameDraw = 0;
constexpr int endgameCannotLose = 1;
constexpr int endgameUnknown = -1;

// u is the side to move, t the opponent; called when u has fewer than 3
// pawns, t at most 1, pieceUnits[u] <= 10 and pieceUnits[t] < 9.
// Returns endgameDraw, endgameCannotLose or endgameUnknown.
int probeEndgame(const posicion& board, int u, int t);

// The iteration limit of pawnless endings of a lone rook each or at most
// a minor piece each; 0 (no limit) in every other position.
int depthCapOf(const posicion& board);

}  // namespace zarvi
