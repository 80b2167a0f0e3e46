// The move generators: walks of the legal move trees of known positions
// check at every node that the engine's answers to one question agree with
// the legal moves (whose counts the perft tests pin): the pseudo-legal
// generators with the king-safety filter, the quiet checks, the check tests,
// the user-move checker and the plausibility test of table moves; and the
// pawn steps among the quiet checks.
#include <gtest/gtest.h>

#include <algorithm>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "board/vju.h"
#include "eval/movegen.h"
#include "search/search.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::ListedMove;
using test::MoveList;

bool isPromotion(const posicion& board, int from) {
    return typeOf(board.squares[from]) == pawn && promotionRank[sideOf(board.squares[from])][from];
}
int destination(const posicion& board, const ListedMove& m) {
    return isPromotion(board, m.from) ? promotionDestination(m.from, m.to, sideOf(board.squares[m.from])) : m.to;
}
bool isCastling(const posicion& board, const ListedMove& m) {
    return typeOf(board.squares[m.from]) == king && std::abs(m.to - m.from) == 2;
}
bool isEnPassant(const posicion& board, const ListedMove& m) {
    return typeOf(board.squares[m.from]) == pawn && !isPromotion(board, m.from) && (m.to - m.from) % 10 != 0 &&
           board.squares[m.to] == 0;
}
bool isCapture(const posicion& board, const ListedMove& m) {
    return board.squares[destination(board, m)] != 0 || isEnPassant(board, m);
}

// Each failure names the node; a wrong generator fails at many.
#define CHECK_AT(condition, what) \
    EXPECT_TRUE(condition) << what << " in " << writeFen(board, FenGame{side, 1})

// Captures plus quiet moves, filtered by keepsKingSafe, are the legal
// moves but the under-promotions to rook and bishop; each list holds its
// own kind of move with the right piece type.
void checkPseudoLegal(buscador& s, posicion& board, int side, int ply, MoveList legal, const MoveList& quiet) {
    const MoveList captures =
        test::listed(s.captureFrom[ply], s.captureTo[ply], s.kind[ply], generateCaptures(s, board, side, ply));
    MoveList kept;
    for (const MoveList* list : {&captures, &quiet}) {
        for (const ListedMove& m : *list) {
            CHECK_AT(m.kind == typeOf(board.squares[m.from]) && sideOf(board.squares[m.from]) == side &&
                         (list == &captures) == (isCapture(board, m) || isPromotion(board, m.from)),
                     test::movesText(board, {m}));
            if (keepsKingSafe(board, board.kingSquare[side], m.from, m.to, side)) kept.push_back(m);
        }
    }
    legal.erase(std::remove_if(legal.begin(), legal.end(),
                               [&](auto& m) { return isPromotion(board, m.from) && (m.to & 7) != queen && (m.to & 7) != knight; }),
                legal.end());
    std::sort(kept.begin(), kept.end());
    std::sort(legal.begin(), legal.end());
    CHECK_AT(kept == legal, "pseudo-legal moves that keep the king safe are not the legal ones");
}

// The quiet checks are quiet moves; those of the pieces are exactly the
// quiet piece moves that attack the king from their destination.
void checkQuietChecks(buscador& s, posicion& board, int side, int ply, const MoveList& quiet) {
    const int target = board.kingSquare[1 - side];
    const MoveList checks =
        test::listed(s.fullFrom[ply], s.fullTo[ply], s.kind[ply], generateQuietChecks(s, board, side, ply));
    MoveList pieceChecks, expected;
    for (const ListedMove& m : checks) {
        CHECK_AT(std::find(quiet.begin(), quiet.end(), m) != quiet.end() && !isCastling(board, m) &&
                     m.kind == typeOf(board.squares[m.from]),
                 "quiet check " << test::movesText(board, {m}));
        if (m.kind != pawn) pieceChecks.push_back(m);
    }
    static const SquareTable* lines[6] = {nullptr, nullptr, &knightJump, &bishopDirection, &rookDirection,
                                          &queenDirection};
    for (const ListedMove& m : quiet) {
        if (m.kind < knight || m.kind > queen) continue;
        makeMove(board, m.from, m.to, side);
        if ((*lines[m.kind])[m.to][target] && (m.kind == knight || isPathClear(board, m.to, target)))
            expected.push_back(m);
        unmakeMove(board, m.to, m.from, side);
    }
    CHECK_AT(pieceChecks == expected, "quiet checks of the pieces differ from the direct checks");
}

