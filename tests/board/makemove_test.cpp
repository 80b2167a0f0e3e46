#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "board/makemove.h"
#include "board/notation.h"
#include "board/posicion.h"
#include "board/tables.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::positionSignature;
using test::viewsConsistent;

TEST(MakeMove, DoubleStepSetsEnPassantOnlyWhenAPawnCanTake) {
    posicion board;
    posicionador().setStartPosition(board);
    makeMove(board, 25, 45, white);
    EXPECT_EQ(board.epSquare, 0);

    board = positionFromFen("4k3/8/8/8/3p4/8/4P3/4K3 w - - 0 1");
    makeMove(board, 25, 45, white);
    EXPECT_EQ(board.epSquare, 45);
    EXPECT_TRUE(viewsConsistent(board, black));
}

TEST(MakeMove, EnPassantCaptureAndTakeBack) {
    posicion board = positionFromFen("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1");
    makeMove(board, 74, 54, black);
    ASSERT_EQ(board.epSquare, 54);
    const std::string before = positionSignature(board);

    makeMove(board, 55, 64, white);
    EXPECT_EQ(board.squares[54], 0);
    EXPECT_EQ(board.squares[64], pieceCode(white, pawn));
    EXPECT_EQ(board.capturedType, pawn);
    EXPECT_EQ(board.fullCheckTest, 1);
    EXPECT_EQ(board.pawnsOnFile[white][5], 0);
    EXPECT_EQ(board.pawnsOnFile[white][4], 1);
    EXPECT_EQ(board.pawnsOnFile[black][4], 0);
    EXPECT_EQ(board.material[black], 0);
    EXPECT_EQ(board.epSquare, 0);
    EXPECT_TRUE(viewsConsistent(board, black));

    unmakeMove(board, 64, 55, white);
    EXPECT_EQ(positionSignature(board), before);
    EXPECT_EQ(board.squares[54], pieceCode(black, pawn));
    EXPECT_EQ(board.squares[55], pieceCode(white, pawn));
}

