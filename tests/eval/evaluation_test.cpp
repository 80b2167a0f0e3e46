// The evaluation against figures worked out by hand from its rules, the
// colour mirror that every rule must respect, and the endgame knowledge on
// the positions its rules name.
#include <gtest/gtest.h>

#include <cstring>

#include "board/fen.h"
#include "eval/endgame.h"
#include "eval/evalcache.h"
#include "eval/evaluate.h"
#include "eval/material.h"
#include "eval/settings.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

EvalTerms termsOf(const posicion& board, int s, int sideToMove, int engine) {
    EvalInputs inputs;
    inputs.toMove = sideToMove;
    inputs.engineSide = engine;
    EvalTerms terms;
    collectTerms(inputs, board, s, terms);
    return terms;
}

// evaluateSide with the inputs the node search sets; the searcher's
// construction allocates the cache.
int evaluateFor(const posicion& board, int s, int sideToMove, int engine) {
    buscador& searcher = test::sharedSearcher();
    searcher.engineSide = engine;
    prepareEvaluation(searcher, board, sideToMove);
    return evaluateSide(searcher, board, s);
}

struct SettingsGuard {
    Settings saved = settings;
    ~SettingsGuard() { settings = saved; }
};

// Scored for white with white to move and the engine white, unless the
// row says otherwise. The phase factors: passed pawns (80 - their units)
// / 65, structure (76 - their units) / 61, the centre our units / 30.
struct Figure { const char* fen; int EvalTerms::*term; int figure; int engine = white; };

const Figure figures[] = {
    // Pawns: doubled and isolated a-pawns 28 + 2 * 11; weak too when we
    // have a rook, 20 each.
    {"3qk2r/p7/p7/8/8/8/8/1N2K3 w - - 0 1", &EvalTerms::pawnStructureTerm, 50},
    {"3qk2r/p7/p7/8/8/8/8/1R2K3 w - - 0 1", &EvalTerms::pawnStructureTerm, 90},
    // Passed a-pawn 116, unstoppable in a pawn ending: five times, 80/65.
    {"7k/8/8/P7/8/8/8/7K w - - 0 1", &EvalTerms::passedPawnTerm, 713},
    {"8/2k5/8/P7/8/8/8/7K w - - 0 1", &EvalTerms::passedPawnTerm, 142},  // caught by c7
    // Pawn mass on ranks 4 and 5 by the kings' wing, from 10 units.
    {"6k1/8/8/6P1/5P1P/8/8/1K1Q4 w - - 0 1", &EvalTerms::pawnMassTerm, 36},
    // Centre control 23, d/e pawns 21, supported e4 and cramped d7 66.
    {"4k3/3p4/8/8/4P3/3P4/8/3QK3 w - - 0 1", &EvalTerms::centreTerm, 36},
    // King safety: fianchetto 5 * 20 - 38; second rank 2 (or 1) * 20 * 2/3.
    {"r2qk2r/8/8/8/8/6P1/5PBP/6K1 w - - 0 1", &EvalTerms::kingSafetyTerm, 62},
    // Endgame king: d4 38 plus 35 next to a bare king, or 15 beside a pawn.
    // Edge rook against an uncastled king c8: 26 * 13 / 30, then its zone.
    {"2k5/ppp5/8/8/8/8/N1P5/R3K2R w - - 0 1", &EvalTerms::kingAttackTerm, 15},
    // Open file beside their bare king: 113 * 17 / 30 and the zone; a
    // seventh more against the human's king.
    {"7k/8/8/8/8/8/8/NNNN2RK w - - 0 1", &EvalTerms::kingAttackTerm, 74, black},
    // Knight d5: square 45, outpost 4, support (9 * 30) >> 3.
    {"r5k1/5ppp/8/3N4/2P5/8/8/QQR3KB w - - 0 1", &EvalTerms::knightTerm, 82},
    // Doubled rooks on an open file (92 + 76) and a half-open one (51 + 55).
    {"7k/8/8/8/QQ6/8/3R4/3R3K w - - 0 1", &EvalTerms::rookTerm, 168},
    // Pins and x-rays; the pinned corner bishop 250 and the trapped one 455.
    {"4k3/q7/8/8/8/8/b7/R3K3 w - - 0 1", &EvalTerms::pinTerm, 34},
    {"4k3/q7/8/8/8/8/b7/R3K3 w - - 0 1", &EvalTerms::fixedBonus, 250},
    {"4k3/pp6/4q3/4n3/8/8/8/R2QR1K1 w - - 0 1", &EvalTerms::pinTerm, 384},  // e-file: 70 * 5 + 34
    {"4k3/8/8/8/8/6P1/5P1b/4K3 w - - 0 1", &EvalTerms::fixedBonus, 455},
    // Rooks and queen on the seventh: king and pawn, both, king only, pawn.
    {"6k1/p2R4/8/8/8/8/8/6K1 w - - 0 1", &EvalTerms::seventhRankTerm, 51},
    // Their knights a8 (63 + 17) and h5 (63), bishop c8 at home (2 * 19).
    {"n1b1k3/8/8/3q3n/8/8/8/6K1 w - - 0 1", &EvalTerms::misplacedTerm, 181},
};

