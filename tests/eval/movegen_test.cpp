#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "board/attacks.h"
#include "board/fen.h"
#include "eval/movegen.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::positionFromFen;
using test::sharedSearcher;

using Entry = std::array<int, 3>;  // from, to, kind
using Moves = std::vector<Entry>;

Moves captureList(const posicion& board, int side, int ply = 0) {
    buscador& s = sharedSearcher();
    const int n = generateCaptures(s, board, side, ply);
    Moves moves;
    for (int i = 0; i < n; ++i) moves.push_back({s.captureFrom[ply][i], s.captureTo[ply][i], s.kind[ply][i]});
    return moves;
}

Moves fullList(int n, int ply = 0, bool withKind = true) {
    buscador& s = sharedSearcher();
    Moves moves;
    for (int i = 0; i < n; ++i) moves.push_back({s.fullFrom[ply][i], s.fullTo[ply][i], withKind ? s.kind[ply][i] : 0});
    return moves;
}

Moves quietList(const posicion& board, int side) {
    return fullList(generateQuietMoves(sharedSearcher(), board, side, 0));
}

Moves checkList(const posicion& board, int side) {
    return fullList(generateQuietChecks(sharedSearcher(), board, side, 0));
}

Moves legalList(posicion& board, int side, int mode) {
    evasionMode = mode;
    const int n = generateLegalMoves(sharedSearcher(), board, side, 0);
    evasionMode = 1;
    return fullList(n, 0, false);
}

bool contains(const Moves& moves, int from, int to) {
    for (const Entry& e : moves)
        if (e[0] == from && e[1] == to) return true;
    return false;
}

TEST(Generators, PromotionCodesAndTheirOrder) {
    posicion board = positionFromFen("3r1r2/4P3/8/8/8/8/8/k3K3 w - - 0 1");
    EXPECT_EQ(captureList(board, white),
              (Moves{{75, 13, 1}, {75, 10, 1}, {75, 5, 1}, {75, 2, 1}, {75, 21, 1}, {75, 18, 1}}));

    const Moves legal = legalList(board, white, 0);
    ASSERT_GE(legal.size(), 12u);
    const int codes[12] = {13, 12, 11, 10, 5, 4, 3, 2, 21, 20, 19, 18};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(legal[i][0], 75) << i;
        EXPECT_EQ(legal[i][1], codes[i]) << i;
    }
    EXPECT_EQ(legal.size(), 13u);  // and Ke1-e2: the rooks hold files d and f

    // Black promotes downwards: the lower file is towards a1.
    board = positionFromFen("4k3/8/8/8/8/8/3p4/2N1NK2 b - - 0 1");
    EXPECT_EQ(captureList(board, black),
              (Moves{{24, 13, 1}, {24, 10, 1}, {24, 5, 1}, {24, 2, 1}, {24, 21, 1}, {24, 18, 1}}));
}

TEST(Generators, PawnCapturesAtTheEdgesAndEnPassant) {
    posicion board = positionFromFen("4k3/8/8/1n4n1/P6P/8/8/4K3 w - - 0 1");
    EXPECT_EQ(captureList(board, white), (Moves{{41, 52, 1}, {48, 57, 1}}));

    // Only the pawns beside d5 take en passant, onto d6.
    board = positionFromFen("4k3/8/8/2PpP1P1/8/8/8/4K3 w - d6 0 1");
    ASSERT_EQ(board.epSquare, 54);
    EXPECT_EQ(captureList(board, white), (Moves{{53, 64, 1}, {55, 64, 1}}));
    const Moves legal = legalList(board, white, 0);
    EXPECT_TRUE(contains(legal, 53, 64));
    EXPECT_TRUE(contains(legal, 55, 64));
    EXPECT_FALSE(contains(legal, 57, 68));

    board = positionFromFen("4k3/8/8/8/3pPp2/8/8/4K3 b - e3 0 1");
    EXPECT_EQ(captureList(board, black), (Moves{{44, 35, 1}, {46, 35, 1}}));
}

TEST(Generators, CapturesComeByPieceType) {
    // Each white piece has one victim; the list runs pawns, knights,
    // bishops, rooks, queens, king whatever the board order.
    posicion board = positionFromFen("4k3/8/8/r7/3p4/2pn1bp1/1P1Pq3/R2QKB1N w - - 0 1");
    EXPECT_EQ(captureList(board, white), (Moves{{22, 33, 1},
                                                {24, 33, 1},
                                                {18, 37, 2},
                                                {16, 25, 3},
                                                {11, 51, 4},
                                                {14, 25, 5},
                                                {15, 25, 6}}));
}

TEST(Generators, QuietMovesInOrder) {
    posicion board = positionFromFen("4k3/8/8/8/8/8/4P3/1N2K2R w K - 0 1");
    EXPECT_EQ(quietList(board, white), (Moves{{15, 17, 6},
                                              {12, 33, 2}, {12, 24, 2}, {12, 31, 2},
                                              {18, 28, 4}, {18, 38, 4}, {18, 48, 4}, {18, 58, 4},
                                              {18, 68, 4}, {18, 78, 4}, {18, 88, 4}, {18, 17, 4}, {18, 16, 4},
                                              {25, 35, 1}, {25, 45, 1},
                                              {15, 16, 6}, {15, 26, 6}, {15, 24, 6}, {15, 14, 6}}));
}

