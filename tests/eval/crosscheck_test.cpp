// Walks the legal move trees of known positions and checks at every node
// that the engine's answers to one question agree: the legal and the
// pseudo-legal generators, the check tests and the full attack test, the
// user-move checker, the capture gains.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "board/attacks.h"
#include "board/fen.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "board/vju.h"
#include "eval/capturegain.h"
#include "eval/movegen.h"
#include "support/positions.h"
#include "support/searcher.h"

namespace zarvi {
namespace {

using test::positionFromFen;

struct Move3 {
    int from, to, kind;
    bool operator==(const Move3& o) const { return from == o.from && to == o.to; }
    bool operator<(const Move3& o) const { return from != o.from ? from < o.from : to < o.to; }
};
using Moves = std::vector<Move3>;

class CrossCheck {
public:
    explicit CrossCheck(int userMovePlies) : userMovePlies_(userMovePlies) {}

    // Checks every node down to depth (its moves are made once more for
    // the check tests) and returns the perft count of that depth.
    uint64_t walk(posicion& board, int side, int depth, int ply = 0) {
        const Moves legal = checkNode(board, side, ply);
        if (depth == 0) return 1;
        uint64_t leaves = 0;
        for (const Move3& m : legal) {
            makeMove(board, m.from, m.to, side);
            leaves += walk(board, 1 - side, depth - 1, ply + 1);
            unmakeMove(board, m.to, m.from, side);
        }
        return leaves;
    }

    std::vector<std::string> failures;  // the first few

private:
    void fail(const posicion& board, int side, const std::string& what) {
        if (failures.size() < 10) failures.push_back(what + " in " + writeFen(board, FenGame{side, 1}));
    }

    static bool isPromotion(const posicion& board, int from) {
        const int piece = board.squares[from];
        return typeOf(piece) == pawn && promotionRank[sideOf(piece)][from];
    }
    static int destination(const posicion& board, int from, int to) {
        return isPromotion(board, from) ? promotionDestination(from, to, sideOf(board.squares[from])) : to;
    }
    static bool isCastling(const posicion& board, const Move3& m) {
        return typeOf(board.squares[m.from]) == king && std::abs(m.to - m.from) == 2;
    }
    static bool isEnPassant(const posicion& board, const Move3& m) {
        return typeOf(board.squares[m.from]) == pawn && !isPromotion(board, m.from) &&
               (m.to - m.from) % 10 != 0 && board.squares[m.to] == 0;
    }
    static bool isCapture(const posicion& board, int side, const Move3& m) {
        const int victim = board.squares[destination(board, m.from, m.to)];
        return (victim != 0 && sideOf(victim) != side) || isEnPassant(board, m);
    }

    Moves list(const int* from, const int* to, const int* kind, int n) {
        Moves moves;
        for (int i = 0; i < n; ++i) moves.push_back({from[i], to[i], kind ? kind[i] : 0});
        return moves;
    }

    Moves legalMoves(posicion& board, int side, int ply, int mode) {
        buscador& s = test::sharedSearcher();
        evasionMode = mode;
        const int n = generateLegalMoves(s, board, side, ply);
        evasionMode = 1;
        return list(s.fullFrom[ply], s.fullTo[ply], nullptr, n);
    }

    Moves checkNode(posicion& board, int side, int ply) {
        const int opp = 1 - side;
        const int k = board.kingSquare[side];
        const bool inCheck = isAttacked(board, k, opp) != 0;
        const Moves legal = legalMoves(board, side, ply, inCheck);

        Moves sorted = legal;
        std::sort(sorted.begin(), sorted.end());
        if (std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end()) fail(board, side, "duplicate legal move");

        if (inCheck) checkEvasionShortcut(board, side, ply, legal);
        else checkPseudoLegalGenerators(board, side, ply, legal, sorted);
        // Before any move is made here: taking back a promotion puts the
        // pawn at the end of its list, and the gains follow list order.
        checkCaptureGains(board, side, legal);
        if (ply < userMovePlies_) checkUserMoves(board, side, legal);
        checkQuietChecks(board, side, ply);
        checkMadeMoves(board, side, legal);
        return legal;
    }

    // In check, the one-lookup rejection must lose no answer: the full test
    // gives the same moves, castling apart.
    void checkEvasionShortcut(posicion& board, int side, int ply, const Moves& legal) {
        Moves full = legalMoves(board, side, ply, 0);
        full.erase(std::remove_if(full.begin(), full.end(), [&](const Move3& m) { return isCastling(board, m); }),
                   full.end());
        if (full != legal) fail(board, side, "evasion mode changes the legal moves");
    }

