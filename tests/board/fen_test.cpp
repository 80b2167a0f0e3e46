#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/notation.h"
#include "board/posicion.h"
#include "support/positions.h"

namespace zarvi {
namespace {

TEST(Fen, StartPositionMatchesTheSetUpOne) {
    posicion fromFen = test::positionFromFen(startFen);
    posicion start;
    posicionador().setStartPosition(start);
    EXPECT_EQ(test::positionSignature(fromFen), test::positionSignature(start));
}

TEST(Fen, RoundTrips) {
    const char* fens[] = {
        startFen,
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1",
        "r3k3/8/8/8/8/8/8/4K2R b Kq - 37 80",
    };
    for (const char* fen : fens) {
        posicion board;
        FenGame game{};
        ASSERT_EQ(readFen(board, fen, game), "") << fen;
        EXPECT_EQ(writeFen(board, game), fen);
        EXPECT_TRUE(test::viewsConsistent(board, game.sideToMove)) << fen;
    }
}

TEST(Fen, EnPassantSquareOnlyWhenAPawnCanTake) {
    posicion board;
    FenGame game{};
    ASSERT_EQ(readFen(board, "4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1", game), "");
    EXPECT_EQ(board.epSquare, 0);
    ASSERT_EQ(readFen(board, "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", game), "");
    EXPECT_EQ(board.epSquare, 45);
}

TEST(Fen, MissingCountersDefault) {
    posicion board;
    FenGame game{};
    ASSERT_EQ(readFen(board, "4k3/8/8/8/8/8/8/4K3 b - -", game), "");
    EXPECT_EQ(game.sideToMove, black);
    EXPECT_EQ(game.fullmoveNumber, 1);
    EXPECT_EQ(board.halfmoveClock, 0);
}

TEST(Fen, MalformedInputIsRefusedAndChangesNothing) {
    const char* bad[] = {
        "",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1 extra",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNX w KQkq - 0 1",
        "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR/8 w KQkq - 0 1",
        "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",
        "pnbqkbnr/1ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQk - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNP w kq - 0 1",
        "4k3/8/8/8/8/8/8/4K2R w KQ - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkqK - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e9 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq e3 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - -1 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 0",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 99999999999 1",
        "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1",  // black, not to move, in check
        "QQQQk3/QQQQ4/Q7/8/8/8/8/4K3 w - - 0 1",
    };
    posicion board;
    posicionador().setStartPosition(board);
    const std::string before = test::positionSignature(board);
    for (const char* fen : bad) {
        FenGame game{7, 7};
        const std::string error = readFen(board, fen, game);
        EXPECT_NE(error, "") << "accepted: " << fen;
        EXPECT_EQ(test::positionSignature(board), before) << fen;
        EXPECT_EQ(game.sideToMove, 7);
    }
}

TEST(Notation, MovesAndPromotionsAsText) {
    int side = 0;
    posicion board = test::positionFromFen("3r4/4P3/8/8/8/8/k5p1/4K2R w K - 0 1", &side);
    int from = 0, to = 0;
    ASSERT_TRUE(parseMoveText(board, white, "e7e8q", from, to));
    EXPECT_EQ(from, 75);
    EXPECT_EQ(to, 13);
    EXPECT_EQ(moveText(board, from, to), "e7e8q");
    ASSERT_TRUE(parseMoveText(board, white, "e7d8n", from, to));
    EXPECT_EQ(to, 2);
    ASSERT_TRUE(parseMoveText(board, black, "g2h1r", from, to));
    EXPECT_EQ(to, 20);
    EXPECT_EQ(moveText(board, from, to), "g2h1r");
    ASSERT_TRUE(parseMoveText(board, white, "e1g1", from, to));
    EXPECT_EQ(to, 17);

    EXPECT_FALSE(parseMoveText(board, white, "e7e8", from, to));   // no piece letter
    EXPECT_FALSE(parseMoveText(board, white, "e1f1q", from, to));  // letter on a king move
    EXPECT_FALSE(parseMoveText(board, white, "e7c8q", from, to));  // not a pawn step
    EXPECT_FALSE(parseMoveText(board, white, "e7e8k", from, to));
    EXPECT_FALSE(parseMoveText(board, white, "a2a3", from, to));   // no piece there
    EXPECT_FALSE(parseMoveText(board, white, "g2g1q", from, to));  // not white's pawn
    EXPECT_FALSE(parseMoveText(board, white, "i2a3", from, to));
    EXPECT_FALSE(parseMoveText(board, white, "e1", from, to));
}

}  // namespace
}  // namespace zarvi
