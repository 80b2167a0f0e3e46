// Shared test helpers: positions from FEN, and the check that a position's
// incrementally kept views equal those rebuilt from its squares and rights.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/posicion.h"

namespace zarvi::test {

// The position of a FEN; the test fails if the FEN is refused.
posicion positionFromFen(const std::string& fen, int* sideToMove = nullptr);

// Every view of board equals a recomputation from its squares and rights.
::testing::AssertionResult viewsConsistent(const posicion& board, int sideToMove);

// Everything a position is, for exact comparison after make and take-back:
// the description plus the views (lists as sets) and keys.
std::string positionSignature(const posicion& board);

}  // namespace zarvi::test
