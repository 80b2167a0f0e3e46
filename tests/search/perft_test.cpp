#include <gtest/gtest.h>

#include <cstdint>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "search/perft.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::positionSignature;
using test::sharedSearcher;

struct PerftCase {
    const char* fen;
    int depth;
    uint64_t leaves;
};

uint64_t perftOf(const char* fen, int depth) {
    int side = white;
    posicion board = positionFromFen(fen, &side);
    const std::string before = positionSignature(board);
    const uint64_t leaves = perft(sharedSearcher(), board, side, depth);
    EXPECT_EQ(positionSignature(board), before) << fen;
    if (depth > 0) {
        EXPECT_EQ(evasionMode, 1);  // as the search below a root expects
    }
    return leaves;
}

void expectCounts(const PerftCase* cases, size_t n) {
    for (size_t i = 0; i < n; ++i) EXPECT_EQ(perftOf(cases[i].fen, cases[i].depth), cases[i].leaves) << cases[i].fen;
}

constexpr const char* kiwipete = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

TEST(Perft, StartPosition) {
    const PerftCase cases[] = {
        {startFen, 0, 1}, {startFen, 1, 20}, {startFen, 2, 400}, {startFen, 3, 8902}, {startFen, 4, 197281},
        {startFen, 5, 4865609},
    };
    expectCounts(cases, std::size(cases));
}

TEST(Perft, CastlingPinsAndPromotionsInTheMiddlegame) {
    const PerftCase cases[] = {
        {kiwipete, 1, 48}, {kiwipete, 2, 2039}, {kiwipete, 3, 97862}, {kiwipete, 4, 4085603},
    };
    expectCounts(cases, std::size(cases));
}

TEST(Perft, StandardPositions) {
    const PerftCase cases[] = {
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, 674624},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 4, 422333},
        {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 4, 422333},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 4, 2103487},
    };
    expectCounts(cases, std::size(cases));
}

// Small positions, each built around one rule that perft trees get wrong.
TEST(Perft, RuleCorners) {
    const PerftCase cases[] = {
        {"3k4/3p4/8/K1P4r/8/8/8/8 b - - 0 1", 6, 1134888},          // illegal en passant
        {"8/8/4k3/8/2p5/8/B2P2K1/8 w - - 0 1", 6, 1015133},         // illegal en passant
        {"8/8/1k6/2b5/2pP4/8/5K2/8 b - d3 0 1", 6, 1440467},        // en passant gives check
        {"5k2/8/8/8/8/8/8/4K2R w K - 0 1", 6, 661072},              // castling gives check
        {"3k4/8/8/8/8/8/8/R3K3 w Q - 0 1", 6, 803711},              // long castling gives check
        {"r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", 4, 1274206},   // castling rights
        {"r3k2r/8/3Q4/8/8/5q2/8/R3K2R b KQkq - 0 1", 4, 1720476},   // castling prevented
        {"2K2r2/4P3/8/8/8/8/8/3k4 w - - 0 1", 6, 3821001},          // promotion out of check
        {"8/8/1P2K3/8/2n5/1q6/8/5k2 b - - 0 1", 5, 1004658},        // discovered check
        {"4k3/1P6/8/8/8/8/K7/8 w - - 0 1", 6, 217342},              // promotion gives check
        {"8/P1k5/K7/8/8/8/8/8 w - - 0 1", 6, 92683},                // under-promotion gives check
        {"K1k5/8/P7/8/8/8/8/8 w - - 0 1", 6, 2217},                 // self stalemate
        {"8/k1P5/8/1K6/8/8/8/8 w - - 0 1", 7, 567584},              // stalemate and mate
        {"8/8/2k5/5q2/5n2/8/5K2/8 b - - 0 1", 4, 23527},            // stalemate and mate
    };
    expectCounts(cases, std::size(cases));
}

TEST(Perft, DivideSplitsTheCountByRootMove) {
    int side = white;
    posicion board = positionFromFen(kiwipete, &side);
    static uint64_t leaves[fullListCapacity];
    buscador& s = sharedSearcher();
    const int n = perftDivide(s, board, side, 3, leaves);
    ASSERT_EQ(n, 48);
    uint64_t total = 0;
    for (int i = 0; i < n; ++i) total += leaves[i];
    EXPECT_EQ(total, 97862u);
    // Each share is the count of the position after that move.
    const int from[3] = {s.fullFrom[0][0], s.fullFrom[0][n / 2], s.fullFrom[0][n - 1]};
    const int to[3] = {s.fullTo[0][0], s.fullTo[0][n / 2], s.fullTo[0][n - 1]};
    const uint64_t share[3] = {leaves[0], leaves[n / 2], leaves[n - 1]};
    for (int i = 0; i < 3; ++i) {
        makeMove(board, from[i], to[i], side);
        EXPECT_EQ(perft(s, board, 1 - side, 2), share[i]);
        board = positionFromFen(kiwipete, &side);
    }
    EXPECT_EQ(perftDivide(s, board, side, 1, leaves), 48);
    EXPECT_EQ(leaves[47], 1u);
}

}  // namespace
}  // namespace zarvi