    // Not in check: captures plus quiet moves, filtered by keepsKingSafe,
    // are the legal moves but the under-promotions.
    void checkPseudoLegalGenerators(posicion& board, int side, int ply, const Moves& legal, const Moves& sorted) {
        buscador& s = test::sharedSearcher();
        const int k = board.kingSquare[side];
        const Moves captures = list(s.captureFrom[ply], s.captureTo[ply], s.kind[ply],
                                    generateCaptures(s, board, side, ply));
        Moves pseudo = captures;
        const Moves quiet = list(s.fullFrom[ply], s.fullTo[ply], s.kind[ply], generateQuietMoves(s, board, side, ply));
        pseudo.insert(pseudo.end(), quiet.begin(), quiet.end());

        Moves kept;
        for (const Move3& m : pseudo) {
            if (m.kind != typeOf(board.squares[m.from]) || sideOf(board.squares[m.from]) != side)
                fail(board, side, "wrong kind or side of " + describe(board, m));
            if (keepsKingSafe(board, k, m.from, m.to, side)) kept.push_back(m);
        }
        for (const Move3& m : quiet)
            if (isCapture(board, side, m) || isPromotion(board, m.from))
                fail(board, side, "quiet list holds " + describe(board, m));
        for (const Move3& m : captures)
            if (!isCapture(board, side, m) && !isPromotion(board, m.from))
                fail(board, side, "capture list holds " + describe(board, m));

        Moves expected;
        for (const Move3& m : sorted) {
            const bool underPromotion = isPromotion(board, m.from) && (m.to & 7) != queen && (m.to & 7) != knight;
            if (!underPromotion) expected.push_back(m);
        }
        std::sort(kept.begin(), kept.end());
        if (kept != expected) fail(board, side, "pseudo-legal moves that keep the king safe are not the legal ones");

        // Within one piece type, each pseudo-legal list keeps the legal order.
        for (const Moves* generated : {&captures, &quiet}) {
            for (int type = pawn; type <= king; ++type) {
                Moves a, b;
                for (const Move3& m : *generated)
                    if (m.kind == type && std::binary_search(kept.begin(), kept.end(), m)) a.push_back(m);
                for (const Move3& m : legal)
                    if (std::find(a.begin(), a.end(), m) != a.end()) b.push_back(m);
                if (a != b) fail(board, side, "generation order differs from the legal order");
            }
        }
    }

    void checkQuietChecks(posicion& board, int side, int ply) {
        buscador& s = test::sharedSearcher();
        const int target = board.kingSquare[1 - side];
        const Moves quiet = list(s.fullFrom[ply], s.fullTo[ply], s.kind[ply], generateQuietMoves(s, board, side, ply));
        const Moves checks =
            list(s.fullFrom[ply], s.fullTo[ply], s.kind[ply], generateQuietChecks(s, board, side, ply));

        Moves pieceChecks;
        for (const Move3& m : checks) {
            if (std::find(quiet.begin(), quiet.end(), m) == quiet.end() || isCastling(board, m) ||
                m.kind != typeOf(board.squares[m.from]))
                fail(board, side, "quiet check " + describe(board, m) + " is no quiet move");
            if (m.kind != pawn) pieceChecks.push_back(m);
        }
        // The piece moves among the quiet ones that attack the king from
        // their destination, found after making them.
        Moves expected;
        for (const Move3& m : quiet) {
            if (m.kind < knight || m.kind > queen) continue;
            makeMove(board, m.from, m.to, side);
            static const SquareTable* lines[6] = {nullptr, nullptr, nullptr, &bishopDirection, &rookDirection,
                                                  &queenDirection};
            const bool givesCheck = m.kind == knight
                                        ? knightJump[m.to][target] != 0
                                        : (*lines[m.kind])[m.to][target] != 0 && isPathClear(board, m.to, target);
            unmakeMove(board, m.to, m.from, side);
            if (givesCheck) expected.push_back(m);
        }
        if (pieceChecks != expected) fail(board, side, "quiet checks of the pieces differ from the direct checks");
    }

