// What a UCI "go" asks for and how long the engine may think for it. The
// session reads the go command into GoLimits and turns it into a TimePlan:
// a budget that the root's own stop rules work inside, and a hard limit,
// enforced through the search's poll, that a move never crosses.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zarvi {

// Taken off the remaining clock before anything is shared out: the time
// the answer needs to reach the other program, and the poll's latency.
constexpr int64_t clockSafetyMs = 50;
// Without movestogo the clock is shared out as if this many moves remained
// (a longer horizon is never assumed even when movestogo says more): early
// moves, whose choices shape the game, get a larger share than the last.
constexpr int64_t defaultMovesToGo = 20;
// Share of the increment spent on the move it comes with.
constexpr int64_t incrementPercent = 90;
// The hard limit lies this many budgets out, when the clock allows: room
// for the root to finish an iteration whose score is falling.
constexpr int64_t hardLimitBudgets = 4;
// No move takes more than this share of the remaining clock, or this
// share when it is the last move before the time control.
constexpr int64_t moveSharePercent = 50;
constexpr int64_t lastMoveSharePercent = 80;
// A search without a clock: a day, which keeps the root's centisecond
// arithmetic far from overflowing.
constexpr int unlimitedBudgetCentiseconds = 100 * 60 * 60 * 24;
// Clocks and increments beyond a year count as a year: the arithmetic
// stays within 64 bits.
constexpr int64_t longestClockMs = 1000LL * 60 * 60 * 24 * 365;
// go depth beyond this is searched to this depth.
constexpr int deepestGoDepth = 24;

struct GoLimits {
    int64_t time[2] = {-1, -1};  // wtime, btime in ms; -1 not given
    int64_t increment[2] = {0, 0};
    int64_t movesToGo = 0;       // 0 not given
    int64_t moveTime = -1;       // ms; -1 not given
    int depth = 0;               // 0 free
    int64_t nodes = 0;           // 0 no limit
    int64_t mate = 0;            // the mate looked for, in moves; 0 none
    bool infinite = false;
    bool ponder = false;
    std::vector<std::string> searchMoves;  // as written; none: every legal move
};

// Reads the words after "go". Returns "" or what is wrong; on an error
// limits is left as it was. depthClamped tells that a depth beyond
// deepestGoDepth was lowered to it. searchmoves takes every word up to the
// next parameter: the session judges the moves in its position.
std::string parseGoLimits(const std::vector<std::string>& words, GoLimits& limits, bool& depthClamped);

struct TimePlan {
    int budgetCentiseconds = unlimitedBudgetCentiseconds;  // the root's budget
    int64_t hardLimitMs = -1;                              // -1 none
};

// The plan for side to move under limits. With a clock the root's own
// stop rules spend the budget and the hard limit cuts off a search whose
// score keeps falling; movetime is the hard limit alone, so the search
// uses all of it. The user's overhead (the lag between engine and GUI) is
// kept back from the clock and from movetime on every move. infinite and
// ponder are not looked at: the caller decides when the clock starts to
// count.
TimePlan planTime(const GoLimits& limits, int side, int64_t overheadMs);

}  // namespace zarvi
