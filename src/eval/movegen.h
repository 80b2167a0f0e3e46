// The engine's five move generators, one per purpose of the search, writing
// the search's lists of one ply from entry 0. None sorts: the append order
// is part of the move ordering. A list never takes more than it holds (full
// list and gains 230, captures 60): the moves beyond are left out.
#pragma once

#include "board/attacks.h"
#include "board/posicion.h"
#include "eval/movelists.h"

namespace zarvi {

// Captures, en-passant captures and every promotion (queen then knight),
// pseudo-legal, into the capture list (kinds in the shared kind column).
int generateCaptures(MoveLists& lists, const posicion& board, int side, int ply);

// Every non-capture but promotions, castling first, pseudo-legal, into
// the full list.
int generateQuietMoves(MoveLists& lists, const posicion& board, int side, int ply);

// Non-captures that give direct check, and safe pawn advances that reach
// the seventh rank or attack a piece; pseudo-legal, into the full list.
int generateQuietChecks(MoveLists& lists, const posicion& board, int side, int ply);

// Every legal move, promotions to queen, rook, bishop and knight, into the
// full list (kind left unset). Castling only while the board's
// evasionMode is 0.
int generateLegalMoves(MoveLists& lists, posicion& board, int side, int ply);

// generateLegalMoves for a side that is (inCheck 1) or is not (0) in check:
// evasionMode follows the check for the call, which leaves castling out in
// check, and is back on afterwards, where the rest of the engine expects it.
inline int listLegalMoves(MoveLists& lists, posicion& board, int side, int ply, int inCheck) {
    board.evasionMode = inCheck;
    const int n = generateLegalMoves(lists, board, side, ply);
    board.evasionMode = 1;
    return n;
}

// The same, finding out first whether side is in check.
inline int listLegalMoves(MoveLists& lists, posicion& board, int side, int ply) {
    return listLegalMoves(lists, board, side, ply, isAttacked(board, board.kingSquare[side], 1 - side) != 0);
}

// The expected gain of every legal capture and promotion, into
// captureGains; the caller switches the board's evasionMode off around
// the call.
int collectCaptureGains(MoveLists& lists, posicion& board, int side);

}  // namespace zarvi
