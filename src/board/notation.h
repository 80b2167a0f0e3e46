// Moves as text in long algebraic notation: from and destination square,
// plus the new piece's letter for a promotion (e2e4, e1g1, e7e8q).
#pragma once

#include <string>

#include "board/posicion.h"

namespace zarvi {

// The text of a move given in the engine's encoding (to may be a
// promotion code) in the position before the move.
std::string moveText(const posicion& board, int from, int to);

// Reads a move of side in board into the engine's encoding. Returns false
// for text that names no move of that side's piece in this form (bad
// squares, a missing or superfluous promotion letter); legality is the
// caller's test.
bool parseMoveText(const posicion& board, int side, const std::string& text, int& from, int& to);

}  // namespace zarvi
