// The pawn, centre and king terms against figures worked out by hand from
// the rules, and the gates by our units and by castling rights.
#include <gtest/gtest.h>

#include <string>

#include "evalsupport.h"

namespace zarvi {
namespace {

using test::termsOf;

TEST(PawnTerms, DoubledAndIsolatedEnemyPawns) {
    // Black pawns a7 and a6, none on the b-file: 28 + 2 * 11. Black has 15
    // units, which makes the phase factor (76 - 15) / 61 exactly 1; we
    // have 3, too few for the weak-pawn rule.
    EXPECT_EQ(termsOf("3qk2r/p7/p7/8/8/8/8/1N2K3 w - - 0 1", white).pawnStructureTerm, 50);
    // With a rook (5 units) both pawns are weak too: no black pawn can
    // ever defend them, and we have no pawn on their file: 20 each.
    EXPECT_EQ(termsOf("3qk2r/p7/p7/8/8/8/8/1R2K3 w - - 0 1", white).pawnStructureTerm, 50 + 2 * 20);
}

TEST(PassedPawns, UnstoppableInAPawnEnding) {
    // Pawn a5 alone: 116. Their king h8 is 7 from a8, the pawn 3, we are
    // to move: d = 5, so five times. Phase factor (80 - 0) / 65.
    EXPECT_EQ(termsOf("7k/8/8/P7/8/8/8/7K w - - 0 1", white).passedPawnTerm, 80 * (5 * 116) / 65);
    // Their king on c7 catches it: d = 2 - 3 + 1 = 0.
    EXPECT_EQ(termsOf("8/2k5/8/P7/8/8/8/7K w - - 0 1", white).passedPawnTerm, 80 * 116 / 65);
    // Caught in the count, but our king on b7 escorts it home.
    EXPECT_EQ(termsOf("8/1K1k4/8/P7/8/8/8/8 w - - 0 1", white).passedPawnTerm, 80 * (5 * 116) / 65);
    // A rook behind it: 116 + 116 >> 2 = 145, then five times.
    EXPECT_EQ(termsOf("7k/8/8/P7/8/8/8/R6K w - - 0 1", white).passedPawnTerm, 80 * (5 * 145) / 65);
}

TEST(PassedPawns, BlockedPawnIsWorthHalf) {
    // A black knight on a6 blocks: 116 >> 1; phase (80 - 3) / 65.
    EXPECT_EQ(termsOf("7k/8/n7/P7/8/8/8/7K w - - 0 1", white).passedPawnTerm, 77 * 58 / 65);
    EXPECT_EQ(termsOf("7k/8/7n/P7/8/8/8/7K w - - 0 1", white).passedPawnTerm, 77 * 116 / 65);
    // Our own bishop blocks as well; halved before the pawn-ending bonus.
    EXPECT_EQ(termsOf("7k/8/B7/P7/8/8/8/7K w - - 0 1", white).passedPawnTerm, 80 * (5 * 58) / 65);
}

TEST(PawnTerms, PawnMassOnRanksFourAndFive) {
    // f4, g5, h4 on the wing of both kings, 10 units: 3 * 10, * 10 * 3 / 30.
    EXPECT_EQ(termsOf("6k1/8/8/6P1/5P1P/8/8/3Q2K1 w - - 0 1", white).pawnMassTerm, 30);
    // Our king on the other wing: 12 a file.
    EXPECT_EQ(termsOf("6k1/8/8/6P1/5P1P/8/8/1K1Q4 w - - 0 1", white).pawnMassTerm, 36);
    // Below 10 units the rule is off.
    EXPECT_EQ(termsOf("6k1/8/8/6P1/5P1P/8/8/NNN3K1 w - - 0 1", white).pawnMassTerm, 0);
    // A lone file is no mass; an enemy pawn in front spoils the g-file.
    EXPECT_EQ(termsOf("6k1/8/8/8/5P2/8/8/3Q2K1 w - - 0 1", white).pawnMassTerm, 0);
    EXPECT_EQ(termsOf("6k1/8/6p1/6P1/5P1P/8/8/3Q2K1 w - - 0 1", white).pawnMassTerm, 0);
}

TEST(CentreTerms, CentrePawnsAndCrampedCentre) {
    // Control: e4 hits d5 (15), d3 hits e4 (8); d- and e-pawns while black
    // keeps its d-pawn: 14 + 7. From 10 units: e4 supported 33, black's
    // d7 pawn with d6 empty 33. Scaled by 10 / 30.
    EXPECT_EQ(termsOf("4k3/3p4/8/8/4P3/3P4/8/3QK3 w - - 0 1", white).centreTerm, (23 + 21 + 66) * 10 / 30);
    // With 9 units only control and the d/e pawns count.
    EXPECT_EQ(termsOf("4k3/3p4/8/8/4P3/3P4/8/NNN1K3 w - - 0 1", white).centreTerm, (23 + 21) * 9 / 30);
}

TEST(KingTerms, FianchettoShelter) {
    // King g1 behind bishop g2 and pawns g3, h2, against 20 units:
    // 5 * 20 - 38.
    EXPECT_EQ(termsOf("r2qk2r/8/8/8/8/6P1/5PBP/6K1 w - - 0 1", white).kingSafetyTerm, 62);
}

TEST(KingTerms, KingOnItsSecondRank) {
    // King e2, pawn e3 in front, f2 beside with f1 free: c = 2, times
    // 20 * 2 / 3.
    EXPECT_EQ(termsOf("r2qk2r/8/8/8/8/4P3/4KP2/8 w - - 0 1", white).kingSafetyTerm, 2 * 20 * 2 / 3);
    // f2 and g2 beside it: 2 again; our rook on g1 behind g2 leaves 1.
    EXPECT_EQ(termsOf("r2qk2r/8/8/8/8/8/4KPP1/8 w - - 0 1", white).kingSafetyTerm, 2 * 20 * 2 / 3);
    EXPECT_EQ(termsOf("r2qk2r/8/8/8/8/8/4KPP1/6R1 w - - 0 1", white).kingSafetyTerm, 1 * 20 * 2 / 3);
}

TEST(KingTerms, KingActivityInTheEndgame) {
    // King d4 (38) with 5 units: 38 * 40 / 40, and 35 at distance 2 from a
    // bare king.
    EXPECT_EQ(termsOf("8/8/3k4/8/3K4/8/8/R7 w - - 0 1", white).kingSafetyTerm, 38 + 35);
    // An undefended black pawn beside our king: 15, and no bare king.
    EXPECT_EQ(termsOf("8/8/3k4/8/3Kp3/8/8/R7 w - - 0 1", white).kingSafetyTerm, 15 + 38);
}

TEST(KingTerms, CastlingRightMeansNoShelterTerm) {
    EXPECT_EQ(termsOf("4k3/8/8/8/8/8/8/1n2K2R w K - 0 1", white).kingSafetyTerm, 0);
    // Without it, the king's endgame square: 5 * (45 - 5) / 40.
    EXPECT_EQ(termsOf("4k3/8/8/8/8/8/8/1n2K2R w - - 0 1", white).kingSafetyTerm, 5);
}

TEST(KingTerms, EdgeRookAgainstAKingThatCannotCastle) {
    // Their king c8 behind a7, b7, c7 without castling rights; 13 units
    // with our only a-file rook on a1 (the knight on a2 shuts its file
    // ray) and none of our pawns on the a-file. The shelter counts as
    // intact and our c-pawn stands on their king's file, so step c alone
    // adds 2 * 13 = 26. Final scaling: 26 * 13 / 30 = 11, then the zone of
    // c8 (weight 4): 11 + 4 * (11 + 107) / 107 = 15.
    const EvalTerms t = termsOf("2k5/ppp5/8/8/8/8/N1P5/R3K2R w - - 0 1", white);
    EXPECT_EQ(t.kingAttackTerm, 11 + 4 * (11 + 107) / 107);
    // Zone pressure 4 * 13 / 11 and our king's endgame square 5 * 32 / 40.
    EXPECT_EQ(t.kingSafetyTerm, 4 + 4);
    // A pawn of ours on the a-file: no edge rook, nothing to scale.
    EXPECT_EQ(termsOf("2k5/ppp5/8/8/8/P7/N1P5/R3K2R w - - 0 1", white).kingAttackTerm, 0);
}

TEST(KingTerms, OpenKingFileWithOurRookBesideIt) {
    // Their bare king h8, our rook g1 on the open file next to it, four
    // knights far away: 17 units, no queen. Rook: file ray g5 3, g6 3,
    // g7 14, g8 14, and the open file beside their king 2 * 17. No pawn
    // shelters h8, so the open-king step: 68 + 68 / 3 = 90, then
    // 90 + 90 / 6 + (17 >> 1) = 113. Scaling: 113 * 17 / 30 = 64, then the
    // zone of h8 (weight 1): 64 + (64 + 103) / 103.
    const std::string fen = "7k/8/8/8/8/8/8/NNNN2RK w - - 0 1";
    EXPECT_EQ(termsOf(fen, white, white).kingAttackTerm, 64 + (64 + 103) / 103);
    // Scored for the human's side with no defender near their king: a
    // seventh more before the scaling, 113 + 16 = 129 -> 73.
    EXPECT_EQ(termsOf(fen, white, black).kingAttackTerm, 73 + (73 + 103) / 103);
}

TEST(KingTerms, BelowThirteenUnitsNoZoneOrFileAttack) {
    // The same without the knight (10 units): the a-file ray now reaches
    // a5 (3) and a6 (attacked by b7: 3 >> 1), scaled 4 * 10 / 30; the zone
    // and the edge-rook rule are gone.
    const EvalTerms t = termsOf("2k5/ppp5/8/8/8/8/2P5/R3K2R w - - 0 1", white);
    EXPECT_EQ(t.kingAttackTerm, 4 * 10 / 30);
    EXPECT_EQ(t.kingSafetyTerm, 5 * 35 / 40);
}

}  // namespace
}  // namespace zarvi
