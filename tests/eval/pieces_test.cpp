// The piece terms against figures worked out by hand from the rules: the
// knight's outpost, its threats, doubled rooks, pins and x-rays, the
// trapped bishop, rooks on the seventh, badly placed enemy minor pieces.
#include <gtest/gtest.h>

#include "evalsupport.h"

namespace zarvi {
namespace {

using test::termsOf;

TEST(KnightTerms, SupportedKnightOnD5) {
    // Knight d5 defended by c4 only; d5, d6, d7 free of black pawns; our
    // units capped at 30; their king on g8 (the other wing). Every
    // destination is empty, so the destination rules add nothing:
    // 45 (square) + 4 * 1 (outpost) + (9 * 30) >> 3 = 33.
    const EvalTerms t = termsOf("r5k1/5ppp/8/3N4/2P5/8/8/QQR3KB w - - 0 1", white);
    EXPECT_EQ(t.knightTerm, 45 + 4 + 33);
    EXPECT_EQ(t.knightTerm, 82);
}

TEST(KnightTerms, DestinationThreats) {
    // From d5: rook e7 25, bishop f6 defended by g7 15, pawn b6 that no
    // pawn defends now or after its push 20, knight c7 nothing.
    const EvalTerms t = termsOf("6k1/2n1r1p1/1p3b2/3N4/2P5/8/8/6K1 w - - 0 1", white);
    EXPECT_EQ(t.threatTerm, 25 + 15 + 20);
}

TEST(RookTerms, DoubledOnAnOpenFile) {
    // Rooks d1 and d2, 30 units, no pawns anywhere, their king on h8.
    // d1: open file 34, rank rays e1 + f1 = 2 and c1 = 1, the rook on d2
    // above it doubles: 30 + 25 = 55. d2: 34, rank rays 2 + 1 + 1 and
    // 1 + 1, file ray d3..d8 = 5 + 11 + 11 + 5 + 3 + 1, nothing for the
    // doubling.
    const EvalTerms t = termsOf("7k/8/8/8/QQ6/8/3R4/3R3K w - - 0 1", white);
    EXPECT_EQ(t.rookTerm, (34 + 2 + 1 + 55) + (34 + 4 + 2 + 36));
}

TEST(RookTerms, DoubledOnAHalfOpenFile) {
    // A black pawn on d7: half-open 17 each, doubling (30 >> 1) + 16 = 31,
    // the upper rook's file ray stops at d6.
    const EvalTerms t = termsOf("7k/3p4/8/8/QQ6/8/3R4/3R3K w - - 0 1", white);
    EXPECT_EQ(t.rookTerm, (17 + 2 + 1 + 31) + (17 + 4 + 2 + 5 + 11 + 11 + 5));
}

TEST(RookTerms, OpenFileBelowFifteenUnitsGivesNoKingAttack) {
    // Rook g1 beside their king on h8, 5 units. rookTerm: open 34, rank
    // ray f1..b1 = 4, file ray g2..g8 = 15. kingAttackTerm only from the
    // file ray's king weights: g5 3, g6 3, g7 14, g8 14 = 34, then scaled
    // by the units: 34 * 5 / 30 = 5.
    const EvalTerms t = termsOf("7k/8/8/8/8/8/8/6RK w - - 0 1", white);
    EXPECT_EQ(t.rookTerm, 34 + 4 + 15);
    EXPECT_EQ(t.kingAttackTerm, 34 * 5 / 30);
}

TEST(RookTerms, PinnedBishopBesideTheCornerRook) {
    // Rook a1, black bishop a2 undefended, black queen a7 behind it.
    const EvalTerms t = termsOf("4k3/q7/8/8/8/8/b7/R3K3 w - - 0 1", white);
    EXPECT_EQ(t.pinTerm, 34);
    EXPECT_EQ(t.fixedBonus, 250);

    // Defended by a pawn on b3: the weaker x-ray, no corner bonus.
    const EvalTerms defended = termsOf("4k3/q7/8/8/8/1p6/b7/R3K3 w - - 0 1", white);
    EXPECT_EQ(defended.pinTerm, 21);
    EXPECT_EQ(defended.fixedBonus, 0);

    // Defended but attacked by our pawn too: the full pin again; a3 is not
    // next to the rook, so no corner bonus.
    const EvalTerms contested = termsOf("4k3/q7/8/8/1p6/n7/1P6/R3K3 w - - 0 1", white);
    EXPECT_EQ(contested.pinTerm, 34);
    EXPECT_EQ(contested.fixedBonus, 0);
}

TEST(RookTerms, EFilePin) {
    // Their king e8, knight e5 and queen e6 on the open e-file, our rook
    // on e1 with e2 empty, 20 units: 70 times 5 with us to move, times 4
    // otherwise; the rook's x-ray through e5 to the queen adds 34.
    const EvalTerms ours = termsOf("4k3/pp6/4q3/4n3/8/8/8/R2QR1K1 w - - 0 1", white);
    EXPECT_EQ(ours.pinTerm, 70 * 5 + 34);
    const EvalTerms theirs = termsOf("4k3/pp6/4q3/4n3/8/8/8/R2QR1K1 b - - 0 1", white);
    EXPECT_EQ(theirs.pinTerm, 70 * 4 + 34);
}

TEST(RookTerms, SeventhRank) {
    // Their king at home and a pawn on their second rank.
    EXPECT_EQ(termsOf("6k1/p2R4/8/8/8/8/8/6K1 w - - 0 1", white).seventhRankTerm, 51);
    EXPECT_EQ(termsOf("6k1/p2RR3/8/8/8/8/8/6K1 w - - 0 1", white).seventhRankTerm, 160);
    // The queen on the seventh counts as a second rook.
    EXPECT_EQ(termsOf("6k1/p2RQ3/8/8/8/8/8/6K1 w - - 0 1", white).seventhRankTerm, 160);
    // The king gone forward: only the pawn counts.
    EXPECT_EQ(termsOf("8/p2R4/6k1/8/8/8/8/6K1 w - - 0 1", white).seventhRankTerm, 17);
    // No pawn to attack, king at home.
    EXPECT_EQ(termsOf("6k1/3R4/8/8/8/8/8/6K1 w - - 0 1", white).seventhRankTerm, 35);
}

TEST(RookTerms, OpponentRookShutInByItsKing) {
    // Their king f8 without castling rights, rook h8 behind pawns g7, h7:
    // 3 * 20 units; we have no rook of our own.
    EXPECT_EQ(termsOf("5k1r/6pp/8/8/8/8/3Q4/3Q2K1 w - - 0 1", white).rookTerm, 60);
    // No h-pawn: the walk stops at the open h-file.
    EXPECT_EQ(termsOf("5k1r/6p1/8/8/8/8/3Q4/3Q2K1 w - - 0 1", white).rookTerm, 0);
}

TEST(BishopTerms, TrappedBishop) {
    EXPECT_EQ(termsOf("4k3/8/8/8/8/6P1/5P1b/4K3 w - - 0 1", white).fixedBonus, 455);
    EXPECT_EQ(termsOf("4k3/8/8/8/8/8/5P1b/4K3 w - - 0 1", white).fixedBonus, 0);
    // Black's pawns shut in a white bishop on a7.
    EXPECT_EQ(termsOf("4k3/B1p5/1p6/8/8/8/8/4K3 b - - 0 1", black).fixedBonus, 455);
}

TEST(BishopTerms, PinOfAKnightToARook) {
    // Bishop b2, black knight d4 defended by c5, black rook f6 behind it.
    const EvalTerms defended = termsOf("k7/8/5r2/2p5/3n4/8/1B6/7K w - - 0 1", white);
    EXPECT_EQ(defended.pinTerm, 25);
    EXPECT_EQ(defended.threatTerm, 13);
    // Our pawn on e3 attacks d4 as well: the full pin.
    const EvalTerms contested = termsOf("k7/8/5r2/2p5/3n4/4P3/1B6/7K w - - 0 1", white);
    EXPECT_EQ(contested.pinTerm, 37);
    EXPECT_EQ(contested.threatTerm, 13);
}

TEST(MinorPieceTerms, MisplacedAndUndevelopedEnemyPieces) {
    // Black knights a8 (corner: 63 + 17) and h5 (edge: 63), bishop c8 on
    // the back rank (2 * 19 units); with two minor pieces at home and the
    // queen out, 20 for us.
    const EvalTerms t = termsOf("n1b1k3/8/8/3q3n/8/8/8/6K1 w - - 0 1", white);
    EXPECT_EQ(t.misplacedTerm, 80 + 63 + 38);
    EXPECT_EQ(t.queenTerm, 20);
    // The queen still at home: no early-queen bonus.
    EXPECT_EQ(termsOf("n1bqk3/8/8/7n/8/8/8/6K1 w - - 0 1", white).queenTerm, 0);
}

}  // namespace
}  // namespace zarvi
