#include <gtest/gtest.h>

#include <vector>

#include "board/types.h"
#include "strength.h"
#include "uciinfo.h"

namespace zarvi {
namespace {

// Full strength plays its best line; each step down searches fewer nodes
// and may play a worse line; Elo outside the range plays as its nearest end.
TEST(Strength, WeakerEloSearchesLessAndChoosesMoreWidely) {
    EXPECT_TRUE(strengthFor(strongestElo).lines == 1 && strengthFor(strongestElo).marginCp == 0);
    for (int elo = strongestElo - 50; elo >= weakestElo; elo -= 50) {
        const StrengthPlan plan = strengthFor(elo), stronger = strengthFor(elo + 50);
        EXPECT_TRUE(plan.nodes < stronger.nodes && plan.marginCp > stronger.marginCp && plan.lines > 1) << elo;
    }
    EXPECT_EQ(strengthFor(weakestElo - 500).nodes, strengthFor(weakestElo).nodes);
    EXPECT_EQ(strengthFor(strongestElo + 500).nodes, strengthFor(strongestElo).nodes);
}

// Lines of scores in centipawns, best first (or mates from ply mateAt on,
// each two plies longer), and the draw u that picks a line.
TEST(Strength, ChoiceStaysWithinTheMarginAndPrefersBetterLines) {
    const StrengthPlan plan{10000, 4, 100, 30};
    const auto choose = [&](const std::vector<int>& centipawns, double u, int mateAt = 0) {
        std::vector<RootLine> lines;
        for (int cp : centipawns)
            lines.push_back({{0, 0}, mateAt ? mateScore - mateAt - 2 * int(lines.size()) : cp * unitsPerPawn / 100, ""});
        return chooseLine(lines.data(), int(lines.size()), plan, u);
    };
    EXPECT_EQ(choose({50, 40, 20, -200}, 0.0), 0);     // the draw's bottom is the best line
    EXPECT_EQ(choose({50, 40, 20, -200}, 0.999), 2);   // its top the worst within 100 cp
    EXPECT_EQ(choose({50, -51, -60, -70}, 0.999), 0);  // nothing else within the margin
    EXPECT_EQ(choose({0, 0, 0, 0}, 0.6), 2);           // equal lines equally likely
    EXPECT_EQ(choose({0, 0}, 0.999, 3), 0);            // the shortest mate is played
    // A line 30 cp worse is drawn e times less often than the best.
    int best = 0;
    for (int i = 0; i < 1000; ++i) best += choose({30, 0}, i / 1000.0) == 0;
    EXPECT_NEAR(best, 731, 2);
}

}  // namespace
}  // namespace zarvi
