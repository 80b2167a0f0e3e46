#include "eval/capturegain.h"

#include "board/attacks.h"
#include "board/tables.h"

namespace zarvi {

namespace {

inline int pieceCaptureGain(const posicion& board, int to, int side, int capturer) {
    const int victim = materialValue[board.squares[to]];
    return isAttacked(board, to, 1 - side) ? victim - materialValue[capturer] : victim;
}

}  // namespace

int knightCaptureGain(const posicion& board, int to, int side) {
    return pieceCaptureGain(board, to, side, knight);
}

int bishopCaptureGain(const posicion& board, int to, int side) {
    return pieceCaptureGain(board, to, side, bishop);
}

int rookCaptureGain(const posicion& board, int to, int side) {
    return pieceCaptureGain(board, to, side, rook);
}

int queenCaptureGain(const posicion& board, int to, int side) {
    return pieceCaptureGain(board, to, side, queen);
}

int pawnMoveGain(const posicion& board, int from, int to, int side) {
    const int opp = 1 - side;
    if (promotionRank[side][from]) {
        const int destination = promotionDestination(from, to, side);
        const int promoted = materialValue[to & 7];
        const int gain = materialValue[board.squares[destination]] + promoted - materialValue[pawn];
        return isAttacked(board, destination, opp) ? gain - promoted : gain;
    }
    const int fifthRank = side == white ? 5 : 4;
    if (rankOf(from) == fifthRank && board.squares[to] == 0 && to - from != 10 && to - from != -10)
        return isAttacked(board, to, opp) ? 0 : materialValue[pawn];
    const int victim = materialValue[board.squares[to]];
    return isAttacked(board, to, opp) ? victim - materialValue[pawn] : victim;
}

}  // namespace zarvi
