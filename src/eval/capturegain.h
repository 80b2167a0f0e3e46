// Expected gains of captures and promotions, for the node search at its
// depth limit: one rule per capturing piece, looking only at the victim
// and at whether the opponent attacks the destination (a defended victim
// is assumed to cost the capturer). collectCaptureGains applies them.
#pragma once

#include "board/posicion.h"

namespace zarvi {

// The victim's value, less the capturer's when the opponent of side
// attacks the destination to.
int knightCaptureGain(const posicion& board, int to, int side);
int bishopCaptureGain(const posicion& board, int to, int side);
int rookCaptureGain(const posicion& board, int to, int side);
int queenCaptureGain(const posicion& board, int to, int side);

// A pawn capture, en-passant capture or promotion from the pawn on from;
// to is a square or, from the seventh rank, a promotion code.
int pawnMoveGain(const posicion& board, int from, int to, int side);

}  // namespace zarvi
