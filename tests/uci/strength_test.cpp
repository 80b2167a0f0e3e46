#include <gtest/gtest.h>

#include <vector>

#include "board/types.h"
#include "strength.h"
#include "uciinfo.h"

namespace zarvi {
namespace {

// Lines of the given scores in centipawns, best first.
std::vector<RootLine> linesScoring(const std::vector<int>& centipawns) {
    std::vector<RootLine> lines;
    for (int cp : centipawns) lines.push_back({{0, 0}, cp * unitsPerPawn / 100, ""});
    return lines;
}

TEST(Strength, WeakerEloSearchesLessAndChoosesMoreWidely) {
    const StrengthPlan top = strengthFor(strongestElo), low = strengthFor(weakestElo);
    // At the top the engine plays its best line; below it, it may not.
    EXPECT_EQ(top.lines, 1);
    EXPECT_EQ(top.marginCp, 0);
    EXPECT_GT(low.lines, 1);
    StrengthPlan previous = top;
    for (int elo = strongestElo - 50; elo >= weakestElo; elo -= 50) {
        const StrengthPlan plan = strengthFor(elo);
        EXPECT_LT(plan.nodes, previous.nodes) << elo;
        EXPECT_GT(plan.marginCp, previous.marginCp) << elo;
        previous = plan;
    }
    // Elo outside the option's range plays as its nearest end.
    EXPECT_EQ(strengthFor(weakestElo - 500).nodes, low.nodes);
    EXPECT_EQ(strengthFor(strongestElo + 500).nodes, top.nodes);
    EXPECT_GT(low.nodes, 1000);  // enough for a search that sees a capture back
}

TEST(Strength, ChoiceStaysWithinTheMarginAndPrefersBetterLines) {
    const StrengthPlan plan{10000, 4, 100, 30};
    struct Case {
        std::vector<int> scoresCp;
        double u;
        int line;
    };
    const Case cases[] = {
        {{50, 40, 20, -200}, 0.0, 0},     // the draw's bottom is the best line
        {{50, 40, 20, -200}, 0.999, 2},   // its top is the worst within 100 cp
        {{50, -51, -60, -70}, 0.999, 0},  // nothing else within the margin
        {{50}, 0.999, 0},                 // a single line
        {{0, 0, 0, 0}, 0.6, 2},           // equal lines are equally likely
    };
    for (const Case& c : cases) {
        const std::vector<RootLine> lines = linesScoring(c.scoresCp);
        EXPECT_EQ(chooseLine(lines.data(), int(lines.size()), plan, c.u), c.line) << c.u;
    }
    // A mate found is played, whatever the draw.
    std::vector<RootLine> mating = linesScoring({0, 0});
    mating[0].score = mateScore - 3;
    mating[1].score = mateScore - 5;
    EXPECT_EQ(chooseLine(mating.data(), 2, plan, 0.999), 0);
    // Better lines are drawn more often: a line 30 cp worse about e times
    // less than the best.
    const std::vector<RootLine> two = linesScoring({30, 0});
    int best = 0;
    for (int i = 0; i < 1000; ++i) best += chooseLine(two.data(), 2, plan, i / 1000.0) == 0;
    EXPECT_NEAR(best, 731, 2);
}

}  // namespace
}  // namespace zarvi
