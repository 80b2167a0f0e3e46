#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "board/types.h"
#include "timecontrol.h"
#include "ucitext.h"

namespace zarvi {
namespace {

// Every limit as "time/time increment/increment movestogo movetime depth
// nodes mate infinite ponder"; parsed() adds " clamped" when the depth was.
std::string described(const GoLimits& l) {
    std::ostringstream out;
    out << l.time[white] << '/' << l.time[black] << ' ' << l.increment[white] << '/' << l.increment[black] << ' '
        << l.movesToGo << ' ' << l.moveTime << ' ' << l.depth << ' ' << l.nodes << ' ' << l.mate << ' ' << l.infinite
        << l.ponder;
    for (const std::string& move : l.searchMoves) out << ' ' << move;
    return out.str();
}
std::string parsed(const std::string& text, GoLimits& limits) {
    bool clamped = true;
    const std::string error = parseGoLimits(splitWords(text), limits, clamped);
    return error.empty() ? described(limits) + (clamped ? " clamped" : "") : error;
}

TEST(GoLimits, ParametersAreReadAndANewGoStartsFromNothing) {
    GoLimits limits;
    EXPECT_EQ(parsed("wtime 61000 btime 59000 winc 1000 binc 900 movestogo 12 depth 9 nodes 70000 mate 4", limits),
              "61000/59000 1000/900 12 -1 9 70000 4 00");
    EXPECT_EQ(parsed("ponder infinite movetime 0", limits), "-1/-1 0/0 0 0 0 0 0 11");
    // The deepest iteration is 24.
    EXPECT_EQ(parsed("depth 25", limits), "-1/-1 0/0 0 -1 24 0 0 00 clamped");
    EXPECT_EQ(parsed("depth 24", limits), "-1/-1 0/0 0 -1 24 0 0 00");
    // searchmoves takes the words up to the next parameter, moves or not.
    EXPECT_EQ(parsed("searchmoves e2e4 x depth 3 searchmoves", limits), "-1/-1 0/0 0 -1 3 0 0 00 e2e4 x");
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
        {"mate 0", "mate must be a whole number of moves, 1 or more, not '0'"},
    };
    for (const auto& [text, message] : refused) {
        GoLimits limits;
        limits.depth = 7;
        EXPECT_EQ(parsed(text, limits), message) << text;
        EXPECT_EQ(described(limits), "-1/-1 0/0 0 -1 7 0 0 00") << text;
    }
}

// The clock's rules: 50 ms off the clock, the rest shared over the moves to
// go (movestogo, but never more than 20) plus 90 % of the increment; the
// hard limit four budgets out, within half the clock (4/5 on the last move
// before the control). movetime is a hard limit alone: all of it is used.
// The user's overhead comes off the clock, and off movetime, on each move.
TEST(TimePlan, ClocksAreSharedOutByTheRules) {
    constexpr int unlimited = 100 * 60 * 60 * 24;
    struct Case { const char* clock; int64_t time[2], increment[2], movesToGo, moveTime; int side, budget;
                  int64_t hard, overhead = 0; };
    const Case cases[] = {
        // 9950 / 20 + 90 = 587 ms; 4 * 587 = 2348 < 4975.
        {"10 s + 0.1 s", {10000, 10000}, {100, 100}, 0, -1, white, 58, 2348},
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
        // 9850 / 20 + 90 = 582 ms; 2328 < 4925.
        {"10 s + 0.1 s, 100 ms lag", {10000, 10000}, {100, 100}, 0, -1, white, 58, 2328, 100},
        {"lag beyond the clock", {3000, 3000}, {0, 0}, 0, -1, white, 1, 0, 5000},
        {"movetime", {10000, 10000}, {0, 0}, 0, 2500, white, unlimited, 2500},
        {"movetime less lag", {10000, 10000}, {0, 0}, 0, 2500, white, unlimited, 2400, 100},
        {"depth only", {-1, -1}, {0, 0}, 0, -1, white, unlimited, -1},
        {"only the other side's clock", {-1, 5000}, {0, 0}, 0, -1, white, unlimited, -1},
    };
    for (const Case& c : cases) {
        GoLimits limits;
        std::copy(c.time, c.time + 2, limits.time);
        std::copy(c.increment, c.increment + 2, limits.increment);
        limits.movesToGo = c.movesToGo;
        limits.moveTime = c.moveTime;
        const TimePlan plan = planTime(limits, c.side, c.overhead);
        EXPECT_EQ(plan.budgetCentiseconds, c.budget) << c.clock;
        EXPECT_EQ(plan.hardLimitMs, c.hard) << c.clock;
    }

    // A year and more counts as a year: nothing overflows.
    GoLimits huge;
    huge.time[white] = huge.increment[white] = int64_t(1) << 62;
    const TimePlan plan = planTime(huge, white, 0);
    EXPECT_EQ(plan.budgetCentiseconds, unlimited);
    EXPECT_TRUE(plan.hardLimitMs > 0 && plan.hardLimitMs <= 1000LL * 60 * 60 * 24 * 365) << plan.hardLimitMs;
}

}  // namespace
}  // namespace zarvi
