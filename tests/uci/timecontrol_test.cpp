#include <gtest/gtest.h>

#include "board/types.h"
#include "timecontrol.h"
#include "ucitext.h"

namespace zarvi {
namespace {

std::string parse(const std::string& text, GoLimits& limits, bool& clamped) {
    return parseGoLimits(splitWords(text), limits, clamped);
}

TEST(GoLimits, EveryParameterIsRead) {
    GoLimits limits;
    bool clamped = true;
    ASSERT_EQ(parse("wtime 61000 btime 59000 winc 1000 binc 900 movestogo 12 depth 9 nodes 70000", limits, clamped),
              "");
    EXPECT_EQ(limits.time[white], 61000);
    EXPECT_EQ(limits.time[black], 59000);
    EXPECT_EQ(limits.increment[white], 1000);
    EXPECT_EQ(limits.increment[black], 900);
    EXPECT_EQ(limits.movesToGo, 12);
    EXPECT_EQ(limits.depth, 9);
    EXPECT_EQ(limits.nodes, 70000);
    EXPECT_EQ(limits.moveTime, -1);
    EXPECT_FALSE(limits.infinite);
    EXPECT_FALSE(limits.ponder);
    EXPECT_FALSE(clamped);

    ASSERT_EQ(parse("infinite", limits, clamped), "");
    EXPECT_TRUE(limits.infinite);
    EXPECT_EQ(limits.time[white], -1);  // a new go starts from nothing
    ASSERT_EQ(parse("ponder movetime 0", limits, clamped), "");
    EXPECT_TRUE(limits.ponder);
    EXPECT_EQ(limits.moveTime, 0);
    ASSERT_EQ(parse("", limits, clamped), "");
    EXPECT_EQ(limits.depth, 0);
}

TEST(GoLimits, ADepthBeyondTheDeepestIterationIsLowered) {
    GoLimits limits;
    bool clamped = false;
    ASSERT_EQ(parse("depth 25", limits, clamped), "");
    EXPECT_EQ(limits.depth, 24);
    EXPECT_TRUE(clamped);
    ASSERT_EQ(parse("depth 24", limits, clamped), "");
    EXPECT_FALSE(clamped);
}

TEST(GoLimits, NonsenseIsRefusedAndChangesNothing) {
    const char* const refused[][2] = {
        {"wtime -5", "wtime must be a whole number of milliseconds, 0 or more, not '-5'"},
        {"btime 10s", "btime must be a whole number of milliseconds, 0 or more, not '10s'"},
        {"winc -1", "winc must be a whole number of milliseconds, 0 or more, not '-1'"},
        {"movetime", "movetime needs a value"},
        {"movestogo -3", "movestogo must be a whole number, 0 or more, not '-3'"},
        {"depth 0", "depth must be a whole number, 1 or more, not '0'"},
        {"nodes 1e6", "nodes must be a whole number, 1 or more, not '1e6'"},
        {"wtime 99999999999999999999", "wtime must be a whole number of milliseconds, 0 or more, not "
                                       "'99999999999999999999'"},
        {"depth 5 fast", "unknown go parameter 'fast'"},
        {"searchmoves e2e4", "go searchmoves is not supported"},
        {"mate 3", "go mate is not supported"},
    };
    for (const auto& [text, message] : refused) {
        GoLimits limits;
        limits.depth = 7;
        bool clamped = false;
        EXPECT_EQ(parse(text, limits, clamped), message) << text;
        EXPECT_EQ(limits.depth, 7) << text;
        EXPECT_EQ(limits.time[white], -1) << text;
    }
}

GoLimits clock(int64_t time, int64_t increment, int64_t movesToGo = 0) {
    GoLimits limits;
    limits.time[white] = limits.time[black] = time;
    limits.increment[white] = limits.increment[black] = increment;
    limits.movesToGo = movesToGo;
    return limits;
}

// Budget and hard limit by the rules: 50 ms off the clock, the rest over
// 30 moves (or movestogo) plus 3/4 of the increment, the hard limit four
// budgets out but within half the clock (4/5 before the time control).
TEST(TimePlan, GameClocksAreSharedOut) {
    // 10 s + 0.1 s: 9950 / 30 + 75 = 406 ms; hard 4 * 406 = 1624 < 4975.
    TimePlan plan = planTime(clock(10000, 100), white);
    EXPECT_EQ(plan.budgetCentiseconds, 40);
    EXPECT_EQ(plan.hardLimitMs, 1624);

    // Ten moves to go in a minute: 59950 / 10 = 5995; hard 23980 < 29975.
    plan = planTime(clock(60000, 0, 10), black);
    EXPECT_EQ(plan.budgetCentiseconds, 599);
    EXPECT_EQ(plan.hardLimitMs, 23980);

    // The last move before the control may take 4/5 of the clock.
    plan = planTime(clock(5000, 0, 1), white);
    EXPECT_EQ(plan.hardLimitMs, 3960);
    EXPECT_EQ(plan.budgetCentiseconds, 396);
}

TEST(TimePlan, ALowClockNeverSpendsMoreThanHalfOfIt) {
    // 150 ms left after the margin: 5 + 75 = 80 ms wanted, 75 allowed.
    TimePlan plan = planTime(clock(200, 100), white);
    EXPECT_EQ(plan.hardLimitMs, 75);
    EXPECT_EQ(plan.budgetCentiseconds, 7);

    // Inside the margin nothing is left: stop at the first poll; the
    // budget is never 0, which would mean the level's seconds.
    plan = planTime(clock(30, 0), white);
    EXPECT_EQ(plan.hardLimitMs, 0);
    EXPECT_EQ(plan.budgetCentiseconds, 1);
}

TEST(TimePlan, EachSideReadsItsOwnClock) {
    GoLimits limits = clock(10000, 0);
    limits.time[black] = 70000;
    limits.increment[black] = 2000;
    // 69950 / 30 + 1500 = 3831; hard 15324 < 34975.
    const TimePlan plan = planTime(limits, black);
    EXPECT_EQ(plan.budgetCentiseconds, 383);
    EXPECT_EQ(plan.hardLimitMs, 15324);
}

TEST(TimePlan, MoveTimeIsBothBudgetAndHardLimit) {
    GoLimits limits = clock(10000, 0);
    limits.moveTime = 2500;
    const TimePlan plan = planTime(limits, white);
    EXPECT_EQ(plan.budgetCentiseconds, 250);
    EXPECT_EQ(plan.hardLimitMs, 2500);
}

TEST(TimePlan, WithoutAClockNothingStopsTheSearchButItsOwnLimits) {
    GoLimits limits;
    limits.depth = 8;
    TimePlan plan = planTime(limits, white);
    EXPECT_EQ(plan.budgetCentiseconds, unlimitedBudgetCentiseconds);
    EXPECT_EQ(plan.hardLimitMs, -1);

    // Only the other side's clock given.
    limits.time[black] = 5000;
    plan = planTime(limits, white);
    EXPECT_EQ(plan.hardLimitMs, -1);
}

TEST(TimePlan, HugeClocksStayInRange) {
    const TimePlan plan = planTime(clock(int64_t(1) << 62, int64_t(1) << 62), white);
    EXPECT_EQ(plan.budgetCentiseconds, unlimitedBudgetCentiseconds);
    EXPECT_GT(plan.hardLimitMs, 0);
    EXPECT_LE(plan.hardLimitMs, longestClockMs);
}

}  // namespace
}  // namespace zarvi
