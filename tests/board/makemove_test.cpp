// Making and taking back moves: every special move for both colours, each
// written back as it was read, checked after it is made against every view
// recomputed, taken back and made again, then taken back in nesting order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/makemove.h"
#include "board/notation.h"
#include "support/positions.h"

namespace zarvi {
namespace {

// after: the FEN after the moves without its move number, or nullptr.
struct MoveCase { const char* fen; const char* moves; const char* after; };

const MoveCase moveCases[] = {
    // En passant kept only where a pawn can take, taken by either colour.
    {"4k3/8/8/8/1p6/8/P6P/4K3 w - - 5 1", "a2a4", "4k3/8/8/8/Pp6/8/7P/4K3 b - a3 0"},
    {"4k3/8/8/8/1p6/8/P6P/4K3 w - - 5 1", "h2h4", "4k3/8/8/8/1p5P/8/P7/4K3 b - - 0"},
    {"4k3/8/8/8/1p6/8/P7/4K3 w - - 5 1", "a2a4 b4a3", "4k3/8/8/8/8/p7/8/4K3 w - - 0"},
    {"4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", "d7d5 e5d6", "4k3/8/3P4/8/8/8/8/4K3 b - - 0"},
    // Promotions straight and capturing, to every piece, for both colours;
    // taking the a1 rook takes white's long right with it.
    {"3r1r2/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7d8q", "3Q1r2/8/8/8/8/8/k7/4K3 b - - 0"},
    {"3r1r2/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7f8n", "3r1N2/8/8/8/8/8/k7/4K3 b - - 0"},
    {"3r1r2/4P3/8/8/8/8/k7/4K3 w - - 0 1", "e7e8r", "3rRr2/8/8/8/8/8/k7/4K3 b - - 0"},
    {"4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1", "b2a1q", "4k3/8/8/8/8/8/8/q3K3 w - - 0"},
    {"4k3/8/8/8/8/8/1p6/R3K3 b Q - 0 1", "b2b1b", "4k3/8/8/8/8/8/8/Rb2K3 w Q - 0"},
    // Castling on all four wings: the clock ends at 1 (the rook's step).
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1g1 e8c8", "2kr3r/8/8/8/8/8/8/R4RK1 w - - 1"},
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "e1c1 e8g8", "r4rk1/8/8/8/8/8/8/2KR3R w - - 1"},
    // A rook move takes its own right, a rook taken on its corner the
    // owner's; a king move both.
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", "a1a2 h8h1", "r3k3/8/8/8/8/8/R7/4K2r w q - 0"},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 3 1", "e8e7", "r6r/4k3/8/8/8/8/8/R3K2R w KQ - 4"},
    // The halfmove clock: quiet piece moves count, pawn moves and captures
    // reset it.
    {"4k3/8/8/3p4/8/2N5/8/4K3 w - - 7 1", "c3b5 d5d4 e1f1 e8d7 b5d4", "8/3k4/8/8/3N4/8/8/5K2 b - - 0"},
    // 35 plies wrap the undo slot back to the first.
    {startFen,
     "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 "
     "g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1",
     "rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 35"},
    // A whole game of under-promotions, kings losing both rights.
    {"r3k2r/1P4P1/8/8/8/8/1p4p1/R3K2R w KQkq - 0 1",
     "b7a8q e8e7 g7h8n g2h1q e1d2 b2a1n a8b7 e7f8 b7b8 f8g7 h8f7 g7f7 b8b3 f7g6", nullptr},
};

TEST(MakeMove, EverySpecialMoveMakesAndTakesBackExactly) {
    for (const MoveCase& c : moveCases) {
        SCOPED_TRACE(std::string(c.fen) + " / " + c.moves);
        int side = white;
        posicion board = test::positionFromFen(c.fen, &side);
        struct Made { int from, to, side; std::string before; };
        std::vector<Made> made;
        board.undoPly = 0;
        std::istringstream moves(c.moves);
        for (std::string text; moves >> text; side = 1 - side) {
            SCOPED_TRACE(text);
            int from = 0, to = 0;
            ASSERT_TRUE(parseMoveText(board, side, text, from, to));
            EXPECT_EQ(moveText(board, from, to), text);
            made.push_back({from, to, side, test::positionSignature(board)});
            makeMove(board, from, to, side);
            ASSERT_TRUE(test::viewsConsistent(board, 1 - side));
            unmakeMove(board, to, from, side);
            ASSERT_EQ(test::positionSignature(board), made.back().before);
            makeMove(board, from, to, side);
        }
        EXPECT_EQ(board.undoPly, int(made.size()) % 35);
        if (c.after) {
            const std::string fen = writeFen(board, FenGame{side, 1});
            EXPECT_EQ(fen.substr(0, fen.rfind(' ')), c.after);
        }
        // Nested take-back of the last 35 moves, as many as have slots.
        for (size_t i = made.size(); i > 0 && i + 35 > made.size(); --i) {
            const Made& m = made[i - 1];
            unmakeMove(board, m.to, m.from, m.side);
            ASSERT_EQ(test::positionSignature(board), m.before) << "taking back move " << i;
        }
    }
}

}  // namespace
}  // namespace zarvi
