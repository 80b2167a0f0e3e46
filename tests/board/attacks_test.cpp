#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::positionSignature;

TEST(Attacks, IsAttackedNamesTheFirstAttacker) {
    posicion board;
    posicionador().setStartPosition(board);
    EXPECT_EQ(isAttacked(board, 36, white), pawn);  // f3
    EXPECT_EQ(isAttacked(board, 33, black), 0);     // c3
    EXPECT_EQ(isAttacked(board, 63, black), pawn);  // c6
    EXPECT_EQ(isAttacked(board, 26, white), king);  // f2: only the king guards it

    board = positionFromFen("4k3/8/8/8/8/8/8/4R1K1 b - - 0 1");
    EXPECT_EQ(isAttacked(board, 85, white), rook);
    EXPECT_EQ(isAttacked(board, 86, white), 0);
    EXPECT_EQ(isAttacked(board, 28, white), king);

    // A piece between stops a slider; emptiness is read from the flags.
    board = positionFromFen("4k3/8/8/8/8/8/4P3/4R1K1 b - - 0 1");
    EXPECT_EQ(isAttacked(board, 85, white), 0);
    board.emptyFlag[25] = 1;
    EXPECT_EQ(isAttacked(board, 85, white), rook);
}

TEST(KeepsKingSafe, PinnedKnightHasNoMove) {
    posicion board = positionFromFen("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1");
    int moves = 0;
    for (; moves < 8 && knightTargets[25][moves]; ++moves)
        EXPECT_EQ(keepsKingSafe(board, 15, 25, knightTargets[25][moves], white), 0) << knightTargets[25][moves];
    EXPECT_EQ(moves, 6);
    board = positionFromFen("4k3/3r4/8/8/8/8/4N3/4K3 w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 15, 25, 44, white), 1);
}

TEST(KeepsKingSafe, PinnedPawnMayMoveAlongThePin) {
    posicion board = positionFromFen("4k3/4r3/8/8/8/8/4P3/4K3 w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 15, 25, 35, white), 1);
    EXPECT_EQ(keepsKingSafe(board, 15, 25, 45, white), 1);

    // Pinned on a diagonal: no advance, but the pinner may be taken.
    board = positionFromFen("4k3/8/8/8/8/2b5/3P4/4K3 w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 15, 24, 34, white), 0);
    EXPECT_EQ(keepsKingSafe(board, 15, 24, 33, white), 1);

    // A promotion code is decoded first: the g7 pawn pinned by the rook on
    // h7 may neither promote straight nor take on f8.
    board = positionFromFen("5n2/K5Pr/8/8/8/8/8/7k w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 71, 77, promotionCode(1, queen), white), 0);
    EXPECT_EQ(keepsKingSafe(board, 71, 77, promotionCode(0, knight), white), 0);
    board = positionFromFen("5n2/K5P1/8/8/8/8/8/7k w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 71, 77, promotionCode(0, knight), white), 1);
}

TEST(KeepsKingSafe, KingGoesOnlyToUnattackedSquares) {
    posicion board = positionFromFen("3rk3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(keepsKingSafe(board, 15, 15, 14, white), 0);
    EXPECT_EQ(keepsKingSafe(board, 15, 15, 16, white), 1);
}

// King a5, own pawn b5, enemy pawn c5 just come from c7, enemy rook h5:
// taking en passant would empty the rank between rook and king.
TEST(EnPassant, PinAlongTheRank) {
    posicion board = positionFromFen("4k3/8/8/KPp4r/8/8/8/8 w - c6 0 1");
    ASSERT_EQ(board.epSquare, 53);
    const std::string before = positionSignature(board);
    evasionMode = 1;
    EXPECT_EQ(keepsKingSafe(board, 51, 52, 63, white), 0);
    EXPECT_EQ(evasionMode, 1);
    EXPECT_EQ(positionSignature(board), before);

    evasionMode = 0;
    board.emptyFlag[53] = 1;
    EXPECT_EQ(isMoveLegal(board, 52, 63, 51, white), 0);
    board.emptyFlag[53] = 0;
    EXPECT_EQ(positionSignature(board), before);

    // With a knight on h5 the rank holds no danger.
    board = positionFromFen("4k3/8/8/KPp4n/8/8/8/8 w - c6 0 1");
    evasionMode = 1;
    EXPECT_EQ(keepsKingSafe(board, 51, 52, 63, white), 1);
}

// Black king e5 checked by the pawn that has just reached d4: taking it en
// passant answers the check, although the pawn still stands on the board.
TEST(EnPassant, TakingTheCheckingPawn) {
    posicion board = positionFromFen("8/8/8/4k3/3Pp3/8/8/4K3 b - d3 0 1");
    ASSERT_EQ(board.epSquare, 44);
    ASSERT_EQ(isAttacked(board, 55, white), pawn);
    evasionMode = 1;
    board.emptyFlag[44] = 1;
    EXPECT_EQ(isMoveLegal(board, 45, 34, 55, black), 1);
    board.emptyFlag[44] = 0;
    EXPECT_EQ(isMoveLegal(board, 45, 35, 55, black), 0);  // e4-e3 leaves the check
}

TEST(IsMoveLegal, EvasionModeRejectsMovesThatCannotAnswerACheck) {
    posicion board = positionFromFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1");
    const std::string before = positionSignature(board);
    evasionMode = 1;
    EXPECT_EQ(isMoveLegal(board, 11, 21, 15, white), 0);  // a2 is on no line of e1
    EXPECT_EQ(isMoveLegal(board, 11, 12, 15, white), 1);  // b1 is
    evasionMode = 0;
    EXPECT_EQ(isMoveLegal(board, 11, 21, 15, white), 1);
    EXPECT_EQ(positionSignature(board), before);
}

TEST(IsMoveLegal, KingMoves) {
    evasionMode = 0;
    posicion board = positionFromFen("8/8/8/8/8/3k4/8/4K3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 15, 25, 25, white), 0);  // next to the other king
    EXPECT_EQ(isMoveLegal(board, 15, 16, 16, white), 1);

    // Not along the checking rook's line: the square left counts as empty.
    board = positionFromFen("4k3/8/8/8/8/8/8/r3K3 w - - 0 1");
    evasionMode = 1;
    EXPECT_EQ(isMoveLegal(board, 15, 16, 16, white), 0);
    EXPECT_EQ(isMoveLegal(board, 15, 25, 25, white), 1);
    // Taking the checker, unless it is defended.
    board = positionFromFen("4k3/8/8/8/8/8/8/3rK3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 15, 14, 14, white), 1);
    board = positionFromFen("3rk3/8/8/8/8/8/8/3rK3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 15, 14, 14, white), 0);
}

TEST(IsMoveLegal, PawnAndKnightAttackers) {
    evasionMode = 0;
    posicion board = positionFromFen("4k3/8/8/8/8/3p4/8/4K3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 15, 25, 25, white), 0);  // e2 is guarded by d3
    EXPECT_EQ(isMoveLegal(board, 15, 24, 24, white), 1);
    board = positionFromFen("4k3/8/8/8/8/8/3p4/4K3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 15, 24, 24, white), 1);  // taking the pawn itself

    // Landing behind the checking pawn is no en-passant capture of it.
    board = positionFromFen("4k3/8/3n4/3pP3/4K3/8/8/8 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 55, 64, 45, white), 0);
    board = positionFromFen("4k3/8/8/3pP3/4K3/8/8/8 w - d6 0 1");
    board.emptyFlag[54] = 1;
    EXPECT_EQ(isMoveLegal(board, 55, 64, 45, white), 1);
    board.emptyFlag[54] = 0;

    // A checking knight must be taken, not ignored.
    board = positionFromFen("4k3/8/8/8/8/3n4/8/4K1R1 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 17, 16, 15, white), 0);
    board = positionFromFen("4k3/8/8/8/8/3n4/8/3RK3 w - - 0 1");
    EXPECT_EQ(isMoveLegal(board, 14, 34, 15, white), 1);
}

TEST(LastMoveGivesCheck, CastlingRookAndDiscoveries) {
    posicion board = positionFromFen("5k2/8/8/8/8/8/8/4K2R w K - 0 1");
    makeMove(board, 15, 17, white);
    EXPECT_NE(lastMoveGivesCheck(board, 86, white), 0);
    unmakeMove(board, 17, 15, white);

    // The knight leaves the bishop's diagonal to h8; the bishop moving
    // behind the knight does not check.
    board = positionFromFen("7k/8/8/8/3N4/8/1B6/4K3 w - - 0 1");
    makeMove(board, 44, 63, white);
    EXPECT_NE(lastMoveGivesCheck(board, 88, white), 0);
    unmakeMove(board, 63, 44, white);
    makeMove(board, 22, 33, white);
    EXPECT_EQ(lastMoveGivesCheck(board, 88, white), 0);
    unmakeMove(board, 33, 22, white);

    // En passant empties e5, on no line of the moved pawn: only the full
    // test sees the bishop's check.
    board = positionFromFen("7k/8/8/3Pp3/8/8/1B6/4K3 w - e6 0 1");
    makeMove(board, 54, 65, white);
    EXPECT_EQ(board.fullCheckTest, 1);
    EXPECT_NE(lastMoveGivesCheck(board, 88, white), 0);
}

TEST(MoveGivesCheck, DirectAndDiscovered) {
    posicion board = positionFromFen("4k3/8/8/8/4N3/8/8/4K1R1 w - - 0 1");
    EXPECT_EQ(moveGivesCheck(board, 45, 64, knight, 85), 1);  // Ne4-d6
    EXPECT_EQ(moveGivesCheck(board, 45, 53, knight, 85), 0);  // Ne4-c5
    EXPECT_EQ(moveGivesCheck(board, 17, 87, rook, 85), 1);    // Rg1-g8
    EXPECT_EQ(moveGivesCheck(board, 17, 16, rook, 85), 0);

    board = positionFromFen("7k/8/8/8/3N4/8/1B6/4K3 w - - 0 1");
    EXPECT_EQ(moveGivesCheck(board, 44, 56, knight, 88), 1);  // uncovers the bishop
    EXPECT_EQ(moveGivesCheck(board, 22, 33, bishop, 88), 0);  // stays behind the knight

    // A pawn checks upwards for white, downwards for black.
    board = positionFromFen("8/8/3k4/8/2P5/8/8/4K3 w - - 0 1");
    EXPECT_EQ(moveGivesCheck(board, 43, 53, pawn, 64), 1);
    board = positionFromFen("8/8/8/2p5/8/3K4/8/4k3 b - - 0 1");
    EXPECT_EQ(moveGivesCheck(board, 53, 43, pawn, 34), 1);
    board = positionFromFen("8/8/8/2p5/8/4K3/8/4k3 b - - 0 1");
    EXPECT_EQ(moveGivesCheck(board, 53, 43, pawn, 35), 0);
}

TEST(Rays, SliderOnRayAndPathClear) {
    posicion board = positionFromFen("4k3/8/8/1b6/8/3r4/8/4K3 w - - 0 1");
    EXPECT_EQ(sliderOnRay(board, 15, black, 0), 0);
    EXPECT_EQ(sliderOnRay(board, 15, black, 9), 0);   // empty up to the edge
    EXPECT_EQ(sliderOnRay(board, 24, black, 10), 1);  // the rook on d3 above d2
    EXPECT_EQ(sliderOnRay(board, 24, white, 10), 0);  // not of that side
    EXPECT_EQ(sliderOnRay(board, 25, black, 9), 0);   // the rook does not move diagonally
    EXPECT_EQ(sliderOnRay(board, 41, black, 11), 1);  // the bishop on b5

    EXPECT_EQ(isPathClear(board, 11, 88), 1);
    EXPECT_EQ(isPathClear(board, 14, 84), 0);
    EXPECT_EQ(isPathClear(board, 14, 34), 1);  // strictly between only
    EXPECT_EQ(isPathClear(board, 15, 16), 1);
}

}  // namespace
}  // namespace zarvi