// The user's checker accepts exactly the legal moves, promotions once, and
// leaves the position and the evasion mode as they were.
void checkUserMoves(posicion& board, int side, const MoveList& legal) {
    const std::string before = test::positionSignature(board);
    vju checker;
    for (int from = 11; from <= 88; ++from) {
        for (int to = 11; to <= 88; ++to) {
            if (!onBoard[from] || !onBoard[to]) continue;
            const bool isLegal = std::any_of(legal.begin(), legal.end(), [&](const ListedMove& m) {
                return m.from == from && destination(board, m) == to;
            });
            checker.promotion = 0;
            const bool accepted = checkUserMove(checker, board, from, to, side) == 1;
            CHECK_AT(accepted == isLegal && (!accepted || (checker.promotion == 1) == isPromotion(board, from)),
                     "user move " << squareName(from) << squareName(to));
        }
    }
    CHECK_AT(board.evasionMode == 1 && test::positionSignature(board) == before, "the user-move checker changed things");
}

// Every legal move made: the check tests against the full attack test,
// the views against a recomputation. moveGivesCheck leaves castling and
// en passant out, and a promoted slider may check through the square its
// pawn left, which the test counts as occupied: it may only miss those.
void checkMadeMoves(posicion& board, int side, const MoveList& legal) {
    const int target = board.kingSquare[1 - side];
    for (const ListedMove& m : legal) {
        const bool promotion = isPromotion(board, m.from), covered = !isCastling(board, m) && !isEnPassant(board, m);
        const int type = promotion ? m.to & 7 : typeOf(board.squares[m.from]);
        const bool predicted = covered && moveGivesCheck(board, m.from, destination(board, m), type, target);
        makeMove(board, m.from, m.to, side);
        const bool check = isAttacked(board, target, side) != 0;
        CHECK_AT((lastMoveGivesCheck(board, target, side) != 0) == check && test::viewsConsistent(board, 1 - side),
                 "after " << test::movesText(board, {m}));
        unmakeMove(board, m.to, m.from, side);
        if (covered) {
            CHECK_AT(promotion && type != knight ? !predicted || check : predicted == check,
                     "moveGivesCheck for " << test::movesText(board, {m}));
        }
    }
}

uint64_t walk(posicion& board, int side, int depth, int ply, int userMovePlies) {
    buscador& s = test::sharedSearcher();
    const MoveList legal = test::legalMoves(s, board, side, ply);
    const MoveList quiet =
        test::listed(s.fullFrom[ply], s.fullTo[ply], s.kind[ply], generateQuietMoves(s, board, side, ply));
    for (const ListedMove& m : legal)
        CHECK_AT(isPlausibleMove(board, side, m.from, m.to), "implausible " << test::movesText(board, {m}));
    if (isAttacked(board, board.kingSquare[side], 1 - side)) {
        // The evasion shortcut loses no answer: the full test gives the
        // same moves, castling apart.
        MoveList full =
            test::listed(s.fullFrom[ply], s.fullTo[ply], nullptr, listLegalMoves(s, board, side, ply, 0));
        full.erase(std::remove_if(full.begin(), full.end(), [&](auto& m) { return isCastling(board, m); }), full.end());
        CHECK_AT(full == legal, "evasion mode changes the legal moves");
    } else {
        checkPseudoLegal(s, board, side, ply, legal, quiet);
    }
    if (ply < userMovePlies) checkUserMoves(board, side, legal);
    checkQuietChecks(s, board, side, ply, quiet);
    checkMadeMoves(board, side, legal);
    if (depth == 0) return 1;
    uint64_t leaves = 0;
    for (const ListedMove& m : legal) {
        makeMove(board, m.from, m.to, side);
        leaves += walk(board, 1 - side, depth - 1, ply + 1, userMovePlies);
        unmakeMove(board, m.to, m.from, side);
    }
    return leaves;
}

