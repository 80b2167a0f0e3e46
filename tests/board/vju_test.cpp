#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/vju.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::positionSignature;

int check(const std::string& fen, int from, int to) {
    int side = white;
    posicion board = positionFromFen(fen, &side);
    vju checker;
    return checkUserMove(checker, board, from, to, side);
}

TEST(UserMove, InitialPosition) {
    posicion board;
    posicionador().setStartPosition(board);
    vju checker;
    EXPECT_EQ(checkUserMove(checker, board, 25, 45, white), 1);  // e2-e4
    EXPECT_EQ(checkUserMove(checker, board, 17, 36, white), 1);  // g1-f3
    EXPECT_EQ(checkUserMove(checker, board, 25, 55, white), 0);  // e2-e5
    EXPECT_EQ(checkUserMove(checker, board, 25, 34, white), 0);  // e2-d3
    EXPECT_EQ(checkUserMove(checker, board, 17, 37, white), 0);  // g1-g3
    EXPECT_EQ(checkUserMove(checker, board, 25, 25, white), 0);
    EXPECT_EQ(checkUserMove(checker, board, 45, 55, white), 0);  // nothing on e4
    for (int from = 71; from <= 88; ++from) {
        for (int to = 11; to <= 88; ++to) {
            if (board.squares[from] && board.squares[to] == 0) {
                EXPECT_EQ(checkUserMove(checker, board, from, to, white), 0) << from << ' ' << to;
            }
        }
    }
    EXPECT_EQ(checker.promotion, 0);
    EXPECT_EQ(evasionMode, 1);
}

TEST(UserMove, NoPieceTakesItsOwnSide) {
    int side = white;
    posicion board =
        positionFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", &side);
    vju checker;
    int tried[7] = {};
    for (int from = 11; from <= 88; ++from) {
        const int piece = board.squares[from];
        if (piece == 0 || sideOf(piece) != white) continue;
        for (int to = 11; to <= 88; ++to) {
            if (board.squares[to] == 0 || sideOf(board.squares[to]) != white) continue;
            EXPECT_EQ(checkUserMove(checker, board, from, to, white), 0) << from << ' ' << to;
            ++tried[typeOf(piece)];
        }
    }
    for (int type = pawn; type <= king; ++type) EXPECT_GT(tried[type], 0) << type;
}

TEST(UserMove, PawnSteps) {
    EXPECT_EQ(check("4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1", 25, 45), 0);  // over a piece
    EXPECT_EQ(check("4k3/8/8/8/8/4n3/4P3/4K3 w - - 0 1", 25, 35), 0);  // onto a piece
    EXPECT_EQ(check("4k3/8/8/8/4n3/8/4P3/4K3 w - - 0 1", 25, 45), 0);
    EXPECT_EQ(check("4k3/8/8/8/4n3/8/4P3/4K3 w - - 0 1", 25, 35), 1);
}

TEST(UserMove, PromotionSetsTheFlag) {
    int side = white;
    posicion board = positionFromFen("3n3k/4P3/8/8/8/8/8/4K3 w - - 0 1", &side);
    vju checker;
    EXPECT_EQ(checkUserMove(checker, board, 75, 85, white), 1);
    EXPECT_EQ(checker.promotion, 1);
    checker.promotion = 0;
    EXPECT_EQ(checkUserMove(checker, board, 75, 84, white), 1);  // exd8
    EXPECT_EQ(checker.promotion, 1);

    board = positionFromFen("3nr2k/4P3/8/8/8/8/8/K7 w - - 0 1", &side);
    checker.promotion = 0;
    EXPECT_EQ(checkUserMove(checker, board, 75, 85, white), 0);
    EXPECT_EQ(checker.promotion, 0);
    EXPECT_EQ(checkUserMove(checker, board, 75, 84, white), 1);
    EXPECT_EQ(checker.promotion, 1);

    board = positionFromFen("4k3/8/8/8/8/8/1p6/4K3 b - - 0 1", &side);
    checker.promotion = 0;
    EXPECT_EQ(checkUserMove(checker, board, 22, 12, black), 1);
    EXPECT_EQ(checker.promotion, 1);
}

