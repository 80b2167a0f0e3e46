#include "game/history.h"
#include "harness.h"

namespace zarvi::test {
namespace {

using BoardClicks = WindowTest;

constexpr int boardEdge = 8 * squareSize;

// White rooks on a8 and h1, the two corner cells.
constexpr const char* cornerRooks = "R7/8/8/8/8/2k5/8/6KR w - - 0 1";

TEST_F(BoardClicks, CornerPixelsAreA8AndH1) {
    setPosition(cornerRooks);
    click(0, 0);
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.showSelection, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 81);
    EXPECT_EQ(frontEnd.selectionX, 0);
    EXPECT_EQ(frontEnd.selectionY, 0);
    // Another own piece takes the selection over.
    click(boardEdge - 1, boardEdge - 1);
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 18);
    EXPECT_EQ(frontEnd.selectionX, 420);
    EXPECT_EQ(frontEnd.selectionY, 420);
    EXPECT_EQ(gameHistory.moveCount, 0);
}

TEST_F(BoardClicks, OnATurnedBoardTheCornersSwap) {
    setPosition(cornerRooks);
    frontEnd.boardFlipped = 1;
    click(0, 0);
    EXPECT_EQ(frontEnd.selectedSquare, 18);
    // The frame goes where the click was, not where h1 would be unturned.
    EXPECT_EQ(frontEnd.selectionX, 0);
    EXPECT_EQ(frontEnd.selectionY, 0);
    click(boardEdge - 1, boardEdge - 1);
    EXPECT_EQ(frontEnd.selectedSquare, 81);
    EXPECT_EQ(frontEnd.selectionX, 420);
    EXPECT_EQ(frontEnd.selectionY, 420);
    // g1 is the second cell of the top row.
    click(60 + 59, 0);
    EXPECT_EQ(frontEnd.selectedSquare, 17);
}

TEST_F(BoardClicks, ClicksBesideTheBoardAreIgnored) {
    const int outside[][2] = {{boardEdge, 10}, {10, boardEdge}, {boardEdge, boardEdge}, {0xFFFF, 0xFFFF}};
    for (const auto& p : outside) click(p[0], p[1]);
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);

    clickSquare(25);  // e2
    for (const auto& p : outside) click(p[0], p[1]);
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.showSelection, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 25);
    EXPECT_EQ(gameHistory.moveCount, 0);
}

TEST_F(BoardClicks, AFirstClickSelectsOnlyAnOwnPiece) {
    clickSquare(45);  // e4, empty
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    clickSquare(75);  // e7, a black pawn
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    clickSquare(25);
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 25);
}

TEST_F(BoardClicks, TheSelectionMovesToAnotherOwnPiece) {
    clickSquare(25);
    clickSquare(24);  // d2
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 24);
    EXPECT_EQ(frontEnd.selectionX, 3 * squareSize);
    EXPECT_EQ(frontEnd.selectionY, 6 * squareSize);
    clickSquare(24);  // the same piece again keeps it
    EXPECT_EQ(frontEnd.clickCount, 1);
    EXPECT_EQ(frontEnd.selectedSquare, 24);
    EXPECT_EQ(gameHistory.moveCount, 0);
}

TEST_F(BoardClicks, AnIllegalMoveClearsTheSelection) {
    playMove(25, 55);  // e2-e5
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    EXPECT_EQ(gameHistory.moveCount, 0);
    EXPECT_EQ(pieceOn(25), pawn);
    EXPECT_EQ(pieceOn(55), 0);
    EXPECT_TRUE(boxes.empty());
    // The next click is a first click again.
    clickSquare(75);
    EXPECT_EQ(frontEnd.clickCount, 0);
}

TEST_F(BoardClicks, ALegalMoveIsAnsweredByTheEngine) {
    playMove(25, 45);  // e2-e4
    ASSERT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(gameHistory.historyMoves[1], (Move{25, 45}));
    EXPECT_EQ(pieceOn(45), pawn);
    EXPECT_EQ(pieceOn(25), 0);
    const Move reply = gameHistory.historyMoves[2];
    EXPECT_EQ(sideOf(pieceOn(reply.to)), black);
    EXPECT_NE(pieceOn(reply.to), 0);
    EXPECT_EQ(pieceOn(reply.from), 0);
    EXPECT_EQ(frontEnd.clickCount, 0);
    EXPECT_EQ(frontEnd.showSelection, 0);
    EXPECT_EQ(frontEnd.engineThinking, 0);
    EXPECT_EQ(frontEnd.gameOver, 0);
    EXPECT_TRUE(boxes.empty());
    // The user plays on: no first black move can stop d2-d4.
    playMove(24, 44);
    EXPECT_EQ(gameHistory.moveCount, 4);
}

TEST_F(BoardClicks, APawnOnTheLastRankBecomesAQueen) {
    setPosition("8/4P3/8/8/8/2k5/8/K7 w - - 0 1");
    playMove(75, 85);  // e7-e8
    ASSERT_GE(gameHistory.moveCount, 1);
    EXPECT_EQ(gameHistory.historyMoves[1], (Move{75, 8 + queen}));
    EXPECT_EQ(pieceOn(85), queen);
    EXPECT_EQ(pieceOn(75), 0);
    EXPECT_EQ(game().promotionPending, 0);
    EXPECT_EQ(gameHistory.moveCount, 2);
}

TEST_F(BoardClicks, ACapturingPromotionBecomesAQueen) {
    setPosition("3r4/4P3/8/8/8/2k5/8/K7 w - - 0 1");
    playMove(75, 84);  // e7xd8
    ASSERT_GE(gameHistory.moveCount, 1);
    EXPECT_EQ(gameHistory.historyMoves[1], (Move{75, queen}));
    EXPECT_EQ(pieceOn(84), queen);
}

}  // namespace
}  // namespace zarvi::test
