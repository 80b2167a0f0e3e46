#include <gtest/gtest.h>

#include <string>

#include "board/makemove.h"
#include "eval/evaluate.h"
#include "game/settings.h"
#include "search/search.h"
#include "search/thinking.h"
#include "search/ttable.h"
#include "support/engine.h"
#include "support/positions.h"

namespace zarvi {
namespace {

class ThinkingTest : public test::EngineTest {
protected:
    // The display of a root position with one best move and a fresh table.
    std::string show(const char* fen, int from, int to, int depth, int score, int mark) {
        int side = white;
        const posicion board = test::positionFromFen(fen, &side);
        engineSide = side;
        searcher().bestFrom = from;
        searcher().bestTo = to;
        searcher().iterationDepth = depth;
        searcher().bestScore = score;
        displayThinking(searcher(), board, mark);
        EXPECT_EQ(std::string(statusText).size(), size_t(statusTextLength));
        return statusText;
    }

    static std::string padded(const std::string& text) {
        return text + std::string(statusTextLength - text.size(), ' ');
    }

    void SetUp() override {
        EngineTest::SetUp();
        clearSearchTables(searcher());
        nodeCount = 1234;
        settings.language = 1;
        settings.showThinking = 1;
    }
};

TEST_F(ThinkingTest, OneMoveVariationInEnglishAndSpanish) {
    EXPECT_EQ(show(startFen, 25, 45, 1, 0, plainMark), padded("[1] score: 0 pos: 1234 cont:  e2e4 "));
    settings.language = 0;
    EXPECT_EQ(show(startFen, 25, 45, 1, 0, plainMark), padded("[1] ptje: 0 pos: 1234 cont:  e2e4 "));
}

TEST_F(ThinkingTest, MarksForFailHighAndFailLow) {
    EXPECT_EQ(show(startFen, 25, 45, 1, 0, failHighMark), padded("[1] score: 0 pos: 1234 cont:  e2e4  !"));
    EXPECT_EQ(show(startFen, 25, 45, 1, 0, failLowMark), padded("[1] score: 0 pos: 1234 cont:  e2e4  ?"));
}

TEST_F(ThinkingTest, ScoresAreShownInHundredthsOf250) {
    EXPECT_EQ(show(startFen, 25, 45, 2, 250, plainMark).substr(0, 14), "[2] score: 100");
    EXPECT_EQ(show(startFen, 25, 45, 2, 225, plainMark).substr(0, 14), "[2] score: 90 ");
    EXPECT_EQ(show(startFen, 25, 45, 2, -1, plainMark).substr(0, 14), "[2] score: 0 p");
    EXPECT_EQ(show(startFen, 25, 45, 2, -250, plainMark).substr(0, 15), "[2] score: -100");
}

TEST_F(ThinkingTest, MurmurWhenThinkingIsHidden) {
    settings.showThinking = 0;
    EXPECT_EQ(show(startFen, 25, 45, 3, 0, failHighMark), padded("mmmh..."));
    EXPECT_EQ(show(startFen, 25, 45, 5, 0, plainMark), padded("mmmmmh..."));
}

TEST_F(ThinkingTest, PromotionsCarryTheirPieceLetter) {
    EXPECT_EQ(show("4k3/8/8/8/8/8/K3p3/8 b - - 0 1", 25, 13, 1, 0, plainMark),
              padded("[1] score: 0 pos: 1234 cont:  e2e1q "));
    EXPECT_EQ(show("8/4P3/8/8/8/8/k7/4K3 w - - 0 1", 75, 10, 1, 0, plainMark),
              padded("[1] score: 0 pos: 1234 cont:  e7e8n "));
}

// Exact entries for the knights' dance from the start: the variation
// follows them around the cycle and stops at 20 moves.
TEST_F(ThinkingTest, VariationFollowsExactEntriesForAtMostTwentyMoves) {
    posicion board = test::positionFromFen(startFen);
    const Move dance[4] = {{17, 36}, {87, 66}, {36, 17}, {66, 87}};
    for (int i = 0; i < 4; ++i) {
        const TableProbe probe = probeTable(board, 1, 0);
        storeTable(probe, board, 1, 3, exactBound, 0, dance[i].from, dance[i].to);
        makeMove(board, dance[i].from, dance[i].to, i % 2);
    }
    std::string expected = "[4] score: 0 pos: 1234 cont:  g1f3 ";
    const char* names[4] = {"g8f6 ", "f3g1 ", "f6g8 ", "g1f3 "};
    for (int i = 0; i < 19; ++i) expected += names[i % 4];
    EXPECT_EQ(show(startFen, 17, 36, 4, 0, plainMark), padded(expected));
    EXPECT_STREQ(principalVariation, (expected.substr(29) + ".").c_str());
}

TEST_F(ThinkingTest, VariationStopsAtAnInexactEntry) {
    posicion board = test::positionFromFen(startFen);
    makeMove(board, 25, 45, white);
    storeTable(probeTable(board, 1, 0), board, 1, 3, lowerBound, 0, 75, 55);
    EXPECT_EQ(show(startFen, 25, 45, 2, 0, plainMark), padded("[2] score: 0 pos: 1234 cont:  e2e4 "));
}

}  // namespace
}  // namespace zarvi
