#include <gtest/gtest.h>

#include "board/keys.h"
#include "board/makemove.h"
#include "board/posicion.h"
#include "board/tables.h"

namespace zarvi {
namespace {

TEST(Keys, TablesAreGeneratedExactly) {
    EXPECT_EQ(keyTableA[0][11][4], 1051774333u);
    EXPECT_EQ(keyTableB[0][11][4], 19410138u);
    EXPECT_EQ(keyTableC[0][11][4], 298u);
    EXPECT_EQ(sideKey.key1, 518125008u);
    EXPECT_EQ(sideKey.key2, 545278221u);
    EXPECT_EQ(sideKey.key3, 8157u);
    // The last values of the three running sums.
    EXPECT_EQ(keyTableA[1][10][6], 2146240585u);
    EXPECT_EQ(keyTableB[1][88][6], 2146174486u);
    EXPECT_EQ(keyTableC[1][88][6], 32082u);
}

TEST(Keys, Key1AndKey2StayBelowTwoToThe31) {
    for (int side = 0; side < 2; ++side)
        for (int s = 10; s <= 88; ++s)
            for (int slot = 0; slot < 7; ++slot) {
                EXPECT_LT(keyTableA[side][s][slot], 1u << 31);
                EXPECT_LT(keyTableB[side][s][slot], 1u << 31);
            }
}

TEST(Keys, StartPositionAndAfterE4) {
    posicion board;
    posicionador().setStartPosition(board);
    EXPECT_EQ(board.key1, 57002932u);
    EXPECT_EQ(board.key2, 130163336u);
    EXPECT_EQ(board.key3, 6964u);

    makeMove(board, 25, 45, white);
    EXPECT_EQ(board.epSquare, 0);
    EXPECT_EQ(board.key1, 230011856u);
    EXPECT_EQ(board.key2, 916248811u);
    EXPECT_EQ(board.key3, 5125u);
}

TEST(Keys, ToggleSideTwiceRestoresTheKey) {
    posicion board;
    posicionador().setStartPosition(board);
    board.toggleSide();
    EXPECT_EQ(board.key2, 130163336u ^ sideKey.key2);
    board.toggleSide();
    EXPECT_EQ(board.key1, 57002932u);
    EXPECT_EQ(board.key2, 130163336u);
    EXPECT_EQ(board.key3, 6964u);
}

TEST(Keys, TranspositionsShareTheirKey) {
    posicion a, b;
    posicionador().setStartPosition(a);
    posicionador().setStartPosition(b);
    // 1.Nf3 Nf6 2.Nc3 against 1.Nc3 Nf6 2.Nf3.
    makeMove(a, 17, 36, white);
    makeMove(a, 87, 66, black);
    makeMove(a, 12, 33, white);
    makeMove(b, 12, 33, white);
    makeMove(b, 87, 66, black);
    makeMove(b, 17, 36, white);
    EXPECT_EQ(a.key1, b.key1);
    EXPECT_EQ(a.key2, b.key2);
    EXPECT_EQ(a.key3, b.key3);
}

TEST(Keys, KingMoveTogglesBothCastlingKeys) {
    posicion board;
    posicionador().setStartPosition(board);
    makeMove(board, 25, 45, white);
    makeMove(board, 75, 55, black);
    const uint32_t before = board.key2;
    makeMove(board, 15, 25, white);  // Ke2
    const uint32_t expected = before ^ sideKey.key2 ^ keyTableB[white][15][king] ^
                              keyTableB[white][25][king] ^ keyTableB[white][80][0] ^
                              keyTableB[white][80][2];
    EXPECT_EQ(board.key2, expected);
}

}  // namespace
}  // namespace zarvi
