// Attack, check and legality tests on a position. Each is the fastest sound
// test for its caller's situation; all of them read emptiness through
// emptyFlag, so a caller may hide a piece (an en-passant victim) by setting
// its square's flag for the duration of a test.
#pragma once

#include "board/posicion.h"

namespace zarvi {

// 0 if no piece of side c attacks square s, else the type of the first
// attacker found: pawns, knights, bishops, rooks, queens, king.
int isAttacked(const posicion& board, int s, int c);

}  // namespace zarvi