TEST(CrossCheck, EveryNodeOfTheMoveTrees) {
    struct { const char* fen; int depth; uint64_t leaves; int userMovePlies; } walks[] = {
        {startFen, 2, 400, 2},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039, 1},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238, 3},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 2, 264, 2},
        {"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 2, 264, 1},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486, 1},
        // Castling through, into and out of attacks, en passant against a
        // pin and against the checking pawn: for the user-move checker.
        {"r3k2r/1b4bq/8/8/8/8/7B/R3K2R w KQkq - 0 1", 2, 1141, 2},
        {"1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1", 1, 16, 1},
        {"4k1r1/8/8/8/8/8/8/4K2R w K - 0 1", 1, 14, 1},
        {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", 1, 23, 1},
        {"4k3/8/8/KPp4r/8/8/8/8 w - c6 0 1", 1, 4, 1},
        {"8/8/8/4k3/3Pp3/8/8/4K3 b - d3 0 1", 1, 8, 1},
    };
    for (const auto& w : walks) {
        int side = white;
        posicion board = test::positionFromFen(w.fen, &side);
        EXPECT_EQ(walk(board, side, w.depth, 0, w.userMovePlies), w.leaves) << w.fen;
    }
}

// Table moves come from earlier searches or from key collisions: the
// plausibility test turns away what cannot be a move of this position.
TEST(CrossCheck, ImplausibleTableMovesAreRefused) {
    struct { const char* fen; int from, to; } refused[] = {
        // Onto its own pawn; black's king with white to move; nothing on
        // d4; b1-b3 is no knight jump; c1-a3 through b2; e2xd3 onto an
        // empty square.
        {startFen, 15, 25}, {startFen, 85, 75}, {startFen, 44, 54}, {startFen, 12, 32},
        {startFen, 13, 31}, {startFen, 25, 34},
        {"4k3/8/8/8/8/4p3/4P3/4K3 w - - 0 1", 25, 45},  // over the e3 pawn
        {"4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1", 55, 64},   // en passant without the double step
        {"4k3/8/8/8/8/8/8/4K2R w - - 0 1", 15, 17},     // castling without the right
        {"4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1", 15, 17},  // across f1, which the rook attacks
        {"4k3/8/8/8/8/8/4r3/R3K2R w KQ - 0 1", 15, 13},  // out of check
        {"4k3/4P3/8/8/8/8/8/4K3 w - - 0 1", 75, 85},    // a square where a promotion code belongs
        {"4k3/4P3/8/8/8/8/8/4K3 w - - 0 1", 75, promotionCode(0, queen)},  // nothing on d8
    };
    for (const auto& r : refused) {
        int side = white;
        const posicion board = test::positionFromFen(r.fen, &side);
        EXPECT_FALSE(isPlausibleMove(board, side, r.from, r.to)) << r.fen << ' ' << r.from << '-' << r.to;
    }
}

// Besides the direct checks, the quiet checks hold safe pawn steps to the
// seventh rank or onto a square attacking a piece: b2-b4 and g2-g3, not
// f4-f5, which the g6 pawn guards, nor b2-b4 by the a5 pawn. The a1 rook's
// line to e1 is shut by the knight, to e8 by the e7 pawn.
TEST(Generators, QuietChecks) {
    struct { const char* fen; const char* moves; } cases[] = {
        {"4k3/8/2P3p1/2n5/4NP1b/8/1P4P1/R6K w - - 0 1", "e4d6 e4f6 a1a8 b2b4 g2g3 c6c7 "},
        {"4k3/8/8/p7/8/8/1P6/4K3 w - - 0 1", ""},
        {"4k3/4p3/8/8/8/8/8/R6K w - - 0 1", "a1a8 "},
    };
    buscador& s = test::sharedSearcher();
    for (const auto& c : cases) {
        const posicion board = test::positionFromFen(c.fen);
        const int n = generateQuietChecks(s, board, white, 0);
        EXPECT_EQ(test::movesText(board, test::listed(s.fullFrom[0], s.fullTo[0], nullptr, n)), c.moves) << c.fen;
    }
}

}  // namespace
}  // namespace zarvi
