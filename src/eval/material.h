// The material estimate of a position from one side's view: the material
// difference, adjusted for drawish opposite bishops, the growing worth of
// an extra pawn as pieces come off, and pawnless endings of a piece more
// that rarely win. The node search builds its static score on it.
#pragma once

#include "board/posicion.h"

namespace zarvi {

int materialEstimate(const posicion& board, int side);

}  // namespace zarvi