TEST(MakeMove, StraightPromotionToQueenAndBack) {
    posicion board = positionFromFen("8/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    const std::string before = positionSignature(board);
    makeMove(board, 75, 13, white);
    EXPECT_EQ(board.squares[85], pieceCode(white, queen));
    EXPECT_EQ(board.squares[75], 0);
    EXPECT_EQ(board.material[white], 2335);
    EXPECT_EQ(board.pieceUnits[white], 10);
    EXPECT_EQ(board.pawnList[white][0], 0);
    EXPECT_EQ(board.queenList[white][0], 1);
    EXPECT_EQ(board.queenList[white][1], 85);
    EXPECT_EQ(board.movedType, queen);
    EXPECT_EQ(board.lastTo, 85);
    EXPECT_TRUE(viewsConsistent(board, black));
    unmakeMove(board, 13, 75, white);
    EXPECT_EQ(positionSignature(board), before);
}

TEST(MakeMove, CapturingPromotions) {
    posicion board = positionFromFen("3r1r2/4P3/8/8/8/8/k7/4K3 w - - 0 1");
    const std::string before = positionSignature(board);

    makeMove(board, 75, 5, white);  // exd8=Q
    EXPECT_EQ(board.squares[84], pieceCode(white, queen));
    EXPECT_EQ(board.capturedType, rook);
    EXPECT_EQ(board.rookList[black][0], 1);
    EXPECT_EQ(board.halfmoveClock, 0);
    EXPECT_TRUE(viewsConsistent(board, black));
    unmakeMove(board, 5, 75, white);
    EXPECT_EQ(positionSignature(board), before);

    makeMove(board, 75, 18, white);  // exf8=N
    EXPECT_EQ(board.squares[86], pieceCode(white, knight));
    EXPECT_EQ(board.knightList[white][1], 86);
    EXPECT_EQ(board.pieceUnits[black], 5);
    EXPECT_TRUE(viewsConsistent(board, black));
    unmakeMove(board, 18, 75, white);
    EXPECT_EQ(positionSignature(board), before);
}

TEST(MakeMove, BlackPromotesDownwards) {
    posicion board = positionFromFen("4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1");
    const std::string before = positionSignature(board);
    makeMove(board, 22, 5, black);  // bxa1=Q, taking the rook and white's long right
    EXPECT_EQ(board.squares[11], pieceCode(black, queen));
    EXPECT_EQ(board.canCastleLong[white], 0);
    EXPECT_TRUE(viewsConsistent(board, white));
    unmakeMove(board, 5, 22, black);
    EXPECT_EQ(positionSignature(board), before);
    EXPECT_EQ(board.canCastleLong[white], 1);
}

TEST(MakeMove, ShortCastling) {
    posicion board = positionFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 5 1");
    const std::string before = positionSignature(board);
    const int slot = undoPly;
    makeMove(board, 15, 17, white);
    EXPECT_EQ(board.squares[17], pieceCode(white, king));
    EXPECT_EQ(board.squares[16], pieceCode(white, rook));
    EXPECT_EQ(board.squares[18], 0);
    EXPECT_EQ(board.kingSquare[white], 17);
    EXPECT_EQ(board.canCastleShort[white], 0);
    EXPECT_EQ(board.canCastleLong[white], 0);
    EXPECT_EQ(board.halfmoveClock, 1);
    EXPECT_EQ(board.lastFrom, 18);
    EXPECT_EQ(board.lastTo, 16);
    EXPECT_EQ(board.movedType, rook);
    EXPECT_EQ(undoPly, slot + 1);  // the rook's slot was given back
    EXPECT_TRUE(viewsConsistent(board, black));
    unmakeMove(board, 17, 15, white);
    EXPECT_EQ(positionSignature(board), before);
}

TEST(MakeMove, LongCastlingForBlack) {
    posicion board = positionFromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    const std::string before = positionSignature(board);
    makeMove(board, 85, 83, black);
    EXPECT_EQ(board.squares[83], pieceCode(black, king));
    EXPECT_EQ(board.squares[84], pieceCode(black, rook));
    EXPECT_EQ(board.squares[81], 0);
    EXPECT_EQ(board.lastFrom, 81);
    EXPECT_EQ(board.lastTo, 84);
    EXPECT_TRUE(viewsConsistent(board, white));
    unmakeMove(board, 83, 85, black);
    EXPECT_EQ(positionSignature(board), before);
}

TEST(MakeMove, RookMovesAndCapturesTakeOnlyTheirOwnRight) {
    posicion board = positionFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    makeMove(board, 11, 21, white);
    EXPECT_EQ(board.canCastleLong[white], 0);
    EXPECT_EQ(board.canCastleShort[white], 1);
    EXPECT_TRUE(viewsConsistent(board, black));

    board = positionFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    const std::string before = positionSignature(board);
    makeMove(board, 18, 88, white);  // Rxh8
    EXPECT_EQ(board.canCastleShort[white], 0);
    EXPECT_EQ(board.canCastleShort[black], 0);
    EXPECT_EQ(board.canCastleLong[black], 1);
    EXPECT_TRUE(viewsConsistent(board, black));
    unmakeMove(board, 88, 18, white);
    EXPECT_EQ(positionSignature(board), before);
    EXPECT_EQ(board.canCastleShort[black], 1);
}

TEST(MakeMove, HalfmoveClock) {
    posicion board = positionFromFen("4k3/8/8/3p4/8/2N5/8/4K3 w - - 7 1");
    makeMove(board, 33, 52, white);  // Nb5
    EXPECT_EQ(board.halfmoveClock, 8);
    makeMove(board, 54, 44, black);  // d4
    EXPECT_EQ(board.halfmoveClock, 0);
    makeMove(board, 15, 16, white);  // Kf1
    makeMove(board, 85, 74, black);  // Kd7
    EXPECT_EQ(board.halfmoveClock, 2);
    makeMove(board, 52, 44, white);  // Nxd4
    EXPECT_EQ(board.halfmoveClock, 0);
}

TEST(MakeMove, ThirtyFiveNestedMovesWrapTheUndoSlot) {
    posicion board;
    posicionador().setStartPosition(board);
    undoPly = 0;
    const int knightDance[4][2] = {{17, 36}, {87, 66}, {36, 17}, {66, 87}};
    for (int i = 0; i < 35; ++i) {
        makeMove(board, knightDance[i % 4][0], knightDance[i % 4][1], i % 2);
        EXPECT_EQ(undoPly, (i + 1) % 35);
    }
    EXPECT_EQ(undoPly, 0);
}

// Games that hold every special move for both colours. After every move the
// incremental views must equal a recomputation, and taking the move back
// must restore the position before it exactly.
struct ScriptedGame {
    const char* fen;
    const char* moves;
};

const ScriptedGame scriptedGames[] = {
    // White takes en passant and castles short, black castles long.
    {startFen,
     "e2e4 d7d5 e4e5 f7f5 e5f6 g8f6 g1f3 c8g4 f1e2 b8c6 e1g1 d8d7 d2d4 e8c8 c2c4 e7e5 d4e5 c6e5 "
     "f3e5 g4e2 d1e2 d7e6 b1c3 f8c5 c1f4 h8e8 a1d1 f6h5 f4e3 c5e3 f2e3 e6e5 c4d5 d8d5 d1d5 e5d5 "
     "f1f5 d5d6 f5h5 d6d2 e2d2 e8e6 h5h7 e6g6 d2d8 c8d8 h7h8 d8e7"},
    // Capturing promotions of both colours on the rooks' corners, then a
    // straight one.
    {startFen,
     "a2a4 h7h5 a4a5 h5h4 a5a6 h4h3 a6b7 h3g2 b7a8q g2h1q a8b8 h1g1 b8c8 g1f2 e1f2 d8c8 h2h4 "
     "h8h6 h4h5 h6c6 d2d4 c6c2 h5h6 c2c1 h6h7 c1d1 h7h8q d1d2 h8g8"},
    // Black takes en passant; white castles long, black short; king walks.
    {startFen,
     "b1c3 e7e5 g1f3 e5e4 d2d4 e4d3 d1d3 g8f6 c1e3 f8e7 e1c1 e8g8 c1b1 f8e8 b1a1 g8h8 d1d2 e8g8 "
     "d2d1"},
    // Under-promotions with and without capture, kings losing both rights.
    {"r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq - 0 1",
     "b7a8q e8e7 g7h8n g2h1q e1d2 b2a1n a8b7 e7f8 b7b8 f8g7 h8f7 g7f7 b8b3 f7g6"},
    // Rook moves and captures, black castles short without its long right.
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1", "a8b8 h1h2 b8b1 e1d2 b1a1 h2h4 a1a2 d2c3 e8g8 h4h1"},
    // Black takes en passant and promotes straight to a rook.
    {"4k3/8/8/8/2p5/8/1P1P4/4K3 w - - 0 1", "b2b4 c4b3 d2d4 b3b2 d4d5 b2b1r e1d2 b1b2 d2e3 e8d7 e3d4 d7d6"},
};

TEST(MakeMove, ScriptedGamesKeepEveryViewExact) {
    for (const ScriptedGame& game : scriptedGames) {
        int side = white;
        posicion board = positionFromFen(game.fen, &side);
        std::istringstream moves(game.moves);
        int ply = 0;
        for (std::string text; moves >> text; ++ply) {
            SCOPED_TRACE(std::string(game.fen) + " ply " + std::to_string(ply) + " " + text);
            int from = 0, to = 0;
            ASSERT_TRUE(parseMoveText(board, side, text, from, to));
            const std::string before = positionSignature(board);
            makeMove(board, from, to, side);
            ASSERT_TRUE(viewsConsistent(board, 1 - side));
            unmakeMove(board, to, from, side);
            ASSERT_EQ(positionSignature(board), before);
            makeMove(board, from, to, side);
            side = 1 - side;
        }
    }
}

}  // namespace
}  // namespace zarvi
