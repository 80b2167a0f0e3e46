// The evaluation tables: black's halves are white's mirrored, the rank
// tables count from the pawn's own side, and the square sets name the
// squares the rules mean.
#include "eval/evaltables.h"

#include <gtest/gtest.h>

namespace zarvi {
namespace {

TEST(EvalTables, BlackHalvesAreMirrored) {
    EXPECT_EQ(knightSquareBonus[white][sq::d5], 45);
    EXPECT_EQ(knightSquareBonus[black][sq::d4], 45);
    EXPECT_EQ(knightSquareBonus[black][sq::d5], 34);
    EXPECT_EQ(kingEndgameBonus[black][sq::d4], 44);
    EXPECT_EQ(pawnChainBonus[white][sq::f7], 21);
    EXPECT_EQ(pawnChainBonus[black][sq::f2], 21);
    EXPECT_EQ(loosePawnBonus[black][sq::c4], 3);
    for (int s = 0; s < squareCount; ++s) {
        if (!onBoard[s]) {
            EXPECT_EQ(knightSquareBonus[black][s], 0) << s;
            EXPECT_EQ(passedAlone[white][s], 0) << s;
        }
    }
}

TEST(EvalTables, PassedPawnsByTheirOwnRank) {
    EXPECT_EQ(passedSupported[white][sq::a7], 240);
    EXPECT_EQ(passedSupported[black][sq::h2], 240);
    EXPECT_EQ(passedConnected[black][sq::e4], 124);
    EXPECT_EQ(passedAlone[white][sq::e4], 83);
    EXPECT_EQ(passedAlone[black][sq::e8], 0);
}

TEST(EvalTables, SquareSets) {
    EXPECT_EQ(darkSquare[sq::a1], 1);
    EXPECT_EQ(lightSquare[sq::h1], 1);
    EXPECT_EQ(lightSquare[sq::a8], 1);
    EXPECT_EQ(darkSquare[sq::h8], 1);
    EXPECT_EQ(lightSquare[sq::a1] + darkSquare[sq::a1], 1);
    EXPECT_EQ(promotionSquare[white][sq::c5], sq::c8);
    EXPECT_EQ(promotionSquare[black][sq::c5], sq::c1);
    EXPECT_EQ(knightOutpost[black][sq::e4], 1);
    EXPECT_EQ(knightOutpost[black][sq::e5], 0);
    EXPECT_EQ(knightSupportZone[white][sq::f6], 1);
    EXPECT_EQ(knightSupportZone[black][sq::f6], 0);
    EXPECT_EQ(knightSupportZone[black][sq::c3], 1);
    EXPECT_EQ(firstTwoRanks[black][sq::g7], 1);
    EXPECT_EQ(relativeSquare(black, sq::f2), sq::f7);
    EXPECT_EQ(xrayTargetRook[black][pieceCode(black, king)], 1);
    EXPECT_EQ(xrayTargetRook[black][pieceCode(black, rook)], 0);
    EXPECT_EQ(xrayTargetBishop[white][pieceCode(white, rook)], 1);
    EXPECT_EQ(xrayBlocker[pieceCode(black, knight)], 1);
    EXPECT_EQ(discoverer[pieceCode(white, bishop)], 0);
}

}  // namespace
}  // namespace zarvi
