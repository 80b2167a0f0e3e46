#include "support/mirror.h"

#include "board/fen.h"
#include "board/tables.h"

namespace zarvi::test {

posicion mirroredPosition(const posicion& board, int sideToMove) {
    const PositionSetup original = describePosition(board, sideToMove);
    PositionSetup setup{};
    for (int s = 11; s <= 88; ++s) {
        if (!onBoard[s] || original.squares[s] == 0) continue;
        const int piece = original.squares[s];
        setup.squares[mirrorSquare(s)] = pieceCode(1 - sideOf(piece), typeOf(piece));
    }
    for (int side = 0; side < 2; ++side) {
        setup.canCastleShort[side] = original.canCastleShort[1 - side];
        setup.canCastleLong[side] = original.canCastleLong[1 - side];
    }
    setup.epSquare = original.epSquare ? mirrorSquare(original.epSquare) : 0;
    setup.halfmoveClock = original.halfmoveClock;
    setup.sideToMove = 1 - sideToMove;

    posicion mirror;
    setupPosition(mirror, setup);
    for (int side = 0; side < 2; ++side) {
        for (int type = pawn; type <= queen; ++type) {
            const int* from = board.pieceList(side, type);
            int* to = mirror.pieceList(1 - side, type);
            for (int i = 0; i <= from[0]; ++i) to[i] = i == 0 ? from[0] : mirrorSquare(from[i]);
        }
    }
    return mirror;
}

}  // namespace zarvi::test
