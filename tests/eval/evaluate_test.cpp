// The frame of the evaluation: the positional-knowledge switch, the
// weights, the cache with its check words and its absent marker, and the
// colour mirror that every rule must respect.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "eval/evalcache.h"
#include "evalsupport.h"
#include "support/mirror.h"
#include "support/positions.h"

namespace zarvi {
namespace {

using test::evaluateFor;
using test::termsOf;

// Middlegames and endgames that between them wake most rules: castling
// rights, pins and x-rays, rooks on the seventh, passed and blocked pawns,
// pawn masses, kings on their second rank and in the endgame. The pawn
// mass reads ranks 4 and 5 for both colours, but those two ranks are each
// other's mirror, so it too must score a mirrored position alike.
const std::vector<std::string> variedPositions = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "4k3/pp6/4q3/4n3/8/8/8/R2QR1K1 w - - 0 1",
    "r1bq1rk1/pp2ppbp/2np1np1/8/3NP3/2N1BP2/PPPQ2PP/R3KB1R b KQ - 0 9",
    "2kr3r/ppp2ppp/2n5/2b1p3/4P1q1/2NP1N2/PPP1QPP1/R1B2RK1 b - - 0 12",
    "r2q1rk1/1b1nbppp/p2ppn2/1p6/3NPP2/1BN1B3/PPP1Q1PP/2KR3R w - - 0 12",
    "6k1/p2RR3/6p1/1p5p/8/5PK1/r5PP/8 w - - 0 35",
    "8/5pk1/6p1/3P3p/1p5P/1P4P1/5PK1/8 b - - 0 40",
    "8/8/3k4/8/3Kp3/8/5P2/R7 w - - 0 50",
    "2k5/ppp5/8/8/8/8/N1P5/R3K2R w - - 0 1",
    "6k1/8/8/6P1/5P1P/8/8/3Q2K1 w - - 0 1",
    "4k3/B1p5/1p6/8/8/6P1/5P1b/4K3 w - - 0 1",
    "r2qk2r/8/8/8/8/4P3/4KP2/6R1 w kq - 0 1",
    "n1b1k3/8/8/3q3n/8/8/8/6K1 b - - 0 1",
    "rnbqk2r/ppp2ppp/3b1n2/3pp3/4P3/3P1NP1/PPP2PBP/RNBQK2R w KQkq - 0 6",
    "r1b2rk1/pp1nqppp/2pbpn2/3p4/2PP4/1PN1PN2/PB1QBPPP/R4RK1 w - - 0 10",
};

TEST(EvaluationFrame, ColourMirrorScoresTheSame) {
    test::SettingsGuard guard;
    for (const std::string& fen : variedPositions) {
        int sideToMove = white;
        const posicion board = test::positionFromFen(fen, &sideToMove);
        const posicion mirror = test::mirroredPosition(board, sideToMove);
        ASSERT_TRUE(test::viewsConsistent(mirror, 1 - sideToMove)) << fen;
        for (int mover : {white, black}) {
            for (int engine : {white, black}) {
                for (int s : {white, black}) {
                    const auto x = test::accumulators(termsOf(board, s, mover, engine));
                    const auto y = test::accumulators(termsOf(mirror, 1 - s, 1 - mover, 1 - engine));
                    for (int k = 0; k < 15; ++k)
                        EXPECT_EQ(x[k], y[k]) << fen << " side " << s << " to move " << mover << " engine "
                                              << engine << " accumulator " << k;
                    test::clearEvaluationCache();
                    EXPECT_EQ(evaluateFor(board, s, mover, engine),
                              evaluateFor(mirror, 1 - s, 1 - mover, 1 - engine))
                        << fen;
                }
            }
        }
    }
}

TEST(EvaluationFrame, PositionalKnowledgeOffScoresNothing) {
    test::SettingsGuard guard;
    settings.positionalKnowledge = 0;
    test::clearEvaluationCache();
    for (const std::string& fen : variedPositions) {
        int sideToMove = white;
        const posicion board = test::positionFromFen(fen, &sideToMove);
        EXPECT_EQ(evaluateFor(board, white, sideToMove, white), 0) << fen;
        EXPECT_EQ(evaluateFor(board, black, sideToMove, white), 0) << fen;
    }
}

int plainSum(const EvalTerms& t) {
    int sum = 0;
    for (int x : test::accumulators(t)) sum += x;
    return sum;
}

TEST(EvaluationFrame, NeutralWeightsGiveThePlainSum) {
    test::SettingsGuard guard;
    for (const std::string& fen : variedPositions) {
        int sideToMove = white;
        const posicion board = test::positionFromFen(fen, &sideToMove);
        for (int s : {white, black}) {
            test::clearEvaluationCache();
            EXPECT_EQ(evaluateFor(board, s, sideToMove, black),
                      plainSum(termsOf(board, s, sideToMove, black)))
                << fen;
        }
    }
}

TEST(EvaluationFrame, EachWeightScalesItsOwnTerm) {
    test::SettingsGuard guard;
    const std::string fen = "r2q1rk1/1b1nbppp/p2ppn2/1p6/3NPP2/1BN1B3/PPP1Q1PP/2KR3R w - - 0 12";
    int sideToMove = white;
    const posicion board = test::positionFromFen(fen, &sideToMove);
    const EvalTerms t = termsOf(board, white, sideToMove, white);
    const auto term = test::accumulators(t);
    const int base = plainSum(t);
    for (int j = 1; j <= evalWeightCount; ++j) {
        // Doubling weight j adds its accumulator once more; zero removes it.
        settings.evalWeights[j] = 60;
        test::clearEvaluationCache();
        EXPECT_EQ(evaluateFor(board, white, sideToMove, white), base + term[j - 1]) << "weight " << j;
        settings.evalWeights[j] = 0;
        test::clearEvaluationCache();
        EXPECT_EQ(evaluateFor(board, white, sideToMove, white), base - term[j - 1]) << "weight " << j;
        settings.evalWeights[j] = neutralWeight;
    }
    // Truncating division of the weighted sum: 10 of 30 of a term of 7 is 2.
    for (int j = 1; j <= evalWeightCount; ++j) settings.evalWeights[j] = 0;
    settings.evalWeights[14] = 10;
    test::clearEvaluationCache();
    const EvalTerms seventh = termsOf("6k1/3R4/8/8/8/8/8/6K1 w - - 0 1", white);
    ASSERT_EQ(seventh.seventhRankTerm, 35);
    const posicion rook = test::positionFromFen("6k1/3R4/8/8/8/8/8/6K1 w - - 0 1");
    EXPECT_EQ(evaluateFor(rook, white, white, white), 35 * 10 / 30 + seventh.fixedBonus);
}

TEST(EvaluationCache, SecondCallIsServedFromTheCache) {
    test::SettingsGuard guard;
    test::clearEvaluationCache();
    const posicion board = test::positionFromFen(variedPositions[2]);
    const int first = evaluateFor(board, white, white, white);
    // A weight the cache cannot see: the stored value still comes back.
    settings.evalWeights[5] = 90;
    const int fresh =
        plainSum(termsOf(board, white, white, white)) + 2 * termsOf(board, white, white, white).knightTerm;
    ASSERT_NE(fresh, first);
    EXPECT_EQ(evaluateFor(board, white, white, white), first);
    // Black's half was never stored, so it is computed with the new weight.
    const EvalTerms b = termsOf(board, black, white, white);
    EXPECT_EQ(evaluateFor(board, black, white, white), plainSum(b) + 2 * b.knightTerm);
    EXPECT_EQ(evaluateFor(board, white, white, white), first);
}

TEST(EvaluationCache, MinusOneIsNeverFound) {
    test::SettingsGuard guard;
    // Only the rook term weighs: rook h1 attacked by the pawn on g2
    // (-18) on a file where only black has a pawn (+17), with every ray
    // shut at once.
    for (int j = 1; j <= evalWeightCount; ++j) settings.evalWeights[j] = 0;
    settings.evalWeights[7] = neutralWeight;
    const posicion board = test::positionFromFen("k7/8/8/8/8/8/6pp/6KR w - - 0 1");
    ASSERT_EQ(termsOf(board, white, white, white).rookTerm, -1);
    test::clearEvaluationCache();
    EXPECT_EQ(evaluateFor(board, white, white, white), -1);
    EXPECT_EQ(evaluationCache.entries[evalCacheIndex].value[white], absentValue);
    // Recomputed, so a new weight shows at once.
    settings.evalWeights[7] = 2 * neutralWeight;
    EXPECT_EQ(evaluateFor(board, white, white, white), -2);
}

TEST(EvaluationCache, AnotherPositionInTheSlotIsNotServed) {
    test::SettingsGuard guard;
    test::clearEvaluationCache();
    const posicion first = test::positionFromFen(variedPositions[1]);
    const posicion second = test::positionFromFen(variedPositions[2]);
    const int secondAlone = evaluateFor(second, white, white, white);
    test::clearEvaluationCache();

    // Both halves of the first position stored in one slot...
    const int firstWhite = evaluateFor(first, white, white, white);
    evaluateFor(first, black, white, white);
    const int slot = evalCacheIndex;
    ASSERT_NE(firstWhite, secondAlone);
    // ...then the second position handed the same slot: different key2.
    toMove = white;
    evalCacheIndex = slot;
    EXPECT_EQ(evaluateSide(second, white), secondAlone);
    EXPECT_EQ(evaluationCache.entries[slot].checkWord, second.key2);
    EXPECT_EQ(evaluationCache.entries[slot].value[black], absentValue);

    // Same key2 but a different key3 is another position as well.
    evaluationCache.entries[slot].checkWord = first.key2;
    evaluationCache.entries[slot].checkHalf = uint16_t(first.key3 ^ 1);
    evaluationCache.entries[slot].value[white] = 1234;
    evaluationCache.entries[slot].value[black] = 1234;
    evalCacheIndex = slot;
    EXPECT_EQ(evaluateSide(first, white), firstWhite);
    EXPECT_EQ(evaluationCache.entries[slot].value[black], absentValue);
    EXPECT_EQ(evaluationCache.entries[slot].checkHalf, first.key3);
}

TEST(EvaluationCache, ValuesAreSignedSixteenBits) {
    test::SettingsGuard guard;
    test::clearEvaluationCache();
    const posicion board = test::positionFromFen(variedPositions[0]);
    prepareEvaluation(board, white);
    evaluationCache.entries[evalCacheIndex].checkWord = board.key2;
    evaluationCache.entries[evalCacheIndex].checkHalf = board.key3;
    evaluationCache.entries[evalCacheIndex].value[black] = uint16_t(-300);
    EXPECT_EQ(evaluateSide(board, black), -300);
}

}  // namespace
}  // namespace zarvi
