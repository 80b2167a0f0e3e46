#include <algorithm>

#include "board/attacks.h"
#include "board/makemove.h"
#include "board/tables.h"
#include "eval/evaluate.h"
#include "eval/movegen.h"
#include "search/search.h"
#include "search/tuning.h"

namespace zarvi {

namespace {

inline int valueOf(int piece) { return materialValue[piece]; }

inline bool isSlider(int type) { return type == bishop || type == rook || type == queen; }

// Captures whose victims stand on one clear line or a knight's jump apart
// threaten each other: taking one may cost the other, which limits how
// much a recapture can be assumed to lose.
void analysePairs(buscador& searcher, const posicion& board, int ply, int n, const int* destination) {
    int* linked = searcher.captureLinked[ply];
    int* threat = searcher.captureThreat[ply];
    const int* from = searcher.captureFrom[ply];
    const int* kind = searcher.kind[ply];
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            const int ti = destination[i], tj = destination[j];
            if (!lineOrKnight[ti][tj] || from[i] == from[j]) continue;
            const int vi = board.squares[ti], vj = board.squares[tj];
            if (ti == tj) {
                linked[i] = linked[j] = 1;
                continue;
            }
            const int d = queenDirection[ti][tj];
            if (d != 0 && isPathClear(board, ti, tj)) {
                if (slidesAlong[vi][d + 11]) {
                    threat[i] = std::max(threat[i], valueOf(vj));
                    if (isSlider(kind[i])) threat[j] = std::max(threat[j], valueOf(kind[j]));
                }
                if (slidesAlong[vj][d + 11]) {
                    threat[j] = std::max(threat[j], valueOf(vi));
                    if (isSlider(kind[j])) threat[i] = std::max(threat[i], valueOf(kind[i]));
                }
            } else if (knightJump[ti][tj]) {
                if (typeOf(vi) == knight) {
                    threat[i] = std::max(threat[i], valueOf(vj));
                    if (isSlider(kind[i])) threat[j] = std::max(threat[j], valueOf(kind[j]));
                }
                if (typeOf(vj) == knight) {
                    threat[j] = std::max(threat[j], valueOf(vi));
                    if (isSlider(kind[j])) threat[i] = std::max(threat[i], valueOf(kind[i]));
                }
            }
        }
    }
}

}  // namespace