    // Every legal move made: the check tests against the full attack test,
    // and the views against a recomputation.
    void checkMadeMoves(posicion& board, int side, const Moves& legal) {
        const int opp = 1 - side;
        const int target = board.kingSquare[opp];
        for (const Move3& m : legal) {
            const int type = typeOf(board.squares[m.from]);
            const bool promotion = isPromotion(board, m.from);
            const bool covered = !isCastling(board, m) && !isEnPassant(board, m);
            const int movedType = promotion ? m.to & 7 : type;
            const int predicted =
                covered ? moveGivesCheck(board, m.from, destination(board, m.from, m.to), movedType, target) : 0;
            makeMove(board, m.from, m.to, side);
            const bool check = isAttacked(board, target, side) != 0;
            if ((lastMoveGivesCheck(board, target, side) != 0) != check)
                fail(board, opp, "lastMoveGivesCheck wrong after the last move");
            if (!test::viewsConsistent(board, opp)) fail(board, opp, "views inconsistent after the last move");
            unmakeMove(board, m.to, m.from, side);
            // A promoted slider may check through the square its pawn left,
            // which the test counts as occupied: it may only miss those.
            const bool exact = !promotion || (m.to & 7) == knight;
            if (covered && (exact ? (predicted != 0) != check : (predicted != 0 && !check)))
                fail(board, side, "moveGivesCheck wrong for " + describe(board, m));
        }
    }

    void checkCaptureGains(posicion& board, int side, const Moves& legal) {
        buscador& s = test::sharedSearcher();
        evasionMode = 0;
        const int n = collectCaptureGains(s, board, side);
        evasionMode = 1;
        const std::vector<int> gains(s.captureGains, s.captureGains + n);

        std::vector<int> expected;
        for (int type : {knight, pawn, bishop, rook, queen, king}) {
            for (const Move3& m : legal) {
                if (typeOf(board.squares[m.from]) != type) continue;
                if (!isCapture(board, side, m) && !isPromotion(board, m.from)) continue;
                switch (type) {
                    case knight: expected.push_back(knightCaptureGain(board, m.to, side)); break;
                    case pawn: expected.push_back(pawnMoveGain(board, m.from, m.to, side)); break;
                    case bishop: expected.push_back(bishopCaptureGain(board, m.to, side)); break;
                    case rook: expected.push_back(rookCaptureGain(board, m.to, side)); break;
                    case queen: expected.push_back(queenCaptureGain(board, m.to, side)); break;
                    default: expected.push_back(materialValue[board.squares[m.to]]); break;
                }
            }
        }
        if (gains != expected) {
            std::ostringstream out;
            for (int g : gains) out << g << ' ';
            out << "vs ";
            for (int g : expected) out << g << ' ';
            fail(board, side, "capture gains differ from the legal captures: " + out.str());
        }
    }

    // The user's checker accepts exactly the legal moves, promotions once.
    void checkUserMoves(posicion& board, int side, const Moves& legal) {
        const std::string before = test::positionSignature(board);
        vju checker;
        for (int from = 11; from <= 88; ++from) {
            if (!onBoard[from]) continue;
            for (int to = 11; to <= 88; ++to) {
                if (!onBoard[to]) continue;
                bool isLegal = false;
                for (const Move3& m : legal) isLegal |= m.from == from && destination(board, m.from, m.to) == to;
                checker.promotion = 0;
                const bool accepted = checkUserMove(checker, board, from, to, side) == 1;
                if (accepted != isLegal) fail(board, side, "user move " + squareName(from) + squareName(to));
                if (accepted && (checker.promotion == 1) != isPromotion(board, from))
                    fail(board, side, "promotion flag of " + squareName(from) + squareName(to));
            }
        }
        if (evasionMode != 1 || test::positionSignature(board) != before)
            fail(board, side, "the user-move checker left the position changed");
    }

    static std::string describe(const posicion& board, const Move3& m) {
        return squareName(m.from) + squareName(destination(board, m.from, m.to));
    }

    int userMovePlies_;
};

struct Walk {
    const char* fen;
    int depth;
    uint64_t leaves;
};

void crossCheck(const Walk& w, int userMovePlies) {
    int side = white;
    posicion board = positionFromFen(w.fen, &side);
    CrossCheck check(userMovePlies);
    EXPECT_EQ(check.walk(board, side, w.depth), w.leaves) << w.fen;
    for (const std::string& f : check.failures) ADD_FAILURE() << f;
}

TEST(CrossCheck, StartPosition) { crossCheck({startFen, 2, 400}, 2); }

TEST(CrossCheck, CastlingPinsAndPromotions) {
    crossCheck({"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039}, 1);
}

TEST(CrossCheck, EnPassantPinsAndChecks) { crossCheck({"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238}, 3); }

TEST(CrossCheck, PromotionsUnderCheck) {
    crossCheck({"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 2, 264}, 2);
    crossCheck({"r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 2, 264}, 1);
    crossCheck({"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486}, 1);
}

}  // namespace
}  // namespace zarvi
