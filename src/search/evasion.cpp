#include "board/makemove.h"
#include "board/tables.h"
#include "eval/evaluate.h"
#include "eval/movegen.h"
#include "search/search.h"
#include "search/ttable.h"
#include "search/tuning.h"

namespace zarvi {

namespace {

bool isCapture(const posicion& board, int side, int from, int to) {
    const bool promotion = board.squares[from] == pieceCode(side, pawn) && promotionRank[side][from];
    return board.squares[promotion ? promotionDestination(from, to, side) : to] != 0;
}

}  // namespace

// A side in check: only legal moves, the mate scored by its distance, one
// ply more for the check, and a simple order: hash move, captures, the rest.
int searchEvasions(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
                   int extensions) {
    int* from = searcher.fullFrom[ply];
    const int* to = searcher.fullTo[ply];

    // 1-2. No legal move: mated. A mate the engine has announced is worth
    //      less to it when it arrives on or after the ply it was due.
    const int n = generateLegalMoves(searcher, board, side, ply);
    if (n == 0) {
        if (searcher.mateMode && side != searcher.engineSide && searcher.expectedMatePly <= ply)
            return ply - mateThreshold;
        return ply - mateScore;
    }

    // 3. Mate goes before the fifty-move rule.
    if (board.halfmoveClock >= 100) return 0;

    // 4. The check extension; early in the tree, with many replies, only
    //    once per path.
    if (ply < deepestPly) {
        if (ply >= 3 || n < 4) {
            ++depth;
        } else if (extensions < 1) {
            ++depth;
            ++extensions;
        }
    }

    // 5. The table: its move, and its score where it is deep enough.
    int r = depth - ply > 0 ? depth - ply : 0;
    const TableProbe probe = probeTable(board, ply, r);
    if (probeScoreUsable(probe)) {
        const int s = probe.score;
        if (probe.bound == exactBound) return s;
        if (probe.bound == lowerBound) {
            if (s >= beta) return beta;
            if (s > alpha) alpha = s;
        } else if (probe.bound == upperBound) {
            if (s <= alpha) return alpha;
            if (s < beta) beta = s;
        }
    }
    if (r < 1) r = 1;
    int best = alpha;
    Move bestMove{0, 0};

    auto search = [&](int i) {
        makeMove(board, from[i], to[i], side);
        const int score = -searchNode(searcher, board, 1 - side, ply + 1, depth, -best, -beta, extensions);
        unmakeMove(board, to[i], from[i], side);
        return score;
    };
    // The hash move is searched only if it is one of the legal evasions.
    int hashIndex = -1;
    for (int i = 0; probe.hashFrom && i < n; ++i)
        if (from[i] == probe.hashFrom && to[i] == probe.hashTo) hashIndex = i;

    // 6-8. Hash move, captures, the rest.
    for (int pass = 0; pass < 3; ++pass) {
        for (int i = 0; i < n; ++i) {
            if (from[i] == 0) continue;
            if (pass == 0 && i != hashIndex) continue;
            if (pass == 1 && !isCapture(board, side, from[i], to[i])) continue;
            const int moveFrom = from[i], moveTo = to[i];
            const int score = search(i);
            if (searcher.searchStopped) return 0;
            from[i] = 0;
            if (score > best) {
                if (score >= beta) {
                    storeTable(probe, board, ply, r, lowerBound, beta, moveFrom, moveTo);
                    return beta;
                }
                best = score;
                bestMove = {moveFrom, moveTo};
            }
        }
    }

    // 9. Fail low keeps the hash move; otherwise the best move is exact.
    if (best <= alpha) {
        storeTable(probe, board, ply, r, upperBound, alpha, probe.hashFrom, probe.hashTo);
        return best;
    }
    storeTable(probe, board, ply, r, exactBound, best, bestMove.from, bestMove.to);
    return best;
}

}  // namespace zarvi
