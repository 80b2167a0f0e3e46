// The endgame knowledge on the positions its rules name, and the depth
// cap of trivial pawnless endings.
#include "eval/endgame.h"

#include <gtest/gtest.h>

#include <string>

#include "evalsupport.h"
#include "support/positions.h"

namespace zarvi {
namespace {

// probeEndgame with the side to move of the FEN as u.
int probe(const std::string& fen) {
    int u = white;
    const posicion board = test::positionFromFen(fen, &u);
    return probeEndgame(board, u, 1 - u);
}

TEST(Endgame, TwoKnightsCannotForceMate) {
    EXPECT_EQ(probe("8/8/8/3k4/8/8/8/2NNK3 w - - 0 1"), endgameDraw);
    // The bare king to move: no rule applies.
    EXPECT_EQ(probe("8/8/8/3k4/8/8/8/2NNK3 b - - 0 1"), endgameUnknown);
}

TEST(Endgame, PawnlessEndings) {
    // Bishop against bishop, their king off the corner.
    EXPECT_EQ(probe("8/8/2b1k3/8/8/3B4/8/4K3 w - - 0 1"), endgameDraw);
    // Rook against rook with our king off the edge: we cannot lose.
    EXPECT_EQ(probe("7k/8/8/3K4/8/8/r7/6R1 w - - 0 1"), endgameCannotLose);
    // The same with our king on the edge: nothing known.
    EXPECT_EQ(probe("3k4/8/8/8/8/8/r7/K5R1 w - - 0 1"), endgameUnknown);
    // Bishop against rook, our king on no line of the rook.
    EXPECT_EQ(probe("7k/8/8/3K4/8/8/2r5/5B2 w - - 0 1"), endgameDraw);
    // Against a lone minor piece, whatever we have: we cannot lose.
    EXPECT_EQ(probe("7k/8/8/8/1n6/8/8/K2Q4 w - - 0 1"), endgameCannotLose);
    EXPECT_EQ(probe("7k/8/8/8/1n6/8/P7/K7 w - - 0 1"), endgameCannotLose);
}

TEST(Endgame, RookPawnDraws) {
    // Our king on h1 against king, knight and pawn h2.
    EXPECT_EQ(probe("8/8/8/8/4k3/8/6np/7K w - - 0 1"), endgameDraw);
    // Black to move with its king on b8 against the a6 pawn and a far king.
    EXPECT_EQ(probe("1k6/8/P7/8/8/8/8/6K1 b - - 0 1"), endgameDraw);
    // The wrong bishop: h-pawn and a dark-squared bishop, our king in the
    // corner.
    EXPECT_EQ(probe("8/8/3b4/8/8/2k5/7p/6K1 w - - 0 1"), endgameDraw);
    // The right bishop (light squares, like h1) wins: nothing known.
    EXPECT_EQ(probe("8/8/4b3/8/8/2k5/7p/6K1 w - - 0 1"), endgameUnknown);
}

TEST(Endgame, KingInFrontOfThePawn) {
    // Our king two squares in front of their pawn.
    EXPECT_EQ(probe("8/8/4k3/4p3/8/4K3/8/8 w - - 0 1"), endgameDraw);
    // A rook's pawn with our king nearer the corner than theirs.
    EXPECT_EQ(probe("8/8/8/7p/5k2/8/6K1/8 w - - 0 1"), endgameDraw);
    // Their king escorts a pawn ours cannot reach: nothing known.
    EXPECT_EQ(probe("8/8/8/8/8/3kp3/8/K7 w - - 0 1"), endgameUnknown);
}

TEST(Endgame, QueenAgainstPawnOnTheSeventh) {
    // c-pawn on c2 with its king on b1; our king 5 away.
    EXPECT_EQ(probe("7Q/8/6K1/8/8/8/2p5/1k6 w - - 0 1"), endgameDraw);
    // At distance 4 it is drawn only if the queen is badly placed: on h5
    // (no line through b1 towards c2, not on the seventh) it is.
    EXPECT_EQ(probe("8/8/8/5K1Q/8/8/2p5/1k6 w - - 0 1"), endgameDraw);
    // On h7 it stands on the b1-c2 diagonal: nothing known.
    EXPECT_EQ(probe("8/7Q/8/5K2/8/8/2p5/1k6 w - - 0 1"), endgameUnknown);
}

TEST(Endgame, OppositeBishops) {
    // Our light bishop c2 covers d3 on the path of a d-pawn.
    EXPECT_EQ(probe("7b/8/8/8/3p4/4k3/2B5/6K1 w - - 0 1"), endgameDraw);
}

TEST(Endgame, RookBehindThePawnOnTheSeventh) {
    EXPECT_EQ(probe("R7/6k1/8/8/8/8/p1K5/r7 w - - 0 1"), endgameDraw);
    // Our king too far from the pawn's file.
    EXPECT_EQ(probe("R7/6k1/8/8/8/8/p4K2/r7 w - - 0 1"), endgameUnknown);
}

TEST(Endgame, DepthCap) {
    buscador& searcher = test::testSearcher();
    auto cap = [&](const std::string& fen) {
        searcher.depthCap = 0;
        setDepthCap(searcher, test::positionFromFen(fen));
        return searcher.depthCap;
    };
    EXPECT_EQ(cap("7k/8/8/3K4/8/8/r7/6R1 w - - 0 1"), 6);
    EXPECT_EQ(cap("7k/8/8/3K4/8/8/b7/6N1 w - - 0 1"), 2);
    EXPECT_EQ(cap("7k/8/8/3K4/8/8/8/8 w - - 0 1"), 2);
    EXPECT_EQ(cap("7k/8/8/3K4/8/8/r6P/6R1 w - - 0 1"), 0);
    EXPECT_EQ(cap("7k/8/8/3K4/8/8/r7/5QR1 w - - 0 1"), 0);
}

}  // namespace
}  // namespace zarvi
