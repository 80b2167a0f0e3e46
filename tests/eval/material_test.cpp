// The material estimate: the plain difference, halved with opposite
// bishops, an extra pawn worth more as the pieces come off, and the
// pawnless endings of one piece more.
#include "eval/material.h"

#include <gtest/gtest.h>

#include <string>

#include "support/positions.h"

namespace zarvi {
namespace {

int estimate(const std::string& fen, int side) { return materialEstimate(test::positionFromFen(fen), side); }

TEST(MaterialEstimate, OppositeBishopsHalveTheDifference) {
    // One pawn up with a light bishop against a dark one: 225 >> 1, then
    // 64 - 2 * 3 for the pawn. The halving shifts, so -225 gives -113.
    const std::string opposite = "4k3/5pp1/8/4b3/8/8/4PPP1/3BK3 w - - 0 1";
    EXPECT_EQ(estimate(opposite, white), (225 >> 1) + 58);
    EXPECT_EQ(estimate(opposite, black), (-225 >> 1) - 58);
    // Same-coloured bishops: no halving.
    const std::string same = "4k3/5pp1/8/3b4/8/8/4PPP1/3BK3 w - - 0 1";
    EXPECT_EQ(estimate(same, white), 225 + 58);
    // Three pawns up is no longer drawish.
    const std::string three = "4k3/8/8/3b4/8/8/4PPP1/3BK3 w - - 0 1";
    EXPECT_EQ(estimate(three, white), 675 + 3 * 58);
}

TEST(MaterialEstimate, ExtraPawnsCountByTheOtherSidesPieces) {
    // Queen and two pawns against rook and pawn: the side with fewer pawns
    // has 5 units, so the pawn adds 64 - 10 from either view.
    const std::string fen = "4k3/4p3/8/8/2r5/8/3PP3/3QK3 w - - 0 1";
    EXPECT_EQ(estimate(fen, white), (2335 + 450) - (1250 + 225) + 54);
    EXPECT_EQ(estimate(fen, black), (1250 + 225) - (2335 + 450) - 54);
    // Bare kings and pawns: 64 for each pawn of difference.
    EXPECT_EQ(estimate("4k3/8/8/8/8/8/2PPP3/4K3 w - - 0 1", black), -675 - 3 * 64);
    // Equal pawns: the plain difference.
    EXPECT_EQ(estimate("4k3/4p3/8/8/8/8/4P3/3QK3 w - - 0 1", white), 2335);
}

TEST(MaterialEstimate, PawnlessPieceUp) {
    // Rook and knight against rook, two minors against one: a pawn.
    EXPECT_EQ(estimate("4k3/8/8/8/8/8/r7/3NKR2 w - - 0 1", white), 225);
    EXPECT_EQ(estimate("4k3/8/8/8/8/8/r7/3NKR2 w - - 0 1", black), -225);
    EXPECT_EQ(estimate("4k3/8/8/2n5/8/8/8/3NKB2 w - - 0 1", white), 225);
    EXPECT_EQ(estimate("4k3/8/8/2n5/8/8/8/3NKB2 w - - 0 1", black), -225);
    // Queen against rook keeps its difference.
    EXPECT_EQ(estimate("4k3/8/8/8/8/8/r7/3QK3 w - - 0 1", white), 2335 - 1250);
}

}  // namespace
}  // namespace zarvi