int quiescence(buscador& searcher, posicion& board, int side, int ply, int depth, int beta, int alpha,
               int extensions, int m) {
    const int opponent = 1 - side;

    // 1. So far ahead that nothing matters.
    if (beta + hopelessMargin <= m) return beta;

    // 2. Stand pat: the side to move need not capture. The opponent's half
    //    first, which often settles it alone.
    prepareEvaluation(searcher, board, side);
    const int lazy = m - evaluateSide(searcher, board, opponent);
    if (lazy >= beta) return lazy;
    const int standPat = lazy + evaluateSide(searcher, board, side);
    if (standPat >= beta) return standPat;

    // 3-4. The captures and what they threaten among themselves.
    const int n = generateCaptures(searcher, board, side, ply);
    if (n == 0) return standPat;
    int* from = searcher.captureFrom[ply];
    const int* to = searcher.captureTo[ply];
    const int* kind = searcher.kind[ply];
    int destination[captureListCapacity];
    int victimClass[captureListCapacity];
    for (int i = 0; i < n; ++i) {
        searcher.captureLinked[ply][i] = 0;
        searcher.captureThreat[ply][i] = 0;
        const bool promotion = kind[i] == pawn && promotionRank[side][from[i]];
        destination[i] = promotion ? promotionDestination(from[i], to[i], side) : to[i];
        // Promotions are searched with the queens.
        victimClass[i] = promotion ? 0 : pieceClass[typeOf(board.squares[to[i]])];
    }
    analysePairs(searcher, board, ply, n, destination);
    const int* linked = searcher.captureLinked[ply];
    const int* threat = searcher.captureThreat[ply];

    int a = std::max(alpha, standPat);
    const int theirKing = board.kingSquare[opponent];
    const int ownKing = board.kingSquare[side];

    auto gainOf = [&](int i) {
        const int target = destination[i];
        if (kind[i] == pawn && promotionRank[side][from[i]]) return valueOf(board.squares[target]) + valueOf(to[i] & 7);
        if (kind[i] == pawn && board.squares[target] == 0) return valueOf(pawn);
        return valueOf(board.squares[target]);
    };
    auto searchCapture = [&](int i) {
        const int moveFrom = from[i], moveTo = to[i];
        makeMove(board, moveFrom, moveTo, side);
        const int score = -searchNode(searcher, board, opponent, ply + 1, depth, -a, -beta, extensions);
        unmakeMove(board, moveTo, moveFrom, side);
        return score;
    };

    // 5-6. By victim class, queens first.
    for (int c = 0; c <= 3; ++c) {
        for (int i = 0; i < n; ++i) {
            if (from[i] == 0 || victimClass[i] != c) continue;
            const int attackerClass = pieceClass[kind[i]];
            const int target = destination[i];
            // a. A more valuable piece onto a defended square: later.
            if (attackerClass < c && isAttacked(board, target, opponent)) continue;
            // b-d. Delta pruning, unless the stand pat is already close.
            if (standPat + deltaMargin <= a) {
                int g = gainOf(i);
                const int defender = attackerClass >= c ? isAttacked(board, target, opponent) : 0;
                if (defender) {
                    const int attacker = valueOf(kind[i]);
                    if (!linked[i] && !sliderOnRay(board, from[i], side, queenDirection[target][from[i]]))
                        g += std::min(0, threat[i] - attacker);
                    else
                        g += std::min(0, std::max(valueOf(defender), threat[i]) - attacker);
                }
                if (standPat + g + deltaMargin <= a && !moveGivesCheck(board, from[i], target, kind[i], theirKing)) {
                    from[i] = 0;
                    continue;
                }
            }
            // e. Search it.
            if (keepsKingSafe(board, ownKing, from[i], to[i], side)) {
                const int score = searchCapture(i);
                if (searcher.searchStopped) return 0;
                if (score > a) {
                    if (score >= beta) return score;
                    a = score;
                }
            }
            from[i] = 0;
        }
    }

    // 7. The captures left for later, onto squares no pawn defends, when
    //    they are part of an exchange or give check.
    for (int i = 0; i < n; ++i) {
        if (from[i] == 0) continue;
        const int target = destination[i];
        if (board.pawnAttacks[opponent][target]) continue;
        if (threat[i] == 0 && linked[i] == 0 && !sliderOnRay(board, from[i], side, queenDirection[target][from[i]]))
            continue;
        if (!moveGivesCheck(board, from[i], target, kind[i], theirKing)) {
            const bool promotion = kind[i] == pawn && promotionRank[side][from[i]];
            const int v = promotion ? valueOf(to[i] & 7) : board.squares[target] ? valueOf(board.squares[target])
                                                                                  : valueOf(pawn);
            if (v + standPat + deltaMargin <= a) continue;
        }
        if (!keepsKingSafe(board, ownKing, from[i], to[i], side)) continue;
        const int score = searchCapture(i);
        if (searcher.searchStopped) return 0;
        if (score >= beta) return score;
        if (score > a) a = score;
    }

    // 8. At least the stand pat.
    return a;
}

int horizonLeaf(buscador& searcher, posicion& board, int side, int beta, int m) {
    const int opponent = 1 - side;

    // 1-2. The static score, the side to move first.
    if (beta + hopelessMargin <= m) return beta;
    prepareEvaluation(searcher, board, side);
    const int s = m + evaluateSide(searcher, board, side) - evaluateSide(searcher, board, opponent);
    if (s >= beta) return beta;

    // 3. Plus the best the side can expect from one capture.
    board.evasionMode = 0;
    const int n = collectCaptureGains(searcher, board, side);
    board.evasionMode = 1;
    if (n == 0) return s;
    const int best = *std::max_element(searcher.captureGains, searcher.captureGains + n);
    return s + std::max(0, best);
}

}  // namespace zarvi
