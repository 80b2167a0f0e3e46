#include "game/history.h"
#include "harness.h"
#include "ui/resources/resourceids.h"

namespace zarvi::test {
namespace {

using Endings = WindowTest;

// The one announcement of the test, which must be in English.
void expectAnnouncement(const std::vector<SeenBox>& boxes, const char* text) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, text);
    EXPECT_EQ(boxes[0].title, "end of game");
    EXPECT_EQ(boxes[0].owner, nullptr);
    // System-modal: above every other window.
    EXPECT_TRUE(boxes[0].extendedStyle & WS_EX_TOPMOST);
    EXPECT_EQ(frontEnd.gameOver, 1);
    EXPECT_EQ(frontEnd.engineThinking, 0);
}

TEST_F(Endings, TheUserMatesTheEngine) {
    setPosition("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    playMove(11, 81);  // Ra8#
    expectAnnouncement(boxes, "CheckMate! You Win!!");
    EXPECT_EQ(gameHistory.moveCount, 1);

    // Game over: clicks and switching sides wait.
    clickSquare(17);
    EXPECT_EQ(frontEnd.clickCount, 0);
    command(ID_SWITCH_SIDES);
    EXPECT_EQ(frontEnd.userSide, white);
    EXPECT_EQ(gameHistory.moveCount, 1);

    // Retract takes back only the mating move, and the user is to move.
    command(ID_RETRACT);
    EXPECT_EQ(frontEnd.gameOver, 0);
    EXPECT_EQ(gameHistory.moveCount, 0);
    EXPECT_EQ(pieceOn(11), rook);
    clickSquare(11);
    EXPECT_EQ(frontEnd.clickCount, 1);
}

TEST_F(Endings, TheEngineMatesTheUser) {
    setPosition("4r1k1/5ppp/8/8/8/8/P5PP/7K w - - 0 1");
    playMove(21, 31);  // a3, and Re1#
    expectAnnouncement(boxes, "CheckMATE! This is easy!");
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(pieceOn(15), pieceCode(black, rook));
}

TEST_F(Endings, StalematingTheEngineIsADraw) {
    setPosition("k7/2K5/8/1Q6/8/8/8/8 w - - 0 1");
    playMove(52, 62);  // Qb6
    expectAnnouncement(boxes, "This is a Draw!");
    EXPECT_EQ(gameHistory.moveCount, 1);
}

TEST_F(Endings, TooLittleMaterialIsADraw) {
    setPosition("k7/8/8/8/8/8/1r6/K2N4 w - - 0 1");
    playMove(14, 22);  // Nxb2: a knight alone cannot win
    expectAnnouncement(boxes, "This is a Draw!");
    EXPECT_EQ(gameHistory.moveCount, 1);
}

TEST_F(Endings, AFullHistoryIsADraw) {
    // 998 plies of keys that match no position, then the user's move.
    for (int i = 1; i <= 998; ++i) {
        gameHistory.historyKey1[i] = 0;
        gameHistory.historyKey2[i] = 0;
    }
    gameHistory.moveCount = 998;
    playMove(25, 45);
    expectAnnouncement(boxes, "This is a Draw!");
    EXPECT_EQ(gameHistory.moveCount, 999);
}

TEST_F(Endings, ThirdRepetitionBeforeTheEngineThinks) {
    const Move shuffle[] = {{17, 36}, {87, 66}, {36, 17}, {66, 87}, {17, 36}, {87, 66}, {36, 17}, {66, 87}};
    for (int i = 0; i < 8; ++i) ASSERT_EQ(game().enterUserMove(i % 2, shuffle[i].from, shuffle[i].to), 1);
    playMove(17, 36);  // Nf3 for the third time
    expectAnnouncement(boxes, "Draw because repetition!");
    EXPECT_EQ(gameHistory.moveCount, 9);
}

TEST_F(Endings, FiftyMovesBeforeTheEngineThinks) {
    setPosition("k7/8/8/8/8/8/8/K6R w - - 99 80");
    playMove(18, 28);  // Rh2, the hundredth quiet ply
    expectAnnouncement(boxes, "Draw because the 50th move rule.");
    EXPECT_EQ(gameHistory.moveCount, 1);
}

TEST_F(Endings, TheEngineResignsAfterItsMove) {
    setPosition("7k/8/8/8/8/8/2Q5/KQ6 w - - 0 1");
    playMove(11, 21);  // Ka2, and black, two queens down, has two moves
    expectAnnouncement(boxes, "Okey I give up!");
    EXPECT_EQ(gameHistory.moveCount, 2);
    EXPECT_EQ(game().searcher->resignRequest, 0);
}

TEST_F(Endings, AnnouncementsInSpanish) {
    settings.language = 0;
    reopenWindow();
    setPosition("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    playMove(11, 81);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Jaque Mate! Tu ganas!");
    EXPECT_EQ(boxes[0].title, "fin del juego");
}

}  // namespace
}  // namespace zarvi::test
