// The node search's own rules, each through a small position where the
// rule decides the score: draws and mates inside the search, the check
// extension, the extensions and marks at the horizon, killers, the late-move
// reduction, the selective cuts, the quiescence search's pair analysis and
// where captures give way to the static leaf.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/makemove.h"
#include "board/notation.h"
#include "eval/evaluate.h"
#include "eval/material.h"
#include "eval/movegen.h"
#include "search/search.h"
#include "search/ttable.h"
#include "support/engine.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

class NodeTest : public test::EngineTest {
protected:
    // The game plays gameMoves from the FEN as the user's; then the line is
    // played as a search from there reaches its node: each node on the way
    // records its position and the move into it (a window far below any
    // score ends it there). start is the ply of the game position.
    void reach(const char* fen, const char* gameMoves, const char* line, int start = 0) {
        side = play(setPosition(fen), gameMoves);
        int from = 0, to = 0;
        searcher().engineSide = side;
        copyGameHistory(searcher());
        board = game->board;
        board.evasionMode = 1;
        board.undoPly = 0;
        ply = start;
        std::istringstream moves(line);
        for (std::string text; moves >> text; side = 1 - side, ++ply) {
            if (ply > start) searchNode(searcher(), board, side, ply, ply, -30000, -30001, 1);
            ASSERT_TRUE(parseMoveText(board, side, text, from, to)) << text;
            makeMove(board, from, to, side);
        }
    }
    // The node's score from a fresh table; nodeCount counts its tree.
    int search(int depth, int beta, int alpha, int extensions = 0) {
        clearTranspositionTable();
        searcher().nodeCount = 0;
        return searchNode(searcher(), board, side, ply, depth, beta, alpha, extensions);
    }
    // The node's estimate, as the selective rules compute it.
    int estimate() {
        prepareEvaluation(searcher(), board, side);
        return materialEstimate(board, side) + evaluateSide(searcher(), board, side) -
               evaluateSide(searcher(), board, 1 - side);
    }

    posicion board;
    int side = white, ply = 0;
};

// Fail-hard, a node answers within its window unless a rule fixes the
// score, so each window below keeps the rule's score out of reach.
TEST_F(NodeTest, DrawsInsideTheSearch) {
    struct { const char *fen, *gameMoves, *line; int depth, beta, alpha, score; bool drawn; } cases[] = {
        // Repetition of a game position, and of one the search met four
        // plies before with the clock at exactly 4.
        {startFen, "g1f3 g8f6 f3g1 f6g8", "g1f3", 4, 2, 1, 0, true},
        {startFen, "g1f3 g8f6 f3g1 f6g8", "b1c3", 4, 2, 1, 0, false},
        {startFen, "", "e2e3 g8f6 g1f3 f6g8 f3g1", 5, 2, 1, 0, true},
        // The opponent undid its last move with the clock at 3 or more:
        // worth a draw at least to the side to move, a rook up or down
        // (searched full width in the second case).
        {"r3k1n1/pp6/8/8/8/8/PP6/4K1N1 w - - 0 1", "", "g1f3 g8f6 f3g1", 3, -5, -10, 0, true},
        {"4k1n1/pp6/8/8/8/8/PP6/R3K1N1 w - - 0 1", "", "g1f3 g8f6 f3g1", 4, 100, -100, 0, true},
        // ... not after a capture two plies back (the clock is 2).
        {"r3k1n1/pp6/8/8/8/5p2/PP6/4K1N1 w - - 0 1", "", "g1f3 g8f6 f3g1", 3, -5, -10, 0, false},
        // Fifty moves: 100 half-moves draw, 99 do not; in check too, but a
        // mate goes first.
        {"4k3/pp6/8/8/8/8/PP6/R3K3 w - - 99 80", "", "e1f1", 1, 2, 1, 0, true},
        {"4k3/pp6/8/8/8/8/PP6/R3K3 w - - 98 80", "", "e1f1", 1, 2, 1, 0, false},
        {"4k3/pp6/8/8/8/8/PP6/4K2R w - - 99 80", "", "h1h8", 1, 2, 1, 0, true},
        {"6k1/5ppp/8/8/8/8/8/R5K1 w - - 99 80", "", "a1a8", 1, 30000, -30000, -28799, true},
        // Endings known drawn (two knights), or that the side to move
        // cannot lose (against a lone knight): alpha 0 at least (full
        // width: the quiescence search would stand pat below it), and a
        // window below 0 fails high at once.
        {"8/8/4k3/8/8/2NN4/8/4K3 b - - 0 1", "", "e6e5", 1, 2, 1, 0, true},
        {"7k/8/8/8/1n6/8/P7/K7 b - - 0 1", "", "h8g8", 2, 100, -100, 0, true},
    };
    for (const auto& c : cases) {
        reach(c.fen, c.gameMoves, c.line);
        const int score = search(c.depth, c.beta, c.alpha);
        EXPECT_EQ(score == c.score, c.drawn) << score << ": " << c.fen << " / " << c.gameMoves << " / " << c.line;
    }
}

