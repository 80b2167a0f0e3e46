// Reading moves in standard algebraic notation ("e4", "Nbd2", "exd6",
// "O-O", "Qxf7#"), as the list of opening lines writes them. A reading
// holds only if the rules agree with every part of the text, so that a
// slip in the list is caught rather than turned into some other move.
// The book builder reads every move of every line through it.
#pragma once

#include <string>

#include "board/posicion.h"
#include "board/types.h"

namespace zarvi {

// Reads text as a move of side in board. Returns an empty string and the
// move (castling as the king's two-square move), or what is wrong: text
// that is not notation, no legal move or more than one that fits, a capture
// or check mark that the move does not deserve or one that it lacks, or a
// promotion, which a book entry cannot write. board is left as it was.
std::string readSanMove(posicion& board, int side, const std::string& text, Move& move);

// Whether side has a legal move in board.
bool hasLegalMove(posicion& board, int side);

}  // namespace zarvi
