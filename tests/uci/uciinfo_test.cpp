#include <gtest/gtest.h>

#include "uciinfo.h"

namespace zarvi {
namespace {

TEST(UciScore, CentipawnsFromTheEvaluationsUnits) {
    EXPECT_EQ(uciScore(225), "cp 100");  // one pawn
    EXPECT_EQ(uciScore(224), "cp 99");
    EXPECT_EQ(uciScore(0), "cp 0");
    EXPECT_EQ(uciScore(-1), "cp 0");  // truncated towards zero
    EXPECT_EQ(uciScore(-226), "cp -100");
    EXPECT_EQ(uciScore(2335), "cp 1037");  // a queen
    // Mate-range edges: 28750 itself is not a mate.
    EXPECT_EQ(uciScore(28750), "cp 12777");
    EXPECT_EQ(uciScore(-28750), "cp -12777");
    // Window bounds of the root may lie beyond every mate score.
    EXPECT_EQ(uciScore(29000), "cp 12888");
}

TEST(UciScore, MatesInMovesOfTheMatingSide) {
    EXPECT_EQ(uciScore(28799), "mate 1");   // mate at ply 1
    EXPECT_EQ(uciScore(28797), "mate 2");   // ply 3
    EXPECT_EQ(uciScore(28751), "mate 25");  // ply 49
    EXPECT_EQ(uciScore(-28798), "mate -1");  // mated at ply 2
    EXPECT_EQ(uciScore(-28796), "mate -2");
    EXPECT_EQ(uciScore(-28800), "mate 0");   // mated at the root
}

TEST(UciScore, LateMatesOfAnAnnouncedMate) {
    // Announced for ply 3 but found at ply 5: 28750 - 5.
    EXPECT_EQ(uciScore(28745, true), "mate 3");
    EXPECT_EQ(uciScore(28745), "cp 12775");
    EXPECT_EQ(uciScore(28797, true), "mate 2");
    // Below the band of plies a search reaches it is a score again.
    EXPECT_EQ(uciScore(28718, true), "cp 12763");
    EXPECT_EQ(uciScore(-28745, true), "cp -12775");
}

TEST(InfoLine, CarriesTheFiguresInOrder) {
    ThinkingReport r;
    r.depth = 7;
    r.score = 450;
    r.lowerBound = true;
    r.nodes = 123456;
    r.milliseconds = 250;
    r.variation = "e2e4 e7e5";
    EXPECT_EQ(infoLine(r), "info depth 7 score cp 200 lowerbound nodes 123456 nps 493824 time 250 pv e2e4 e7e5");

    r.lowerBound = false;
    r.upperBound = true;
    r.score = -28798;
    r.milliseconds = 0;  // no division by zero in the first millisecond
    r.variation = "";
    EXPECT_EQ(infoLine(r), "info depth 7 score mate -1 upperbound nodes 123456 nps 123456000 time 0");
}

TEST(InfoLine, VariationTextOfTheThinkingDisplay) {
    EXPECT_EQ(variationMoves(" e2e4 e7e5 g1f3 ."), "e2e4 e7e5 g1f3");
    EXPECT_EQ(variationMoves(" e7e8q ."), "e7e8q");
    EXPECT_EQ(variationMoves(" ."), "");
    EXPECT_EQ(variationMoves(""), "");
}

}  // namespace
}  // namespace zarvi