TEST_F(NodeTest, MateScores) {
    // Mated at ply p scores p - 28800; while the engine carries out a mate
    // it announced (mateDue 0: none), one arriving on or after the due ply
    // scores p - 28750 for the side being mated.
    struct { const char* line; int mateDue; bool engineMated; int score; } cases[] = {
        {"a1a8", 0, false, -28799},           {"g1f1 g8h8 a1a8", 0, false, -28797},
        {"g1f1 g8h8 a1a8", 5, false, -28797}, {"g1f1 g8h8 a1a8", 3, false, -28747},
        {"g1f1 g8h8 a1a8", 2, false, -28747}, {"g1f1 g8h8 a1a8", 3, true, -28797},
    };
    for (const auto& c : cases) {
        reach("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", "", c.line);
        searcher().mateMode = c.mateDue != 0;
        searcher().expectedMatePly = c.mateDue;
        if (c.engineMated) searcher().engineSide = side;
        EXPECT_EQ(search(ply, 30000, -30000), c.score) << c.line << " due " << c.mateDue;
    }
}

// Black in check on a2, every evasion answered by a quiet mate: one ply
// more for the check lets the reply at depth 2 see it. Qd2+ leaves four
// evasions, Re2+ three.
TEST_F(NodeTest, CheckExtensionOncePerPathEarlyWithManyEvasions) {
    struct { const char* fen; const char* line; int depth, extensions; bool extended; } cases[] = {
        {"8/8/4R3/1K6/3Q4/8/k7/8 w - - 0 1", "d4d2", 2, 0, true},
        {"8/8/4R3/1K6/3Q4/8/k7/8 w - - 0 1", "d4d2", 2, 1, false},  // the path's extension is used
        {"8/8/4R3/1K6/3Q4/8/k7/8 w - - 0 1", "e6e2", 2, 1, true},   // fewer than four evasions
        {"8/7p/4R3/1K6/3Q4/8/k6P/8 w - - 0 1", "h2h3 h7h6 d4d2", 4, 1, true},  // ply 3
    };
    for (const auto& c : cases) {
        reach(c.fen, "", c.line);
        const int score = search(c.depth, 30000, -30000, c.extensions);
        EXPECT_EQ(score == ply + 2 - 28800, c.extended) << score << ": " << c.line << " extensions " << c.extensions;
    }
}

