#include <gtest/gtest.h>

#include <vector>

#include "board/attacks.h"
#include "eval/capturegain.h"
#include "eval/movegen.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::sharedSearcher;

TEST(CaptureGain, PiecesPayWhenTheVictimIsDefended) {
    posicion board = positionFromFen("4k3/8/8/3r4/8/4N3/8/4K3 w - - 0 1");
    EXPECT_EQ(knightCaptureGain(board, 54, white), 1250);
    board = positionFromFen("4k3/8/4p3/3r4/8/4N3/8/4K3 w - - 0 1");
    EXPECT_EQ(knightCaptureGain(board, 54, white), 452);
    board = positionFromFen("8/8/4k3/3r4/8/4N3/8/4K3 w - - 0 1");  // the king defends too
    EXPECT_EQ(knightCaptureGain(board, 54, white), 452);

    board = positionFromFen("4k3/8/4p3/3p4/8/8/8/3QK3 w - - 0 1");
    EXPECT_EQ(queenCaptureGain(board, 54, white), -2110);
    board = positionFromFen("4k3/8/4p3/3n4/8/8/8/3RK3 w - - 0 1");
    EXPECT_EQ(rookCaptureGain(board, 54, white), 798 - 1250);
    board = positionFromFen("4k3/8/8/3q4/8/8/B7/4K3 w - - 0 1");
    EXPECT_EQ(bishopCaptureGain(board, 54, white), 2335);

    // Black captures upwards; white pieces defend.
    board = positionFromFen("4k3/8/8/8/3N4/1n6/2P5/4K3 b - - 0 1");
    EXPECT_EQ(knightCaptureGain(board, 44, black), 798);  // the c2 pawn guards b3 and d3
    board = positionFromFen("4k3/8/8/8/3N4/1nP5/8/4K3 b - - 0 1");
    EXPECT_EQ(knightCaptureGain(board, 44, black), 0);    // the c3 pawn guards d4
}

TEST(CaptureGain, PawnCapturesAndEnPassant) {
    posicion board = positionFromFen("4k3/8/4p3/3r4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 45, 54, white), 1250 - 225);
    board = positionFromFen("4k3/8/8/3r4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 45, 54, white), 1250);

    board = positionFromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(pawnMoveGain(board, 55, 64, white), 225);
    board = positionFromFen("8/4k3/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(pawnMoveGain(board, 55, 64, white), 0);
    board = positionFromFen("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1");
    EXPECT_EQ(pawnMoveGain(board, 44, 35, black), 225);
}

TEST(CaptureGain, Promotions) {
    posicion board = positionFromFen("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(1, queen), white), 2110);
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(1, rook), white), 1025);
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(1, bishop), white), 610);
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(1, knight), white), 573);

    board = positionFromFen("4k3/1P1n4/8/8/8/8/8/4K3 w - - 0 1");  // d7 guards b8
    for (int type = knight; type <= queen; ++type)
        EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(1, type), white), -225) << type;

    board = positionFromFen("r3k3/1Pn5/8/8/8/8/8/4K3 w - - 0 1");  // c7 guards a8
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(0, queen), white), 1025);
    board = positionFromFen("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 72, promotionCode(0, queen), white), 1250 + 2110);

    board = positionFromFen("4k3/8/8/8/8/8/6p1/4K2R b - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 27, promotionCode(2, queen), black), 1250 + 2110);
    board = positionFromFen("4k3/8/8/8/8/8/6p1/6KR b - - 0 1");
    EXPECT_EQ(pawnMoveGain(board, 27, promotionCode(2, queen), black), 1025);
}

std::vector<int> gains(posicion& board, int side) {
    buscador& s = sharedSearcher();
    evasionMode = 0;
    const int n = collectCaptureGains(s, board, side);
    evasionMode = 1;
    return std::vector<int>(s.captureGains, s.captureGains + n);
}

TEST(CaptureGain, CollectedKnightsFirstThenPawnsAndTheKing) {
    // Nxd5 1250, Nxg4 (guarded by the f2 knight) 37, cxd5 1250, Kxf2 798.
    posicion board = positionFromFen("4k3/8/8/3r4/2P3b1/4N3/5n2/4K3 w - - 0 1");
    EXPECT_EQ(gains(board, white), (std::vector<int>{1250, 835 - 798, 1250, 798}));

    // Legal captures only: the pinned knight takes nothing.
    board = positionFromFen("4k3/4r3/8/3p4/8/4N3/8/4K3 w - - 0 1");
    EXPECT_EQ(gains(board, white), (std::vector<int>{}));

    // Each promotion counts four times; en passant by the pawn rule.
    board = positionFromFen("4k3/1P6/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_EQ(gains(board, white), (std::vector<int>{225, 2110, 1025, 610, 573}));
}

}  // namespace
}  // namespace zarvi
