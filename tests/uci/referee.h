// The tests' judge of the engine's answers: the position after a list of
// moves, and whether a move is legal in it. It decides by the user-move
// checker, written against the rules piece by piece, and not by the
// generators that the engine binary itself uses.
#pragma once

#include <string>
#include <vector>

#include "board/posicion.h"

namespace zarvi::test {

struct RefereeGame {
    posicion board;
    int side = 0;
};

// Sets up fen ("startpos" for the initial position) and plays the moves;
// false if the FEN or a move is refused.
bool playMoves(const std::string& fen, const std::vector<std::string>& moves, RefereeGame& game);

// text is a legal move of the side to move, with a promotion letter exactly
// when a pawn reaches the last rank.
bool isLegalMove(RefereeGame& game, const std::string& text);

bool hasLegalMove(RefereeGame& game);

// The move of a "bestmove" line ("" when the line is something else).
std::string bestMoveOf(const std::string& line);

}  // namespace zarvi::test