TEST(Generators, CastlingTests) {
    // The quiet generator tests only the crossed square; the legal one
    // tests the destination too.
    posicion board = positionFromFen("4k1r1/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(quietList(board, white).front(), (Entry{15, 17, 6}));
    EXPECT_FALSE(contains(legalList(board, white, 0), 15, 17));
    board = positionFromFen("4kr2/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_FALSE(contains(quietList(board, white), 15, 17));

    // Long castling needs b1 empty but not safe.
    board = positionFromFen("1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    EXPECT_TRUE(contains(quietList(board, white), 15, 13));
    EXPECT_TRUE(contains(legalList(board, white, 0), 15, 13));
    board = positionFromFen("2r1k3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    EXPECT_TRUE(contains(quietList(board, white), 15, 13));  // c1 is the legal test's
    EXPECT_FALSE(contains(legalList(board, white, 0), 15, 13));

    // No castling at all in evasion mode.
    board = positionFromFen("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    Moves legal = legalList(board, white, 0);
    EXPECT_TRUE(contains(legal, 15, 17));
    EXPECT_TRUE(contains(legal, 15, 13));
    legal = legalList(board, white, 1);
    EXPECT_FALSE(contains(legal, 15, 17));
    EXPECT_FALSE(contains(legal, 15, 13));
}

TEST(Generators, NoLegalMove) {
    posicion board = positionFromFen("k7/8/1Q6/8/8/8/8/4K3 b - - 0 1");  // stalemate
    EXPECT_EQ(legalList(board, black, 0).size(), 0u);
    board = positionFromFen("k7/1Q6/1K6/8/8/8/8/8 b - - 0 1");  // mate
    EXPECT_EQ(legalList(board, black, 1).size(), 0u);
    evasionMode = 0;
    EXPECT_EQ(collectCaptureGains(sharedSearcher(), board, black), 0);
    evasionMode = 1;
}

TEST(Generators, QuietChecks) {
    // Knight e4 to d6 and f6; rook a1 to a8 (e1 is blocked by the
    // knight); pawns: c6-c7 reaches
    // the seventh rank, g2-g3 attacks the bishop on h4, b2-b4 the knight
    // on c5; f4-f5 would attack g6 but the g6 pawn guards f5.
    posicion board = positionFromFen("4k3/8/2P3p1/2n5/4NP1b/8/1P4P1/R6K w - - 0 1");
    EXPECT_EQ(checkList(board, white), (Moves{{45, 64, 2},
                                              {45, 66, 2},
                                              {11, 81, 4},
                                              {22, 42, 1},
                                              {27, 37, 1},
                                              {63, 73, 1}}));
    // b2-b4 would attack a5, but the a5 pawn guards b4.
    board = positionFromFen("4k3/8/8/p7/8/8/1P6/4K3 w - - 0 1");
    EXPECT_EQ(checkList(board, white), (Moves{}));
    // A blocked line gives no check.
    board = positionFromFen("4k3/4p3/8/8/8/8/8/R6K w - - 0 1");
    EXPECT_EQ(checkList(board, white), (Moves{{11, 81, 4}}));
}

// Far more captures than a capture list holds: the list stops full and the
// next ply's list is left alone.
TEST(Generators, CaptureListStopsAtItsCapacity) {
    // White on the dark squares, black on the light ones: every knight
    // jump and every orthogonal step of a white piece meets a black piece.
    std::vector<int> whiteSet{king}, blackSet;
    whiteSet.insert(whiteSet.end(), 10, knight);
    whiteSet.insert(whiteSet.end(), 9, queen);
    whiteSet.insert(whiteSet.end(), 10, rook);
    blackSet.insert(blackSet.end(), 10, knight);
    blackSet.insert(blackSet.end(), 10, rook);
    blackSet.insert(blackSet.end(), 10, bishop);
    blackSet.push_back(queen);
    blackSet.push_back(king);
    PositionSetup setup{};
    size_t nextWhite = 0, nextBlack = 0;
    for (int s = 11; s <= 88; ++s) {
        if (fileOf(s) < 1 || fileOf(s) > 8) continue;
        if ((rankOf(s) + fileOf(s)) % 2 == 0) {
            if (nextWhite < whiteSet.size()) setup.squares[s] = pieceCode(white, whiteSet[nextWhite++]);
        } else {
            setup.squares[s] = pieceCode(black, blackSet[nextBlack++]);
        }
    }
    posicion board;
    setupPosition(board, setup);
    buscador& s = sharedSearcher();
    for (int ply : {maxPly - 2, maxPly - 1}) {
        const int next = ply + 1;
        if (next < maxPly) {
            for (int i = 0; i < captureListCapacity; ++i) s.captureFrom[next][i] = s.captureTo[next][i] = -7;
            for (int i = 0; i < fullListCapacity; ++i) s.kind[next][i] = -7;
        }
        ASSERT_EQ(generateCaptures(s, board, white, ply), captureListCapacity);
        for (int i = 0; i < captureListCapacity; ++i) {
            EXPECT_EQ(sideOf(board.squares[s.captureTo[ply][i]]), black) << i;
            EXPECT_EQ(s.kind[ply][i], typeOf(board.squares[s.captureFrom[ply][i]])) << i;
        }
        if (next < maxPly) {
            for (int i = 0; i < captureListCapacity; ++i) EXPECT_EQ(s.captureFrom[next][i], -7);
            for (int i = 0; i < fullListCapacity; ++i) EXPECT_EQ(s.kind[next][i], -7);
        }
    }
}

}  // namespace
}  // namespace zarvi