TEST(UserMove, EnPassantOnlyRightAfterTheDoubleStep) {
    int side = white;
    posicion board = positionFromFen("4k3/3p4/8/4P3/8/8/8/4K3 b - - 0 1", &side);
    vju checker;
    EXPECT_EQ(checkUserMove(checker, board, 55, 64, white), 0);
    makeMove(board, 74, 54, black);
    const std::string before = positionSignature(board);
    EXPECT_EQ(checkUserMove(checker, board, 55, 64, white), 1);
    EXPECT_EQ(checkUserMove(checker, board, 55, 66, white), 0);
    EXPECT_EQ(positionSignature(board), before);
    EXPECT_EQ(evasionMode, 1);
    makeMove(board, 15, 16, white);
    makeMove(board, 85, 86, black);
    EXPECT_EQ(checkUserMove(checker, board, 55, 64, white), 0);
}

TEST(UserMove, ShortCastling) {
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K2R w K - 0 1", 15, 17), 1);
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K2R w - - 0 1", 15, 17), 0);   // no right
    EXPECT_EQ(check("4k3/8/8/8/8/3n4/8/4K2R w K - 0 1", 15, 17), 0);  // in check
    EXPECT_EQ(check("4kr2/8/8/8/8/8/8/4K2R w K - 0 1", 15, 17), 0);   // f1 attacked
    EXPECT_EQ(check("4k1r1/8/8/8/8/8/8/4K2R w K - 0 1", 15, 17), 0);  // g1 attacked
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4KB1R w K - 0 1", 15, 17), 0);   // f1 occupied
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K1NR w K - 0 1", 15, 17), 0);   // g1 occupied
    EXPECT_EQ(check("4k2r/8/8/8/8/8/8/4K3 b k - 0 1", 85, 87), 1);
    EXPECT_EQ(check("4k2r/8/8/8/8/8/8/4K1R1 b k - 0 1", 85, 87), 0);
}

TEST(UserMove, LongCastling) {
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/R3K3 w Q - 0 1", 15, 13), 1);
    EXPECT_EQ(check("3rk3/8/8/8/8/8/8/R3K3 w Q - 0 1", 15, 13), 0);   // d1 attacked
    EXPECT_EQ(check("2r1k3/8/8/8/8/8/8/R3K3 w Q - 0 1", 15, 13), 0);  // c1 attacked
    EXPECT_EQ(check("1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1", 15, 13), 1);  // only b1 attacked
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/RN2K3 w Q - 0 1", 15, 13), 0);   // b1 occupied
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/R1B1K3 w Q - 0 1", 15, 13), 0);  // c1 occupied
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/R2QK3 w Q - 0 1", 15, 13), 0);   // d1 occupied
}

TEST(UserMove, KingSafetyDecidesLast) {
    // A pinned knight, and moves that leave a check standing.
    for (int to : {33, 44, 46, 37, 13, 17})
        EXPECT_EQ(check("4k3/4r3/8/8/8/8/4N3/4K3 w - - 0 1", 25, to), 0) << to;
    EXPECT_EQ(check("4k3/4r3/8/8/8/8/8/R3K3 w - - 0 1", 11, 21), 0);
    EXPECT_EQ(check("4k3/4r3/8/8/8/8/8/R3K3 w - - 0 1", 15, 25), 0);
    EXPECT_EQ(check("4k3/4r3/8/8/8/8/8/R3K3 w - - 0 1", 15, 14), 1);
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K3 w - - 0 1", 15, 35), 0);  // two squares
}

TEST(UserMove, SlidersNeedAClearLineOnTheBoard) {
    EXPECT_EQ(check("4k3/8/8/8/8/8/1P6/B3K3 w - - 0 1", 11, 88), 0);
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/B3K3 w - - 0 1", 11, 88), 1);
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K2B w - - 0 1", 18, 81), 1);
    // Distances that are multiples of 9 or 11 without a diagonal.
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/B3K3 w - - 0 1", 11, 38), 0);  // a1-h3
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/Q3K3 w - - 0 1", 11, 38), 0);
    EXPECT_EQ(check("4k3/8/8/8/8/8/8/4K2B w - - 0 1", 18, 51), 0);  // h1-a5
}

}  // namespace
}  // namespace zarvi
