#include <gtest/gtest.h>

#include "board/makemove.h"
#include "board/posicion.h"
#include "board/tables.h"
#include "support/positions.h"

namespace zarvi {
namespace {

TEST(StartPosition, MaterialUnitsAndListOrder) {
    posicion board;
    posicionador().setStartPosition(board);
    for (int side = 0; side < 2; ++side) {
        const int shift = 70 * side;
        EXPECT_EQ(board.material[side], 9901);
        EXPECT_EQ(board.pieceUnits[side], 32);
        EXPECT_EQ(board.pawnList[side][1], side ? 75 : 25);
        EXPECT_EQ(board.knightList[side][1], 17 + shift);
        EXPECT_EQ(board.knightList[side][2], 12 + shift);
        EXPECT_EQ(board.rookList[side][1], 11 + shift);
        EXPECT_EQ(board.bishopList[side][1], 16 + shift);
        EXPECT_EQ(board.queenList[side][1], 14 + shift);
        EXPECT_EQ(board.kingSquare[side], 15 + shift);
    }
    const int whitePawns[] = {25, 24, 23, 28, 27, 21, 22, 26};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(board.pawnList[white][i + 1], whitePawns[i]);
    EXPECT_TRUE(test::viewsConsistent(board, white));
}

TEST(StartPosition, PawnAttacks) {
    posicion board;
    posicionador().setStartPosition(board);
    EXPECT_EQ(board.pawnAttacks[white][31], 1);
    for (int s = 32; s <= 37; ++s) EXPECT_EQ(board.pawnAttacks[white][s], 2);
    EXPECT_EQ(board.pawnAttacks[white][38], 1);
    for (int s = 41; s <= 88; ++s) EXPECT_EQ(board.pawnAttacks[white][s], 0) << s;
    EXPECT_EQ(board.pawnAttacks[black][61], 1);
    EXPECT_EQ(board.pawnAttacks[black][64], 2);
}

TEST(StartPosition, ResetsAPlayedBoardButKeepsTheLastMove) {
    posicion board;
    posicionador().setStartPosition(board);
    makeMove(board, 25, 45, white);
    makeMove(board, 74, 54, black);
    makeMove(board, 45, 54, white);  // exd5
    makeMove(board, 84, 54, black);  // Qxd5
    ASSERT_EQ(board.capturedType, pawn);
    posicionador().setStartPosition(board);

    posicion fresh;
    posicionador().setStartPosition(fresh);
    EXPECT_EQ(test::positionSignature(board), test::positionSignature(fresh));
    EXPECT_EQ(board.lastFrom, 84);
    EXPECT_EQ(board.lastTo, 54);
    EXPECT_EQ(board.capturedType, pawn);
}

TEST(StartPosition, ConstructionClearsTheLastMoveAndTheLists) {
    posicion board;
    EXPECT_EQ(board.lastFrom, 0);
    EXPECT_EQ(board.capturedType, 0);
    EXPECT_EQ(board.fullCheckTest, 0);
    EXPECT_EQ(board.savedEmptyFlag, 1);
    EXPECT_EQ(board.pawnList[black][0], 0);
}

}  // namespace
}  // namespace zarvi
