#include "board/posicion.h"

#include <cstring>

#include "board/tables.h"

namespace zarvi {

posicion::posicion() { clearBoard(); }

void posicion::clearBoard() {
    lastFrom = 0;
    lastTo = 0;
    capturedType = 0;
    fullCheckTest = 0;
    savedEmptyFlag = 1;
    undoPly = 0;
    evasionMode = 0;
    std::memset(knightList, 0, sizeof knightList);
    std::memset(rookList, 0, sizeof rookList);
    std::memset(bishopList, 0, sizeof bishopList);
    std::memset(queenList, 0, sizeof queenList);
    std::memset(pawnList, 0, sizeof pawnList);
}

void posicionador::setStartPosition(posicion& board) const {
    static const int backRow[9] = {0, rook, knight, bishop, queen, king, bishop, knight, rook};

    // The start key: piece keys only, no side, castling or en-passant key.
    board.key1 = 0;
    board.key2 = 0;
    board.key3 = 0;
    for (int file = 1; file <= 8; ++file) {
        board.toggleKey(white, 10 + file, backRow[file]);
        board.toggleKey(white, 20 + file, pawn);
        board.toggleKey(black, 70 + file, pawn);
        board.toggleKey(black, 80 + file, backRow[file]);
    }

    board.movedType = knight;
    board.halfmoveClock = 0;
    board.epSquare = 0;

    for (int side = 0; side < 2; ++side) {
        board.pieceUnits[side] = 2 * (pieceUnitValue[knight] + pieceUnitValue[bishop] +
                                      pieceUnitValue[rook]) +
                                 pieceUnitValue[queen];
    }
    std::memset(board.pawnAttacks, 0, sizeof board.pawnAttacks);
    std::memset(board.pawnsOnFile, 0, sizeof board.pawnsOnFile);

    for (int side = 0; side < 2; ++side) {
        const int shift = 70 * side;
        board.kingSquare[side] = 15 + shift;
        board.canCastleShort[side] = 1;
        board.canCastleLong[side] = 1;
        // The list order is the order of generation.
        board.knightList[side][0] = 2;
        board.knightList[side][1] = 17 + shift;
        board.knightList[side][2] = 12 + shift;
        board.rookList[side][0] = 2;
        board.rookList[side][1] = 11 + shift;
        board.rookList[side][2] = 18 + shift;
        board.bishopList[side][0] = 2;
        board.bishopList[side][1] = 16 + shift;
        board.bishopList[side][2] = 13 + shift;
        board.queenList[side][0] = 1;
        board.queenList[side][1] = 14 + shift;
        static const int pawnOrder[8] = {25, 24, 23, 28, 27, 21, 22, 26};
        board.pawnList[side][0] = 8;
        for (int i = 0; i < 8; ++i) board.pawnList[side][i + 1] = pawnOrder[i] + 50 * side;
    }

    std::memset(board.squares, 0, sizeof board.squares);
    for (int file = 1; file <= 8; ++file) {
        board.squares[20 + file] = pieceCode(white, pawn);
        board.squares[70 + file] = pieceCode(black, pawn);
        board.squares[10 + file] = pieceCode(white, backRow[file]);
        board.squares[80 + file] = pieceCode(black, backRow[file]);
        board.pawnsOnFile[white][file] = 1;
        board.pawnsOnFile[black][file] = 1;
    }

    for (int s = 0; s < squareCount; ++s) board.emptyFlag[s] = (s >= 31 && s <= 68) ? 1 : 0;

    board.pawnAttacks[white][31] = 1;
    board.pawnAttacks[black][61] = 1;
    for (int s = 32; s <= 37; ++s) {
        board.pawnAttacks[white][s] = 2;
        board.pawnAttacks[black][s + 30] = 2;
    }
    board.pawnAttacks[white][38] = 1;
    board.pawnAttacks[black][68] = 1;

    for (int side = 0; side < 2; ++side) {
        board.material[side] = 8 * materialValue[pawn] +
                               2 * (materialValue[knight] + materialValue[bishop] +
                                    materialValue[rook]) +
                               materialValue[queen];
    }
}

}  // namespace zarvi