// At the depth limit a marked or extended node is searched full width,
// quiet moves and all, where the quiescence search tries captures only:
// its tree is larger. The last move into each node is the one that wakes
// the rule; with an extension already on the path nothing is marked.
TEST_F(NodeTest, ExtensionsAndMarksAtTheHorizon) {
    struct { const char* fen; const char* line; bool marked; } cases[] = {
        {"4k3/8/P7/8/8/8/7P/4K3 w - - 0 1", "a6a7", true},                 // pawn to the seventh
        {"4k3/ppp1q3/8/4n3/8/8/8/3R2K1 w - - 0 1", "d1e1", true},          // rook to the open e-file
        {"4k3/7p/2p5/3p4/4P3/8/5PP1/4K3 w - - 0 1", "e4d5 c6d5", true},    // recapture
        {"4k3/pp6/8/3n4/4P3/8/7P/4K1N1 w - - 0 1", "g1f3", true},          // piece attacked by a pawn
        {"4k3/pp6/8/3n4/8/4P3/7P/4K1N1 w - - 0 1", "g1f3", false},         // ... not attacked
        {"rn2k3/pQ6/8/8/8/8/5PPP/6K1 w - - 0 1", "g1h1", true},            // queen on b7 by a8
        {"b3k3/p6p/8/8/8/8/5P1P/4K1NR b - - 0 1", "e8d8", true},           // bishop on the long diagonal
        {"4k3/pp1q2p1/8/8/8/8/2R3PP/2R3K1 w - - 0 1", "c2c7", true},       // rook beside the queen
        {"4k3/pp6/8/2r5/8/8/1N4PP/6K1 w - - 0 1", "b2d3", true},           // knight fork
    };
    for (const auto& c : cases) {
        reach(c.fen, "", c.line);
        search(ply, 30000, -30000, 1);
        const int64_t quiescenceNodes = searcher().nodeCount;
        search(ply, 30000, -30000, 0);
        EXPECT_EQ(searcher().nodeCount > quiescenceNodes, c.marked) << c.fen << " / " << c.line;
    }
}

// Ra1-a8 mates; killer slots hold it or not, the other slots moves that
// are not in the list. A cut by slot 1 or 2 makes it the most trusted; a
// cut found later writes slot 2.
TEST_F(NodeTest, KillersPromotedOnCutOffs) {
    const Move mate{11, 81}, a{12, 22}, b{13, 23}, c{14, 24};
    struct { Move before[3], after[3]; } cases[] = {
        {{a, mate, b}, {mate, a, b}},
        {{a, b, mate}, {mate, a, b}},
        {{a, b, c}, {a, b, mate}},
    };
    for (const auto& k : cases) {
        reach("6k1/5ppp/8/8/8/8/8/R5K1 b - - 0 1", "", "g8h8");
        for (int i = 0; i < 3; ++i) searcher().killers[ply][i] = k.before[i];
        EXPECT_EQ(search(ply + 1, 20000, -30000), 20000);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(searcher().killers[ply][i], k.after[i]) << i;
    }
}

// Ra5-b5, onto a square the c6 pawn attacks, mates in two (cxb5 Qc1#, or
// Rb1#). Late moves like it are searched a ply shallower for the engine's
// side only, and then the mate lies beyond the horizon.
TEST_F(NodeTest, LateMoveReductionForTheEngineOnly) {
    settings.selectivity = 0;
    reach("2Q5/8/2p5/R7/8/6K1/p7/k7 w - - 0 1", "", "", 1);
    searcher().engineSide = black;
    EXPECT_EQ(search(4, 30000, -30000), 28800 - 4);
    searcher().engineSide = white;
    EXPECT_LT(search(4, 30000, -30000), 28750);
}

