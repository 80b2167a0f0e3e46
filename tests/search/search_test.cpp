#include <gtest/gtest.h>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "eval/evaluate.h"
#include "eval/material.h"
#include "eval/movegen.h"
#include "game/history.h"
#include "search/search.h"
#include "support/engine.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using SearchTest = test::EngineTest;

TEST_F(SearchTest, MateInOneIsFoundAndAnnounced) {
    const int side = setPosition("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().result.status, 1);
    EXPECT_EQ(searcher().result.from, 11);
    EXPECT_EQ(searcher().result.to, 81);
    EXPECT_EQ(searcher().bestScore, mateScore - 1);
    EXPECT_EQ(searcher().mateMode, 0);
}

// The engine plays out a mate found deeper than one move against any
// defence, announcing it only with the last move.
void playOutMate(cable& game, int movesToMate) {
    buscador& searcher = *game.searcher;
    for (int move = 1; move <= movesToMate; ++move) {
        SCOPED_TRACE("engine move " + std::to_string(move));
        game.computerMove(white);
        if (move == 1) {
            EXPECT_EQ(searcher.mateMode, 1);
            EXPECT_EQ(searcher.expectedMatePly, 2 * movesToMate - 1);
        }
        if (move < movesToMate) {
            ASSERT_EQ(game.result->status, 0);
            // Black answers with its first legal move.
            ASSERT_GT(listLegalMoves(searcher, game.board, black, 0), 0);
            ASSERT_EQ(game.enterUserMove(black, searcher.fullFrom[0][0], searcher.fullTo[0][0]), 1);
        }
    }
    EXPECT_EQ(game.result->status, 1);
    evasionMode = 1;
    EXPECT_EQ(generateLegalMoves(searcher, game.board, black, 0), 0);
    EXPECT_NE(isAttacked(game.board, game.board.kingSquare[black], white), 0);
}

TEST_F(SearchTest, MateInTwoIsPlayedOut) {
    setPosition("7k/8/5K2/8/8/8/8/6R1 w - - 0 1");
    setDepthLimit(6);
    playOutMate(*game, 2);
}

// Kf7 mates in two. An earlier game left the searcher's path holding its
// reverse as the move before the last; a game set up from a FEN without
// moves must not take Kf7 for the repetition of a move never played.
TEST_F(SearchTest, AGameWithoutMovesIgnoresTheLastGamesPath) {
    const int side = setPosition("7k/8/5K2/8/8/8/8/6R1 w - - 10 60");
    searcher().path[1] = {76, 66};
    searchAtDepth(side, 5);
    EXPECT_EQ(searcher().result.from, 66);
    EXPECT_EQ(searcher().result.to, 76);
    EXPECT_EQ(searcher().mateMode, 1);
    EXPECT_EQ(searcher().expectedMatePly, 3);
}

TEST_F(SearchTest, MateInThreeIsPlayedOut) {
    setPosition("7k/8/8/5K2/8/8/8/6R1 w - - 0 1");
    setDepthLimit(8);
    playOutMate(*game, 3);
}

TEST_F(SearchTest, MatedOrStalematedEngineMakesNoMove) {
    searcher().result = {33, 44, 0};
    int side = setPosition("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().result.status, -1);
    EXPECT_EQ(searcher().result.from, 33);  // not written
    EXPECT_EQ(searcher().result.to, 44);

    side = setPosition("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().result.status, 2);
    EXPECT_EQ(searcher().result.from, 0);
    EXPECT_EQ(searcher().result.to, 0);
}

TEST_F(SearchTest, SingleReplyComesBackWithoutSearch) {
    const int side = setPosition("7k/8/6K1/8/8/8/8/6R1 b - - 0 1");
    searchAtDepth(side, 6);
    EXPECT_EQ(searcher().result.status, 0);
    EXPECT_EQ(searcher().result.from, 88);
    EXPECT_EQ(searcher().result.to, 87);
    EXPECT_EQ(nodeCount, 0);
}

TEST_F(SearchTest, KingAndMinorAgainstKingIsADrawAtOnce) {
    searcher().result = {33, 44, 0};
    const int side = setPosition("8/8/4k3/8/8/2N5/8/4K3 w - - 0 1");
    searchAtDepth(side, 6);
    EXPECT_EQ(searcher().result.status, 2);
    EXPECT_EQ(searcher().result.from, 33);
    EXPECT_EQ(nodeCount, 0);
}

TEST_F(SearchTest, ResignsOnlyBelowTheThreshold) {
    // White has a rook against a queen: its best score is well below zero.
    const int side = setPosition("4k3/3q4/8/8/8/8/8/R3K3 w - - 0 1");
    settings.canResign = 1;
    settings.resignThreshold = -30000;
    searchAtDepth(side, 4);
    const int score = searcher().bestScore;
    ASSERT_LT(score, -500);

    settings.resignThreshold = score + 1;
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().bestScore, score);
    EXPECT_EQ(searcher().resignRequest, 1);
    EXPECT_NE(searcher().result.from, 0);  // the move is still delivered

    settings.resignThreshold = score;
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().resignRequest, 0);

    settings.canResign = 0;
    settings.resignThreshold = score + 1;
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().resignRequest, 0);
}

