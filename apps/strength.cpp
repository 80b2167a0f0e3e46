#include "strength.h"

#include <algorithm>
#include <cmath>

#include "board/types.h"
#include "uciinfo.h"

namespace zarvi {

namespace {

// The node budget at full strength, beyond what a blitz clock gives, and
// the Elo that each halving of it costs; tuned by matches against the
// rating list's anchors (a 1400 budget near 4000 nodes, depth 3 to 4).
constexpr double strongestNodes = 1000000;
constexpr double eloPerHalving = 75;
// Below full strength the engine scores this many lines and may play a
// worse one: a margin of this many centipawns per Elo point below the top,
// and a temperature of this share of the margin.
constexpr int limitedLines = 4;
constexpr double marginCpPerElo = 0.3;
constexpr int temperatureShareOfMargin = 3;  // temperature = margin / 3

}  // namespace

StrengthPlan strengthFor(int elo) {
    const int below = strongestElo - std::clamp(elo, weakestElo, strongestElo);
    StrengthPlan plan;
    plan.nodes = int64_t(strongestNodes * std::exp2(-below / eloPerHalving));
    plan.marginCp = int(below * marginCpPerElo);
    plan.lines = plan.marginCp > 0 ? limitedLines : 1;
    plan.temperatureCp = std::max(1, plan.marginCp / temperatureShareOfMargin);
    return plan;
}

int chooseLine(const RootLine* lines, int count, const StrengthPlan& plan, double u) {
    const int best = lines[0].score;
    if (count <= 1 || best >= mateThreshold) return 0;
    const double margin = plan.marginCp * unitsPerPawn / 100.0;
    const double temperature = plan.temperatureCp * unitsPerPawn / 100.0;
    double weights[maxRootLines], total = 0;
    int candidates = 0;
    while (candidates < count && best - lines[candidates].score <= margin) {
        total += weights[candidates] = std::exp((lines[candidates].score - best) / temperature);
        ++candidates;
    }
    double drawn = u * total;
    for (int i = 0; i < candidates; ++i) {
        drawn -= weights[i];
        if (drawn < 0) return i;
    }
    return candidates - 1;
}

}  // namespace zarvi
