// A position's own tests: the hash-key figures the opening book depends
// on, and FEN read, written back and refused without a trace when
// malformed. The attack, legality and check tests are cross-checked at
// every node of the move trees in tests/eval/moves_test.cpp.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "board/fen.h"
#include "board/makemove.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using Words = std::array<uint32_t, 3>;

// Two positions' keys pin the generated tables where the book meets them:
// the pieces, the castling rights and the side to move.
TEST(Keys, KnownPositions) {
    posicion board;
    posicionador().setStartPosition(board);
    EXPECT_EQ((Words{board.key1, board.key2, board.key3}), (Words{57002932u, 130163336u, 6964u}));
    makeMove(board, 25, 45, white);  // e2-e4: no en-passant key, no black pawn can take
    EXPECT_EQ((Words{board.key1, board.key2, board.key3}), (Words{230011856u, 916248811u, 5125u}));
}

TEST(Fen, ReadsWritesAndRoundTrips) {
    // Each FEN written back as read ("" for the same), but the en-passant
    // square kept only where a pawn can take, and missing counters 0 and 1.
    const char* const fens[][2] = {
        {startFen, ""},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", ""},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1", ""},
        {"r3k3/8/8/8/8/8/8/4K2R b Kq - 37 80", ""},
        {"4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1", "4k3/8/8/8/4P3/8/8/4K3 b - - 0 1"},
        {"4k3/8/8/8/3pP3/8/8/4K3 b - e3", "4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 1"},
    };
    for (const auto& [fen, written] : fens) {
        posicion board;
        FenGame game{};
        ASSERT_EQ(readFen(board, fen, game), "") << fen;
        EXPECT_EQ(writeFen(board, game), *written ? written : fen);
        EXPECT_TRUE(test::viewsConsistent(board, game.sideToMove)) << fen;
    }
}

TEST(Fen, MalformedInputIsRefusedAndChangesNothing) {
    const std::string board = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR";
    const std::string bad[] = {
        "", board + " w KQkq - 0", board + " w KQkq - 0 1 extra", board + " x KQkq - 0 1", board + " w KQkq e9 0 1",
        board + " w KQkq e3 0 1", board + " w KQkq - -1 1", board + " w KQkq - 99999999999 1",
        "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1",
        "rnbq1bnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQ - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBKKBNR w kq - 0 1",
        "pnbqkbnr/1ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQk - 0 1",
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNP w kq - 0 1",
        "4k3/8/8/8/8/8/8/4K2R w KQ - 0 1",
        "4k3/8/8/8/8/8/4R3/4K3 w - - 0 1",  // black, not to move, in check
        "QQQQk3/QQQQ4/Q7/8/8/8/8/4K3 w - - 0 1",
    };
    posicion position;
    posicionador().setStartPosition(position);
    const std::string before = test::positionSignature(position);
    for (const std::string& fen : bad) {
        FenGame game{7, 7};
        EXPECT_NE(readFen(position, fen, game), "") << "accepted: " << fen;
        EXPECT_EQ(test::positionSignature(position), before) << fen;
        EXPECT_EQ(game.sideToMove, 7);
    }
}

}  // namespace
}  // namespace zarvi