TEST_F(SearchTest, FiftyMoveRuleInsideTheSearch) {
    // A rook up, but every move reaches the hundredth half-move.
    int side = setPosition("8/8/8/4k3/8/8/8/R3K3 w - - 99 80");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().bestScore, 0);
    side = setPosition("8/8/8/4k3/8/8/8/R3K3 w - - 0 80");
    searchAtDepth(side, 4);
    EXPECT_GT(searcher().bestScore, 1000);
    // Mate comes first.
    side = setPosition("6k1/5ppp/8/8/8/8/8/R5K1 w - - 99 80");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().result.status, 1);
}

TEST_F(SearchTest, KnownDrawnEndingsScoreZero) {
    // Two knights cannot force mate.
    const int side = setPosition("8/8/4k3/8/8/2NN4/8/4K3 w - - 0 1");
    searchAtDepth(side, 4);
    EXPECT_EQ(searcher().bestScore, 0);
}

TEST_F(SearchTest, RepetitionOfAGamePositionIsADraw) {
    // The node after 1.Nf3 Nf6 2.Ng1 Ng8 3.Nf3 stood in the game four plies
    // earlier, with no irreversible move since.
    game->newGame();
    const int moves[4][2] = {{17, 36}, {87, 66}, {36, 17}, {66, 87}};
    for (int i = 0; i < 4; ++i) ASSERT_EQ(game->enterUserMove(i % 2, moves[i][0], moves[i][1]), 1);
    posicion& board = game->board;
    // A fail-hard node answers within its window (1, 2) unless a rule fixes
    // the score: the repetition makes it exactly 0.
    makeMove(board, 17, 36, white);
    EXPECT_EQ(searchNode(searcher(), board, black, 1, 4, 2, 1, 0), 0);
    unmakeMove(board, 36, 17, white);
    gameHistory.historyKey1[1] = 0;
    makeMove(board, 17, 36, white);
    EXPECT_GE(searchNode(searcher(), board, black, 1, 4, 2, 1, 0), 1);
    unmakeMove(board, 36, 17, white);
}

TEST_F(SearchTest, TrivialEndingsCapTheDepth) {
    settings.levelSeconds = 125;
    int side = setPosition("8/8/2k5/8/8/2r5/5R2/4K3 w - - 0 1");
    setDepthLimit(0);
    resetSearch(searcher());
    startSearch(searcher(), game->board, side);
    EXPECT_EQ(searcher().depthCap, 6);
    EXPECT_EQ(searcher().iterationDepth, 6);

    side = setPosition("8/8/2k5/8/3b4/8/5N2/4K3 w - - 0 1");
    resetSearch(searcher());
    startSearch(searcher(), game->board, side);
    EXPECT_EQ(searcher().depthCap, 2);
    EXPECT_EQ(searcher().iterationDepth, 2);
}

int staticScore(const posicion& board, int side) {
    prepareEvaluation(board, side);
    return materialEstimate(board, side) + evaluateSide(board, side) - evaluateSide(board, 1 - side);
}

TEST_F(SearchTest, QuiescenceReturnsAtLeastTheStandPat) {
    posicion& board = game->board;
    // No capture at the depth limit: the static score, even below alpha.
    setPosition("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    const int standPat = staticScore(board, white);
    const int m = materialEstimate(board, white);
    EXPECT_EQ(quiescence(searcher(), board, white, 3, 3, 30000, standPat + 500, 0, m), standPat);
    // With captures, never below the stand pat.
    setPosition("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    const int withCapture = quiescence(searcher(), board, white, 3, 3, 30000, -30000, 0, materialEstimate(board, white));
    EXPECT_GE(withCapture, staticScore(board, white));
}

TEST_F(SearchTest, HorizonLeafAddsTheBestCaptureGain) {
    posicion& board = game->board;
    // A free rook: the leaf adds its whole value without searching.
    setPosition("4k3/8/8/3r4/8/2N5/8/4K3 w - - 0 1");
    const int m = materialEstimate(board, white);
    const int64_t nodesBefore = nodeCount;
    EXPECT_EQ(horizonLeaf(searcher(), board, white, 30000, m), staticScore(board, white) + 1250);
    EXPECT_EQ(nodeCount, nodesBefore);
    // Nothing to take: the static score alone.
    setPosition("4k3/8/8/8/8/2N5/8/4K3 w - - 0 1");
    EXPECT_EQ(horizonLeaf(searcher(), board, white, 30000, materialEstimate(board, white)), staticScore(board, white));
}

}  // namespace
}  // namespace zarvi
