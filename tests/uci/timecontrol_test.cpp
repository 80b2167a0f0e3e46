#include <gtest/gtest.h>

#include "board/types.h"
#include "timecontrol.h"
#include "ucitext.h"

namespace zarvi {
namespace {

std::string parse(const std::string& text, GoLimits& limits, bool& clamped) {
    return parseGoLimits(splitWords(text), limits, clamped);
}

TEST(GoLimits, ParametersAreReadAndANewGoStartsFromNothing) {
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
    EXPECT_FALSE(limits.infinite || limits.ponder || clamped);

    ASSERT_EQ(parse("ponder infinite movetime 0", limits, clamped), "");
    EXPECT_TRUE(limits.infinite && limits.ponder);
    EXPECT_EQ(limits.moveTime, 0);
    EXPECT_EQ(limits.time[white], -1);

    // The deepest iteration is 24.
    ASSERT_EQ(parse("depth 25", limits, clamped), "");
    EXPECT_EQ(limits.depth, 24);
    EXPECT_TRUE(clamped);
    ASSERT_EQ(parse("depth 24", limits, clamped), "");
    EXPECT_FALSE(clamped);
}

// Each refusal names the fault and leaves the limits as they were.
TEST(GoLimits, NonsenseIsRefusedAndChangesNothing) {
    const char* const refused[][2] = {
        {"wtime -5", "wtime must be a whole number of milliseconds, 0 or more, not '-5'"},
        {"movetime", "movetime needs a value"},
        {"nodes 1e6", "nodes must be a whole number, 1 or more, not '1e6'"},
        {"btime 99999999999999999999", "btime must be a whole number of milliseconds, 0 or more, not "
                                       "'99999999999999999999'"},
        {"depth 5 fast", "unknown go parameter 'fast'"},
        {"searchmoves e2e4", "go searchmoves is not supported"},
    };
    for (const auto& [text, message] : refused) {
        GoLimits limits;
        limits.depth = 7;
        bool clamped = false;
        EXPECT_EQ(parse(text, limits, clamped), message) << text;
        EXPECT_TRUE(limits.depth == 7 && limits.time[white] == -1) << text;
    }
}

// The clock's rules: 50 ms off the clock, the rest shared over the moves to
// go (movestogo, but never more than 20) plus 90 % of the increment; the
// hard limit four budgets out, within half the clock (4/5 on the last move
// before the control). movetime is a hard limit alone: all of it is used.
TEST(TimePlan, ClocksAreSharedOutByTheRules) {
    constexpr int unlimited = 100 * 60 * 60 * 24;
    struct Case {
        const char* clock;
        int64_t time[2], increment[2], movesToGo, moveTime;
        int side;
        int budget;
        int64_t hard;
    };
    const Case cases[] = {
        // 9950 / 20 + 90 = 587 ms; 4 * 587 = 2348 < 4975.
        {"10 s + 0.1 s", {10000, 10000}, {100, 100}, 0, -1, white, 58, 2348},
        // 1950 / 20 + 18 = 115 ms; 460 < 975.
        {"2 s + 0.02 s", {2000, 2000}, {20, 20}, 0, -1, black, 11, 460},
        // 59950 / 10 = 5995; 23980 < 29975.
        {"ten moves in a minute", {60000, 60000}, {0, 0}, 10, -1, white, 599, 23980},
        // 40 to go counts as 20: 59950 / 20 = 2997; 11988 < 29975.
        {"forty moves in a minute", {60000, 60000}, {0, 0}, 40, -1, white, 299, 11988},
        // The last move before the control: 4/5 of 4950.
        {"last move", {5000, 5000}, {0, 0}, 1, -1, white, 396, 3960},
        // 150 ms: 7 + 90 = 97 wanted, half of 150 allowed.
        {"low clock", {200, 200}, {100, 100}, 0, -1, white, 7, 75},
        // Inside the margin: stop at the first poll; a budget of 0 would
        // mean the window program's level.
        {"no time left", {30, 30}, {0, 0}, 0, -1, white, 1, 0},
        // Black's own clock: 69950 / 20 + 1800 = 5297; 21188 < 34975.
        {"each side its own", {10000, 70000}, {0, 2000}, 0, -1, black, 529, 21188},
        {"movetime", {10000, 10000}, {0, 0}, 0, 2500, white, unlimited, 2500},
        {"depth only", {-1, -1}, {0, 0}, 0, -1, white, unlimited, -1},
        {"only the other side's clock", {-1, 5000}, {0, 0}, 0, -1, white, unlimited, -1},
    };
    for (const Case& c : cases) {
        GoLimits limits;
        limits.time[white] = c.time[white];
        limits.time[black] = c.time[black];
        limits.increment[white] = c.increment[white];
        limits.increment[black] = c.increment[black];
        limits.movesToGo = c.movesToGo;
        limits.moveTime = c.moveTime;
        const TimePlan plan = planTime(limits, c.side);
        EXPECT_EQ(plan.budgetCentiseconds, c.budget) << c.clock;
        EXPECT_EQ(plan.hardLimitMs, c.hard) << c.clock;
    }

    // A year and more counts as a year: nothing overflows.
    GoLimits huge;
    huge.time[white] = huge.increment[white] = int64_t(1) << 62;
    const TimePlan plan = planTime(huge, white);
    EXPECT_EQ(plan.budgetCentiseconds, unlimited);
    EXPECT_GT(plan.hardLimitMs, 0);
    EXPECT_LE(plan.hardLimitMs, 1000LL * 60 * 60 * 24 * 365);
}

}  // namespace
}  // namespace zarvi
