#include <gtest/gtest.h>

#include "board/tables.h"

namespace zarvi {
namespace {

TEST(Tables, Directions) {
    EXPECT_EQ(queenDirection[11][88], 11);
    EXPECT_EQ(queenDirection[88][11], -11);
    EXPECT_EQ(queenDirection[11][23], 0);
    EXPECT_EQ(rookDirection[11][18], 1);
    EXPECT_EQ(bishopDirection[11][18], 0);
    EXPECT_EQ(rookDirection[81][11], -10);
    EXPECT_EQ(bishopDirection[18][81], 9);
    // Lines stop at the edge of the board: h1 and a2 share no line.
    EXPECT_EQ(queenDirection[18][21], 0);
}

TEST(Tables, LineOrKnight) {
    EXPECT_EQ(lineOrKnight[44][44], 1);
    EXPECT_EQ(lineOrKnight[44][56], 1);
    EXPECT_EQ(lineOrKnight[44][57], 0);
    EXPECT_EQ(lineOrKnight[44][88], 1);
}

TEST(Tables, KnightAndKingTargets) {
    const int b1[] = {33, 24, 31, 0};
    const int g1[] = {36, 25, 38, 0};
    const int e1[] = {16, 26, 25, 24, 14, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(knightTargets[12][i], b1[i]) << i;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(knightTargets[17][i], g1[i]) << i;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(kingTargets[15][i], e1[i]) << i;
    int count = 0;
    while (count < 8 && knightTargets[44][count]) ++count;
    EXPECT_EQ(count, 8);
}

TEST(Tables, QuietMoveClassesForWhite) {
    EXPECT_EQ(quietMoveClass[white][knight][17][36], 0);  // Ng1-f3
    EXPECT_EQ(quietMoveClass[white][knight][17][38], 2);  // Ng1-h3, to the edge
    EXPECT_EQ(quietMoveClass[white][pawn][25][45], 0);    // e2-e4
    EXPECT_EQ(quietMoveClass[white][pawn][23][43], 1);    // c2-c4
    EXPECT_EQ(quietMoveClass[white][pawn][21][31], 2);    // a2-a3
    EXPECT_EQ(quietMoveClass[white][king][15][17], 0);    // castling
    EXPECT_EQ(quietMoveClass[white][king][15][16], 2);
    EXPECT_EQ(quietMoveClass[white][rook][11][14], 0);    // Ra1-d1
    EXPECT_EQ(quietMoveClass[white][rook][14][11], 1);    // Rd1-a1
    EXPECT_EQ(quietMoveClass[white][knight][36][17], 2);  // backwards
}

TEST(Tables, QuietMoveClassesMirrorForBlack) {
    EXPECT_EQ(quietMoveClass[black][knight][87][66], 0);
    EXPECT_EQ(quietMoveClass[black][pawn][75][55], 0);
    EXPECT_EQ(quietMoveClass[black][pawn][73][53], 1);
    EXPECT_EQ(quietMoveClass[black][pawn][71][61], 2);
    EXPECT_EQ(quietMoveClass[black][knight][66][87], 2);
}

TEST(Tables, KingWeightsOnTheSameSquare) {
    for (int a : {11, 44, 88}) {
        EXPECT_EQ(rookKingWeightA[a][a], 3);
        EXPECT_EQ(rookKingWeightB[a][a], 2);
        EXPECT_EQ(bishopKingWeight[a][a], 6);
        EXPECT_EQ(queenKingWeight[a][a], 6);
    }
    EXPECT_EQ(rookKingWeightA[44][45], 14);
    EXPECT_EQ(bishopKingWeight[44][46], 6);
    EXPECT_EQ(queenKingWeight[11][18], 0);  // far, other wing
    EXPECT_EQ(queenKingWeight[11][41], 3);  // same wing, distance 3
}

TEST(Tables, DistanceAndQuarters) {
    EXPECT_EQ(distance[11][88], 7);
    EXPECT_EQ(distance[44][55], 1);
    EXPECT_EQ(sameQuarter[11][44], 1);
    EXPECT_EQ(sameQuarter[11][45], 0);
    EXPECT_EQ(sameWing[11][84], 1);
    EXPECT_EQ(nearSquare[44][46], 1);
    EXPECT_EQ(nearSquare[44][47], 0);
    EXPECT_EQ(rankAhead[white][34][31], 1);
    EXPECT_EQ(rankAhead[white][34][21], 0);
    EXPECT_EQ(rankAhead[black][34][21], 1);
}

TEST(Tables, Sliding) {
    EXPECT_EQ(slidesAlong[pieceCode(white, bishop)][11 + 11], 1);
    EXPECT_EQ(slidesAlong[pieceCode(black, bishop)][10 + 11], 0);
    EXPECT_EQ(slidesAlong[pieceCode(black, rook)][-10 + 11], 1);
    EXPECT_EQ(slidesAlong[pieceCode(white, queen)][-9 + 11], 1);
    EXPECT_EQ(slidesAlong[pieceCode(white, king)][1 + 11], 0);
    int total = 0;
    for (auto& row : slidesAlong)
        for (int v : row) total += v;
    EXPECT_EQ(total, 32);
}

TEST(Tables, ConstantSquareSets) {
    EXPECT_EQ(onBoard[11], 1);
    EXPECT_EQ(onBoard[19], 0);
    EXPECT_EQ(onBoard[109], 0);
    EXPECT_EQ(promotionRank[white][75], 1);
    EXPECT_EQ(promotionRank[black][25], 1);
    EXPECT_EQ(promotionRank[white][25], 0);
    EXPECT_EQ(edgeSquare[45], 0);
    EXPECT_EQ(edgeSquare[41], 1);
    EXPECT_EQ(centerSquare[54], 1);
    EXPECT_EQ(backRank[black][84], 1);
    EXPECT_EQ(backRank[white][84], 0);
}

}  // namespace
}  // namespace zarvi
