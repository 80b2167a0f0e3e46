#include "timecontrol.h"

#include <algorithm>

#include "ucitext.h"

namespace zarvi {

namespace {

bool isGoParameter(const std::string& word) {
    static const char* const names[] = {"wtime", "btime", "winc",     "binc",   "movestogo",  "movetime",
                                        "depth", "nodes", "mate", "infinite", "ponder", "searchmoves"};
    return std::find(std::begin(names), std::end(names), word) != std::end(names);
}

// The value after a go parameter: a whole number of at least minimum.
std::string readValue(const std::vector<std::string>& words, size_t& i, int64_t minimum, const char* what,
                      int64_t& value) {
    const std::string& name = words[i];
    if (i + 1 >= words.size()) return name + " needs a value";
    const std::string& text = words[++i];
    if (!readInteger(text, value) || value < minimum)
        return name + " must be " + what + ", not '" + text + "'";
    return "";
}

}  // namespace

std::string parseGoLimits(const std::vector<std::string>& words, GoLimits& limits, bool& depthClamped) {
    GoLimits read;
    depthClamped = false;
    static const char* const milliseconds = "a whole number of milliseconds, 0 or more";
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        std::string error;
        int64_t value = 0;
        if (word == "infinite") {
            read.infinite = true;
        } else if (word == "ponder") {
            read.ponder = true;
        } else if (word == "wtime" || word == "btime") {
            error = readValue(words, i, 0, milliseconds, value);
            read.time[word == "wtime" ? 0 : 1] = value;
        } else if (word == "winc" || word == "binc") {
            error = readValue(words, i, 0, milliseconds, value);
            read.increment[word == "winc" ? 0 : 1] = value;
        } else if (word == "movestogo") {
            error = readValue(words, i, 0, "a whole number, 0 or more", value);
            read.movesToGo = value;
        } else if (word == "movetime") {
            error = readValue(words, i, 0, milliseconds, value);
            read.moveTime = value;
        } else if (word == "depth") {
            error = readValue(words, i, 1, "a whole number, 1 or more", value);
            depthClamped = value > deepestGoDepth;
            read.depth = int(std::min<int64_t>(value, deepestGoDepth));
        } else if (word == "nodes") {
            error = readValue(words, i, 1, "a whole number, 1 or more", value);
            read.nodes = value;
        } else if (word == "mate") {
            error = readValue(words, i, 1, "a whole number of moves, 1 or more", value);
            read.mate = value;
        } else if (word == "searchmoves") {
            while (i + 1 < words.size() && !isGoParameter(words[i + 1])) read.searchMoves.push_back(words[++i]);
        } else {
            error = "unknown go parameter '" + word + "'";
        }
        if (!error.empty()) {
            depthClamped = false;
            return error;
        }
    }
    limits = read;
    return "";
}

TimePlan planTime(const GoLimits& limits, int side, int64_t overheadMs) {
    TimePlan plan;
    if (limits.moveTime >= 0) {
        plan.hardLimitMs = std::max<int64_t>(0, limits.moveTime - overheadMs);
        return plan;
    }
    if (limits.time[side] < 0) return plan;

    // Share the clock out over the moves still to play, add most of the
    // increment, and keep the overrun of the root's rules within bounds.
    const int64_t clock = std::min(limits.time[side], longestClockMs);
    const int64_t increment = std::min(limits.increment[side], longestClockMs);
    const int64_t available = std::max<int64_t>(0, clock - clockSafetyMs - overheadMs);
    const int64_t movesLeft =
        limits.movesToGo > 0 ? std::min(limits.movesToGo, defaultMovesToGo) : defaultMovesToGo;
    const int64_t share = movesLeft == 1 ? lastMoveSharePercent : moveSharePercent;
    const int64_t ceiling = available * share / 100;
    const int64_t target = available / movesLeft + increment * incrementPercent / 100;
    const int64_t hard = std::min(target * hardLimitBudgets, ceiling);
    plan.budgetCentiseconds = int(std::clamp<int64_t>(std::min(target, hard) / 10, 1, unlimitedBudgetCentiseconds));
    plan.hardLimitMs = hard;
    return plan;
}

}  // namespace zarvi