TEST(Evaluation, FiguresWorkedByHand) {
    for (const Figure& f : figures) {
        int sideToMove = white;
        const posicion board = test::positionFromFen(f.fen, &sideToMove);
        EXPECT_EQ(termsOf(board, white, sideToMove, f.engine).*f.term, f.figure) << f.fen;
    }

    // The material estimate: the difference, halved (arithmetic shift) with
    // opposite bishops, each extra pawn worth 64 less twice the units of
    // the side with fewer pawns, a pawnless piece up worth a pawn.
    struct { const char* fen; int side, figure; } estimates[] = {
        {"4k3/5pp1/8/4b3/8/8/4PPP1/3BK3 w - - 0 1", white, 170}, {"4k3/8/8/8/8/8/r7/3NKR2 w - - 0 1", white, 225},
        {"4k3/4p3/8/8/2r5/8/3PP3/3QK3 w - - 0 1", white, 1364}, {"4k3/8/8/8/8/8/2PPP3/4K3 w - - 0 1", black, -867},
        // The pieces' worth: 1250 + 798 + 835 + 2335.
        {"4k3/pp6/8/8/8/8/PP6/RNBQK3 w - - 0 1", white, 5218},
    };
    for (const auto& e : estimates)
        EXPECT_EQ(materialEstimate(test::positionFromFen(e.fen), e.side), e.figure) << e.fen << ' ' << e.side;

    // The weights: the weighted sum divided by 30, truncated. Only the
    // seventh-rank term (35) weighs, or only the rook term (-1: attacked
    // by the g2 pawn -18, on a file only black has a pawn on +17).
    SettingsGuard guard;
    struct { const char* fen; int weight, value, figure; } weighted[] = {
        {"6k1/3R4/8/8/8/8/8/6K1 w - - 0 1", 14, 10, 11},
        {"k7/8/8/8/8/8/6pp/6KR w - - 0 1", 7, 30, -1},
        {"k7/8/8/8/8/8/6pp/6KR w - - 0 1", 7, 60, -2},
    };
    for (const auto& w : weighted) {
        for (int j = 1; j <= evalWeightCount; ++j) settings.evalWeights[j] = j == w.weight ? w.value : 0;
        clearEvaluationCache();
        EXPECT_EQ(evaluateFor(test::positionFromFen(w.fen), white, white, white), w.figure) << w.fen;
    }
}

// Middlegames and endgames that between them wake most rules.
const char* variedPositions[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "4k3/pp6/4q3/4n3/8/8/8/R2QR1K1 w - - 0 1",
    "r2q1rk1/1b1nbppp/p2ppn2/1p6/3NPP2/1BN1B3/PPP1Q1PP/2KR3R w - - 0 12",
    "2k5/ppp5/8/8/8/8/N1P5/R3K2R w - - 0 1",
    "n1b1k3/8/8/3q3n/8/8/8/6K1 b - - 0 1",
};

