#include "eval/material.h"

#include <cstdlib>

#include "eval/evaltables.h"

namespace zarvi {

namespace {

constexpr int pawnWorth = 225;
// Each pawn more is worth pawnBonusBase minus twice the units of the side
// with fewer pawns.
constexpr int pawnBonusBase = 64;

bool oppositeBishopsOnly(const posicion& b) {
    return b.pieceUnits[white] == 3 && b.pieceUnits[black] == 3 && b.bishopList[white][0] == 1 &&
           b.bishopList[black][0] == 1 &&
           lightSquare[b.bishopList[white][1]] != lightSquare[b.bishopList[black][1]];
}

}  // namespace

int materialEstimate(const posicion& board, int side) {
    const int opponent = 1 - side;
    int m = board.material[side] - board.material[opponent];
    const int dp = board.pawnList[side][0] - board.pawnList[opponent][0];
    if (dp != 0) {
        if (std::abs(dp) <= 2 && oppositeBishopsOnly(board)) m >>= 1;
        const int fewerPawns = dp > 0 ? opponent : side;
        m += (pawnBonusBase - 2 * board.pieceUnits[fewerPawns]) * dp;
    } else if (board.pawnList[side][0] == 0) {
        // Rook and minor against rook, or two minors against one: hardly
        // more than a pawn.
        const int u = board.pieceUnits[side], v = board.pieceUnits[opponent];
        if ((u == 8 && v == 5) || (u == 6 && v == 3))
            m = pawnWorth;
        else if ((u == 5 && v == 8) || (u == 3 && v == 6))
            m = -pawnWorth;
    }
    return m;
}

}  // namespace zarvi