// The selective cuts return beta without a search. In the first position
// white is stalemated but passing looks fine; in the second black's only
// resource is to give its queen for rook and knight, a dead draw that the
// threat test, counting captures, cannot see. With selectivity off the
// node finds the draw. The window sits at the rules' figures from the
// node's estimate e: the threat test runs from e >= beta - 7 at remaining
// depth 1 and cuts from e >= beta + 125 plus the largest threat; the null
// move at remaining depth 2 or 3 needs e >= beta + 25.
TEST_F(NodeTest, SelectiveCutsAndSelectivityOff) {
    const char* stalemated = "5k1N/5Pp1/5bP1/r7/8/8/NN6/KN1r4 w - - 0 1";
    const char* queenForRook = "8/N4R2/k7/2q5/7K/8/8/5N2 w - - 0 1";
    struct { const char* fen; int r, fromEstimate; bool cut; } cases[] = {
        {stalemated, 1, -125, true},  {stalemated, 1, -124, false},   // threat allowance
        {stalemated, 2, -25, true},   {stalemated, 2, -24, false},    // null move
        {queenForRook, 1, 7, true},   {queenForRook, 1, 8, false},    // threat margin
    };
    for (const auto& c : cases) {
        reach(c.fen, "", "", 2);
        const int beta = estimate() + c.fromEstimate;
        settings.selectivity = 1;
        EXPECT_EQ(search(ply + c.r, beta, -30000), c.cut ? beta : 0) << c.fen << " r " << c.r;
        settings.selectivity = 0;
        EXPECT_EQ(search(ply + c.r, beta, -30000), 0) << c.fen << " r " << c.r;
    }
}

// The quiescence search's pair analysis: captures onto one square are
// linked; victims on one clear line that one of them moves along threaten
// each other, and so does a knight a real jump away. A knight whose line
// to the other victim is blocked threatens nothing.
TEST_F(NodeTest, QuiescencePairAnalysis) {
    struct { const char* fen; const char* captures; std::vector<int> linkedThenThreats; } cases[] = {
        {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - - 0 1", "c4d5 e4d5 ", {1, 1, 0, 0}},
        // Rook d5 and queen g5 on one rank: each threatens the other, and
        // the bishop that takes the queen is a slider too (knight 798).
        {"4k3/8/8/3r2q1/8/2N5/3B4/4K3 w - - 0 1", "c3d5 d2g5 ", {0, 0, 2335, 1250}},
        {"4k3/3r4/8/1B2n3/3P4/8/8/4K3 w - - 0 1", "d4e5 b5d7 ", {0, 0, 1250, 0}},
        {"4k3/4r3/4p3/4n3/1B1P4/8/8/4K3 w - - 0 1", "d4e5 b4e7 ", {0, 0, 0, 0}},
    };
    buscador& s = searcher();
    for (const auto& c : cases) {
        reach(c.fen, "", "", 3);
        quiescence(s, board, side, ply, ply, 30000, -30000, 0, materialEstimate(board, side));
        // The search marks the entries it has searched; the list again,
        // the analysis left alone:
        const int n = generateCaptures(s, board, side, ply);
        ASSERT_EQ(test::movesText(board, test::listed(s.captureFrom[ply], s.captureTo[ply], nullptr, n)), c.captures)
            << c.fen;
        EXPECT_EQ((std::vector<int>{s.captureLinked[ply][0], s.captureLinked[ply][1], s.captureThreat[ply][0],
                                    s.captureThreat[ply][1]}), c.linkedThenThreats) << c.fen;
    }
}

// Captures are searched up to seven plies beyond the depth limit; at eight,
// or at ply 31, the static leaf answers without a search. Without captures
// the quiescence search returns its stand-pat score even below alpha.
TEST_F(NodeTest, QuiescenceDepthAndStandPat) {
    struct { int ply, depth; bool searches; } cases[] = {{8, 1, true}, {9, 1, false}, {30, 29, true}, {31, 30, false}};
    for (const auto& c : cases) {
        reach("4k3/pp6/8/3r4/8/2N5/PP6/4K3 w - - 0 1", "", "", c.ply);  // the knight may take the rook
        search(c.depth, 30000, -30000);
        EXPECT_EQ(searcher().nodeCount > 1, c.searches) << "ply " << c.ply << " depth " << c.depth;
    }
    reach("4k3/pp6/8/8/8/8/PP2P3/4K3 w - - 0 1", "", "", 3);
    const int standPat = search(3, 30000, -30000);
    EXPECT_EQ(search(3, 30000, standPat + 500), standPat);
}

}  // namespace
}  // namespace zarvi