// Ranks flipped, colours and side to move swapped; the piece lists keep
// their order, since some rules read a list's first entry.
posicion mirrored(const posicion& board, int sideToMove) {
    auto flip = [](int s) { return 10 * (9 - rankOf(s)) + fileOf(s); };
    const PositionSetup original = describePosition(board, sideToMove);
    PositionSetup setup{};
    for (int s = 11; s <= 88; ++s)
        if (original.squares[s]) setup.squares[flip(s)] = original.squares[s] ^ blackPiece;
    for (int side = 0; side < 2; ++side) {
        setup.canCastleShort[side] = original.canCastleShort[1 - side];
        setup.canCastleLong[side] = original.canCastleLong[1 - side];
    }
    setup.epSquare = original.epSquare ? flip(original.epSquare) : 0;
    setup.halfmoveClock = original.halfmoveClock;
    setup.sideToMove = 1 - sideToMove;
    posicion mirror;
    setupPosition(mirror, setup);
    for (int side = 0; side < 2; ++side)
        for (int type = pawn; type <= queen; ++type)
            for (int i = 1; i <= board.pieceList(side, type)[0]; ++i)
                mirror.pieceList(1 - side, type)[i] = flip(board.pieceList(side, type)[i]);
    return mirror;
}

TEST(Evaluation, ColourMirrorScoresAlike) {
    SettingsGuard guard;
    for (const char* fen : variedPositions) {
        int sideToMove = white;
        const posicion board = test::positionFromFen(fen, &sideToMove);
        const posicion mirror = mirrored(board, sideToMove);
        ASSERT_TRUE(test::viewsConsistent(mirror, 1 - sideToMove)) << fen;
        for (int mover : {white, black})
            for (int engine : {white, black})
                for (int s : {white, black}) {
                    // Every accumulator alike, not just their weighted sum.
                    const EvalTerms x = termsOf(board, s, mover, engine);
                    const EvalTerms y = termsOf(mirror, 1 - s, 1 - mover, 1 - engine);
                    EXPECT_EQ(std::memcmp(&x, &y, sizeof x), 0)
                        << fen << " side " << s << " to move " << mover << " engine " << engine;
                    clearEvaluationCache();
                    EXPECT_EQ(evaluateFor(board, s, mover, engine), evaluateFor(mirror, 1 - s, 1 - mover, 1 - engine))
                        << fen;
                }
        // Without positional knowledge the evaluation scores nothing.
        settings.positionalKnowledge = 0;
        EXPECT_EQ(evaluateFor(board, white, sideToMove, white), 0) << fen;
        settings.positionalKnowledge = 1;
    }
}

TEST(Endgame, Knowledge) {
    // probeEndgame for the side to move of the FEN.
    struct { const char* fen; int answer; } cases[] = {
        {"8/8/8/3k4/8/8/8/2NNK3 w - - 0 1", endgameDraw},     // two knights cannot force mate
        {"7k/8/8/3K4/8/8/r7/6R1 w - - 0 1", endgameCannotLose},  // rook each, our king off the edge
        {"7k/8/8/8/1n6/8/P7/K7 w - - 0 1", endgameCannotLose},
        {"8/8/3b4/8/8/2k5/7p/6K1 w - - 0 1", endgameDraw},    // the wrong bishop
        {"8/8/4b3/8/8/2k5/7p/6K1 w - - 0 1", endgameUnknown}, // the right one (h1's colour)
        {"8/8/4k3/4p3/8/4K3/8/8 w - - 0 1", endgameDraw},     // our king two squares before the pawn
        {"7Q/8/6K1/8/8/8/2p5/1k6 w - - 0 1", endgameDraw},    // queen against c2, our king 5 away
        {"8/7Q/8/5K2/8/8/2p5/1k6 w - - 0 1", endgameUnknown}, // 4 away, on the b1-c2 diagonal
        {"R7/6k1/8/8/8/8/p1K5/r7 w - - 0 1", endgameDraw},    // rook behind the a-pawn
        {"R7/6k1/8/8/8/8/p4K2/r7 w - - 0 1", endgameUnknown}, // our king too far
    };
    for (const auto& c : cases) {
        int u = white;
        const posicion board = test::positionFromFen(c.fen, &u);
        EXPECT_EQ(probeEndgame(board, u, 1 - u), c.answer) << c.fen;
    }
}

}  // namespace
}  // namespace zarvi
