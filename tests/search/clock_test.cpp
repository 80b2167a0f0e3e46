#include <gtest/gtest.h>

#include "game/settings.h"
#include "platform/portable.h"
#include "search/search.h"
#include "search/thinking.h"
#include "support/engine.h"

namespace zarvi {
namespace {

// The clock as the tests set it, in seconds since the program started.
double fakeSeconds = 0;
double fakeClock() { return fakeSeconds; }

// Moves the clock when the search reports from a chosen iteration, and far
// beyond the budget in the iteration after it.
int jumpAtDepth = 0;
double jumpTo = 0;
void jumpClock(const buscador& searcher, int) {
    if (searcher.iterationDepth > jumpAtDepth)
        fakeSeconds = jumpTo + 1000;
    else if (searcher.iterationDepth == jumpAtDepth)
        fakeSeconds = jumpTo;
}

class ClockTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        fakeSeconds = 0;
        setClockHook(fakeClock);
        settings.levelSeconds = 5;
        setDepthLimit(0);
    }
    void searchFromStart() {
        const int side = setPosition("r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3");
        resetSearch(searcher());
        startSearch(searcher(), game->board, side);
    }
};

TEST_F(ClockTest, BudgetIsTheLevelsSeconds) {
    fakeSeconds = 12.34;
    setDepthLimit(3);
    searchFromStart();
    EXPECT_EQ(searcher().startTime, 1234);
    EXPECT_EQ(searcher().stopTime, 1234 + 500);
}

TEST_F(ClockTest, IterationsBelowTheMinimumAlwaysFinish) {
    // The budget is gone from the start: the first four iterations still
    // run, and the fourth stops after its third move.
    jumpAtDepth = 1;
    jumpTo = 1000;
    thinkingListener = jumpClock;
    searchFromStart();
    EXPECT_EQ(searcher().iterationDepth, 4);
    EXPECT_EQ(searcher().rootMoveNumber, 3);
    EXPECT_NE(searcher().result.from, 0);
}

TEST_F(ClockTest, NoNewIterationAfter69PercentOfTheBudget) {
    thinkingListener = jumpClock;
    jumpAtDepth = 5;
    jumpTo = 3.46;  // 69.2 % of 5 s
    searchFromStart();
    EXPECT_EQ(searcher().iterationDepth, 5);

    jumpTo = 3.44;  // 68.8 %: one more iteration, which then runs out
    searchFromStart();
    EXPECT_EQ(searcher().iterationDepth, 6);
}

TEST_F(ClockTest, TheSixtyNinePercentRuleHoldsAfterDaysOfUptime) {
    // 100 hours in: 69 * stopTime no longer fits in 32 bits.
    const double start = 100.0 * 3600;
    fakeSeconds = start;
    thinkingListener = jumpClock;
    jumpAtDepth = 5;
    jumpTo = start + 3.44;  // 68.8 % of 5 s
    searchFromStart();
    EXPECT_EQ(searcher().startTime, 36000000);
    EXPECT_EQ(searcher().iterationDepth, 6);
}

TEST_F(ClockTest, AFallingScoreKeepsTheIterationGoing) {
    // In this pawn ending the fifth iteration's score falls far below the
    // fourth's: with the budget gone the root still searches every move
    // (four king moves) instead of stopping after the third.
    const int side = setPosition("8/8/8/4k3/8/4K3/4P3/8 w - - 0 1");
    thinkingListener = jumpClock;
    jumpAtDepth = 5;
    jumpTo = 1000;
    resetSearch(searcher());
    startSearch(searcher(), game->board, side);
    EXPECT_EQ(searcher().iterationDepth, 5);
    EXPECT_EQ(searcher().rootMoveNumber, 4);
}

TEST_F(ClockTest, AFixedDepthIsNeverCutByTheClock) {
    setDepthLimit(5);
    thinkingListener = jumpClock;
    jumpAtDepth = 1;
    jumpTo = 1000;
    searchFromStart();
    EXPECT_EQ(searcher().iterationDepth, 5);
}

}  // namespace
}  // namespace zarvi
