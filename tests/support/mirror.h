// The colour mirror of a position: ranks flipped, colours swapped, side to
// move swapped, for tests that a rule scores both colours alike.
#pragma once

#include "board/posicion.h"

namespace zarvi::test {

// The square on the same file, rank 9 - r.
constexpr int mirrorSquare(int square) { return 10 * (9 - rankOf(square)) + fileOf(square); }

// The mirror of board (with sideToMove to move). The piece lists keep the
// original's order, square for square, since some rules read the first
// entry of a list.
posicion mirroredPosition(const posicion& board, int sideToMove);

}  // namespace zarvi::test
